// The largest supported synthesis: eight tones of all four kinds at 96000 Hz, five steps
// with fades and ramps, just under 2^31 / 1000 samples, filter on.
#include <benchmark/benchmark.h>

#include <vector>

#include "synth/synthesize_tone.h"
#include "tests/common/setting_builder.h"

namespace {

// 22369 ms x 96000 Hz + 999 stays below 2^31: 2147424 samples.
void BuildLargestSetting(ToneSetting& setting) {
  AddStep(setting, On, 5000, 1);
  AddStep(setting, RampDown, 3000, 0);
  AddStep(setting, Off, 2369, 0);
  AddStep(setting, RampUp, 4000, 0);
  AddStep(setting, On, 8000, 1);
  AddTone(setting, Sine, 425, 0, 0, -1, 30);
  AddTone(setting, Sine, 1209, 90, 100, 20000, 20);
  AddTone(setting, Square, 697, -45, 0, 15000, 10);
  AddTone(setting, Square, 3400, 180, 500, -1, 10);
  AddTone(setting, Triangle, 941, 30, 0, -1, 15);
  AddTone(setting, Triangle, 1633, -90, 2000, 21000, 15);
  AddTone(setting, Sawtooth, 350, 0, 0, 18000, 10);
  AddTone(setting, Sawtooth, 2600, 270, 1000, -1, 10);
}

void BM_SynthesizeLargestSetting(benchmark::State& state) {
  ToneSetting setting;
  BuildLargestSetting(setting);
  std::vector<int16_t> samples;
  for (auto _ : state) {
    if (SynthesizeTone(setting, 96000, 1, true, &samples) != SynthesisRefusal::None) {
      state.SkipWithError("the setting was refused");
      break;
    }
    benchmark::DoNotOptimize(samples.data());
  }
  state.counters["samples"] = static_cast<double>(samples.size());
}
BENCHMARK(BM_SynthesizeLargestSetting)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
