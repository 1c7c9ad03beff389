#include "editor/tone_file_dialog.h"

#include <memory>
#include <new>
#include <string>

#include "app/app_config.h"
#include "editor/dialog_controls.h"
#include "editor/export_texts.h"
#include "resources/resource_ids.h"

void CToneFileDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  int language = CurrentLanguage();
  for (int32_t format = 0; format < kExportFormatCount; ++format) {
    AddComboEntry(dialog, IDC_EXPORT_FORMAT, ExportFormatLabel(format, language), format);
  }
  SelectComboValue(dialog, IDC_EXPORT_FORMAT, export_format);
}

void CToneFileDialog::OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_EXPORT_BROWSE) {
    Browse(dialog);
    return;
  }
  CDialog::OnCommand(dialog, id, code);
}

int CToneFileDialog::OnOK(HWND dialog) {
  // The whole text, however long: a cut name would write a different file.
  HWND field = GetDlgItem(dialog, IDC_EXPORT_FILE_NAME);
  int length = field != nullptr ? GetWindowTextLengthW(field) : 0;
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[static_cast<size_t>(length) + 1]);
  if (text != nullptr) {
    text[0] = L'\0';
    if (field != nullptr) GetWindowTextW(field, text.get(), length + 1);
    file_name.Assign(text.get());
  } else {
    // No room to read the name: an empty one makes the export do nothing.
    file_name.Clear();
  }
  export_format = SelectedComboValue(dialog, IDC_EXPORT_FORMAT, 0);
  return 1;
}

void CToneFileDialog::Browse(HWND dialog) {
  int language = CurrentLanguage();
  const std::wstring name = AskFileName(dialog, FileNameDialog::Save, BrowseFilter(language),
                                        BrowseTitle(language), nullptr);
  if (!name.empty()) SetDlgItemTextW(dialog, IDC_EXPORT_FILE_NAME, name.c_str());
}
