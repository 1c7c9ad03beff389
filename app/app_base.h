// The application class of the window framework: decides the language of the
// run, runs the main window as one modal dialog from a template, and routes the
// dialog's messages and menu commands to virtual operations that the program's
// application class overrides.
#pragma once

#include <windows.h>
#include <shellapi.h>  // HDROP

#include <cstdint>

class CAppBase {
 public:
  // Publishes this object as current_app.
  CAppBase();
  // Clears current_app when it still names this object.
  virtual ~CAppBase();
  CAppBase(const CAppBase&) = delete;
  CAppBase& operator=(const CAppBase&) = delete;

  // Common controls, Init, OnCommandLine, the main dialog, Exit. Returns the
  // main dialog's result (1 on every framework path), -1 when it could not be
  // created, 0 when Init failed.
  virtual INT_PTR Run(HINSTANCE instance, HINSTANCE previous_instance, const wchar_t* command_line,
                      int show_command);
  // Dispatch of the main dialog: WM_CLOSE, WM_NOTIFY, WM_INITDIALOG, WM_COMMAND,
  // WM_TIMER and WM_DROPFILES answer TRUE, all others FALSE.
  virtual INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  // Ends the main dialog with 1 when CanClose allows it.
  virtual void OnClose(HWND window);
  virtual void OnNotify(WPARAM wparam, LPARAM lparam);
  // IDCANCEL (Esc) and Exit: OnExit; About, Help Topics, Choose Language; any
  // other id is ignored.
  virtual void OnCommand(int id, int code);
  // As CDialog: with a buffer the first dropped file's path, the drop released
  // and 1; without a buffer 0.
  virtual int OnDropFiles(HDROP drop, wchar_t* buffer, int buffer_size);
  virtual void OnTimer(WPARAM timer_id);
  // Ends the main dialog with 1 at once, without asking CanClose.
  virtual void OnExit();
  // Opens the help page of the language of this run in the default browser.
  virtual void OnHelp();
  // The About box in the language of this run, owned by the main window.
  virtual void OnAbout();
  // Shows the language dialog and returns its selection. At the first start
  // (first_start nonzero) the answer, or the guess when cancelled, becomes the
  // language of this run; the choice is stored and saved at once when it was
  // confirmed with OK or made at the first start.
  virtual int ChooseLanguage(int first_start);
  // Records dialog as the main window.
  virtual void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam);
  // The language of the run, the single-instance check and HTML Help.
  // Returns 0 when another instance was found, 1 otherwise.
  virtual int Init(HINSTANCE instance);
  // Called once after the main dialog has ended; nothing here.
  virtual void Exit(HINSTANCE instance);
  // 1 when another instance's main window was found (and brought forward);
  // always 0 while allow_multiple is nonzero.
  virtual int FindPreviousInstance();
  virtual void OnCommandLine(const wchar_t* command_line);
  // Nonzero allows the main window to close; always 1 here.
  virtual int CanClose();
  // The main dialog's template name; none here (the program names its own).
  virtual const wchar_t* GetDialogId();

  HINSTANCE instance = nullptr;
  HWND main_window = nullptr;  // the main dialog once it is initialised
  DWORD help_cookie = 0;       // from the HTML Help initialisation
  int allow_multiple = 1;      // nonzero skips the single-instance check

  // How OnHelp hands an address to the default browser (ShellExecuteW "open");
  // tests put a recorder here so that no browser starts.
  using OpenAddressFunction = void (*)(const wchar_t* address);
  static OpenAddressFunction open_address;
  // Where ChooseLanguage asks for the user's default UI language
  // (GetUserDefaultLangID); tests may fix the answer.
  using UserLanguageFunction = LANGID (*)();
  static UserLanguageFunction user_language;

 private:
  // The main dialog's procedure: forwards to current_app's DialogProc.
  static INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  HMODULE help_library_ = nullptr;  // the HTML Help control while it is initialised
};

// The one application object; the static main dialog procedure reaches it here.
// Not owned: the program entry holds the object in its own frame.
extern CAppBase* current_app;
