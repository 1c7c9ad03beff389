// The main window's life: start-up, set-up of its controls, message and command dispatch,
// closing.
#include "editor/app_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <new>

#include "app/app_config.h"
#include "app/dpi_scale.h"
#include "app/language_decision.h"
#include "app/window_dpi.h"
#include "debug/debug_output.h"
#include "editor/dialog_controls.h"
#include "editor/main_window_rules.h"
#include "editor/main_window_texts.h"
#include "resources/resource_ids.h"
#include "synth/sampling_frequencies.h"

namespace {

constexpr int32_t kDeviceNameLimit = 255;

// The configured text cut to limit characters; empty when there is none.
std::wstring ConfiguredText(CString& text, int32_t limit) {
  const wchar_t* wide = text.GetWide();
  if (wide == nullptr) return std::wstring();
  std::wstring value(wide);
  if (value.size() > static_cast<size_t>(limit)) value.resize(limit);
  return value;
}

// A button icon: 16 pixels at 96 DPI, grown with the DPI.
HICON LoadButtonIcon(HINSTANCE instance, int id, int32_t dpi) {
  const int size = ScaleForDpi(16, dpi);
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

// Column widths are pixels at 96 DPI; at a higher DPI they grow with the headings' font and
// leave room for the whole heading.
void SetUpListColumns(HWND list, const ListColumn* columns, int32_t count, int32_t language,
                      int32_t dpi) {
  const DWORD styles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
  for (int32_t i = 0; i < count; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t*>(ColumnHeading(columns[i], language));
    const int32_t text_width = static_cast<int32_t>(
        SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(column.pszText)));
    column.cx = ColumnWidthForDpi(columns[i].width, text_width, dpi);
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

}  // namespace

CAppMain::CAppMain() { allow_multiple = 0; }

CAppMain::~CAppMain() {
  // The render thread reads the output buffer: it must be gone before the buffers are.
  renderer.Shutdown();
  view.SetSignal(nullptr, 0, 8000);
  delete[] sample_buffer;
  delete[] device_list;
}

INT_PTR CAppMain::Run(HINSTANCE instance_handle, HINSTANCE previous_instance,
                      const wchar_t* line, int show_command) {
  return CAppBase::Run(instance_handle, previous_instance, line, show_command);
}

int32_t CAppMain::Language() const { return CurrentLanguage(); }

const wchar_t* CAppMain::GetDialogId() {
  return MAKEINTRESOURCEW(DialogTemplateFor(IDD_MAIN_JA, Language()));
}

int CAppMain::Init(HINSTANCE instance_handle) {
  if (CAppBase::Init(instance_handle) == 0) {
    DebugPrint(L"CAppBase::Init() error\n");
    return 0;
  }
  std::wstring device_name;
  std::wstring device_id;
  if (app_config != nullptr) {
    playback.repeat_play = app_config->repeat != 0 ? 1 : 0;
    device_name = ConfiguredText(app_config->mon_device_name, kDeviceNameLimit);
    device_id = ConfiguredText(app_config->mon_device_id, kDeviceNameLimit);
  }
  renderer.Initialize(this);
  renderer.SetDevice(renderer.FindDevice(device_name.c_str(), device_id.c_str()));
  return 1;
}

void CAppMain::OnCommandLine(const wchar_t* line) {
  DebugPrint(L"CmdLine : %s\n", line != nullptr ? line : L"");
  command_line = line != nullptr ? line : L"";
}

void CAppMain::OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) {
  DebugPrint(L"CAppMain::OnInitDialog()\n");
  CAppBase::OnInitDialog(dialog, wparam, lparam);
  wchar_t caption[256] = {};
  GetWindowTextW(dialog, caption, 256);
  caption_ = caption;
  SetDialogSmallIcon(dialog);
  const int32_t dpi = WindowDpi(dialog);
  const int buttons[][2] = {{IDC_PLAY, IDI_PLAY},       {IDC_STOP, IDI_STOP},
                            {IDC_PAUSE, IDI_PAUSE},     {IDC_ZOOM_IN, IDI_ZOOM_IN},
                            {IDC_ZOOM_OUT, IDI_ZOOM_OUT}};
  for (const auto& button : buttons) {
    SendDlgItemMessageW(dialog, button[0], BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(LoadButtonIcon(instance, button[1], dpi)));
  }
  SetUpListColumns(GetDlgItem(dialog, IDC_PATTERN_LIST), kStepColumns, kStepColumnCount, Language(), dpi);
  SetUpListColumns(GetDlgItem(dialog, IDC_TONE_LIST), kToneColumns, kToneColumnCount, Language(), dpi);

  HWND frequencies = GetDlgItem(dialog, IDC_SAMPLING_FREQUENCY);
  for (int32_t hertz : kOfferedSamplingFrequencies) {
    const std::wstring text = std::to_wstring(hertz);
    const LRESULT index =
        SendMessageW(frequencies, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(frequencies, CB_SETITEMDATA, index, hertz);
  }
  SendMessageW(frequencies, CB_SETCURSEL, SamplingFrequencyIndex(sampling_frequency), 0);
  ShowSettingValues();

  HWND frame = GetDlgItem(dialog, IDC_WAVEFORM_FRAME);
  RECT client = {};
  GetClientRect(frame, &client);
  view.Create(frame, this, WS_HSCROLL, 0);
  view.MoveTo(client);

  FillOutputDeviceList();
  CheckDlgButton(dialog, IDC_REPEAT_PLAY, playback.repeat_play != 0 ? BST_CHECKED : BST_UNCHECKED);
  EnableToneButtons(false);
  DragAcceptFiles(dialog, TRUE);

  // What the window starts with is the unchanged setting, whether a file opened or not.
  tracking_changes_ = true;
  MarkSettingUnchanged();
  const std::wstring token = FirstCommandLineToken(command_line.c_str());
  if (!token.empty()) LoadToneFile(token.c_str());
}

INT_PTR CAppMain::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wparam);
      return TRUE;
    case WM_APP_STOP:
      SendDlgItemMessageW(dialog, IDC_STOP, BM_CLICK, 0, 0);
      return TRUE;
    default:
      return CAppBase::DialogProc(dialog, message, wparam, lparam);
  }
}

void CAppMain::OnNotify(WPARAM, LPARAM lparam) {
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
  if (header == nullptr || header->code != static_cast<UINT>(NM_DBLCLK)) return;
  if (header->idFrom == IDC_PATTERN_LIST) ModifyStep();
  if (header->idFrom == IDC_TONE_LIST) ModifyTone();
  RefreshTitle();
}

void CAppMain::OnCommand(int id, int code) {
  const MainCommand command = RouteMainCommand(id, code);
  if (AsksToSaveChanges(command) && !ConfirmDiscardChanges()) return;
  switch (command) {
    case MainCommand::kExit:
      renderer.Shutdown();
      OnExit();
      break;
    case MainCommand::kNew: NewSetting(); break;
    case MainCommand::kOpen: OpenToneFile(); break;
    case MainCommand::kOpenFromLibrary: OpenFromToneLibrary(); break;
    case MainCommand::kCheckRecording: CheckRecording(); break;
    case MainCommand::kDigits: EnterDigits(); break;
    case MainCommand::kSave: SaveCurrentSetting(); break;
    case MainCommand::kSaveAs: SaveToneFileAs(); break;
    case MainCommand::kZoomIn: view.ZoomIn(); break;
    case MainCommand::kZoomOut: view.ZoomOut(); break;
    case MainCommand::kAddStep: AddStep(); break;
    case MainCommand::kModifyStep: ModifyStep(); break;
    case MainCommand::kDeleteStep: DeleteStep(); break;
    case MainCommand::kStepUp: MoveStepUp(); break;
    case MainCommand::kStepDown: MoveStepDown(); break;
    case MainCommand::kAddTone: AddTone(); break;
    case MainCommand::kModifyTone: ModifyTone(); break;
    case MainCommand::kDeleteTone: DeleteTone(); break;
    case MainCommand::kCreateTone: CreateTone(); break;
    case MainCommand::kExport: ExportTone(); break;
    case MainCommand::kToneString: EditToneString(); break;
    case MainCommand::kChooseDevice: ChooseOutputDevice(); break;
    case MainCommand::kRepeatPlay: ToggleRepeatPlay(); break;
    case MainCommand::kStop: StopPlayback(); break;
    case MainCommand::kPlay: Play(); break;
    case MainCommand::kPause: Pause(); break;
    case MainCommand::kIgnore: break;
    case MainCommand::kFramework: CAppBase::OnCommand(id, code); break;
  }
  // Any command may have edited the setting: a list, the rate, the repeat field, the filter.
  RefreshTitle();
}

int CAppMain::OnDropFiles(HDROP drop, wchar_t*, int) {
  // The name is read whole, however long, so that a cut name never opens another file.
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::unique_ptr<wchar_t[]> name(new (std::nothrow) wchar_t[length + 1]);
  if (name == nullptr) {
    DragFinish(drop);
    return 0;
  }
  CAppBase::OnDropFiles(drop, name.get(), static_cast<int>(length + 1));
  if (name[0] != L'\0' && ConfirmDiscardChanges()) LoadToneFile(name.get());
  return 1;
}

int CAppMain::CanClose() {
  if (!ConfirmDiscardChanges()) return 0;
  renderer.Shutdown();
  return 1;
}

void CAppMain::EnableToneButtons(bool enable) {
  for (int id : {IDC_PLAY, IDC_STOP, IDC_PAUSE, IDC_SAVE_FILE}) {
    EnableWindow(GetDlgItem(main_window, id), enable ? TRUE : FALSE);
  }
}

void CAppMain::ShowPatternTotal() {
  SetDlgItemInt(main_window, IDC_PATTERN_TOTAL, static_cast<UINT>(pattern_total), TRUE);
}

void CAppMain::ShowSettingValues() {
  ShowPatternTotal();
  SetDlgItemInt(main_window, IDC_REPEAT, static_cast<UINT>(repeat), TRUE);
  CheckDlgButton(main_window, IDC_LOW_PASS_FILTER, filter_on != 0 ? BST_CHECKED : BST_UNCHECKED);
}

int32_t CAppMain::SelectedSamplingFrequency() {
  HWND list = GetDlgItem(main_window, IDC_SAMPLING_FREQUENCY);
  const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return 0;
  return static_cast<int32_t>(SendMessageW(list, CB_GETITEMDATA, selected, 0));
}

int32_t CAppMain::ReadRepeat() {
  wchar_t text[64] = {};
  GetDlgItemTextW(main_window, IDC_REPEAT, text, 64);
  return ReadRepeatField(text);
}

bool CAppMain::IsFilterChecked() {
  return IsDlgButtonChecked(main_window, IDC_LOW_PASS_FILTER) == BST_CHECKED;
}

void CAppMain::ShowMessage(const std::wstring& text, const wchar_t* caption) {
  MessageBoxW(main_window, text.c_str(), caption, MB_OK | MB_ICONWARNING);
}
