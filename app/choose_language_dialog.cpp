#include "app/choose_language_dialog.h"

#include "app/language_decision.h"
#include "resources/resource_ids.h"

namespace {

// In list order: the position of an entry is its language value.
constexpr const wchar_t* kEnglishNames[] = {L"English", L"Japanese"};
constexpr const wchar_t* kJapaneseNames[] = {L"\x82F1\x8A9E", L"\x65E5\x672C\x8A9E"};  // 英語, 日本語

}  // namespace

void CChooseLanguageDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  const auto& names = TextLanguage(display_language) == 1 ? kJapaneseNames : kEnglishNames;
  for (const wchar_t* name : names) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int CChooseLanguageDialog::OnOK(HWND dialog) {
  const LRESULT chosen = SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, CB_GETCURSEL, 0, 0);
  selection = chosen == CB_ERR ? -1 : static_cast<int>(chosen);
  return 1;
}
