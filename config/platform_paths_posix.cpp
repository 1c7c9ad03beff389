#include "config/platform_paths.h"

#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>

namespace {

// Far beyond any real path; stops the growth on a system that keeps answering "too small".
constexpr size_t kMaximumPathBytes = size_t{1} << 20;

bool StoreBytes(CString* path, const char* bytes, size_t count) {
  path->Assign(bytes, static_cast<int32_t>(count));
  return path->data != nullptr;
}

}  // namespace

bool QueryExecutablePath(CString* path) {
  path->Clear();
  // readlink fills the buffer without a terminator and cuts silently, so a full
  // buffer means "try a larger one".
  for (size_t size = 4096; size <= kMaximumPathBytes; size *= 2) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) return false;
    ssize_t written = readlink("/proc/self/exe", buffer.get(), size);
    if (written <= 0) return false;
    if (static_cast<size_t>(written) < size) {
      return StoreBytes(path, buffer.get(), static_cast<size_t>(written));
    }
  }
  return false;
}

bool QueryWorkingDirectory(CString* path) {
  path->Clear();
  for (size_t size = 4096; size <= kMaximumPathBytes; size *= 2) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) return false;
    if (getcwd(buffer.get(), size) != nullptr) {
      size_t length = 0;
      while (buffer[length] != '\0') ++length;
      return StoreBytes(path, buffer.get(), length);
    }
    if (errno != ERANGE) return false;
  }
  return false;
}
