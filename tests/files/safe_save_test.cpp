// Saving replaces a file only with a complete new one.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "files/safe_save.h"
#include "files/xml_document.h"
#include "tests/common/debug_capture.h"
#include "tests/common/test_paths.h"

namespace {

namespace fs = std::filesystem;
using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

std::set<std::string> Listing(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::u8path(folder))) {
    names.insert(entry.path().filename().u8string());
  }
  return names;
}

bool Save(const std::string& path, const std::string& bytes) {
  CString target;
  target.Assign(path.c_str());
  return SaveFileSafely(target, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

const std::string kOld = "old content that is longer than the new one\r\n";

TEST(SafeSave, CreatesANewFile) {
  TempDir dir;
  EXPECT_TRUE(Save(dir.File("new.ton"), "new"));
  EXPECT_EQ(ReadAll(dir.File("new.ton")), "new");
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"new.ton"});
}

TEST(SafeSave, ReplacesAnExistingFileWhole) {
  TempDir dir;
  ASSERT_TRUE(WriteAll(dir.File("a.ton"), kOld));
  EXPECT_TRUE(Save(dir.File("a.ton"), "new"));
  EXPECT_EQ(ReadAll(dir.File("a.ton")), "new");
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"a.ton"});
}

TEST(SafeSave, WritesAnEmptyFile) {
  TempDir dir;
  ASSERT_TRUE(WriteAll(dir.File("a.ton"), kOld));
  EXPECT_TRUE(Save(dir.File("a.ton"), ""));
  EXPECT_TRUE(fs::exists(fs::u8path(dir.File("a.ton"))));
  EXPECT_EQ(fs::file_size(fs::u8path(dir.File("a.ton"))), 0u);
}

TEST(SafeSave, TemporaryNamesStayWithinTheLongestFileName) {
  const std::string long_stem(240, 'n');  // with ".ton", a name of 244 characters
  struct Case {
    std::string path;
    std::string expected;  // "": a short name in the same folder
  } cases[] = {
      {"a.ton", "a.ton.saving.tmp"},
      {"/tones/a.ton", "/tones/a.ton.saving.tmp"},
      {"C:\\tones\\a.ton", "C:\\tones\\a.ton.saving.tmp"},
      {"/tones/" + long_stem + ".ton", "/tones/" + long_stem + ".ton.saving.tmp"},  // 255 exactly
      {"/tones/" + long_stem + "x.ton", ""},
      {"C:\\tones\\" + long_stem + "x.ton", ""},
      {long_stem + "x.ton", ""},
  };
  for (const Case& c : cases) {
    const std::string temporary = SafeSaveTemporaryPath(c.path);
    if (!c.expected.empty()) {
      EXPECT_EQ(temporary, c.expected);
      continue;
    }
    const size_t folder = c.path.find_last_of("/\\") + 1;  // 0 without a folder
    EXPECT_EQ(temporary.substr(0, folder), c.path.substr(0, folder)) << c.path;
    const std::string name = temporary.substr(folder);
    EXPECT_EQ(name.size(), 1 + 8 + std::string(kSafeSaveSuffix).size()) << name;
    EXPECT_EQ(name[0], '~') << name;
    EXPECT_EQ(name.substr(9), kSafeSaveSuffix) << name;
    EXPECT_EQ(SafeSaveTemporaryPath(c.path), temporary) << "the same target, the same name";
  }
  EXPECT_NE(SafeSaveTemporaryPath("/tones/" + long_stem + "x.ton"),
            SafeSaveTemporaryPath("/tones/" + long_stem + "y.ton"));
}

TEST(SafeSave, OverwritesAStaleTemporaryFile) {
  TempDir dir;
  ASSERT_TRUE(WriteAll(dir.File("a.ton"), kOld));
  ASSERT_TRUE(WriteAll(dir.File(std::string("a.ton") + kSafeSaveSuffix), "left by a crash"));
  EXPECT_TRUE(Save(dir.File("a.ton"), "new"));
  EXPECT_EQ(ReadAll(dir.File("a.ton")), "new");
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"a.ton"});
}

TEST(SafeSave, MissingFolderFailsAndCreatesNothing) {
  TempDir dir;
  sonaril_test::DebugCapture capture;
  EXPECT_FALSE(Save(dir.File("missing") + "/a.ton", "new"));
  EXPECT_TRUE(Listing(dir.path()).empty());
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].rfind("[SafeSave] cannot create: ", 0), 0u);
}

TEST(SafeSave, FolderThatIsAFileFails) {
  TempDir dir;
  ASSERT_TRUE(WriteAll(dir.File("plain"), kOld));
  EXPECT_FALSE(Save(dir.File("plain") + "/a.ton", "new"));
  EXPECT_EQ(ReadAll(dir.File("plain")), kOld);
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"plain"});
}

TEST(SafeSave, EmptyOrNullPathsFail) {
  CString empty;
  EXPECT_FALSE(SaveFileSafely(empty, "x", 1));
  empty.Assign("", 0);
  EXPECT_FALSE(SaveFileSafely(empty, "x", 1));
  TempDir dir;
  CString target;
  target.Assign(dir.File("a.ton").c_str());
  EXPECT_FALSE(SaveFileSafely(target, nullptr, 1));
  EXPECT_TRUE(Listing(dir.path()).empty());
}

// The temporary file cannot be made: the old file stays byte for byte.
TEST(SafeSave, UnwritableTemporaryLeavesTheOldFile) {
  TempDir dir;
  ASSERT_TRUE(WriteAll(dir.File("a.ton"), kOld));
  const std::string blocker = std::string("a.ton") + kSafeSaveSuffix;
  fs::create_directory(fs::u8path(dir.File(blocker)));
  EXPECT_FALSE(Save(dir.File("a.ton"), "new"));
  EXPECT_EQ(ReadAll(dir.File("a.ton")), kOld);
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"a.ton", blocker}));
  EXPECT_TRUE(fs::is_directory(fs::u8path(dir.File(blocker))));
}

// Everything was written but the target cannot be replaced: the temporary file goes.
TEST(SafeSave, UnreplaceableTargetRemovesTheTemporary) {
  TempDir dir;
  fs::create_directory(fs::u8path(dir.File("a.ton")));
  ASSERT_TRUE(WriteAll(dir.File("a.ton") + "/inside", kOld));
  EXPECT_FALSE(Save(dir.File("a.ton"), "new"));
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"a.ton"});
  EXPECT_EQ(ReadAll(dir.File("a.ton") + "/inside"), kOld);
}

// The classic limits are 259 characters for a path and 255 for a name. A file that can be
// written in place can be saved safely, although its temporary file must not carry a
// suffix past either limit.
TEST(SafeSave, PathsOfTheLongestClassicLengthAreSaved) {
  sonaril_test::ShortTempDir root;
  if (root.path().empty()) GTEST_SKIP() << "no temporary root for a short folder";
  const char separator = fs::path::preferred_separator == L'\\' ? '\\' : '/';
  struct Case {
    const char* name;
    size_t folder_depth;  // folders of 60 characters between the short folder and the file
  } cases[] = {{"long name", 0}, {"long folder", 3}};
  for (const Case& c : cases) {
    std::string folder = root.path();
    for (size_t depth = 0; depth < c.folder_depth; ++depth) {
      folder += separator + std::string(60, static_cast<char>('a' + depth));
    }
    ASSERT_TRUE(fs::create_directories(fs::u8path(folder)) || c.folder_depth == 0) << c.name;
    const size_t name_length = 259 - folder.size() - 1;
    ASSERT_LE(name_length, 255u) << c.name;
    const std::string name = std::string(name_length - 4, 'n') + ".ton";
    const std::string path = folder + separator + name;
    ASSERT_EQ(path.size(), 259u);
    EXPECT_TRUE(Save(path, "first")) << c.name;
    EXPECT_TRUE(Save(path, "second")) << c.name;
    EXPECT_EQ(ReadAll(path), "second") << c.name;
    EXPECT_EQ(Listing(folder), std::set<std::string>{name}) << c.name;
  }
}

#ifndef _WIN32
// A write that the system cuts short (here: the file size limit) fails the save.
TEST(SafeSave, WriteCutShortLeavesTheOldFile) {
  TempDir dir;
  ASSERT_TRUE(WriteAll(dir.File("a.ton"), kOld));
  struct rlimit saved_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction saved_action;
  ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &saved_action), 0);
  struct rlimit small = saved_limit;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool saved = Save(dir.File("a.ton"), std::string(5000, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved_limit);
  sigaction(SIGXFSZ, &saved_action, nullptr);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadAll(dir.File("a.ton")), kOld);
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"a.ton"});
}
#endif

// SaveDocument goes through the same safe path.
TEST(SafeSaveDocument, FailuresLeaveTheOldDocument) {
  TempDir dir;
  const std::string path = dir.File("doc.xml");
  ASSERT_TRUE(WriteAll(path, kOld));
  CString target;
  target.Assign(path.c_str());
  CXml xml;
  // Nothing to write.
  EXPECT_FALSE(xml.SaveDocument(target, [](XmlNode*) {}));
  EXPECT_FALSE(xml.SaveDocument(target, nullptr));
  // A tree the writer refuses.
  EXPECT_FALSE(xml.SaveDocument(target, [](XmlNode* holder) {
    XmlNode* node = CreateElement(L"a", nullptr);
    AppendChild(holder, node);
    for (int i = 0; i < kXmlMaxDepth; ++i) {
      node->child = CreateElement(L"a", nullptr);
      node = node->child;
    }
  }));
  // The temporary file cannot be made.
  fs::create_directory(fs::u8path(path + kSafeSaveSuffix));
  EXPECT_FALSE(xml.SaveDocument(target, [](XmlNode* holder) { AppendChild(holder, CreateElement(L"a", L"1")); }));
  EXPECT_EQ(ReadAll(path), kOld);
  fs::remove(fs::u8path(path + kSafeSaveSuffix));

  EXPECT_TRUE(xml.SaveDocument(target, [](XmlNode* holder) { AppendChild(holder, CreateElement(L"a", L"1")); }));
  EXPECT_EQ(ReadAll(path), "<?xml version=\"1.0\" ?>\r\n<a>1</a>\r\n");
  CString empty;
  EXPECT_FALSE(xml.SaveDocument(empty, [](XmlNode* holder) { AppendChild(holder, CreateElement(L"a", L"1")); }));
}

}  // namespace
