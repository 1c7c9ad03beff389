// Reads any bytes as a WAV recording (its first and its second channel) and as raw mu-law,
// analyses what loads and checks it against a fixed setting (two tones, a ramp, fades).
#include <string>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/recording.h"
#include "analysis/tone_check.h"
#include "files/string.h"
#include "fuzz/fuzz_input_file.h"

namespace {

const ExpectedCycle& Expected() {
  static ExpectedCycle expected = [] {
    ToneSetting setting;
    const int32_t steps[][3] = {{RampUp, 120, 0}, {On, 200, 1}, {Off, 150, 0}};
    for (const auto& values : steps) {
      PatternStep* step = new PatternStep;
      step->on_off = values[0];
      step->time = values[1];
      step->is_fade = values[2];
      setting.AppendStep(step);
    }
    for (int32_t frequency : {425, 480}) {
      ToneEntry* tone = new ToneEntry;
      tone->frequency = frequency;
      tone->level = 30;
      setting.AppendTone(tone);
    }
    ExpectedCycle cycle;
    BuildExpectedCycle(setting, &cycle);
    return cycle;
  }();
  return expected;
}

void AnalyseAndCheck(const Recording& recording) {
  RecordingAnalysis analysis;
  if (!AnalyzeRecording(recording.samples.data(), static_cast<int64_t>(recording.samples.size()),
                        recording.sampling_frequency, &analysis)) {
    return;
  }
  CompareWithExpected(Expected(), recording.samples.data(), analysis, CheckTolerances());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input = WriteFuzzInput("recording", data, size);
  if (input.empty()) return 0;
  CString path;
  path.Assign(input.c_str());
  const struct {
    RecordingEncoding encoding;
    int32_t channel;
  } readings[] = {{RecordingEncoding::Wave, 1}, {RecordingEncoding::Wave, 2}, {RecordingEncoding::MuLaw, 1}};
  for (const auto& reading : readings) {
    Recording recording;
    std::string reason;
    if (ReadRecording(path.GetWide(), reading.encoding, 8000, reading.channel, &recording, &reason) ==
        RecordingProblem::None) {
      AnalyseAndCheck(recording);
    }
  }
  return 0;
}
