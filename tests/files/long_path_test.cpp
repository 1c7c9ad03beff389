// Paths past the classic limit take the extended-length form the wide file calls accept.
#include "files/long_path_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PathCase {
  const char* name;
  std::wstring given;
  std::wstring expected;
};

TEST(CallablePath, OnlyPathsPastTheClassicLimitChange) {
  const std::wstring folder = L"Z:\\tmp\\" + std::wstring(200, L'f');
  const std::wstring at_limit = folder + L"\\" + std::wstring(259 - folder.size() - 1, L'n');
  const std::wstring past_limit = at_limit + L"n";
  const std::wstring network = L"\\\\server\\share\\" + std::wstring(250, L'u');
  const PathCase cases[] = {
      {"short", L"C:\\tones\\a.ton", L"C:\\tones\\a.ton"},
      {"259 characters", at_limit, at_limit},
      {"260 characters", past_limit, L"\\\\?\\" + past_limit},
      {"forward slashes", L"Z:/tmp/" + std::wstring(260, L's'),
       L"\\\\?\\Z:\\tmp\\" + std::wstring(260, L's')},
      {"dots", folder + L"\\..\\" + std::wstring(60, L'd'),
       L"\\\\?\\Z:\\tmp\\" + std::wstring(60, L'd')},
      {"network", network, L"\\\\?\\UNC\\server\\share\\" + std::wstring(250, L'u')},
      {"already extended", L"\\\\?\\" + past_limit, L"\\\\?\\" + past_limit},
      {"empty", L"", L""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(CallablePath(c.given.c_str()), c.expected) << c.name;
  }
  EXPECT_EQ(CallablePath(nullptr), L"");
}

}  // namespace
