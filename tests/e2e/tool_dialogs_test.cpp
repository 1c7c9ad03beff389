// File > "Open from Tone Library...", File > "Check Recording...", Edit > "Tone String..."
// and Edit > "DTMF/MF Digits..." in the real program.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

// The menu commands and the dialogs' controls.
enum {
  kEditToneString = 5030, kFileOpenFromLibrary = 5040, kEditDigits = 5042, kNewString = 20502, kWhyNot = 20503,
  kLibraryFilter = 20600, kLibraryCountries = 20601, kLibraryTones = 20602, kLibraryStatus = 20603,
  kCheckVerdict = 20700, kCheckRows = 20704, kCheckCopy = 20705,
  kDigitsText = 20800, kDigitsSystem = 20801, kDigitsOn = 20802, kDigitsProblem = 20805,
};

std::wstring LibraryCaption(int language) {
  return Caption(L"Open from Tone Library", L"トーンライブラリから開く", language);
}

// The clipboard's text; empty also when another program holds it open.
std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* locked = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (locked != nullptr) {
    text = locked;
    GlobalUnlock(data);
  }
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

    // The only country left is chosen by itself and shows its tones.
    SetControlText(dialog, kLibraryFilter, L"GERM");
    ASSERT_EQ(ListRowCount(dialog, kLibraryCountries), 1);
    int busy = ListRowCount(dialog, kLibraryTones) - 1;
    while (busy >= 0 && ListCell(dialog, kLibraryTones, busy, 0) != L"busy") --busy;
    ASSERT_GE(busy, 0);

    // A double-click (English) or Open (Japanese) opens the tone and creates it.
    SelectListRow(dialog, kLibraryTones, busy);
    if (language == 0) DoubleClickListRow(dialog, kLibraryTones, busy);
    if (language == 1) PostCommand(dialog, IDOK);
    ASSERT_TRUE(main.process.WaitForWindowGone(LibraryCaption(language)) && Barrier(main.window));
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
    ASSERT_TRUE(main.process.WaitForWindowGone(LibraryCaption(language)) && Barrier(main.window));
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
}

TEST(CheckRecordingDialog, PassFailAndASilentRecording) {
  // The window holds North American busy; the recordings are that tone and Japanese busy.
  sonaril_test::TempDir recordings;
  const std::string passing = recordings.File("busy-na.wav"), failing = recordings.File("busy-japan.wav");
  for (const auto& [example, wav] : {std::pair{"busy-north-america.ton", passing}, {"busy-japan.ton", failing}}) {
    ASSERT_EQ(RunToEnd(CliExePath(), L"render \"" + Widen(ExamplePath(example)) + L"\" -o \"" + Widen(wav) + L"\""), 0);
  }
  const std::string silent = recordings.File("silence.ul");
  ASSERT_TRUE(sonaril_test::WriteAll(silent, std::string(16000, '\xff')));  // u-law silence

  const struct {
    int language;
    std::string recording;
    std::wstring shown;  // the verdict, or the one-line message given instead
    int rows;            // the ON step with its tones, the OFF step
    std::wstring first_tone_result;
  } cases[] = {
      {0, passing, L"PASS", 4, L"ok"},
      {1, failing, L"FAIL", 5, L"extra tone"},  // 400 Hz heard, 480 and 620 Hz missing
      {0, silent, L"No tone was heard in silence.ul.", 0, L""},
  };
  for (const auto& c : cases) {
    CMainWindow main(c.language);
    ASSERT_TRUE(main.Start(L"\"" + Widen(ExamplePath("busy-north-america.ton")) + L"\""));
    ASSERT_TRUE(main.PickRecordingToCheck(c.recording)) << c.recording;
    const std::wstring caption = Caption(L"Check Recording", L"録音の確認", c.language);
    if (c.rows == 0) {
      EXPECT_EQ(main.DismissMessageBox(caption), c.shown);
      continue;
    }
    HWND dialog = main.process.WaitForWindow(caption);
    ASSERT_NE(dialog, nullptr) << c.recording;
    EXPECT_EQ(ControlText(dialog, kCheckVerdict), c.shown);
    ASSERT_EQ(ListRowCount(dialog, kCheckRows), c.rows);
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

// What cannot be built is explained in the dialog and changes nothing; what can replaces the
// steps and tones at the window's repeat, keeps the setting's file and creates the tone.
TEST(EditDialogs, BadInputKeepsTheDialogAndGoodInputReplacesTheSetting) {
  const struct {
    int language, command, text, problem;  // the menu command, the fields typed into and explaining
    const wchar_t *english, *japanese;      // the caption
    int system_index;                       // digits: 0 DTMF, 1 MF R1; tone string: -1
    std::wstring bad, good, first_ms, second_ms, first_tone;
  } cases[] = {
      {0, kEditToneString, kNewString, kWhyNot, L"Tone String", L"トーン文字列", -1, L"440+480/2000,0/abc",
       L"440+480/2000,0/4000", L"2000", L"4000", L"440"},
      {0, kEditDigits, kDigitsText, kDigitsProblem, L"DTMF/MF Digits", L"DTMF/MF ダイヤル数字", 0, L"12X", L"1,2",
       L"100", L"100", L"697"},
      {1, kEditDigits, kDigitsText, kDigitsProblem, L"DTMF/MF Digits", L"DTMF/MF ダイヤル数字", 1, L"KP1*",
       L"KP1ST", L"100", L"68", L"700"},  // KP is longer than the digits
  };
  for (const auto& c : cases) {
    CMainWindow main(c.language);
    ASSERT_TRUE(main.Start(L"\"" + Widen(ExamplePath("busy-japan.ton")) + L"\""));
    const std::wstring caption = Caption(c.english, c.japanese, c.language);
    PostCommand(main.window, c.command);
    HWND dialog = main.process.WaitForWindow(caption);
    ASSERT_NE(dialog, nullptr);
    if (c.system_index >= 0) {
      ChooseComboEntry(dialog, kDigitsSystem, c.system_index);
      EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, kDigitsOn) == c.second_ms; }));
    }
    SetControlText(dialog, c.text, c.bad);
    PostCommand(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !ControlText(dialog, c.problem).empty(); }));
    EXPECT_EQ(main.StepRow(0)[1], L"500") << "the setting stays while the input cannot be built";

    SetControlText(dialog, c.text, c.good);
    PostCommand(dialog, IDOK);
    ASSERT_TRUE(main.process.WaitForWindowGone(caption) && Barrier(main.window));
    EXPECT_EQ(main.StepRow(0)[1] + L" " + main.StepRow(1)[1], c.first_ms + L" " + c.second_ms);
    EXPECT_EQ(main.ToneRow(0)[1], c.first_tone);
    EXPECT_EQ(main.Field(kRepeat), L"4");
    EXPECT_TRUE(main.Transport().enabled) << "the tone is created";
    PostCommand(main.window, kFileExit);
    EXPECT_EQ(main.DismissMessageBox(L"Sonaril"),
              Caption(L"Save changes to busy-japan.ton?", L"busy-japan.ton への変更を保存しますか?", c.language));
  }
}

}  // namespace
}  // namespace sonaril_e2e
