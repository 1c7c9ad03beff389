#include "editor/main_window_files.h"

#include <gtest/gtest.h>

#include <string>

#include "files/string.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

// A wide path for the file calls.
class WidePath {
 public:
  explicit WidePath(const std::string& utf8) { text_.Assign(utf8.c_str()); }
  const wchar_t* get() { return text_.GetWide(); }

 private:
  CString text_;
};

const char kGoodFile[] =
    "<?xml version=\"1.0\" ?>\r\n"
    "<sampling_frequency>16000</sampling_frequency>\r\n<repeat>3</repeat>\r\n"
    "<filter_on>1</filter_on>\r\n"
    "<patterns><pattern><on_off>1</on_off>\r\n<time>500</time>\r\n<is_fade>1</is_fade>\r\n"
    "</pattern>\r\n<pattern><on_off>0</on_off>\r\n<time>250</time>\r\n<is_fade>0</is_fade>\r\n"
    "</pattern>\r\n</patterns>\r\n"
    "<tones><tone><type>2</type>\r\n<frequency>440</frequency>\r\n<phase>0</phase>\r\n"
    "<start_time>0</start_time>\r\n<end_time>-1</end_time>\r\n<level>80</level>\r\n</tone>\r\n"
    "</tones>\r\n";

// The setting the user has before opening a file.
void FillCurrent(ToneSetting& setting) {
  setting.path = "current.ton";
  setting.sampling_frequency = 44100;
  setting.repeat = 9;
  for (int32_t time : {100, 200, 300}) {
    PatternStep* step = new PatternStep;
    step->time = time;
    setting.AppendStep(step);
  }
  setting.AppendTone(new ToneEntry);
}

void ExpectCurrentUnchanged(const ToneSetting& setting) {
  EXPECT_EQ(setting.path, "current.ton");
  EXPECT_EQ(setting.sampling_frequency, 44100);
  EXPECT_EQ(setting.repeat, 9);
  EXPECT_EQ(setting.StepCount(), 3);
  EXPECT_EQ(setting.ToneCount(), 1);
  EXPECT_EQ(setting.pattern_total, 600);
}

struct UnreadableCase {
  const char* name;
  const char* bytes;  // null: the file does not exist
};

TEST(LoadToneFileIntoTest, AFileThatCannotBeReadLeavesTheSettingAlone) {
  const UnreadableCase cases[] = {
      {"missing", nullptr},
      {"empty", ""},
      {"not xml", "sampling_frequency=8000\n"},
      {"declaration only", "<?xml version=\"1.0\" ?>\r\n"},
      {"binary", "\x89PNG\r\n\x1a\n\0\0\0"},
  };
  TempDir dir;
  for (const UnreadableCase& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".ton");
    if (c.bytes != nullptr) {
      ASSERT_TRUE(WriteAll(path, c.bytes));
    }
    ToneSetting current;
    FillCurrent(current);
    WidePath wide(path);
    EXPECT_FALSE(LoadToneFileInto(current, wide.get())) << c.name;
    ExpectCurrentUnchanged(current);
  }
  ToneSetting current;
  FillCurrent(current);
  EXPECT_FALSE(LoadToneFileInto(current, nullptr));
  ExpectCurrentUnchanged(current);
}

TEST(LoadToneFileIntoTest, AGoodFileReplacesEverything) {
  TempDir dir;
  const std::string path = dir.File("good tone.ton");
  ASSERT_TRUE(WriteAll(path, kGoodFile));
  ToneSetting current;
  FillCurrent(current);
  WidePath wide(path);
  ASSERT_TRUE(LoadToneFileInto(current, wide.get()));
  EXPECT_EQ(current.path, path);
  EXPECT_EQ(current.sampling_frequency, 16000);
  EXPECT_EQ(current.repeat, 3);
  EXPECT_EQ(current.filter_on, 1);
  ASSERT_EQ(current.StepCount(), 2);
  EXPECT_EQ(current.pattern_total, 750);
  EXPECT_EQ(current.StepAt(0)->is_fade, 1);
  EXPECT_EQ(current.StepAt(1)->time, 250);
  ASSERT_EQ(current.ToneCount(), 1);
  EXPECT_EQ(current.ToneAt(0)->type, 2);
  EXPECT_EQ(current.ToneAt(0)->frequency, 440);
  EXPECT_EQ(current.ToneAt(0)->level, 80);
}

TEST(LoadToneFileIntoTest, AFileThatBreaksOffStillLoadsWhatItHas) {
  TempDir dir;
  const std::string path = dir.File("cut.ton");
  std::string cut(kGoodFile);
  cut.resize(cut.find("<pattern><on_off>0"));  // cut inside the second step
  ASSERT_TRUE(WriteAll(path, cut + "<pattern><on_off>0</on"));
  ToneSetting current;
  FillCurrent(current);
  WidePath wide(path);
  ASSERT_TRUE(LoadToneFileInto(current, wide.get()));
  EXPECT_EQ(current.sampling_frequency, 16000);
  EXPECT_EQ(current.repeat, 3);
  // The broken step is taken with the defaults of a step read from a file.
  ASSERT_EQ(current.StepCount(), 2);
  EXPECT_EQ(current.StepAt(1)->on_off, 1);
  EXPECT_EQ(current.StepAt(1)->time, -1);
  EXPECT_EQ(current.ToneCount(), 0);
  EXPECT_EQ(current.pattern_total, 499);
}

TEST(SaveToneFileAtTest, AFailedSaveKeepsThePathAndThePreviousFile) {
  TempDir dir;
  const std::string saved = dir.File("saved.ton");
  ToneSetting setting;
  FillCurrent(setting);
  WidePath good(saved);
  ASSERT_TRUE(SaveToneFileAt(setting, good.get()));
  EXPECT_EQ(setting.path, saved);
  const std::string first = ReadAll(saved);
  ASSERT_FALSE(first.empty());

  // Into a folder that does not exist, and onto a folder: both fail, nothing is lost.
  for (const std::string& bad : {dir.File("no such folder/song.ton"), dir.path()}) {
    WidePath wide(bad);
    EXPECT_FALSE(SaveToneFileAt(setting, wide.get())) << bad;
    EXPECT_EQ(setting.path, saved) << bad;
  }
  // Save without a path still goes to the last good file.
  setting.repeat = 42;
  ASSERT_TRUE(SaveToneFileAt(setting, nullptr));
  EXPECT_NE(ReadAll(saved), first);

  ToneSetting reloaded;
  ASSERT_TRUE(LoadToneFileInto(reloaded, good.get()));
  EXPECT_EQ(reloaded.repeat, 42);
  EXPECT_EQ(reloaded.StepCount(), 3);
  EXPECT_EQ(reloaded.pattern_total, 600);
}

TEST(SaveToneFileAtTest, SaveWithoutAPathNeedsOne) {
  ToneSetting setting;
  EXPECT_FALSE(SaveToneFileAt(setting, nullptr));
  EXPECT_TRUE(setting.path.empty());
}

TEST(MoveToneSettingTest, TheSourceIsLeftEmpty) {
  ToneSetting source;
  FillCurrent(source);
  ToneSetting target;
  target.AppendStep(new PatternStep);
  MoveToneSetting(source, target);
  ExpectCurrentUnchanged(target);
  EXPECT_EQ(source.patterns, nullptr);
  EXPECT_EQ(source.tones, nullptr);
  EXPECT_TRUE(source.path.empty());
}

}  // namespace
