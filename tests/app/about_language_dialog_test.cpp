// The About box and the language dialog, opened for real from their templates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/app_base.h"
#include "app/choose_language_dialog.h"
#include "resources/resource_ids.h"
#include "tests/common/modal_driver.h"
#include "tests/app/test_config.h"

namespace {

using sonaril_test::CModalDriver;
using sonaril_test::ComboContents;
using sonaril_test::CTestConfig;
using sonaril_test::Press;
using sonaril_test::PressKey;
using sonaril_test::ReadCombo;
using sonaril_test::Wide;

// The static texts of a dialog in template order.
std::vector<std::wstring> StaticTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (std::wstring(class_name) != L"Static" || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      continue;
    }
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    texts.push_back(text);
  }
  return texts;
}

class CAboutOnly : public CAppBase {};

TEST(AboutBox, ShowsVersionAndEditionInBothLanguagesAndOnlyTitleAndProductLineDiffer) {
  struct Case {
    int language;
    const char* caption;
    const char* product;
  };
  const Case cases[] = {
      {0, u8"About Sonaril", u8"Sonaril - Tone Generator"},
      {1, u8"Sonarilについて", u8"Sonaril - トーン生成ツール"},
      {7, u8"About Sonaril", u8"Sonaril - Tone Generator"},
  };
  for (const Case& c : cases) {
    CTestConfig config;
    config.config.current_language = c.language;
    CAboutOnly app;
    std::vector<std::wstring> texts;
    CModalDriver driver;
    driver.Expect(Wide(c.caption), [&](HWND d) {
      texts = StaticTexts(d);
      PressKey(d, VK_RETURN);  // OK is the default button
    });
    driver.Run([&] { app.OnAbout(); });
    EXPECT_TRUE(driver.Succeeded()) << c.language;
    const std::vector<std::wstring> expected = {Wide(c.product), L"64bit edition", L"Version 1.0.3.0"};
    EXPECT_EQ(texts, expected) << c.language;
    EXPECT_FALSE(config.FileExists());  // looking at the About box saves nothing
  }
}

TEST(LanguageDialog, ListTextsFollowTheDisplayLanguageAndPositionIsTheLanguage) {
  struct Case {
    int display;
    int selection;
    const char* caption;
    const char* english;
    const char* japanese;
  };
  const Case cases[] = {
      {0, 0, u8"Choose Language", u8"English", u8"Japanese"},
      {0, 1, u8"Choose Language", u8"English", u8"Japanese"},
      {1, 0, u8"言語設定", u8"英語", u8"日本語"},
      {1, 1, u8"言語設定", u8"英語", u8"日本語"},
      {1, -1, u8"言語設定", u8"英語", u8"日本語"},  // no selection
  };
  for (const Case& c : cases) {
    CChooseLanguageDialog dialog;
    dialog.display_language = c.display;
    dialog.selection = c.selection;
    ComboContents shown;
    CModalDriver driver;
    driver.Expect(Wide(c.caption), [&](HWND d) {
      shown = ReadCombo(d, IDC_LANGUAGE_LIST);
      Press(d, IDOK);
    });
    EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_CHOOSE_LANGUAGE_JA, c.display); }), 1);
    EXPECT_TRUE(driver.Succeeded());
    EXPECT_EQ(shown.texts, (std::vector<std::wstring>{Wide(c.english), Wide(c.japanese)}));
    EXPECT_EQ(shown.selected, c.selection);
    EXPECT_EQ(dialog.selection, c.selection);  // OK reads the list back
  }
}

TEST(LanguageDialog, OkTakesTheChangedSelectionAndCancelAndEnterLeaveIt) {
  struct Case {
    const char* name;
    void (*finish)(HWND);
    INT_PTR result;
    int selection;
  };
  const Case cases[] = {
      {"OK", [](HWND d) { Press(d, IDOK); }, 1, 1},
      {"Cancel", [](HWND d) { Press(d, IDCANCEL); }, 0, 0},
      // Cancel, not OK, is the default button.
      {"Enter", [](HWND d) { PressKey(d, VK_RETURN); }, 0, 0},
      {"Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }, 0, 0},
      {"close box", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }, 0, 0},
  };
  for (const Case& c : cases) {
    CChooseLanguageDialog dialog;
    dialog.selection = 0;
    CModalDriver driver;
    driver.Expect(L"Choose Language", [&](HWND d) {
      SendDlgItemMessageW(d, IDC_LANGUAGE_LIST, CB_SETCURSEL, 1, 0);
      c.finish(d);
    });
    EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_CHOOSE_LANGUAGE_JA, 0); }), c.result)
        << c.name;
    EXPECT_TRUE(driver.Succeeded()) << c.name;
    EXPECT_EQ(dialog.selection, c.selection) << c.name;
  }
}

}  // namespace
