#include "editor/unsaved_changes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/common/setting_builder.h"

namespace {

// The window's rate, repeat and filter beside the setting, as CaptureSettingValues takes them.
struct Window {
  ToneSetting setting;
  int32_t rate = 8000;
  int32_t repeat = 2;
  int32_t filter = 0;
  SettingValues Values() const { return CaptureSettingValues(setting, rate, repeat, filter); }
};

void Fill(Window& window) {
  AddStep(window.setting, On, 1000, 1);
  AddStep(window.setting, Off, 500);
  AddTone(window.setting, Sine, 425);
}

struct EditCase {
  const char* name;
  std::function<void(Window&)> edit;
  std::function<void(Window&)> undo;  // by hand, as a user would put it back
};

// Every value a file keeps counts, and an edit put back by hand is no change.
TEST(UnsavedChanges, ValuesDifferExactlyWhileAnEditStands) {
  const EditCase cases[] = {
      {"rate", [](Window& w) { w.rate = 16000; }, [](Window& w) { w.rate = 8000; }},
      {"repeat", [](Window& w) { w.repeat = 7; }, [](Window& w) { w.repeat = 2; }},
      {"filter", [](Window& w) { w.filter = 1; }, [](Window& w) { w.filter = 0; }},
      {"step time", [](Window& w) { w.setting.StepAt(1)->time = 250; },
       [](Window& w) { w.setting.StepAt(1)->time = 500; }},
      {"step fade", [](Window& w) { w.setting.StepAt(0)->is_fade = 0; },
       [](Window& w) { w.setting.StepAt(0)->is_fade = 1; }},
      {"steps swapped", [](Window& w) { w.setting.SwapSteps(0, 1); },
       [](Window& w) { w.setting.SwapSteps(0, 1); }},
      {"tone level", [](Window& w) { w.setting.ToneAt(0)->level = 50; },
       [](Window& w) { w.setting.ToneAt(0)->level = 100; }},
      {"tone added", [](Window& w) { AddTone(w.setting, Square, 425); },
       [](Window& w) { w.setting.DeleteTone(1); }},
      {"step deleted", [](Window& w) { w.setting.DeleteStep(1); },
       [](Window& w) { AddStep(w.setting, Off, 500); }},
  };
  for (const EditCase& c : cases) {
    Window window;
    Fill(window);
    const SettingValues opened = window.Values();
    EXPECT_EQ(window.Values(), opened) << c.name;
    c.edit(window);
    EXPECT_NE(window.Values(), opened) << c.name;
    c.undo(window);
    EXPECT_EQ(window.Values(), opened) << c.name;
  }
}

enum class State { kUnchanged, kChanged, kChangedBack };

struct AnswerCase {
  SaveChangesAnswer answer;
  bool save_succeeds;
  bool goes_on;  // when the question is asked
};

struct CommandCase {
  const char* name;
  int32_t id;
  int32_t code;
  bool asks;  // when the setting has changed
};

// Each command × unchanged / changed / changed back × Yes / Yes with a failed save / No /
// Cancel: how often the user is asked, whether a save is tried, and whether it goes on.
TEST(UnsavedChanges, OnlyReplacingCommandsAskAndOnlyForAChangedSetting) {
  const CommandCase commands[] = {
      {"Esc", 2, 0, true},         {"Exit", 5019, 0, true},         {"New", 5001, 0, true},
      {"Open", 5002, 0, true},     {"Save", 5004, 0, false},        {"Save As", 5005, 0, false},
      {"Add step", 20111, 0, false}, {"Create Tone", 20123, 0, false}, {"About", 5014, 0, false},
  };
  const AnswerCase answers[] = {
      {SaveChangesAnswer::kYes, true, true},
      {SaveChangesAnswer::kYes, false, false},  // failed or cancelled save: keep everything
      {SaveChangesAnswer::kNo, true, true},
      {SaveChangesAnswer::kCancel, true, false},
  };
  for (const CommandCase& command : commands) {
    for (State state : {State::kUnchanged, State::kChanged, State::kChangedBack}) {
      for (const AnswerCase& answer : answers) {
        Window window;
        Fill(window);
        const SettingValues opened = window.Values();
        if (state != State::kUnchanged) window.setting.ToneAt(0)->frequency = 440;
        if (state == State::kChangedBack) window.setting.ToneAt(0)->frequency = 425;
        const bool changed = window.Values() != opened;
        int asked = 0;
        int saves = 0;
        bool goes_on = true;
        if (AsksToSaveChanges(RouteMainCommand(command.id, command.code))) {
          goes_on = ConfirmDiscard(
              changed, [&] { ++asked; return answer.answer; },
              [&] { ++saves; return answer.save_succeeds; });
        }
        const bool asks = command.asks && state == State::kChanged;
        const std::string where = std::string(command.name) + " state " +
                                  std::to_string(static_cast<int>(state)) + " answer " +
                                  std::to_string(static_cast<int>(answer.answer));
        EXPECT_EQ(asked, asks ? 1 : 0) << where;
        EXPECT_EQ(saves, asks && answer.answer == SaveChangesAnswer::kYes ? 1 : 0) << where;
        EXPECT_EQ(goes_on, asks ? answer.goes_on : true) << where;
      }
    }
  }
}

TEST(UnsavedChanges, TitleAndQuestionNameTheSetting) {
  EXPECT_EQ(MarkedCaption(L"Sonaril - Tone Generator", true), L"*Sonaril - Tone Generator");
  EXPECT_EQ(MarkedCaption(L"Sonaril - Tone Generator", false), L"Sonaril - Tone Generator");
  EXPECT_EQ(SaveChangesQuestion(SettingName("C:\\tones\\busy.ton", 0), 0),
            L"Save changes to busy.ton?");
  EXPECT_EQ(SaveChangesQuestion(SettingName("/home/a/\xE5\x91\xBC\xE5\x87\xBA.ton", 1), 1),
            L"\x547C\x51FA.ton \x3078\x306E\x5909\x66F4\x3092\x4FDD\x5B58\x3057\x307E\x3059\x304B?");
  EXPECT_EQ(SaveChangesQuestion(SettingName("", 0), 0), L"Save changes to Untitled?");
  EXPECT_EQ(SettingName("", 1), L"\x7121\x984C");
}

}  // namespace
