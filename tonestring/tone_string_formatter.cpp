#include "tonestring/tone_string_formatter.h"

#include <algorithm>
#include <cstdio>

#include "tonestring/tone_normal_form.h"
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

}  // namespace

std::string FormatTonePart(const TonePart& part) {
  std::string text = part.plays_once ? "!" : "";
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

std::string FormatToneString(const ToneSequence& sequence) {
  std::string text;
  for (const TonePart& part : NormalForm(sequence).parts) {
    if (!text.empty()) text += ",";
    text += FormatTonePart(part);
  }
  return text;
}
