#include "tonestring/tone_string_formatter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "synth/signal_level.h"
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

std::string Decimals(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return std::strcmp(text, "-0") == 0 ? "0" : text;
}

}  // namespace

std::string LevelText(double level_percent) {
  const double whole = std::round(level_percent);
  if (whole >= 1.0 && whole <= 100.0) {
    // From the whole percent alone, so that every level that rounds alike is written alike.
    const double held_dbm0 = DbfsToDbm0(PercentToDbfs(whole));
    for (int decimals = 0; decimals <= 2; ++decimals) {
      const std::string text = Decimals(held_dbm0, decimals);
      if (std::round(DbfsToPercent(Dbm0ToDbfs(std::atof(text.c_str())))) == whole) return text;
    }
  }
  // No whole percent a setting can hold: the figure as it is, which the builder refuses.
  const double exact_dbm0 = DbfsToDbm0(PercentToDbfs(level_percent));
  std::string text = Decimals(std::clamp(exact_dbm0, -999.99, 999.99), 2);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string FormatTonePart(const TonePart& part) {
  std::string text = part.plays_once ? "!" : "";
  if (part.tones.empty()) {
    text += "0";
  } else {
    std::vector<PartTone> tones = part.tones;
    std::stable_sort(tones.begin(), tones.end(),
                     [](const PartTone& a, const PartTone& b) { return a.frequency_hz < b.frequency_hz; });
    for (size_t i = 0; i < tones.size(); ++i) {
      if (i > 0) text += "+";
      text += FrequencyText(tones[i].frequency_hz);
      if (tones[i].level_percent >= 0.0) {
        text += "@" + LevelText(tones[i].level_percent * std::pow(10.0, tones[i].level_offset_db / 20.0));
      }
    }
  }
  if (part.duration_ms != kLastsForEver) text += "/" + std::to_string(part.duration_ms);
  if (part.sounds_into_next) text += "~";
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
