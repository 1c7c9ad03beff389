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
#include <string>

#include "app/app_base.h"
#include "app/app_config.h"
#include "tests/common/screenshot_watch.h"
#include "tests/common/test_paths.h"

namespace {

class CShowApp : public CAppBase {};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: show_dialog language-first-start|about-en|about-ja [seconds]\n");
    return 2;
  }
  const std::wstring which = argv[1];
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;

  sonaril_test::TempDir folder;
  CAppParameter config;
  config.Setup();
  config.ini_file.Assign(folder.File("Sonaril.ini").c_str());
  app_config = &config;
  CShowApp app;
  WatchDialogForScreenshot(seconds);

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
