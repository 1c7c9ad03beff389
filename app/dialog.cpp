#include "app/dialog.h"

#include <shellapi.h>

#include "app/command_routing.h"

INT_PTR CDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (RouteModalDialogMessage(message)) {
    case DialogMessage::kNotify: {
      OnNotify(dialog, static_cast<int>(wparam), reinterpret_cast<NMHDR*>(lparam));
      return TRUE;
    }
    case DialogMessage::kInitDialog:
      window = dialog;
      OnInitDialog(dialog, wparam, lparam);
      return TRUE;
    case DialogMessage::kCommand:
      OnCommand(dialog, LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case DialogMessage::kDropFiles:
      OnDropFiles(reinterpret_cast<HDROP>(wparam), nullptr, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

void CDialog::OnInitDialog(HWND, WPARAM, LPARAM) {}

void CDialog::OnCommand(HWND dialog, int id, int) {
  if (id == IDOK) {
    if (OnOK(dialog) != 0) EndDialog(dialog, 1);
  } else if (id == IDCANCEL) {
    if (OnCancel(dialog) != 0) EndDialog(dialog, 0);
  }
}

int CDialog::OnOK(HWND) { return 1; }

int CDialog::OnCancel(HWND) { return 1; }

void CDialog::OnNotify(HWND, int, NMHDR*) {}

int TakeFirstDroppedFile(HDROP drop, wchar_t* buffer, int buffer_size) {
  if (buffer == nullptr) return 0;
  if (buffer_size > 0) {
    buffer[0] = L'\0';
    DragQueryFileW(drop, 0, buffer, static_cast<UINT>(buffer_size));
  }
  DragFinish(drop);
  return 1;
}

int CDialog::OnDropFiles(HDROP drop, wchar_t* buffer, int buffer_size) {
  return TakeFirstDroppedFile(drop, buffer, buffer_size);
}

INT_PTR RunModalDialog(HWND owner, int template_id, DLGPROC procedure) {
  // At the first start there is no main window yet; the templates are in the
  // program's own module then.
  HINSTANCE instance = owner != nullptr
                           ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE))
                           : GetModuleHandleW(nullptr);
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), owner, procedure, 0);
}
