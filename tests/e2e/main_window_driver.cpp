#include "tests/e2e/main_window_driver.h"

#include <shlobj.h>

#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {

namespace {

// The common file dialog's name box: a combo box with an edit in newer layouts, an edit in
// older ones.
constexpr int kFileDialogNameCombo = 0x47c;
constexpr int kFileDialogNameEdit = 0x480;

bool SelectByItemData(HWND dialog, int combo_id, int value) {
  const int count = ComboCount(dialog, combo_id);
  for (int i = 0; i < count; ++i) {
    if (ComboItemData(dialog, combo_id, i) == value) {
      Send(GetDlgItem(dialog, combo_id), CB_SETCURSEL, i, 0);
      return true;
    }
  }
  return false;
}

}  // namespace

std::wstring Caption(const wchar_t* english, const wchar_t* japanese, int language) {
  return language == 1 ? japanese : english;
}

CMainWindow::CMainWindow(int language_value, int repeat_play) : language(language_value) {
  if (language >= 0) WriteConfig(folder.path(), language, repeat_play);
}

bool CMainWindow::Start(const std::wstring& arguments, const std::wstring& exe) {
  if (!process.Start(folder.path(), arguments, exe)) return false;
  window = process.WaitForWindow(MainCaption());
  return window != nullptr;
}

std::wstring CMainWindow::MainCaption() const {
  return Caption(L"Sonaril - Tone Generator", L"Sonaril - トーン生成ツール", language);
}

HWND CMainWindow::OpenDialog(int command, const std::wstring& caption) {
  PostCommand(window, command);
  return process.WaitForWindow(caption);
}

bool CMainWindow::CloseDialog(HWND dialog, const std::wstring& caption, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  return process.WaitForWindowGone(caption) && Barrier(window);
}

bool CMainWindow::EditStep(int command, const StepValues& values) {
  const std::wstring caption = Caption(L"Ring Pattern Setting", L"鳴動パターン設定", language);
  HWND dialog = OpenDialog(command, caption);
  if (dialog == nullptr) return false;
  SelectByItemData(dialog, kStepKind, values.kind);
  SetControlText(dialog, kStepTime, std::to_wstring(values.time));
  SetChecked(dialog, kStepFade, values.fade);
  return CloseDialog(dialog, caption, IDOK);
}

bool CMainWindow::EditTone(int command, const ToneValues& values) {
  const std::wstring caption = Caption(L"Tone Setting", L"音色設定", language);
  HWND dialog = OpenDialog(command, caption);
  if (dialog == nullptr) return false;
  SelectByItemData(dialog, kToneType, values.type);
  SetControlText(dialog, kToneFrequency, std::to_wstring(values.frequency));
  SetControlText(dialog, kTonePhase, std::to_wstring(values.phase));
  SetControlText(dialog, kToneStartTime, std::to_wstring(values.start_time));
  SetControlText(dialog, kToneEndTime, std::to_wstring(values.end_time));
  SetControlText(dialog, kToneLevel, std::to_wstring(values.level));
  return CloseDialog(dialog, caption, IDOK);
}

std::wstring CMainWindow::FrequencyShownByDoubleClick(int row) {
  const std::wstring caption = Caption(L"Tone Setting", L"音色設定", language);
  SelectListRow(window, kToneList, row);
  DoubleClickListRow(window, kToneList, row);
  HWND dialog = process.WaitForWindow(caption);
  if (dialog == nullptr) return L"<no dialog>";
  const std::wstring frequency = ControlText(dialog, kToneFrequency);
  CloseDialog(dialog, caption, IDCANCEL);
  return frequency;
}

bool CMainWindow::Click(int id) {
  PostCommand(window, id);
  return Barrier(window);
}

std::wstring CMainWindow::CreateTone() {
  PostCommand(window, kCreateTone);
  Barrier(window);
  return DismissMessageBox(Caption(L"Create Tone", L"トーン生成", language), 500);
}

std::wstring CMainWindow::DismissMessageBox(const std::wstring& caption, DWORD timeout_ms) {
  HWND box = process.WaitForWindow(caption, timeout_ms);
  if (box == nullptr) return std::wstring();
  const std::wstring text = MessageBoxText(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  process.WaitForWindowGone(caption);
  Barrier(window);
  return text;
}

bool CMainWindow::Export(const std::string& path, int format) {
  const std::wstring caption = Caption(L"Save Tone File", L"トーンファイルの保存", language);
  HWND dialog = OpenDialog(kSaveFile, caption);
  if (dialog == nullptr) return false;
  SetControlText(dialog, kExportName, Widen(path));
  if (!SelectByItemData(dialog, kExportFormat, format)) return false;
  return CloseDialog(dialog, caption, IDOK);
}

bool CMainWindow::SaveAs(const std::string& typed_name) {
  return TypeIntoFileDialog(
      kFileSaveAs, Caption(L"Save Tone Setting File", L"トーン設定ファイルの保存", language),
      typed_name);
}

bool CMainWindow::Open(const std::string& typed_name) {
  return TypeIntoFileDialog(
      kFileOpen, Caption(L"Load Tone Setting File", L"トーン設定ファイルの読み込み", language),
      typed_name);
}

bool CMainWindow::PickRecordingToCheck(const std::string& typed_name) {
  return TypeIntoFileDialog(
      kFileCheckRecording, Caption(L"Choose a Recording to Check", L"確認する録音を選ぶ", language),
      typed_name);
}

bool CMainWindow::TypeIntoFileDialog(int command, const std::wstring& caption,
                                     const std::string& typed_name) {
  HWND dialog = OpenDialog(command, caption);
  if (dialog == nullptr) return false;
  HWND name = GetDlgItem(dialog, kFileDialogNameCombo);
  if (name == nullptr) name = GetDlgItem(dialog, kFileDialogNameEdit);
  if (name == nullptr) return false;
  const std::wstring text = Widen(typed_name);
  Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return CloseDialog(dialog, caption, IDOK);
}

bool CMainWindow::DropFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  const size_t names_bytes = (wide.size() + 2) * sizeof(wchar_t);  // the name, two NULs
  CRemoteMemory memory(process.id(), sizeof(DROPFILES) + names_bytes);
  DROPFILES header = {};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::wstring names = wide;
  names.push_back(L'\0');
  names.push_back(L'\0');
  if (!memory.Write(0, &header, sizeof header) ||
      !memory.Write(sizeof header, names.data(), names_bytes)) {
    return false;
  }
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory.address()), 0);
  // The drop is read while the message is handled; the memory must live until then.
  return Barrier(window);
}

std::vector<std::wstring> CMainWindow::StepRow(int row) const {
  return ListRow(window, kStepList, row, 3);
}

std::vector<std::wstring> CMainWindow::ToneRow(int row) const {
  return ListRow(window, kToneList, row, 6);
}

int CMainWindow::StepCount() const { return ListRowCount(window, kStepList); }
int CMainWindow::ToneCount() const { return ListRowCount(window, kToneList); }

std::wstring CMainWindow::Field(int id) const { return ControlText(window, id); }

void CMainWindow::SetField(int id, const std::wstring& text) { SetControlText(window, id, text); }

TransportState CMainWindow::Transport() const {
  TransportState state;
  state.stop = IsChecked(window, kStop);
  state.play = IsChecked(window, kPlay);
  state.pause = IsChecked(window, kPause);
  state.enabled = IsEnabled(window, kStop) && IsEnabled(window, kPlay) &&
                  IsEnabled(window, kPause) && IsEnabled(window, kSaveFile);
  return state;
}

bool CMainWindow::IsIdle() const {
  const TransportState state = Transport();
  return !state.stop && !state.play && !state.pause;
}

}  // namespace sonaril_e2e
