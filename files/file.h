#pragma once

#include <cstdint>

#include "files/string.h"

// Offset value meaning "at the current file position".
constexpr uint64_t kCurrentPosition = ~0ull;

// One open file with reads and writes at an offset or at the current position.
class CFile {
 public:
  CFile() = default;
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Closes the file; size becomes 0.
  virtual void Close();
  // Bytes read, 0 on failure. offset kCurrentPosition reads where the file
  // pointer stands.
  virtual uint32_t Read(void* buffer, uint32_t count, uint64_t offset = kCurrentPosition);
  // Bytes written, 0 on failure. At the current position size grows by the
  // bytes written; at an offset size becomes max(size, offset + written) and
  // the file pointer moves to the end of the file.
  virtual uint32_t Write(const void* buffer, uint32_t count, uint64_t offset = kCurrentPosition);
  // Moves the file pointer to an absolute offset; false when not open.
  virtual bool Seek(uint64_t offset);
  // 1 when open (buffers flushed), else 0.
  virtual int Flush();
  // 1 when not open or when the file pointer is at or beyond size.
  virtual int IsEnd();
  // Closes the file like Close, and tells whether what was written reached it: false when
  // the file was not open or the system reports a failure on closing.
  virtual bool Finish();

  // False when already open, the path is empty or the file cannot be opened.
  bool OpenRead(const CString& path);
  bool OpenRead(const wchar_t* path);
  // 0 on success; -1 when already open, the path is empty or creation with
  // overwrite failed; -2 when creating a new file failed (it usually exists).
  // overwrite non-zero replaces an existing file.
  int OpenWrite(const CString& path, int overwrite);
  int OpenWrite(const wchar_t* path, int overwrite);
  bool IsOpen() const;

  CString file_path;       // the path last opened
  int32_t read_mode = 1;   // 1 when closed or opened for reading
  int32_t write_mode = 0;  // 1 when opened for writing
  uint64_t size = 0;       // file size after OpenRead; bytes written after OpenWrite

 protected:
  // The current file position, or false when not open or it cannot be told.
  bool Tell(uint64_t* position);

 private:
  // Platform file handle (a HANDLE on Windows, a descriptor elsewhere);
  // -1 when closed.
  intptr_t handle_ = -1;
};
