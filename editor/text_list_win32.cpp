#include "editor/text_list.h"

#include <commctrl.h>

void SetUpTextColumns(HWND dialog, int list_id, const std::vector<TextColumn>& columns, int32_t language) {
  HWND list = GetDlgItem(dialog, list_id);
  const DWORD styles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
  for (size_t i = 0; i < columns.size(); ++i) {
    RECT width = {0, 0, columns[i].width, 0};
    MapDialogRect(dialog, &width);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width.right;
    column.pszText = const_cast<wchar_t*>(language == 1 ? columns[i].japanese : columns[i].english);
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void AddTextRow(HWND dialog, int list_id, const std::vector<std::string>& cells) {
  if (cells.empty()) return;
  HWND list = GetDlgItem(dialog, list_id);
  std::wstring text = WideFromUtf8(cells[0]);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(text.c_str());
  const LRESULT row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (row < 0) return;
  for (size_t column = 1; column < cells.size(); ++column) {
    text = WideFromUtf8(cells[column]);
    LVITEMW cell = {};
    cell.iSubItem = static_cast<int>(column);
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  }
}

int SelectedTextRow(HWND dialog, int list_id) {
  return static_cast<int>(
      SendDlgItemMessageW(dialog, list_id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], length, nullptr, nullptr);
  return utf8;
}
