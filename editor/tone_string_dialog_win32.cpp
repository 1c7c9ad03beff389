#include "editor/tone_string_dialog.h"

#include "app/app_config.h"
#include "editor/dialog_controls.h"
#include "editor/tone_string_edit.h"
#include "resources/resource_ids.h"

void CToneStringDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  SetDlgItemTextW(dialog, IDC_TONE_STRING_CURRENT, current.c_str());
  SetDlgItemTextW(dialog, IDC_TONE_STRING_NEW, typed.c_str());
  // Typing starts in the new string's field (posted: the dialog manager focuses the first
  // field after this returns), the current one stays a tab away for copying.
  PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_TONE_STRING_NEW)), TRUE);
}

int CToneStringDialog::OnOK(HWND dialog) {
  std::wstring why_not;
  if (built != nullptr && BuildSettingFromToneString(FieldText(dialog, IDC_TONE_STRING_NEW), sampling_frequency,
                                                     repeat, built, &why_not, CurrentLanguage())) {
    return 1;
  }
  SetDlgItemTextW(dialog, IDC_TONE_STRING_ERROR, why_not.c_str());
  SetFocus(GetDlgItem(dialog, IDC_TONE_STRING_NEW));
  return 0;
}

bool RunToneStringDialog(HWND owner, const ToneSetting& setting, int32_t sampling_frequency,
                         int32_t repeat, ToneSetting* built) {
  CToneStringDialog dialog;
  const CurrentToneString current = DescribeToneString(setting, CurrentLanguage());
  dialog.current = current.text;
  if (current.has_string) dialog.typed = current.text;
  dialog.sampling_frequency = sampling_frequency;
  dialog.repeat = repeat;
  dialog.built = built;
  return OpenModalDialog(&dialog, owner, IDD_TONE_STRING_JA) == 1;
}
