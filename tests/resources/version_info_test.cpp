// Both programs carry version information naming them and the version they print: what
// Explorer's Properties > Details show for the file.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "config/product_version.h"
#include "tests/resources/win32_test_support.h"

namespace {

using sonaril_test::Utf16;

TEST(VersionInfo, EachProgramNamesItselfAndTheVersionItPrints) {
  struct Program {
    const char* path_variable;  // set by tests/resources/CMakeLists.txt
    const char* description;
  };
  const Program programs[] = {{"SONARIL_EXE", "Sonaril - Tone Generator"},
                              {"SONARIL_CLI", "Sonaril command-line renderer"}};
  for (const Program& program : programs) {
    const char* linux_path = std::getenv(program.path_variable);
    ASSERT_NE(linux_path, nullptr);
    const std::wstring path = Utf16(("Z:" + std::string(linux_path)).c_str());
    std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty()) << linux_path << " has no version information";
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"ProductName", L"Sonaril"},
        {L"ProductVersion", kProductVersionWide},
        {L"FileVersion", kProductVersionWide},
        {L"FileDescription", Utf16(program.description)},
    };
    for (const auto& [name, text] : expected) {
      wchar_t* value = nullptr;
      UINT length = 0;
      const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
      ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
          << linux_path << ": no " << name;
      EXPECT_EQ(value, text) << linux_path;
    }
  }
}

}  // namespace
