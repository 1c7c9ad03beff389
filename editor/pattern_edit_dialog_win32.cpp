#include "editor/pattern_edit_dialog.h"

#include "editor/dialog_controls.h"
#include "resources/resource_ids.h"

void CPatternEditDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  for (int32_t kind : {Off, On, RampDown, RampUp}) {
    AddComboEntry(dialog, IDC_STEP_KIND, StepKindText(kind), kind);
  }
  SelectComboValue(dialog, IDC_STEP_KIND, on_off);
  ShowFieldNumber(dialog, IDC_STEP_TIME, time);
  CheckDlgButton(dialog, IDC_STEP_FADE, is_fade != 0 ? BST_CHECKED : BST_UNCHECKED);
}

int CPatternEditDialog::OnOK(HWND dialog) {
  on_off = SelectedComboValue(dialog, IDC_STEP_KIND, Off);
  ReadFieldNumber(dialog, IDC_STEP_TIME, &time);
  // Fading belongs to On steps; a ramp or a pause never fades.
  is_fade = IsDlgButtonChecked(dialog, IDC_STEP_FADE) == BST_CHECKED && on_off == On ? 1 : 0;
  return 1;
}

bool RunStepDialog(HWND owner, PatternStep* step) {
  if (step == nullptr) return false;
  CPatternEditDialog dialog;
  dialog.on_off = step->on_off;
  dialog.time = step->time;
  dialog.is_fade = step->is_fade;
  if (OpenModalDialog(&dialog, owner, IDD_PATTERN_EDIT_JA) != 1) return false;
  step->on_off = dialog.on_off;
  step->time = dialog.time;
  step->is_fade = dialog.is_fade;
  return true;
}
