// Loads both main-window menus and walks every item: texts, command ids, separators, nesting.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/resources/win32_test_support.h"

namespace {

using sonaril_test::Utf16;

constexpr int kPopup = -1;
constexpr int kSeparator = -2;

struct MenuRow {
  int depth;
  int id;  // command id, kPopup or kSeparator
  const char* english;
  const char* japanese;
};

const MenuRow kMainMenu[] = {
    {0, kPopup, u8"&File", u8"ファイル(&F)"},
    {1, IDM_FILE_NEW, u8"New", u8"新規作成"},
    {1, IDM_FILE_OPEN, u8"Open", u8"開く"},
    {1, IDM_FILE_OPEN_FROM_LIBRARY, u8"Open from Tone Library...", u8"トーンライブラリから開く..."},
    {1, IDM_FILE_SAVE, u8"Save", u8"上書き保存"},
    {1, IDM_FILE_SAVE_AS, u8"Save As", u8"名前を付けて保存"},
    {1, kSeparator, u8"", u8""},
    {1, IDM_FILE_CHECK_RECORDING, u8"Check Recording...", u8"録音の確認..."},
    {1, kSeparator, u8"", u8""},
    {1, IDM_FILE_EXIT, u8"Exit", u8"アプリケーションの終了"},
    {0, kPopup, u8"&Edit", u8"編集(&E)"},
    {1, IDM_EDIT_TONE_STRING, u8"Tone String...", u8"トーン文字列..."},
    {1, IDM_EDIT_DIGITS, u8"DTMF/MF Digits...", u8"DTMF/MF ダイヤル数字..."},
    {0, kPopup, u8"&Help", u8"ヘルプ(&H)"},
    {1, IDM_HELP_TOPICS, u8"Help Topics", u8"ヘルプの表示"},
    {1, kSeparator, u8"", u8""},
    {1, IDM_HELP_CHOOSE_LANGUAGE, u8"Choosse Language", u8"言語設定"},
    {1, kSeparator, u8"", u8""},
    {1, IDM_HELP_ABOUT, u8"About Sonaril...", u8"バージョン情報"},
};

struct MenuEntry {
  int depth;
  int id;
  std::wstring text;
  bool enabled;
};

void Flatten(HMENU menu, int depth, std::vector<MenuEntry>* entries) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    wchar_t text[128] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
    item.dwTypeData = text;
    item.cch = 128;
    if (!GetMenuItemInfoW(menu, position, TRUE, &item)) {
      entries->push_back({depth, 0, L"<unreadable>", false});
      continue;
    }
    const int id = item.hSubMenu != nullptr ? kPopup
                   : (item.fType & MFT_SEPARATOR) ? kSeparator
                                                  : static_cast<int>(item.wID);
    entries->push_back({depth, id, text, (item.fState & MFS_DISABLED) == 0});
    if (item.hSubMenu != nullptr) Flatten(item.hSubMenu, depth + 1, entries);
  }
}

class MainMenuTest : public testing::TestWithParam<bool> {};

TEST_P(MainMenuTest, ItemsMatchRowByRow) {
  const bool japanese = GetParam();
  HMENU menu = LoadMenuW(sonaril_test::ResourceModule(),
                         MAKEINTRESOURCEW(japanese ? IDR_MENU_MAIN_JA : IDR_MENU_MAIN_EN));
  ASSERT_NE(menu, nullptr) << "error " << GetLastError();
  std::vector<MenuEntry> entries;
  Flatten(menu, 0, &entries);
  DestroyMenu(menu);

  const size_t expected_count = sizeof(kMainMenu) / sizeof(kMainMenu[0]);
  ASSERT_EQ(entries.size(), expected_count);
  for (size_t i = 0; i < expected_count; ++i) {
    const MenuRow& row = kMainMenu[i];
    SCOPED_TRACE(testing::Message() << "item " << i);
    EXPECT_EQ(entries[i].depth, row.depth);
    EXPECT_EQ(entries[i].id, row.id);
    EXPECT_EQ(entries[i].text, Utf16(japanese ? row.japanese : row.english));
    if (row.id != kSeparator) {
      EXPECT_TRUE(entries[i].enabled);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainMenuTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Japanese" : "English");
                         });

}  // namespace
