// The language dialog: a list of English and Japanese whose position is the
// language value. The caller sets both fields, opens it with the template of
// display_language and reads selection after OK.
#pragma once

#include "app/dialog.h"

class CChooseLanguageDialog : public CDialog {
 public:
  // Fills the list ("English", "Japanese" or "英語", "日本語") and selects selection.
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // selection := the list's selection, -1 when there is none; the dialog ends with 1.
  int OnOK(HWND dialog) override;

  int display_language = 0;  // 1: the list texts are Japanese; otherwise English
  int selection = -1;        // 0 English, 1 Japanese, -1 none
};
