// check on degraded lines: each example and a few library tones (an information tone,
// tones that beat) through echo, the channel's band-pass filter, an AGC and noise, passing
// on their own setting with every step within 5 ms and failing on another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/tone_check.h"
#include "files/string.h"
#include "files/tone_file.h"
#include "synth/synthesize_tone.h"
#include "tests/analysis/degraded_line.h"
#include "tests/common/setting_builder.h"
#include "tests/common/test_paths.h"

namespace {

using namespace sonaril_test;
using Samples = std::vector<int16_t>;

struct Condition {
  const char* name;
  std::function<Samples(const Samples&, int32_t rate)> apply;
  bool for_ramps_and_low_tones;  // false: not for the example of ramps with tones of 125 and 250 Hz
};

// Each setting with the one it is checked against as the wrong one.
struct Pairing {
  const char* setting;
  const char* wrong;
};

void Load(const std::string& relative, ToneSetting* setting) {
  CString wide;
  wide.Assign(TestDataPath("../../" + relative).c_str());
  EXPECT_TRUE(LoadToneSetting(*setting, wide.GetWide())) << relative;
}

ExpectedCycle Expected(const std::string& relative) {
  ToneSetting setting;
  Load(relative, &setting);
  ExpectedCycle expected;
  EXPECT_EQ(BuildExpectedCycle(setting, &expected), SynthesisRefusal::None) << relative;
  return expected;
}

RecordingAnalysis Analyze(const Samples& samples, int32_t rate) {
  RecordingAnalysis analysis;
  EXPECT_TRUE(AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis));
  return analysis;
}

// The step furthest from its expected length, in ms.
double WorstMs(const CheckResult& result) {
  double worst = 0.0;
  for (const StepComparison& step : result.steps) worst = std::max(worst, std::fabs(step.worst_error_ms));
  return worst;
}

// The band-pass takes the low tones away (check rightly misses them); a late echo 10 dB
// down, or an AGC, bends a ramp's line beyond 5 ms.
TEST(LineConditions, EachSettingPassesOnItsOwnAndFailsOnAnother) {
  const std::vector<Condition> conditions = {
      {"clean", [](const Samples& s, int32_t) { return s; }, true},
      {"echo 10 ms -10 dB", [](const Samples& s, int32_t r) { return WithEcho(s, r, 10, -10); }, true},
      {"echo 20 ms -20 dB", [](const Samples& s, int32_t r) { return WithEcho(s, r, 20, -20); }, true},
      {"echo 20 ms -40 dB", [](const Samples& s, int32_t r) { return WithEcho(s, r, 20, -40); }, true},
      {"echo 40 ms -10 dB", [](const Samples& s, int32_t r) { return WithEcho(s, r, 40, -10); }, false},
      {"echo 60 ms -10 dB", [](const Samples& s, int32_t r) { return WithEcho(s, r, 60, -10); }, false},
      {"linear-phase 300-3400 Hz",
       [](const Samples& s, int32_t r) { return ThroughBandPass(s, r, 300, 3400, FilterPhase::Linear); }, false},
      {"minimum-phase 300-3400 Hz",
       [](const Samples& s, int32_t r) { return ThroughBandPass(s, r, 300, 3400, FilterPhase::Minimum); }, false},
      {"AGC, noise 20 dB", [](const Samples& s, int32_t r) { return ThroughAgc(WithNoise(s, 20, 7), r); }, false},
  };
  const std::vector<Pairing> pairings = {
      {"examples/busy-japan.ton", "examples/busy-north-america.ton"},
      {"examples/busy-north-america.ton", "tones/china/busy.ton"},
      {"examples/ramps-and-fades.ton", "examples/ringback-uk.ton"},
      {"examples/ringback-north-america.ton", "tones/china/ringback.ton"},
      {"examples/ringback-uk.ton", "tones/australia/ringback.ton"},
      {"examples/test-tone-1khz-minus6db.ton", "examples/busy-japan.ton"},
      {"tones/germany/special-information.ton", "tones/austria/special-information.ton"},
      {"tones/australia/ringback.ton", "tones/united-arab-emirates/ringback.ton"},
      {"tones/united-arab-emirates/ringback.ton", "tones/south-africa/ringback.ton"},
  };
  // An echo 10 dB down moves the tones' levels by up to 3 dB each, one up, another down.
  CheckTolerances within_5_ms;
  within_5_ms.cadence_in_ms = true;
  within_5_ms.cadence_ms = 5.0;
  within_5_ms.level_db = 6.0;
  for (const Pairing& pairing : pairings) {
    ToneSetting setting;
    Load(pairing.setting, &setting);
    const int32_t rate = setting.sampling_frequency;
    // Two cycles hold every step whole once.
    Samples clean;
    ASSERT_EQ(SynthesizeTone(setting, rate, 2, setting.filter_on != 0, &clean), SynthesisRefusal::None);
    const ExpectedCycle own = Expected(pairing.setting);
    const ExpectedCycle wrong = Expected(pairing.wrong);
    const bool ramps = std::string(pairing.setting) == "examples/ramps-and-fades.ton";
    for (const Condition& condition : conditions) {
      if (ramps && !condition.for_ramps_and_low_tones) continue;
      const Samples line = condition.apply(clean, rate);
      const RecordingAnalysis analysis = Analyze(line, rate);
      CheckResult right = CompareWithExpected(own, line.data(), analysis, within_5_ms);
      EXPECT_TRUE(right.pass) << pairing.setting << ", " << condition.name << ": worst " << WorstMs(right) << " ms";
      EXPECT_FALSE(CompareWithExpected(wrong, line.data(), analysis, CheckTolerances()).pass)
          << pairing.setting << " as " << pairing.wrong << ", " << condition.name;
    }
  }
}

struct NoisyCase {
  const char* setting;
  double snr_db;
};

// In noise down to 6 dB under single and dual tones (10 dB under information tones) the
// steps and their tones are still heard: each tone once, none taken for the background.
TEST(LineConditions, TonesHeardInNoise) {
  const std::vector<NoisyCase> cases = {
      {"examples/busy-japan.ton", 6},
      {"examples/ringback-north-america.ton", 6},
      {"tones/australia/ringback.ton", 6},
      {"tones/germany/special-information.ton", 10},
      {"tones/united-kingdom/special-information.ton", 10},
  };
  for (const NoisyCase& test : cases) {
    ToneSetting setting;
    Load(test.setting, &setting);
    const int32_t rate = setting.sampling_frequency;
    Samples samples;
    ASSERT_EQ(SynthesizeTone(setting, rate, 2, false, &samples), SynthesisRefusal::None);
    samples = WithNoise(samples, test.snr_db, 11);
    const RecordingAnalysis analysis = Analyze(samples, rate);
    EXPECT_TRUE(CompareWithExpected(Expected(test.setting), samples.data(), analysis, CheckTolerances()).pass)
        << test.setting;
    for (const HeardStep& step : analysis.steps) {
      for (size_t i = 1; i < step.tones.size(); ++i) {
        EXPECT_GT(step.tones[i].frequency - step.tones[i - 1].frequency, 10.0) << test.setting << ": listed twice";
      }
    }
    EXPECT_TRUE(analysis.background_tones.empty()) << test.setting << ": " << analysis.background_tones.front().frequency;
  }
}

struct BeatCase {
  const char* name;
  std::vector<int32_t> pattern;  // ON and OFF times, alternating, ON first
  std::vector<std::pair<int32_t, int32_t>> tones;  // frequency, level
};

TEST(LineConditions, TonesThatBeatAreOneStep) {
  const std::vector<BeatCase> cases = {
      {"1633 Hz at 8 % and 1656 Hz at 10 %", {260, 1060, 550, 1950}, {{1633, 8}, {1656, 10}}},
      {"384+400+416 (400 Hz modulated by 16 Hz)", {1000, 500}, {{384, 10}, {400, 20}, {416, 10}}},
      {"400+425", {400, 200, 400, 2000}, {{400, 20}, {425, 20}}},
      {"15 Hz apart, 1:3", {500, 500}, {{600, 10}, {615, 30}}},
      {"60 Hz apart, 3:1", {300, 300}, {{1000, 30}, {1060, 10}}},
  };
  CheckTolerances within_5_ms;
  within_5_ms.cadence_in_ms = true;
  within_5_ms.cadence_ms = 5.0;
  for (const BeatCase& test : cases) {
    ToneSetting setting;
    setting.sampling_frequency = 8000;
    for (size_t i = 0; i < test.pattern.size(); ++i) AddStep(setting, i % 2 == 0 ? On : Off, test.pattern[i]);
    for (const auto& tone : test.tones) AddTone(setting, Sine, tone.first, 0, 0, -1, tone.second);
    ExpectedCycle expected;
    ASSERT_EQ(BuildExpectedCycle(setting, &expected), SynthesisRefusal::None) << test.name;
    EXPECT_EQ(expected.steps.size(), test.pattern.size()) << test.name;
    Samples samples;
    ASSERT_EQ(SynthesizeTone(setting, 8000, 2, false, &samples), SynthesisRefusal::None);
    const RecordingAnalysis analysis = Analyze(samples, 8000);
    EXPECT_EQ(analysis.steps.size(), test.pattern.size()) << test.name;
    if (analysis.steps.size() != test.pattern.size()) continue;
    for (const HeardStep& step : analysis.steps) {
      if (step.kind == SegmentKind::Silent) continue;
      EXPECT_EQ(step.kind, SegmentKind::Steady) << test.name;
      EXPECT_EQ(step.tones.size(), test.tones.size()) << test.name;
    }
    CheckResult own = CompareWithExpected(expected, samples.data(), analysis, within_5_ms);
    EXPECT_TRUE(own.pass) << test.name << ": worst " << WorstMs(own) << " ms";
  }
}

}  // namespace
