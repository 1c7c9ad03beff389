#include <gtest/gtest.h>

#include <vector>

#include "synth/tone_setting.h"
#include "tests/common/setting_builder.h"

namespace {

std::vector<double> FillBlocks(ToneSetting& setting, int blocks) {
  std::vector<double> gains(static_cast<size_t>(blocks) * kSynthesisBlockSamples, -99.0);
  for (int b = 0; b < blocks; ++b) {
    EXPECT_EQ(setting.FillEnvelope(gains.data() + b * kSynthesisBlockSamples),
              kSynthesisBlockSamples);
  }
  return gains;
}

TEST(EnvelopeTest, RampUpOfOneMillisecondRepeatsEveryEightSamples) {
  ToneSetting setting;
  AddStep(setting, RampUp, 1);
  const std::vector<double> gains = FillBlocks(setting, 2);
  for (size_t i = 0; i < gains.size(); ++i) {
    ASSERT_EQ(gains[i], static_cast<double>(i % 8) / 8.0) << i;
  }
}

TEST(EnvelopeTest, RampDownFallsFromOneToOneNth) {
  ToneSetting setting;
  AddStep(setting, RampDown, 1);
  const std::vector<double> gains = FillBlocks(setting, 1);
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(gains[i], (8.0 - i % 8) / 8.0) << i;
}

TEST(EnvelopeTest, DefaultFadeIsTwentySamplesInAndOut) {
  ToneSetting setting;  // 8000 Hz, fade 400: F = 20
  AddStep(setting, On, 100, 1);  // 800 samples
  const std::vector<double> gains = FillBlocks(setting, 1);
  for (int o = 0; o < 20; ++o) EXPECT_EQ(gains[o], o / 20.0) << o;
  for (int o = 20; o < 780; ++o) ASSERT_EQ(gains[o], 1.0) << o;
  for (int o = 780; o < 800; ++o) EXPECT_EQ(gains[o], (800 - o) / 20.0) << o;
  EXPECT_EQ(gains[780], 1.0);
  EXPECT_EQ(gains[799], 1.0 / 20.0);
  EXPECT_EQ(gains[800], 0.0);  // the next cycle fades in again
}

TEST(EnvelopeTest, FadeInTakesPrecedenceInAShortStep) {
  ToneSetting setting;
  AddStep(setting, On, 3, 1);  // 24 samples, F = 20
  const std::vector<double> gains = FillBlocks(setting, 1);
  for (int o = 0; o < 20; ++o) EXPECT_EQ(gains[o], o / 20.0) << o;
  for (int o = 20; o < 24; ++o) EXPECT_EQ(gains[o], (24 - o) / 20.0) << o;
}

TEST(EnvelopeTest, FadeOfZeroOrLessIsASingleSample) {
  for (int32_t fade : {0, -400}) {
    ToneSetting setting;
    setting.fade = fade;
    AddStep(setting, On, 1, 1);  // 8 samples
    const std::vector<double> gains = FillBlocks(setting, 1);
    const std::vector<double> cycle = {0, 1, 1, 1, 1, 1, 1, 1};
    for (size_t i = 0; i < 64; ++i) EXPECT_EQ(gains[i], cycle[i % 8]) << fade << " " << i;
  }
}

TEST(EnvelopeTest, FadeRateAboveTheSamplingFrequencyMeansNoFade) {
  ToneSetting setting;
  setting.fade = 9000;  // F = 0
  AddStep(setting, On, 1, 1);
  const std::vector<double> gains = FillBlocks(setting, 1);
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(gains[i], 1.0) << i;
}

TEST(EnvelopeTest, OffStepsAndOtherValuesAreConstantGains) {
  ToneSetting setting;
  AddStep(setting, Off, 1, 1);  // a fade flag on OFF changes nothing
  AddStep(setting, 5, 1);
  AddStep(setting, -2, 1, 1);   // fades apply to any value but 0
  setting.fade = 8000;          // F = 1
  const std::vector<double> gains = FillBlocks(setting, 1);
  const std::vector<double> cycle = {0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 5, 5, 5, 5, 5,
                                     0, -2, -2, -2, -2, -2, -2, 1};
  for (size_t i = 0; i < 96; ++i) EXPECT_EQ(gains[i], cycle[i % 24]) << i;
}

TEST(EnvelopeTest, PatternRunsOnAcrossBlocks) {
  ToneSetting setting;
  AddStep(setting, RampDown, 1000);  // 8000 samples
  AddStep(setting, Off, 10);         // 80 samples
  const std::vector<double> gains = FillBlocks(setting, 3);
  EXPECT_EQ(gains[4096], (8000.0 - 4096) / 8000.0);
  EXPECT_EQ(gains[7999], 1.0 / 8000.0);
  for (int i = 8000; i < 8080; ++i) ASSERT_EQ(gains[i], 0.0) << i;
  EXPECT_EQ(gains[8080], 1.0);
  EXPECT_EQ(setting.pattern_position, 3 * 4096 - 8080);
}

TEST(EnvelopeTest, TruncatedStepLengthsStartTheNextCycleEarly) {
  ToneSetting setting;
  setting.sampling_frequency = 44100;
  AddStep(setting, RampUp, 1);  // 44.1 samples: 44
  AddStep(setting, Off, 1);     // 44
  const std::vector<double> gains = FillBlocks(setting, 1);
  EXPECT_EQ(gains[43], 43.0 / 44.0);
  EXPECT_EQ(gains[44], 0.0);
  EXPECT_EQ(gains[88], 0.0);
  EXPECT_EQ(gains[89], 1.0 / 44.0);
}

TEST(EnvelopeTest, StepsThatYieldNoSamplesGiveSilenceInsteadOfHanging) {
  const std::vector<std::vector<int32_t>> lists = {{0}, {0, 0}, {-100, 50}, {-1}, {}};
  for (const std::vector<int32_t>& times : lists) {
    ToneSetting setting;
    for (int32_t time : times) AddStep(setting, On, time);
    const std::vector<double> gains = FillBlocks(setting, 2);
    for (double gain : gains) ASSERT_EQ(gain, 0.0);
    EXPECT_EQ(setting.pattern_position, 0);
  }
}

TEST(EnvelopeTest, NegativeStepsBeforeAPositiveOneStillPlayIt) {
  ToneSetting setting;
  AddStep(setting, Off, -1);    // -8 samples
  AddStep(setting, RampUp, 2);  // 16 samples, ends at cycle position 8
  const std::vector<double> gains = FillBlocks(setting, 1);
  // The second step starts at -8, so the cycle enters it at offset 8.
  for (size_t i = 0; i < 32; ++i) EXPECT_EQ(gains[i], (8.0 + i % 8) / 16.0) << i;
}

}  // namespace
