// The first start: no language stored, so the language dialog comes up before
// any window, in the language of the system's user interface and with that
// language preselected. ctest runs these tests once on an English and once on a
// Japanese system (SONARIL_EXPECT_UI_LANGUAGE says which); the program asks the
// system itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_base.h"
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

struct SystemLanguage {
  int language;
  const char* caption;
  const char* english;
  const char* japanese;
};

SystemLanguage ExpectedSystemLanguage() {
  const char* expected = std::getenv("SONARIL_EXPECT_UI_LANGUAGE");
  if (expected != nullptr && std::string(expected) == "ja") return {1, u8"言語設定", u8"英語", u8"日本語"};
  return {0, u8"Choose Language", u8"English", u8"Japanese"};
}

class CFirstStartApp : public CAppBase {};

struct SeenDialog {
  std::vector<std::wstring> texts;
  int selection = -2;
  HWND owner = reinterpret_cast<HWND>(1);
  int other_windows = -1;
};

BOOL CALLBACK CountVisible(HWND window, LPARAM count) {
  if (IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

void Look(HWND dialog, SeenDialog* seen) {
  const ComboContents list = ReadCombo(dialog, IDC_LANGUAGE_LIST);
  seen->texts = list.texts;
  seen->selection = static_cast<int>(list.selected);
  seen->owner = GetWindow(dialog, GW_OWNER);
  int visible = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&visible));
  seen->other_windows = visible - 1;
}

TEST(FirstStart, TheDialogComesFirstPreselectedFromTheSystemAndEnterStoresTheGuess) {
  for (int stored : {-1, 7, -3}) {  // never chosen, or a value no program writes
    const SystemLanguage system = ExpectedSystemLanguage();
    CTestConfig config;
    config.config.language = stored;
    CFirstStartApp app;
    SeenDialog seen;
    CModalDriver driver;
    driver.Expect(Wide(system.caption), [&](HWND d) {
      Look(d, &seen);
      PressKey(d, VK_RETURN);  // the default button is Cancel
    });
    EXPECT_EQ(driver.Run([&] { return app.Init(GetModuleHandleW(nullptr)); }), 1);
    EXPECT_TRUE(driver.Succeeded()) << stored;
    EXPECT_EQ(seen.texts, (std::vector<std::wstring>{Wide(system.english), Wide(system.japanese)}));
    EXPECT_EQ(seen.selection, system.language);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.other_windows, 0);
    // Cancelled at the first start: the guess counts, now and from the file.
    EXPECT_EQ(config.config.current_language, system.language);
    EXPECT_EQ(config.config.language, system.language);
    EXPECT_EQ(config.StoredLanguage(), system.language);
  }
}

TEST(FirstStart, OkTakesTheOtherLanguageAtOnceAndStoresIt) {
  const SystemLanguage system = ExpectedSystemLanguage();
  const int other = 1 - system.language;
  CTestConfig config;
  CFirstStartApp app;
  CModalDriver driver;
  driver.Expect(Wide(system.caption), [&](HWND d) {
    SendDlgItemMessageW(d, IDC_LANGUAGE_LIST, CB_SETCURSEL, other, 0);
    Press(d, IDOK);
  });
  EXPECT_EQ(driver.Run([&] { return app.Init(GetModuleHandleW(nullptr)); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_EQ(config.config.current_language, other);
  EXPECT_EQ(config.StoredLanguage(), other);
}

TEST(FirstStart, AnUnwritableConfigFileKeepsTheChoiceForThisRun) {
  const SystemLanguage system = ExpectedSystemLanguage();
  CTestConfig config;
  config.config.ini_file.Assign(config.folder.File("missing-folder/Sonaril.ini").c_str());
  CFirstStartApp app;
  CModalDriver driver;
  driver.Expect(Wide(system.caption), [](HWND d) { Press(d, IDOK); });
  EXPECT_EQ(driver.Run([&] { return app.Init(GetModuleHandleW(nullptr)); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_EQ(config.config.current_language, system.language);
  EXPECT_EQ(config.config.language, system.language);
}

}  // namespace
