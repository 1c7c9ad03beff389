// The base of every modal dialog, and the one way a modal dialog is opened:
// the caller builds the dialog object in its own frame, sets its values and
// calls OpenModalDialog; the result is 1 after OK (copy the values out) and 0
// after Cancel, Esc or the close box (leave the caller's data alone).
//
//   CToneDialog dialog;
//   dialog.frequency = tone->frequency;
//   if (OpenModalDialog(&dialog, main_window, IDD_TONE_EDIT_JA) == 1) ...
//
// The Japanese template id is given; the English one (100 higher) is used
// unless the language is 1.
#pragma once

#include <windows.h>
#include <shellapi.h>  // HDROP

#include "app/app_config.h"
#include "app/language_decision.h"

class CDialog {
 public:
  CDialog() = default;
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Turns the dialog messages into the operations below: WM_NOTIFY, WM_INITDIALOG
  // (after storing the handle), WM_COMMAND and WM_DROPFILES answer TRUE, every
  // other message FALSE.
  virtual INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  // Fills the controls; nothing here.
  virtual void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam);
  // IDOK ends the dialog with 1 when OnOK agrees, IDCANCEL (also Esc and the
  // close box) with 0 when OnCancel agrees; other ids do nothing here.
  virtual void OnCommand(HWND dialog, int id, int code);
  // Nonzero lets the dialog end; here always 1. Derived dialogs read their
  // controls into their fields here.
  virtual int OnOK(HWND dialog);
  virtual int OnCancel(HWND dialog);
  virtual void OnNotify(HWND dialog, int id, NMHDR* header);
  // With a buffer: the first dropped file's path into it (cut to buffer_size
  // characters, terminator included), the drop released, 1. Without a buffer: 0.
  virtual int OnDropFiles(HDROP drop, wchar_t* buffer, int buffer_size);

  // The dialog's window once WM_INITDIALOG has arrived; null before.
  HWND window = nullptr;
};

// One current-instance pointer and one dialog procedure per dialog class. The
// procedure forwards every message to the current instance and answers FALSE
// while there is none, so the platform's default dialog handling runs.
template <class Dialog>
struct CDialogClass {
  static Dialog* current_instance;
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    CDialog* instance = current_instance;
    return instance != nullptr ? instance->DialogProc(dialog, message, wparam, lparam) : FALSE;
  }
};
template <class Dialog>
Dialog* CDialogClass<Dialog>::current_instance = nullptr;

// Runs a modal dialog from template_id with the
// instance of owner, or of the program when there is no owner yet. Returns the
// value given to EndDialog, or -1 when the dialog could not be created.
INT_PTR RunModalDialog(HWND owner, int template_id, DLGPROC procedure);

// The first dropped file's name into buffer (cut to buffer_size), then the drop is
// released. 0 without a buffer (the drop is then left alone), else 1.
int TakeFirstDroppedFile(HDROP drop, wchar_t* buffer, int buffer_size);

// The opening protocol: records dialog as its class's current instance, runs
// the template of the language (by default the language of this run) modally
// and returns the EndDialog value (1 OK, 0 Cancel, -1 no dialog). The record is
// put back to what it was once the dialog has ended, so no pointer into a
// dropped frame is left behind.
template <class Dialog>
INT_PTR OpenModalDialog(Dialog* dialog, HWND owner, int japanese_template_id,
                        int language = CurrentLanguage()) {
  Dialog* previous = CDialogClass<Dialog>::current_instance;
  CDialogClass<Dialog>::current_instance = dialog;
  const INT_PTR result = RunModalDialog(owner, DialogTemplateFor(japanese_template_id, language),
                                        &CDialogClass<Dialog>::Procedure);
  CDialogClass<Dialog>::current_instance = previous;
  return result;
}
