// Shows one of the framework's dialogs as the program would, for screenshots:
//   show_dialog language-first-start [seconds]   the first-start language dialog
//                                                (in the system's UI language)
//   show_dialog about-en|about-ja [seconds]      the About box in that run language
// Prints "ready X Y WIDTH HEIGHT" (the dialog's screen rectangle) once the dialog
// is up, and ends it after the given seconds (default 30). The configuration
// lives in a temporary folder that is removed at the end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "app/app_base.h"
#include "app/app_config.h"
#include "tests/common/test_paths.h"

namespace {

DWORD end_tick = 0;
bool reported = false;

BOOL CALLBACK FindDialog(HWND window, LPARAM result) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (IsWindowVisible(window) && std::wstring(class_name) == L"#32770") {
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  if (!reported) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    std::printf("ready %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::fflush(stdout);
    reported = true;
  }
  if (static_cast<LONG>(GetTickCount() - end_tick) >= 0) EndDialog(dialog, 0);
}

class CShowApp : public CAppBase {};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: show_dialog language-first-start|about-en|about-ja [seconds]\n");
    return 2;
  }
  const std::wstring which = argv[1];
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;
  end_tick = GetTickCount() + static_cast<DWORD>(seconds > 0 ? seconds : 30) * 1000;

  sonaril_test::TempDir folder;
  CAppParameter config;
  config.Setup();
  config.ini_file.Assign(folder.File("Sonaril.ini").c_str());
  app_config = &config;
  CShowApp app;
  SetTimer(nullptr, 0, 50, Watch);

  int result = 0;
  if (which == L"language-first-start") {
    config.language = -1;
    app.Init(GetModuleHandleW(nullptr));
  } else if (which == L"about-en" || which == L"about-ja") {
    config.current_language = which == L"about-ja" ? 1 : 0;
    app.OnAbout();
  } else {
    std::fprintf(stderr, "unknown dialog\n");
    result = 2;
  }
  app_config = nullptr;
  return result;
}
