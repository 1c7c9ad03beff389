#pragma once

#include <cstdint>

#include "files/file.h"

// The sample format handed to CWaveFile::SetFormat and returned by GetFormat.
struct AudioFormat {
  int32_t kind;                 // 1 in every record the program makes
  int32_t descriptor[3];        // not interpreted; left zero
  uint8_t reserved[20];
  int32_t samples_per_second;
  int32_t channels;
  int32_t bits_per_sample;
  int32_t reserved_word;
};

// A file read block by block through two independent cursors, and written
// sample by sample.
class CMediaFile : public CFile {
 public:
  ~CMediaFile() override;

  // OpenWrite; 0 on success, 1 on failure.
  virtual int Create(const wchar_t* path, int overwrite);
  // Resets the block count and cursors, OpenRead, then SetBlock(block_size, block_ms).
  virtual bool Open(const wchar_t* path);
  // OpenRead only.
  virtual bool OpenMedia(const wchar_t* path);
  // OpenWrite's result: 0, -1 or -2.
  virtual int CreateOnly(const wchar_t* path, int overwrite);
  // Both cursors to 0 and the file pointer to the first data byte.
  virtual bool Rewind();
  virtual void SeekSeconds(uint32_t seconds);
  virtual bool WriteRaw(const void* bytes, uint32_t count);
  // The next block through cursor 0 into buffer; bytes read, 0 at the end or
  // on failure.
  virtual uint32_t ReadNextBlock(void* buffer, uint32_t capacity);
  // 0 for a null record, else 1.
  virtual int SetFormat(const AudioFormat* format);
  // The format record, owned by the file; null when the file has none.
  virtual const AudioFormat* GetFormat();
  // True when all bytes were written at the current position, or when the
  // file is in reading mode (nothing is written then).
  virtual bool WriteData(const void* bytes, uint32_t count);
  // The next block through cursor 1.
  virtual uint32_t ReadNextBlock1(void* buffer, uint32_t capacity);
  virtual uint32_t ReadAt(void* buffer, uint32_t count, uint64_t offset);
  virtual uint32_t GetPositionSeconds();
  virtual int IsDataEnd();
  // value: bytes per block here, block duration in ms for a WAV file;
  // second: stored as block_ms here, unused for a WAV file.
  virtual void SetBlock(int32_t value, int32_t second);
  virtual int32_t GetBlockSize();
  virtual int32_t GetBlockCount();
  // block_index1 for cursor 1, else block_index0.
  virtual int32_t GetBlockIndex(int cursor);

  int32_t block_size = 0;
  int32_t block_ms = 0;
  int32_t block_count = 0;
  int32_t block_index1 = 0;
  int32_t block_index0 = 0;

 protected:
  void ResetBlocks();
  uint32_t ReadBlock(int32_t* cursor, void* buffer, uint32_t capacity);
};
