#include <windows.h>

#include <memory>
#include <string>

#include "files/code_page.h"
#include "files/long_path_win32.h"
#include "files/safe_save_platform.h"

namespace safe_save_platform {

namespace {

// The path in the form the W calls take, long paths included; empty when there is none
// or memory runs out.
std::wstring WidePath(const CString& path) {
  if (path.data == nullptr || path.length == 0) return std::wstring();
  std::unique_ptr<wchar_t[]> wide(ToWide(path.data, path.length, kCodePageUtf8));
  return CallablePath(wide.get());
}

}  // namespace

bool ReplaceTarget(const CString& source, const CString& target) {
  const std::wstring from = WidePath(source);
  const std::wstring to = WidePath(target);
  if (from.empty() || to.empty()) return false;
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const CString& path) {
  const std::wstring wide = WidePath(path);
  if (!wide.empty()) DeleteFileW(wide.c_str());
}

}  // namespace safe_save_platform
