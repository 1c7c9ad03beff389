#include "files/file.h"

#include "files/file_platform.h"

namespace file_platform {

WriteCalls& CurrentWriteCalls() {
  static WriteCalls calls = {WriteBytes, CloseFile};
  return calls;
}

}  // namespace file_platform

CFile::~CFile() { CFile::Close(); }

bool CFile::IsOpen() const { return handle_ != file_platform::kNoHandle; }

void CFile::Close() { CFile::Finish(); }

bool CFile::Finish() {
  if (!IsOpen()) return false;
  const bool closed = file_platform::CurrentWriteCalls().close_file(handle_);
  handle_ = file_platform::kNoHandle;
  size = 0;
  return closed;
}

bool CFile::OpenRead(const CString& path) {
  if (IsOpen() || path.data == nullptr || path.length == 0) return false;
  file_path.Assign(path);
  intptr_t opened = file_platform::OpenForReading(file_path);
  if (opened == file_platform::kNoHandle) return false;
  uint64_t file_size = 0;
  if (!file_platform::GetFileSize(opened, &file_size)) {
    file_platform::CloseFile(opened);
    return false;
  }
  handle_ = opened;
  read_mode = 1;
  write_mode = 0;
  size = file_size;
  return true;
}

bool CFile::OpenRead(const wchar_t* path) {
  CString converted(path);
  return OpenRead(converted);
}

int CFile::OpenWrite(const CString& path, int overwrite) {
  if (IsOpen() || path.data == nullptr || path.length == 0) return -1;
  file_path.Assign(path);
  intptr_t opened = file_platform::kNoHandle;
  switch (file_platform::OpenForWriting(file_path, overwrite != 0, &opened)) {
    case file_platform::CreateResult::kCreated:
      break;
    case file_platform::CreateResult::kExists:
      return -2;
    case file_platform::CreateResult::kFailed:
      return -1;
  }
  handle_ = opened;
  read_mode = 0;
  write_mode = 1;
  size = 0;
  return 0;
}

int CFile::OpenWrite(const wchar_t* path, int overwrite) {
  CString converted(path);
  return OpenWrite(converted, overwrite);
}

uint32_t CFile::Read(void* buffer, uint32_t count, uint64_t offset) {
  if (!IsOpen() || (buffer == nullptr && count > 0)) return 0;
  if (offset != kCurrentPosition && !Seek(offset)) return 0;
  uint32_t done = 0;
  if (!file_platform::ReadBytes(handle_, buffer, count, &done)) return 0;
  return done;
}

uint32_t CFile::Write(const void* buffer, uint32_t count, uint64_t offset) {
  if (!IsOpen() || (buffer == nullptr && count > 0)) return 0;
  if (offset != kCurrentPosition && !Seek(offset)) return 0;
  uint32_t done = 0;
  bool written = file_platform::CurrentWriteCalls().write_bytes(handle_, buffer, count, &done);
  // Bytes that reached the file are counted even when the rest failed, so the
  // size never understates what is on disk.
  if (offset == kCurrentPosition) {
    size += done;
  } else {
    if (offset + done > size) size = offset + done;
    file_platform::SetPositionToEnd(handle_);
  }
  return written ? done : 0;
}

bool CFile::Seek(uint64_t offset) { return IsOpen() && file_platform::SetPosition(handle_, offset); }

int CFile::Flush() {
  if (!IsOpen()) return 0;
  file_platform::FlushFile(handle_);
  return 1;
}

int CFile::IsEnd() {
  uint64_t position = 0;
  if (!Tell(&position)) return 1;
  return position >= size ? 1 : 0;
}

bool CFile::Tell(uint64_t* position) {
  return IsOpen() && file_platform::GetPosition(handle_, position);
}
