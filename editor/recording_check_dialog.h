// "Check Recording": the result of a check, PASS or FAIL in large letters, the tolerances,
// one row per step and tone as `sonaril-cli check` prints them, and a button that copies
// the report as text.
#pragma once
#include <windows.h>

#include <filesystem>

#include "app/dialog.h"
#include "editor/recording_check.h"

class CRecordingCheckDialog : public CDialog {
 public:
  ~CRecordingCheckDialog() override;
  // Colours the verdict (green PASS, red FAIL) and the rows that fail (red).
  INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  void OnCommand(HWND dialog, int id, int code) override;

  const RecordingCheck* check = nullptr;  // not owned
  std::wstring recording_name;

 private:
  HFONT verdict_font_ = nullptr;  // owned
};

// Checks recording against setting and shows the result; a recording that cannot be checked
// is said in one line in a message box instead.
void RunRecordingCheck(HWND owner, ToneSetting& setting, const std::string& setting_name,
                       const std::filesystem::path& recording);

// The file dialog's filter for recordings: WAV and raw G.711.
std::wstring RecordingFileFilter(int32_t language);
// The caption of the message that says why a recording cannot be checked.
const wchar_t* CheckRecordingTitle(int32_t language);
// The file dialog's title.
const wchar_t* CheckRecordingFileTitle(int32_t language);
