// Reading recordings: every WAV layout a recorder writes, raw G.711, and the broken or
// unusable files that must end in one clear refusal.
#include "analysis/recording.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

WaveLayout Layout(uint16_t format_tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveLayout layout;
  layout.format_tag = format_tag;
  layout.channels = channels;
  layout.rate = rate;
  layout.bits = bits;
  return layout;
}

struct ReadableCase {
  const char* name;
  std::string bytes;
  RecordingEncoding encoding;
  int32_t channel;
  int32_t rate;
  int32_t channels;
  std::vector<int16_t> samples;
  bool cut_short;
  int32_t louder_channel;
};

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

std::string FloatBytes(std::initializer_list<float> values) {
  std::string bytes;
  for (float value : values) bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  return bytes;
}

std::string DoubleBytes(std::initializer_list<double> values) {
  std::string bytes;
  for (double value : values) bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  return bytes;
}

std::string Chunk(const char* id, const std::string& body) {
  std::string chunk = std::string(id, 4) + Bytes({static_cast<int>(body.size() & 0xFF),
                                                  static_cast<int>((body.size() >> 8) & 0xFF), 0, 0}) + body;
  return body.size() % 2 == 0 ? chunk : chunk + '\0';  // the pad byte
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
  WaveLayout wide_extensible = Layout(0xFFFE, 1, 8000, 32);
  WaveLayout float_extensible = Layout(0xFFFE, 1, 8000, 32);
  float_extensible.sub_format = 3;
  WaveLayout mulaw_extensible = Layout(0xFFFE, 1, 8000, 8);
  mulaw_extensible.sub_format = 7;
  const std::string right_only = SampleBytes({0, 8000, 0, -8000, 0, 8000, 3, -3});
  const std::vector<ReadableCase> cases = {
      {"mono", WaveBytes(Layout(1, 1, 8000, 16), SampleBytes({0, 1000, -1000, 32767, -32768})),
       RecordingEncoding::Wave, 1, 8000, 1, {0, 1000, -1000, 32767, -32768}, false, 0},
      {"stereo, first channel", WaveBytes(Layout(1, 2, 11025, 16), SampleBytes({1, -1, 2, -2, 3, -3})),
       RecordingEncoding::Wave, 1, 11025, 2, {1, 2, 3}, false, 0},
      {"stereo, second channel", WaveBytes(Layout(1, 2, 11025, 16), SampleBytes({1, -1, 2, -2, 3, -3})),
       RecordingEncoding::Wave, 2, 11025, 2, {-1, -2, -3}, false, 0},
      {"tone on the right only", WaveBytes(Layout(1, 2, 8000, 16), right_only), RecordingEncoding::Wave, 1, 8000,
       2, {0, 0, 0, 3}, false, 2},
      {"tone on the right, right read", WaveBytes(Layout(1, 2, 8000, 16), right_only), RecordingEncoding::Wave, 2,
       8000, 2, {8000, -8000, 8000, -3}, false, 0},
      {"extensible PCM", WaveBytes(Layout(0xFFFE, 1, 96000, 16), SampleBytes({5, 6})), RecordingEncoding::Wave, 1,
       96000, 1, {5, 6}, false, 0},
      {"chunks before the samples", WaveBytes(listed, SampleBytes({4, -4})), RecordingEncoding::Wave, 1, 8000, 1,
       {4, -4}, false, 0},
      {"chunk after the samples", WaveBytes(trailing, SampleBytes({7, 8})), RecordingEncoding::Wave, 1, 8000, 1,
       {7, 8}, false, 0},
      {"data stops early", WaveBytes(cut, SampleBytes({9, 10, 11})), RecordingEncoding::Wave, 1, 8000, 1,
       {9, 10, 11}, true, 0},
      {"sizes never filled in", WaveBytes(unfinished, SampleBytes({12, 13})), RecordingEncoding::Wave, 1, 48000, 1,
       {12, 13}, false, 0},
      {"odd byte at the end", WaveBytes(Layout(1, 1, 8000, 16), SampleBytes({14}) + "x"), RecordingEncoding::Wave,
       1, 8000, 1, {14}, false, 0},
      {"8-bit unsigned", WaveBytes(Layout(1, 1, 8000, 8), Bytes({0x80, 0xFF, 0x00, 0x81})), RecordingEncoding::Wave,
       1, 8000, 1, {0, 32512, -32768, 256}, false, 0},
      {"24-bit", WaveBytes(Layout(1, 1, 8000, 24), Bytes({0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF})),
       RecordingEncoding::Wave, 1, 8000, 1, {0x1234, -32768, -1}, false, 0},
      {"32-bit extensible", WaveBytes(wide_extensible, Bytes({0, 0, 0, 0x40, 0xFF, 0xFF, 0xFF, 0xFF})),
       RecordingEncoding::Wave, 1, 8000, 1, {16384, -1}, false, 0},
      {"32-bit float, clipped", WaveBytes(Layout(3, 1, 8000, 32), FloatBytes({0.5f, -1.0f, 1.0f, 2.0f, -0.25f})),
       RecordingEncoding::Wave, 1, 8000, 1, {16384, -32768, 32767, 32767, -8192}, false, 0},
      {"float extensible, three channels",
       WaveBytes([] { WaveLayout l = Layout(0xFFFE, 3, 8000, 32); l.sub_format = 3; return l; }(),
                 FloatBytes({0.0f, 0.125f, 0.0f, 0.0f, -0.125f, 0.0f})),
       RecordingEncoding::Wave, 2, 8000, 3, {4096, -4096}, false, 0},
      {"64-bit float", WaveBytes(Layout(3, 1, 8000, 64), DoubleBytes({0.25, -0.5})), RecordingEncoding::Wave, 1,
       8000, 1, {8192, -16384}, false, 0},
      {"u-law inside WAV", WaveBytes(Layout(7, 1, 8000, 8), Bytes({0xFF, 0x80, 0x00})), RecordingEncoding::Wave, 1,
       8000, 1, {0, 32124, -32124}, false, 0},
      {"A-law inside WAV", WaveBytes(Layout(6, 2, 8000, 8), Bytes({0xD5, 0xAA, 0x2A, 0xD5})),
       RecordingEncoding::Wave, 2, 8000, 2, {32256, 8}, false, 0},
      {"u-law extensible", WaveBytes(mulaw_extensible, Bytes({0xFF, 0x80})), RecordingEncoding::Wave, 1, 8000, 1,
       {0, 32124}, false, 0},
      {"raw mu-law", std::string("\xFF\x80\x00\x7F", 4), RecordingEncoding::MuLaw, 1, 16000, 1,
       {0, 32124, -32124, 0}, false, 0},
      {"raw A-law", std::string("\xD5\xAA\x2A", 3), RecordingEncoding::ALaw, 1, 8000, 1, {8, 32256, -32256}, false,
       0},
  };
  TempDir dir;
  for (const ReadableCase& test : cases) {
    std::string path = dir.File("recording.bin");
    ASSERT_TRUE(WriteAll(path, test.bytes));
    Recording recording;
    std::string reason;
    const int32_t raw_rate = test.encoding == RecordingEncoding::Wave ? 0 : test.rate;
    ASSERT_EQ(Read(path, test.encoding, raw_rate, test.channel, &recording, &reason), RecordingProblem::None)
        << test.name << ": " << reason;
    EXPECT_EQ(recording.sampling_frequency, test.rate) << test.name;
    EXPECT_EQ(recording.channels, test.channels) << test.name;
    EXPECT_EQ(recording.channel, test.channel) << test.name;
    EXPECT_EQ(recording.samples, test.samples) << test.name;
    EXPECT_EQ(recording.cut_short, test.cut_short) << test.name;
    EXPECT_EQ(recording.louder_channel, test.louder_channel) << test.name;
  }
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  RecordingEncoding encoding;
  int32_t channel;
  RecordingProblem problem;
  const char* reason_part;
};

TEST(ReadRecording, RefusesBrokenAndUnusableFilesWithAReason) {
  std::string no_data = WaveBytes(Layout(1, 1, 8000, 16), "");
  no_data.resize(36);  // the header up to the end of the format chunk
  WaveLayout overlong = Layout(1, 1, 8000, 16);
  overlong.before_data = std::string("LIST\x00\x10\x00\x00", 8);  // 4 KB announced, none there
  WaveLayout crowded = Layout(1, 1, 8000, 16);
  for (int i = 0; i < 4096; ++i) crowded.before_data += Chunk("junk", "");
  WaveLayout unknown_sub_format = Layout(0xFFFE, 1, 8000, 16);
  unknown_sub_format.sub_format = 2;
  const std::string samples_first = "RIFF" + Bytes({40, 0, 0, 0}) + "WAVE" + Chunk("data", SampleBytes({1, 2})) +
                                    WaveBytes(Layout(1, 1, 8000, 16), "").substr(12, 24);
  const std::vector<RefusedCase> cases = {
      {"empty", "", RecordingEncoding::Wave, 1, RecordingProblem::Empty, "is empty"},
      {"empty raw", "", RecordingEncoding::MuLaw, 1, RecordingProblem::Empty, "is empty"},
      {"not RIFF", "hello, this is not a WAV file", RecordingEncoding::Wave, 1, RecordingProblem::NotWave,
       "not a WAV file (no RIFF/WAVE header)"},
      {"header cut", std::string("RIFF\x10\x00\x00\x00WAVE", 12), RecordingEncoding::Wave, 1,
       RecordingProblem::NotWave, "(no format chunk)"},
      {"no data chunk", no_data, RecordingEncoding::Wave, 1, RecordingProblem::NotWave, "(no data chunk)"},
      {"chunk past the end", WaveBytes(overlong, ""), RecordingEncoding::Wave, 1, RecordingProblem::NotWave,
       "reaches past the end"},
      {"thousands of chunks", WaveBytes(crowded, SampleBytes({1})), RecordingEncoding::Wave, 1,
       RecordingProblem::NotWave, "no data chunk among its first chunks"},
      {"samples before their format", samples_first, RecordingEncoding::Wave, 1, RecordingProblem::NotWave,
       "before their format"},
      {"no channels", WaveBytes(Layout(1, 0, 8000, 16), SampleBytes({1})), RecordingEncoding::Wave, 1,
       RecordingProblem::NotWave, "do not hold its channels"},
      {"ADPCM", WaveBytes(Layout(2, 1, 8000, 16), SampleBytes({1})), RecordingEncoding::Wave, 1,
       RecordingProblem::UnreadableFormat, "(format 2, 16 bits per sample)"},
      {"extensible of ADPCM", WaveBytes(unknown_sub_format, SampleBytes({1})), RecordingEncoding::Wave, 1,
       RecordingProblem::UnreadableFormat, "(format 2, 16 bits"},
      {"16-bit float", WaveBytes(Layout(3, 1, 8000, 16), SampleBytes({1})), RecordingEncoding::Wave, 1,
       RecordingProblem::UnreadableFormat, "(format 3, 16 bits"},
      {"12 bits in one byte", WaveBytes(Layout(1, 2, 8000, 12), SampleBytes({1})), RecordingEncoding::Wave, 1,
       RecordingProblem::UnreadableFormat, "12 bits"},
      {"no whole sample", WaveBytes(Layout(1, 1, 8000, 16), "x"), RecordingEncoding::Wave, 1,
       RecordingProblem::NoSamples, "holds no samples"},
      {"rate too low", WaveBytes(Layout(1, 1, 500, 16), SampleBytes({1, 2})), RecordingEncoding::Wave, 1,
       RecordingProblem::UnusableRate, "500 Hz"},
      {"third of two channels", WaveBytes(Layout(1, 2, 8000, 16), SampleBytes({1, 2})), RecordingEncoding::Wave, 3,
       RecordingProblem::NoSuchChannel, "has 2 channels; there is no channel 3"},
      {"second of raw G.711", "\xFF", RecordingEncoding::ALaw, 2, RecordingProblem::NoSuchChannel,
       "has 1 channel; there is no channel 2"},
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

// Two hours at 8000 Hz, and one second over the hour, the samples only announced by the
// file's size (sparse): refused from the size alone, before anything is allocated.
TEST(ReadRecording, RefusesTwoHoursFromTheSizeAlone) {
  TempDir dir;
  const uint64_t samples = 2ull * 3600 * 8000;
  std::string wave = dir.File("long.wav");
  WaveLayout layout;
  layout.stated_data_bytes = static_cast<int64_t>(2 * samples);
  std::string header = WaveBytes(layout, "");
  ASSERT_TRUE(WriteAll(wave, header));
  std::filesystem::resize_file(std::filesystem::u8path(wave), header.size() + 2 * samples);
  std::string raw = dir.File("long.ul");
  ASSERT_TRUE(WriteAll(raw, "x"));
  std::filesystem::resize_file(std::filesystem::u8path(raw), 3601ull * 8000);

  Recording recording;
  std::string reason;
  EXPECT_EQ(Read(wave, RecordingEncoding::Wave, 0, 1, &recording, &reason), RecordingProblem::TooLong);
  EXPECT_EQ(reason, "is 120 min long; recordings up to 60 min are analysed");
  EXPECT_EQ(Read(raw, RecordingEncoding::MuLaw, 8000, 1, &recording, &reason), RecordingProblem::TooLong);
  EXPECT_EQ(reason, "is 60 min 1 s long; recordings up to 60 min are analysed");
  EXPECT_TRUE(recording.samples.empty());
}

}  // namespace
