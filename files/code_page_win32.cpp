#include <windows.h>

#include <cstring>
#include <new>

#include "files/code_page.h"

wchar_t* ToWide(const char* bytes, int32_t count, unsigned code_page) {
  if (bytes == nullptr) count = 0;
  int units = count == 0 ? 0 : MultiByteToWideChar(code_page, 0, bytes, count, nullptr, 0);
  // A failed measurement falls back to one unit per byte; the conversion below
  // then fills what it can and the zeroed rest terminates the text.
  if (units <= 0) units = count == -1 ? static_cast<int>(std::strlen(bytes)) + 1 : count;
  if (units < 0) units = 0;
  wchar_t* text = new (std::nothrow) wchar_t[static_cast<size_t>(units) + 1];
  if (text == nullptr) return nullptr;
  std::memset(text, 0, (static_cast<size_t>(units) + 1) * sizeof(wchar_t));
  if (count != 0) MultiByteToWideChar(code_page, 0, bytes, count, text, units + 1);
  return text;
}

char* ToMultiByte(const wchar_t* text, int32_t count, unsigned code_page) {
  if (text == nullptr) count = 0;
  int measured = count == 0 ? 0 : WideCharToMultiByte(code_page, 0, text, count, nullptr, 0, nullptr, nullptr);
  if (measured < 0) measured = 0;
  size_t size = static_cast<size_t>(measured) + 1;
  char* bytes = new (std::nothrow) char[size];
  if (bytes == nullptr) return nullptr;
  std::memset(bytes, 0, size);
  if (measured > 0) {
    WideCharToMultiByte(code_page, 0, text, count, bytes, static_cast<int>(size), nullptr, nullptr);
  }
  return bytes;
}
