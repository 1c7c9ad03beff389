#include "files/file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string BytesOf(const CString& text) {
  return text.data == nullptr ? std::string() : std::string(text.data, static_cast<size_t>(text.length));
}

// Replaces every backslash by "/": both separate alike.
std::string WithSlashes(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

struct Split {
  const char* path;
  const char* directory;
  const char* file_name;
  const char* base_name;
  const char* extension;
  int32_t name_index;
  int32_t ext_index;
};

void ExpectSplit(const Split& expected, const std::string& path, const std::string& directory) {
  CFileName name;
  ASSERT_TRUE(name.SetPath(path.c_str())) << path;
  EXPECT_EQ(BytesOf(name.full_path), path);
  EXPECT_EQ(BytesOf(name.directory), directory) << path;
  EXPECT_EQ(BytesOf(name.file_name), expected.file_name) << path;
  EXPECT_EQ(BytesOf(name.base_name), expected.base_name) << path;
  EXPECT_EQ(BytesOf(name.extension), expected.extension) << path;
  EXPECT_EQ(name.name_index, expected.name_index) << path;
  EXPECT_EQ(name.ext_index, expected.ext_index) << path;
}

TEST(CFileName, NewNameIsEmpty) {
  CFileName name;
  EXPECT_EQ(name.full_path.data, nullptr);
  EXPECT_EQ(name.directory.data, nullptr);
  EXPECT_EQ(name.file_name.data, nullptr);
  EXPECT_EQ(name.base_name.data, nullptr);
  EXPECT_EQ(name.extension.data, nullptr);
  EXPECT_EQ(name.name_index, -1);
  EXPECT_EQ(name.ext_index, -1);
}

TEST(CFileName, SetPathSplitsWithEitherSeparator) {
  const Split cases[] = {
      {"C:\\data\\ring.ton", "C:\\data", "ring.ton", "ring", "ton", 8, 13},
      {"C:\\ring.ton", "C:", "ring.ton", "ring", "ton", 3, 8},
      {"ring", "", "", "ring", "", 0, -1},
      {"ring.ton", "", "", "ring", "ton", 0, 5},
      {"C:\\data\\.ton", "C:\\data", ".ton", "", "", 8, 9},
      {"C:\\data\\", "C:\\data", "", "", "", -1, -1},
      {"C:\\dir\\ a.ton", "C:\\dir", "a.ton", "a", "ton", 8, 10},
      {"C:\\d.x\\ring", "C:\\d.x", "ring", "ring", "", 7, -1},
      {"C:\\data\\ring.", "C:\\data", "ring.", "ring", "", 8, -1},
      {"C:\\data\\a.b.ton", "C:\\data", "a.b.ton", "a.b", "ton", 8, 12},
      {"\\ring.ton", "", "", "ring", "ton", 1, 6},  // a separator only at the first byte
      {" C:\\x\\ r.ton ", "C:\\x", "r.ton", "r", "ton", 7, 9},
      {"", "", "", "", "", -1, -1},
      // Japanese names in UTF-8: "C:\データ\トーン.ton"
      {"C:\\\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\\\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3.ton",
       "C:\\\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF", "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3.ton",
       "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3", "ton", 13, 23},
  };
  for (const Split& c : cases) {
    ExpectSplit(c, c.path, c.directory);
    ExpectSplit(c, WithSlashes(c.path), WithSlashes(c.directory));
  }
}

TEST(CFileName, SetPathRefusesNull) {
  CFileName name;
  EXPECT_FALSE(name.SetPath(nullptr));
  EXPECT_EQ(name.full_path.data, nullptr);
}

TEST(CFileName, SetPathAgainForgetsTheEarlierParts) {
  CFileName name;
  ASSERT_TRUE(name.SetPath("C:\\data\\ring.ton"));
  ASSERT_TRUE(name.SetPath("tone"));
  EXPECT_EQ(BytesOf(name.full_path), "tone");
  EXPECT_EQ(name.directory.data, nullptr);
  EXPECT_EQ(name.file_name.data, nullptr);
  EXPECT_EQ(name.extension.data, nullptr);
  EXPECT_EQ(BytesOf(name.base_name), "tone");
  EXPECT_EQ(name.ext_index, -1);
}

TEST(CFileName, SetExtension) {
  struct Case {
    const char* path;  // null: never set
    const char* ext;
    const char* expected;
    const char* extension_after;
  };
  const Case cases[] = {
      {"C:\\x\\A.TON", "ton", "C:\\x\\A.TON", "TON"},
      {"C:\\x\\a.ton", "TON", "C:\\x\\a.ton", "ton"},
      {"C:\\x\\a", "ton", "C:\\x\\a.ton", "ton"},
      // A name that is only a dot and letters has no extension of its own.
      {"", "ton", ".ton", ""},
      {nullptr, "ton", ".ton", ""},
      {"tone.txt", "ton", "tone.txt.ton", "ton"},
      {"C:\\x\\a", nullptr, "C:\\x\\a.", ""},
      {"C:\\x\\a.to", "ton", "C:\\x\\a.to.ton", "ton"},
      {"C:\\x\\a.tone", "ton", "C:\\x\\a.tone.ton", "ton"},
      {"C:\\x.ton\\a", "ton", "C:\\x.ton\\a.ton", "ton"},
      {"C:\\x\\", "ton", "C:\\x\\.ton", ""},
  };
  for (const Case& c : cases) {
    CFileName name;
    if (c.path != nullptr) {
      ASSERT_TRUE(name.SetPath(c.path));
    }
    name.SetExtension(c.ext);
    EXPECT_EQ(BytesOf(name.full_path), c.expected) << (c.path ? c.path : "<never set>");
    EXPECT_EQ(BytesOf(name.extension), c.extension_after) << c.expected;
  }
}

TEST(CFileName, SetExtensionSplitsTheNewPath) {
  CFileName name;
  ASSERT_TRUE(name.SetPath("C:/tones/ring"));
  name.SetExtension("ton");
  EXPECT_EQ(BytesOf(name.directory), "C:/tones");
  EXPECT_EQ(BytesOf(name.file_name), "ring.ton");
  EXPECT_EQ(BytesOf(name.base_name), "ring");
  EXPECT_EQ(name.ext_index, 14);
}

}  // namespace
