// The application manifest is embedded and takes effect: the loader binds the side-by-side
// common controls version 6 (visual styles) and reads the system DPI awareness from it.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "resources/resource_ids.h"
#include "tests/resources/win32_test_support.h"

namespace {

std::string ManifestText() {
  HMODULE module = sonaril_test::ResourceModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_APP_MANIFEST), RT_MANIFEST);
  if (found == nullptr) return std::string();
  const void* data = LockResource(LoadResource(module, found));
  if (data == nullptr) return std::string();
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

// A setting of the process's default activation context (built from the manifest), or
// "<none>" when the loader found no such setting.
std::wstring ProcessSetting(const wchar_t* name_space, const wchar_t* name) {
  wchar_t value[64] = {};
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, nullptr, name_space, name, value, 64, &written)) return L"<none>";
  return value;
}

TEST(AppManifest, IsEmbeddedUnderTheIdTheLoaderReads) {
  const std::string manifest = ManifestText();
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
}

TEST(AppManifest, BindsSideBySideCommonControlsVersionSix) {
  sonaril_test::RegisterCommonControls();
  HMODULE common_controls = GetModuleHandleW(L"comctl32.dll");
  ASSERT_NE(common_controls, nullptr);
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameW(common_controls, path, MAX_PATH), 0u);
  std::wstring lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  // Version 5 lives in the system folder; version 6 only in the side-by-side store.
  EXPECT_NE(lower.find(L"\\winsxs\\"), std::wstring::npos) << lower;
  EXPECT_NE(lower.find(L"common-controls"), std::wstring::npos) << lower;
}

TEST(AppManifest, DeclaresSystemDpiAwareness) {
  EXPECT_EQ(ProcessSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true");
  EXPECT_EQ(ProcessSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"system");
  EXPECT_TRUE(IsProcessDPIAware());
}

}  // namespace
