// An edited setting is never lost without a question: Esc, the close box and a dropped file
// (like Exit, New and Open) ask "Save changes to NAME?" while the setting has changed.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

// The question's text, answered with button (IDYES, IDNO, IDCANCEL); "" when none came.
std::wstring Answer(CMainWindow& main, int button) {
  HWND box = main.process.WaitForWindow(L"Sonaril");
  const std::wstring text = box != nullptr ? MessageBoxText(box) : L"";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  main.process.WaitForWindowGone(L"Sonaril");
  return text;
}

TEST(UnsavedChanges, EscAsksCancelKeepsTheWindowNoEndsIt) {
  CMainWindow main;
  const std::string path = main.folder.File("busy.ton");
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(path));
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\""));
  main.SetField(kRepeat, L"9");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(WindowText(main.window), L"*Sonaril - Tone Generator");
  for (int button : {IDCANCEL, IDNO}) {
    // The Esc key as typed: the dialog's own key handling turns it into IDCANCEL.
    PostMessageW(GetDlgItem(main.window, kCreateTone), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Answer(main, button), L"Save changes to busy.ton?");
  }
  EXPECT_EQ(main.process.WaitForExit(), 1);
  EXPECT_EQ(sonaril_test::ReadAll(path), sonaril_test::ReadAll(ExamplePath("busy-japan.ton")));
}

// Yes without a file asks for a name, and cancelling that keeps everything.
TEST(UnsavedChanges, DropAndTheCloseBoxOnAnUnnamedSetting) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  ASSERT_TRUE(main.EditStep(kStepAdd, StepValues{1, 300, false}));
  const std::string dropped = ExamplePath("ringback-north-america.ton");
  ASSERT_TRUE(main.DropFile(dropped));
  EXPECT_EQ(Answer(main, IDYES), L"Save changes to Untitled?");
  PostCommand(main.process.WaitForWindow(L"Save Tone Setting File"), IDCANCEL);
  ASSERT_TRUE(main.process.WaitForWindowGone(L"Save Tone Setting File") && Barrier(main.window));
  EXPECT_EQ(main.StepCount(), 1);
  ASSERT_TRUE(main.DropFile(dropped));
  EXPECT_EQ(Answer(main, IDNO), L"Save changes to Untitled?");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(main.StepCount(), 2);
  EXPECT_EQ(WindowText(main.window), L"Sonaril - Tone Generator");
  ASSERT_TRUE(main.EditStep(kStepAdd, StepValues{0, 100, false}));
  PostMessageW(main.window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(Answer(main, IDNO), L"Save changes to ringback-north-america.ton?");
  EXPECT_EQ(main.process.WaitForExit(), 1);
}

}  // namespace
}  // namespace sonaril_e2e
