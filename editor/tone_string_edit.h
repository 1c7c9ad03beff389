// Edit > "Tone String...": the current setting as a tone string, and a new setting built
// from a typed string by the same builder as "sonaril-cli import". Language 1 is Japanese,
// any other value English.
#pragma once
#include <cstdint>
#include <string>

#include "synth/tone_setting.h"

struct CurrentToneString {
  bool has_string = false;
  std::wstring text;  // the tone string, or one line saying why the setting has none
};

// The tone string setting renders, as "sonaril-cli info --tone-string" prints it.
CurrentToneString DescribeToneString(const ToneSetting& setting, int32_t language);

// Builds *setting from text at the window's sampling frequency and repeat count, with the
// builder's default level and hold. False with *why_not set to one line when the string
// cannot be read or built; *setting is then untouched.
bool BuildSettingFromToneString(const std::wstring& text, int32_t sampling_frequency,
                                int32_t repeat, ToneSetting* setting, std::wstring* why_not,
                                int32_t language);
