// The cadence the analysis hears in rendered settings: edges, fades, beating tones,
// ramps and noise, each step's length against the setting's.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/analyze_recording.h"
#include "synth/synthesize_tone.h"
#include "tests/analysis/degraded_line.h"
#include "tests/common/setting_builder.h"

namespace {

struct Step {
  int32_t on_off;
  int32_t time;
  int32_t is_fade;
};

struct Tone {
  int32_t frequency;
  int32_t level;
};

struct Heard {
  SegmentKind kind;
  double ms;
};

struct CadenceCase {
  const char* name;
  int32_t rate;
  std::vector<Step> steps;
  std::vector<Tone> tones;
  double snr_db;  // 0: clean
  std::vector<Heard> cycle;
  double tolerance_ms;
};

constexpr SegmentKind kOn = SegmentKind::Steady;
constexpr SegmentKind kOff = SegmentKind::Silent;
constexpr SegmentKind kUp = SegmentKind::RampUp;
constexpr SegmentKind kDown = SegmentKind::RampDown;

TEST(HeardCadence, EveryStepWithinItsTolerance) {
  const std::vector<CadenceCase> cases = {
      {"hard edges", 8000, {{On, 300, 0}, {Off, 200, 0}}, {{1000, 50}}, 0, {{kOn, 300}, {kOff, 200}}, 0.2},
      {"fades and a beating pair", 48000, {{On, 400, 1}, {Off, 200, 0}, {On, 400, 1}, {Off, 2000, 0}},
       {{400, 25}, {450, 25}}, 0, {{kOn, 400}, {kOff, 200}, {kOn, 400}, {kOff, 2000}}, 1.0},
      {"ramps round a steady part", 16000, {{RampUp, 300, 0}, {On, 400, 0}, {RampDown, 300, 0}, {Off, 500, 0}},
       {{350, 30}, {440, 30}}, 0, {{kUp, 300}, {kOn, 400}, {kDown, 300}, {kOff, 500}}, 1.0},
      {"a ramp straight into a ramp", 8000, {{RampUp, 800, 0}, {RampDown, 200, 0}, {Off, 500, 0}}, {{1000, 60}},
       0, {{kUp, 800}, {kDown, 200}, {kOff, 500}}, 3.0},
      {"silence first", 8000, {{Off, 1000, 0}, {On, 250, 1}}, {{425, 40}}, 0, {{kOn, 250}, {kOff, 1000}}, 1.0},
      {"noise", 8000, {{On, 500, 1}, {Off, 500, 0}}, {{425, 40}}, 20, {{kOn, 500}, {kOff, 500}}, 5.0},
      {"ramps in noise", 16000, {{RampUp, 300, 0}, {On, 400, 0}, {RampDown, 300, 0}, {Off, 500, 0}},
       {{350, 30}, {440, 30}}, 20, {{kUp, 300}, {kOn, 400}, {kDown, 300}, {kOff, 500}}, 15.0},
  };
  for (const CadenceCase& test : cases) {
    ToneSetting setting;
    for (const Step& step : test.steps) AddStep(setting, step.on_off, step.time, step.is_fade);
    for (const Tone& tone : test.tones) AddTone(setting, Sine, tone.frequency, 0, 0, -1, tone.level);
    std::vector<int16_t> samples;
    ASSERT_EQ(SynthesizeTone(setting, test.rate, 3, false, &samples), SynthesisRefusal::None) << test.name;
    if (test.snr_db > 0) samples = sonaril_test::WithNoise(samples, test.snr_db, 5);
    RecordingAnalysis analysis;
    ASSERT_TRUE(AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), test.rate, &analysis));
    EXPECT_TRUE(analysis.cycle.repeats) << test.name;
    ASSERT_EQ(analysis.steps.size(), test.cycle.size()) << test.name;
    for (size_t i = 0; i < test.cycle.size(); ++i) {
      EXPECT_EQ(analysis.steps[i].kind, test.cycle[i].kind) << test.name << " step " << i + 1;
      EXPECT_TRUE(analysis.steps[i].duration_known) << test.name << " step " << i + 1;
      EXPECT_NEAR(analysis.steps[i].duration_ms, test.cycle[i].ms, test.tolerance_ms) << test.name << " step " << i + 1;
    }
  }
}

}  // namespace
