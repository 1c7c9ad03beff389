// The ring-pattern step dialog: kind, time and fade switch of one step. Enter cancels
// (Cancel is the default button); only OK stores.
#pragma once
#include <cstdint>

#include "app/dialog.h"
#include "synth/tone_setting.h"

class CPatternEditDialog : public CDialog {
 public:
  // The icon, the four kinds with their values as item data, the time and the fade box.
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // Reads the controls into the fields below; always agrees.
  int OnOK(HWND dialog) override;

  int32_t on_off = On;  // a StepKind; Off when no kind is selected
  int32_t time = 1000;  // ms; a text that is not a number keeps the previous value
  int32_t is_fade = 0;  // 0 or 1; only an On step keeps 1
};

// Opens the step dialog (owner: the main window) on *step's kind, time and fade switch.
// After OK they are copied back into *step and the result is true; otherwise *step is
// untouched. For Add, pass a step with on_off On, time 1000 and is_fade 0.
bool RunStepDialog(HWND owner, PatternStep* step);
