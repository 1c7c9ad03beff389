#include "synth/tone_engine.h"

#include <gtest/gtest.h>

#include <vector>

#include "synth/sine_wave.h"
#include "synth/square_wave.h"
#include "synth/synthesize_tone.h"
#include "synth/triangle_wave.h"
#include "tests/common/setting_builder.h"

namespace {

// What the window does for "Create Tone": fields, buffers of N samples, GenerateTone.
std::vector<int16_t> Create(ToneSetting& setting, int32_t fs, int32_t repeat, int32_t filter,
                            int* report = nullptr) {
  CToneEngine engine(&setting);
  engine.sampling_frequency = fs;
  engine.output_rate = fs;
  engine.filter_on = filter;
  setting.sampling_frequency = fs;
  const int32_t count = ComputeSampleCount(setting.pattern_total, fs, repeat);
  EXPECT_TRUE(engine.AllocateBuffers(count, count));
  const int result = engine.GenerateTone();
  if (report != nullptr) *report = result;
  std::vector<int16_t> samples(engine.sample_buffer, engine.sample_buffer + count);
  const std::vector<int16_t> output(engine.output_buffer, engine.output_buffer + count);
  EXPECT_EQ(output, samples);
  return samples;
}

TEST(ToneEngineTest, SampleCountRoundsUpToWholeSamples) {
  EXPECT_EQ(ComputeSampleCount(1000, 8000, 2), 16000);
  EXPECT_EQ(ComputeSampleCount(1, 44100, 1), 45);
  EXPECT_EQ(ComputeSampleCount(10, 44100, 3), 1323);
  EXPECT_EQ(ComputeSampleCount(0, 8000, 1), 0);
}

TEST(ToneEngineTest, TwoFullScaleSinesClipToSixteenBits) {
  ToneSetting setting;
  AddStep(setting, On, 10);
  AddTone(setting, Sine, 1000);
  AddTone(setting, Sine, 1000);
  const std::vector<int16_t> samples = Create(setting, 8000, 1, 0);
  ASSERT_EQ(samples.size(), 80u);
  const std::vector<int16_t> cycle = {0, 32767, 32767, 32767, 0, -32768, -32768, -32768};
  for (size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(samples[i], cycle[i % 8]) << i;
}

TEST(ToneEngineTest, HalfSecondOnAndOffRepeatedThreeTimes) {
  ToneSetting setting;
  AddStep(setting, On, 500);
  AddStep(setting, Off, 500);
  AddTone(setting, Square, 1000);
  const std::vector<int16_t> samples = Create(setting, 8000, 3, 0);
  ASSERT_EQ(samples.size(), 24000u);
  for (size_t i = 0; i < samples.size(); ++i) {
    const bool on = (i / 4000) % 2 == 0;
    ASSERT_EQ(samples[i] != 0, on) << i;
  }
}

TEST(ToneEngineTest, TonesLoopTogetherWithTheLatestEnd) {
  ToneSetting setting;
  AddStep(setting, On, 2000);
  AddTone(setting, Square, 1000, 0, 0, 500, 10);     // amplitude 3276
  AddTone(setting, Square, 1000, 0, 500, 1000, 20);  // amplitude 6553
  const std::vector<int16_t> samples = Create(setting, 8000, 1, 0);
  ASSERT_EQ(samples.size(), 16000u);
  for (size_t i = 0; i < samples.size(); ++i) {
    const int32_t position = static_cast<int32_t>(i % 8000);
    const int32_t sign = (i % 8) < 4 ? 1 : -1;
    int32_t expected = 0;
    if (position <= 4000) expected += 3276 * sign;
    if (position >= 4000) expected += 6553 * sign;
    ASSERT_EQ(samples[i], expected) << i;
  }
}

TEST(ToneEngineTest, ALastPartialBlockIsFilledToTheExactCount) {
  ToneSetting setting;
  AddStep(setting, On, 1000);
  AddTone(setting, Square, 1000);
  const std::vector<int16_t> samples = Create(setting, 8000, 2, 0);
  ASSERT_EQ(samples.size(), 16000u);  // 3 blocks and 3712 samples
  for (size_t i = 3 * 4096; i < 16000; ++i) {
    ASSERT_EQ(samples[i], (i % 8) < 4 ? 32767 : -32767) << i;
  }
}

TEST(ToneEngineTest, RepeatedRunsAreIdentical) {
  ToneSetting setting;
  AddStep(setting, RampUp, 333);
  AddStep(setting, On, 250, 1);
  AddTone(setting, Triangle, 697);
  AddTone(setting, Sine, 1209, -30, 10, 400, 60);
  const std::vector<int16_t> first = Create(setting, 16000, 3, 1);
  setting.pattern_position = 77;
  EXPECT_EQ(Create(setting, 16000, 3, 1), first);
}

TEST(ToneEngineTest, NoTonesReportsZeroAndLeavesZeros) {
  ToneSetting setting;
  AddStep(setting, On, 10);
  int report = -1;
  const std::vector<int16_t> samples = Create(setting, 8000, 1, 1, &report);
  EXPECT_EQ(report, 0);
  EXPECT_EQ(samples, std::vector<int16_t>(80, 0));
}

TEST(ToneEngineTest, FilterRunsOverTheMixedSamples) {
  ToneSetting setting;
  AddStep(setting, On, 1);
  AddTone(setting, Sine, 1000);
  int report = 0;
  const std::vector<int16_t> samples = Create(setting, 8000, 1, 1, &report);
  EXPECT_EQ(report, 1);
  EXPECT_EQ(samples, (std::vector<int16_t>{0, 23168, 32767, 23168, 0, -23169, -32766, -23169}));
}

TEST(ToneEngineTest, CreateSignalsPicksTheClassAndLeavesRefusedTonesEmpty) {
  ToneSetting setting;
  AddTone(setting, Square, 1000);
  AddTone(setting, 9, 1000);  // unknown kinds are sines
  AddTone(setting, Triangle, 0);
  CToneEngine engine(&setting);
  int32_t count = 0;
  CSignal** signals = engine.CreateSignals(&count);
  ASSERT_NE(signals, nullptr);
  ASSERT_EQ(count, 3);
  EXPECT_NE(dynamic_cast<CSquareWave*>(signals[0]), nullptr);
  EXPECT_NE(dynamic_cast<CSineWave*>(signals[1]), nullptr);
  EXPECT_EQ(signals[2], nullptr);
  for (int32_t i = 0; i < count; ++i) delete signals[i];
  delete[] signals;

  ToneSetting empty;
  CToneEngine none(&empty);
  count = 5;
  EXPECT_EQ(none.CreateSignals(&count), nullptr);
  EXPECT_EQ(count, 0);
}

TEST(ToneEngineTest, ATonesThatCannotBeSetUpIsSkipped) {
  ToneSetting setting;
  AddStep(setting, On, 1);
  AddTone(setting, Square, 0);
  AddTone(setting, Square, 1000);
  int report = 0;
  const std::vector<int16_t> samples = Create(setting, 8000, 1, 0, &report);
  EXPECT_EQ(report, 1);
  EXPECT_EQ(samples[0], 32767);
  EXPECT_EQ(samples[4], -32767);
}

TEST(ToneEngineTest, BuffersAreReplacedAndRefuseNegativeLengths) {
  ToneSetting setting;
  CToneEngine engine(&setting);
  ASSERT_TRUE(engine.AllocateBuffers(10, 0));
  EXPECT_EQ(engine.sample_count, 10);
  EXPECT_EQ(engine.output_buffer, nullptr);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(engine.sample_buffer[i], 0);
  EXPECT_FALSE(engine.AllocateBuffers(-1, 5));
  EXPECT_EQ(engine.sample_buffer, nullptr);
  EXPECT_EQ(engine.sample_count, 0);
}

TEST(SynthesizeToneTest, StoresTheFieldsAndHandsBackNSamples) {
  ToneSetting setting;
  AddStep(setting, On, 1000);
  AddTone(setting, Sine, 1000);
  std::vector<int16_t> samples;
  EXPECT_EQ(SynthesizeTone(setting, 8000, 2, true, &samples), SynthesisRefusal::None);
  EXPECT_EQ(samples.size(), 16000u);
  EXPECT_EQ(setting.sampling_frequency, 8000);
  EXPECT_EQ(setting.repeat, 2);
  EXPECT_EQ(setting.filter_on, 1);
  EXPECT_EQ(samples[1], 23168);
}

TEST(SynthesizeToneTest, RepeatCountIsClamped) {
  const struct {
    int32_t repeat;
    size_t samples;
  } cases[] = {{0, 80}, {-5, 80}, {7, 560}, {250, 8000}};
  for (const auto& c : cases) {
    ToneSetting setting;
    AddStep(setting, On, 10);
    AddTone(setting, Square, 1000);
    std::vector<int16_t> samples;
    EXPECT_EQ(SynthesizeTone(setting, 8000, c.repeat, false, &samples), SynthesisRefusal::None);
    EXPECT_EQ(samples.size(), c.samples) << c.repeat;
  }
}

TEST(SynthesizeToneTest, RefusalLeavesTheSamplesAlone) {
  ToneSetting setting;
  AddTone(setting, Sine, 1000);
  std::vector<int16_t> samples = {1, 2, 3};
  EXPECT_EQ(SynthesizeTone(setting, 8000, 1, false, &samples),
            SynthesisRefusal::PatternTotalZero);
  EXPECT_EQ(samples, (std::vector<int16_t>{1, 2, 3}));
}

}  // namespace
