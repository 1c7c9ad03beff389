#include "editor/main_window_tone.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/string.h"
#include "files/tone_file.h"
#include "synth/synthesize_tone.h"
#include "tests/common/test_paths.h"
#include "tests/common/setting_builder.h"

namespace {

struct CountCase {
  int32_t hertz, total_ms, repeat, samples;
};

TEST(CreateTonePlanTest, SampleCountsRoundUpToWholeSamples) {
  const CountCase cases[] = {
      {8000, 1000, 3, 24000},
      {44100, 10, 1, 441},
      {8000, 1, 1, 8},
      {44100, 1, 1, 45},
      {96000, 100, 100, 960000},
      {48000, 7, 2, 672},
  };
  for (const CountCase& c : cases) {
    ToneSetting setting;
    AddStep(setting, 1, c.total_ms);
    AddTone(setting, 0, 1000);
    const CreateTonePlan plan = PlanCreateTone(setting, c.hertz, c.repeat, false);
    EXPECT_EQ(plan.step, CreateToneStep::Build) << c.hertz << " Hz, " << c.total_ms << " ms";
    EXPECT_EQ(plan.sample_count, c.samples) << c.hertz << " Hz, " << c.total_ms << " ms";
  }
}

TEST(CreateTonePlanTest, TheWindowsValuesGoIntoTheSetting) {
  ToneSetting setting;
  setting.sampling_frequency = 96000;  // as a file had it; the list's value wins
  AddStep(setting, 1, 500);
  AddTone(setting, 0, 400);
  const CreateTonePlan plan = PlanCreateTone(setting, 16000, 7, true);
  EXPECT_EQ(plan.step, CreateToneStep::Build);
  EXPECT_EQ(plan.sampling_frequency, 16000);
  EXPECT_EQ(plan.repeat, 7);
  EXPECT_EQ(plan.filter_on, 1);
  EXPECT_EQ(setting.sampling_frequency, 16000);
  EXPECT_EQ(setting.repeat, 7);
  EXPECT_EQ(setting.filter_on, 1);
}

TEST(CreateTonePlanTest, NoStepsOnlyStopsPlayback) {
  ToneSetting setting;
  setting.sampling_frequency = 44100;
  setting.repeat = 5;
  AddTone(setting, 0, 1000);
  const CreateTonePlan plan = PlanCreateTone(setting, 8000, 2, true);
  EXPECT_EQ(plan.step, CreateToneStep::KeepPrevious);
  // Nothing was taken into the setting.
  EXPECT_EQ(setting.sampling_frequency, 44100);
  EXPECT_EQ(setting.repeat, 5);
  EXPECT_EQ(setting.filter_on, 0);
  // Steps that cancel out to a total of 0 are no different.
  AddStep(setting, 1, 500);
  AddStep(setting, 0, -500);
  EXPECT_EQ(PlanCreateTone(setting, 8000, 1, false).step, CreateToneStep::KeepPrevious);
}

struct RefusalCase {
  const char* name;
  int32_t hertz;
  int32_t step_time;
  int32_t tone_frequency;  // 0: a tone of 0 Hz; -1: no tone at all
  int32_t repeat;
  SynthesisRefusal refusal;
};

TEST(CreateTonePlanTest, SettingsThatCannotBeSynthesisedAreRefusedWithTheirReason) {
  const RefusalCase cases[] = {
      {"frequency 0", 8000, 1000, 0, 1, SynthesisRefusal::ZeroFrequency},
      {"no tones", 8000, 1000, -1, 1, SynthesisRefusal::NoTones},
      {"no list selection", 0, 1000, 1000, 1, SynthesisRefusal::SamplingFrequencyNotPositive},
      // 3,000,000 ms x 96,000 Hz does not fit in 32 bits.
      {"overflowing product", 96000, 3000000, 1000, 1, SynthesisRefusal::Overflow},
      // Fits once, not one hundred times.
      {"overflowing repeat", 96000, 1000, 1000, 100, SynthesisRefusal::Overflow},
      {"a cycle of no samples", 8000, -1, 1000, 1, SynthesisRefusal::EmptyPatternCycle},
  };
  for (const RefusalCase& c : cases) {
    ToneSetting setting;
    AddStep(setting, 1, c.step_time);
    if (c.tone_frequency >= 0) AddTone(setting, 0, c.tone_frequency);
    const CreateTonePlan plan = PlanCreateTone(setting, c.hertz, c.repeat, false);
    EXPECT_EQ(plan.step, CreateToneStep::Refuse) << c.name;
    EXPECT_EQ(plan.refusal, c.refusal) << c.name;
  }
}

std::string ExamplePath(const char* name) {
  return sonaril_test::TestDataPath(std::string("../../examples/") + name);
}

// The window's buffers and the command-line tool's samples come from one engine: the
// export of one equals the render of the other, byte for byte.
TEST(BuildToneBuffersTest, MatchesTheCommandLineRendererForEveryExample) {
  const char* examples[] = {"busy-japan.ton", "busy-north-america.ton", "ramps-and-fades.ton",
                            "ringback-north-america.ton", "ringback-uk.ton",
                            "test-tone-1khz-minus6db.ton"};
  for (const char* name : examples) {
    CString path;
    path.Assign(ExamplePath(name).c_str());
    ToneSetting window_setting;
    ASSERT_TRUE(LoadToneSetting(window_setting, path.GetWide())) << name;
    const CreateTonePlan plan = PlanCreateTone(window_setting, window_setting.sampling_frequency,
                                               window_setting.repeat, window_setting.filter_on != 0);
    ASSERT_EQ(plan.step, CreateToneStep::Build) << name;
    CToneEngine engine(&window_setting);
    ASSERT_EQ(BuildToneBuffers(window_setting, plan, &engine), SynthesisRefusal::None) << name;
    ASSERT_EQ(engine.sample_count, plan.sample_count) << name;
    ASSERT_EQ(engine.output_count, plan.sample_count) << name;

    ToneSetting cli_setting;
    ASSERT_TRUE(LoadToneSetting(cli_setting, path.GetWide())) << name;
    std::vector<int16_t> expected;
    ASSERT_EQ(SynthesizeTone(cli_setting, cli_setting.sampling_frequency, cli_setting.repeat,
                             cli_setting.filter_on != 0, &expected),
              SynthesisRefusal::None);
    ASSERT_EQ(expected.size(), static_cast<size_t>(engine.sample_count)) << name;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), engine.sample_buffer)) << name;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), engine.output_buffer)) << name;
  }
}

TEST(BuildToneBuffersTest, ASecondBuildReplacesTheFirst) {
  ToneSetting setting;
  AddStep(setting, 1, 100);
  AddTone(setting, 1, 1000, 0, 0, -1, 50);
  CToneEngine engine(&setting);
  CreateTonePlan plan = PlanCreateTone(setting, 8000, 1, false);
  ASSERT_EQ(BuildToneBuffers(setting, plan, &engine), SynthesisRefusal::None);
  EXPECT_EQ(engine.sample_count, 800);
  plan = PlanCreateTone(setting, 48000, 2, true);
  ASSERT_EQ(BuildToneBuffers(setting, plan, &engine), SynthesisRefusal::None);
  EXPECT_EQ(engine.sample_count, 9600);
  EXPECT_EQ(engine.output_rate, 48000);
}

}  // namespace
