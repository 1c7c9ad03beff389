// "Save File": what the window exports is exactly what the command-line renderer makes of
// the same saved setting.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

using sonaril_test::ReadAll;

struct FormatCase {
  int export_format;
  const char* cli_format;
  const char* name;
};

TEST(Export, EveryFormatEqualsTheCommandLineRenderOfTheSavedSetting) {
  CMainWindow main;
  const std::string setting = main.folder.File("edited.ton");
  fs::copy_file(fs::u8path(ExamplePath("ramps-and-fades.ton")), fs::u8path(setting));
  ASSERT_TRUE(main.Start(L"\"" + Widen(setting) + L"\""));
  // Edit it in the window: another tone, another rate and repeat count.
  ASSERT_TRUE(main.EditTone(kToneAdd, {1, 700, 45, 100, 900, 30}));
  ChooseComboEntry(main.window, kSamplingFrequency, 3);  // 44100
  main.SetField(kRepeat, L"2");
  ASSERT_EQ(main.CreateTone(), L"");
  ASSERT_TRUE(main.Transport().enabled);
  ASSERT_TRUE(main.Click(kFileSave));

  const FormatCase cases[] = {{0, "wav", "window.wav"}, {1, "mulaw", "window.ulaw"},
                              {2, "alaw", "window.alaw"}};
  for (const FormatCase& c : cases) {
    const std::string exported = main.folder.File(c.name);
    ASSERT_TRUE(main.Export(exported, c.export_format)) << c.name;
    const std::string rendered = main.folder.File(std::string("cli-") + c.name);
    ASSERT_EQ(RunToEnd(CliExePath(), L"render \"" + Widen(setting) + L"\" -o \"" +
                                         Widen(rendered) + L"\" --format " + Widen(c.cli_format)),
              0)
        << c.name;
    const std::string window_bytes = ReadAll(exported);
    const std::string cli_bytes = ReadAll(rendered);
    // 2500 ms of pattern at 44100 Hz, twice.
    const size_t samples = 220500;
    EXPECT_EQ(window_bytes.size(), c.export_format == 0 ? 56 + 2 * samples : samples) << c.name;
    EXPECT_TRUE(window_bytes == cli_bytes) << c.name << ": the files differ";
  }
}

TEST(Export, AnExistingFileIsReplacedOnlyAfterYes) {
  CMainWindow main;
  const std::string setting = main.folder.File("busy.ton");
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(setting));
  ASSERT_TRUE(main.Start(L"\"" + Widen(setting) + L"\""));
  const std::string target = main.folder.File("existing.wav");
  ASSERT_TRUE(sonaril_test::WriteAll(target, "keep me"));
  ASSERT_TRUE(main.Export(target, 0));
  HWND question = main.process.WaitForWindow(L"Save File");
  ASSERT_NE(question, nullptr);
  PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  ASSERT_TRUE(main.process.WaitForWindowGone(L"Save File"));
  ASSERT_TRUE(Barrier(main.window));
  EXPECT_EQ(ReadAll(target), "keep me");
}

}  // namespace
}  // namespace sonaril_e2e
