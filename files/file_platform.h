#pragma once

// The operating system's side of CFile. Handles are opaque integers; -1 means
// none. Every call fails cleanly on a bad handle.
#include <cstdint>

#include "files/string.h"

namespace file_platform {

constexpr intptr_t kNoHandle = -1;

enum class CreateResult { kCreated, kExists, kFailed };

// Opens an existing file for reading (others may read too); kNoHandle on failure.
intptr_t OpenForReading(CString& path);
// Creates a file for writing (others may read). With replace an existing file
// is emptied; without it an existing file is left alone and kExists results.
CreateResult OpenForWriting(CString& path, bool replace, intptr_t* handle);
// False when the system reports an error on closing (a write it had accepted failed).
bool CloseFile(intptr_t handle);
bool GetFileSize(intptr_t handle, uint64_t* size);
bool SetPosition(intptr_t handle, uint64_t offset);
bool SetPositionToEnd(intptr_t handle);
bool GetPosition(intptr_t handle, uint64_t* position);
// Bytes transferred go to *done, also on failure.
bool ReadBytes(intptr_t handle, void* buffer, uint32_t count, uint32_t* done);
bool WriteBytes(intptr_t handle, const void* buffer, uint32_t count, uint32_t* done);
bool FlushFile(intptr_t handle);

// The calls that put written bytes on the disk, as CFile makes them. A test stands in for
// them to play a disk that refuses a late write or the close; the real calls are the
// default.
struct WriteCalls {
  bool (*write_bytes)(intptr_t handle, const void* buffer, uint32_t count, uint32_t* done);
  bool (*close_file)(intptr_t handle);
};
WriteCalls& CurrentWriteCalls();

}  // namespace file_platform
