// The length check shows for a step: the occurrence that decides, beside its difference.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/tone_check.h"
#include "synth/synthesize_tone.h"
#include "tests/common/setting_builder.h"

namespace {

TEST(CheckHeardLength, IsTheOccurrenceThatDecides) {
  // Heard: ON 500, 560 and 480 ms; expected: ON 500 ms.
  ToneSetting heard;
  for (int32_t on : {500, 560, 480}) {
    AddStep(heard, On, on);
    AddStep(heard, Off, 500);
  }
  AddTone(heard, Sine, 425, 0, 0, -1, 40);
  ToneSetting setting;
  AddStep(setting, On, 500);
  AddStep(setting, Off, 500);
  AddTone(setting, Sine, 425, 0, 0, -1, 40);
  std::vector<int16_t> samples;
  ASSERT_EQ(SynthesizeTone(heard, 8000, 1, false, &samples), SynthesisRefusal::None);
  RecordingAnalysis analysis;
  ASSERT_TRUE(AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), 8000, &analysis));
  ExpectedCycle expected;
  ASSERT_EQ(BuildExpectedCycle(setting, &expected), SynthesisRefusal::None);
  CheckResult result = CompareWithExpected(expected, samples.data(), analysis, CheckTolerances());
  ASSERT_EQ(result.steps.size(), 2u);
  EXPECT_NEAR(result.steps[0].measured_ms, 560.0, 0.5);
  EXPECT_NEAR(result.steps[0].worst_error_ms, 60.0, 0.5);
  EXPECT_FALSE(result.pass);
}

}  // namespace
