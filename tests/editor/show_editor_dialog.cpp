// Shows one of the editor's dialogs as the main window opens it, for screenshots:
//   show_editor_dialog KIND-en|KIND-ja [seconds [A B]]
// KIND: step, tone (on the values of Add), export (as every opening: empty name, WAV),
// tonestring (on North American ring-back), library (A: the tones folder, B: the country
// typed), check (recording B against setting A), digits (A typed, B: dtmf or mf). Prints
// "ready X Y WIDTH HEIGHT" (the dialog's screen rectangle) once the dialog is up, and cancels
// it after the given seconds (default 30).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app_config.h"
#include "editor/digits_dialog.h"
#include "editor/pattern_edit_dialog.h"
#include "editor/recording_check_dialog.h"
#include "editor/tone_edit_dialog.h"
#include "editor/tone_file_dialog.h"
#include "editor/tone_library_dialog.h"
#include "editor/tone_string_dialog.h"
#include "editor/tone_string_edit.h"
#include "files/tone_file.h"
#include "resources/resource_ids.h"
#include "tests/common/screenshot_watch.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring which = argc > 1 ? argv[1] : L"";
  std::wstring kind = which.size() > 3 ? which.substr(0, which.size() - 3) : L"";
  std::wstring language = which.size() > 3 ? which.substr(which.size() - 3) : L"";
  const bool with_paths = kind == L"library" || kind == L"check" || kind == L"digits";
  const bool known = kind == L"step" || kind == L"tone" || kind == L"export" || kind == L"tonestring" || with_paths;
  if (!known || (language != L"-en" && language != L"-ja") || (with_paths && argc < 5)) {
    std::fprintf(stderr, "usage: show_editor_dialog step|tone|export|tonestring|library|check|digits"
                         "-en|-ja [seconds [A B]]\n");
    return 2;
  }
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;

  CAppParameter config;
  config.current_language = language == L"-ja" ? 1 : 0;
  app_config = &config;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WatchDialogForScreenshot(seconds);
  if (kind == L"step") {
    PatternStep step;
    step.time = 1000;  // the values of Add
    RunStepDialog(nullptr, &step);
  } else if (kind == L"tone") {
    ToneEntry tone;
    RunToneDialog(nullptr, &tone);
  } else if (kind == L"tonestring") {
    ToneSetting setting;
    std::wstring why_not;
    BuildSettingFromToneString(L"440+480/2000,0/4000", 8000, 1, &setting, &why_not, 0);
    ToneSetting built;
    RunToneStringDialog(nullptr, setting, 8000, 1, &built);
  } else if (kind == L"library") {
    std::wstring country = argv[4];
    RunToneLibraryDialog(nullptr, argv[3], &country);
  } else if (kind == L"digits") {
    DigitsForm form = FormForSystem(DigitsForm(), std::wstring(argv[4]) == L"mf" ? DigitSystem::Mf : DigitSystem::Dtmf);
    form.digits = argv[3];
    ToneSetting setting;
    RunDigitsDialog(nullptr, &form, 8000, 1, &setting);
  } else if (kind == L"check") {
    ToneSetting setting;
    if (!LoadToneSetting(setting, argv[3])) return 1;
    RunRecordingCheck(nullptr, setting, std::filesystem::path(argv[3]).filename().u8string(), argv[4]);
  } else {
    CToneFileDialog dialog;
    OpenModalDialog(&dialog, nullptr, IDD_EXPORT_JA);
  }
  app_config = nullptr;
  return 0;
}
