#pragma once

#include <cstdint>

#include "files/media_file.h"

// A RIFF/WAVE file: created with a header ("fmt ", "fact" and "data" chunks)
// whose sizes are fixed at Close, or opened and parsed for block-wise reading.
// Written files hold linear PCM (format kind 1, a 56-byte header) or 8-bit
// G.711 (kind kWaveALaw or kWaveMuLaw, whose format chunk carries the
// extension size such formats need: a 58-byte header).
class CWaveFile : public CMediaFile {
 public:
  // Byte size of the header this class writes in front of PCM samples.
  static constexpr uint32_t kHeaderBytes = 56;
  // The WAVE format tags of G.711, as AudioFormat::kind.
  static constexpr int32_t kWaveALaw = 6;
  static constexpr int32_t kWaveMuLaw = 7;
  // Byte size of the header written in front of samples of the format kind.
  static uint32_t HeaderBytesFor(int32_t kind);

  CWaveFile();
  // Finishes the header of a file opened for writing, then closes it.
  ~CWaveFile() override;

  // Finishes the header when opened for writing, then closes.
  void Close() override;
  // The same, false when the header could not be completed or the close failed.
  bool Finish() override;
  // 0 on success; -1 for a bad format, an open or creation failure with
  // overwrite, or a failed header write; -2 when the file already exists and
  // overwrite is 0.
  int Create(const wchar_t* path, int overwrite) override;
  bool Open(const wchar_t* path) override;
  // Opens and parses a WAV file; false when it is not one this class reads.
  bool OpenMedia(const wchar_t* path) override;
  bool Rewind() override;
  void SeekSeconds(uint32_t seconds) override;
  bool WriteRaw(const void* bytes, uint32_t count) override;
  int SetFormat(const AudioFormat* format) override;
  const AudioFormat* GetFormat() override;
  // Also counts the frames of a full write.
  bool WriteData(const void* bytes, uint32_t count) override;
  uint32_t GetPositionSeconds() override;
  int IsDataEnd() override;
  // value: block duration in ms; second: unused.
  void SetBlock(int32_t value, int32_t second) override;

  AudioFormat format;
  uint8_t header[36];        // image of file bytes 0-35
  uint32_t m_Offset = 0;     // file offset of the first sample byte when reading
  uint32_t frame_count = 0;  // sample frames in the data chunk

 private:
  bool FinishHeader();
  uint32_t HeaderBytes() const;
  uint16_t BlockAlign() const;
  uint32_t SamplesPerSecond() const;
};
