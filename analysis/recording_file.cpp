#include "analysis/recording_file.h"

#include <cmath>
#include <cstring>
#include <new>

#include "files/little_endian.h"
#include "synth/g711_codec.h"

namespace {

constexpr uint32_t kReadChunkBytes = 1 << 16;
// A channel is silent against another that is this much louder, as long as that one rises
// above kAudibleChannelDbfs (a channel of dither or hiss alone is silent too).
constexpr double kSilentChannelBelowDb = 40.0;
constexpr double kAudibleChannelDbfs = -60.0;

RecordingProblem Refuse(RecordingProblem problem, std::string text, std::string* reason) {
  *reason = std::move(text);
  return problem;
}

RecordingProblem CheckRate(int32_t rate, std::string* reason) {
  if (rate < kLowestRecordingRate || rate > kHighestRecordingRate) {
    return Refuse(RecordingProblem::UnusableRate,
                  "has a sampling frequency of " + std::to_string(rate) + " Hz; recordings from " +
                      std::to_string(kLowestRecordingRate) + " to " +
                      std::to_string(kHighestRecordingRate) + " Hz are analysed",
                  reason);
  }
  return RecordingProblem::None;
}

int16_t FromFullScale(double value) {
  if (!(value == value)) return 0;  // NaN
  const double scaled = std::round(value * 32768.0);
  if (scaled >= 32767.0) return 32767;
  if (scaled <= -32768.0) return -32768;
  return static_cast<int16_t>(scaled);
}

// One channel's sample as 16-bit PCM: wider PCM keeps its top 16 bits, 8-bit PCM is
// unsigned.
int16_t DecodeSample(const uint8_t* bytes, SampleCoding coding, uint16_t sample_bytes) {
  switch (coding) {
    case SampleCoding::MuLaw: return DecodeMuLawByte(bytes[0]);
    case SampleCoding::ALaw: return DecodeALawByte(bytes[0]);
    case SampleCoding::Float:
      if (sample_bytes == 4) {
        const uint32_t bits = Get32(bytes);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return FromFullScale(value);
      } else {
        const uint64_t bits = Get32(bytes) | (static_cast<uint64_t>(Get32(bytes + 4)) << 32);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return FromFullScale(value);
      }
    case SampleCoding::Pcm:
      if (sample_bytes == 1) return static_cast<int16_t>((bytes[0] - 128) * 256);
      return static_cast<int16_t>(Get16(bytes + sample_bytes - 2));
  }
  return 0;
}

// 1-based number of the loudest channel when channel (1-based) is silent beside it, else 0.
int32_t LouderChannel(const std::vector<double>& power, int32_t channel) {
  size_t loudest = 0;
  for (size_t i = 1; i < power.size(); ++i) {
    if (power[i] > power[loudest]) loudest = i;
  }
  const double audible = std::pow(10.0, kAudibleChannelDbfs / 10.0) * 32768.0 * 32768.0;
  const double chosen = power[static_cast<size_t>(channel - 1)];
  if (power[loudest] < audible || chosen * std::pow(10.0, kSilentChannelBelowDb / 10.0) > power[loudest]) return 0;
  return static_cast<int32_t>(loudest) + 1;
}

}  // namespace

RecordingProblem RecordingFile::Open(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate,
                                     int32_t channel, std::string* reason) {
  reason->clear();
  if (path == nullptr || !file_.OpenRead(path)) {
    return Refuse(RecordingProblem::CannotOpen, "cannot be opened for reading", reason);
  }
  if (file_.size == 0) return Refuse(RecordingProblem::Empty, "is empty", reason);
  if (encoding == RecordingEncoding::Wave) {
    RecordingProblem problem = ReadWaveHeader(file_, &header_, reason);
    if (problem != RecordingProblem::None) return problem;
  } else {
    // Raw G.711: one byte per sample, one channel, at the rate given.
    header_.coding = encoding == RecordingEncoding::MuLaw ? SampleCoding::MuLaw : SampleCoding::ALaw;
    header_.channels = 1;
    header_.sampling_frequency = raw_rate < 0 ? 0 : static_cast<uint32_t>(raw_rate);
    header_.sample_bytes = 1;
    header_.block_align = 1;
    header_.data_bytes = file_.size;
  }
  if (channel < 1 || channel > header_.channels) {
    return Refuse(RecordingProblem::NoSuchChannel,
                  "has " + std::to_string(header_.channels) + (header_.channels == 1 ? " channel" : " channels") +
                      "; there is no channel " + std::to_string(channel),
                  reason);
  }
  const int32_t rate = header_.sampling_frequency > static_cast<uint32_t>(INT32_MAX)
                           ? 0
                           : static_cast<int32_t>(header_.sampling_frequency);
  RecordingProblem problem = CheckRate(rate, reason);
  if (problem != RecordingProblem::None) return problem;
  frames_ = static_cast<int64_t>(header_.data_bytes / header_.block_align);
  if (frames_ == 0) return Refuse(RecordingProblem::NoSamples, "holds no samples", reason);
  layout_.sampling_frequency = rate;
  layout_.channels = header_.channels;
  layout_.channel = channel;
  layout_.cut_short = header_.cut_short;
  layout_.promised_bytes = header_.promised_bytes;
  layout_.present_bytes = header_.cut_short ? header_.data_bytes : 0;
  return RecordingProblem::None;
}

RecordingProblem RecordingFile::Read(int64_t first, int64_t count, std::vector<int16_t>* samples,
                                     std::string* reason) {
  if (first < 0 || count < 0 || first > frames_ || count > frames_ - first) {
    return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
  }
  try {
    samples->resize(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    return Refuse(RecordingProblem::OutOfMemory, "is too large to hold in memory", reason);
  }
  // Each channel's power only matters until the louder channel is decided, and only when
  // there is another channel.
  const bool weigh_channels = !louder_channel_known_ && header_.channels > 1;
  std::vector<double> power(header_.channels, 0.0);
  uint32_t frames_per_read = kReadChunkBytes / header_.block_align;
  if (frames_per_read == 0) frames_per_read = 1;
  std::vector<uint8_t> buffer(static_cast<size_t>(frames_per_read) * header_.block_align);
  const uint16_t chosen = static_cast<uint16_t>(layout_.channel - 1);
  int64_t done = 0;
  while (done < count) {
    const int64_t want = count - done < frames_per_read ? count - done : frames_per_read;
    const uint32_t bytes = static_cast<uint32_t>(want) * header_.block_align;
    const uint64_t offset = header_.data_offset + static_cast<uint64_t>(first + done) * header_.block_align;
    if (file_.Read(buffer.data(), bytes, offset) != bytes) {
      return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
    }
    int16_t* out = samples->data() + done;
    const uint8_t* at = buffer.data() + chosen * header_.sample_bytes;
    if (header_.coding == SampleCoding::Pcm && header_.sample_bytes == 2) {
      // 16-bit PCM, what most recordings hold, without the general decoding.
      for (int64_t i = 0; i < want; ++i) out[i] = static_cast<int16_t>(Get16(at + i * header_.block_align));
    } else {
      for (int64_t i = 0; i < want; ++i) {
        out[i] = DecodeSample(at + i * header_.block_align, header_.coding, header_.sample_bytes);
      }
    }
    for (int64_t i = 0; i < want && weigh_channels; ++i) {
      const uint8_t* frame = buffer.data() + i * header_.block_align;
      for (uint16_t c = 0; c < header_.channels; ++c) {
        const int16_t sample = DecodeSample(frame + c * header_.sample_bytes, header_.coding, header_.sample_bytes);
        power[c] += static_cast<double>(sample) * sample;
      }
    }
    done += want;
  }
  if (weigh_channels) layout_.louder_channel = LouderChannel(power, layout_.channel);
  louder_channel_known_ = true;
  return RecordingProblem::None;
}
