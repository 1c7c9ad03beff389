// The least-squares fit of known tones: each number of tones it fits (one to four) recovers
// the tones' power and leaves only the rounding to whole samples unexplained; more tones
// than it fits are refused.
#include "analysis/tone_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kRate = 8000;

struct FitCase {
  std::vector<double> frequencies;
  std::vector<double> amplitudes;  // in sample units
};

TEST(ToneFit, RecoversEveryNumberOfTonesItFits) {
  const std::vector<FitCase> cases = {
      {{425}, {8000}},
      {{440, 480}, {6000, 3000}},
      {{950, 1400, 1800}, {5000, 4000, 3000}},
      {{697, 770, 1209, 1336}, {4000, 3000, 2000, 1000}},
  };
  for (const FitCase& test : cases) {
    const size_t count = test.frequencies.size();
    std::vector<int16_t> samples(4000);
    double power = 0.0;
    for (size_t t = 0; t < count; ++t) power += test.amplitudes[t] * test.amplitudes[t] / 2.0;
    for (size_t n = 0; n < samples.size(); ++n) {
      double value = 100.0;  // the dc offset the fit is given
      for (size_t t = 0; t < count; ++t) {
        value += test.amplitudes[t] * std::sin(2.0 * kPi * test.frequencies[t] * n / kRate + 0.4 * t);
      }
      samples[n] = static_cast<int16_t>(std::lround(value));
    }
    ToneFit fit(samples.data(), 100.0, kRate, test.frequencies);
    ASSERT_TRUE(fit.Fit(500, 3500)) << count << " tones";
    EXPECT_NEAR(fit.Power(), power, 1e-4 * power) << count << " tones";
    // Rounding to whole samples leaves a twelfth of a square unit per sample.
    EXPECT_LT(fit.Unexplained(500, 3500), 3000 * 0.1) << count << " tones";
  }
}

TEST(ToneFit, RefusesMoreTonesThanItFits) {
  std::vector<int16_t> samples(4000, 0);
  std::vector<double> frequencies(kMostFittedTones + 1);
  for (size_t t = 0; t < frequencies.size(); ++t) frequencies[t] = 400.0 + 300.0 * static_cast<double>(t);
  ToneFit fit(samples.data(), 0.0, kRate, frequencies);
  EXPECT_FALSE(fit.Fit(0, 4000));
  EXPECT_FALSE(ToneFit(samples.data(), 0.0, kRate, {}).Fit(0, 4000));
}

}  // namespace
