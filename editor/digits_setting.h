// "DTMF/MF Digits": the setting that sends a digit string, from what the dialog holds.
// Portable.
#pragma once
#include <cstdint>
#include <string>

#include "digits/digit_sequence.h"
#include "synth/tone_setting.h"

// The dialog's fields as typed: the times are texts, read by the edit-field number rule.
struct DigitsForm {
  std::wstring digits;
  DigitSystem system = DigitSystem::Dtmf;
  std::wstring on_ms = L"100";
  std::wstring off_ms = L"100";
  std::wstring pause_ms = L"500";
};

// The form with the on and off times of system's defaults.
DigitsForm FormForSystem(const DigitsForm& form, DigitSystem system);

// Replaces *setting with the setting that sends the digits (the system's levels, the form's
// times) at sampling_frequency, the pattern repeated repeat times, and returns true.
// Otherwise false with one line in *why_not and *setting untouched.
bool BuildDigitsSetting(const DigitsForm& form, int32_t sampling_frequency, int32_t repeat, int32_t language,
                        ToneSetting* setting, std::wstring* why_not);
