#include "editor/digits_dialog.h"

#include <string>

#include "app/app_config.h"
#include "editor/dialog_controls.h"
#include "editor/main_window_files.h"
#include "resources/resource_ids.h"

void CDigitsDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  AddComboEntry(dialog, IDC_DIGITS_SYSTEM, L"DTMF", static_cast<int32_t>(DigitSystem::Dtmf));
  AddComboEntry(dialog, IDC_DIGITS_SYSTEM, L"MF R1", static_cast<int32_t>(DigitSystem::Mf));
  ShowForm(dialog);
}

void CDigitsDialog::ShowForm(HWND dialog) {
  SetDlgItemTextW(dialog, IDC_DIGITS_TEXT, form.digits.c_str());
  SelectComboValue(dialog, IDC_DIGITS_SYSTEM, static_cast<int32_t>(form.system));
  SetDlgItemTextW(dialog, IDC_DIGITS_ON, form.on_ms.c_str());
  SetDlgItemTextW(dialog, IDC_DIGITS_OFF, form.off_ms.c_str());
  SetDlgItemTextW(dialog, IDC_DIGITS_PAUSE, form.pause_ms.c_str());
}

void CDigitsDialog::ReadForm(HWND dialog) {
  form.digits = FieldText(dialog, IDC_DIGITS_TEXT);
  form.system = static_cast<DigitSystem>(
      SelectedComboValue(dialog, IDC_DIGITS_SYSTEM, static_cast<int32_t>(DigitSystem::Dtmf)));
  form.on_ms = FieldText(dialog, IDC_DIGITS_ON);
  form.off_ms = FieldText(dialog, IDC_DIGITS_OFF);
  form.pause_ms = FieldText(dialog, IDC_DIGITS_PAUSE);
}

void CDigitsDialog::OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_DIGITS_SYSTEM && code == CBN_SELCHANGE) {
    ReadForm(dialog);
    form = FormForSystem(form, form.system);
    ShowForm(dialog);
    return;
  }
  CDialog::OnCommand(dialog, id, code);
}

int CDigitsDialog::OnOK(HWND dialog) {
  ReadForm(dialog);
  std::wstring why_not;
  if (!BuildDigitsSetting(form, sampling_frequency, repeat, CurrentLanguage(), &setting, &why_not)) {
    SetDlgItemTextW(dialog, IDC_DIGITS_PROBLEM, why_not.c_str());
    SetFocus(GetDlgItem(dialog, IDC_DIGITS_TEXT));
    return 0;
  }
  return 1;
}

bool RunDigitsDialog(HWND owner, DigitsForm* form, int32_t sampling_frequency, int32_t repeat, ToneSetting* setting) {
  CDigitsDialog dialog;
  dialog.form = *form;
  dialog.sampling_frequency = sampling_frequency;
  dialog.repeat = repeat;
  const INT_PTR result = OpenModalDialog(&dialog, owner, IDD_DIGITS_JA);
  *form = dialog.form;
  if (result != 1) return false;
  MoveToneSetting(dialog.setting, *setting);
  return true;
}
