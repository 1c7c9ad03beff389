#include "synth/low_pass_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "tests/synth/reference_synthesis.h"

namespace {

TEST(LowPassFilterTest, FullScaleSineChangesByAtMostOne) {
  const std::vector<int16_t> cycle = {0, 23169, 32767, 23169, 0, -23169, -32767, -23169};
  std::vector<int16_t> samples;
  for (int i = 0; i < 8000; ++i) samples.push_back(cycle[i % 8]);
  std::vector<int16_t> filtered = samples;
  ApplyLowPassFilter(filtered.data(), static_cast<int32_t>(filtered.size()), 8000);
  EXPECT_EQ(std::vector<int16_t>(filtered.begin(), filtered.begin() + 8),
            (std::vector<int16_t>{0, 23168, 32767, 23168, 0, -23169, -32766, -23169}));
  for (size_t i = 0; i < samples.size(); ++i) {
    ASSERT_LE(std::abs(filtered[i] - samples[i]), 1) << i;
  }
}

TEST(LowPassFilterTest, NeverGoesBelowMinus32767) {
  std::vector<int16_t> samples(1000, -32768);
  for (size_t i = 0; i < samples.size(); i += 3) samples[i] = 32767;
  ApplyLowPassFilter(samples.data(), static_cast<int32_t>(samples.size()), 48000);
  for (int16_t s : samples) ASSERT_GE(s, -32767);
  std::vector<int16_t> low(100, -32768);
  ApplyLowPassFilter(low.data(), 100, 8000);
  EXPECT_EQ(low[0], -32767);
}

TEST(LowPassFilterTest, CoefficientsAgreeForEveryOfferedFrequency) {
  const LowPassCoefficients base = ComputeLowPassCoefficients(8000);
  EXPECT_NEAR(base.b0, 1.0, 1e-6);
  EXPECT_NEAR(base.b1, 2.0, 1e-6);
  EXPECT_EQ(base.b2, base.b0);
  EXPECT_NEAR(base.a1, 2.0, 1e-6);
  EXPECT_NEAR(base.a2, 1.0, 1e-6);
  for (int32_t fs : {16000, 32000, 44100, 48000, 96000}) {
    const LowPassCoefficients k = ComputeLowPassCoefficients(fs);
    EXPECT_NEAR(k.b0, base.b0, 1e-14) << fs;
    EXPECT_NEAR(k.b1, base.b1, 1e-14) << fs;
    EXPECT_NEAR(k.a1, base.a1, 1e-14) << fs;
    EXPECT_NEAR(k.a2, base.a2, 1e-14) << fs;
  }
}

TEST(LowPassFilterTest, NothingHappensWithoutSamples) {
  int16_t sample = 1234;
  ApplyLowPassFilter(&sample, 0, 8000);
  ApplyLowPassFilter(&sample, -5, 8000);
  ApplyLowPassFilter(nullptr, 10, 8000);
  EXPECT_EQ(sample, 1234);
}

TEST(LowPassFilterTest, MatchesTheFilterWithWorkArrays) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> value(-32768, 32767);
  for (int32_t fs : {8000, 44100, 96000, 11025}) {
    std::vector<int16_t> samples(5000);
    for (int16_t& s : samples) s = static_cast<int16_t>(value(random));
    std::vector<int16_t> expected = samples;
    reference::Filter(expected.data(), 5000, fs);
    ApplyLowPassFilter(samples.data(), 5000, fs);
    ASSERT_EQ(samples, expected) << fs;
  }
}

}  // namespace
