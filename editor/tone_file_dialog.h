// The export dialog: a file name, typed or browsed, and one of three formats. Every opening
// starts with an empty name and the WAV format; the dialog itself validates nothing.
#pragma once
#include <cstdint>

#include "app/dialog.h"
#include "files/string.h"

class CToneFileDialog : public CDialog {
 public:
  // The icon and the three format labels of the current language, their values as item data.
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // Browse (20402) opens the save-file dialog; OK and Cancel as in CDialog.
  void OnCommand(HWND dialog, int id, int code) override;
  // Reads the whole name and the selected format; always agrees.
  int OnOK(HWND dialog) override;

  CString file_name;          // as typed or browsed
  int32_t export_format = 0;  // 0 WAV, 1 u-law raw, 2 A-law raw (an ExportFormat)

 private:
  void Browse(HWND dialog);
};
