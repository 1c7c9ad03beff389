// Loading and saving the config file: round trips, how each key is read, and
// damaged or unwritable files.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "config/app_parameter.h"
#include "tests/common/debug_capture.h"
#include "tests/common/test_paths.h"
#include "tests/config/config_test_support.h"

namespace fs = std::filesystem;

namespace sonaril_test {
namespace {

std::string ConfigFile(const std::string& children) {
  return std::string(kDeclaration) + "<config>" + children + "</config>\r\n";
}

// Every setting away from its initial value and from its default.
void SetEverySetting(CAppParameter* config, int32_t repeat) {
  config->language = 1;
  config->font_name.Assign(L"ＭＳ ゴシック");
  config->font_size = -12;
  config->temp_path.Assign(L"D:\\作業\\temp <1> & 'x' \"y\"");
  config->log_enabled = 1;
  config->log_path.Assign(L"/var/log/sonaril");
  config->view_toolbar = 0;
  config->view_statusbar = 0;
  config->colors[0] = {0x123456, 0xFEDCBA};
  config->colors[1] = {0x00FF00, 0x0000FF};
  config->mon_device_name.Assign(L"スピーカー (Realtek(R) Audio)");
  config->mon_device_id.Assign(L"{0.0.0.00000000}.{8d4c1f2a-1234}");
  config->repeat = repeat;
}

TEST(ConfigRoundTrip, EverySettingComesBack) {
  for (int32_t repeat : {0, 1}) {
    SCOPED_TRACE(repeat);
    StartFolders folders;
    std::unique_ptr<CAppParameter> saved = folders.SetUp();
    SetEverySetting(saved.get(), repeat);
    ASSERT_TRUE(saved->Save());
    std::unique_ptr<CAppParameter> loaded = folders.Start();
    EXPECT_EQ(SettingsOf(*loaded), SettingsOf(*saved));
    EXPECT_NE(SettingsOf(*loaded), SettingsOf(*folders.SetUp()));
  }
}

TEST(ConfigRoundTrip, ExtremeNumbersComeBack) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> saved = folders.SetUp();
  saved->language = 0;
  saved->font_size = INT32_MIN;
  saved->log_enabled = INT32_MAX;
  saved->colors[0] = {0xFFFFFFFF, 0x80000000};
  ASSERT_TRUE(saved->Save());
  std::unique_ptr<CAppParameter> loaded = folders.Start();
  EXPECT_EQ(SettingsOf(*loaded), SettingsOf(*saved));
}

TEST(ConfigRoundTrip, EmptyPathsComeBackAsTheWorkingDirectoryOfTheNextRun) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> saved = folders.SetUp();
  saved->temp_path.Clear();
  saved->log_path.Assign(L"");
  saved->font_name.Clear();
  ASSERT_TRUE(saved->Save());
  std::string text = ReadAll(folders.ProgramConfigFile());
  EXPECT_NE(text.find("<temp_path/>\r\n"), std::string::npos);
  EXPECT_NE(text.find("<log_path/>\r\n"), std::string::npos);
  std::unique_ptr<CAppParameter> loaded = folders.Start();
  EXPECT_EQ(Text(loaded->temp_path), folders.work());
  EXPECT_EQ(Text(loaded->log_path), folders.work());
  EXPECT_EQ(Text(loaded->font_name), "");
}

TEST(ConfigRoundTrip, SavingTwiceGivesTheSameFile) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  SetEverySetting(config.get(), 1);
  ASSERT_TRUE(config->Save());
  std::string first = ReadAll(folders.ProgramConfigFile());
  std::unique_ptr<CAppParameter> reloaded = folders.Start();
  ASSERT_TRUE(reloaded->Save());
  EXPECT_EQ(ReadAll(folders.ProgramConfigFile()), first);
}

TEST(ConfigRoundTrip, StoredFileLoadsAndIsWrittenBackByteForByte) {
  StartFolders folders;
  std::string stored = ReadAll(TestDataPath("config/every_key.ini"));
  ASSERT_FALSE(stored.empty());
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), stored));
  std::unique_ptr<CAppParameter> config = folders.Start();
  const Settings expected = {
      {"language", "1"},
      {"font_name", "ＭＳ ゴシック"},
      {"font_size", "-12"},
      {"temp_path", "D:\\作業\\temp"},
      {"log_enabled", "1"},
      {"log_path", "/var/log/sonaril"},
      {"view_toolbar", "0"},
      {"view_statusbar", "0"},
      {"color0.text", "1193046"},
      {"color0.background", "16702650"},
      {"color1.text", "65280"},
      {"color1.background", "255"},
      {"mon_device_name", "スピーカー (Realtek(R) Audio)"},
      {"mon_device_id", "{0.0.0.00000000}.{8d4c1f2a-1234}"},
      {"repeat", "1"},
  };
  EXPECT_EQ(SettingsOf(*config), expected);
  ASSERT_TRUE(config->Save());
  EXPECT_EQ(ReadAll(folders.WorkConfigFile()), stored);
}

// How each key of a file is read: the settings that differ from a freshly
// started configuration with no file.
TEST(ConfigReading, KeysAndTheirDefaults) {
  struct Case {
    const char* name;
    std::string file;
    Settings changes;  // "$work" stands for this run's working directory
  };
  const Case cases[] = {
      {"every key", ConfigFile("<language>0</language><font_name>Arial</font_name><font_size>14</font_size>"
                               "<temp_path>/tmp/a</temp_path><log_enabled>1</log_enabled><log_path>/log</log_path>"
                               "<view_toolbar>0</view_toolbar><view_statusbar>0</view_statusbar>"),
       {{"language", "0"}, {"font_name", "Arial"}, {"font_size", "14"}, {"temp_path", "/tmp/a"},
        {"log_enabled", "1"}, {"log_path", "/log"}, {"view_toolbar", "0"}, {"view_statusbar", "0"},
        {"repeat", "1"}}},
      {"language ja", ConfigFile("<language>ja</language>"), {{"repeat", "1"}}},
      {"language 1.5", ConfigFile("<language>1.5</language>"), {{"repeat", "1"}}},
      {"language +1", ConfigFile("<language>+1</language>"), {{"repeat", "1"}}},
      {"language -", ConfigFile("<language>-</language>"), {{"language", "0"}, {"repeat", "1"}}},
      {"blanks around a number", ConfigFile("<font_size>  -15  </font_size>"), {{"font_size", "-15"}, {"repeat", "1"}}},
      {"temp_path without text", ConfigFile("<temp_path/><log_path>/x</log_path>"),
       {{"temp_path", "$work"}, {"log_path", "/x"}, {"repeat", "1"}}},
      {"temp_path missing", ConfigFile("<log_path>/x</log_path>"), {{"log_path", "/x"}, {"repeat", "1"}}},
      {"first of two equal keys", ConfigFile("<language>1</language><language>0</language>"),
       {{"language", "1"}, {"repeat", "1"}}},
      {"order does not matter", ConfigFile("<repeat>0</repeat><view_toolbar>0</view_toolbar><language>1</language>"),
       {{"language", "1"}, {"view_toolbar", "0"}, {"repeat", "0"}}},
      {"key names are case-sensitive", ConfigFile("<Language>1</Language><FONT_SIZE>3</FONT_SIZE>"), {{"repeat", "1"}}},
      {"nested key is not a key", ConfigFile("<extra><language>1</language></extra>"), {{"repeat", "1"}}},
      {"config after another element", std::string(kDeclaration) + "<other><language>0</language></other>\r\n"
                                                                   "<config><language>1</language></config>\r\n",
       {{"language", "1"}, {"repeat", "1"}}},
      {"first of two config elements", std::string(kDeclaration) + "<config><language>1</language></config>\r\n"
                                                                   "<config><language>0</language></config>\r\n",
       {{"language", "1"}, {"repeat", "1"}}},
      {"comments and attributes", std::string(kDeclaration) + "<!-- saved by hand -->\r\n<config version=\"2\">"
                                                              "<!-- x --><language a='1'>1</language></config>\r\n",
       {{"language", "1"}, {"repeat", "1"}}},
      {"Shift_JIS file", std::string("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<config><font_name>") +
                             "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e" + "</font_name></config>\r\n",
       {{"font_name", "ＭＳ ゴシック"}, {"repeat", "1"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartFolders folders;
    Settings expected = SettingsOf(*folders.Start());
    for (const auto& change : c.changes) expected[change.first] = change.second == "$work" ? folders.work() : change.second;
    ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), c.file));
    std::unique_ptr<CAppParameter> config = folders.SetUp();
    EXPECT_TRUE(config->Load());
    EXPECT_EQ(SettingsOf(*config), expected);
  }
}

TEST(ConfigReading, Colours) {
  struct Case {
    const char* name;
    std::string colors;
    Settings changes;
  };
  const Case cases[] = {
      {"both entries", "<color><index>0</index><text>1</text><background>2</background></color>"
                       "<color><index>1</index><text>3</text><background>4</background></color>",
       {{"color0.text", "1"}, {"color0.background", "2"}, {"color1.text", "3"}, {"color1.background", "4"}}},
      {"index order does not matter", "<color><index>1</index><text>3</text><background>4</background></color>",
       {{"color1.text", "3"}, {"color1.background", "4"}}},
      {"index 5", "<color><index>5</index><text>1</text><background>2</background></color>", {}},
      {"index -1", "<color><index>-1</index><text>1</text><background>2</background></color>", {}},
      {"index 2", "<color><index>2</index><text>1</text><background>2</background></color>", {}},
      {"index beyond 32 bits that would wrap to 0", "<color><index>4294967296</index><text>1</text></color>", {}},
      {"index missing", "<color><text>1</text><background>2</background></color>", {}},
      {"index not a number", "<color><index>one</index><text>1</text></color>", {}},
      {"missing colour gives the built-in one",
       "<color><index>1</index><background>255</background></color>", {{"color1.background", "255"}}},
      {"colour not a number gives the built-in one", "<color><index>1</index><text>grey</text></color>", {}},
      {"later entry for the same index wins",
       "<color><index>0</index><text>7</text></color><color><index>0</index><text>8</text></color>",
       {{"color0.text", "8"}}},
      {"other elements are skipped", "<colour><index>0</index><text>7</text></colour><color><index>1</index><text>9</text></color>",
       {{"color1.text", "9"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartFolders folders;
    Settings expected = SettingsOf(*folders.Start());
    expected["repeat"] = "1";
    for (const auto& change : c.changes) expected[change.first] = change.second;
    ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), ConfigFile("<colors>" + c.colors + "</colors>")));
    EXPECT_EQ(SettingsOf(*folders.Start()), expected);
  }
}

// Damaged files: never a crash, and nothing is taken from them that is not
// read as usual up to the damage.
TEST(ConfigDamagedFile, LoadsAsTheDefaults) {
  struct Case {
    const char* name;
    std::string file;
    bool loads;
    Settings changes;
  };
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  const Case cases[] = {
      {"empty", "", false, {}},
      {"blanks only", " \r\n\t ", false, {}},
      {"garbage", garbage, false, {}},
      {"declaration only", kDeclaration, false, {}},
      {"no declaration", "<config><language>1</language></config>", false, {}},
      {"byte-order mark", "\xEF\xBB\xBF" + ConfigFile("<language>1</language>"), false, {}},
      {"unterminated declaration", "<?xml version=\"1.0\"", false, {}},
      {"wrong root", std::string(kDeclaration) + "<settings><language>1</language></settings>\r\n", true, {}},
      {"root in capitals", std::string(kDeclaration) + "<CONFIG><language>1</language></CONFIG>\r\n", true, {}},
      {"config without children", std::string(kDeclaration) + "<config>text</config>\r\n", true, {{"repeat", "1"}}},
      {"truncated inside a key", std::string(kDeclaration) + "<config><language>1</language>\r\n<font_size>12</font_size>\r\n<view_tool",
       true, {{"language", "1"}, {"font_size", "12"}, {"repeat", "1"}}},
      {"truncated inside a value", std::string(kDeclaration) + "<config><language>1</language>\r\n<font_name>Ari", true,
       {{"language", "1"}, {"repeat", "1"}}},
      {"mismatched end tag", std::string(kDeclaration) + "<config><language>1</language><font_name>x</font><repeat>0</repeat></config>",
       true, {{"language", "1"}, {"repeat", "1"}}},
      {"huge numbers", ConfigFile("<language>99999999999</language><font_size>-2147483649</font_size>"
                                  "<view_toolbar>4294967297</view_toolbar><repeat>18446744073709551617</repeat>"
                                  "<colors><color><index>0</index><text>99999999999999999999</text></color></colors>"),
       true, {{"repeat", "1"}}},
      {"largest numbers", ConfigFile("<font_size>-2147483648</font_size><log_enabled>2147483647</log_enabled>"),
       true, {{"font_size", "-2147483648"}, {"log_enabled", "2147483647"}, {"repeat", "1"}}},
      {"greater-than sign in a value", ConfigFile("<font_name>a>b</font_name><language>1</language>"), true, {{"repeat", "1"}}},
      {"very long value", ConfigFile("<font_name>" + std::string(100000, 'x') + "</font_name>"), true,
       {{"font_name", std::string(100000, 'x')}, {"repeat", "1"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartFolders folders;
    Settings expected = SettingsOf(*folders.Start());
    for (const auto& change : c.changes) expected[change.first] = change.second;
    ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), c.file));
    std::unique_ptr<CAppParameter> config = folders.SetUp();
    EXPECT_EQ(config->Load(), c.loads);
    EXPECT_EQ(SettingsOf(*config), expected);
  }
}

TEST(ConfigDamagedFile, DeepNestingDoesNotCrash) {
  StartFolders folders;
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<config>";
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), std::string(kDeclaration) + deep));
  std::unique_ptr<CAppParameter> config = folders.Start();
  EXPECT_EQ(config->language, -1);
}

TEST(ConfigDamagedFile, FailedLoadLeavesEverySettingAsItWas) {
  StartFolders folders;
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), "not a config file"));
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  SetEverySetting(config.get(), 1);
  Settings before = SettingsOf(*config);
  EXPECT_FALSE(config->Load());
  EXPECT_EQ(SettingsOf(*config), before);
}

TEST(ConfigDamagedFile, DamagedFileIsReplacedByTheNextSave) {
  StartFolders folders;
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), "\x01\x02 damaged"));
  std::unique_ptr<CAppParameter> config = folders.Start();
  config->language = 0;
  ASSERT_TRUE(config->Save());
  EXPECT_EQ(folders.Start()->language, 0);
}

// Saving where it cannot work: false, the settings stay, the old file stays.
TEST(ConfigUnwritable, SaveFailsAndKeepsTheSettings) {
  StartFolders folders;
  struct Case {
    const char* name;
    std::string ini_file;
  };
  fs::create_directories(fs::u8path(JoinPath(folders.work(), "a folder")));
  const Case cases[] = {
      {"missing folder", JoinPath(JoinPath(folders.work(), "no such folder"), "Sonaril.ini")},
      {"a folder in the way", JoinPath(folders.work(), "a folder")},
      {"empty path", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CAppParameter> config = folders.SetUp();
    config->ini_file.Assign(c.ini_file.c_str());
    SetEverySetting(config.get(), 1);
    Settings before = SettingsOf(*config);
    DebugCapture capture;
    EXPECT_FALSE(config->Save());
    EXPECT_TRUE(capture.Contains("CCommConfig::Save() error\n"));
    EXPECT_EQ(SettingsOf(*config), before);
  }
  EXPECT_TRUE(fs::is_directory(fs::u8path(JoinPath(folders.work(), "a folder"))));
}

// Stands for a configuration that runs out of memory while building the file.
class CIncompleteConfig : public CAppParameter {
 public:
  bool WriteConfig(CXml* document, XmlNode* holder) override {
    CAppParameter::WriteConfig(document, holder);
    return false;
  }
};

TEST(ConfigUnwritable, IncompleteSettingsNeverReplaceTheSavedFile) {
  StartFolders folders;
  std::string saved = ConfigFile("<language>1</language>");
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), saved));
  CIncompleteConfig config;
  config.Startup();
  config.language = 0;
  EXPECT_FALSE(config.Save());
  EXPECT_EQ(ReadAll(folders.WorkConfigFile()), saved);
}

TEST(ConfigUnwritable, NextChangeTriesAgain) {
  StartFolders folders;
  std::string folder = JoinPath(folders.work(), "later");
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  config->ini_file.Assign(JoinPath(folder, "Sonaril.ini").c_str());
  config->repeat = 1;
  EXPECT_FALSE(config->Save());
  fs::create_directories(fs::u8path(folder));
  EXPECT_TRUE(config->Save());
  EXPECT_NE(ReadAll(JoinPath(folder, "Sonaril.ini")).find("<repeat>1</repeat>"), std::string::npos);
}

}  // namespace
}  // namespace sonaril_test
