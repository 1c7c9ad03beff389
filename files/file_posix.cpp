#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "files/file_platform.h"

namespace file_platform {

namespace {

int Descriptor(intptr_t handle) { return static_cast<int>(handle); }

// POSIX file names are bytes; CString holds them as UTF-8 already.
const char* NativePath(const CString& path) { return path.data != nullptr ? path.data : ""; }

}  // namespace

intptr_t OpenForReading(CString& path) {
  int descriptor;
  do {
    descriptor = open(NativePath(path), O_RDONLY | O_CLOEXEC);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return kNoHandle;
  // Only regular files have a size and positions worth reading by offset.
  struct stat status;
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    return kNoHandle;
  }
  return descriptor;
}

CreateResult OpenForWriting(CString& path, bool replace, intptr_t* handle) {
  *handle = kNoHandle;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL);
  int descriptor;
  do {
    descriptor = open(NativePath(path), flags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return !replace && errno == EEXIST ? CreateResult::kExists : CreateResult::kFailed;
  *handle = descriptor;
  return CreateResult::kCreated;
}

bool CloseFile(intptr_t handle) {
  // A close interrupted by a signal has still released the descriptor: never retry it.
  return handle == kNoHandle || close(Descriptor(handle)) == 0 || errno == EINTR;
}

bool GetFileSize(intptr_t handle, uint64_t* size) {
  struct stat status;
  if (fstat(Descriptor(handle), &status) != 0 || status.st_size < 0) return false;
  *size = static_cast<uint64_t>(status.st_size);
  return true;
}

bool SetPosition(intptr_t handle, uint64_t offset) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
  return lseek(Descriptor(handle), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool SetPositionToEnd(intptr_t handle) { return lseek(Descriptor(handle), 0, SEEK_END) >= 0; }

bool GetPosition(intptr_t handle, uint64_t* position) {
  off_t current = lseek(Descriptor(handle), 0, SEEK_CUR);
  if (current < 0) return false;
  *position = static_cast<uint64_t>(current);
  return true;
}

bool ReadBytes(intptr_t handle, void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  char* out = static_cast<char*>(buffer);
  while (*done < count) {
    ssize_t got = read(Descriptor(handle), out + *done, count - *done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;  // end of file
    *done += static_cast<uint32_t>(got);
  }
  return true;
}

bool WriteBytes(intptr_t handle, const void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  const char* in = static_cast<const char*>(buffer);
  while (*done < count) {
    ssize_t put = write(Descriptor(handle), in + *done, count - *done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    *done += static_cast<uint32_t>(put);
  }
  return true;
}

bool FlushFile(intptr_t handle) { return fsync(Descriptor(handle)) == 0; }

}  // namespace file_platform
