// The main window's File menu, "Create Tone" and "Save File".
#include <windows.h>

#include <filesystem>
#include <string>

#include "editor/app_main.h"
#include "editor/dialog_controls.h"
#include "editor/digits_dialog.h"
#include "editor/main_window_files.h"
#include "editor/main_window_rules.h"
#include "editor/main_window_texts.h"
#include "editor/main_window_tone.h"
#include "editor/recording_check_dialog.h"
#include "editor/tone_library_dialog.h"
#include "editor/tone_save.h"
#include "editor/tone_string_dialog.h"
#include "files/string.h"
#include "resources/resource_ids.h"

namespace {

// The setting's own path, for messages.
std::wstring WidePath(const std::string& utf8) {
  CString text;
  text.Assign(utf8.c_str(), static_cast<int32_t>(utf8.size()));
  const wchar_t* wide = text.GetWide();
  return wide == nullptr ? std::wstring() : std::wstring(wide);
}

}  // namespace

void CAppMain::NewSetting() {
  StopPlayback();
  sampling_frequency = 8000;
  pattern_total = 0;
  repeat = 1;
  filter_on = 0;
  view.SetSignal(nullptr, 0, 8000);
  tone_setting.Clear();
  ReloadLists();
  SendDlgItemMessageW(main_window, IDC_SAMPLING_FREQUENCY, CB_SETCURSEL,
                      SamplingFrequencyIndex(sampling_frequency), 0);
  ShowSettingValues();
  sample_count = 0;
  delete[] sample_buffer;
  sample_buffer = nullptr;
  playback.ReplaceOutput(nullptr, 0, kInitialOutputRate);
  EnableToneButtons(false);
  MarkSettingUnchanged();
}

void CAppMain::OpenToneFile() {
  if (!ConfirmDiscardChanges()) return;
  const std::wstring name = AskFileName(main_window, FileNameDialog::Open, ToneFileFilter(Language()),
                                        OpenToneFileTitle(Language()), L"ton");
  if (!name.empty()) LoadToneFile(name.c_str());
}

void CAppMain::OpenFromToneLibrary() {
  if (!ConfirmDiscardChanges()) return;
  const std::filesystem::path chosen = RunToneLibraryDialog(main_window, ToneLibraryFolder(), &library_filter);
  if (!chosen.empty()) LoadToneFile(chosen.wstring().c_str());
}

bool CAppMain::LoadToneFile(const wchar_t* path) {
  // Reading into a separate setting first: a file that cannot be read costs nothing.
  if (!LoadToneFileInto(tone_setting, path)) {
    ShowMessage(OpenFailedMessage(path, Language()), OpenToneFileTitle(Language()));
    return false;
  }
  sampling_frequency = tone_setting.sampling_frequency;
  const int32_t index = SamplingFrequencyIndex(sampling_frequency);
  if (index >= 0) {
    SendDlgItemMessageW(main_window, IDC_SAMPLING_FREQUENCY, CB_SETCURSEL, index, 0);
  }
  ShowReplacedSetting();
  MarkSettingUnchanged();
  return true;
}

bool CAppMain::SaveToneFileAs() {
  const std::wstring name = AskFileName(main_window, FileNameDialog::Save, ToneFileFilter(Language()),
                                        SaveToneFileTitle(Language()), nullptr);
  if (name.empty()) return false;
  const std::wstring path = ToneFileSavePath(name.c_str());
  return !path.empty() && SaveToneFile(path.c_str());
}

bool CAppMain::SaveCurrentSetting() {
  return tone_setting.path.empty() ? SaveToneFileAs() : SaveToneFile(nullptr);
}

void CAppMain::TakeWindowValues() {
  sampling_frequency = SelectedSamplingFrequency();
  repeat = ReadRepeat();
  filter_on = IsFilterChecked() ? 1 : 0;
  tone_setting.sampling_frequency = sampling_frequency;
  tone_setting.repeat = repeat;
  tone_setting.filter_on = filter_on;
}

bool CAppMain::SaveToneFile(const wchar_t* path) {
  TakeWindowValues();
  if (SaveToneFileAt(tone_setting, path)) {
    MarkSettingUnchanged();
    return true;
  }
  const std::wstring failed = path != nullptr ? std::wstring(path) : WidePath(tone_setting.path);
  ShowMessage(SaveFailedMessage(failed.c_str(), Language()), SaveToneFileTitle(Language()));
  return false;
}

bool CAppMain::ConfirmDiscardChanges() {
  const auto ask = [this] {
    const std::wstring question =
        SaveChangesQuestion(SettingName(tone_setting.path, Language()), Language());
    switch (MessageBoxW(main_window, question.c_str(), SaveChangesCaption(),
                        MB_YESNOCANCEL | MB_ICONWARNING)) {
      case IDYES: return SaveChangesAnswer::kYes;
      case IDNO: return SaveChangesAnswer::kNo;
      default: return SaveChangesAnswer::kCancel;
    }
  };
  return ConfirmDiscard(HasUnsavedChanges(), ask, [this] { return SaveCurrentSetting(); });
}

SettingValues CAppMain::CurrentValues() {
  return CaptureSettingValues(tone_setting, SelectedSamplingFrequency(), ReadRepeat(),
                              IsFilterChecked() ? 1 : 0);
}

void CAppMain::MarkSettingUnchanged() {
  if (!tracking_changes_) return;
  unchanged_values_ = CurrentValues();
  RefreshTitle();
}

bool CAppMain::HasUnsavedChanges() {
  return tracking_changes_ && CurrentValues() != unchanged_values_;
}

void CAppMain::RefreshTitle() {
  const bool changed = HasUnsavedChanges();
  if (changed == title_marked_) return;
  title_marked_ = changed;
  SetWindowTextW(main_window, MarkedCaption(caption_, changed).c_str());
}

void CAppMain::CreateTone() {
  StopPlayback();
  pattern_total = tone_setting.pattern_total;
  const CreateTonePlan plan =
      PlanCreateTone(tone_setting, SelectedSamplingFrequency(), ReadRepeat(), IsFilterChecked());
  if (plan.step == CreateToneStep::KeepPrevious) return;
  if (plan.step == CreateToneStep::Refuse) {
    ShowMessage(CreateToneRefusalMessage(plan.refusal, Language()), CreateToneCaption(Language()));
    return;
  }
  // The new tone is made beside the old one, which stays if anything fails.
  CToneEngine engine(&tone_setting);
  const SynthesisRefusal built = BuildToneBuffers(tone_setting, plan, &engine);
  if (built != SynthesisRefusal::None) {
    ShowMessage(CreateToneRefusalMessage(built, Language()), CreateToneCaption(Language()));
    return;
  }
  view.SetSignal(nullptr, 0, plan.sampling_frequency);
  delete[] sample_buffer;
  sample_buffer = engine.sample_buffer;
  sample_count = engine.sample_count;
  sample_rate = plan.sampling_frequency;
  playback.ReplaceOutput(engine.output_buffer, engine.output_count, plan.sampling_frequency);
  engine.sample_buffer = nullptr;
  engine.output_buffer = nullptr;
  engine.sample_count = 0;
  engine.output_count = 0;
  sampling_frequency = plan.sampling_frequency;
  repeat = plan.repeat;
  filter_on = plan.filter_on;
  view.SetSignal(sample_buffer, sample_count, sampling_frequency);
  EnableToneButtons(true);
}

void CAppMain::EditToneString() {
  // The string is read with the values the window would save now.
  TakeWindowValues();
  ToneSetting built;
  if (!RunToneStringDialog(main_window, tone_setting, tone_setting.sampling_frequency,
                           tone_setting.repeat, &built)) {
    return;
  }
  ReplaceStepsAndTones(built);
}

void CAppMain::EnterDigits() {
  ToneSetting built;
  if (!RunDigitsDialog(main_window, &digits_form, SelectedSamplingFrequency(), ReadRepeat(), &built)) return;
  ReplaceStepsAndTones(built);
}

void CAppMain::ReplaceStepsAndTones(ToneSetting& built) {
  std::string path = tone_setting.path;
  MoveToneSetting(built, tone_setting);
  tone_setting.path = std::move(path);
  ShowReplacedSetting();
  RefreshTitle();
}

void CAppMain::ShowReplacedSetting() {
  ReloadLists();
  filter_on = tone_setting.filter_on;
  repeat = tone_setting.repeat;
  pattern_total = tone_setting.pattern_total;
  ShowSettingValues();
  CreateTone();
}

void CAppMain::ExportTone() {
  RunToneExport(main_window, sample_buffer, sample_count, sample_rate);
}

void CAppMain::CheckRecording() {
  const std::wstring name = AskFileName(main_window, FileNameDialog::Open, RecordingFileFilter(Language()),
                                        CheckRecordingFileTitle(Language()), nullptr);
  if (name.empty()) return;
  TakeWindowValues();
  const std::wstring setting_path = WidePath(tone_setting.path);
  const std::string setting_name =
      setting_path.empty() ? std::string("(not saved)") : std::filesystem::path(setting_path).filename().u8string();
  RunRecordingCheck(main_window, tone_setting, setting_name, std::filesystem::path(name));
}
