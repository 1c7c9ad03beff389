#include "analysis/recording.h"

#include <cstdio>
#include <new>

#include "files/file.h"
#include "files/little_endian.h"
#include "files/wave_file.h"
#include "synth/g711_codec.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
// WAVE_FORMAT_EXTENSIBLE: the real format is in a sub-format GUID; with 16 bits it is PCM
// in every file recorders write.
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kReadChunkBytes = 1 << 16;

std::string Sentence(const char* format, long long first, long long second) {
  char text[200];
  std::snprintf(text, sizeof text, format, first, second);
  return text;
}

RecordingProblem Refuse(RecordingProblem problem, std::string text, std::string* reason) {
  *reason = std::move(text);
  return problem;
}

RecordingProblem CheckLength(uint64_t frames, int32_t rate, std::string* reason) {
  if (rate < kLowestRecordingRate || rate > kHighestRecordingRate) {
    return Refuse(RecordingProblem::UnusableRate,
                  "has a sampling frequency of " + std::to_string(rate) + " Hz; recordings from " +
                      std::to_string(kLowestRecordingRate) + " to " +
                      std::to_string(kHighestRecordingRate) + " Hz are analysed",
                  reason);
  }
  if (frames == 0) return Refuse(RecordingProblem::NoSamples, "holds no samples", reason);
  uint64_t seconds = frames / static_cast<uint64_t>(rate);
  if (seconds > static_cast<uint64_t>(kLongestRecordingSeconds)) {
    return Refuse(RecordingProblem::TooLong,
                  Sentence("is %lld min long; recordings up to %lld min are analysed",
                           static_cast<long long>(seconds / 60), kLongestRecordingSeconds / 60),
                  reason);
  }
  return RecordingProblem::None;
}

bool Allocate(std::vector<int16_t>* samples, uint64_t count) {
  try {
    samples->resize(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

RecordingProblem ReadWave(const wchar_t* path, Recording* recording, std::string* reason) {
  CWaveFile wave;
  if (!wave.OpenMedia(path)) {
    return Refuse(RecordingProblem::NotWave,
                  "is not a WAV file (no RIFF/WAVE header with a format and a data chunk in its "
                  "first 1024 bytes)",
                  reason);
  }
  uint16_t format_tag = Get16(wave.header + 20);
  uint16_t channels = Get16(wave.header + 22);
  uint32_t rate = Get32(wave.header + 24);
  uint16_t block_align = Get16(wave.header + 32);
  uint16_t bits = Get16(wave.header + 34);
  bool pcm = format_tag == kFormatPcm || format_tag == kFormatExtensible;
  if (!pcm || bits != 16 || block_align != 2u * channels) {
    return Refuse(RecordingProblem::NotPcm16,
                  Sentence("is not 16-bit PCM (format %lld, %lld bits per sample); only 16-bit PCM "
                           "WAV files are read",
                           format_tag, bits),
                  reason);
  }

  // The data chunk's own size tells where the samples end when more chunks follow them;
  // a file that stops early keeps what it has, and a size never filled in (0 or all
  // ones, as streaming writers leave it) means "to the end of the file".
  uint64_t present = wave.size;
  uint8_t stated_bytes[4];
  uint64_t used = present;
  if (wave.ReadAt(stated_bytes, 4, wave.m_Offset - 4) == 4) {
    uint32_t stated = Get32(stated_bytes);
    if (stated != 0 && stated != UINT32_MAX) {
      if (stated <= present) {
        used = stated;
      } else {
        recording->cut_short = true;
        recording->promised_bytes = stated;
        recording->present_bytes = present;
      }
    }
  }
  uint64_t frames = used / block_align;
  RecordingProblem length = CheckLength(frames, static_cast<int32_t>(rate > INT32_MAX ? 0 : rate), reason);
  if (length != RecordingProblem::None) return length;
  if (!Allocate(&recording->samples, frames)) {
    return Refuse(RecordingProblem::OutOfMemory, "is too large to hold in memory", reason);
  }

  // Whole frames per read; the first channel's two bytes of each frame are kept.
  uint32_t frames_per_read = kReadChunkBytes / block_align;
  if (frames_per_read == 0) frames_per_read = 1;
  std::vector<uint8_t> buffer(static_cast<size_t>(frames_per_read) * block_align);
  uint64_t done = 0;
  while (done < frames) {
    uint64_t want = frames - done < frames_per_read ? frames - done : frames_per_read;
    uint32_t bytes = static_cast<uint32_t>(want * block_align);
    if (wave.ReadAt(buffer.data(), bytes, wave.m_Offset + done * block_align) != bytes) {
      recording->samples.clear();
      return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
    }
    for (uint64_t i = 0; i < want; ++i) {
      recording->samples[done + i] = static_cast<int16_t>(Get16(buffer.data() + i * block_align));
    }
    done += want;
  }
  recording->sampling_frequency = static_cast<int32_t>(rate);
  recording->channels = channels;
  return RecordingProblem::None;
}

RecordingProblem ReadG711(const wchar_t* path, G711Law law, int32_t rate, Recording* recording,
                          std::string* reason) {
  CFile file;
  if (!file.OpenRead(path)) return Refuse(RecordingProblem::CannotOpen, "cannot be opened for reading", reason);
  RecordingProblem length = CheckLength(file.size, rate, reason);
  if (length != RecordingProblem::None) return length;
  if (!Allocate(&recording->samples, file.size)) {
    return Refuse(RecordingProblem::OutOfMemory, "is too large to hold in memory", reason);
  }
  std::vector<uint8_t> buffer(kReadChunkBytes);
  uint64_t done = 0;
  while (done < file.size) {
    uint64_t left = file.size - done;
    uint32_t want = left < kReadChunkBytes ? static_cast<uint32_t>(left) : kReadChunkBytes;
    if (file.Read(buffer.data(), want, done) != want) {
      recording->samples.clear();
      return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
    }
    for (uint32_t i = 0; i < want; ++i) {
      recording->samples[done + i] = law == G711Law::MuLaw ? DecodeMuLawByte(buffer[i]) : DecodeALawByte(buffer[i]);
    }
    done += want;
  }
  recording->sampling_frequency = rate;
  recording->channels = 1;
  return RecordingProblem::None;
}

}  // namespace

RecordingProblem ReadRecording(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate,
                               Recording* recording, std::string* reason) {
  *recording = Recording();
  reason->clear();
  CFile probe;
  if (path == nullptr || !probe.OpenRead(path)) {
    return Refuse(RecordingProblem::CannotOpen, "cannot be opened for reading", reason);
  }
  bool empty = probe.size == 0;
  probe.Close();
  if (empty) return Refuse(RecordingProblem::Empty, "is empty", reason);

  RecordingProblem problem = RecordingProblem::None;
  switch (encoding) {
    case RecordingEncoding::Wave:
      problem = ReadWave(path, recording, reason);
      break;
    case RecordingEncoding::MuLaw:
      problem = ReadG711(path, G711Law::MuLaw, raw_rate, recording, reason);
      break;
    case RecordingEncoding::ALaw:
      problem = ReadG711(path, G711Law::ALaw, raw_rate, recording, reason);
      break;
  }
  if (problem != RecordingProblem::None) *recording = Recording();
  return problem;
}
