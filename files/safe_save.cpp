#include "files/safe_save.h"

#include <cstring>
#include <memory>
#include <new>

#include "debug/debug_output.h"
#include "files/file_platform.h"
#include "files/safe_save_platform.h"

namespace {

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

bool SaveFileSafely(const CString& path, const void* bytes, uint32_t count) {
  if (path.data == nullptr || path.length == 0 || (bytes == nullptr && count > 0)) return false;
  CString target;
  target.Assign(path);
  const size_t suffix_length = sizeof(kSafeSaveSuffix) - 1;
  const size_t name_length = static_cast<size_t>(path.length) + suffix_length;
  std::unique_ptr<char[]> name(new (std::nothrow) char[name_length + 1]);
  if (name == nullptr) return false;
  std::memcpy(name.get(), path.data, static_cast<size_t>(path.length));
  std::memcpy(name.get() + path.length, kSafeSaveSuffix, suffix_length + 1);
  CString temporary;
  temporary.Assign(name.get(), -1);
  if (static_cast<size_t>(temporary.length) != name_length) return false;

  if (!WriteTemporary(temporary, bytes, count)) return false;
  if (!safe_save_platform::ReplaceTarget(temporary, target)) {
    ReportFailure(L"cannot replace", target);
    safe_save_platform::RemoveFile(temporary);
    return false;
  }
  return true;
}
