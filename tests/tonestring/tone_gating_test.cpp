// The two facts the builder and the reader share, checked against the real generator.
#include <gtest/gtest.h>

#include <vector>

#include "synth/sine_wave.h"
#include "tonestring/tone_gating.h"

namespace {

TEST(ToneGating, WholeSamplesOnlyWhereMillisecondsMeetSamples) {
  const struct {
    int64_t ms;
    int32_t rate;
    int64_t samples;
  } cases[] = {{1, 8000, 8}, {333, 8000, 2664}, {10, 44100, 441}, {25, 44100, -1}, {1, 44100, -1},
               {2000, 44100, 88200}, {7, 96000, 672}, {0, 48000, 0}};
  for (const auto& item : cases) {
    EXPECT_EQ(WholeSamples(item.ms, item.rate), item.samples) << item.ms << " ms at " << item.rate;
  }
}

// Wherever the rule calls a spilled sample silent, the sine generator renders exactly 0,
// at any level a setting can hold; and the rule is not silent everywhere.
TEST(ToneGating, SilentSpillsAreZeroInTheRealGenerator) {
  for (int32_t rate : {8000, 16000, 44100, 96000}) {
    for (int32_t frequency : {350, 425, 440, 950, 1004, 1400, 1440, 1800, 3999}) {
      if (frequency * 2 >= rate) continue;
      for (int32_t level : {1, 22, 100, 200}) {
        CSineWave sine;
        ASSERT_EQ(sine.Init(rate, 0, -1, frequency, 0, level), 1);
        sine.SetLoopLength(-1);
        const int32_t count = 2 * rate + 17;  // across two restarts of the cycle counter
        std::vector<int32_t> samples(count);
        sine.Generate(samples.data(), count);
        int silent = 0;
        for (int32_t position = 0; position < count; ++position) {
          if (!SineIsSilentAt(frequency, rate, position)) continue;
          ++silent;
          ASSERT_EQ(samples[position], 0) << frequency << " Hz at " << rate << " Hz, level " << level
                                          << ", sample " << position;
        }
        EXPECT_GT(silent, 0);
        EXPECT_LT(silent, count / 2) << frequency << " Hz at " << rate;
      }
    }
  }
}

}  // namespace
