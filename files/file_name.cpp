#include "files/file_name.h"

#include <cstring>
#include <new>

namespace {

bool IsSeparator(char byte) { return byte == '\\' || byte == '/'; }

bool IsSpaceOrTab(char byte) { return byte == ' ' || byte == '\t'; }

char LowerAscii(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte; }

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
  for (; *a != 0 && *b != 0; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
  }
  return *a == *b;
}

// target := the trimmed part of source, or empty when the part lies outside it.
void AssignTrimmedPart(const CString& source, int32_t start, int32_t count, CString* target) {
  CString* part = source.Mid(start, count);
  if (part == nullptr) return;
  part->Trim();
  target->Assign(*part);
  delete part;
}

// First index from start on whose byte is neither space nor tab; -1 when none.
int32_t FirstNonBlank(const CString& text, int32_t start) {
  for (int32_t i = start < 0 ? 0 : start; i < text.length; ++i) {
    if (!IsSpaceOrTab(text.data[i])) return i;
  }
  return -1;
}

}  // namespace

void CFileName::ClearParts() {
  full_path.Clear();
  directory.Clear();
  file_name.Clear();
  base_name.Clear();
  extension.Clear();
  name_index = -1;
  ext_index = -1;
}

bool CFileName::SetPath(const char* path) {
  if (path == nullptr || std::strlen(path) >= INT32_MAX) return false;
  // Parts of an earlier path must not survive into this one.
  ClearParts();
  full_path.Assign(path);
  if (full_path.data == nullptr) return false;  // out of memory
  int32_t n = full_path.length;
  // Positions count from 1: position = index + 1.
  int32_t dot = -1;
  int32_t sep = n == 0 ? 0 : -1;
  for (int32_t i = 0; i < n; ++i) {
    char byte = full_path.data[i];
    if (byte == '.') {
      dot = i + 1;
    } else if (IsSeparator(byte)) {
      sep = i + 1;
      dot = -1;
    }
  }
  if (sep > 1) {
    AssignTrimmedPart(full_path, 0, sep - 1, &directory);
    AssignTrimmedPart(full_path, sep, n - sep, &file_name);
  }
  if (sep < 0) sep = 0;
  int32_t base_length = n - sep;
  if (dot > 0) {
    if (dot - sep > 1) AssignTrimmedPart(full_path, dot, n - dot, &extension);
    base_length = dot - sep - 1;
  }
  AssignTrimmedPart(full_path, sep, base_length, &base_name);
  name_index = FirstNonBlank(full_path, sep);
  ext_index = dot == -1 ? -1 : FirstNonBlank(full_path, dot);
  return true;
}

void CFileName::SetExtension(const char* ext) {
  if (full_path.data != nullptr && ext_index >= 0 && ext_index < full_path.length &&
      ext != nullptr && EqualsIgnoringAsciiCase(ext, full_path.data + ext_index)) {
    return;
  }
  size_t path_length = static_cast<size_t>(full_path.length);
  size_t ext_length = ext == nullptr ? 0 : std::strlen(ext);
  char* joined = new (std::nothrow) char[path_length + 1 + ext_length + 1];
  // Without memory the path stays as it was rather than being lost.
  if (joined == nullptr) return;
  if (path_length > 0) std::memcpy(joined, full_path.data, path_length);
  joined[path_length] = '.';
  if (ext_length > 0) std::memcpy(joined + path_length + 1, ext, ext_length);
  joined[path_length + 1 + ext_length] = 0;
  SetPath(joined);
  delete[] joined;
}
