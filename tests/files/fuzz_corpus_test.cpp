// Every seed and every input the fuzzers ever found troublesome, through the real
// loaders in both builds: nothing may crash, and what loads must save and load back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/app_parameter.h"
#include "files/tone_file.h"
#include "files/wave_file.h"
#include "tests/common/test_paths.h"

namespace {

// The path in the wide form the loaders take; lives as long as the object.
class WidePath {
 public:
  explicit WidePath(const std::string& path) { text_.Assign(path.c_str()); }
  const wchar_t* get() { return text_.GetWide(); }

 private:
  CString text_;
};

std::string Describe(const ToneSetting& setting) {
  std::string out = std::to_string(setting.sampling_frequency) + " " + std::to_string(setting.repeat) +
                    " " + std::to_string(setting.filter_on) + " " + std::to_string(setting.fade) + " " +
                    std::to_string(setting.pattern_total);
  for (const PatternStep* s = setting.patterns; s != nullptr; s = s->next) {
    out += " s" + std::to_string(s->on_off) + "/" + std::to_string(s->time) + "/" + std::to_string(s->is_fade);
  }
  for (const ToneEntry* t = setting.tones; t != nullptr; t = t->next) {
    out += " t" + std::to_string(t->type) + "/" + std::to_string(t->frequency) + "/" +
           std::to_string(t->phase) + "/" + std::to_string(t->start_time) + "/" +
           std::to_string(t->end_time) + "/" + std::to_string(t->level);
  }
  return out;
}

TEST(FuzzCorpus, ToneFilesLoadAndRoundTrip) {
  const std::vector<std::string> files = sonaril_test::FuzzCorpusFiles("tone_file");
  ASSERT_FALSE(files.empty());
  sonaril_test::TempDir dir;
  WidePath saved(dir.File("saved.ton"));
  for (const std::string& file : files) {
    ToneSetting setting;
    WidePath input(file);
    if (!LoadToneSetting(setting, input.get())) continue;
    ASSERT_TRUE(SaveToneSetting(setting, saved.get())) << file;
    ToneSetting reloaded;
    ASSERT_TRUE(LoadToneSetting(reloaded, saved.get())) << file;
    EXPECT_EQ(Describe(reloaded), Describe(setting)) << file;
  }
}

// Nesting beyond the depth cap ends the parse there: the element after it is not read.
TEST(FuzzCorpus, DeepNestingLoadsWhatLiesAboveTheCap) {
  ToneSetting setting;
  WidePath input(sonaril_test::TestDataPath("fuzz/regressions/tone_file/deep_nesting.ton"));
  ASSERT_TRUE(LoadToneSetting(setting, input.get()));
  EXPECT_EQ(Describe(setting), "8000 1 0 400 0");
}

TEST(FuzzCorpus, WaveFilesOpenOrFailCleanly) {
  const std::vector<std::string> files = sonaril_test::FuzzCorpusFiles("wave_file");
  ASSERT_FALSE(files.empty());
  std::vector<uint8_t> block(1 << 16);
  for (const std::string& file : files) {
    CWaveFile wave;
    WidePath input(file);
    if (!wave.OpenMedia(input.get())) continue;
    wave.GetFormat();
    uint64_t total = 0;
    while (uint32_t got = wave.ReadNextBlock(block.data(), static_cast<uint32_t>(block.size()))) total += got;
    EXPECT_LE(total, wave.size) << file;
    wave.Close();
  }
}

TEST(FuzzCorpus, ConfigFilesLoadOrFailCleanly) {
  const std::vector<std::string> files = sonaril_test::FuzzCorpusFiles("config");
  ASSERT_FALSE(files.empty());
  for (const std::string& file : files) {
    CAppParameter config;
    config.ini_file.Assign(file.c_str());
    config.Load();
    EXPECT_GE(config.language, -1) << file;
  }
}

}  // namespace
