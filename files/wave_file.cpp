#include "files/wave_file.h"

#include <cstring>

#include "debug/debug_output.h"
#include "files/little_endian.h"

namespace {

// A format chunk of any format but PCM ends in the size of its extension (here 0).
constexpr uint32_t kExtensionSizeBytes = 2;
constexpr uint32_t kLongestHeaderBytes = CWaveFile::kHeaderBytes + kExtensionSizeBytes;
// How much of a file is searched for the "data" chunk.
constexpr uint32_t kScanBytes = 1024;

bool HasId(const uint8_t* bytes, const char* id) { return std::memcmp(bytes, id, 4) == 0; }

uint32_t Low32Clamped(uint64_t value) { return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value); }

}  // namespace

CWaveFile::CWaveFile() {
  std::memset(&format, 0, sizeof(format));
  std::memset(header, 0, sizeof(header));
}

CWaveFile::~CWaveFile() { CWaveFile::Close(); }

uint16_t CWaveFile::BlockAlign() const { return Get16(header + 32); }

uint32_t CWaveFile::SamplesPerSecond() const { return Get32(header + 24); }

uint32_t CWaveFile::HeaderBytesFor(int32_t kind) {
  return kind == kWaveALaw || kind == kWaveMuLaw ? kLongestHeaderBytes : kHeaderBytes;
}

uint32_t CWaveFile::HeaderBytes() const { return HeaderBytesFor(Get16(header + 20)); }

void CWaveFile::Close() { CWaveFile::Finish(); }

bool CWaveFile::Finish() {
  if (!IsOpen()) return false;
  // A file whose header still says it holds no samples is not written, whatever went before.
  const bool header = read_mode != 0 || FinishHeader();
  const bool closed = CFile::Finish();
  return header && closed;
}

int CWaveFile::Create(const wchar_t* path, int overwrite) {
  uint16_t channels = static_cast<uint16_t>(format.channels);
  uint16_t bits = static_cast<uint16_t>(format.bits_per_sample);
  uint32_t samples_per_second = static_cast<uint32_t>(format.samples_per_second);
  uint16_t block_align = static_cast<uint16_t>((static_cast<uint32_t>(bits) * channels) / 8);
  uint64_t bytes_per_second = static_cast<uint64_t>(samples_per_second) * block_align;
  // A negative rate or one whose byte rate does not fit the header is as unusable as 0.
  const bool g711 = format.kind == kWaveALaw || format.kind == kWaveMuLaw;
  if (channels == 0 || format.samples_per_second <= 0 || block_align == 0 || bits == 0 ||
      bytes_per_second == 0 || bytes_per_second > UINT32_MAX || (g711 && bits != 8)) {
    return -1;
  }
  int opened = OpenWrite(path, overwrite);
  if (opened != 0) return opened;
  m_Offset = 0;
  frame_count = 0;
  std::memcpy(header, "RIFF", 4);
  std::memcpy(header + 8, "WAVE", 4);
  std::memcpy(header + 12, "fmt ", 4);
  Put32(header + 16, g711 ? 16 + kExtensionSizeBytes : 16);
  Put16(header + 20, static_cast<uint16_t>(g711 ? format.kind : 1));
  Put16(header + 22, channels);
  Put32(header + 24, samples_per_second);
  Put32(header + 28, static_cast<uint32_t>(bytes_per_second));
  Put16(header + 32, block_align);
  Put16(header + 34, bits);
  if (FinishHeader()) return 0;
  CFile::Close();
  return -1;
}

bool CWaveFile::FinishHeader() {
  // size counts the sample bytes written so far; the header's own bytes are
  // not samples, so size is restored after writing them.
  uint64_t data_bytes = size;
  uint16_t block_align = BlockAlign();
  uint32_t data_size = Low32Clamped(data_bytes);
  const uint32_t header_bytes = HeaderBytes();
  // Set rather than added to, so the result does not depend on how often the
  // header is written.
  Put32(header + 4, Low32Clamped(data_bytes + header_bytes - 8));
  uint8_t image[kLongestHeaderBytes];
  std::memcpy(image, header, sizeof(header));
  uint8_t* chunks = image + sizeof(header);
  if (header_bytes > kHeaderBytes) {
    Put16(chunks, 0);
    chunks += kExtensionSizeBytes;
  }
  std::memcpy(chunks, "fact", 4);
  Put32(chunks + 4, 4);
  Put32(chunks + 8, block_align == 0 ? 0 : data_size / block_align);
  std::memcpy(chunks + 12, "data", 4);
  Put32(chunks + 16, data_size);
  // Written at offset 0, which leaves the file pointer at the end: after
  // Create that is where the samples go.
  bool written = Write(image, header_bytes, 0) == header_bytes;
  size = data_bytes;
  return written;
}

bool CWaveFile::Open(const wchar_t* path) { return OpenMedia(path); }

bool CWaveFile::OpenMedia(const wchar_t* path) {
  ResetBlocks();
  if (!OpenRead(path)) return false;
  std::memset(&format, 0, sizeof(format));
  std::memset(header, 0, sizeof(header));
  m_Offset = 0;
  frame_count = 0;
  uint8_t scan[kScanBytes];
  uint32_t got = Read(scan, kScanBytes, 0);
  if (got < 12) {
    CFile::Close();
    return false;
  }
  std::memcpy(header, scan, got < sizeof(header) ? got : sizeof(header));
  if (!HasId(scan, "RIFF") || !HasId(scan + 8, "WAVE")) {
    CFile::Close();
    return false;
  }
  bool have_format = false;
  uint64_t offset = 12;
  while (offset + 8 < got) {
    const uint8_t* chunk = scan + offset;
    uint32_t chunk_size = Get32(chunk + 4);
    if (HasId(chunk, "fmt ")) {
      if (offset + 24 > got || chunk_size < 16) break;
      const uint8_t* fields = chunk + 8;
      if (Get16(fields + 2) == 0 || Get32(fields + 4) == 0 || Get32(fields + 8) == 0 ||
          Get16(fields + 12) == 0 || Get16(fields + 14) == 0) {
        break;
      }
      std::memcpy(header + 16, chunk + 4, 20);
      have_format = true;
      // The chunk's own size, not a fixed 16 bytes of fields: extension bytes
      // of a longer format chunk are skipped whatever their values.
      offset += 8 + static_cast<uint64_t>(chunk_size);
    } else if (HasId(chunk, "data")) {
      // Samples without a known format cannot be framed.
      if (have_format) m_Offset = static_cast<uint32_t>(offset + 8);
      break;
    } else {
      offset += 8 + static_cast<uint64_t>(chunk_size);
    }
    while (offset < got && scan[offset] == 0) ++offset;
  }
  if (m_Offset == 0) {
    CFile::Close();
    return false;
  }
  format.kind = 1;
  format.samples_per_second = static_cast<int32_t>(SamplesPerSecond());
  format.channels = Get16(header + 22);
  format.bits_per_sample = Get16(header + 34);
  size = Low32Clamped(size - m_Offset);
  frame_count = static_cast<uint32_t>(size / BlockAlign());
  SetBlock(block_ms, 0);
  Rewind();
  return true;
}

bool CWaveFile::Rewind() {
  block_index0 = 0;
  block_index1 = 0;
  return Seek(m_Offset);
}

void CWaveFile::SeekSeconds(uint32_t seconds) {
  if (!IsOpen()) return;
  uint64_t address = static_cast<uint64_t>(seconds) * BlockAlign() * SamplesPerSecond() + m_Offset;
  Seek(address);
  DebugPrint(L"adr = %d, m_Offset=%d, SamplesPerSec=%d\n", static_cast<int>(address), static_cast<int>(m_Offset),
             static_cast<int>(SamplesPerSecond()));
}

bool CWaveFile::WriteRaw(const void*, uint32_t) { return false; }

int CWaveFile::SetFormat(const AudioFormat* record) {
  if (record == nullptr) return 0;
  format = *record;
  return 1;
}

const AudioFormat* CWaveFile::GetFormat() { return &format; }

bool CWaveFile::WriteData(const void* bytes, uint32_t count) {
  if (!IsOpen()) return false;
  if (read_mode != 0) return true;
  // Samples beyond what the 32-bit sizes can describe would make a corrupt file.
  if (size + count > UINT32_MAX - (HeaderBytes() - 8)) return false;
  if (Write(bytes, count) != count) return false;
  uint16_t block_align = BlockAlign();
  if (block_align != 0) frame_count += count / block_align;
  return true;
}

uint32_t CWaveFile::GetPositionSeconds() {
  uint64_t position = 0;
  uint64_t bytes_per_second = static_cast<uint64_t>(BlockAlign()) * SamplesPerSecond();
  if (!Tell(&position) || position < m_Offset || bytes_per_second == 0) return 0;
  return Low32Clamped((position - m_Offset) / bytes_per_second);
}

int CWaveFile::IsDataEnd() {
  uint16_t block_align = BlockAlign();
  uint64_t position = 0;
  if (block_align == 0 || !Tell(&position)) return 1;
  return position >= m_Offset && (position - m_Offset) / block_align >= frame_count ? 1 : 0;
}

void CWaveFile::SetBlock(int32_t value, int32_t) {
  block_ms = value;
  int64_t frames_per_block = value <= 0 ? 0 : static_cast<int64_t>(value) * SamplesPerSecond() / 1000;
  int64_t bytes = frames_per_block * BlockAlign();
  // A block too large to count in bytes is no usable block.
  block_size = bytes > INT32_MAX ? 0 : static_cast<int32_t>(bytes);
  if (block_size == 0) return;
  int64_t count = (static_cast<int64_t>(frame_count) + frames_per_block - 1) / frames_per_block;
  block_count = count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
}
