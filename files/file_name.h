#pragma once

#include <cstdint>

#include "files/string.h"

// Splits a path into directory, file name, base name and extension.
// The backslash and "/" are both separators.
class CFileName : public CObject {
 public:
  CString full_path;        // the whole path, unchanged
  int32_t name_index = -1;  // first non-blank byte of the file name, or -1
  int32_t ext_index = -1;   // first non-blank byte after the last dot, or -1
  CString directory;        // before the last separator, trimmed
  CString file_name;        // after the last separator, trimmed
  CString base_name;        // file name without the last dot and what follows
  CString extension;        // after the last dot of the file name, trimmed

  // False for a null path; otherwise stores and splits it.
  bool SetPath(const char* path);
  // Appends "." + ext unless full_path already ends in that extension
  // (compared ignoring ASCII case), then splits the new path.
  void SetExtension(const char* ext);

 private:
  void ClearParts();
};
