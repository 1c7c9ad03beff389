#include "synth/tone_setting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

PatternStep* NewStep(int32_t on_off, int32_t time, int32_t is_fade = 0) {
  PatternStep* step = new PatternStep;
  step->on_off = on_off;
  step->time = time;
  step->is_fade = is_fade;
  return step;
}

ToneEntry* NewTone(int32_t frequency) {
  ToneEntry* tone = new ToneEntry;
  tone->frequency = frequency;
  return tone;
}

TEST(ToneSettingTest, NewNodesCarryTheFileDefaults) {
  const PatternStep step;
  EXPECT_EQ(step.on_off, On);
  EXPECT_EQ(step.time, -1);
  EXPECT_EQ(step.is_fade, 0);
  const ToneEntry tone;
  EXPECT_EQ(tone.type, Sine);
  EXPECT_EQ(tone.frequency, 1000);
  EXPECT_EQ(tone.phase, 0);
  EXPECT_EQ(tone.start_time, 0);
  EXPECT_EQ(tone.end_time, -1);
  EXPECT_EQ(tone.level, 100);
  const ToneSetting setting;
  EXPECT_EQ(setting.sampling_frequency, 8000);
  EXPECT_EQ(setting.repeat, 1);
  EXPECT_EQ(setting.fade, 400);
  EXPECT_EQ(setting.filter_on, 0);
  EXPECT_EQ(setting.pattern_total, 0);
  EXPECT_EQ(setting.patterns, nullptr);
  EXPECT_EQ(setting.tones, nullptr);
}

TEST(ToneSettingTest, StepsOf100And200And300TotalSixHundredAndFourHundredWithoutTheMiddle) {
  ToneSetting setting;
  setting.AppendStep(NewStep(On, 100));
  EXPECT_EQ(setting.pattern_total, 100);
  setting.AppendStep(NewStep(Off, 200));
  setting.AppendStep(NewStep(On, 300));
  EXPECT_EQ(setting.pattern_total, 600);
  EXPECT_EQ(setting.StepCount(), 3);
  ASSERT_TRUE(setting.DeleteStep(1));
  EXPECT_EQ(setting.pattern_total, 400);
  EXPECT_EQ(setting.StepAt(0)->time, 100);
  EXPECT_EQ(setting.StepAt(1)->time, 300);
  EXPECT_EQ(setting.StepAt(2), nullptr);
}

TEST(ToneSettingTest, ListsKeepAppendOrderAndIndexAccessRejectsOutOfRange) {
  ToneSetting setting;
  for (int32_t f : {100, 200, 300}) setting.AppendTone(NewTone(f));
  EXPECT_EQ(setting.ToneCount(), 3);
  EXPECT_EQ(setting.ToneAt(0)->frequency, 100);
  EXPECT_EQ(setting.ToneAt(2)->frequency, 300);
  EXPECT_EQ(setting.ToneAt(3), nullptr);
  EXPECT_EQ(setting.ToneAt(-1), nullptr);
  EXPECT_EQ(setting.StepAt(0), nullptr);
  EXPECT_FALSE(setting.DeleteTone(3));
  EXPECT_FALSE(setting.DeleteTone(-1));
  EXPECT_FALSE(setting.DeleteStep(0));
  ASSERT_TRUE(setting.DeleteTone(0));
  EXPECT_EQ(setting.ToneAt(0)->frequency, 200);
  ASSERT_TRUE(setting.DeleteTone(1));
  EXPECT_EQ(setting.ToneCount(), 1);
  setting.AppendTone(nullptr);
  setting.AppendStep(nullptr);
  EXPECT_EQ(setting.ToneCount(), 1);
  EXPECT_EQ(setting.StepCount(), 0);
}

TEST(ToneSettingTest, AppendingANodeWithAChainTakesTheWholeChain) {
  ToneSetting setting;
  PatternStep* first = NewStep(On, 10);
  first->next = NewStep(Off, 20);
  setting.AppendStep(first);
  EXPECT_EQ(setting.StepCount(), 2);
  EXPECT_EQ(setting.pattern_total, 30);
}

TEST(ToneSettingTest, SwapExchangesContentsNotLinksAndKeepsTheTotal) {
  ToneSetting setting;
  setting.AppendStep(NewStep(On, 100, 1));
  setting.AppendStep(NewStep(RampDown, 250));
  PatternStep* head = setting.patterns;
  ASSERT_TRUE(setting.SwapSteps(0, 1));
  EXPECT_EQ(setting.patterns, head);
  EXPECT_EQ(setting.StepAt(0)->on_off, RampDown);
  EXPECT_EQ(setting.StepAt(0)->time, 250);
  EXPECT_EQ(setting.StepAt(0)->is_fade, 0);
  EXPECT_EQ(setting.StepAt(1)->on_off, On);
  EXPECT_EQ(setting.StepAt(1)->is_fade, 1);
  EXPECT_EQ(setting.StepAt(1)->next, nullptr);
  EXPECT_EQ(setting.pattern_total, 350);
  EXPECT_FALSE(setting.SwapSteps(1, 2));

  setting.AppendTone(NewTone(440));
  setting.AppendTone(NewTone(880));
  ASSERT_TRUE(setting.SwapTones(1, 0));
  EXPECT_EQ(setting.ToneAt(0)->frequency, 880);
  EXPECT_EQ(setting.ToneAt(1)->frequency, 440);
  EXPECT_FALSE(setting.SwapTones(0, -1));
}

TEST(ToneSettingTest, ClearKeepsRepeatAndPositionAndRestoresTheRest) {
  ToneSetting setting;
  setting.path = "C:\\tones\\busy.ton";
  setting.AppendStep(NewStep(On, 500));
  setting.AppendTone(NewTone(425));
  setting.sampling_frequency = 48000;
  setting.repeat = 7;
  setting.pattern_position = 123;
  setting.fade = 100;
  setting.filter_on = 1;
  setting.Clear();
  EXPECT_EQ(setting.path, "");
  EXPECT_EQ(setting.patterns, nullptr);
  EXPECT_EQ(setting.tones, nullptr);
  EXPECT_EQ(setting.sampling_frequency, 8000);
  EXPECT_EQ(setting.pattern_total, 0);
  EXPECT_EQ(setting.fade, 400);
  EXPECT_EQ(setting.filter_on, 0);
  EXPECT_EQ(setting.repeat, 7);
  EXPECT_EQ(setting.pattern_position, 123);
}

TEST(ToneSettingTest, PatternTotalWrapsIn32Bits) {
  ToneSetting setting;
  setting.AppendStep(NewStep(On, 2147483647));
  setting.AppendStep(NewStep(On, 2));
  EXPECT_EQ(setting.pattern_total, -2147483647);
  setting.AppendStep(NewStep(On, -2147483647 - 1));
  EXPECT_EQ(setting.pattern_total, 1);
}

TEST(ToneTextsTest, StepKindTexts) {
  EXPECT_STREQ(StepKindText(Off), L"OFF");
  EXPECT_STREQ(StepKindText(On), L"ON");
  EXPECT_STREQ(StepKindText(RampDown), L"100% -> 0%");
  EXPECT_STREQ(StepKindText(RampUp), L"0% -> 100%");
  EXPECT_STREQ(StepKindText(4), L"");
  EXPECT_STREQ(StepKindText(-1), L"");
}

TEST(ToneTextsTest, WaveTypeTextsByLanguage) {
  struct Row {
    int32_t type;
    const wchar_t* english;
    const wchar_t* japanese;
  };
  const Row rows[] = {{Sine, L"Sine Wave", L"正弦波"},
                      {Square, L"Square Wave", L"矩形波"},
                      {Triangle, L"Triangle Wave", L"三角波"},
                      {Sawtooth, L"Sawtooth Wave", L"ノコギリ波"},
                      {4, L"", L""},
                      {-1, L"", L""}};
  for (const Row& row : rows) {
    EXPECT_STREQ(WaveTypeText(row.type, 0), row.english) << row.type;
    EXPECT_STREQ(WaveTypeText(row.type, 2), row.english) << row.type;
    EXPECT_STREQ(WaveTypeText(row.type, 1), row.japanese) << row.type;
  }
}

}  // namespace
