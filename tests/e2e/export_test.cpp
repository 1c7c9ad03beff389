// "Save File": what the window exports is exactly what the command-line renderer makes of
// the same saved setting.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

using sonaril_test::ReadAll;
using sonaril_test::WriteAll;

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

// Three ways the setting's rate moves away from the tone on show without a new tone being
// made: the export still describes the samples as they were made, at 8000 Hz.
TEST(Export, TheFileKeepsTheRateTheToneWasMadeAt) {
  CMainWindow main;
  const std::string made_at_8000 = main.folder.File("busy.ton");
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(made_at_8000));
  ASSERT_TRUE(main.Start(L"\"" + Widen(made_at_8000) + L"\""));
  const std::string reference = main.folder.File("reference.wav");
  ASSERT_TRUE(main.Export(reference, 0));
  const std::string unmakeable = main.folder.File("zero-hz-48000.ton");
  ASSERT_TRUE(WriteAll(unmakeable, "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>48000</sampling_frequency>"
                                   "<patterns><pattern><time>500</time></pattern></patterns>"
                                   "<tones><tone><frequency>0</frequency></tone></tones>\r\n"));
  const std::string no_steps = main.folder.File("no-steps-16000.ton");
  ASSERT_TRUE(WriteAll(no_steps, "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>16000</sampling_frequency>"
                                 "<tones><tone><frequency>400</frequency></tone></tones>\r\n"));
  const std::function<void()> changes[] = {
      [&] {  // a 48000 Hz file whose tone cannot be made
        ASSERT_TRUE(main.DropFile(unmakeable));
        EXPECT_NE(main.DismissMessageBox(L"Create Tone"), L"");
      },
      [&] {  // Save with 44100 chosen in the list
        ChooseComboEntry(main.window, kSamplingFrequency, 3);
        ASSERT_TRUE(main.Click(kFileSave));
      },
      [&] { ASSERT_TRUE(main.DropFile(no_steps)); },  // a 16000 Hz file without steps
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    changes[i]();
    const std::string exported = main.folder.File("after-" + std::to_string(i) + ".wav");
    ASSERT_TRUE(main.Export(exported, 0)) << i;
    EXPECT_TRUE(ReadAll(exported) == ReadAll(reference)) << "change " << i;
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
