#include "files/file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/test_paths.h"

namespace {

using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

// "トーン生成.ton" in UTF-8.
const char kJapaneseName[] = "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3\xE7\x94\x9F\xE6\x88\x90.ton";

void SetPath(CString* path, const std::string& utf8) { path->Assign(utf8.c_str()); }

std::wstring WidePath(const std::string& utf8) {
  CString path;
  SetPath(&path, utf8);
  const wchar_t* wide = path.GetWide();
  return wide == nullptr ? std::wstring() : std::wstring(wide);
}

std::string Pattern(size_t count, char first) {
  std::string bytes(count, 0);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(first + i % 26);
  return bytes;
}

TEST(CFile, ClosedFileRefusesEverything) {
  CFile file;
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.read_mode, 1);
  EXPECT_EQ(file.write_mode, 0);
  EXPECT_EQ(file.size, 0u);
  char buffer[4] = {};
  EXPECT_EQ(file.Read(buffer, 4), 0u);
  EXPECT_EQ(file.Read(buffer, 4, 0), 0u);
  EXPECT_EQ(file.Write(buffer, 4), 0u);
  EXPECT_EQ(file.Write(buffer, 4, 0), 0u);
  EXPECT_FALSE(file.Seek(0));
  EXPECT_EQ(file.Flush(), 0);
  EXPECT_EQ(file.IsEnd(), 1);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
}

TEST(CFile, OpenReadRefusals) {
  TempDir dir;
  CFile file;
  CString empty;
  EXPECT_FALSE(file.OpenRead(empty));
  empty.Assign("");
  EXPECT_FALSE(file.OpenRead(empty));
  EXPECT_FALSE(file.OpenRead(static_cast<const wchar_t*>(nullptr)));
  EXPECT_FALSE(file.OpenRead(WidePath(dir.File("missing.ton")).c_str()));
  EXPECT_FALSE(file.OpenRead(WidePath(dir.path()).c_str()));  // a folder is no file
  EXPECT_FALSE(file.IsOpen());

  ASSERT_TRUE(WriteAll(dir.File("a.ton"), "abc"));
  ASSERT_TRUE(file.OpenRead(WidePath(dir.File("a.ton")).c_str()));
  EXPECT_FALSE(file.OpenRead(WidePath(dir.File("a.ton")).c_str()));  // already open
  EXPECT_EQ(file.OpenWrite(WidePath(dir.File("b.ton")).c_str(), 1), -1);
  EXPECT_TRUE(file.IsOpen());
}

TEST(CFile, ReadsWholeAndAtOffsets) {
  TempDir dir;
  const std::string content = Pattern(300, 'a');
  ASSERT_TRUE(WriteAll(dir.File("r.bin"), content));
  CFile file;
  CString path;
  SetPath(&path, dir.File("r.bin"));
  ASSERT_TRUE(file.OpenRead(path));
  EXPECT_EQ(file.read_mode, 1);
  EXPECT_EQ(file.write_mode, 0);
  EXPECT_EQ(file.size, 300u);
  EXPECT_EQ(std::string(file.file_path.data), dir.File("r.bin"));

  char buffer[400] = {};
  EXPECT_EQ(file.Read(buffer, 10), 10u);
  EXPECT_EQ(std::string(buffer, 10), content.substr(0, 10));
  EXPECT_EQ(file.Read(buffer, 10), 10u);  // continues where the last read ended
  EXPECT_EQ(std::string(buffer, 10), content.substr(10, 10));
  EXPECT_EQ(file.Read(buffer, 5, 250), 5u);
  EXPECT_EQ(std::string(buffer, 5), content.substr(250, 5));
  EXPECT_EQ(file.IsEnd(), 0);
  EXPECT_EQ(file.Read(buffer, 400, 200), 100u);  // only what is there
  EXPECT_EQ(std::string(buffer, 100), content.substr(200));
  EXPECT_EQ(file.IsEnd(), 1);
  EXPECT_EQ(file.Read(buffer, 10), 0u);
  EXPECT_EQ(file.Read(buffer, 10, 1000), 0u);  // beyond the end
  EXPECT_FALSE(file.Seek(~0ull - 1));         // too far to address
  EXPECT_EQ(file.Read(buffer, 10, ~0ull - 1), 0u);
  EXPECT_EQ(file.Flush(), 1);

  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.size, 0u);
  ASSERT_TRUE(file.OpenRead(path));  // reopens after Close
}

TEST(CFile, CreateNewVersusReplace) {
  TempDir dir;
  const std::string name = dir.File("t.ton");
  ASSERT_TRUE(WriteAll(name, "existing content"));

  CFile keep;
  EXPECT_EQ(keep.OpenWrite(WidePath(name).c_str(), 0), -2);
  EXPECT_FALSE(keep.IsOpen());
  EXPECT_EQ(ReadAll(name), "existing content");

  CFile replace;
  EXPECT_EQ(replace.OpenWrite(WidePath(name).c_str(), 1), 0);
  EXPECT_EQ(replace.read_mode, 0);
  EXPECT_EQ(replace.write_mode, 1);
  EXPECT_EQ(replace.size, 0u);
  EXPECT_EQ(replace.Write("new", 3), 3u);
  replace.Close();
  EXPECT_EQ(ReadAll(name), "new");

  CFile fresh;
  EXPECT_EQ(fresh.OpenWrite(WidePath(dir.File("fresh.ton")).c_str(), 0), 0);
  EXPECT_EQ(fresh.OpenWrite(WidePath(dir.File("other.ton")).c_str(), 0), -1);  // already open
}

TEST(CFile, CreationFailuresThatAreNotAnExistingFile) {
  TempDir dir;
  const std::string in_missing_folder = dir.File("no-such-folder") + "/t.ton";
  CFile file;
  // Only an existing file answers -2: nothing here to ask about overwriting.
  EXPECT_EQ(file.OpenWrite(WidePath(in_missing_folder).c_str(), 0), -1);
  EXPECT_EQ(file.OpenWrite(WidePath(in_missing_folder).c_str(), 1), -1);
  CString empty;
  EXPECT_EQ(file.OpenWrite(empty, 0), -1);
  EXPECT_EQ(file.OpenWrite(static_cast<const wchar_t*>(nullptr), 1), -1);
  EXPECT_FALSE(file.IsOpen());
}

TEST(CFile, WriteAtAnOffsetMovesToTheEnd) {
  TempDir dir;
  const std::string name = dir.File("w.bin");
  CFile file;
  ASSERT_EQ(file.OpenWrite(WidePath(name).c_str(), 0), 0);
  const std::string first = Pattern(50, 'a');
  EXPECT_EQ(file.Write(first.data(), 50), 50u);
  EXPECT_EQ(file.size, 50u);

  EXPECT_EQ(file.Write("0123456789", 10, 100), 10u);
  EXPECT_EQ(file.size, 110u);
  EXPECT_EQ(file.IsEnd(), 1);
  EXPECT_EQ(file.Write("XYZ", 3), 3u);  // lands at the end, not after offset 110 by chance
  EXPECT_EQ(file.size, 113u);

  EXPECT_EQ(file.Write("mm", 2, 10), 2u);  // inside: the size stays
  EXPECT_EQ(file.size, 113u);
  EXPECT_EQ(file.Write("!", 1), 1u);  // again at the end
  EXPECT_EQ(file.size, 114u);
  file.Close();

  std::string expected = first;
  expected.replace(10, 2, "mm");
  expected += std::string(50, '\0') + "0123456789" + "XYZ" + "!";
  EXPECT_EQ(ReadAll(name), expected);
}

TEST(CFile, WriteAtTheCurrentPositionAddsToSize) {
  TempDir dir;
  CFile file;
  ASSERT_EQ(file.OpenWrite(WidePath(dir.File("c.bin")).c_str(), 0), 0);
  EXPECT_EQ(file.Write("abc", 3), 3u);
  EXPECT_EQ(file.Write("de", 2), 2u);
  EXPECT_EQ(file.Write("", 0), 0u);
  EXPECT_EQ(file.size, 5u);
  EXPECT_EQ(file.Flush(), 1);
  char buffer[1];
  EXPECT_EQ(file.Read(buffer, 1, 0), 0u);  // written files are not readable
  file.Close();
  EXPECT_EQ(ReadAll(dir.File("c.bin")), "abcde");
}

TEST(CFile, JapaneseFileNameOpensAndSaves) {
  TempDir dir;
  const std::string name = dir.File(kJapaneseName);
  {
    CFile file;
    CString path;
    SetPath(&path, name);
    ASSERT_EQ(file.OpenWrite(path, 0), 0);
    EXPECT_EQ(file.Write("<tone/>", 7), 7u);
  }
  EXPECT_EQ(ReadAll(name), "<tone/>");  // found under the same name by another API
  CFile file;
  ASSERT_TRUE(file.OpenRead(WidePath(name).c_str()));
  EXPECT_EQ(file.size, 7u);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 7, 0), 7u);
  EXPECT_STREQ(buffer, "<tone/>");
  EXPECT_EQ(file.OpenWrite(WidePath(name).c_str(), 0), -1);
  CFile second;
  EXPECT_EQ(second.OpenWrite(WidePath(name).c_str(), 0), -2);
}

}  // namespace
