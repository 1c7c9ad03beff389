#include "editor/tone_edit_dialog.h"

#include "app/app_config.h"
#include "editor/dialog_controls.h"
#include "resources/resource_ids.h"

namespace {

// The number fields in member order.
constexpr int kNumberFields[] = {IDC_TONE_FREQUENCY, IDC_TONE_PHASE, IDC_TONE_START_TIME,
                                 IDC_TONE_END_TIME, IDC_TONE_LEVEL};

}  // namespace

void CToneEditDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  int language = CurrentLanguage();
  for (int32_t wave : {Sine, Square, Triangle, Sawtooth}) {
    AddComboEntry(dialog, IDC_TONE_TYPE, WaveTypeText(wave, language), wave);
  }
  SelectComboValue(dialog, IDC_TONE_TYPE, type);
  int32_t* numbers[] = {&frequency, &phase, &start_time, &end_time, &level};
  for (int i = 0; i < 5; ++i) ShowFieldNumber(dialog, kNumberFields[i], *numbers[i]);
}

int CToneEditDialog::OnOK(HWND dialog) {
  type = SelectedComboValue(dialog, IDC_TONE_TYPE, Sine);
  int32_t* numbers[] = {&frequency, &phase, &start_time, &end_time, &level};
  for (int i = 0; i < 5; ++i) ReadFieldNumber(dialog, kNumberFields[i], numbers[i]);
  return 1;
}

bool RunToneDialog(HWND owner, ToneEntry* tone) {
  if (tone == nullptr) return false;
  CToneEditDialog dialog;
  dialog.type = tone->type;
  dialog.frequency = tone->frequency;
  dialog.phase = tone->phase;
  dialog.start_time = tone->start_time;
  dialog.end_time = tone->end_time;
  dialog.level = tone->level;
  if (OpenModalDialog(&dialog, owner, IDD_TONE_EDIT_JA) != 1) return false;
  tone->type = dialog.type;
  tone->frequency = dialog.frequency;
  tone->phase = dialog.phase;
  tone->start_time = dialog.start_time;
  tone->end_time = dialog.end_time;
  tone->level = dialog.level;
  return true;
}
