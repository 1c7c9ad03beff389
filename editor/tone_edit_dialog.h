// The tone dialog: type, frequency, phase, start and end time and level of one tone.
// Enter cancels (Cancel is the default button); only OK stores. No range is checked.
#pragma once
#include <cstdint>

#include "app/dialog.h"
#include "synth/tone_setting.h"

class CToneEditDialog : public CDialog {
 public:
  // The icon, the four wave types of the current language with their values as item data,
  // and the five numbers.
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // Reads the controls into the fields below; always agrees.
  int OnOK(HWND dialog) override;

  // A field whose text is not a number keeps its previous value.
  int32_t type = Sine;       // a WaveType; sine when no type is selected
  int32_t frequency = 1000;  // Hz
  int32_t phase = 0;         // degrees
  int32_t start_time = 0;    // ms
  int32_t end_time = -1;     // ms; negative: no end
  int32_t level = 100;       // %
};

// Opens the tone dialog (owner: the main window) on *tone's six values. After OK they are
// copied back into *tone and the result is true; otherwise *tone is untouched. For Add,
// pass a new ToneEntry (its defaults are the dialog's: sine, 1000, 0, 0, -1, 100).
bool RunToneDialog(HWND owner, ToneEntry* tone);
