#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "files/safe_save_platform.h"

namespace safe_save_platform {

namespace {

const char* NativePath(const CString& path) { return path.data != nullptr ? path.data : ""; }

// Makes the rename itself durable: the folder's entry is what changed.
void FlushFolderOf(const CString& path) {
  const char* full = NativePath(path);
  const char* slash = std::strrchr(full, '/');
  size_t length = slash == nullptr ? 1 : (slash == full ? 1 : static_cast<size_t>(slash - full));
  std::unique_ptr<char[]> folder(new (std::nothrow) char[length + 1]);
  if (folder == nullptr) return;
  if (slash == nullptr) {
    folder[0] = '.';
  } else {
    std::memcpy(folder.get(), slash == full ? "/" : full, length);
  }
  folder[length] = '\0';
  int descriptor = open(folder.get(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  fsync(descriptor);
  close(descriptor);
}

}  // namespace

bool ReplaceTarget(const CString& source, const CString& target) {
  if (std::rename(NativePath(source), NativePath(target)) != 0) return false;
  FlushFolderOf(target);
  return true;
}

void RemoveFile(const CString& path) { unlink(NativePath(path)); }

}  // namespace safe_save_platform
