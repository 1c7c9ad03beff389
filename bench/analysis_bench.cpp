// Analysing long recordings: 60 s at 8000 Hz and 10 min at 48000 Hz of a two-tone cadence
// with noise at 20 dB SNR, and checking the long one against its setting; 1 and 24 hours at
// 8000 Hz read from a file block by block; 60 s at 8000 Hz
// through an echo, a band-pass filter, an AGC and noise 6 dB down. Besides the
// time, the counters give the memory the analysis takes beyond the samples: the peak of
// its own heap allocations, counted by the replaced global operator new.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/recording_blocks.h"
#include "analysis/tone_check.h"
#include "files/string.h"
#include "synth/synthesize_tone.h"
#include "tests/analysis/degraded_line.h"
#include "tests/analysis/recording_bytes.h"
#include "tests/common/setting_builder.h"

namespace {

// Heap bytes in use and their peak since the last reset. Every allocation carries its
// size in front of it, so that delete can count it back.
std::atomic<int64_t> heap_in_use{0};
std::atomic<int64_t> heap_peak{0};

void ResetHeapPeak() { heap_peak = heap_in_use.load(); }

// UK-style double ring: 400 + 450 Hz, 400 on, 200 off, 400 on, 2000 off.
void BuildDoubleRing(ToneSetting& setting) {
  AddStep(setting, On, 400, 1);
  AddStep(setting, Off, 200);
  AddStep(setting, On, 400, 1);
  AddStep(setting, Off, 2000);
  AddTone(setting, Sine, 400, 0, 0, -1, 25);
  AddTone(setting, Sine, 450, 0, 0, -1, 25);
}

// seconds of the setting's cycle at rate Hz, repeated, with noise at 20 dB SNR.
std::vector<int16_t> Recording(int32_t rate, int seconds) {
  ToneSetting setting;
  BuildDoubleRing(setting);
  std::vector<int16_t> cycle;
  SynthesizeTone(setting, rate, 1, false, &cycle);
  std::vector<int16_t> samples;
  samples.reserve(static_cast<size_t>(rate) * seconds);
  while (samples.size() < static_cast<size_t>(rate) * seconds) samples.insert(samples.end(), cycle.begin(), cycle.end());
  samples.resize(static_cast<size_t>(rate) * seconds);
  return sonaril_test::WithNoise(samples, 20.0, 1);
}

void BM_Analyze(benchmark::State& state) {
  const int32_t rate = static_cast<int32_t>(state.range(0));
  const std::vector<int16_t> samples = Recording(rate, static_cast<int>(state.range(1)));
  int64_t extra = 0;
  size_t steps = 0;
  for (auto _ : state) {
    ResetHeapPeak();
    const int64_t before = heap_in_use;
    RecordingAnalysis analysis;
    if (!AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis)) {
      state.SkipWithError("out of memory");
      break;
    }
    extra = heap_peak - before;
    steps = analysis.steps.size();
    benchmark::DoNotOptimize(analysis.steps.data());
  }
  state.counters["samples_MB"] = static_cast<double>(samples.size() * sizeof(int16_t)) / 1e6;
  state.counters["analysis_peak_MB"] = static_cast<double>(extra) / 1e6;
  state.counters["cycle_steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_Analyze)->Args({8000, 60})->Args({48000, 600})->Unit(benchmark::kMillisecond);

// 60 s at 8000 Hz through a line: 0 an echo 40 ms later 10 dB down, 1 a minimum-phase
// 300-3400 Hz band-pass, 2 an AGC, 3 noise 6 dB down (the recording's own tones carry it).
void BM_AnalyzeThroughLine(benchmark::State& state) {
  using namespace sonaril_test;
  const int32_t rate = 8000;
  std::vector<int16_t> samples = Recording(rate, 60);
  switch (state.range(0)) {
    case 0: samples = WithEcho(samples, rate, 40, -10); break;
    case 1: samples = ThroughBandPass(samples, rate, 300, 3400, FilterPhase::Minimum); break;
    case 2: samples = ThroughAgc(samples, rate); break;
    default: samples = WithNoise(samples, 6, 2); break;
  }
  size_t steps = 0;
  for (auto _ : state) {
    RecordingAnalysis analysis;
    AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis);
    steps = analysis.steps.size();
  }
  state.counters["cycle_steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_AnalyzeThroughLine)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_CheckAgainstSetting(benchmark::State& state) {
  const int32_t rate = 48000;
  const std::vector<int16_t> samples = Recording(rate, 600);
  bool pass = false;
  int64_t extra = 0;
  for (auto _ : state) {
    ResetHeapPeak();
    const int64_t before = heap_in_use;
    ToneSetting setting;
    BuildDoubleRing(setting);
    setting.sampling_frequency = rate;
    ExpectedCycle expected;
    BuildExpectedCycle(setting, &expected);
    RecordingAnalysis analysis;
    AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis);
    pass = CompareWithExpected(expected, samples.data(), analysis, CheckTolerances()).pass;
    extra = heap_peak - before;
  }
  if (!pass) state.SkipWithError("the recording did not pass");
  state.counters["analysis_peak_MB"] = static_cast<double>(extra) / 1e6;
}
BENCHMARK(BM_CheckAgainstSetting)->Unit(benchmark::kMillisecond);

// hours of the double ring at 8000 Hz with noise, read from a WAV file block by block: the
// peak of the heap beyond the samples of one block (an hour) stays the same from 1 to 24
// hours. The file (1.4 GB for a day) is written once per length, outside the timing.
void BM_AnalyzeFileInBlocks(benchmark::State& state) {
  const int32_t rate = 8000;
  const int64_t hours = state.range(0);
  const std::string path = (std::filesystem::temp_directory_path() / "sonaril-bench-hours.wav").string();
  {
    const std::vector<int16_t> minute = Recording(rate, 60);
    sonaril_test::WaveLayout layout;
    layout.stated_data_bytes = hours * 3600 * rate * 2;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << sonaril_test::WaveBytes(layout, "");
    const std::string bytes = sonaril_test::SampleBytes(minute);
    for (int64_t m = 0; m < hours * 60; ++m) file << bytes;
  }
  CString wide;
  wide.Assign(path.c_str());
  int64_t extra = 0;
  size_t occurrences = 0;
  for (auto _ : state) {
    RecordingFile file;
    std::string reason;
    ResetHeapPeak();
    const int64_t before = heap_in_use;
    RecordingAnalysis analysis;
    if (file.Open(wide.GetWide(), RecordingEncoding::Wave, 0, 1, &reason) != RecordingProblem::None ||
        AnalyzeInBlocks(file, &analysis, &reason) != RecordingProblem::None) {
      state.SkipWithError(reason.c_str());
      break;
    }
    extra = heap_peak - before;
    occurrences = analysis.steps.empty() ? 0 : analysis.steps.front().occurrences;
  }
  std::filesystem::remove(path);
  const int64_t block_frames = std::min(kMostBlockFrames, kMostBlockSeconds * rate);
  state.counters["block_samples_MB"] = static_cast<double>(block_frames * 2) / 1e6;
  state.counters["peak_beyond_block_MB"] = static_cast<double>(extra - block_frames * 2) / 1e6;
  state.counters["step1_heard"] = static_cast<double>(occurrences);
}
BENCHMARK(BM_AnalyzeFileInBlocks)->Arg(1)->Arg(24)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size + sizeof(std::max_align_t));
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  int64_t now = heap_in_use += static_cast<int64_t>(size);
  int64_t peak = heap_peak;
  while (now > peak && !heap_peak.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(block) + sizeof(std::max_align_t);
}

void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  void* block = static_cast<char*>(pointer) - sizeof(std::max_align_t);
  heap_in_use -= static_cast<int64_t>(*static_cast<std::size_t*>(block));
  std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }

BENCHMARK_MAIN();
