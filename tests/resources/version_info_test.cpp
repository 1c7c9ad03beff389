// Both programs carry version information that names them and the product's version, the
// one the programs print: what Explorer's Properties > Details show for the file.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/product_version.h"
#include "tests/resources/win32_test_support.h"

namespace {

using sonaril_test::Utf16;

// The build hands over each program's path (see tests/resources/CMakeLists.txt).
std::wstring ProgramPath(const char* variable) {
  const char* path = std::getenv(variable);
  std::wstring wide = Utf16(path == nullptr ? "" : path);
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

std::vector<char> VersionBlock(const std::wstring& path) {
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) block.clear();
  return block;
}

std::wstring StringValue(std::vector<char>& block, const wchar_t* name) {
  const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
      value == nullptr) {
    return L"<missing>";
  }
  return value;
}

struct ProgramCase {
  const char* path_variable;
  const char* file_name;
  const char* description;
};

const ProgramCase kPrograms[] = {
    {"SONARIL_EXE", "Sonaril.exe", "Sonaril - Tone Generator"},
    {"SONARIL_CLI", "sonaril-cli.exe", "Sonaril command-line renderer"},
};

TEST(VersionInfo, EachProgramNamesItselfAndTheVersionItPrints) {
  unsigned major = 0, minor = 0, patch = 0, tweak = 0;
  ASSERT_EQ(std::sscanf(kProductVersion, "%u.%u.%u.%u", &major, &minor, &patch, &tweak), 4);
  for (const ProgramCase& program : kPrograms) {
    SCOPED_TRACE(program.file_name);
    std::vector<char> block = VersionBlock(ProgramPath(program.path_variable));
    ASSERT_FALSE(block.empty()) << "no version information";

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, (patch << 16) | tweak);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(StringValue(block, L"ProductName"), L"Sonaril");
    EXPECT_EQ(StringValue(block, L"ProductVersion"), kProductVersionWide);
    EXPECT_EQ(StringValue(block, L"FileVersion"), kProductVersionWide);
    EXPECT_EQ(StringValue(block, L"FileDescription"), Utf16(program.description));
    EXPECT_EQ(StringValue(block, L"OriginalFilename"), Utf16(program.file_name));
    EXPECT_EQ(StringValue(block, L"LegalCopyright").rfind(L"Copyright (C) ", 0), 0u);
    EXPECT_NE(StringValue(block, L"CompanyName"), L"<missing>");
  }
}

}  // namespace
