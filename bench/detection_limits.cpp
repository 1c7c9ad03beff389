// The experiment behind the README's figures: how small a frequency or cadence error
// check catches every time at 20 dB SNR, and how far line conditions (echo, band-pass
// filters, an AGC, noise) move the steps' lengths. Recordings are made here with exact
// frequencies and lengths (a setting holds whole hertz and milliseconds), noise from
// 20 seeds, and checked against the setting with default and with tight tolerances.
// Run it by hand (built beside the benchmarks); it prints a table.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/tone_check.h"
#include "tests/analysis/degraded_line.h"
#include "tests/common/setting_builder.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kRate = 8000;
constexpr int kTrials = 20;

struct Cadence {
  double on_ms;
  double off_ms;
};

// Four cycles of two sines at 25 % each, switched on and off with 2.5 ms fades; with noise
// at 20 dB SNR when seed is not 0.
std::vector<int16_t> Record(const Cadence& cadence, double scale, double first_hz, double second_hz,
                            uint32_t seed) {
  std::vector<int16_t> samples;
  const double fade = 0.0025 * kRate;
  for (int cycle = 0; cycle < 4; ++cycle) {
    const int on = static_cast<int>(std::lround(cadence.on_ms * kRate / 1000.0));
    const int off = static_cast<int>(std::lround(cadence.off_ms * kRate / 1000.0));
    for (int n = 0; n < on; ++n) {
      double gain = std::min({1.0, n / fade, (on - n) / fade});
      double t = static_cast<double>(samples.size()) / kRate;
      double value = 0.25 * 32767.0 * (std::sin(2 * kPi * first_hz * scale * t) + std::sin(2 * kPi * second_hz * scale * t));
      samples.push_back(static_cast<int16_t>(std::lround(gain * value)));
    }
    samples.insert(samples.end(), off, 0);
  }
  return seed != 0 ? sonaril_test::WithNoise(samples, 20.0, seed) : samples;
}

ExpectedCycle Expect(const Cadence& cadence, int32_t first_hz, int32_t second_hz) {
  ToneSetting setting;
  AddStep(setting, On, static_cast<int32_t>(cadence.on_ms), 1);
  AddStep(setting, Off, static_cast<int32_t>(cadence.off_ms));
  AddTone(setting, Sine, first_hz, 0, 0, -1, 25);
  AddTone(setting, Sine, second_hz, 0, 0, -1, 25);
  setting.sampling_frequency = kRate;
  ExpectedCycle expected;
  BuildExpectedCycle(setting, &expected);
  return expected;
}

int Failures(const ExpectedCycle& expected, const Cadence& heard, double scale, const CheckTolerances& tolerances) {
  int failures = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    std::vector<int16_t> samples = Record(heard, scale, 480, 620, 100 + trial);
    RecordingAnalysis analysis;
    AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), kRate, &analysis);
    failures += CompareWithExpected(expected, samples.data(), analysis, tolerances).pass ? 0 : 1;
  }
  return failures;
}

void FrequencyTable(const char* title, const CheckTolerances& tolerances, const std::vector<double>& errors) {
  const Cadence cadence{500, 500};
  const ExpectedCycle expected = Expect(cadence, 480, 620);
  std::printf("%s\n  error %%   FAIL of %d\n", title, kTrials);
  for (double error : errors) {
    std::printf("  %7.3f   %2d\n", error, Failures(expected, cadence, 1.0 + error / 100.0, tolerances));
  }
}

void CadenceTable(const char* title, double on_ms, const CheckTolerances& tolerances, const std::vector<double>& errors) {
  const ExpectedCycle expected = Expect(Cadence{on_ms, on_ms}, 480, 620);
  std::printf("%s\n  ON longer by ms   FAIL of %d\n", title, kTrials);
  for (double error : errors) {
    std::printf("  %15.1f   %2d\n", error, Failures(expected, Cadence{on_ms + error, on_ms}, 1.0, tolerances));
  }
}

struct LineCondition {
  const char* name;
  std::function<std::vector<int16_t>(const std::vector<int16_t>&, uint32_t seed)> apply;
};

// The largest difference of a step's length from the setting's, over the trials, and how
// many trials pass check with 5 ms allowed.
void LineTable(const Cadence& cadence) {
  using namespace sonaril_test;
  const std::vector<LineCondition> conditions = {
      {"clean", [](const std::vector<int16_t>& s, uint32_t) { return s; }},
      {"echo 10 ms -10 dB", [](const std::vector<int16_t>& s, uint32_t) { return WithEcho(s, kRate, 10, -10); }},
      {"echo 20 ms -20 dB", [](const std::vector<int16_t>& s, uint32_t) { return WithEcho(s, kRate, 20, -20); }},
      {"echo 20 ms -40 dB", [](const std::vector<int16_t>& s, uint32_t) { return WithEcho(s, kRate, 20, -40); }},
      {"echo 40 ms -10 dB", [](const std::vector<int16_t>& s, uint32_t) { return WithEcho(s, kRate, 40, -10); }},
      {"echo 60 ms -10 dB", [](const std::vector<int16_t>& s, uint32_t) { return WithEcho(s, kRate, 60, -10); }},
      {"linear-phase 300-3400 Hz",
       [](const std::vector<int16_t>& s, uint32_t) { return ThroughBandPass(s, kRate, 300, 3400, FilterPhase::Linear); }},
      {"minimum-phase 300-3400 Hz",
       [](const std::vector<int16_t>& s, uint32_t) { return ThroughBandPass(s, kRate, 300, 3400, FilterPhase::Minimum); }},
      {"AGC after noise 20 dB", [](const std::vector<int16_t>& s, uint32_t seed) { return ThroughAgc(WithNoise(s, 20, seed), kRate); }},
      {"noise 10 dB", [](const std::vector<int16_t>& s, uint32_t seed) { return WithNoise(s, 10, seed); }},
      {"noise 6 dB", [](const std::vector<int16_t>& s, uint32_t seed) { return WithNoise(s, 6, seed); }},
  };
  const ExpectedCycle expected = Expect(cadence, 480, 620);
  CheckTolerances within_5_ms;
  within_5_ms.cadence_in_ms = true;
  within_5_ms.cadence_ms = 5.0;
  within_5_ms.level_db = 6.0;
  std::printf("Line conditions, 480 + 620 Hz, %.0f ms on / %.0f ms off\n  %-26s  worst ms  PASS of %d\n",
              cadence.on_ms, cadence.off_ms, "condition", kTrials);
  const std::vector<int16_t> clean = Record(cadence, 1.0, 480, 620, 0);
  for (const LineCondition& condition : conditions) {
    double worst = 0.0;
    int passes = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
      std::vector<int16_t> samples = condition.apply(clean, 100 + trial);
      RecordingAnalysis analysis;
      AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), kRate, &analysis);
      CheckResult result = CompareWithExpected(expected, samples.data(), analysis, within_5_ms);
      passes += result.pass ? 1 : 0;
      for (const StepComparison& step : result.steps) worst = std::max(worst, std::fabs(step.worst_error_ms));
    }
    std::printf("  %-26s  %8.1f  %2d\n", condition.name, worst, passes);
  }
}

}  // namespace

int main() {
  LineTable(Cadence{500, 500});
  CheckTolerances defaults;
  FrequencyTable("Frequency, 480 + 620 Hz, 500 ms on / 500 ms off, default tolerance 1.5 %", defaults,
                 {0.0, 1.0, 1.4, 1.45, 1.5, 1.55, 1.6, 1.7, 2.0, 3.0});
  CheckTolerances tight;
  tight.frequency_percent = 0.02;
  FrequencyTable("Frequency, the same with --tolerance-frequency 0.02", tight,
                 {0.0, 0.01, 0.02, 0.03, 0.04, 0.05, 0.1});
  CadenceTable("Cadence, 500 ms steps, default tolerance 10 % (50 ms)", 500, defaults,
               {0, 40, 45, 48, 50, 52, 55, 60, 125});
  CadenceTable("Cadence, 150 ms steps, default tolerance floor 20 ms", 150, defaults, {0, 15, 18, 20, 22, 25, 30});
  CheckTolerances tight_cadence;
  tight_cadence.cadence_in_ms = true;
  tight_cadence.cadence_ms = 2.0;
  CadenceTable("Cadence, 500 ms steps, --tolerance-cadence 2ms", 500, tight_cadence, {0, 1, 2, 3, 4, 5, 6, 8});
  return 0;
}
