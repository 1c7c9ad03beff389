// Starting and ending the program: the command line, the language of the run, the first
// start without a config file, and every way out.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

using Row = std::vector<std::wstring>;

// Copies an example to a path of the test's folder (folders created as needed).
std::string CopyExample(const CMainWindow& main, const std::string& example,
                        const std::string& relative) {
  const fs::path target = fs::u8path(main.folder.File(relative));
  fs::create_directories(target.parent_path());
  fs::copy_file(fs::u8path(ExamplePath(example)), target, fs::copy_options::overwrite_existing);
  return target.u8string();
}

TEST(Startup, AQuotedPathWithSpacesIsOpenedWholeAndItsToneCreated) {
  CMainWindow main;
  const std::string path = CopyExample(main, "busy-japan.ton", "my tones\\busy japan.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\" ignored-second-token"));

  ASSERT_EQ(main.StepCount(), 2);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"500", L"ON"}));
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"500", L"OFF"}));
  ASSERT_EQ(main.ToneCount(), 1);
  EXPECT_EQ(main.ToneRow(0), (Row{L"Sine Wave", L"400", L"0", L"0", L"-1", L"40"}));
  EXPECT_EQ(main.Field(kPatternTotal), L"1000");
  EXPECT_EQ(main.Field(kRepeat), L"4");
  EXPECT_EQ(main.Field(kSamplingFrequency), L"8000");
  EXPECT_FALSE(IsChecked(main.window, kLowPassFilter));
  const TransportState transport = main.Transport();
  EXPECT_TRUE(transport.enabled) << "the tone was not created";
  EXPECT_TRUE(main.IsIdle());

  const wchar_t* step_headings[] = {L"ON/OFF", L"Time", L"Fade In / Fade Out"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ListColumnHeading(main.window, kStepList, i), step_headings[i]);
  const wchar_t* tone_headings[] = {L"TYPE", L"Frequency", L"Phase", L"Start Time", L"End Time", L"Level"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ListColumnHeading(main.window, kToneList, i), tone_headings[i]);
  const wchar_t* frequencies[] = {L"8000", L"16000", L"32000", L"44100", L"48000", L"96000"};
  ASSERT_EQ(ComboCount(main.window, kSamplingFrequency), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ComboItemText(main.window, kSamplingFrequency, i), frequencies[i]);
    EXPECT_EQ(ComboItemData(main.window, kSamplingFrequency, i), std::stoi(frequencies[i]));
  }
}

TEST(Startup, WithoutAFileNothingIsLoadedAndThePlayButtonsAreDisabled) {
  for (const wchar_t* arguments : {L"", L"\"\" \"\"", L"   "}) {
    CMainWindow main;
    ASSERT_TRUE(main.Start(arguments));
    EXPECT_EQ(main.StepCount(), 0);
    EXPECT_EQ(main.ToneCount(), 0);
    EXPECT_EQ(main.Field(kPatternTotal), L"0");
    EXPECT_EQ(main.Field(kRepeat), L"1");
    EXPECT_EQ(main.Field(kSamplingFrequency), L"8000");
    for (int id : {kPlay, kStop, kPause, kSaveFile}) EXPECT_FALSE(IsEnabled(main.window, id)) << id;
  }
}

TEST(Startup, JapaneseRunShowsJapaneseTexts) {
  CMainWindow main(1);
  const std::string path = CopyExample(main, "ringback-uk.ton", "uk.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\""));
  EXPECT_EQ(WindowText(main.window), L"Sonaril - トーン生成ツール");
  EXPECT_EQ(ListColumnHeading(main.window, kStepList, 1), L"時間");
  EXPECT_EQ(ListColumnHeading(main.window, kStepList, 2), L"フェードイン/フェードアウト");
  EXPECT_EQ(ListColumnHeading(main.window, kToneList, 0), L"種別");
  EXPECT_EQ(ListColumnHeading(main.window, kToneList, 5), L"出力レベル");
  ASSERT_GE(main.ToneCount(), 1);
  EXPECT_EQ(main.ToneRow(0)[0], L"正弦波");
  EXPECT_EQ(ControlText(main.window, kRepeatPlay), L"繰り返し再生");
  EXPECT_TRUE(main.Transport().enabled);
}

TEST(Startup, AFileThatCannotBeReadIsNamedInAMessageAndNothingIsLoaded) {
  CMainWindow main;
  const std::string path = main.folder.File("not a tone.ton");
  ASSERT_TRUE(sonaril_test::WriteAll(path, "this is not XML\n"));
  ASSERT_TRUE(main.process.Start(main.folder.path(), L"\"" + Widen(path) + L"\""));
  // The message comes while the window is being set up, before it shows.
  HWND box = main.process.WaitForWindow(L"Load Tone Setting File");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), Widen(path) + L" could not be read as a tone setting file. "
                                               L"The current setting is unchanged.");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  main.window = main.process.WaitForWindow(main.MainCaption());
  ASSERT_NE(main.window, nullptr);
  EXPECT_EQ(main.StepCount(), 0);
  EXPECT_FALSE(main.Transport().enabled);
}

TEST(Startup, TheFirstStartAsksForTheLanguageBeforeAnyWindow) {
  // No config file in the working folder nor beside the program: a private copy of it.
  CMainWindow main(-1);
  const std::string exe = main.folder.File("Sonaril.exe");
  fs::copy_file(fs::u8path(Narrow(SonarilExePath())), fs::u8path(exe));
  ASSERT_TRUE(main.process.Start(main.folder.path(), L"", Widen(exe)));

  HWND dialog = main.process.WaitForWindow(L"Choose Language");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(main.process.FindWindowByCaption(L"Sonaril - Tone Generator"), nullptr);
  constexpr int kLanguageList = 10102;
  ASSERT_EQ(ComboCount(dialog, kLanguageList), 2);
  EXPECT_EQ(ComboItemText(dialog, kLanguageList, 0), L"English");
  EXPECT_EQ(ComboItemText(dialog, kLanguageList, 1), L"Japanese");
  EXPECT_EQ(ComboSelection(dialog, kLanguageList), 0);  // an English system
  Send(GetDlgItem(dialog, kLanguageList), CB_SETCURSEL, 1, 0);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

  main.language = 1;
  ASSERT_TRUE((main.window = main.process.WaitForWindow(main.MainCaption())) != nullptr);
  // Stored at once, beside the program.
  EXPECT_NE(ReadConfig(main.folder.path()).find("<language>1</language>"), std::string::npos);
  PostCommand(main.window, kFileExit);
  EXPECT_EQ(main.process.WaitForExit(), 1);
}

struct ExitCase {
  const char* name;
  UINT message;
  WPARAM wparam;
};

// Exit, Esc and the title bar's close box all end the program with 1, also while it plays.
TEST(Startup, EveryWayOutEndsWithExitCodeOne) {
  const ExitCase cases[] = {
      {"File > Exit", WM_COMMAND, MAKEWPARAM(kFileExit, 0)},
      {"Esc", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0)},
      {"close box", WM_SYSCOMMAND, SC_CLOSE},
  };
  for (const ExitCase& c : cases) {
    CMainWindow main(0, 1);  // Repeat Play on: the tone plays until the end
    const std::string path = CopyExample(main, "busy-japan.ton", "busy.ton");
    ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\"")) << c.name;
    ASSERT_TRUE(main.Click(kPlay)) << c.name;
    EXPECT_TRUE(main.Transport().play) << c.name;
    PostMessageW(main.window, c.message, c.wparam, 0);
    EXPECT_EQ(main.process.WaitForExit(), 1) << c.name;
  }
}

}  // namespace
}  // namespace sonaril_e2e
