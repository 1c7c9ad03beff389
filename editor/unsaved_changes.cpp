#include "editor/unsaved_changes.h"

#include "files/string.h"

namespace {

constexpr int32_t kJapanese = 1;

}  // namespace

bool SettingValues::operator==(const SettingValues& other) const {
  return sampling_frequency == other.sampling_frequency && repeat == other.repeat &&
         filter_on == other.filter_on && fade == other.fade && steps == other.steps &&
         tones == other.tones;
}

SettingValues CaptureSettingValues(const ToneSetting& setting, int32_t sampling_frequency,
                                   int32_t repeat, int32_t filter_on) {
  SettingValues values;
  values.sampling_frequency = sampling_frequency;
  values.repeat = repeat;
  values.filter_on = filter_on;
  values.fade = setting.fade;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    values.steps.push_back({step->on_off, step->time, step->is_fade});
  }
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    values.tones.push_back(
        {tone->type, tone->frequency, tone->phase, tone->start_time, tone->end_time, tone->level});
  }
  return values;
}

bool AsksToSaveChanges(MainCommand command) {
  return command == MainCommand::kExit || command == MainCommand::kNew ||
         command == MainCommand::kOpen;
}

bool ConfirmDiscard(bool changed, const std::function<SaveChangesAnswer()>& ask,
                    const std::function<bool()>& save) {
  if (!changed) return true;
  switch (ask()) {
    case SaveChangesAnswer::kYes: return save();
    case SaveChangesAnswer::kNo: return true;
    case SaveChangesAnswer::kCancel: break;
  }
  return false;
}

std::wstring MarkedCaption(const std::wstring& caption, bool changed) {
  return changed ? L"*" + caption : caption;
}

std::wstring SettingName(const std::string& utf8_path, int32_t language) {
  const size_t slash = utf8_path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? utf8_path : utf8_path.substr(slash + 1);
  if (name.empty()) return language == kJapanese ? L"\x7121\x984C" : L"Untitled";
  CString text;
  text.Assign(name.c_str(), static_cast<int32_t>(name.size()));
  const wchar_t* wide = text.GetWide();
  return wide == nullptr ? std::wstring() : std::wstring(wide);
}

std::wstring SaveChangesQuestion(const std::wstring& name, int32_t language) {
  if (language == kJapanese) {
    // "NAME への変更を保存しますか?"
    return name + L" \x3078\x306E\x5909\x66F4\x3092\x4FDD\x5B58\x3057\x307E\x3059\x304B?";
  }
  return L"Save changes to " + name + L"?";
}

const wchar_t* SaveChangesCaption() { return L"Sonaril"; }
