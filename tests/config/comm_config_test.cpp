// The generic configuration store: what a new configuration holds, where it
// finds its file, and the exact file it writes.
#include "config/comm_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/app_parameter.h"
#include "tests/common/debug_capture.h"
#include "tests/common/test_paths.h"
#include "tests/config/config_test_support.h"

namespace fs = std::filesystem;

namespace sonaril_test {
namespace {

TEST(CommConfigConstruction, EverySettingStartsWithItsInitialValue) {
  StartFolders folders;
  CCommConfig config;
  EXPECT_EQ(Text(config.main_class_name), "");
  EXPECT_EQ(Text(config.child_class_name), "");
  EXPECT_EQ(Text(config.current_path), folders.work());
  EXPECT_EQ(Text(config.ini_file), "");
  EXPECT_EQ(Text(config.ini_name), "");
  EXPECT_EQ(config.current_language, 0);
  EXPECT_EQ(config.language, -1);
  EXPECT_EQ(Text(config.font_name), "");
  EXPECT_EQ(config.font_size, 0);
  EXPECT_EQ(Text(config.temp_path), folders.work());
  EXPECT_EQ(config.log_enabled, 0);
  EXPECT_EQ(Text(config.log_path), folders.work());
  EXPECT_EQ(config.view_toolbar, 1);
  EXPECT_EQ(config.view_statusbar, 1);
}

TEST(CommConfigConstruction, ColourTablesHoldTheBuiltInColoursAndLabels) {
  CCommConfig config;
  ASSERT_EQ(config.color_count, 2);
  ASSERT_EQ(config.label_count, 2);
  struct Entry {
    uint32_t text;
    uint32_t background;
    const wchar_t* english;
    const wchar_t* japanese;
    int32_t flag;
  };
  const Entry expected[] = {
      {0x000000, 0xFFFFFF, L"Text Color (Normal)", L"通常のテキスト表示", 0},
      {0xC8C8C8, 0xFFFFFF, L"Line Color", L"罫線の色", 1},
  };
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(config.default_colors[i].text, expected[i].text);
    EXPECT_EQ(config.default_colors[i].background, expected[i].background);
    EXPECT_EQ(config.colors[i].text, expected[i].text);
    EXPECT_EQ(config.colors[i].background, expected[i].background);
    EXPECT_STREQ(config.color_labels[i].english, expected[i].english);
    EXPECT_STREQ(config.color_labels[i].japanese, expected[i].japanese);
    EXPECT_EQ(config.color_labels[i].flags[0], expected[i].flag);
    EXPECT_EQ(config.color_labels[i].flags[1], expected[i].flag);
  }
}

TEST(CommConfigConstruction, AppPathIsTheFolderOfTheRunningExecutable) {
  CCommConfig config;
  fs::path folder = fs::u8path(Text(config.app_path));
  ASSERT_FALSE(Text(config.app_path).empty());
  EXPECT_TRUE(fs::exists(folder / "config_tests") || fs::exists(folder / "config_tests.exe"))
      << Text(config.app_path);
  char last = Text(config.app_path).back();
  EXPECT_TRUE(last != '/' && last != '\\');
}

TEST(CommConfigConstruction, PrintsBothPathsToTheDebugOutput) {
  StartFolders folders;
  DebugCapture capture;
  CCommConfig config;
  EXPECT_TRUE(capture.Contains("app_path     = " + Text(config.app_path) + "\n"));
  EXPECT_TRUE(capture.Contains("current_path = " + folders.work() + "\n"));
}

TEST(CommConfigConstruction, WorkingDirectoryWithJapaneseNameIsKeptWhole) {
  TempDir root;
  std::string folder = root.File("設定 フォルダ");
  fs::create_directories(fs::u8path(folder));
  ScopedWorkingDirectory working(folder);
  ASSERT_TRUE(working.ok());
  CCommConfig config;
  EXPECT_TRUE(fs::equivalent(fs::u8path(Text(config.current_path)), fs::u8path(folder)));
  EXPECT_NE(Text(config.current_path).find("設定 フォルダ"), std::string::npos);
}

TEST(CommConfigConstruction, WorkingDirectoryLongerThanMaxPathIsNotCut) {
  TempDir root;
  std::string folder = root.path();
  while (folder.size() <= 400) folder = JoinPath(folder, std::string(40, 'd'));
  std::error_code error;
  fs::create_directories(fs::u8path(folder), error);
  ScopedWorkingDirectory working(folder);
  if (error || !working.ok()) GTEST_SKIP() << "this platform refuses long working directories";
  CCommConfig config;
  std::string tail = folder.substr(root.path().size());
  std::string path = Text(config.current_path);
  EXPECT_GT(path.size(), 400u);
  ASSERT_GE(path.size(), tail.size());
  EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
}

TEST(CommConfigProductValues, BaseClassAnswersNeutralValues) {
  CCommConfig config;
  EXPECT_STREQ(config.GetVersion(), L"0.0.0.0");
  for (int32_t language : {-1, 0, 1, 2}) {
    SCOPED_TRACE(language);
    EXPECT_STREQ(config.GetTitle(language), L"");
    EXPECT_STREQ(config.GetMenuName(language), L"");
    EXPECT_STREQ(config.GetHelpUrl(language), L"");
  }
  EXPECT_EQ(config.GetMenuPosition(L"File"), 0);
  EXPECT_EQ(config.GetMenuPosition(nullptr), 0);
  EXPECT_STREQ(config.GetResourceId(10011), L"");
}

TEST(CommConfigProductValues, BaseStartupChoosesNoFile) {
  CCommConfig config;
  config.Startup();
  EXPECT_EQ(Text(config.ini_file), "");
  EXPECT_FALSE(config.Load());
  EXPECT_FALSE(config.Save());
}

// Which file is chosen, by where config files exist at start-up.
TEST(CommConfigLocate, WorkingDirectoryFileWinsOverTheOneBesideTheExecutable) {
  struct Case {
    bool in_work;
    bool in_program;
    bool expect_work;
  };
  const Case cases[] = {
      {false, false, false},
      {false, true, false},
      {true, false, true},
      {true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "work " << c.in_work << ", program " << c.in_program);
    StartFolders folders;
    if (c.in_work) {
      ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), "work"));
    }
    if (c.in_program) {
      ASSERT_TRUE(WriteAll(folders.ProgramConfigFile(), "program"));
    }
    DebugCapture capture;
    std::unique_ptr<CAppParameter> config = folders.SetUp();
    std::string expected = c.expect_work ? folders.WorkConfigFile() : folders.ProgramConfigFile();
    EXPECT_EQ(Text(config->ini_file), expected);
    EXPECT_TRUE(capture.Contains("ini_file = " + expected + "\n"));
#ifdef _WIN32
    EXPECT_EQ(Text(config->ini_name), "\\Sonaril.ini");
#else
    EXPECT_EQ(Text(config->ini_name), "/Sonaril.ini");
#endif
  }
}

TEST(CommConfigLocate, FolderNamedLikeTheConfigFileIsNotTakenForIt) {
  StartFolders folders;
  fs::create_directories(fs::u8path(folders.WorkConfigFile()));
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  EXPECT_EQ(Text(config->ini_file), folders.ProgramConfigFile());
}

TEST(CommConfigLocate, FolderEndingInASeparatorGetsNoSecondOne) {
  StartFolders folders;
  struct Case {
    std::string folder;
    std::string ini_file;
  };
  const Case cases[] = {
      {folders.program() + "/", folders.program() + "/Sonaril.ini"},
      {folders.program() + "\\", folders.program() + "\\Sonaril.ini"},
      {"/", "/Sonaril.ini"},
      {"C:\\", "C:\\Sonaril.ini"},
      // Unknown folder: the name alone, which the platform resolves in the working directory.
      {"", "Sonaril.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    CCommConfig config;
    config.app_path.Assign(c.folder.c_str());
    config.LocateConfigFile();
    EXPECT_EQ(Text(config.ini_file), c.ini_file);
  }
}

TEST(CommConfigLocate, WithNoConfigFileTheFirstSaveCreatesItBesideTheExecutable) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> config = folders.Start();
  config->language = 0;
  ASSERT_TRUE(config->Save());
  EXPECT_TRUE(fs::exists(fs::u8path(folders.ProgramConfigFile())));
  EXPECT_FALSE(fs::exists(fs::u8path(folders.WorkConfigFile())));
}

TEST(CommConfigLocate, ConfigFileInTheWorkingDirectoryIsReadAndWritten) {
  StartFolders folders;
  std::string program_file = std::string(kDeclaration) + "<config><language>0</language>\r\n</config>\r\n";
  ASSERT_TRUE(WriteAll(folders.ProgramConfigFile(), program_file));
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(),
                       std::string(kDeclaration) + "<config><language>1</language>\r\n</config>\r\n"));
  std::unique_ptr<CAppParameter> config = folders.Start();
  EXPECT_EQ(config->language, 1);
  config->font_name.Assign(L"Meiryo");
  ASSERT_TRUE(config->Save());
  EXPECT_NE(ReadAll(folders.WorkConfigFile()).find("<font_name>Meiryo</font_name>"), std::string::npos);
  EXPECT_EQ(ReadAll(folders.ProgramConfigFile()), program_file);
}

TEST(CommConfigLocate, SaveAfterTheWorkingDirectoryChangedWritesTheFileChosenAtStartUp) {
  StartFolders folders;
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), std::string(kDeclaration) + "<config/>\r\n"));
  std::unique_ptr<CAppParameter> config = folders.Start();
  TempDir elsewhere;
  ScopedWorkingDirectory moved(elsewhere.path());
  ASSERT_TRUE(moved.ok());
  config->language = 1;
  ASSERT_TRUE(config->Save());
  EXPECT_NE(ReadAll(folders.WorkConfigFile()).find("<language>1</language>"), std::string::npos);
  EXPECT_FALSE(fs::exists(fs::u8path(elsewhere.File("Sonaril.ini"))));
  EXPECT_FALSE(fs::exists(fs::u8path(folders.ProgramConfigFile())));
}

TEST(CommConfigLocate, JapaneseWorkingDirectoryRoundTrips) {
  TempDir root;
  std::string folder = root.File("音声テスト");
  fs::create_directories(fs::u8path(folder));
  ScopedWorkingDirectory working(folder);
  ASSERT_TRUE(working.ok());
  ASSERT_TRUE(WriteAll(JoinPath(fs::current_path().u8string(), "Sonaril.ini"),
                       std::string(kDeclaration) + "<config/>\r\n"));
  CAppParameter saved;
  saved.Startup();
  EXPECT_EQ(Text(saved.ini_file), JoinPath(fs::current_path().u8string(), "Sonaril.ini"));
  saved.font_name.Assign(L"ＭＳ ゴシック");
  ASSERT_TRUE(saved.Save());
  CAppParameter loaded;
  loaded.Startup();
  EXPECT_EQ(Text(loaded.font_name), "ＭＳ ゴシック");
}

// The exact text of a saved file, for the generic part alone.
TEST(CommConfigFileText, BaseClassWritesTheKeysAndColoursInOrder) {
  StartFolders folders;
  CCommConfig config;
  config.ini_file.Assign(folders.WorkConfigFile().c_str());
  config.language = 1;
  config.temp_path.Assign(L"C:\\temp");
  config.log_path.Assign(L"/var/log/a&b");
  ASSERT_TRUE(config.Save());
  EXPECT_EQ(ReadAll(folders.WorkConfigFile()),
            "<?xml version=\"1.0\" ?>\r\n"
            "<config><language>1</language>\r\n"
            "<font_name/>\r\n"
            "<font_size>0</font_size>\r\n"
            "<temp_path>C:\\temp</temp_path>\r\n"
            "<log_enabled>0</log_enabled>\r\n"
            "<log_path>/var/log/a&amp;b</log_path>\r\n"
            "<view_toolbar>1</view_toolbar>\r\n"
            "<view_statusbar>1</view_statusbar>\r\n"
            "<colors><color><index>0</index>\r\n"
            "<text>0</text>\r\n"
            "<background>16777215</background>\r\n"
            "</color>\r\n"
            "<color><index>1</index>\r\n"
            "<text>13158600</text>\r\n"
            "<background>16777215</background>\r\n"
            "</color>\r\n"
            "</colors>\r\n"
            "</config>\r\n");
}

TEST(CommConfigFileText, StoredLanguageIsWrittenNotTheLanguageOfTheRun) {
  StartFolders folders;
  CCommConfig config;
  config.ini_file.Assign(folders.WorkConfigFile().c_str());
  config.current_language = 1;
  ASSERT_TRUE(config.Save());
  EXPECT_NE(ReadAll(folders.WorkConfigFile()).find("<config><language>-1</language>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace sonaril_test
