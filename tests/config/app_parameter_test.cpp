// The product's own configuration: its fixed values per language, its resource
// ids and its three settings of the main window.
#include "config/app_parameter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/resource_name.h"
#include "tests/common/test_paths.h"
#include "tests/config/config_test_support.h"

namespace sonaril_test {
namespace {

constexpr wchar_t kEnglishTitle[] = L"Sonaril - Tone Generator";
constexpr wchar_t kJapaneseTitle[] = L"Sonaril - トーン生成ツール";
constexpr wchar_t kEnglishHelp[] = L"https://sonaril.example.com/en/Sonaril/help";
constexpr wchar_t kJapaneseHelp[] = L"https://sonaril.example.com/soft/Sonaril/help";

uintptr_t IdOf(const wchar_t* resource_name) { return reinterpret_cast<uintptr_t>(resource_name); }

TEST(AppParameterValues, VersionAndWindowClassNames) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  EXPECT_STREQ(config->GetVersion(), L"1.0.3.0");
  EXPECT_EQ(Text(config->main_class_name), "SONARIL MAIN WINDOW");
  EXPECT_EQ(Text(config->child_class_name), "SONARIL CHILD WINDOW");
}

TEST(AppParameterValues, OnlyLanguageOneIsJapanese) {
  struct Case {
    int32_t language;
    const wchar_t* title;
    uintptr_t menu;
    const wchar_t* help;
  };
  const Case cases[] = {
      {0, kEnglishTitle, 10014, kEnglishHelp},
      {1, kJapaneseTitle, 10013, kJapaneseHelp},
      {2, kEnglishTitle, 10014, kEnglishHelp},
      {-1, kEnglishTitle, 10014, kEnglishHelp},
  };
  CAppParameter config;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    EXPECT_STREQ(config.GetTitle(c.language), c.title);
    EXPECT_EQ(IdOf(config.GetMenuName(c.language)), c.menu);
    EXPECT_STREQ(config.GetHelpUrl(c.language), c.help);
  }
}

TEST(AppParameterValues, MenuPositionIsZeroForEveryName) {
  CAppParameter config;
  for (const wchar_t* name : {L"File", L"ファイル", L"", static_cast<const wchar_t*>(nullptr)}) {
    EXPECT_EQ(config.GetMenuPosition(name), 0);
  }
}

TEST(AppParameterValues, ResourceIdsOfTheTableComeBackUnchanged) {
  CAppParameter config;
  for (int32_t id : {10011, 10013, 10014, 20001, 20002, 20003, 20004, 20005}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(config.GetResourceId(id), MakeResourceName(static_cast<uint16_t>(id)));
    EXPECT_EQ(IdOf(config.GetResourceId(id)), static_cast<uintptr_t>(id));
  }
}

TEST(AppParameterValues, OtherResourceIdsGiveNull) {
  CAppParameter config;
  for (int32_t id : {10017, 0, -1, 10010, 10012, 10015, 20000, 20006, 10011 + 65536, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(config.GetResourceId(id), nullptr);
  }
}

TEST(AppParameterValues, OverridesAreReachedThroughTheBaseClass) {
  StartFolders folders;
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), std::string(kDeclaration) + "<config><language>1</language>\r\n</config>\r\n"));
  std::unique_ptr<CCommConfig> config(new CAppParameter);
  config->Startup();
  EXPECT_STREQ(config->GetVersion(), L"1.0.3.0");
  EXPECT_STREQ(config->GetTitle(1), kJapaneseTitle);
  EXPECT_EQ(Text(config->main_class_name), "SONARIL MAIN WINDOW");
  EXPECT_EQ(config->language, 1);
  EXPECT_EQ(static_cast<CAppParameter*>(config.get())->repeat, 1);
}

TEST(AppParameterSettings, NewConfigurationHasNoDeviceAndRepeatPlayOff) {
  CAppParameter config;
  EXPECT_EQ(Text(config.mon_device_name), "");
  EXPECT_EQ(Text(config.mon_device_id), "");
  EXPECT_EQ(config.repeat, 0);
}

TEST(AppParameterSettings, RepeatIsOffWithoutAFileAndOnWhenTheFileLacksIt) {
  StartFolders folders;
  EXPECT_EQ(folders.Start()->repeat, 0);
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), std::string(kDeclaration) + "<config><language>0</language>\r\n</config>\r\n"));
  EXPECT_EQ(folders.Start()->repeat, 1);
}

TEST(AppParameterSettings, ReadsDeviceAndRepeat) {
  struct Case {
    const char* name;
    std::string body;
    std::string device_name;
    std::string device_id;
    int32_t repeat;
  };
  const Case cases[] = {
      {"all three", "<mon_device_name>スピーカー (USB Audio)</mon_device_name><mon_device_id>{0.0.0.1}</mon_device_id><repeat>0</repeat>", "スピーカー (USB Audio)", "{0.0.0.1}", 0},
      {"empty elements", "<mon_device_name/><mon_device_id/><repeat>1</repeat>", "", "", 1},
      {"repeat is not a number", "<repeat>yes</repeat>", "", "", 1},
      {"repeat beyond 32 bits", "<repeat>4294967296</repeat>", "", "", 1},
      {"repeat keeps its value", "<repeat>5</repeat>", "", "", 5},
      {"first of two", "<repeat>0</repeat><repeat>1</repeat><mon_device_id>a</mon_device_id><mon_device_id>b</mon_device_id>", "", "a", 0},
      {"names are case-sensitive", "<Repeat>0</Repeat><MON_DEVICE_NAME>x</MON_DEVICE_NAME>", "", "", 1},
      {"escaped text", "<mon_device_name>A &amp; B &lt;2&gt;</mon_device_name>", "A & B <2>", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartFolders folders;
    ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), std::string(kDeclaration) + "<config>" + c.body + "</config>\r\n"));
    std::unique_ptr<CAppParameter> config = folders.SetUp();
    config->mon_device_name.Assign(L"old name");
    config->mon_device_id.Assign(L"old id");
    ASSERT_TRUE(config->Load());
    EXPECT_EQ(Text(config->mon_device_name), c.device_name);
    EXPECT_EQ(Text(config->mon_device_id), c.device_id);
    EXPECT_EQ(config->repeat, c.repeat);
  }
}

TEST(AppParameterSettings, FileWithoutConfigLeavesTheDeviceAndRepeatAlone) {
  StartFolders folders;
  ASSERT_TRUE(WriteAll(folders.WorkConfigFile(), std::string(kDeclaration) + "<settings><repeat>1</repeat></settings>\r\n"));
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  config->mon_device_name.Assign(L"Speakers");
  config->repeat = 0;
  EXPECT_TRUE(config->Load());
  EXPECT_EQ(Text(config->mon_device_name), "Speakers");
  EXPECT_EQ(config->repeat, 0);
}

TEST(AppParameterFileText, SavedFileEndsWithTheDeviceAndRepeat) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  config->temp_path.Assign(L"T");
  config->log_path.Assign(L"L");
  config->mon_device_name.Assign(L"Speakers (High Definition Audio)");
  config->repeat = 1;
  ASSERT_TRUE(config->Save());
  EXPECT_EQ(ReadAll(folders.ProgramConfigFile()),
            "<?xml version=\"1.0\" ?>\r\n"
            "<config><language>-1</language>\r\n"
            "<font_name/>\r\n"
            "<font_size>0</font_size>\r\n"
            "<temp_path>T</temp_path>\r\n"
            "<log_enabled>0</log_enabled>\r\n"
            "<log_path>L</log_path>\r\n"
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
            "<mon_device_name>Speakers (High Definition Audio)</mon_device_name>\r\n"
            "<mon_device_id/>\r\n"
            "<repeat>1</repeat>\r\n"
            "</config>\r\n");
}

TEST(AppParameterFileText, DeviceAndRepeatAreTheLastThreeChildrenAfterColors) {
  StartFolders folders;
  std::unique_ptr<CAppParameter> config = folders.SetUp();
  ASSERT_TRUE(config->Save());
  std::vector<std::string> names;
  CXml document;
  CString path;
  path.Assign(folders.ProgramConfigFile().c_str());
  ASSERT_TRUE(document.LoadDocument(path, [&names](XmlNode* first) {
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Text(*first->name), "config");
    EXPECT_EQ(first->next, nullptr);
    for (XmlNode* child = first->child; child != nullptr; child = child->next) names.push_back(Text(*child->name));
  }));
  const std::vector<std::string> expected = {"language",     "font_name",      "font_size", "temp_path",
                                             "log_enabled",  "log_path",       "view_toolbar",
                                             "view_statusbar", "colors",       "mon_device_name",
                                             "mon_device_id", "repeat"};
  EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace sonaril_test
