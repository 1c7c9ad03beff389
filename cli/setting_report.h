// What `sonaril-cli info` tells about a tone setting, as text for people or JSON for scripts.
#pragma once
#include <string>

#include "synth/tone_setting.h"

// Everything derived from a loaded setting that the report shows.
struct SettingFacts {
  int32_t repeat_used = 1;        // the repeat count clamped to 1..100
  int32_t fade_samples = 1;       // samples of one fade at the setting's frequency
  bool sampling_frequency_offered = false;
  bool can_synthesise = false;
  std::string reason;             // why not, one sentence; empty when it can
  int64_t sample_count = 0;       // samples a render writes; 0 when it cannot
  double duration_seconds = 0.0;
};

SettingFacts InspectSetting(const ToneSetting& setting);

// Multi-line text ending in a newline; setting_path is shown as given (UTF-8).
std::string FormatSettingText(const std::string& setting_path, const ToneSetting& setting,
                              const SettingFacts& facts);
// One JSON object followed by a newline.
std::string FormatSettingJson(const std::string& setting_path, const ToneSetting& setting,
                              const SettingFacts& facts);

// The sentence for a sampling frequency the program does not offer.
std::string UnsupportedFrequencyReason(int32_t hertz);
