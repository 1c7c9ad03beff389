#include "files/safe_save.h"

#include <cstdio>

#include "debug/debug_output.h"
#include "files/file_platform.h"
#include "files/safe_save_platform.h"

namespace {

// The longest file name (one path component) that Windows and Linux file systems take.
constexpr size_t kLongestFileName = 255;

void ReportFailure(const wchar_t* what, CString& path) {
  const wchar_t* wide = path.GetWide();
  DebugPrint(L"[SafeSave] %s: %s\n", what, wide != nullptr ? wide : L"");
}

// Creates, fills and flushes the temporary file; false when any step fails,
// and then nothing is left behind (a file it did not create is never removed).
bool WriteTemporary(CString& temporary, const void* bytes, uint32_t count) {
  intptr_t handle = file_platform::kNoHandle;
  if (file_platform::OpenForWriting(temporary, true, &handle) != file_platform::CreateResult::kCreated) {
    ReportFailure(L"cannot create", temporary);
    return false;
  }
  uint32_t written = 0;
  bool complete = file_platform::WriteBytes(handle, bytes, count, &written) && written == count;
  if (!complete) ReportFailure(L"cannot write", temporary);
  // The flush result counts: a write the disk later refuses must not replace the old file.
  if (complete && !file_platform::FlushFile(handle)) {
    ReportFailure(L"cannot flush", temporary);
    complete = false;
  }
  file_platform::CloseFile(handle);
  if (!complete) safe_save_platform::RemoveFile(temporary);
  return complete;
}

}  // namespace

std::string SafeSaveTemporaryPath(const std::string& path) {
  const size_t suffix_length = sizeof(kSafeSaveSuffix) - 1;
  const size_t separator = path.find_last_of("/\\");
  const size_t name_start = separator == std::string::npos ? 0 : separator + 1;
  if (path.size() - name_start + suffix_length <= kLongestFileName) return path + kSafeSaveSuffix;
  // FNV-1a: the same target always gets the same name, so a stale file is reused.
  uint32_t hash = 2166136261u;
  for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
  char short_name[16];
  std::snprintf(short_name, sizeof short_name, "~%08x", static_cast<unsigned>(hash));
  return path.substr(0, name_start) + short_name + kSafeSaveSuffix;
}

bool SaveFileSafely(const CString& path, const void* bytes, uint32_t count) {
  if (path.data == nullptr || path.length == 0 || (bytes == nullptr && count > 0)) return false;
  CString target;
  target.Assign(path);
  const std::string temporary_path =
      SafeSaveTemporaryPath(std::string(path.data, static_cast<size_t>(path.length)));
  CString temporary;
  temporary.Assign(temporary_path.c_str(), static_cast<int32_t>(temporary_path.size()));
  if (static_cast<size_t>(temporary.length) != temporary_path.size()) return false;

  if (!WriteTemporary(temporary, bytes, count)) return false;
  if (!safe_save_platform::ReplaceTarget(temporary, target)) {
    ReportFailure(L"cannot replace", target);
    safe_save_platform::RemoveFile(temporary);
    return false;
  }
  return true;
}
