// Reading and working the controls of another process's windows the way a user would:
// texts, check marks, list contents, selections, clicks. Clicks are posted, because one that
// opens a modal dialog would not return until the dialog closes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace sonaril_e2e {

// A block of memory inside the target process, for list-view messages whose structures
// must live there. Freed with the object.
class CRemoteMemory {
 public:
  CRemoteMemory(DWORD process_id, size_t size);
  ~CRemoteMemory();
  CRemoteMemory(const CRemoteMemory&) = delete;
  CRemoteMemory& operator=(const CRemoteMemory&) = delete;
  bool ok() const { return address_ != nullptr; }
  void* address() const { return address_; }
  bool Write(size_t offset, const void* bytes, size_t size);
  bool Read(size_t offset, void* bytes, size_t size) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// SendMessageW that gives up after kWaitMs, so a hung program fails the test instead of
// hanging it; 0 on time-out.
LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::wstring& text);
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
bool IsEnabled(HWND dialog, int id);

// Combo boxes.
int ComboCount(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);
std::wstring ComboItemText(HWND dialog, int id, int index);
LRESULT ComboItemData(HWND dialog, int id, int index);
// Selects an entry and sends the notification the user's choice would send.
void ChooseComboEntry(HWND dialog, int id, int index);

// List views (report style).
int ListRowCount(HWND dialog, int id);
std::wstring ListCell(HWND dialog, int id, int row, int column);
std::vector<std::wstring> ListRow(HWND dialog, int id, int row, int columns);
std::wstring ListColumnHeading(HWND dialog, int id, int column);
// Selects exactly that row (-1: none).
void SelectListRow(HWND dialog, int id, int row);
int FirstSelectedRow(HWND dialog, int id);
// A double-click with the left button in the middle of the row.
void DoubleClickListRow(HWND dialog, int id, int row);

// A click on a button or a menu command, posted.
void PostCommand(HWND window, int id);
// Waits until window has handled everything posted to it before this call. Only for
// commands that open no modal window.
bool Barrier(HWND main_window);

// The text of a message box (its static text control).
std::wstring MessageBoxText(HWND box);

}  // namespace sonaril_e2e
