#include "synth/synthesis_validation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include "tests/common/setting_builder.h"

namespace {

// One 1000 ms step and one default tone, then the change under test.
SynthesisRefusal Check(const std::function<void(ToneSetting&)>& change, int32_t fs = 8000,
                       int32_t repeat = 1) {
  ToneSetting setting;
  AddStep(setting, On, 1000);
  setting.AppendTone(new ToneEntry);
  change(setting);
  return ValidateForSynthesis(setting, fs, repeat);
}

TEST(SynthesisValidationTest, OrdinarySettingsAreAccepted) {
  EXPECT_EQ(Check([](ToneSetting&) {}), SynthesisRefusal::None);
  for (int32_t fs : {8000, 16000, 32000, 44100, 48000, 96000}) {
    EXPECT_EQ(Check([](ToneSetting&) {}, fs, 10), SynthesisRefusal::None) << fs;
  }
  // Negative times from a file are fine while the pattern still has samples.
  EXPECT_EQ(Check([](ToneSetting& s) {
              AddStep(s, Off, -500);
              s.tones->start_time = -10;
              s.tones->phase = -720;
              s.tones->level = -100;
            }),
            SynthesisRefusal::None);
}

TEST(SynthesisValidationTest, EachRefusal) {
  const struct {
    const char* name;
    std::function<void(ToneSetting&)> change;
    int32_t fs;
    int32_t repeat;
    SynthesisRefusal expected;
  } cases[] = {
      {"fs 0", [](ToneSetting&) {}, 0, 1, SynthesisRefusal::SamplingFrequencyNotPositive},
      {"fs negative", [](ToneSetting&) {}, -8000, 1,
       SynthesisRefusal::SamplingFrequencyNotPositive},
      {"total 0", [](ToneSetting& s) { AddStep(s, Off, -1000); }, 8000, 1,
       SynthesisRefusal::PatternTotalZero},
      {"no steps", [](ToneSetting& s) { s.DeleteStep(0); }, 8000, 1,
       SynthesisRefusal::PatternTotalZero},
      {"no tones", [](ToneSetting& s) { s.DeleteTone(0); }, 8000, 1, SynthesisRefusal::NoTones},
      {"frequency 0", [](ToneSetting& s) { s.AppendTone(new ToneEntry); s.ToneAt(1)->frequency = 0; },
       8000, 1, SynthesisRefusal::ZeroFrequency},
      {"N product", [](ToneSetting&) {}, 96000, 23, SynthesisRefusal::Overflow},
      {"total x fs", [](ToneSetting& s) { s.StepAt(0)->time = 30000; s.RecomputePatternTotal(); },
       96000, 1, SynthesisRefusal::Overflow},
      {"start", [](ToneSetting& s) { s.tones->start_time = 30000; }, 96000, 1,
       SynthesisRefusal::Overflow},
      {"start negative", [](ToneSetting& s) { s.tones->start_time = -30000; }, 96000, 1,
       SynthesisRefusal::Overflow},
      {"end", [](ToneSetting& s) { s.tones->end_time = 30000; }, 96000, 1,
       SynthesisRefusal::Overflow},
      {"level", [](ToneSetting& s) { s.tones->level = 65539; }, 8000, 1,
       SynthesisRefusal::Overflow},
      {"level negative", [](ToneSetting& s) { s.tones->level = -65539; }, 8000, 1,
       SynthesisRefusal::Overflow},
      {"step time x fs", [](ToneSetting& s) { AddStep(s, On, 30000); AddStep(s, On, -30000); },
       96000, 1, SynthesisRefusal::Overflow},
      {"period x phase", [](ToneSetting& s) {
         s.StepAt(0)->time = 1; s.RecomputePatternTotal();
         s.tones->frequency = 1; s.tones->phase = 359; },
       6000000, 1, SynthesisRefusal::Overflow},
      {"running sum of samples", [](ToneSetting& s) {
         for (int i = 0; i < 1001; ++i) AddStep(s, On, 1073741);
         for (int i = 0; i < 1001; ++i) AddStep(s, On, -1073741); },
       2000, 1, SynthesisRefusal::Overflow},
      {"time sum wraps", [](ToneSetting& s) {
         AddStep(s, On, 2147483647); AddStep(s, Off, 2147483647); },
       1, 1, SynthesisRefusal::Overflow},
      {"cycle of a few samples", [](ToneSetting& s) {
         s.StepAt(0)->time = 1000; AddStep(s, Off, -999); },
       8000, 1, SynthesisRefusal::None},
      {"cycle negative", [](ToneSetting& s) {
         s.StepAt(0)->time = 1; AddStep(s, Off, 3); AddStep(s, Off, -2); },
       500, 1, SynthesisRefusal::EmptyPatternCycle},
      {"samples 0", [](ToneSetting&) {}, 8000, 0, SynthesisRefusal::NoSamples},
      {"repeat negative", [](ToneSetting&) {}, 8000, -1, SynthesisRefusal::NoSamples},
      {"samples negative", [](ToneSetting& s) { s.StepAt(0)->time = -5; s.RecomputePatternTotal(); },
       8000, 1, SynthesisRefusal::EmptyPatternCycle},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(c.change, c.fs, c.repeat), c.expected) << c.name;
  }
}

TEST(SynthesisValidationTest, StepsTooShortForASampleAreRefused) {
  ToneSetting setting;
  AddStep(setting, On, 1);  // 1 ms at 500 Hz is 0 samples
  setting.AppendTone(new ToneEntry);
  setting.tones->frequency = 100;
  EXPECT_EQ(ValidateForSynthesis(setting, 500, 1), SynthesisRefusal::EmptyPatternCycle);
  EXPECT_EQ(ValidateForSynthesis(setting, 1000, 1), SynthesisRefusal::None);
}

TEST(SynthesisValidationTest, TheLargestSampleCountIsAcceptedAndOneMoreIsNot) {
  ToneSetting setting;
  AddStep(setting, On, 2147482648);  // x 1 Hz + 999 = 2^31 - 1
  setting.AppendTone(new ToneEntry);
  setting.tones->frequency = 1;
  EXPECT_EQ(ValidateForSynthesis(setting, 1, 1), SynthesisRefusal::None);
  setting.StepAt(0)->time = 2147482649;
  setting.RecomputePatternTotal();
  EXPECT_EQ(ValidateForSynthesis(setting, 1, 1), SynthesisRefusal::Overflow);
}

TEST(SynthesisValidationTest, EveryReasonHasASentence) {
  for (int32_t r = 0; r <= static_cast<int32_t>(SynthesisRefusal::OutOfMemory); ++r) {
    const char* text = DescribeRefusal(static_cast<SynthesisRefusal>(r));
    ASSERT_NE(text, nullptr);
    EXPECT_GT(std::strlen(text), 10u) << r;
  }
  EXPECT_NE(std::strstr(DescribeRefusal(SynthesisRefusal::PatternTotalZero), "pattern total is 0"),
            nullptr);
}

}  // namespace
