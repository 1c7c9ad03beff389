// "DTMF/MF Digits": digits, DTMF or MF R1, and the on, off and pause times. OK builds the
// setting that sends them; digits or times that cannot be sent are explained under the
// fields and the dialog stays open.
#pragma once
#include <windows.h>

#include "app/dialog.h"
#include "editor/digits_setting.h"

class CDigitsDialog : public CDialog {
 public:
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // A change of system puts that system's on and off times in.
  void OnCommand(HWND dialog, int id, int code) override;
  // Reads the fields into form and builds setting; refuses, saying why, when it cannot.
  int OnOK(HWND dialog) override;

  DigitsForm form;
  int32_t sampling_frequency = 8000;
  int32_t repeat = 1;
  ToneSetting setting;  // the built setting after OK

 private:
  void ShowForm(HWND dialog);
  void ReadForm(HWND dialog);
};

// Runs the dialog on *form (kept afterwards, so the next opening shows the same). After OK,
// *setting is replaced by the setting that sends the digits and the result is true.
bool RunDigitsDialog(HWND owner, DigitsForm* form, int32_t sampling_frequency, int32_t repeat, ToneSetting* setting);
