// Shows one of the editor's dialogs as the main window opens it, for screenshots:
//   show_editor_dialog step-en|step-ja|tone-en|tone-ja|export-en|export-ja [seconds]
// The step and tone dialogs open on the values of Add, the export dialog as every opening
// does (empty name, WAV). Prints "ready X Y WIDTH HEIGHT" (the dialog's screen rectangle)
// once the dialog is up, and cancels it after the given seconds (default 30).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_config.h"
#include "editor/pattern_edit_dialog.h"
#include "editor/tone_edit_dialog.h"
#include "editor/tone_file_dialog.h"
#include "resources/resource_ids.h"
#include "tests/common/screenshot_watch.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring which = argc > 1 ? argv[1] : L"";
  std::wstring kind = which.size() > 3 ? which.substr(0, which.size() - 3) : L"";
  std::wstring language = which.size() > 3 ? which.substr(which.size() - 3) : L"";
  if ((kind != L"step" && kind != L"tone" && kind != L"export") || (language != L"-en" && language != L"-ja")) {
    std::fprintf(stderr, "usage: show_editor_dialog step-en|step-ja|tone-en|tone-ja|export-en|export-ja [seconds]\n");
    return 2;
  }
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;

  CAppParameter config;
  config.current_language = language == L"-ja" ? 1 : 0;
  app_config = &config;
  WatchDialogForScreenshot(seconds);
  if (kind == L"step") {
    PatternStep step;
    step.time = 1000;  // the values of Add
    RunStepDialog(nullptr, &step);
  } else if (kind == L"tone") {
    ToneEntry tone;
    RunToneDialog(nullptr, &tone);
  } else {
    CToneFileDialog dialog;
    OpenModalDialog(&dialog, nullptr, IDD_EXPORT_JA);
  }
  app_config = nullptr;
  return 0;
}
