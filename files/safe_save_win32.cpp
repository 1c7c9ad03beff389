#include <windows.h>

#include <memory>

#include "files/code_page.h"
#include "files/safe_save_platform.h"

namespace safe_save_platform {

namespace {

// The path in the form the W calls take; null when there is none or memory runs out.
wchar_t* WidePath(const CString& path) {
  if (path.data == nullptr || path.length == 0) return nullptr;
  return ToWide(path.data, path.length, kCodePageUtf8);
}

}  // namespace

bool ReplaceTarget(const CString& source, const CString& target) {
  std::unique_ptr<wchar_t[]> from(WidePath(source));
  std::unique_ptr<wchar_t[]> to(WidePath(target));
  if (from == nullptr || to == nullptr) return false;
  return MoveFileExW(from.get(), to.get(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const CString& path) {
  std::unique_ptr<wchar_t[]> wide(WidePath(path));
  if (wide != nullptr) DeleteFileW(wide.get());
}

}  // namespace safe_save_platform
