// The File menu and dropped files: New, Save, Save As with its extension rule, opening, and
// what the user is told when a file cannot be read or written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

using Row = std::vector<std::wstring>;
using sonaril_test::ReadAll;
using sonaril_test::WriteAll;

std::string CopyExample(const CMainWindow& main, const std::string& example, const std::string& name) {
  const std::string target = main.folder.File(name);
  fs::copy_file(fs::u8path(ExamplePath(example)), fs::u8path(target), fs::copy_options::overwrite_existing);
  return target;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The names in the folder, exactly as the file system spells them.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::u8path(folder))) {
    names.push_back(entry.path().filename().u8string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Files, SaveAsAddsTheExtensionUnlessTheNameHasIt) {
  CMainWindow main;
  const std::string source = CopyExample(main, "busy-japan.ton", "source.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(source) + L"\""));
  ASSERT_TRUE(main.SaveAs(main.folder.File("song")));
  ASSERT_TRUE(main.SaveAs(main.folder.File("second.TON")));
  ASSERT_TRUE(main.SaveAs(main.folder.File("notes.txt")));
  EXPECT_EQ(FolderNames(main.folder.path()),
            (std::vector<std::string>{"Sonaril.ini", "notes.txt.ton", "second.TON", "song.ton",
                                      "source.ton"}));
  for (const char* name : {"song.ton", "second.TON", "notes.txt.ton"}) {
    EXPECT_EQ(ReadAll(main.folder.File(name)), ReadAll(source)) << name;
  }
  // Save goes to the name Save As wrote last, and takes the window's values.
  main.SetField(kRepeat, L"7");
  ASSERT_TRUE(main.Click(kFileSave));
  EXPECT_TRUE(Contains(ReadAll(main.folder.File("notes.txt.ton")), "<repeat>7</repeat>"));
  EXPECT_EQ(ReadAll(main.folder.File("song.ton")), ReadAll(source));
}

struct RepeatCase {
  const wchar_t* text;
  int saved;
};

TEST(Files, SaveReadsTheRepeatFieldByItsRule) {
  CMainWindow main;
  const std::string path = CopyExample(main, "ringback-uk.ton", "uk.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\""));
  const RepeatCase cases[] = {{L"0", 1},  {L"250", 100}, {L" 7", 7},
                              {L"-5", 1}, {L"-5x", 5},   {L"abc", 1}};
  for (const RepeatCase& c : cases) {
    main.SetField(kRepeat, c.text);
    ASSERT_TRUE(main.Click(kFileSave));
    EXPECT_TRUE(Contains(ReadAll(path), "<repeat>" + std::to_string(c.saved) + "</repeat>"))
        << Narrow(c.text);
  }
}

TEST(Files, NewEmptiesTheSettingAndTheTone) {
  CMainWindow main;
  const std::string path = CopyExample(main, "ramps-and-fades.ton", "ramps.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\""));
  ASSERT_TRUE(main.Transport().enabled);
  ASSERT_EQ(main.Field(kSamplingFrequency), L"16000");
  ASSERT_TRUE(IsChecked(main.window, kLowPassFilter));
  ASSERT_TRUE(main.Click(kFileNew));
  EXPECT_EQ(main.StepCount(), 0);
  EXPECT_EQ(main.ToneCount(), 0);
  EXPECT_EQ(main.Field(kPatternTotal), L"0");
  EXPECT_EQ(main.Field(kRepeat), L"1");
  EXPECT_EQ(main.Field(kSamplingFrequency), L"8000");
  EXPECT_FALSE(IsChecked(main.window, kLowPassFilter));
  for (int id : {kPlay, kStop, kPause, kSaveFile}) EXPECT_FALSE(IsEnabled(main.window, id)) << id;
}

TEST(Files, ADroppedFileIsOpened) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  const std::string path = CopyExample(main, "ringback-north-america.ton", "dropped ring.ton");
  ASSERT_TRUE(main.DropFile(path));
  ASSERT_EQ(main.StepCount(), 2);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"2000", L"ON"}));
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"4000", L"OFF"}));
  ASSERT_EQ(main.ToneCount(), 2);
  EXPECT_EQ(main.ToneRow(1)[1], L"480");
  EXPECT_EQ(main.Field(kPatternTotal), L"6000");
  EXPECT_TRUE(main.Transport().enabled);
}

TEST(Files, ARateOutsideTheListKeepsTheListsChoiceForTheTone) {
  CMainWindow main;
  const std::string first = CopyExample(main, "ramps-and-fades.ton", "ramps.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(first) + L"\""));
  ASSERT_EQ(main.Field(kSamplingFrequency), L"16000");
  std::string odd = ReadAll(ExamplePath("busy-japan.ton"));
  const size_t at = odd.find("8000");
  ASSERT_NE(at, std::string::npos);
  odd.replace(at, 4, "22050");
  const std::string path = main.folder.File("odd rate.ton");
  ASSERT_TRUE(WriteAll(path, odd));
  ASSERT_TRUE(main.DropFile(path));
  EXPECT_EQ(main.Field(kSamplingFrequency), L"16000");
  EXPECT_EQ(main.StepCount(), 2);
  EXPECT_TRUE(main.Transport().enabled);
  ASSERT_TRUE(main.Click(kFileSave));
  EXPECT_TRUE(Contains(ReadAll(path), "<sampling_frequency>16000</sampling_frequency>"));
}

struct UnreadableCase {
  const char* name;
  const char* bytes;  // null: no such file
};

TEST(Files, AFileThatCannotBeReadLeavesEverythingAsItWas) {
  CMainWindow main;
  const std::string good = CopyExample(main, "busy-north-america.ton", "good.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(good) + L"\""));
  ASSERT_EQ(main.StepCount(), 2);
  const UnreadableCase cases[] = {
      {"empty.ton", ""}, {"plain text.ton", "sampling_frequency=8000\n"}, {"gone.ton", nullptr}};
  for (const UnreadableCase& c : cases) {
    const std::string path = main.folder.File(c.name);
    if (c.bytes != nullptr) {
      ASSERT_TRUE(WriteAll(path, c.bytes));
    }
    ASSERT_TRUE(main.DropFile(path));
    EXPECT_EQ(main.DismissMessageBox(L"Load Tone Setting File"),
              Widen(path) + L" could not be read as a tone setting file. The current setting is unchanged.")
        << c.name;
    EXPECT_EQ(main.StepCount(), 2) << c.name;
    EXPECT_EQ(main.ToneCount(), 2) << c.name;
    EXPECT_EQ(main.Field(kPatternTotal), L"1000") << c.name;
    EXPECT_TRUE(main.Transport().enabled) << c.name;
  }
  // Save still writes to the file last opened.
  main.SetField(kRepeat, L"9");
  ASSERT_TRUE(main.Click(kFileSave));
  EXPECT_TRUE(Contains(ReadAll(good), "<repeat>9</repeat>"));
}

TEST(Files, APartlyDamagedFileLoadsWhatItHas) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  const std::string path = main.folder.File("cut.ton");
  ASSERT_TRUE(WriteAll(path,
                       "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>44100</sampling_frequency>\r\n"
                       "<repeat>2</repeat>\r\n<patterns><pattern><on_off>1</on_off>\r\n<time>250</time>\r\n"
                       "</pattern>\r\n<pattern><on_o"));
  ASSERT_TRUE(main.DropFile(path));
  // It loads; the tone it asks for cannot be made, since it has no tones.
  EXPECT_EQ(main.DismissMessageBox(L"Create Tone"),
            L"The tone cannot be created. The setting has no tones.");
  EXPECT_EQ(main.process.FindWindowByCaption(L"Load Tone Setting File"), nullptr);
  EXPECT_EQ(main.Field(kSamplingFrequency), L"44100");
  EXPECT_EQ(main.Field(kRepeat), L"2");
  ASSERT_GE(main.StepCount(), 1);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"250", L"OFF"}));
  EXPECT_EQ(main.ToneCount(), 0);
  EXPECT_FALSE(main.Transport().enabled);
}

TEST(Files, AFailedSaveSaysSoAndKeepsThePreviousFile) {
  CMainWindow main;
  const std::string path = CopyExample(main, "busy-japan.ton", "kept.ton");
  ASSERT_TRUE(main.Start(L"\"" + Widen(path) + L"\""));
  // Save As onto a name that is a folder cannot succeed.
  fs::create_directory(fs::u8path(main.folder.File("blocked.ton")));
  ASSERT_TRUE(main.SaveAs(main.folder.File("blocked")));
  EXPECT_EQ(main.DismissMessageBox(L"Save Tone Setting File"),
            Widen(main.folder.File("blocked.ton")) +
                L" could not be saved. The previous file is unchanged.");
  EXPECT_TRUE(fs::is_directory(fs::u8path(main.folder.File("blocked.ton"))));
  // Save still goes to the file that was opened, which is intact.
  EXPECT_EQ(ReadAll(path), ReadAll(ExamplePath("busy-japan.ton")));
  main.SetField(kRepeat, L"3");
  ASSERT_TRUE(main.Click(kFileSave));
  EXPECT_TRUE(Contains(ReadAll(path), "<repeat>3</repeat>"));
}

}  // namespace
}  // namespace sonaril_e2e
