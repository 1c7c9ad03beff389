#include "files/xml_string.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "files/code_page.h"

CXmlString::~CXmlString() { delete[] buffer; }

void CXmlString::Append(const char* bytes, int32_t count) {
  if (bytes == nullptr || count <= 0) return;
  const int64_t needed = int64_t{length} + count + 1;
  if (needed >= capacity) {
    const int64_t grown = needed + 256;
    if (grown > INT32_MAX) {
      failed = true;
      return;
    }
    char* larger = new (std::nothrow) char[static_cast<size_t>(grown)];
    if (larger == nullptr) {
      failed = true;
      return;
    }
    if (length > 0) std::memcpy(larger, buffer, static_cast<size_t>(length));
    delete[] buffer;
    buffer = larger;
    capacity = static_cast<int32_t>(grown);
  }
  std::memcpy(buffer + length, bytes, static_cast<size_t>(count));
  length += count;
  buffer[length] = '\0';
}

void CXmlString::AppendWide(const wchar_t* text, int32_t count) {
  if (text == nullptr || count == 0) return;
  if (count < 0) count = static_cast<int32_t>(std::wcslen(text));
  if (count == 0) return;
  char* converted = ToMultiByte(text, count, code_page);
  if (converted == nullptr) {
    failed = true;
    return;
  }
  Append(converted, static_cast<int32_t>(std::strlen(converted)));
  delete[] converted;
}

char* CXmlString::Detach() {
  char* result = buffer;
  buffer = nullptr;
  capacity = 0;
  length = 0;
  return result;
}
