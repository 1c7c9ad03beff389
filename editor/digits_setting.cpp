#include "editor/digits_setting.h"

#include "editor/main_window_files.h"
#include "synth/number_parsing.h"
#include "tonestring/tone_setting_builder.h"

namespace {

// Digits are ASCII; full-width ones (as a Japanese input method types them) count as
// their ASCII forms, and anything else becomes '?', which no system has as a digit.
std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) {
    if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<wchar_t>(c - 0xFEE0);
    narrow += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return narrow;
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool ReadTime(const std::wstring& text, const wchar_t* english, const wchar_t* japanese, int32_t language,
              int32_t* ms, std::wstring* why_not) {
  if (ParseFieldNumber(text, ms)) return true;
  *why_not = language == 1 ? std::wstring(japanese) + L": 「" + text + L"」は数値ではありません。"
                           : std::wstring(english) + L": \"" + text + L"\" is not a number.";
  return false;
}

}  // namespace

DigitsForm FormForSystem(const DigitsForm& form, DigitSystem system) {
  const DigitOptions defaults = DefaultDigitOptions(system);
  DigitsForm changed = form;
  changed.system = system;
  changed.on_ms = std::to_wstring(defaults.on_ms);
  changed.off_ms = std::to_wstring(defaults.off_ms);
  return changed;
}

bool BuildDigitsSetting(const DigitsForm& form, int32_t sampling_frequency, int32_t repeat, int32_t language,
                        ToneSetting* setting, std::wstring* why_not) {
  DigitOptions options = DefaultDigitOptions(form.system);
  if (!ReadTime(form.on_ms, L"On (ms)", L"オン (ms)", language, &options.on_ms, why_not) ||
      !ReadTime(form.off_ms, L"Off (ms)", L"オフ (ms)", language, &options.off_ms, why_not) ||
      !ReadTime(form.pause_ms, L"Pause (ms)", L"ポーズ (ms)", language, &options.pause_ms, why_not)) {
    return false;
  }
  ToneSequence sequence;
  std::string reason;
  ToneStringOptions build;
  build.sampling_frequency = sampling_frequency;
  build.repeat = repeat;
  ToneSetting built;
  if (!DigitsToToneSequence(Narrow(form.digits), options, &sequence, &reason) ||
      !BuildToneSetting(sequence, build, &built, &reason)) {
    *why_not = Widen(reason);
    return false;
  }
  MoveToneSetting(built, *setting);
  return true;
}
