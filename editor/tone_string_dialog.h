// The tone string dialog: the current setting's tone string (or why it has none) in a field
// that can be copied, and a field for a new string. OK builds the new setting; a string that
// cannot be built is explained under the field and the dialog stays open.
#pragma once
#include <cstdint>
#include <string>

#include "app/dialog.h"
#include "synth/tone_setting.h"

class CToneStringDialog : public CDialog {
 public:
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // Builds *built from the typed string; 0 (the dialog stays) with the reason shown when
  // it cannot.
  int OnOK(HWND dialog) override;

  std::wstring current;      // what the current-setting field shows
  std::wstring typed;        // the new string's field at the start
  int32_t sampling_frequency = 8000;
  int32_t repeat = 1;
  ToneSetting* built = nullptr;  // not owned; filled by OK
};

// Opens the dialog (owner: the main window) on setting; after OK *built holds the new
// setting and the result is true. setting itself is never changed.
bool RunToneStringDialog(HWND owner, const ToneSetting& setting, int32_t sampling_frequency,
                         int32_t repeat, ToneSetting* built);
