// The About box: product line, edition and version. Its template follows the
// language of the run (IDD_ABOUT_JA / IDD_ABOUT_EN); its result means nothing.
#pragma once

#include "app/dialog.h"

class CAboutDialog : public CDialog {
 public:
  // "Version 1.0.3.0" (the configuration's version) and "64bit edition".
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
};
