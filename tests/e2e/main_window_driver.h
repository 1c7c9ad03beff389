// One running Sonaril.exe with its own working folder and config file, and the things a
// user does in its main window, each finished (or failed) before it returns.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/test_paths.h"
#include "tests/e2e/sonaril_process.h"

namespace sonaril_e2e {

// Control and command ids of the main window and its dialogs.
enum : int {
  kFileNew = 5001,
  kFileOpen = 5002,
  kFileSave = 5004,
  kFileSaveAs = 5005,
  kFileExit = 5019,
  kFileCheckRecording = 5041,
  kZoomIn = 20105,
  kZoomOut = 20106,
  kStepList = 20110,
  kStepAdd = 20111,
  kStepModify = 20112,
  kStepDelete = 20113,
  kStepUp = 20114,
  kStepDown = 20115,
  kToneList = 20116,
  kToneAdd = 20117,
  kToneModify = 20118,
  kToneDelete = 20119,
  kSamplingFrequency = 20120,
  kPatternTotal = 20121,
  kRepeat = 20122,
  kCreateTone = 20123,
  kSaveFile = 20124,
  kOutputDevice = 20125,
  kRepeatPlay = 20126,
  kStop = 20127,
  kPlay = 20128,
  kPause = 20129,
  kLowPassFilter = 20132,
  kStepKind = 20200,
  kStepTime = 20201,
  kStepFade = 20202,
  kToneType = 20301,
  kToneFrequency = 20302,
  kTonePhase = 20303,
  kToneStartTime = 20304,
  kToneEndTime = 20305,
  kToneLevel = 20306,
  kExportName = 20401,
  kExportFormat = 20403,
};

struct StepValues {
  int kind;  // 0 OFF, 1 ON, 2 ramp down, 3 ramp up
  int time;
  bool fade;
};

struct ToneValues {
  int type;
  int frequency, phase, start_time, end_time, level;
};

struct TransportState {
  bool stop, play, pause;  // checked
  bool enabled;            // PLAY, STOP, PAUSE and "Save File" all enabled
};

class CMainWindow {
 public:
  // A fresh working folder with a config file of the given stored language (-1: no
  // config file at all).
  explicit CMainWindow(int language = 0, int repeat_play = 0);

  // Starts Sonaril.exe (or another copy of it) there and waits for its main window.
  bool Start(const std::wstring& arguments = L"", const std::wstring& exe = SonarilExePath());
  // The caption of the main window in the language of the run.
  std::wstring MainCaption() const;

  // Ring-pattern and tone dialogs, through the buttons (row -1: Add).
  bool EditStep(int command, const StepValues& values);
  bool EditTone(int command, const ToneValues& values);
  // Opens the tone dialog by double-clicking row and reads its frequency field, then cancels.
  std::wstring FrequencyShownByDoubleClick(int row);

  // A click that opens no modal window, finished.
  bool Click(int id);
  // "Create Tone", finished. When a message box appears instead, its text is returned
  // (and the box closed); otherwise "".
  std::wstring CreateTone();
  // A message box with caption, if one comes up within timeout_ms: its text, then closed.
  std::wstring DismissMessageBox(const std::wstring& caption, DWORD timeout_ms = kWaitMs);
  // "Save File" with the name typed and a format chosen; true once the dialog has closed
  // and the export is done.
  bool Export(const std::string& path, int format);
  // File > Save As with a name typed into the file dialog.
  bool SaveAs(const std::string& typed_name);
  // File > Open with a name typed into the file dialog.
  bool Open(const std::string& typed_name);
  // File > Check Recording with a name typed into the file dialog; true once it has closed.
  bool PickRecordingToCheck(const std::string& typed_name);
  // A file dropped on the window, the way the shell hands it over.
  bool DropFile(const std::string& path);

  std::vector<std::wstring> StepRow(int row) const;
  std::vector<std::wstring> ToneRow(int row) const;
  int StepCount() const;
  int ToneCount() const;
  std::wstring Field(int id) const;
  void SetField(int id, const std::wstring& text);
  TransportState Transport() const;
  bool IsIdle() const;

  sonaril_test::TempDir folder;
  CSonarilProcess process;
  HWND window = nullptr;
  int language;

 private:
  HWND OpenDialog(int command, const std::wstring& caption);
  bool TypeIntoFileDialog(int command, const std::wstring& caption, const std::string& typed_name);
  bool CloseDialog(HWND dialog, const std::wstring& caption, int button);
};

// The localized caption of a window or message box in the given language.
std::wstring Caption(const wchar_t* english, const wchar_t* japanese, int language);

}  // namespace sonaril_e2e
