#include "app/app_base.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/about_dialog.h"
#include "app/app_config.h"
#include "app/choose_language_dialog.h"
#include "app/command_routing.h"
#include "app/dialog.h"
#include "app/language_decision.h"
#include "resources/resource_ids.h"

CAppBase* current_app = nullptr;

namespace {

void OpenInBrowser(const wchar_t* address) {
  // Nothing is reported when no browser opens.
  ShellExecuteW(nullptr, L"open", address, nullptr, L"", SW_SHOW);
}

// HTML Help lives in its own control library; it is loaded by name so that a
// system without it still runs.
constexpr UINT kHelpInitialize = 0x001C;    // HH_INITIALIZE
constexpr UINT kHelpUninitialize = 0x001D;  // HH_UNINITIALIZE
using HtmlHelpFunction = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

HtmlHelpFunction FindHtmlHelp(HMODULE library) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
}

}  // namespace

CAppBase::OpenAddressFunction CAppBase::open_address = OpenInBrowser;
CAppBase::UserLanguageFunction CAppBase::user_language = GetUserDefaultLangID;

CAppBase::CAppBase() { current_app = this; }

CAppBase::~CAppBase() {
  if (help_library_ != nullptr) FreeLibrary(help_library_);
  if (current_app == this) current_app = nullptr;
}

INT_PTR CAppBase::Run(HINSTANCE instance_handle, HINSTANCE, const wchar_t* command_line, int) {
  instance = instance_handle;
  // The main templates hold list views besides the bars, so their class is asked
  // for too rather than left to the library to register on its own.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  if (Init(instance_handle) == 0) return 0;
  OnCommandLine(command_line);
  const INT_PTR result = DialogBoxParamW(instance_handle, GetDialogId(), nullptr, MainDialogProc, 0);
  Exit(instance_handle);
  // HTML Help was initialised for the main window's lifetime only.
  if (HtmlHelpFunction html_help = FindHtmlHelp(help_library_)) {
    html_help(nullptr, nullptr, kHelpUninitialize, help_cookie);
  }
  return result;
}

INT_PTR CALLBACK CAppBase::MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  return current_app != nullptr ? current_app->DialogProc(dialog, message, wparam, lparam) : FALSE;
}

INT_PTR CAppBase::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (RouteMainDialogMessage(message)) {
    case DialogMessage::kClose: OnClose(dialog); return TRUE;
    case DialogMessage::kNotify: OnNotify(wparam, lparam); return TRUE;
    case DialogMessage::kInitDialog: OnInitDialog(dialog, wparam, lparam); return TRUE;
    case DialogMessage::kCommand: OnCommand(LOWORD(wparam), HIWORD(wparam)); return TRUE;
    case DialogMessage::kTimer: OnTimer(wparam); return TRUE;
    case DialogMessage::kDropFiles: OnDropFiles(reinterpret_cast<HDROP>(wparam), nullptr, 0); return TRUE;
    default: return FALSE;
  }
}

void CAppBase::OnClose(HWND window) {
  if (CanClose() != 0) EndDialog(window, 1);
}

void CAppBase::OnNotify(WPARAM, LPARAM) {}

void CAppBase::OnCommand(int id, int) {
  switch (RouteAppCommand(id)) {
    case AppCommand::kExit: OnExit(); break;
    case AppCommand::kAbout: OnAbout(); break;
    case AppCommand::kHelp: OnHelp(); break;
    case AppCommand::kChooseLanguage: ChooseLanguage(0); break;
    case AppCommand::kIgnore: break;
  }
}

int CAppBase::OnDropFiles(HDROP drop, wchar_t* buffer, int buffer_size) {
  return TakeFirstDroppedFile(drop, buffer, buffer_size);
}

void CAppBase::OnTimer(WPARAM) {}

void CAppBase::OnExit() { EndDialog(main_window, 1); }

void CAppBase::OnHelp() {
  if (app_config == nullptr) return;
  open_address(app_config->GetHelpUrl(TextLanguage(app_config->current_language)));
}

void CAppBase::OnAbout() {
  CAboutDialog dialog;
  OpenModalDialog(&dialog, main_window, IDD_ABOUT_JA);
}

int CAppBase::ChooseLanguage(int first_start) {
  if (app_config == nullptr) return -1;
  CChooseLanguageDialog dialog;
  const LanguageDialogSetup setup =
      SetUpLanguageDialog(app_config->language, app_config->current_language, user_language());
  dialog.display_language = setup.display_language;
  dialog.selection = setup.selection;
  const bool confirmed =
      OpenModalDialog(&dialog, main_window, IDD_CHOOSE_LANGUAGE_JA, setup.display_language) == 1;
  const LanguageChoice choice = ResolveLanguageChoice(first_start != 0, confirmed, dialog.selection);
  if (choice.set_current_language) app_config->current_language = choice.selection;
  if (choice.store) {
    app_config->language = choice.selection;
    app_config->Save();
  }
  return choice.selection;
}

void CAppBase::OnInitDialog(HWND dialog, WPARAM, LPARAM) { main_window = dialog; }

int CAppBase::Init(HINSTANCE) {
  if (app_config != nullptr) {
    const RunLanguage run = DecideRunLanguage(app_config->language);
    app_config->current_language = run.current_language;
    if (run.ask_first_start) ChooseLanguage(1);
  }
  if (FindPreviousInstance() == 1) return 0;
  if (help_library_ == nullptr) help_library_ = LoadLibraryW(L"hhctrl.ocx");
  if (HtmlHelpFunction html_help = FindHtmlHelp(help_library_)) {
    html_help(nullptr, nullptr, kHelpInitialize, reinterpret_cast<DWORD_PTR>(&help_cookie));
  }
  return 1;
}

void CAppBase::Exit(HINSTANCE) {}

int CAppBase::FindPreviousInstance() {
  if (allow_multiple != 0 || app_config == nullptr) return 0;
  // Without a class name FindWindowW would match any window at all.
  const wchar_t* class_name = app_config->main_class_name.GetWide();
  if (class_name == nullptr || class_name[0] == L'\0') return 0;
  HWND previous = FindWindowW(class_name, nullptr);
  if (previous == nullptr) return 0;
  if (IsIconic(previous)) {
    ShowWindow(previous, SW_SHOW);
  } else {
    BringWindowToTop(previous);
  }
  return 1;
}

void CAppBase::OnCommandLine(const wchar_t*) {}

int CAppBase::CanClose() { return 1; }

const wchar_t* CAppBase::GetDialogId() { return L""; }
