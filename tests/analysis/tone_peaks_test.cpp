// The tones of a segment: frequencies refined far below the FFT's resolution, levels
// exact for a sine, and the shapes that are no tone at all.
#include "analysis/tone_peaks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/analysis/degraded_line.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Sine {
  double frequency;
  double amplitude;  // share of full scale
};

std::vector<int16_t> Sines(const std::vector<Sine>& sines, int32_t rate, double ms) {
  std::vector<int16_t> samples(static_cast<size_t>(ms * rate / 1000.0));
  for (size_t n = 0; n < samples.size(); ++n) {
    double value = 0.0;
    for (const Sine& sine : sines) value += sine.amplitude * 32767.0 * std::sin(2.0 * kPi * sine.frequency * n / rate + 0.3);
    samples[n] = static_cast<int16_t>(std::lround(value));
  }
  return samples;
}

Segment Whole(const std::vector<int16_t>& samples, SegmentKind kind = SegmentKind::Steady) {
  return Segment{kind, 0, static_cast<int64_t>(samples.size()), false, false};
}

struct PeakCase {
  const char* name;
  int32_t rate;
  double ms;
  std::vector<Sine> sines;
  double snr_db;            // 0: no noise
  double frequency_error;   // Hz, at most
  double level_error;       // dB, at most
};

TEST(MeasureTones, FrequenciesAndLevelsOfEverySine) {
  const std::vector<PeakCase> cases = {
      {"100 ms single", 8000, 100, {{425, 0.25}}, 0, 0.01, 0.05},
      {"100 ms pair 40 Hz apart", 8000, 100, {{440, 0.25}, {480, 0.25}}, 0, 0.3, 0.1},
      {"300 ms pair", 16000, 300, {{350, 0.2}, {440, 0.2}}, 0, 0.01, 0.05},
      {"DTMF at 44.1 kHz", 44100, 200, {{697, 0.3}, {1209, 0.2}}, 0, 0.01, 0.05},
      {"near Nyquist at 96 kHz", 96000, 100, {{3400, 0.1}}, 0, 0.01, 0.05},
      {"whole second with twist", 48000, 1000, {{1000, 0.5}, {1336.5, 0.05}}, 0, 0.01, 0.05},
      {"20 dB SNR", 8000, 500, {{425, 0.3}}, 20, 0.02, 0.1},
      {"pair at 20 dB SNR", 8000, 500, {{480, 0.2}, {620, 0.2}}, 20, 0.02, 0.1},
  };
  for (const PeakCase& test : cases) {
    std::vector<int16_t> samples = Sines(test.sines, test.rate, test.ms);
    if (test.snr_db > 0) samples = sonaril_test::WithNoise(samples, test.snr_db, 11);
    SegmentTones tones = MeasureTones(samples.data(), test.rate, 0.0, Whole(samples));
    ASSERT_EQ(tones.tones.size(), test.sines.size()) << test.name;
    EXPECT_TRUE(tones.tonal) << test.name;
    for (size_t i = 0; i < test.sines.size(); ++i) {
      double level = 20.0 * std::log10(test.sines[i].amplitude);
      EXPECT_NEAR(tones.tones[i].frequency, test.sines[i].frequency, test.frequency_error) << test.name;
      EXPECT_NEAR(tones.tones[i].level_dbfs, level, test.level_error) << test.name;
    }
  }
}

// A ramp's level is that of its top, where it hands over to the steady part.
TEST(MeasureTones, RampLevelIsItsTop) {
  const int32_t rate = 8000;
  std::vector<int16_t> samples = Sines({{600, 0.5}}, rate, 400);
  for (size_t n = 0; n < samples.size(); ++n) {
    samples[n] = static_cast<int16_t>(std::lround(samples[n] * static_cast<double>(n) / samples.size()));
  }
  SegmentTones up = MeasureTones(samples.data(), rate, 0.0, Whole(samples, SegmentKind::RampUp));
  ASSERT_EQ(up.tones.size(), 1u);
  EXPECT_NEAR(up.tones[0].level_dbfs, 20.0 * std::log10(0.5), 0.2);
  std::vector<int16_t> falling(samples.rbegin(), samples.rend());
  SegmentTones down = MeasureTones(falling.data(), rate, 0.0, Whole(falling, SegmentKind::RampDown));
  ASSERT_EQ(down.tones.size(), 1u);
  EXPECT_NEAR(down.tones[0].level_dbfs, 20.0 * std::log10(0.5), 0.2);
}

TEST(MeasureTones, NoiseClicksAndSilenceAreNoTone) {
  const int32_t rate = 8000;
  std::vector<int16_t> silence(1600, 0);
  std::vector<int16_t> noise = sonaril_test::WithNoise(std::vector<int16_t>(1600, 1000), 0, 3);
  for (int16_t& sample : noise) sample = static_cast<int16_t>(sample - 1000);
  std::vector<int16_t> click(1600, 0);
  click[800] = 30000;
  std::vector<int16_t> too_short = Sines({{1000, 0.5}}, rate, 3);
  for (const auto& samples : {silence, noise, click, too_short}) {
    SegmentTones tones = MeasureTones(samples.data(), rate, 0.0, Whole(samples));
    EXPECT_FALSE(tones.tonal);
  }
  EXPECT_TRUE(MeasureTones(silence.data(), rate, 0.0, Whole(silence)).tones.empty());
}

}  // namespace
