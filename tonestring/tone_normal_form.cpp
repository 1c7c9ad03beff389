#include "tonestring/tone_normal_form.h"

#include <algorithm>

namespace {

bool LastsForEver(const TonePart& part) { return part.duration_ms == kLastsForEver; }

}  // namespace

ToneSequence NormalForm(const ToneSequence& sequence) {
  ToneSequence normal = sequence;
  std::vector<TonePart>& parts = normal.parts;
  const auto first_repeating =
      std::find_if(parts.begin(), parts.end(), [](const TonePart& part) { return !part.plays_once; });
  const bool has_once_parts = first_repeating != parts.begin();
  const bool prefix_ends = std::none_of(parts.begin(), first_repeating, LastsForEver);
  const bool rest_silent =
      std::all_of(first_repeating, parts.end(), [](const TonePart& part) { return part.tones.empty(); });
  if (has_once_parts && prefix_ends && rest_silent) {
    parts.erase(first_repeating, parts.end());
    parts.push_back(TonePart());  // silence, for ever
  }
  if (!parts.empty() && LastsForEver(parts.back())) {
    for (TonePart& part : parts) part.plays_once = true;
    parts.back().plays_once = false;
  }
  return normal;
}
