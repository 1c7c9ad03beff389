#include "files/long_path_win32.h"

#include <windows.h>

#include <cwchar>

std::wstring CallablePath(const wchar_t* path) {
  if (path == nullptr) return std::wstring();
  const std::wstring given(path);
  // Already extended-length ("\\?\") or a device ("\\.\"): left as it is.
  if (given.size() < MAX_PATH || given.compare(0, 4, L"\\\\?\\") == 0 ||
      given.compare(0, 4, L"\\\\.\\") == 0) {
    return given;
  }
  // The extended form is taken literally: it must be the full path with backslashes only.
  const DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
  if (needed == 0) return given;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path, needed, &full[0], nullptr);
  if (length == 0 || length >= needed) return given;
  full.resize(length);
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}
