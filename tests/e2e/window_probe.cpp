#include "tests/e2e/window_probe.h"

#include <commctrl.h>

#include "tests/e2e/sonaril_process.h"

namespace sonaril_e2e {

namespace {

constexpr int kPatternTotalField = 20121;  // a read-only field of the main window
constexpr size_t kTextOffset = 256;       // where the text buffer follows the structure
constexpr int kTextCapacity = 512;        // characters
constexpr size_t kRemoteSize = kTextOffset + kTextCapacity * sizeof(wchar_t);
constexpr int kMessageBoxTextId = 0xFFFF;

DWORD OwnerProcess(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  return process_id;
}

std::wstring ReadRemoteText(const CRemoteMemory& memory) {
  wchar_t text[kTextCapacity] = {};
  if (!memory.Read(kTextOffset, text, sizeof text)) return std::wstring();
  text[kTextCapacity - 1] = L'\0';
  return text;
}

}  // namespace

CRemoteMemory::CRemoteMemory(DWORD process_id, size_t size) {
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                         process_id);
  if (process_ == nullptr) return;
  address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

CRemoteMemory::~CRemoteMemory() {
  if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

bool CRemoteMemory::Write(size_t offset, const void* bytes, size_t size) {
  SIZE_T done = 0;
  return address_ != nullptr &&
         WriteProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, &done) &&
         done == size;
}

bool CRemoteMemory::Read(size_t offset, void* bytes, size_t size) const {
  SIZE_T done = 0;
  return address_ != nullptr &&
         ReadProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, &done) &&
         done == size;
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kWaitMs, &result)) return 0;
  return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  Send(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void SetControlText(HWND dialog, int id, const std::wstring& text) {
  Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsChecked(HWND dialog, int id) {
  return Send(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked) {
  Send(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

int ComboCount(HWND dialog, int id) {
  return static_cast<int>(Send(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0));
}

int ComboSelection(HWND dialog, int id) {
  return static_cast<int>(Send(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

std::wstring ComboItemText(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  const LRESULT length = Send(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length > 1000) return std::wstring();
  wchar_t text[1024] = {};
  Send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

LRESULT ComboItemData(HWND dialog, int id, int index) {
  return Send(GetDlgItem(dialog, id), CB_GETITEMDATA, index, 0);
}

void ChooseComboEntry(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  Send(combo, CB_SETCURSEL, index, 0);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ListRowCount(HWND dialog, int id) {
  return static_cast<int>(Send(GetDlgItem(dialog, id), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListCell(HWND dialog, int id, int row, int column) {
  HWND list = GetDlgItem(dialog, id);
  CRemoteMemory memory(OwnerProcess(list), kRemoteSize);
  if (!memory.ok()) return L"<no remote memory>";
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory.address()) + kTextOffset);
  item.cchTextMax = kTextCapacity;
  const wchar_t empty[kTextCapacity] = {};
  memory.Write(kTextOffset, empty, sizeof empty);
  memory.Write(0, &item, sizeof item);
  Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory.address()));
  return ReadRemoteText(memory);
}

std::vector<std::wstring> ListRow(HWND dialog, int id, int row, int columns) {
  std::vector<std::wstring> cells;
  for (int column = 0; column < columns; ++column) cells.push_back(ListCell(dialog, id, row, column));
  return cells;
}

std::wstring ListColumnHeading(HWND dialog, int id, int column) {
  HWND list = GetDlgItem(dialog, id);
  CRemoteMemory memory(OwnerProcess(list), kRemoteSize);
  if (!memory.ok()) return L"<no remote memory>";
  LVCOLUMNW heading = {};
  heading.mask = LVCF_TEXT;
  heading.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory.address()) + kTextOffset);
  heading.cchTextMax = kTextCapacity;
  memory.Write(0, &heading, sizeof heading);
  if (!Send(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(memory.address()))) {
    return L"<no column>";
  }
  return ReadRemoteText(memory);
}

void SelectListRow(HWND dialog, int id, int row) {
  HWND list = GetDlgItem(dialog, id);
  CRemoteMemory memory(OwnerProcess(list), sizeof(LVITEMW));
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  memory.Write(0, &item, sizeof item);
  Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(memory.address()));
  if (row < 0) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  memory.Write(0, &item, sizeof item);
  Send(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory.address()));
}

int FirstSelectedRow(HWND dialog, int id) {
  return static_cast<int>(
      Send(GetDlgItem(dialog, id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void DoubleClickListRow(HWND dialog, int id, int row) {
  HWND list = GetDlgItem(dialog, id);
  CRemoteMemory memory(OwnerProcess(list), sizeof(RECT));
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  memory.Write(0, &bounds, sizeof bounds);
  Send(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(memory.address()));
  memory.Read(0, &bounds, sizeof bounds);
  const int x = (bounds.left + bounds.right) / 2;
  const int y = (bounds.top + bounds.bottom) / 2;
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
}

void PostCommand(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

bool Barrier(HWND main_window) {
  static int marker = 4000;
  const int limit = ++marker;
  HWND field = GetDlgItem(main_window, kPatternTotalField);
  PostMessageW(field, EM_SETLIMITTEXT, limit, 0);
  return WaitFor([&] { return Send(field, EM_GETLIMITTEXT, 0, 0) == limit; });
}

std::wstring MessageBoxText(HWND box) { return ControlText(box, kMessageBoxTextId); }

}  // namespace sonaril_e2e
