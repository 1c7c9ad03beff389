#include "editor/unsaved_changes.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/setting_builder.h"

namespace {

SettingValues ValuesOf(const ToneSetting& setting) { return CaptureSettingValues(setting, 8000, 2, 0); }

// Every value a file keeps counts, and an edit put back by hand is no change.
TEST(UnsavedChanges, EveryValueAFileKeepsCounts) {
  ToneSetting setting;
  AddStep(setting, On, 1000, 1);
  AddStep(setting, Off, 500);
  AddTone(setting, Sine, 425);
  const SettingValues opened = ValuesOf(setting);
  EXPECT_NE(CaptureSettingValues(setting, 16000, 2, 0), opened);
  EXPECT_NE(CaptureSettingValues(setting, 8000, 3, 0), opened);
  EXPECT_NE(CaptureSettingValues(setting, 8000, 2, 1), opened);
  for (int32_t* field : {&setting.fade, &setting.StepAt(0)->is_fade, &setting.StepAt(1)->time,
                         &setting.ToneAt(0)->level, &setting.ToneAt(0)->phase}) {
    const int32_t original = (*field)++;
    EXPECT_NE(ValuesOf(setting), opened);
    *field = original;
    EXPECT_EQ(ValuesOf(setting), opened);
  }
  setting.SwapSteps(0, 1);
  EXPECT_NE(ValuesOf(setting), opened);
}

// Each command × unchanged / changed / changed back × Yes / Yes with a failed or cancelled
// save / No / Cancel: how often it asks, whether it saves, whether it goes on.
TEST(UnsavedChanges, OnlyReplacingCommandsAskAndOnlyForAChangedSetting) {
  const struct { int32_t id; bool asks; } commands[] = {
      {2, true}, {5019, true}, {5001, true}, {5002, true},  // Esc, Exit, New, Open
      {5004, false}, {5005, false}, {20111, false}, {20123, false}, {5030, false}};
  const struct { SaveChangesAnswer answer; bool save_succeeds, goes_on; } answers[] = {
      {SaveChangesAnswer::kYes, true, true}, {SaveChangesAnswer::kYes, false, false},
      {SaveChangesAnswer::kNo, true, true}, {SaveChangesAnswer::kCancel, true, false}};
  for (const auto& command : commands) {
    for (const int edits : {0, 1, 2}) {  // unchanged, changed, changed back
      for (const auto& answer : answers) {
        SCOPED_TRACE(testing::Message() << command.id << " edits " << edits << " answer " << int(answer.answer));
        ToneSetting setting;
        AddTone(setting, Sine, 425);
        const SettingValues opened = ValuesOf(setting);
        if (edits > 0) setting.ToneAt(0)->frequency = 440;
        if (edits > 1) setting.ToneAt(0)->frequency = 425;
        int asked = 0, saves = 0;
        const bool goes_on = !AsksToSaveChanges(RouteMainCommand(command.id, 0)) ||
                             ConfirmDiscard(ValuesOf(setting) != opened, [&] { ++asked; return answer.answer; },
                                            [&] { ++saves; return answer.save_succeeds; });
        const bool asks = command.asks && edits == 1;
        EXPECT_EQ(asked, asks ? 1 : 0);
        EXPECT_EQ(saves, asks && answer.answer == SaveChangesAnswer::kYes ? 1 : 0);
        EXPECT_EQ(goes_on, !asks || answer.goes_on);
      }
    }
  }
}

TEST(UnsavedChanges, TitleAndQuestionNameTheSetting) {
  EXPECT_EQ(MarkedCaption(L"Sonaril - Tone Generator", true), L"*Sonaril - Tone Generator");
  EXPECT_EQ(MarkedCaption(L"Sonaril - Tone Generator", false), L"Sonaril - Tone Generator");
  EXPECT_EQ(SaveChangesQuestion(SettingName("C:\\tones\\busy.ton", 0), 0), L"Save changes to busy.ton?");
  EXPECT_EQ(SaveChangesQuestion(SettingName("/a/\xE5\x91\xBC.ton", 1), 1),
            L"\x547C.ton \x3078\x306E\x5909\x66F4\x3092\x4FDD\x5B58\x3057\x307E\x3059\x304B?");
  EXPECT_EQ(SaveChangesQuestion(SettingName("", 0), 0), L"Save changes to Untitled?");
  EXPECT_EQ(SettingName("", 1), L"\x7121\x984C");
}

}  // namespace
