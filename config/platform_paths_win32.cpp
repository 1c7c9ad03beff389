#include "config/platform_paths.h"

#include <windows.h>

#include <memory>
#include <new>

namespace {

// Paths longer than this are not paths any Windows call accepts.
constexpr DWORD kMaximumPathUnits = 32768;

bool StoreWide(CString* path, const wchar_t* text, DWORD units) {
  path->Assign(text, static_cast<int32_t>(units));
  return path->data != nullptr;
}

}  // namespace

bool QueryExecutablePath(CString* path) {
  path->Clear();
  // GetModuleFileNameW cuts the path to the buffer and says so only by filling it,
  // so grow the buffer until the answer fits.
  for (DWORD size = MAX_PATH; size <= 2 * kMaximumPathUnits; size *= 2) {
    std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[size]);
    if (!buffer) return false;
    DWORD written = GetModuleFileNameW(nullptr, buffer.get(), size);
    if (written == 0) return false;
    if (written < size) return StoreWide(path, buffer.get(), written);
  }
  return false;
}

bool QueryWorkingDirectory(CString* path) {
  path->Clear();
  DWORD size = MAX_PATH;
  // The first answer may be the size needed; the directory may change between the calls.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[size]);
    if (!buffer) return false;
    DWORD written = GetCurrentDirectoryW(size, buffer.get());
    if (written == 0) return false;
    if (written < size) return StoreWide(path, buffer.get(), written);
    if (written > 2 * kMaximumPathUnits) return false;
    size = written + 1;
  }
  return false;
}
