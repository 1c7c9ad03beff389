// The largest supported synthesis: eight tones of all four kinds at 96000 Hz, five steps
// with fades and ramps, just under 2^31 / 1000 samples, filter on. Once as synthesis alone,
// once as the whole render: the setting file read, the tone synthesised and written as a WAV.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_commands.h"
#include "files/tone_file.h"
#include "synth/synthesize_tone.h"

namespace {

namespace fs = std::filesystem;

// 22369 ms x 96000 Hz + 999 stays below 2^31: 2147424 samples.
const char kLargestSetting[] = SONARIL_BENCH_DIR "/largest-setting.ton";

void BM_SynthesizeLargestSetting(benchmark::State& state) {
  ToneSetting setting;
  CString path;
  path.Assign(kLargestSetting);
  if (!LoadToneSetting(setting, path.GetWide())) {
    state.SkipWithError("the setting file cannot be read");
    return;
  }
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

// What `sonaril-cli render` does, in this process: the output replaces the previous one
// in a temporary folder, as it would on a second run.
void BM_RenderLargestSettingToWav(benchmark::State& state) {
  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error) / "sonaril-render-bench";
  fs::create_directories(folder, error);
  const std::vector<std::string> arguments = {"render", kLargestSetting, "-o",
                                              (folder / "largest.wav").u8string()};
  for (auto _ : state) {
    if (RunCli(arguments, stdout, stderr) != kExitSuccess) {
      state.SkipWithError("the render failed");
      break;
    }
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(folder / "largest.wav", error));
  fs::remove_all(folder, error);
}
BENCHMARK(BM_RenderLargestSettingToWav)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
