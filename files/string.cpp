#include "files/string.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "files/code_page.h"

CObject::~CObject() = default;

namespace {

bool IsBlank(char byte) {
  return byte == 0 || byte == '\t' || byte == '\n' || byte == '\r' || byte == ' ';
}

}  // namespace

CString::CString(const wchar_t* text) { Assign(text); }

CString::~CString() { Clear(); }

void CString::Clear() {
  delete[] data;
  delete[] wide;
  data = nullptr;
  wide = nullptr;
  capacity = 0;
  length = 0;
}

void CString::Assign(const wchar_t* text, int32_t count) {
  if (text == nullptr || count == 0 || count < -1) {
    Clear();
    return;
  }
  if (count == -1) {
    size_t measured = std::wcslen(text);
    if (measured > INT32_MAX) {
      Clear();
      return;
    }
    count = static_cast<int32_t>(measured);
  }
  char* converted = ToMultiByte(text, count, kCodePageUtf8);
  // Cleared only after converting: text may be this string's own wide form.
  // A failed store then leaves an empty string rather than the old text.
  Clear();
  if (converted != nullptr && converted[0] != 0) Assign(converted, -1);
  delete[] converted;
}

void CString::Assign(const char* bytes, int32_t count) {
  if (bytes == nullptr) {
    Clear();
    return;
  }
  if (count == -1) {
    size_t measured = std::strlen(bytes);
    if (measured >= INT32_MAX) return;
    count = static_cast<int32_t>(measured);
  }
  if (count < 0) count = 0;
  if (count == INT32_MAX) return;  // the terminator would not fit
  if (data == nullptr || capacity < static_cast<int64_t>(count) + 1) {
    // bytes may not point into data here: they would run past its end.
    if (!Reserve(count + 1)) return;
  }
  if (count > 0) std::memmove(data, bytes, static_cast<size_t>(count));
  data[count] = 0;
  length = count;
}

void CString::Assign(const CString& other) {
  if (&other == this) return;
  if (other.data == nullptr) {
    Clear();
    return;
  }
  Assign(other.data, other.length);
}

const wchar_t* CString::GetWide() {
  delete[] wide;
  wide = nullptr;
  if (data == nullptr || length == 0) return nullptr;
  wide = ToWide(data, length, kCodePageUtf8);
  return wide;
}

bool CString::Equals(const wchar_t* text) const {
  CString other(text);
  if (data == nullptr) return other.data == nullptr;
  if (other.data == nullptr) return false;
  return std::strcmp(data, other.data) == 0;
}

CString* CString::Mid(int32_t start, int32_t count) const {
  if (data == nullptr || start < 0 || start >= length || count < 0) return nullptr;
  CString* part = new (std::nothrow) CString();
  if (part == nullptr) return nullptr;
  if (count > length - start) count = length - start;
  part->Assign(data + start, count);
  if (part->data == nullptr) {
    delete part;
    return nullptr;
  }
  return part;
}

void CString::Trim() {
  if (data == nullptr) return;
  int32_t first = 0;
  while (first < length && IsBlank(data[first])) ++first;
  int32_t last = length - 1;
  while (last >= first && IsBlank(data[last])) --last;
  if (first > last) {
    data[0] = 0;
    length = 0;
    return;
  }
  int32_t kept = last - first + 1;
  if (first > 0) std::memmove(data, data + first, static_cast<size_t>(kept));
  data[kept] = 0;
  length = kept;
}

bool CString::Reserve(int32_t needed) {
  if (needed < 0) return false;
  // Summed in 64 bits: a huge request must fail, not wrap into a small buffer.
  int64_t new_capacity = static_cast<int64_t>(needed) + capacity + 1;
  if (new_capacity > INT32_MAX) return false;
  char* grown = new (std::nothrow) char[static_cast<size_t>(new_capacity)];
  if (grown == nullptr) return false;
  std::memset(grown, 0, static_cast<size_t>(new_capacity));
  if (data != nullptr && length > 0) std::memcpy(grown, data, static_cast<size_t>(length));
  delete[] data;
  data = grown;
  capacity = static_cast<int32_t>(new_capacity);
  return true;
}
