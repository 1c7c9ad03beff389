#include "files/media_file.h"

CMediaFile::~CMediaFile() { CFile::Close(); }

void CMediaFile::ResetBlocks() {
  block_count = 0;
  block_index0 = 0;
  block_index1 = 0;
}

int CMediaFile::Create(const wchar_t* path, int overwrite) { return OpenWrite(path, overwrite) == 0 ? 0 : 1; }

bool CMediaFile::Open(const wchar_t* path) {
  ResetBlocks();
  if (!OpenRead(path)) return false;
  SetBlock(block_size, block_ms);
  return true;
}

bool CMediaFile::OpenMedia(const wchar_t* path) { return OpenRead(path); }

int CMediaFile::CreateOnly(const wchar_t* path, int overwrite) { return OpenWrite(path, overwrite); }

bool CMediaFile::Rewind() {
  block_index0 = 0;
  block_index1 = 0;
  return Seek(0);
}

void CMediaFile::SeekSeconds(uint32_t) {}

bool CMediaFile::WriteRaw(const void* bytes, uint32_t count) { return WriteData(bytes, count); }

uint32_t CMediaFile::ReadNextBlock(void* buffer, uint32_t capacity) {
  return ReadBlock(&block_index0, buffer, capacity);
}

int CMediaFile::SetFormat(const AudioFormat*) { return 1; }

const AudioFormat* CMediaFile::GetFormat() { return nullptr; }

bool CMediaFile::WriteData(const void* bytes, uint32_t count) {
  // A closed file takes nothing: reporting success would hide lost samples.
  if (!IsOpen()) return false;
  if (read_mode != 0) return true;
  return Write(bytes, count) == count;
}

uint32_t CMediaFile::ReadNextBlock1(void* buffer, uint32_t capacity) {
  return ReadBlock(&block_index1, buffer, capacity);
}

uint32_t CMediaFile::ReadAt(void* buffer, uint32_t count, uint64_t offset) { return Read(buffer, count, offset); }

uint32_t CMediaFile::GetPositionSeconds() { return 0; }

int CMediaFile::IsDataEnd() {
  uint64_t position = 0;
  if (!Tell(&position)) return 1;
  return position >= size ? 1 : 0;
}

void CMediaFile::SetBlock(int32_t value, int32_t second) {
  block_size = value < 0 ? 0 : value;
  block_ms = second;
  if (block_size == 0) return;
  uint64_t count = (size + static_cast<uint64_t>(block_size) - 1) / static_cast<uint64_t>(block_size);
  block_count = count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
}

int32_t CMediaFile::GetBlockSize() { return block_size; }

int32_t CMediaFile::GetBlockCount() { return block_count; }

int32_t CMediaFile::GetBlockIndex(int cursor) { return cursor == 1 ? block_index1 : block_index0; }

uint32_t CMediaFile::ReadBlock(int32_t* cursor, void* buffer, uint32_t capacity) {
  if (read_mode != 1 || *cursor >= block_count || !IsOpen()) return 0;
  ++*cursor;
  uint32_t count = capacity;
  if (block_size > 0 && static_cast<uint32_t>(block_size) < capacity) count = static_cast<uint32_t>(block_size);
  return Read(buffer, count);
}
