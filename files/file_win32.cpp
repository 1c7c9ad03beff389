#include <windows.h>

#include "files/file_platform.h"
#include "files/long_path_win32.h"

namespace file_platform {

namespace {

HANDLE Native(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

intptr_t OpenForReading(CString& path) {
  const std::wstring callable = CallablePath(path.GetWide());
  HANDLE file = CreateFileW(callable.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_RANDOM_ACCESS, nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<intptr_t>(file);
}

CreateResult OpenForWriting(CString& path, bool replace, intptr_t* handle) {
  *handle = kNoHandle;
  const std::wstring callable = CallablePath(path.GetWide());
  HANDLE file = CreateFileW(callable.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            replace ? CREATE_ALWAYS : CREATE_NEW, FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    bool exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    return !replace && exists ? CreateResult::kExists : CreateResult::kFailed;
  }
  *handle = reinterpret_cast<intptr_t>(file);
  return CreateResult::kCreated;
}

bool CloseFile(intptr_t handle) {
  return handle == kNoHandle || CloseHandle(Native(handle)) != 0;
}

bool GetFileSize(intptr_t handle, uint64_t* size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(Native(handle), &value) || value.QuadPart < 0) return false;
  *size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool SetPosition(intptr_t handle, uint64_t offset) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(Native(handle), distance, nullptr, FILE_BEGIN) != 0;
}

bool SetPositionToEnd(intptr_t handle) {
  LARGE_INTEGER distance;
  distance.QuadPart = 0;
  return SetFilePointerEx(Native(handle), distance, nullptr, FILE_END) != 0;
}

bool GetPosition(intptr_t handle, uint64_t* position) {
  LARGE_INTEGER distance;
  distance.QuadPart = 0;
  LARGE_INTEGER current;
  if (!SetFilePointerEx(Native(handle), distance, &current, FILE_CURRENT)) return false;
  *position = static_cast<uint64_t>(current.QuadPart);
  return true;
}

bool ReadBytes(intptr_t handle, void* buffer, uint32_t count, uint32_t* done) {
  DWORD got = 0;
  BOOL ok = ReadFile(Native(handle), buffer, count, &got, nullptr);
  *done = got;
  return ok != 0;
}

bool WriteBytes(intptr_t handle, const void* buffer, uint32_t count, uint32_t* done) {
  DWORD put = 0;
  BOOL ok = WriteFile(Native(handle), buffer, count, &put, nullptr);
  *done = put;
  return ok != 0;
}

bool FlushFile(intptr_t handle) { return FlushFileBuffers(Native(handle)) != 0; }

}  // namespace file_platform
