#include "editor/tone_library_dialog.h"

#include <commctrl.h>

#include <string>

#include "app/app_config.h"
#include "editor/dialog_controls.h"
#include "editor/text_list.h"
#include "resources/resource_ids.h"

namespace {

const std::vector<TextColumn> kCountryColumns = {{L"Country", L"国", 80}, {L"Code", L"コード", 30}};
const std::vector<TextColumn> kToneColumns = {
    {L"Tone", L"トーン", 75}, {L"Tone string", L"トーン文字列", 132}, {L"Level", L"レベル", 50}};

std::wstring MissingLibraryText(const std::filesystem::path& folder, int32_t language) {
  return language == 1 ? L"トーンライブラリがありません: " + folder.wstring() + L" にトーンのファイルが見つかりません。"
                       : L"The tone library is missing: no tone files were found in " + folder.wstring() + L".";
}

}  // namespace

std::filesystem::path ToneLibraryFolder() {
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &module[0], static_cast<DWORD>(module.size()));
    if (length == 0) return std::filesystem::path();
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);
  }
  return std::filesystem::path(module).parent_path() / L"tones";
}

void CToneLibraryDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  SetDialogSmallIcon(dialog);
  const int32_t language = CurrentLanguage();
  SetUpTextColumns(dialog, IDC_LIBRARY_COUNTRIES, kCountryColumns, language);
  SetUpTextColumns(dialog, IDC_LIBRARY_TONES, kToneColumns, language);
  if (library.source == LibrarySource::Missing) {
    SetDlgItemTextW(dialog, IDC_LIBRARY_STATUS, MissingLibraryText(folder, language).c_str());
  }
  SetDlgItemTextW(dialog, IDC_LIBRARY_FILTER, filter.c_str());
  ShowCountries(dialog);
}

void CToneLibraryDialog::ShowCountries(HWND dialog) {
  filter = FieldText(dialog, IDC_LIBRARY_FILTER);
  shown_countries_ = MatchingCountries(library, Utf8FromWide(filter));
  HWND list = GetDlgItem(dialog, IDC_LIBRARY_COUNTRIES);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t index : shown_countries_) {
    AddTextRow(dialog, IDC_LIBRARY_COUNTRIES, {library.countries[index].name, library.countries[index].code});
  }
  // The only match is chosen at once, so typing a name shows its tones.
  if (shown_countries_.size() == 1) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  }
  ShowTones(dialog);
}

void CToneLibraryDialog::ShowTones(HWND dialog) {
  const int row = SelectedTextRow(dialog, IDC_LIBRARY_COUNTRIES);
  const LibraryCountry* country =
      row >= 0 && static_cast<size_t>(row) < shown_countries_.size() ? &library.countries[shown_countries_[row]] : nullptr;
  if (country == shown_country_) return;
  shown_country_ = country;
  SendDlgItemMessageW(dialog, IDC_LIBRARY_TONES, LVM_DELETEALLITEMS, 0, 0);
  if (country == nullptr) return;
  for (const LibraryTone& tone : country->tones) {
    AddTextRow(dialog, IDC_LIBRARY_TONES, {tone.name, tone.tone_string, tone.levels});
  }
}

void CToneLibraryDialog::OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_LIBRARY_FILTER && code == EN_CHANGE) {
    ShowCountries(dialog);
    return;
  }
  CDialog::OnCommand(dialog, id, code);
}

void CToneLibraryDialog::OnNotify(HWND dialog, int id, NMHDR* header) {
  if (header == nullptr) return;
  if (id == IDC_LIBRARY_COUNTRIES && header->code == LVN_ITEMCHANGED) ShowTones(dialog);
  if (id == IDC_LIBRARY_TONES && header->code == static_cast<UINT>(NM_DBLCLK) && OnOK(dialog) != 0) {
    EndDialog(dialog, 1);
  }
}

int CToneLibraryDialog::OnOK(HWND dialog) {
  const int row = SelectedTextRow(dialog, IDC_LIBRARY_TONES);
  if (shown_country_ == nullptr || row < 0 || static_cast<size_t>(row) >= shown_country_->tones.size()) return 0;
  chosen_file = shown_country_->tones[row].file;
  return 1;
}

std::filesystem::path RunToneLibraryDialog(HWND owner, const std::filesystem::path& folder, std::wstring* filter) {
  CToneLibraryDialog dialog;
  dialog.folder = folder;
  dialog.filter = *filter;
  dialog.library = ReadToneLibrary(folder);
  const INT_PTR result = OpenModalDialog(&dialog, owner, IDD_TONE_LIBRARY_JA);
  *filter = dialog.filter;
  return result == 1 ? dialog.chosen_file : std::filesystem::path();
}
