// The ring-pattern and tone lists of the main window: row i always shows element i.
#include <windows.h>
#include <commctrl.h>

#include <new>

#include "editor/app_main.h"
#include "editor/main_window_texts.h"
#include "editor/pattern_edit_dialog.h"
#include "editor/tone_edit_dialog.h"
#include "resources/resource_ids.h"

namespace {

template <size_t N>
void SetRowTexts(HWND list, int32_t row, const std::array<std::wstring, N>& texts) {
  for (size_t column = 0; column < N; ++column) {
    LVITEMW item = {};
    item.iSubItem = static_cast<int>(column);
    item.pszText = const_cast<wchar_t*>(texts[column].c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  }
}

template <size_t N>
void AppendRow(HWND list, const std::array<std::wstring, N>& texts) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(texts[0].c_str());
  const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row >= 0) SetRowTexts(list, row, texts);
}

int32_t FirstSelectedRow(HWND list) {
  return static_cast<int32_t>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int32_t RowCount(HWND list) { return static_cast<int32_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

void CAppMain::ReloadLists() {
  HWND steps = GetDlgItem(main_window, IDC_PATTERN_LIST);
  HWND tones = GetDlgItem(main_window, IDC_TONE_LIST);
  SendMessageW(steps, LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(tones, LVM_DELETEALLITEMS, 0, 0);
  for (const PatternStep* step = tone_setting.patterns; step != nullptr; step = step->next) {
    AppendRow(steps, StepRowTexts(*step));
  }
  for (const ToneEntry* tone = tone_setting.tones; tone != nullptr; tone = tone->next) {
    AppendRow(tones, ToneRowTexts(*tone, Language()));
  }
}

void CAppMain::RecomputePatternTotal() {
  tone_setting.RecomputePatternTotal();
  pattern_total = tone_setting.pattern_total;
  ShowPatternTotal();
}

void CAppMain::AddStep() {
  PatternStep values;
  values.on_off = On;
  values.time = 1000;
  values.is_fade = 0;
  if (!RunStepDialog(main_window, &values)) return;
  PatternStep* step = new (std::nothrow) PatternStep;
  if (step == nullptr) return;
  step->on_off = values.on_off;
  step->time = values.time;
  step->is_fade = values.is_fade;
  tone_setting.AppendStep(step);
  AppendRow(GetDlgItem(main_window, IDC_PATTERN_LIST), StepRowTexts(*step));
  RecomputePatternTotal();
}

void CAppMain::ModifyStep() {
  HWND list = GetDlgItem(main_window, IDC_PATTERN_LIST);
  const int32_t row = FirstSelectedRow(list);
  PatternStep* step = row >= 0 ? tone_setting.StepAt(row) : nullptr;
  if (step == nullptr) return;
  if (RunStepDialog(main_window, step)) SetRowTexts(list, row, StepRowTexts(*step));
  RecomputePatternTotal();
}

void CAppMain::DeleteStep() {
  HWND list = GetDlgItem(main_window, IDC_PATTERN_LIST);
  const int32_t row = FirstSelectedRow(list);
  if (row < 0 || !tone_setting.DeleteStep(row)) return;
  SendMessageW(list, LVM_DELETEITEM, row, 0);
  RecomputePatternTotal();
}

void CAppMain::MoveStepUp() {
  HWND list = GetDlgItem(main_window, IDC_PATTERN_LIST);
  const int32_t row = FirstSelectedRow(list);
  if (row <= 0 || RowCount(list) <= 1 || !tone_setting.SwapSteps(row - 1, row)) return;
  SetRowTexts(list, row - 1, StepRowTexts(*tone_setting.StepAt(row - 1)));
  SetRowTexts(list, row, StepRowTexts(*tone_setting.StepAt(row)));
}

void CAppMain::MoveStepDown() {
  HWND list = GetDlgItem(main_window, IDC_PATTERN_LIST);
  const int32_t row = FirstSelectedRow(list);
  if (row < 0 || RowCount(list) <= 1 || row >= RowCount(list) - 1 ||
      !tone_setting.SwapSteps(row, row + 1)) {
    return;
  }
  SetRowTexts(list, row, StepRowTexts(*tone_setting.StepAt(row)));
  SetRowTexts(list, row + 1, StepRowTexts(*tone_setting.StepAt(row + 1)));
}

void CAppMain::AddTone() {
  ToneEntry values;  // sine, 1000 Hz, phase 0, from 0 ms, no end, level 100
  if (!RunToneDialog(main_window, &values)) return;
  ToneEntry* tone = new (std::nothrow) ToneEntry(values);
  if (tone == nullptr) return;
  tone->next = nullptr;
  tone_setting.AppendTone(tone);
  AppendRow(GetDlgItem(main_window, IDC_TONE_LIST), ToneRowTexts(*tone, Language()));
}

void CAppMain::ModifyTone() {
  HWND list = GetDlgItem(main_window, IDC_TONE_LIST);
  const int32_t row = FirstSelectedRow(list);
  ToneEntry* tone = row >= 0 ? tone_setting.ToneAt(row) : nullptr;
  if (tone == nullptr) return;
  if (RunToneDialog(main_window, tone)) SetRowTexts(list, row, ToneRowTexts(*tone, Language()));
}

void CAppMain::DeleteTone() {
  HWND list = GetDlgItem(main_window, IDC_TONE_LIST);
  const int32_t row = FirstSelectedRow(list);
  if (row < 0 || !tone_setting.DeleteTone(row)) return;
  SendMessageW(list, LVM_DELETEITEM, row, 0);
}
