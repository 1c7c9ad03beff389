#include "analysis/recording.h"

#include <cmath>
#include <cstring>
#include <new>

#include "analysis/wave_header.h"
#include "files/file.h"
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

RecordingProblem CheckLength(uint64_t frames, int32_t rate, std::string* reason) {
  if (rate < kLowestRecordingRate || rate > kHighestRecordingRate) {
    return Refuse(RecordingProblem::UnusableRate,
                  "has a sampling frequency of " + std::to_string(rate) + " Hz; recordings from " +
                      std::to_string(kLowestRecordingRate) + " to " +
                      std::to_string(kHighestRecordingRate) + " Hz are analysed",
                  reason);
  }
  if (frames == 0) return Refuse(RecordingProblem::NoSamples, "holds no samples", reason);
  if (frames > static_cast<uint64_t>(kLongestRecordingSeconds) * static_cast<uint64_t>(rate)) {
    const uint64_t seconds = (frames + static_cast<uint64_t>(rate) - 1) / static_cast<uint64_t>(rate);
    std::string length = std::to_string(seconds / 60) + " min";
    if (seconds % 60 != 0) length += " " + std::to_string(seconds % 60) + " s";
    return Refuse(RecordingProblem::TooLong,
                  "is " + length + " long; recordings up to " + std::to_string(kLongestRecordingSeconds / 60) +
                      " min are analysed",
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

// Reads channel's samples of every whole frame the header places, and each channel's
// mean power on the way.
RecordingProblem ReadSamples(CFile& file, const WaveHeader& header, int32_t channel, Recording* recording,
                             std::string* reason) {
  const uint64_t frames = header.data_bytes / header.block_align;
  const int32_t rate = header.sampling_frequency > static_cast<uint32_t>(INT32_MAX)
                           ? 0
                           : static_cast<int32_t>(header.sampling_frequency);
  RecordingProblem length = CheckLength(frames, rate, reason);
  if (length != RecordingProblem::None) return length;
  try {
    recording->samples.resize(static_cast<size_t>(frames));
  } catch (const std::bad_alloc&) {
    return Refuse(RecordingProblem::OutOfMemory, "is too large to hold in memory", reason);
  }
  std::vector<double> power(header.channels, 0.0);
  uint32_t frames_per_read = kReadChunkBytes / header.block_align;
  if (frames_per_read == 0) frames_per_read = 1;
  std::vector<uint8_t> buffer(static_cast<size_t>(frames_per_read) * header.block_align);
  uint64_t done = 0;
  while (done < frames) {
    const uint64_t want = frames - done < frames_per_read ? frames - done : frames_per_read;
    const uint32_t bytes = static_cast<uint32_t>(want * header.block_align);
    if (file.Read(buffer.data(), bytes, header.data_offset + done * header.block_align) != bytes) {
      return Refuse(RecordingProblem::ReadFailed, "could not be read", reason);
    }
    for (uint64_t i = 0; i < want; ++i) {
      const uint8_t* frame = buffer.data() + i * header.block_align;
      for (uint16_t c = 0; c < header.channels; ++c) {
        const int16_t sample = DecodeSample(frame + c * header.sample_bytes, header.coding, header.sample_bytes);
        power[c] += static_cast<double>(sample) * sample;
        if (c + 1 == channel) recording->samples[done + i] = sample;
      }
    }
    done += want;
  }
  recording->sampling_frequency = rate;
  recording->channels = header.channels;
  recording->channel = channel;
  recording->louder_channel = LouderChannel(power, channel);
  recording->cut_short = header.cut_short;
  recording->promised_bytes = header.promised_bytes;
  recording->present_bytes = header.cut_short ? header.data_bytes : 0;
  return RecordingProblem::None;
}

}  // namespace

RecordingProblem ReadRecording(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate,
                               int32_t channel, Recording* recording, std::string* reason) {
  *recording = Recording();
  reason->clear();
  CFile file;
  if (path == nullptr || !file.OpenRead(path)) {
    return Refuse(RecordingProblem::CannotOpen, "cannot be opened for reading", reason);
  }
  if (file.size == 0) return Refuse(RecordingProblem::Empty, "is empty", reason);

  WaveHeader header;
  RecordingProblem problem = RecordingProblem::None;
  if (encoding == RecordingEncoding::Wave) {
    problem = ReadWaveHeader(file, &header, reason);
  } else {
    // Raw G.711: one byte per sample, one channel, at the rate given.
    header.coding = encoding == RecordingEncoding::MuLaw ? SampleCoding::MuLaw : SampleCoding::ALaw;
    header.channels = 1;
    header.sampling_frequency = raw_rate < 0 ? 0 : static_cast<uint32_t>(raw_rate);
    header.sample_bytes = 1;
    header.block_align = 1;
    header.data_bytes = file.size;
  }
  if (problem == RecordingProblem::None && (channel < 1 || channel > header.channels)) {
    problem = Refuse(RecordingProblem::NoSuchChannel,
                     "has " + std::to_string(header.channels) + (header.channels == 1 ? " channel" : " channels") +
                         "; there is no channel " + std::to_string(channel),
                     reason);
  }
  if (problem == RecordingProblem::None) problem = ReadSamples(file, header, channel, recording, reason);
  if (problem != RecordingProblem::None) *recording = Recording();
  return problem;
}
