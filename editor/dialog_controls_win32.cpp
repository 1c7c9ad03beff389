#include "editor/dialog_controls.h"

#include <commdlg.h>

#include <cwchar>

#include "resources/resource_ids.h"
#include "synth/number_parsing.h"

namespace {

// 63 characters and the terminator: longer texts are cut, as the number rule reads no more.
constexpr int kFieldCharacters = 64;

// The file dialogs' name buffer; one character is kept for the terminator.
constexpr DWORD kFileNameCharacters = 520;

}  // namespace

void SetDialogSmallIcon(HWND dialog) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  // Shared: the system keeps one copy per module, so repeated openings cost nothing.
  HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, 16, 16, LR_SHARED);
  if (icon != nullptr) SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void AddComboEntry(HWND dialog, int combo_id, const wchar_t* text, int32_t value) {
  LRESULT index = SendDlgItemMessageW(dialog, combo_id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (index >= 0) SendDlgItemMessageW(dialog, combo_id, CB_SETITEMDATA, static_cast<WPARAM>(index), value);
}

void SelectComboValue(HWND dialog, int combo_id, int32_t value) {
  LRESULT count = SendDlgItemMessageW(dialog, combo_id, CB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    LRESULT data = SendDlgItemMessageW(dialog, combo_id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data != CB_ERR && static_cast<int32_t>(data) == value) {
      SendDlgItemMessageW(dialog, combo_id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      return;
    }
  }
  SendDlgItemMessageW(dialog, combo_id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int32_t SelectedComboValue(HWND dialog, int combo_id, int32_t fallback) {
  LRESULT index = SendDlgItemMessageW(dialog, combo_id, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return fallback;
  LRESULT data = SendDlgItemMessageW(dialog, combo_id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == CB_ERR ? fallback : static_cast<int32_t>(data);
}

std::wstring FieldText(HWND dialog, int field_id) {
  HWND field = GetDlgItem(dialog, field_id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(field, &text[0], static_cast<int>(text.size()))));
  return text;
}

void ShowFieldNumber(HWND dialog, int field_id, int32_t value) {
  wchar_t text[16];
  swprintf(text, sizeof text / sizeof text[0], L"%d", value);
  SetDlgItemTextW(dialog, field_id, text);
}

void ReadFieldNumber(HWND dialog, int field_id, int32_t* value) {
  wchar_t text[kFieldCharacters] = {};
  GetDlgItemTextW(dialog, field_id, text, kFieldCharacters);
  ParseFieldNumber(std::wstring_view(text), value);
}

std::wstring AskFileName(HWND owner, FileNameDialog kind, const std::wstring& filter,
                         const wchar_t* title, const wchar_t* default_extension) {
  wchar_t name[kFileNameCharacters] = {};
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = name;
  request.nMaxFile = kFileNameCharacters - 1;
  request.lpstrTitle = title;
  request.lpstrDefExt = default_extension;
  const bool open = kind == FileNameDialog::Open;
  request.Flags = OFN_HIDEREADONLY | (open ? OFN_FILEMUSTEXIST : OFN_PATHMUSTEXIST);
  const BOOL chosen = open ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
  return chosen ? std::wstring(name) : std::wstring();
}
