#include "analysis/wave_header.h"

#include <cstdio>
#include <cstring>

#include "files/little_endian.h"

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagALaw = 6;
constexpr uint16_t kTagMuLaw = 7;
constexpr uint16_t kTagExtensible = 0xFFFE;
// Every sub-format GUID of WAVE_FORMAT_EXTENSIBLE that stands for a classic format tag is
// that tag followed by these bytes.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// The format chunk's fields read here, WAVE_FORMAT_EXTENSIBLE's sub-format included.
constexpr uint32_t kExtensibleFormatBytes = 40;
constexpr uint32_t kPlainFormatBytes = 16;

RecordingProblem Refuse(RecordingProblem problem, const std::string& text, std::string* reason) {
  *reason = text;
  return problem;
}

RecordingProblem NotWave(const char* why, std::string* reason) {
  return Refuse(RecordingProblem::NotWave, std::string("is not a WAV file (") + why + ")", reason);
}

RecordingProblem UnreadableFormat(uint16_t tag, uint16_t bits, std::string* reason) {
  char text[300];
  std::snprintf(text, sizeof text,
                "holds samples of a kind that is not read (format %u, %u bits per sample); WAV files of "
                "8-, 16-, 24- or 32-bit PCM, 32-bit float or G.711 u-law or A-law are read",
                static_cast<unsigned>(tag), static_cast<unsigned>(bits));
  return Refuse(RecordingProblem::UnreadableFormat, text, reason);
}

bool Readable(SampleCoding coding, uint16_t sample_bytes, uint16_t bits) {
  if (bits == 0 || bits > 8u * sample_bytes) return false;
  switch (coding) {
    case SampleCoding::Pcm: return sample_bytes >= 1 && sample_bytes <= 4;
    case SampleCoding::Float: return (sample_bytes == 4 || sample_bytes == 8) && bits == 8u * sample_bytes;
    case SampleCoding::MuLaw:
    case SampleCoding::ALaw: return sample_bytes == 1;
  }
  return false;
}

RecordingProblem ParseFormat(const uint8_t* format, uint32_t size, WaveHeader* header, std::string* reason) {
  if (size < kPlainFormatBytes) return NotWave("its format chunk is too short", reason);
  uint16_t tag = Get16(format);
  const uint16_t channels = Get16(format + 2);
  const uint16_t block_align = Get16(format + 12);
  const uint16_t bits = Get16(format + 14);
  if (tag == kTagExtensible) {
    if (size < kExtensibleFormatBytes || std::memcmp(format + 26, kSubFormatTail, sizeof kSubFormatTail) != 0) {
      return UnreadableFormat(tag, bits, reason);
    }
    tag = Get16(format + 24);
  }
  if (channels == 0 || block_align == 0 || block_align % channels != 0) {
    return NotWave("its format chunk states frames that do not hold its channels", reason);
  }
  switch (tag) {
    case kTagPcm: header->coding = SampleCoding::Pcm; break;
    case kTagFloat: header->coding = SampleCoding::Float; break;
    case kTagALaw: header->coding = SampleCoding::ALaw; break;
    case kTagMuLaw: header->coding = SampleCoding::MuLaw; break;
    default: return UnreadableFormat(tag, bits, reason);
  }
  header->channels = channels;
  header->sampling_frequency = Get32(format + 4);
  header->block_align = block_align;
  header->sample_bytes = static_cast<uint16_t>(block_align / channels);
  if (!Readable(header->coding, header->sample_bytes, bits)) return UnreadableFormat(tag, bits, reason);
  return RecordingProblem::None;
}

// The samples reach as far as the data chunk says when more chunks follow them; a file
// that stops early keeps what it has, and a size never filled in (0 or all ones, as
// streaming writers leave it) means "to the end of the file".
void PlaceData(uint64_t offset, uint32_t stated, uint64_t file_size, WaveHeader* header) {
  header->data_offset = offset;
  const uint64_t present = file_size - offset;
  header->data_bytes = present;
  if (stated == 0 || stated == UINT32_MAX) return;
  if (stated <= present) {
    header->data_bytes = stated;
  } else {
    header->cut_short = true;
    header->promised_bytes = stated;
  }
}

}  // namespace

RecordingProblem ReadWaveHeader(CFile& file, WaveHeader* header, std::string* reason) {
  *header = WaveHeader();
  uint8_t riff[12];
  if (file.size < sizeof riff || file.Read(riff, sizeof riff, 0) != sizeof riff ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return NotWave("no RIFF/WAVE header", reason);
  }
  bool have_format = false;
  uint64_t offset = sizeof riff;
  for (int chunk = 0; chunk < kMostChunksBeforeData; ++chunk) {
    uint8_t chunk_header[8];
    if (offset + sizeof chunk_header > file.size) {
      return NotWave(have_format ? "no data chunk" : "no format chunk", reason);
    }
    if (file.Read(chunk_header, sizeof chunk_header, offset) != sizeof chunk_header) {
      return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
    }
    const uint32_t size = Get32(chunk_header + 4);
    const uint64_t body = offset + sizeof chunk_header;
    if (std::memcmp(chunk_header, "data", 4) == 0) {
      if (!have_format) return NotWave("its samples come before their format chunk", reason);
      PlaceData(body, size, file.size, header);
      return RecordingProblem::None;
    }
    if (size > file.size - body) return NotWave("a chunk reaches past the end of the file", reason);
    if (std::memcmp(chunk_header, "fmt ", 4) == 0) {
      uint8_t format[kExtensibleFormatBytes] = {};
      const uint32_t wanted = size < sizeof format ? size : static_cast<uint32_t>(sizeof format);
      if (file.Read(format, wanted, body) != wanted) {
        return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
      }
      RecordingProblem problem = ParseFormat(format, wanted, header, reason);
      if (problem != RecordingProblem::None) return problem;
      have_format = true;
    }
    offset = body + size + (size & 1u);
  }
  return NotWave("no data chunk among its first chunks", reason);
}
