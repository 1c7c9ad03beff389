#include "tonestring/tone_string_formatter.h"

#include <algorithm>
#include <cstdio>

#include "tonestring/tone_rounding.h"

namespace {

std::string FrequencyText(double hertz) {
  int32_t whole = 0;
  if (RoundToInt32(hertz, &whole)) return std::to_string(whole);
  // Not a number a setting can hold: shown as it is, and no parser will take it.
  char text[32];
  std::snprintf(text, sizeof text, "%g", hertz);
  return text;
}

std::string PartText(const TonePart& part, bool plays_once) {
  std::string text = plays_once ? "!" : "";
  if (part.tones.empty()) {
    text += "0";
  } else {
    std::vector<double> hertz;
    for (const PartTone& tone : part.tones) hertz.push_back(tone.frequency_hz);
    std::sort(hertz.begin(), hertz.end());
    for (size_t i = 0; i < hertz.size(); ++i) {
      if (i > 0) text += "+";
      text += FrequencyText(hertz[i]);
    }
  }
  if (part.duration_ms != kLastsForEver) text += "/" + std::to_string(part.duration_ms);
  return text;
}

}  // namespace

std::string FormatTonePart(const TonePart& part) { return PartText(part, part.plays_once); }

std::string FormatToneString(const ToneSequence& sequence) {
  const size_t count = sequence.parts.size();
  const bool ends_for_ever = count > 0 && sequence.parts.back().duration_ms == kLastsForEver;
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) text += ",";
    const TonePart& part = sequence.parts[i];
    const bool plays_once = ends_for_ever ? i + 1 < count : part.plays_once;
    text += PartText(part, plays_once);
  }
  return text;
}
