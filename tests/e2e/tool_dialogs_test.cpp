// File > "Open from Tone Library...", File > "Check Recording..." and Edit > "DTMF/MF
// Digits..." in the real program.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

std::wstring LibraryCaption(int language) {
  return Caption(L"Open from Tone Library", L"トーンライブラリから開く", language);
}

int RowNamed(HWND dialog, int list, const std::wstring& name) {
  for (int row = 0; row < ListRowCount(dialog, list); ++row) {
    if (ListCell(dialog, list, row, 0) == name) return row;
  }
  return -1;
}

// The clipboard's text; empty also when another program holds it open.
std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* locked = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (locked != nullptr) text = locked;
  if (locked != nullptr) GlobalUnlock(data);
  CloseClipboard();
  return text;
}

TEST(ToneLibraryDialog, TypingACountryAndOpeningItsBusyTone) {
  for (int language : {0, 1}) {
    CMainWindow main(language);
    ASSERT_TRUE(main.Start());
    PostCommand(main.window, kFileOpenFromLibrary);
    HWND dialog = main.process.WaitForWindow(LibraryCaption(language));
    ASSERT_NE(dialog, nullptr) << language;
    EXPECT_GE(ListRowCount(dialog, kLibraryCountries), 40);
    EXPECT_EQ(ControlText(dialog, kLibraryStatus), L"");

    // The only country left is chosen by itself and shows its tones.
    SetControlText(dialog, kLibraryFilter, L"GERM");
    ASSERT_EQ(ListRowCount(dialog, kLibraryCountries), 1);
    EXPECT_EQ(ListCell(dialog, kLibraryCountries, 0, 0), L"Germany");
    const int busy = RowNamed(dialog, kLibraryTones, L"busy");
    ASSERT_GE(busy, 0);
    EXPECT_EQ(ListRow(dialog, kLibraryTones, busy, 3), (std::vector<std::wstring>{L"busy", L"425@-10/480,0/480", L"-10.0 dBm0"}));

    // A double-click (English) or Open (Japanese) opens the tone and creates it.
    SelectListRow(dialog, kLibraryTones, busy);
    if (language == 0) DoubleClickListRow(dialog, kLibraryTones, busy);
    if (language == 1) PostCommand(dialog, IDOK);
    ASSERT_TRUE(main.process.WaitForWindowGone(LibraryCaption(language)));
    ASSERT_TRUE(Barrier(main.window));
    ASSERT_EQ(main.StepCount(), 2);
    EXPECT_EQ(main.StepRow(1)[1], L"480");
    EXPECT_EQ(main.ToneRow(0)[1], L"425");
    EXPECT_TRUE(main.Transport().enabled);

    // The next opening shows what was typed last; Open without a tone chosen does nothing.
    PostCommand(main.window, kFileOpenFromLibrary);
    dialog = main.process.WaitForWindow(LibraryCaption(language));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, kLibraryFilter), L"GERM");
    PostCommand(dialog, IDOK);
    PostCommand(dialog, IDCANCEL);
    ASSERT_TRUE(main.process.WaitForWindowGone(LibraryCaption(language)));
    ASSERT_TRUE(Barrier(main.window));
    EXPECT_EQ(main.StepCount(), 2) << "still the busy tone, not the country's first tone";
  }
}

TEST(ToneLibraryDialog, AProgramWithoutItsLibrarySaysSo) {
  CMainWindow main;
  const std::string program = main.folder.File("Sonaril.exe");
  fs::copy_file(fs::u8path(Narrow(SonarilExePath())), fs::u8path(program));
  ASSERT_TRUE(main.Start(L"", Widen(program)));
  PostCommand(main.window, kFileOpenFromLibrary);
  HWND dialog = main.process.WaitForWindow(LibraryCaption(0));
  ASSERT_NE(dialog, nullptr);
  const std::wstring status = ControlText(dialog, kLibraryStatus);
  EXPECT_EQ(status.rfind(L"The tone library is missing: no tone files were found in ", 0), 0u) << Narrow(status);
  EXPECT_EQ(ListRowCount(dialog, kLibraryCountries), 0);
  PostCommand(dialog, IDCANCEL);
  EXPECT_TRUE(main.process.WaitForWindowGone(LibraryCaption(0)));
}

TEST(CheckRecordingDialog, PassFailAndRecordingsThatCannotBeChecked) {
  // The window holds North American busy; the recordings are that tone and Japanese busy.
  sonaril_test::TempDir recordings;
  const std::string passing = recordings.File("busy-na.wav"), failing = recordings.File("busy-japan.wav");
  for (const auto& [example, wav] : {std::pair{"busy-north-america.ton", passing}, {"busy-japan.ton", failing}}) {
    ASSERT_EQ(RunToEnd(CliExePath(), L"render \"" + Widen(ExamplePath(example)) + L"\" -o \"" + Widen(wav) + L"\""), 0);
  }
  const std::string silent = recordings.File("silence.ul"), text = recordings.File("notes.wav");
  ASSERT_TRUE(sonaril_test::WriteAll(silent, std::string(16000, '\xff')));  // u-law silence
  ASSERT_TRUE(sonaril_test::WriteAll(text, "not a recording"));

  const struct {
    int language;
    std::string recording;
    std::wstring shown;  // the verdict, or the start of the one-line message given instead
    int rows;            // the ON step with its tones, the OFF step
    std::wstring first_tone_result;
  } cases[] = {
      {0, passing, L"PASS", 4, L"ok"},
      {1, failing, L"FAIL", 5, L"extra tone"},  // 400 Hz heard, 480 and 620 Hz missing
      {0, silent, L"No tone was heard in silence.ul.", 0, L""},
      {1, text, L"notes.wav を確認できません: ", 0, L""},
  };
  for (const auto& c : cases) {
    CMainWindow main(c.language);
    ASSERT_TRUE(main.Start(L"\"" + Widen(ExamplePath("busy-north-america.ton")) + L"\""));
    ASSERT_TRUE(main.PickRecordingToCheck(c.recording)) << c.recording;
    const std::wstring caption = Caption(L"Check Recording", L"録音の確認", c.language);
    if (c.rows == 0) {
      const std::wstring said = main.DismissMessageBox(caption);
      EXPECT_EQ(said.rfind(c.shown, 0), 0u) << Narrow(said);
      EXPECT_EQ(said.find(L'\n'), std::wstring::npos);
      continue;
    }
    HWND dialog = main.process.WaitForWindow(caption);
    ASSERT_NE(dialog, nullptr) << c.recording;
    EXPECT_EQ(ControlText(dialog, kCheckVerdict), c.shown);
    EXPECT_EQ(ControlText(dialog, kCheckTolerances), L"frequency 1.50 %, cadence 10.0 % (at least 20 ms), level 3.0 dB");
    ASSERT_EQ(ListRowCount(dialog, kCheckRows), c.rows);
    EXPECT_EQ(ListCell(dialog, kCheckRows, 0, 2), L"500.0 ms");
    EXPECT_EQ(ListCell(dialog, kCheckRows, 1, 4), c.first_tone_result);

    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    PostCommand(dialog, kCheckCopy);
    ASSERT_TRUE(WaitFor([] { return !ClipboardText().empty(); }));
    const std::wstring report = ClipboardText();
    EXPECT_EQ(report.rfind(L"Recording:  " + Widen(fs::u8path(c.recording).filename().u8string()) + L"\r\n", 0), 0u);
    EXPECT_NE(report.find(L"\r\n" + c.shown + L"\r\n"), std::wstring::npos) << Narrow(report);
    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(main.process.WaitForWindowGone(caption));
  }
}

TEST(DigitsDialog, DigitsThatCannotBeSentKeepTheDialogAndGoodOnesReplaceTheSetting) {
  const struct {
    int language;
    int system_index;  // 0 DTMF, 1 MF R1
    std::wstring bad, good, on_ms;
    int steps;
    std::wstring first_tone;
  } cases[] = {
      {0, 0, L"12X", L"1,2", L"100", 5, L"697"},
      {1, 1, L"KP1*", L"KP1ST", L"68", 6, L"700"},
  };
  for (const auto& c : cases) {
    CMainWindow main(c.language);
    ASSERT_TRUE(main.Start(L"\"" + Widen(ExamplePath("busy-japan.ton")) + L"\""));
    const std::wstring caption = Caption(L"DTMF/MF Digits", L"DTMF/MF ダイヤル数字", c.language);
    PostCommand(main.window, kEditDigits);
    HWND dialog = main.process.WaitForWindow(caption);
    ASSERT_NE(dialog, nullptr);
    ChooseComboEntry(dialog, kDigitsSystem, c.system_index);
    EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, kDigitsOn) == c.on_ms; }));
    SetControlText(dialog, kDigitsText, c.bad);
    PostCommand(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !ControlText(dialog, kDigitsProblem).empty(); }));
    EXPECT_EQ(main.StepCount(), 2) << "the setting stays while the digits cannot be sent";

    SetControlText(dialog, kDigitsText, c.good);
    PostCommand(dialog, IDOK);
    ASSERT_TRUE(main.process.WaitForWindowGone(caption));
    ASSERT_TRUE(Barrier(main.window));
    EXPECT_EQ(main.StepCount(), c.steps);
    EXPECT_EQ(main.StepRow(0)[1], L"100");   // DTMF's on time, and MF's KP
    EXPECT_EQ(main.StepRow(1)[1], c.on_ms);  // the gap after it, as long as a digit
    EXPECT_EQ(main.ToneRow(0)[1], c.first_tone);
    EXPECT_TRUE(main.Transport().enabled) << "the tone is created";
  }
}

}  // namespace
}  // namespace sonaril_e2e
