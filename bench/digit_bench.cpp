// Hearing the digits of a 10-minute recording at 8000 Hz: a phone number dialled every
// 2.5 s (100 ms on, 100 ms off) through a telephone line at 20 dB SNR, and the same length
// of silence-free noise, where the receiver finds no pair at all.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "digits/digit_receiver.h"
#include "tests/analysis/degraded_line.h"
#include "tests/digits/digit_signals.h"

namespace {

constexpr int32_t kRate = 8000;
constexpr size_t kTenMinutes = static_cast<size_t>(kRate) * 600;

std::vector<int16_t> Dialling() {
  const std::vector<int16_t> number =
      sonaril_test::Joined(sonaril_test::RenderDigits("5551234#,", DefaultDigitOptions(DigitSystem::Dtmf)),
                           sonaril_test::Silence(500));
  std::vector<int16_t> samples;
  while (samples.size() < kTenMinutes) samples.insert(samples.end(), number.begin(), number.end());
  samples.resize(kTenMinutes);
  return sonaril_test::ThroughTelephoneLine(samples, kRate, 20.0, 1);
}

void BM_HearDigits(benchmark::State& state) {
  const std::vector<int16_t> samples =
      state.range(0) == 0 ? Dialling() : sonaril_test::WithNoise(std::vector<int16_t>(kTenMinutes, 1000), 0.0, 1);
  size_t heard = 0;
  for (auto _ : state) {
    const std::vector<HeardDigit> digits = HearDigits(samples, kRate);
    heard = digits.size();
    benchmark::DoNotOptimize(digits.data());
  }
  state.counters["digits"] = static_cast<double>(heard);
}
BENCHMARK(BM_HearDigits)->Arg(0)->Arg(1)->ArgNames({"noise"})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
