#include "editor/recording_check_dialog.h"

#include <commctrl.h>

#include <string>

#include "app/app_config.h"
#include "editor/dialog_controls.h"
#include "editor/text_list.h"
#include "resources/resource_ids.h"

namespace {

const std::vector<TextColumn> kRowColumns = {{L"Step", L"ステップ", 34}, {L"Kind", L"種類", 40},
                                             {L"Expected", L"設定", 82},  {L"Heard", L"録音", 82},
                                             {L"Result", L"結果", 90}};

// Windows programs paste CRLF line ends.
std::wstring WindowsLines(const std::wstring& text) {
  std::wstring lines;
  for (wchar_t c : text) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  return lines;
}

bool CopyToClipboard(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return false;
  }
  memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory);
  // Another program may hold the clipboard open for a moment: try again for a while.
  bool opened = false;
  for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
    opened = OpenClipboard(owner) != FALSE;
    if (!opened) Sleep(20);
  }
  if (!opened) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // The clipboard owns the memory once it takes it.
  const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!taken) GlobalFree(memory);
  return taken;
}

}  // namespace

CRecordingCheckDialog::~CRecordingCheckDialog() {
  if (verdict_font_ != nullptr) DeleteObject(verdict_font_);
}

INT_PTR CRecordingCheckDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lparam) == GetDlgItem(dialog, IDC_CHECK_VERDICT) &&
      check != nullptr) {
    HDC context = reinterpret_cast<HDC>(wparam);
    SetTextColor(context, check->pass ? RGB(0, 128, 0) : RGB(200, 0, 0));
    SetBkMode(context, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  }
  if (message == WM_NOTIFY && check != nullptr && wparam == IDC_CHECK_ROWS) {
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lparam);
    if (draw->nmcd.hdr.code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      LRESULT result = CDRF_DODEFAULT;
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) result = CDRF_NOTIFYITEMDRAW;
      // A row that fails is drawn red, so the reason for FAIL is found at once.
      const size_t row = draw->nmcd.dwItemSpec;
      if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && row < check->rows.size() && !check->rows[row].ok) {
        draw->clrText = RGB(200, 0, 0);
      }
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
  return CDialog::DialogProc(dialog, message, wparam, lparam);
}

void CRecordingCheckDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  if (check == nullptr) return;
  const int32_t language = CurrentLanguage();
  // The verdict is the one thing to see at a glance: a bold font four times the dialog's.
  LOGFONTW font = {};
  HFONT dialog_font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  if (dialog_font != nullptr && GetObjectW(dialog_font, sizeof font, &font) != 0) {
    font.lfHeight *= 4;
    font.lfWidth = 0;
    font.lfWeight = FW_BOLD;
    verdict_font_ = CreateFontIndirectW(&font);
    if (verdict_font_ != nullptr) {
      SendDlgItemMessageW(dialog, IDC_CHECK_VERDICT, WM_SETFONT, reinterpret_cast<WPARAM>(verdict_font_), FALSE);
    }
  }
  SetDlgItemTextW(dialog, IDC_CHECK_VERDICT, check->verdict.c_str());
  SetDlgItemTextW(dialog, IDC_CHECK_RECORDING, recording_name.c_str());
  SetDlgItemTextW(dialog, IDC_CHECK_TOLERANCES, WideFromUtf8(check->tolerances).c_str());
  SetDlgItemTextW(dialog, IDC_CHECK_LEVELS, WideFromUtf8(check->levels).c_str());
  SetUpTextColumns(dialog, IDC_CHECK_ROWS, kRowColumns, language);
  for (const CheckRow& row : check->rows) {
    AddTextRow(dialog, IDC_CHECK_ROWS, {row.step, row.kind, row.expected, row.heard, row.result});
  }
}

void CRecordingCheckDialog::OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_CHECK_COPY && check != nullptr) {
    CopyToClipboard(dialog, WindowsLines(WideFromUtf8(check->report)));
    return;
  }
  CDialog::OnCommand(dialog, id, code);
}

void RunRecordingCheck(HWND owner, ToneSetting& setting, const std::string& setting_name,
                       const std::filesystem::path& recording) {
  const int32_t language = CurrentLanguage();
  // A long recording takes a moment to measure.
  const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const RecordingCheck check = CheckRecording(setting, setting_name, recording, language);
  SetCursor(previous);
  if (!check.problem.empty()) {
    MessageBoxW(owner, check.problem.c_str(), CheckRecordingTitle(language), MB_OK | MB_ICONWARNING);
    return;
  }
  CRecordingCheckDialog dialog;
  dialog.check = &check;
  dialog.recording_name = recording.filename().wstring();
  OpenModalDialog(&dialog, owner, IDD_RECORDING_CHECK_JA);
}

std::wstring RecordingFileFilter(int32_t language) {
  static const wchar_t kEnglish[] =
      L"Recordings (*.wav;*.ul;*.al)\0*.wav;*.ul;*.mu;*.mulaw;*.ulaw;*.al;*.alaw\0"
      L"WAV (*.wav)\0*.wav\0G.711 u-law (*.ul)\0*.ul;*.mu;*.mulaw;*.ulaw\0G.711 A-law (*.al)\0*.al;*.alaw\0"
      L"All files (*.*)\0*.*\0";
  static const wchar_t kJapanese[] =
      L"録音 (*.wav;*.ul;*.al)\0*.wav;*.ul;*.mu;*.mulaw;*.ulaw;*.al;*.alaw\0"
      L"WAV (*.wav)\0*.wav\0G.711 u-law (*.ul)\0*.ul;*.mu;*.mulaw;*.ulaw\0G.711 A-law (*.al)\0*.al;*.alaw\0"
      L"すべてのファイル (*.*)\0*.*\0";
  return language == 1 ? std::wstring(kJapanese, sizeof kJapanese / sizeof(wchar_t) - 1)
                       : std::wstring(kEnglish, sizeof kEnglish / sizeof(wchar_t) - 1);
}

const wchar_t* CheckRecordingTitle(int32_t language) { return language == 1 ? L"録音の確認" : L"Check Recording"; }

const wchar_t* CheckRecordingFileTitle(int32_t language) {
  return language == 1 ? L"確認する録音を選ぶ" : L"Choose a Recording to Check";
}
