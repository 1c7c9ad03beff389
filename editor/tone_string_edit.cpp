#include "editor/tone_string_edit.h"

#include "files/string.h"
#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"
#include "tonestring/tone_string_parser.h"

namespace {

constexpr int32_t kJapanese = 1;

std::wstring Wide(const std::string& utf8) {
  CString text;
  text.Assign(utf8.c_str(), static_cast<int32_t>(utf8.size()));
  const wchar_t* wide = text.GetWide();
  return wide == nullptr ? std::wstring() : std::wstring(wide);
}

std::string Utf8(const std::wstring& wide) {
  CString text;
  text.Assign(wide.c_str(), static_cast<int32_t>(wide.size()));
  return text.data == nullptr ? std::string() : std::string(text.data, text.length);
}

}  // namespace

CurrentToneString DescribeToneString(const ToneSetting& setting, int32_t language) {
  ToneSequence sequence;
  std::string why_not;
  CurrentToneString current;
  if (ReadToneSequence(setting, &sequence, &why_not)) {
    current.has_string = true;
    current.text = Wide(FormatToneString(sequence));
    return current;
  }
  // "トーン文字列になりません: " ("not a tone string: ")
  current.text = (language == kJapanese
                      ? L"\x30C8\x30FC\x30F3\x6587\x5B57\x5217\x306B\x306A\x308A\x307E\x305B\x3093: "
                      : L"No tone string: ") +
                 Wide(why_not);
  return current;
}

bool BuildSettingFromToneString(const std::wstring& text, int32_t sampling_frequency,
                                int32_t repeat, ToneSetting* setting, std::wstring* why_not,
                                int32_t language) {
  ToneSequence sequence;
  std::string reason;
  ToneStringOptions options;
  options.sampling_frequency = sampling_frequency;
  options.repeat = repeat;
  if (ParseToneString(Utf8(text), &sequence, &reason) &&
      BuildToneSetting(sequence, options, setting, &reason)) {
    return true;
  }
  // "作成できません: " ("cannot be built: ")
  *why_not = (language == kJapanese ? L"\x4F5C\x6210\x3067\x304D\x307E\x305B\x3093: "
                                    : L"Cannot be built: ") +
             Wide(reason);
  return false;
}
