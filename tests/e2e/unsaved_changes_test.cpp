// An edited setting is never lost without a question: Esc, Exit, the close box, New, Open and
// a dropped file ask "Save changes to NAME?" first, and only while the setting differs from
// the one last opened, saved or started with.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;
using sonaril_test::ReadAll;

constexpr wchar_t kQuestionCaption[] = L"Sonaril";

// The question's text, answered with button (IDYES, IDNO, IDCANCEL); "" when none came.
std::wstring Answer(CMainWindow& main, int button) {
  HWND box = main.process.WaitForWindow(kQuestionCaption);
  if (box == nullptr) return std::wstring();
  const std::wstring text = MessageBoxText(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  main.process.WaitForWindowGone(kQuestionCaption);
  return text;
}

// The Esc key as typed: the dialog's own key handling turns it into IDCANCEL.
void PressEsc(const CMainWindow& main) {
  HWND button = GetDlgItem(main.window, kCreateTone);
  PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(button, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

std::string StartWithBusy(CMainWindow& main) {
  const std::string path = main.folder.File("busy.ton");
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(path));
  return main.Start(L"\"" + Widen(path) + L"\"") ? path : std::string();
}

TEST(UnsavedChanges, EscAsksCancelKeepsTheWindowNoEndsIt) {
  CMainWindow main;
  const std::string path = StartWithBusy(main);
  ASSERT_FALSE(path.empty());
  const std::string saved = ReadAll(path);
  main.SetField(kRepeat, L"9");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(WindowText(main.window), L"*Sonaril - Tone Generator");
  PressEsc(main);
  EXPECT_EQ(Answer(main, IDCANCEL), L"Save changes to busy.ton?");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_TRUE(main.process.IsRunning());
  EXPECT_EQ(main.Field(kRepeat), L"9");
  PressEsc(main);
  EXPECT_EQ(Answer(main, IDNO), L"Save changes to busy.ton?");
  EXPECT_EQ(main.process.WaitForExit(), 1);
  EXPECT_EQ(ReadAll(path), saved);
}

// Undone by hand is unchanged: no question, no mark.
TEST(UnsavedChanges, AnEditPutBackAsksNothing) {
  CMainWindow main;
  ASSERT_FALSE(StartWithBusy(main).empty());
  ASSERT_TRUE(main.EditStep(kStepAdd, StepValues{1, 300, false}));
  SelectListRow(main.window, kStepList, 2);
  ASSERT_TRUE(main.Click(kStepDelete));
  main.SetField(kRepeat, L"5");
  main.SetField(kRepeat, L"4");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(WindowText(main.window), L"Sonaril - Tone Generator");
  PostCommand(main.window, kFileExit);
  EXPECT_EQ(main.process.WaitForExit(), 1);
}

TEST(UnsavedChanges, YesSavesBeforeTheCloseBoxEndsTheProgram) {
  CMainWindow main;
  const std::string path = StartWithBusy(main);
  ASSERT_FALSE(path.empty());
  main.SetField(kRepeat, L"9");
  PostMessageW(main.window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(Answer(main, IDYES), L"Save changes to busy.ton?");
  EXPECT_EQ(main.process.WaitForExit(), 1);
  EXPECT_NE(ReadAll(path).find("<repeat>9</repeat>"), std::string::npos);
}

// Yes on a setting without a file asks for a name; cancelling that keeps everything.
TEST(UnsavedChanges, NewAndDropOnAnUnnamedSetting) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  ASSERT_TRUE(main.EditStep(kStepAdd, StepValues{1, 300, false}));
  ASSERT_TRUE(main.Click(kFileNew));
  EXPECT_EQ(Answer(main, IDYES), L"Save changes to Untitled?");
  HWND save_as = main.process.WaitForWindow(L"Save Tone Setting File");
  ASSERT_NE(save_as, nullptr);
  PostMessageW(save_as, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(main.process.WaitForWindowGone(L"Save Tone Setting File"));
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(main.StepCount(), 1);

  const std::string dropped = main.folder.File("ring.ton");
  fs::copy_file(fs::u8path(ExamplePath("ringback-north-america.ton")), fs::u8path(dropped));
  ASSERT_TRUE(main.DropFile(dropped));
  EXPECT_EQ(Answer(main, IDCANCEL), L"Save changes to Untitled?");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(main.StepCount(), 1);
  ASSERT_TRUE(main.DropFile(dropped));
  EXPECT_EQ(Answer(main, IDNO), L"Save changes to Untitled?");
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(main.StepCount(), 2);
  EXPECT_EQ(WindowText(main.window), L"Sonaril - Tone Generator");
  // Opened and unchanged: New asks nothing.
  ASSERT_TRUE(main.Click(kFileNew));
  EXPECT_EQ(main.StepCount(), 0);
}

}  // namespace
}  // namespace sonaril_e2e
