// Saving replaces a file only with a complete new one.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
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

// A fresh folder straight in the temporary root (under Wine through drive Z:), its name so
// short that a path of 259 characters can end in a file name of 245.
std::string MakeShortFolder() {
#ifdef _WIN32
  const fs::path root = "Z:\\tmp";
#else
  const fs::path root = "/tmp";
#endif
  std::random_device random;
  std::error_code error;
  for (int attempt = 0; attempt < 100 && fs::is_directory(root, error); ++attempt) {
    const fs::path folder = root / ("s" + std::to_string(10000 + random() % 90000));
    if (fs::create_directory(folder, error)) return folder.u8string();
  }
  return std::string();
}

// The classic limits are 259 characters for a path and 255 for a file name. A file that
// can be written in place can be saved safely, although the temporary file's suffix would
// cross a limit.
TEST(SafeSave, PathsOfTheLongestClassicLengthAreSaved) {
  const std::string root = MakeShortFolder();
  if (root.empty()) GTEST_SKIP() << "no temporary root for a short folder";
  const char separator = static_cast<char>(fs::path::preferred_separator);
  // With no folders between, the name is 245 characters or more; with three of 60, the
  // folders make most of the length.
  for (size_t depth : {0, 3}) {
    std::string folder = root;
    for (size_t i = 0; i < depth; ++i) folder += separator + std::string(60, 'a' + i);
    fs::create_directories(fs::u8path(folder));
    const std::string name = std::string(259 - folder.size() - 5, 'n') + ".ton";
    const std::string path = folder + separator + name;
    ASSERT_EQ(path.size(), 259u);
    EXPECT_TRUE(Save(path, "first")) << depth;
    EXPECT_TRUE(Save(path, "second")) << depth;
    EXPECT_EQ(ReadAll(path), "second") << depth;
    EXPECT_EQ(Listing(folder), std::set<std::string>{name}) << depth;
  }
  fs::remove_all(fs::u8path(root));
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
