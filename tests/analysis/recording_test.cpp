// Reading recordings: every WAV layout a recorder writes, raw G.711, and the broken or
// unusable files that must end in one clear refusal.
#include "analysis/recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/recording_blocks.h"
#include "files/string.h"
#include "tests/analysis/recording_bytes.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::SampleBytes;
using sonaril_test::TempDir;
using sonaril_test::WaveBytes;
using sonaril_test::WaveLayout;
using sonaril_test::WriteAll;

RecordingProblem Read(const std::string& path, RecordingEncoding encoding, int32_t rate, int32_t channel,
                      Recording* recording, std::string* reason) {
  CString wide;
  wide.Assign(path.c_str());
  return ReadRecording(wide.GetWide(), encoding, rate, channel, recording, reason);
}

RecordingProblem Open(RecordingFile* file, const std::string& path, RecordingEncoding encoding, int32_t rate,
                      std::string* reason) {
  CString wide;
  wide.Assign(path.c_str());
  return file->Open(wide.GetWide(), encoding, rate, 1, reason);
}

WaveLayout Layout(uint16_t format_tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t sub_format = 1) {
  WaveLayout layout;
  layout.format_tag = format_tag;
  layout.channels = channels;
  layout.rate = rate;
  layout.bits = bits;
  layout.sub_format = sub_format;
  return layout;
}

// The file holds data in layout (raw G.711: data alone, at the layout's rate); the
// recording read must state the layout's rate and channels and hold samples.
struct ReadableCase {
  const char* name;
  WaveLayout layout;
  std::string data;
  std::vector<int16_t> samples;
  int32_t channel = 1;
  int32_t louder_channel = 0;
  RecordingEncoding encoding = RecordingEncoding::Wave;
};

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

template <typename Float>
std::string FloatBytes(std::initializer_list<Float> values) {
  std::string bytes;
  for (Float value : values) bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  return bytes;
}

std::string Chunk(const char* id, const std::string& body) {
  const int size = static_cast<int>(body.size());
  return std::string(id, 4) + Bytes({size & 0xFF, size >> 8, 0, 0}) + body + std::string(size % 2, '\0');  // pad
}

TEST(ReadRecording, ReadsEveryLayoutExactly) {
  WaveLayout trailing = Layout(1, 1, 8000, 16);
  trailing.after_data = std::string("LIST\x04\x00\x00\x00" "abcd", 12);
  WaveLayout listed = Layout(1, 1, 8000, 16);
  listed.before_data = Chunk("LIST", std::string(4096, 'i')) + Chunk("junk", "odd") + Chunk("fact", "1234");
  WaveLayout cut = Layout(1, 1, 8000, 16);
  cut.stated_data_bytes = 100;
  WaveLayout unfinished = Layout(1, 1, 48000, 16);
  unfinished.stated_data_bytes = 0;
  const std::string stereo = SampleBytes({1, -1, 2, -2, 3, -3});
  const std::string right_only = SampleBytes({0, 8000, 0, -8000, 0, 8000, 3, -3});
  const std::vector<ReadableCase> cases = {
      {"mono", Layout(1, 1, 8000, 16), SampleBytes({0, 1000, -1000, 32767, -32768}), {0, 1000, -1000, 32767, -32768}},
      {"stereo, first channel", Layout(1, 2, 11025, 16), stereo, {1, 2, 3}},
      {"stereo, second channel", Layout(1, 2, 11025, 16), stereo, {-1, -2, -3}, 2},
      {"tone on the right only", Layout(1, 2, 8000, 16), right_only, {0, 0, 0, 3}, 1, 2},
      {"tone on the right, right read", Layout(1, 2, 8000, 16), right_only, {8000, -8000, 8000, -3}, 2},
      {"extensible PCM", Layout(0xFFFE, 1, 96000, 16), SampleBytes({5, 6}), {5, 6}},
      {"chunks before the samples", listed, SampleBytes({4, -4}), {4, -4}},
      {"chunk after the samples", trailing, SampleBytes({7, 8}), {7, 8}},
      {"data stops early", cut, SampleBytes({9, 10, 11}), {9, 10, 11}},
      {"sizes never filled in", unfinished, SampleBytes({12, 13}), {12, 13}},
      {"odd byte at the end", Layout(1, 1, 8000, 16), SampleBytes({14}) + "x", {14}},
      {"8-bit unsigned", Layout(1, 1, 8000, 8), Bytes({0x80, 0xFF, 0x00, 0x81}), {0, 32512, -32768, 256}},
      {"24-bit", Layout(1, 1, 8000, 24), Bytes({0x56, 0x34, 0x12, 0, 0, 0x80, 0xFF, 0xFF, 0xFF}), {0x1234, -32768, -1}},
      {"32-bit extensible", Layout(0xFFFE, 1, 8000, 32), Bytes({0, 0, 0, 0x40, 0xFF, 0xFF, 0xFF, 0xFF}), {16384, -1}},
      {"32-bit float, clipped", Layout(3, 1, 8000, 32), FloatBytes({0.5f, -1.0f, 1.0f, 2.0f, -0.25f}),
       {16384, -32768, 32767, 32767, -8192}},
      {"float extensible, three channels", Layout(0xFFFE, 3, 8000, 32, 3),
       FloatBytes({0.0f, 0.125f, 0.0f, 0.0f, -0.125f, 0.0f}), {4096, -4096}, 2},
      {"64-bit float", Layout(3, 1, 8000, 64), FloatBytes({0.25, -0.5}), {8192, -16384}},
      {"u-law inside WAV", Layout(7, 1, 8000, 8), Bytes({0xFF, 0x80, 0x00}), {0, 32124, -32124}},
      {"A-law inside WAV", Layout(6, 2, 8000, 8), Bytes({0xD5, 0xAA, 0x2A, 0xD5}), {32256, 8}, 2},
      {"raw mu-law", Layout(0, 1, 16000, 8), Bytes({0xFF, 0x80, 0x00, 0x7F}), {0, 32124, -32124, 0}, 1, 0,
       RecordingEncoding::MuLaw},
      {"raw A-law", Layout(0, 1, 8000, 8), Bytes({0xD5, 0xAA, 0x2A}), {8, 32256, -32256}, 1, 0,
       RecordingEncoding::ALaw},
  };
  TempDir dir;
  for (const ReadableCase& test : cases) {
    std::string path = dir.File("recording.bin");
    const bool wave = test.encoding == RecordingEncoding::Wave;
    ASSERT_TRUE(WriteAll(path, wave ? WaveBytes(test.layout, test.data) : test.data));
    Recording recording;
    std::string reason;
    const int32_t raw_rate = wave ? 0 : static_cast<int32_t>(test.layout.rate);
    ASSERT_EQ(Read(path, test.encoding, raw_rate, test.channel, &recording, &reason), RecordingProblem::None)
        << test.name << ": " << reason;
    EXPECT_EQ(recording.sampling_frequency, static_cast<int32_t>(test.layout.rate)) << test.name;
    EXPECT_EQ(recording.channels, test.layout.channels) << test.name;
    EXPECT_EQ(recording.channel, test.channel) << test.name;
    EXPECT_EQ(recording.samples, test.samples) << test.name;
    EXPECT_EQ(recording.cut_short, test.layout.stated_data_bytes > static_cast<int64_t>(test.data.size())) << test.name;
    EXPECT_EQ(recording.louder_channel, test.louder_channel) << test.name;
  }
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  RecordingProblem problem;
  const char* reason_part;
  RecordingEncoding encoding = RecordingEncoding::Wave;
  int32_t channel = 1;
};

TEST(ReadRecording, RefusesBrokenAndUnusableFilesWithAReason) {
  std::string no_data = WaveBytes(Layout(1, 1, 8000, 16), "");
  no_data.resize(36);  // the header up to the end of the format chunk
  WaveLayout overlong = Layout(1, 1, 8000, 16);
  overlong.before_data = std::string("LIST\x00\x10\x00\x00", 8);  // 4 KB announced, none there
  WaveLayout crowded = Layout(1, 1, 8000, 16);
  for (int i = 0; i < 4096; ++i) crowded.before_data += Chunk("junk", "");
  const std::string samples_first = "RIFF" + Bytes({40, 0, 0, 0}) + "WAVE" + Chunk("data", SampleBytes({1, 2})) +
                                    WaveBytes(Layout(1, 1, 8000, 16), "").substr(12, 24);
  const std::string one = SampleBytes({1});
  const RecordingProblem not_wave = RecordingProblem::NotWave, unreadable = RecordingProblem::UnreadableFormat;
  const std::vector<RefusedCase> cases = {
      {"empty", "", RecordingProblem::Empty, "is empty"},
      {"empty raw", "", RecordingProblem::Empty, "is empty", RecordingEncoding::MuLaw},
      {"not RIFF", "hello, this is not a WAV file", not_wave, "not a WAV file (no RIFF/WAVE header)"},
      {"header cut", std::string("RIFF\x10\x00\x00\x00WAVE", 12), not_wave, "(no format chunk)"},
      {"no data chunk", no_data, not_wave, "(no data chunk)"},
      {"chunk past the end", WaveBytes(overlong, ""), not_wave, "reaches past the end"},
      {"thousands of chunks", WaveBytes(crowded, one), not_wave, "no data chunk among its first chunks"},
      {"samples before their format", samples_first, not_wave, "before their format"},
      {"no channels", WaveBytes(Layout(1, 0, 8000, 16), one), not_wave, "do not hold its channels"},
      {"ADPCM", WaveBytes(Layout(2, 1, 8000, 16), one), unreadable, "(format 2, 16 bits per sample)"},
      {"extensible of ADPCM", WaveBytes(Layout(0xFFFE, 1, 8000, 16, 2), one), unreadable, "(format 2, 16 bits"},
      {"16-bit float", WaveBytes(Layout(3, 1, 8000, 16), one), unreadable, "(format 3, 16 bits"},
      {"12 bits in one byte", WaveBytes(Layout(1, 2, 8000, 12), one), unreadable, "12 bits"},
      {"no whole sample", WaveBytes(Layout(1, 1, 8000, 16), "x"), RecordingProblem::NoSamples, "holds no samples"},
      {"rate too low", WaveBytes(Layout(1, 1, 500, 16), SampleBytes({1, 2})), RecordingProblem::UnusableRate, "500 Hz"},
      {"third of two channels", WaveBytes(Layout(1, 2, 8000, 16), SampleBytes({1, 2})),
       RecordingProblem::NoSuchChannel, "has 2 channels; there is no channel 3", RecordingEncoding::Wave, 3},
      {"second of raw G.711", "\xFF", RecordingProblem::NoSuchChannel, "has 1 channel; there is no channel 2",
       RecordingEncoding::ALaw, 2},
  };
  TempDir dir;
  for (const RefusedCase& test : cases) {
    std::string path = dir.File("broken.bin");
    ASSERT_TRUE(WriteAll(path, test.bytes));
    Recording recording;
    recording.samples = {1, 2, 3};
    std::string reason;
    EXPECT_EQ(Read(path, test.encoding, 8000, test.channel, &recording, &reason), test.problem) << test.name;
    EXPECT_NE(reason.find(test.reason_part), std::string::npos) << test.name << ": " << reason;
    EXPECT_TRUE(recording.samples.empty()) << test.name;
  }
  Recording recording;
  std::string reason;
  EXPECT_EQ(Read(dir.File("missing.wav"), RecordingEncoding::Wave, 8000, 1, &recording, &reason),
            RecordingProblem::CannotOpen);
}

// Two hours at 8000 Hz, held by a sparse file with three samples set past the first hour,
// and one second over the hour of u-law: opened from the size alone and read in any block.
TEST(RecordingFile, OpensHoursAndReadsAnyBlock) {
  TempDir dir;
  const int64_t samples = 2ll * 3600 * 8000;
  const int64_t marked = 3600ll * 8000 + 5;
  std::string wave = dir.File("long.wav");
  WaveLayout layout;
  layout.stated_data_bytes = 2 * samples;
  const std::string header = WaveBytes(layout, "");
  ASSERT_TRUE(WriteAll(wave, header));
  std::filesystem::resize_file(std::filesystem::u8path(wave), header.size() + 2 * samples);
  {
    std::fstream file(std::filesystem::u8path(wave), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(header.size() + 2 * marked));
    file.write("\x01\x00\x02\x00\xfd\xff", 6);
  }
  std::string raw = dir.File("long.ul");
  ASSERT_TRUE(WriteAll(raw, "x"));
  std::filesystem::resize_file(std::filesystem::u8path(raw), 3601ull * 8000);

  std::string reason;
  RecordingFile file;
  ASSERT_EQ(Open(&file, wave, RecordingEncoding::Wave, 0, &reason), RecordingProblem::None);
  EXPECT_EQ(file.frames(), samples);
  std::vector<int16_t> block;
  ASSERT_EQ(file.Read(marked - 1, 5, &block, &reason), RecordingProblem::None);
  EXPECT_EQ(block, (std::vector<int16_t>{0, 1, 2, -3, 0}));
  EXPECT_EQ(file.Read(samples - 2, 3, &block, &reason), RecordingProblem::ReadFailed);
  RecordingFile raw_file;
  ASSERT_EQ(Open(&raw_file, raw, RecordingEncoding::MuLaw, 8000, &reason), RecordingProblem::None);
  EXPECT_EQ(raw_file.frames(), 3601ll * 8000);

  // Blocks of equal length within the hour and the sample limit, read with their margins.
  const struct {
    int64_t frames;
    int32_t rate;
    size_t blocks;
    int64_t margin;
  } kSplits[] = {{3600ll * 8000, 8000, 1, 0}, {3601ll * 8000, 8000, 2, 16000},
                 {24ll * 3600 * 8000, 8000, 24, 16000}, {kMostBlockFrames + 1, 48000, 2, 96000}};
  for (const auto& split : kSplits) {
    const std::vector<RecordingBlock> blocks = SplitIntoBlocks(split.frames, split.rate);
    ASSERT_EQ(blocks.size(), split.blocks) << split.frames;
    int64_t next = 0;
    for (const RecordingBlock& one : blocks) {
      EXPECT_EQ(one.first, next);
      EXPECT_LE(one.count, std::min(kMostBlockFrames, kMostBlockSeconds * split.rate));
      EXPECT_EQ(one.lead, one.first == 0 ? 0 : split.margin);
      EXPECT_EQ(one.trail, one.first + one.count == split.frames ? 0 : split.margin);
      next = one.first + one.count;
    }
    EXPECT_EQ(next, split.frames);
  }
}

}  // namespace
