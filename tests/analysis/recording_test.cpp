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

RecordingProblem Read(const std::string& path, RecordingEncoding encoding, int32_t rate, Recording* recording,
                      std::string* reason) {
  CString wide;
  wide.Assign(path.c_str());
  return ReadRecording(wide.GetWide(), encoding, rate, recording, reason);
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
  int32_t raw_rate;
  int32_t rate;
  int32_t channels;
  std::vector<int16_t> samples;
  bool cut_short;
};

TEST(ReadRecording, ReadsEveryLayoutExactly) {
  WaveLayout trailing = Layout(1, 1, 8000, 16);
  trailing.after_data = std::string("LIST\x04\x00\x00\x00" "abcd", 12);
  WaveLayout cut = Layout(1, 1, 8000, 16);
  cut.stated_data_bytes = 100;
  WaveLayout unfinished = Layout(1, 1, 48000, 16);
  unfinished.stated_data_bytes = 0;
  const std::vector<ReadableCase> cases = {
      {"mono", WaveBytes(Layout(1, 1, 8000, 16), SampleBytes({0, 1000, -1000, 32767, -32768})),
       RecordingEncoding::Wave, 0, 8000, 1, {0, 1000, -1000, 32767, -32768}, false},
      {"stereo keeps the first channel", WaveBytes(Layout(1, 2, 11025, 16), SampleBytes({1, -1, 2, -2, 3, -3})),
       RecordingEncoding::Wave, 0, 11025, 2, {1, 2, 3}, false},
      {"extensible PCM", WaveBytes(Layout(0xFFFE, 1, 96000, 16), SampleBytes({5, 6})), RecordingEncoding::Wave, 0,
       96000, 1, {5, 6}, false},
      {"chunk after the samples", WaveBytes(trailing, SampleBytes({7, 8})), RecordingEncoding::Wave, 0, 8000, 1,
       {7, 8}, false},
      {"data stops early", WaveBytes(cut, SampleBytes({9, 10, 11})), RecordingEncoding::Wave, 0, 8000, 1,
       {9, 10, 11}, true},
      {"sizes never filled in", WaveBytes(unfinished, SampleBytes({12, 13})), RecordingEncoding::Wave, 0, 48000, 1,
       {12, 13}, false},
      {"odd byte at the end", WaveBytes(Layout(1, 1, 8000, 16), SampleBytes({14}) + "x"), RecordingEncoding::Wave,
       0, 8000, 1, {14}, false},
      {"mu-law", std::string("\xFF\x80\x00\x7F", 4), RecordingEncoding::MuLaw, 16000, 16000, 1,
       {0, 32124, -32124, 0}, false},
      {"A-law", std::string("\xD5\xAA\x2A", 3), RecordingEncoding::ALaw, 8000, 8000, 1, {8, 32256, -32256}, false},
  };
  TempDir dir;
  for (const ReadableCase& test : cases) {
    std::string path = dir.File("recording.bin");
    ASSERT_TRUE(WriteAll(path, test.bytes));
    Recording recording;
    std::string reason;
    ASSERT_EQ(Read(path, test.encoding, test.raw_rate, &recording, &reason), RecordingProblem::None)
        << test.name << ": " << reason;
    EXPECT_EQ(recording.sampling_frequency, test.rate) << test.name;
    EXPECT_EQ(recording.channels, test.channels) << test.name;
    EXPECT_EQ(recording.samples, test.samples) << test.name;
    EXPECT_EQ(recording.cut_short, test.cut_short) << test.name;
  }
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  RecordingEncoding encoding;
  RecordingProblem problem;
  const char* reason_part;
};

TEST(ReadRecording, RefusesBrokenAndUnusableFilesWithAReason) {
  std::string no_data = WaveBytes(Layout(1, 1, 8000, 16), "");
  no_data.resize(36);  // the header up to the end of the format chunk
  const std::vector<RefusedCase> cases = {
      {"empty", "", RecordingEncoding::Wave, RecordingProblem::Empty, "is empty"},
      {"empty raw", "", RecordingEncoding::MuLaw, RecordingProblem::Empty, "is empty"},
      {"not RIFF", "hello, this is not a WAV file", RecordingEncoding::Wave, RecordingProblem::NotWave,
       "not a WAV file"},
      {"header cut", std::string("RIFF\x10\x00\x00\x00WAVE", 12), RecordingEncoding::Wave,
       RecordingProblem::NotWave, "not a WAV file"},
      {"no data chunk", no_data, RecordingEncoding::Wave, RecordingProblem::NotWave, "not a WAV file"},
      {"float", WaveBytes(Layout(3, 1, 8000, 32), std::string(8, '\0')), RecordingEncoding::Wave,
       RecordingProblem::NotPcm16, "not 16-bit PCM (format 3, 32 bits"},
      {"8-bit", WaveBytes(Layout(1, 1, 8000, 8), std::string(8, '\x80')), RecordingEncoding::Wave,
       RecordingProblem::NotPcm16, "8 bits"},
      {"24-bit", WaveBytes(Layout(1, 1, 8000, 24), std::string(9, '\0')), RecordingEncoding::Wave,
       RecordingProblem::NotPcm16, "24 bits"},
      {"G.711 inside WAV", WaveBytes(Layout(7, 1, 8000, 8), std::string(8, '\xFF')), RecordingEncoding::Wave,
       RecordingProblem::NotPcm16, "format 7"},
      {"no whole sample", WaveBytes(Layout(1, 1, 8000, 16), "x"), RecordingEncoding::Wave,
       RecordingProblem::NoSamples, "holds no samples"},
      {"rate too low", WaveBytes(Layout(1, 1, 500, 16), SampleBytes({1, 2})), RecordingEncoding::Wave,
       RecordingProblem::UnusableRate, "500 Hz"},
  };
  TempDir dir;
  for (const RefusedCase& test : cases) {
    std::string path = dir.File("broken.bin");
    ASSERT_TRUE(WriteAll(path, test.bytes));
    Recording recording;
    recording.samples = {1, 2, 3};
    std::string reason;
    EXPECT_EQ(Read(path, test.encoding, 8000, &recording, &reason), test.problem) << test.name;
    EXPECT_NE(reason.find(test.reason_part), std::string::npos) << test.name << ": " << reason;
    EXPECT_TRUE(recording.samples.empty()) << test.name;
  }
  Recording recording;
  std::string reason;
  EXPECT_EQ(Read(dir.File("missing.wav"), RecordingEncoding::Wave, 8000, &recording, &reason),
            RecordingProblem::CannotOpen);
}

// Two hours at 8000 Hz, the samples only announced by the file's size (sparse): refused
// from the size alone, before anything is allocated.
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
  std::filesystem::resize_file(std::filesystem::u8path(raw), samples);

  Recording recording;
  std::string reason;
  EXPECT_EQ(Read(wave, RecordingEncoding::Wave, 0, &recording, &reason), RecordingProblem::TooLong);
  EXPECT_EQ(reason, "is 120 min long; recordings up to 60 min are analysed");
  EXPECT_EQ(Read(raw, RecordingEncoding::MuLaw, 8000, &recording, &reason), RecordingProblem::TooLong);
  EXPECT_TRUE(recording.samples.empty());
}

}  // namespace
