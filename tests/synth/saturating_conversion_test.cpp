#include "synth/saturating_conversion.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(SaturatingConversionTest, TruncatesTowardZeroAndSaturates) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int32_t expected;
  } cases[] = {
      {0.0, 0},           {-0.0, 0},          {0.9, 0},           {-0.9, 0},
      {1.5, 1},           {-1.5, -1},         {23169.77, 23169},  {-23169.77, -23169},
      {2147483646.9, 2147483646},             {2147483647.0, 2147483647},
      {2147483647.5, 2147483647},             {2147483648.0, 2147483647},
      {1e300, 2147483647},                    {inf, 2147483647},
      {-2147483648.0, -2147483647 - 1},       {-2147483648.9, -2147483647 - 1},
      {-2147483649.0, -2147483647 - 1},       {-inf, -2147483647 - 1},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncateToInt32(c.value), c.expected) << c.value;
}

TEST(SaturatingConversionTest, SampleClipEqualsClippingTheTruncatedValue) {
  const double inf = std::numeric_limits<double>::infinity();
  const double edges[] = {0.0, -0.0, 0.5, -0.5, 32766.9, 32767.0, 32767.99, 32768.0, 40000.0,
                          -32767.5, -32768.0, -32768.9, -32769.0, -1e12, 1e12, inf, -inf,
                          std::numeric_limits<double>::quiet_NaN()};
  for (double value : edges) {
    int32_t clipped = TruncateToInt32(value);
    clipped = clipped > 32767 ? 32767 : (clipped < -32768 ? -32768 : clipped);
    EXPECT_EQ(TruncateToSample(value), clipped) << value;
  }
  for (int32_t mix = -70000; mix <= 70000; mix += 7) {
    for (double gain : {1.0, 0.5, 1.0 / 3.0, 19.0 / 20.0, -1.0, 2.0}) {
      const double value = mix * gain;
      int32_t clipped = TruncateToInt32(value);
      clipped = clipped > 32767 ? 32767 : (clipped < -32768 ? -32768 : clipped);
      ASSERT_EQ(TruncateToSample(value), clipped) << mix << " x " << gain;
    }
  }
}

}  // namespace
