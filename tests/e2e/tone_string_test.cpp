// Edit > "Tone String...": a string that cannot be built is explained in the dialog and
// changes nothing; a good one replaces the steps and tones, makes the tone and is an edit.
#include <gtest/gtest.h>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

using Row = std::vector<std::wstring>;
enum { kEditToneString = 5030, kCurrentString = 20501, kNewString = 20502, kWhyNot = 20503 };

TEST(ToneString, ABadStringIsExplainedAndAGoodOneReplacesTheSetting) {
  CMainWindow main;
  ASSERT_TRUE(main.Start(L"\"" + Widen(ExamplePath("busy-japan.ton")) + L"\""));
  PostCommand(main.window, kEditToneString);
  HWND dialog = main.process.WaitForWindow(L"Tone String");
  ASSERT_NE(dialog, nullptr);
  // Its first step fades, which no tone string can say.
  EXPECT_EQ(ControlText(dialog, kCurrentString).rfind(L"No tone string: ", 0), 0u);
  SetControlText(dialog, kNewString, L"440+480/2000,0/abc");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !ControlText(dialog, kWhyNot).empty(); }));
  EXPECT_EQ(ControlText(dialog, kWhyNot).rfind(L"Cannot be built: ", 0), 0u);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"500", L"ON"}));

  SetControlText(dialog, kNewString, L"440+480/2000,0/4000");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(main.process.WaitForWindowGone(L"Tone String") && Barrier(main.window));
  ASSERT_EQ(main.StepCount(), 2);
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"4000", L"OFF"}));
  ASSERT_EQ(main.ToneCount(), 2);
  EXPECT_EQ(main.ToneRow(1)[1], L"480");
  EXPECT_EQ(main.Field(kRepeat), L"4");  // the window's
  EXPECT_TRUE(main.Transport().enabled);
  PostCommand(main.window, kFileExit);
  EXPECT_EQ(main.DismissMessageBox(L"Sonaril"), L"Save changes to busy-japan.ton?");
}

}  // namespace
}  // namespace sonaril_e2e
