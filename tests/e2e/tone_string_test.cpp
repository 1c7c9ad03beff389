// Edit > "Tone String...": a string that cannot be built is explained in the dialog and
// changes nothing; a good one replaces the steps and tones, makes the tone and marks the
// setting as changed.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::wstring>;

constexpr int kEditToneString = 5030;
constexpr int kCurrentString = 20501;
constexpr int kNewString = 20502;
constexpr int kWhyNot = 20503;
constexpr wchar_t kCaption[] = L"Tone String";

TEST(ToneString, ABadStringIsExplainedAndAGoodOneReplacesTheSetting) {
  CMainWindow main;
  const std::string path = main.folder.File("busy.ton");
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(path));
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\""));

  PostCommand(main.window, kEditToneString);
  HWND dialog = main.process.WaitForWindow(kCaption);
  ASSERT_NE(dialog, nullptr);
  // Its first step fades, which no tone string can say.
  EXPECT_EQ(ControlText(dialog, kCurrentString).rfind(L"No tone string: ", 0), 0u)
      << Narrow(ControlText(dialog, kCurrentString));
  EXPECT_EQ(ControlText(dialog, kNewString), L"");

  SetControlText(dialog, kNewString, L"440+480/2000,0/abc");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !ControlText(dialog, kWhyNot).empty(); }));
  EXPECT_EQ(ControlText(dialog, kWhyNot).rfind(L"Cannot be built: ", 0), 0u);
  EXPECT_EQ(main.process.FindWindowByCaption(kCaption), dialog);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"500", L"ON"}));

  SetControlText(dialog, kNewString, L"440+480/2000,0/4000");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(main.process.WaitForWindowGone(kCaption));
  ASSERT_TRUE(Barrier(main.window));
  ASSERT_EQ(main.StepCount(), 2);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"2000", L"OFF"}));
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"4000", L"OFF"}));
  ASSERT_EQ(main.ToneCount(), 2);
  EXPECT_EQ(main.ToneRow(0)[1], L"440");
  EXPECT_EQ(main.ToneRow(1)[1], L"480");
  EXPECT_EQ(main.Field(kPatternTotal), L"6000");
  EXPECT_EQ(main.Field(kRepeat), L"4");  // the window's repeat count
  EXPECT_TRUE(main.Transport().enabled);
  EXPECT_EQ(WindowText(main.window), L"*Sonaril - Tone Generator");

  // Reopened, it shows the new string; an edit, so leaving asks about busy.ton.
  PostCommand(main.window, kEditToneString);
  dialog = main.process.WaitForWindow(kCaption);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ControlText(dialog, kCurrentString), L"440+480/2000,0/4000");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(main.process.WaitForWindowGone(kCaption));
  PostCommand(main.window, kFileExit);
  EXPECT_EQ(main.DismissMessageBox(L"Sonaril"), L"Save changes to busy.ton?");
}

}  // namespace
}  // namespace sonaril_e2e
