// Synthesis read a run at a time gives the very samples of synthesis in one piece.
#include "synth/tone_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "synth/synthesize_tone.h"
#include "tests/common/setting_builder.h"

namespace {

// Three tones of different shapes and ends, a faded step and ramps: long enough for
// several blocks and a cut-short last one.
void BuildSetting(ToneSetting& setting) {
  AddStep(setting, RampUp, 130);
  AddStep(setting, On, 260, 1);
  AddStep(setting, RampDown, 77);
  AddStep(setting, Off, 33);
  AddTone(setting, Sine, 1209, 30, 0, -1, 60);
  AddTone(setting, Square, 697, -45, 100, 400, 40);
  AddTone(setting, Sawtooth, 350, 90, 50, 480, 30);
}

std::vector<int16_t> Whole(int32_t fs, int32_t repeat, bool filter) {
  ToneSetting setting;
  BuildSetting(setting);
  std::vector<int16_t> samples;
  EXPECT_EQ(SynthesizeTone(setting, fs, repeat, filter, &samples), SynthesisRefusal::None);
  return samples;
}

struct ReadCase {
  int32_t fs;
  int32_t repeat;
  bool filter;
  std::vector<int32_t> sizes;  // read sizes in turn, the last one repeated
};

TEST(ToneStreamTest, ReadsOfAnySizeGiveTheWholeToneInOrder) {
  const ReadCase cases[] = {
      {8000, 3, false, {4096}},
      {8000, 3, true, {1}},
      {44100, 2, true, {3, 4095, 4097}},
      {96000, 1, true, {8192, 100, 5000}},
      {16000, 1, false, {1000000}},
  };
  for (const ReadCase& c : cases) {
    const std::vector<int16_t> whole = Whole(c.fs, c.repeat, c.filter);
    ToneSetting setting;
    BuildSetting(setting);
    CToneStream stream;
    ASSERT_EQ(StartToneStream(setting, c.fs, c.repeat, c.filter, &stream), SynthesisRefusal::None);
    ASSERT_EQ(stream.remaining(), static_cast<int32_t>(whole.size()));
    std::vector<int16_t> read;
    size_t turn = 0;
    while (stream.remaining() > 0) {
      const int32_t size = c.sizes[std::min(turn++, c.sizes.size() - 1)];
      std::vector<int16_t> piece(static_cast<size_t>(size));
      const int32_t got = stream.Read(piece.data(), size);
      ASSERT_EQ(got, std::min(size, static_cast<int32_t>(whole.size() - read.size())));
      read.insert(read.end(), piece.begin(), piece.begin() + got);
    }
    EXPECT_EQ(read, whole) << c.fs << " Hz, filter " << c.filter;
    int16_t beyond = 77;
    EXPECT_EQ(stream.Read(&beyond, 1), 0);
    EXPECT_EQ(beyond, 77);
  }
}

TEST(ToneStreamTest, RunsCoverTheToneAndThenEnd) {
  const std::vector<int16_t> whole = Whole(96000, 2, true);
  ASSERT_GT(whole.size(), static_cast<size_t>(CToneStream::kRunSamples));
  ToneSetting setting;
  BuildSetting(setting);
  CToneStream stream;
  ASSERT_EQ(StartToneStream(setting, 96000, 2, true, &stream), SynthesisRefusal::None);
  std::vector<int16_t> runs;
  int32_t count = 0;
  while (const int16_t* run = stream.NextRun(&count)) {
    ASSERT_GT(count, 0);
    ASSERT_LE(count, CToneStream::kRunSamples);
    runs.insert(runs.end(), run, run + count);
  }
  EXPECT_EQ(count, 0);
  EXPECT_EQ(runs, whole);
}

TEST(ToneStreamTest, ASettingWithoutTonesCannotBeStarted) {
  ToneSetting setting;
  AddStep(setting, On, 100);
  CToneStream stream;
  EXPECT_EQ(stream.Start(&setting, 8000, false, 800), SynthesisRefusal::NoTones);
  EXPECT_EQ(stream.remaining(), 0);
  int32_t count = 5;
  EXPECT_EQ(stream.NextRun(&count), nullptr);
  EXPECT_EQ(count, 0);
  // Refused by the checks before any stream is started.
  EXPECT_EQ(StartToneStream(setting, 8000, 1, false, &stream), SynthesisRefusal::NoTones);
}

// Starting again begins the tone afresh, from the ring pattern's first step.
TEST(ToneStreamTest, AStreamStartedAgainBeginsAfresh) {
  const std::vector<int16_t> whole = Whole(8000, 2, true);
  ToneSetting setting;
  BuildSetting(setting);
  CToneStream stream;
  ASSERT_EQ(StartToneStream(setting, 8000, 2, true, &stream), SynthesisRefusal::None);
  std::vector<int16_t> part(5000);
  stream.Read(part.data(), 5000);
  ASSERT_EQ(StartToneStream(setting, 8000, 2, true, &stream), SynthesisRefusal::None);
  std::vector<int16_t> again(whole.size());
  EXPECT_EQ(stream.Read(again.data(), static_cast<int32_t>(again.size())),
            static_cast<int32_t>(whole.size()));
  EXPECT_EQ(again, whole);
}

}  // namespace
