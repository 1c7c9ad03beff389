// The tone setting file: exact bytes written, defaults on reading, and round trips.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "files/tone_file.h"
#include "tests/common/test_paths.h"
#include "tests/common/setting_builder.h"

namespace {

using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::TestDataPath;
using sonaril_test::WriteAll;

const std::string kDeclaration = "<?xml version=\"1.0\" ?>\r\n";

// The path in the wide form the operations take; lives as long as the object.
class WidePath {
 public:
  explicit WidePath(const std::string& path) { text_.Assign(path.c_str()); }
  const wchar_t* get() { return text_.GetWide(); }

 private:
  CString text_;
};

bool LoadText(ToneSetting& setting, TempDir& dir, const std::string& body) {
  const std::string path = dir.File("setting.ton");
  EXPECT_TRUE(WriteAll(path, kDeclaration + body));
  WidePath wide(path);
  return LoadToneSetting(setting, wide.get());
}

std::string SaveText(ToneSetting& setting, TempDir& dir) {
  const std::string path = dir.File("saved.ton");
  WidePath wide(path);
  EXPECT_TRUE(SaveToneSetting(setting, wide.get()));
  return ReadAll(path);
}

// Every field of a setting as one comparable text.
std::string Describe(const ToneSetting& setting) {
  std::string out = "fs=" + std::to_string(setting.sampling_frequency) +
                    " repeat=" + std::to_string(setting.repeat) +
                    " filter=" + std::to_string(setting.filter_on) +
                    " fade=" + std::to_string(setting.fade) +
                    " total=" + std::to_string(setting.pattern_total) + " steps:";
  for (const PatternStep* s = setting.patterns; s != nullptr; s = s->next) {
    out += " " + std::to_string(s->on_off) + "/" + std::to_string(s->time) + "/" +
           std::to_string(s->is_fade);
  }
  out += " tones:";
  for (const ToneEntry* t = setting.tones; t != nullptr; t = t->next) {
    out += " " + std::to_string(t->type) + "/" + std::to_string(t->frequency) + "/" +
           std::to_string(t->phase) + "/" + std::to_string(t->start_time) + "/" +
           std::to_string(t->end_time) + "/" + std::to_string(t->level);
  }
  return out;
}

const char kExampleDescription[] =
    "fs=8000 repeat=1 filter=0 fade=400 total=1000 steps: 1/1000/0 tones: 0/1000/0/0/-1/100";

void MakeExample(ToneSetting& setting) {
  AddStep(setting, 1, 1000, 0);
  AddTone(setting, 0, 1000, 0, 0, -1, 100);
}

TEST(ToneFileExample, SavedBytesMatchTheReferenceFile) {
  const std::string reference = ReadAll(TestDataPath("ton/example.ton"));
  ASSERT_EQ(reference.size(), 390u);
  TempDir dir;
  ToneSetting setting;
  MakeExample(setting);
  EXPECT_EQ(SaveText(setting, dir), reference);
}

TEST(ToneFileExample, ReferenceFileLoads) {
  ToneSetting setting;
  setting.repeat = 9;
  CString path;
  path.Assign(TestDataPath("ton/example.ton").c_str());
  ASSERT_TRUE(LoadToneSetting(setting, path.GetWide()));
  EXPECT_EQ(Describe(setting), kExampleDescription);
  EXPECT_EQ(setting.path, TestDataPath("ton/example.ton"));
}

TEST(ToneFileExample, NoStepsAndAFadeChangeTheLayout) {
  TempDir dir;
  ToneSetting setting;
  AddTone(setting, 0, 1000, 0, 0, -1, 100);
  setting.fade = 200;
  EXPECT_EQ(SaveText(setting, dir),
            kDeclaration +
                "<sampling_frequency>8000</sampling_frequency>\r\n<repeat>1</repeat>\r\n"
                "<filter_on>0</filter_on>\r\n<fade>200</fade>\r\n<patterns/>\r\n"
                "<tones><tone><type>0</type>\r\n<frequency>1000</frequency>\r\n<phase>0</phase>\r\n"
                "<start_time>0</start_time>\r\n<end_time>-1</end_time>\r\n<level>100</level>\r\n"
                "</tone>\r\n</tones>\r\n");
  ToneSetting empty;
  EXPECT_EQ(SaveText(empty, dir),
            kDeclaration +
                "<sampling_frequency>8000</sampling_frequency>\r\n<repeat>1</repeat>\r\n"
                "<filter_on>0</filter_on>\r\n<patterns/>\r\n<tones/>\r\n");
}

TEST(ToneFileRead, MissingValuesTakeTheirDefaults) {
  const struct {
    const char* body;
    const char* expected;
  } cases[] = {
      {"<repeat>3</repeat>", "fs=8000 repeat=3 filter=0 fade=400 total=0 steps: tones:"},
      {"<sampling_frequency>44100</sampling_frequency>",
       "fs=44100 repeat=1 filter=0 fade=400 total=0 steps: tones:"},
      {"<fade>400</fade>", "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones:"},
      {"<fade>-3</fade>", "fs=8000 repeat=1 filter=0 fade=-3 total=0 steps: tones:"},
      {"<filter_on>5</filter_on>", "fs=8000 repeat=1 filter=1 fade=400 total=0 steps: tones:"},
      {"<filter_on>-1</filter_on>", "fs=8000 repeat=1 filter=1 fade=400 total=0 steps: tones:"},
      {"<filter_on>0</filter_on>", "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones:"},
      {"<patterns><pattern><time>250</time></pattern></patterns>",
       "fs=8000 repeat=1 filter=0 fade=400 total=250 steps: 1/250/0 tones:"},
      {"<patterns><pattern/></patterns>",
       "fs=8000 repeat=1 filter=0 fade=400 total=-1 steps: 1/-1/0 tones:"},
      {"<patterns><pattern><on_off>0</on_off><is_fade>7</is_fade></pattern></patterns>",
       "fs=8000 repeat=1 filter=0 fade=400 total=-1 steps: 0/-1/1 tones:"},
      {"<patterns><pattern><time>100</time></pattern><pattern><time>200</time></pattern>"
       "<pattern><time>300</time></pattern></patterns>",
       "fs=8000 repeat=1 filter=0 fade=400 total=600 steps: 1/100/0 1/200/0 1/300/0 tones:"},
      {"<tones><tone/></tones>",
       "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones: 0/1000/0/0/-1/100"},
      {"<tones><tone><frequency>1e3</frequency></tone><tone><frequency> </frequency></tone>"
       "<tone><frequency>+5</frequency></tone><tone><frequency>-5</frequency></tone></tones>",
       "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones: 0/1000/0/0/-1/100 "
       "0/1000/0/0/-1/100 0/1000/0/0/-1/100 0/-5/0/0/-1/100"},
      {"<tones><tone><level>50</level><type>3</type><end_time>20</end_time>"
       "<start_time>10</start_time><phase>-90</phase><frequency>440</frequency></tone></tones>",
       "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones: 3/440/-90/10/20/50"},
      // Only the places the layout names count.
      {"<setting><repeat>3</repeat><patterns><pattern><time>5</time></pattern></patterns></setting>",
       "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones:"},
      {"<patterns><pattern><time>1</time></pattern></patterns>"
       "<patterns><pattern><time>2</time></pattern></patterns>",
       "fs=8000 repeat=1 filter=0 fade=400 total=1 steps: 1/1/0 tones:"},
      {"<tones><tone><level>1</level></tone></tones><tones><tone><level>2</level></tone></tones>",
       "fs=8000 repeat=1 filter=0 fade=400 total=0 steps: tones: 0/1000/0/0/-1/1"},
      {"<pattern><time>5</time></pattern><tone/>"
       "<patterns><wrap><pattern/></wrap><tone/><step/><pattern><wrap><time>9</time></wrap></pattern></patterns>",
       "fs=8000 repeat=1 filter=0 fade=400 total=-1 steps: 1/-1/0 tones:"},
      {"<Repeat>3</Repeat><repeat>4</repeat><repeat>5</repeat>",
       "fs=8000 repeat=4 filter=0 fade=400 total=0 steps: tones:"},
      // Partly damaged files keep what was read before the damage.
      {"<repeat>3</repeat><fade>2>0</fade><tones><tone/></tones>",
       "fs=8000 repeat=3 filter=0 fade=400 total=0 steps: tones:"},
      {"<repeat>3</repeat><patterns><pattern><time>7</time></pattern><pattern><time>8</tim></pattern>",
       "fs=8000 repeat=3 filter=0 fade=400 total=6 steps: 1/7/0 1/-1/0 tones:"},
  };
  for (const auto& test : cases) {
    TempDir dir;
    ToneSetting setting;
    setting.repeat = 9;
    EXPECT_TRUE(LoadText(setting, dir, test.body)) << test.body;
    EXPECT_EQ(Describe(setting), test.expected) << test.body;
  }
}

TEST(ToneFileRead, LoadingAppendsToWhatIsThere) {
  TempDir dir;
  ToneSetting setting;
  AddStep(setting, 0, 40, 0);
  AddTone(setting, 1, 50, 0, 0, -1, 60);
  ASSERT_TRUE(LoadText(setting, dir, "<patterns><pattern><time>2</time></pattern></patterns><tones><tone/></tones>"));
  EXPECT_EQ(Describe(setting),
            "fs=8000 repeat=1 filter=0 fade=400 total=42 steps: 0/40/0 1/2/0 tones: 1/50/0/0/-1/60 "
            "0/1000/0/0/-1/100");
}

TEST(ToneFileRead, FailuresKeepTheClearedSettingButNameTheFile) {
  TempDir dir;
  const struct {
    const char* name;
    const char* bytes;  // null: the file does not exist
  } cases[] = {
      {"missing.ton", nullptr},
      {"empty.ton", ""},
      {"no_declaration.ton", "<repeat>3</repeat>"},
      {"no_element.ton", "<?xml version=\"1.0\" ?>\r\n"},
      {"bom.ton", "\xEF\xBB\xBF<?xml version=\"1.0\" ?>\r\n<repeat>3</repeat>"},
      {"first_broken.ton", "<?xml version=\"1.0\" ?>\r\n<repeat>3</rep>"},
  };
  for (const auto& test : cases) {
    const std::string path = dir.File(test.name);
    if (test.bytes != nullptr) {
      ASSERT_TRUE(WriteAll(path, test.bytes));
    }
    ToneSetting setting;
    setting.repeat = 9;
    WidePath wide(path);
    EXPECT_FALSE(LoadToneSetting(setting, wide.get())) << test.name;
    EXPECT_EQ(setting.path, path);
    EXPECT_EQ(Describe(setting), "fs=8000 repeat=9 filter=0 fade=400 total=0 steps: tones:");
  }
  ToneSetting setting;
  setting.path = "kept";
  EXPECT_FALSE(LoadToneSetting(setting, nullptr));
  EXPECT_EQ(setting.path, "kept");
}

TEST(ToneFileWrite, FlagsAreWrittenAsZeroOrOne) {
  TempDir dir;
  ToneSetting setting;
  setting.filter_on = 5;
  AddStep(setting, 1, 10, 3);
  std::string text = SaveText(setting, dir);
  EXPECT_NE(text.find("<filter_on>1</filter_on>\r\n"), std::string::npos);
  EXPECT_NE(text.find("<is_fade>1</is_fade>\r\n"), std::string::npos);
}

TEST(ToneFileWrite, DefaultFadeIsNeverWritten) {
  TempDir dir;
  ToneSetting setting;
  ASSERT_TRUE(LoadText(setting, dir, "<fade>400</fade><repeat>2</repeat>"));
  EXPECT_EQ(SaveText(setting, dir).find("fade"), std::string::npos);
  ToneSetting absent;
  ASSERT_TRUE(LoadText(absent, dir, "<repeat>2</repeat>"));
  EXPECT_EQ(absent.fade, 400);
  EXPECT_EQ(SaveText(absent, dir).find("fade"), std::string::npos);
}

TEST(ToneFileRoundTrip, EveryValueComesBackUnchanged) {
  TempDir dir;
  ToneSetting setting;
  setting.sampling_frequency = 96000;
  setting.repeat = -5;
  setting.filter_on = 1;
  setting.fade = INT_MIN;
  AddStep(setting, 0, 0, 0);
  AddStep(setting, 2, INT_MAX, 0);
  AddStep(setting, 3, 1, 1);
  AddStep(setting, 7, -300, 0);
  AddTone(setting, 3, INT_MAX, -90, 10, 20, 0);
  AddTone(setting, 9, INT_MIN, 720, -1, -2, 250);
  const std::string path = dir.File("round.ton");
  WidePath wide(path);
  ASSERT_TRUE(SaveToneSetting(setting, wide.get()));
  ToneSetting loaded;
  ASSERT_TRUE(LoadToneSetting(loaded, wide.get()));
  EXPECT_EQ(Describe(loaded), Describe(setting));
  // Saving what was loaded gives the same bytes.
  const std::string first = ReadAll(path);
  ASSERT_TRUE(SaveToneSetting(loaded, nullptr));
  EXPECT_EQ(ReadAll(path), first);
}

TEST(ToneFileWrite, PathHandling) {
  TempDir dir;
  ToneSetting never_saved;
  EXPECT_FALSE(SaveToneSetting(never_saved, nullptr));
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::u8path(dir.path())));

  ToneSetting setting;
  MakeExample(setting);
  const std::string path = dir.File("トーン.ton");
  WidePath wide(path);
  ASSERT_TRUE(SaveToneSetting(setting, wide.get()));
  EXPECT_EQ(setting.path, path);
  setting.repeat = 4;
  ASSERT_TRUE(SaveToneSetting(setting, nullptr));
  EXPECT_NE(ReadAll(path).find("<repeat>4</repeat>"), std::string::npos);

  // A failed save keeps the file that was there.
  const std::string before = ReadAll(path);
  WidePath unreachable(dir.File("トーン.ton") + "/inside.ton");
  EXPECT_FALSE(SaveToneSetting(setting, unreachable.get()));
  EXPECT_EQ(ReadAll(path), before);
}

// Large files load in linear time: tens of thousands of steps and tones.
TEST(ToneFileRead, ManyStepsAndTones) {
  std::string body = "<patterns>";
  for (int i = 0; i < 50000; ++i) body += "<pattern><time>2</time></pattern>";
  body += "</patterns><tones>";
  for (int i = 0; i < 50000; ++i) body += "<tone/>";
  body += "</tones>";
  TempDir dir;
  ToneSetting setting;
  ASSERT_TRUE(LoadText(setting, dir, body));
  EXPECT_EQ(setting.StepCount(), 50000);
  EXPECT_EQ(setting.ToneCount(), 50000);
  EXPECT_EQ(setting.pattern_total, 100000);
}

}  // namespace
