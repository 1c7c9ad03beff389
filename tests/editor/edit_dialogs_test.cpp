// The step and tone dialogs, driven for real from their resources in both languages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "editor/pattern_edit_dialog.h"
#include "editor/tone_edit_dialog.h"
#include "resources/resource_ids.h"
#include "tests/common/modal_driver.h"

namespace {

using sonaril_test::CModalDriver;
using sonaril_test::ComboContents;
using sonaril_test::DefaultButton;
using sonaril_test::ItemText;
using sonaril_test::Press;
using sonaril_test::ReadCombo;
using sonaril_test::Wide;

struct LanguageTexts {
  int language;
  const char* step_caption;
  const char* tone_caption;
  const char* wave_names[4];
};

const LanguageTexts kLanguages[] = {
    {0, "Ring Pattern Setting", "Tone Setting", {"Sine Wave", "Square Wave", "Triangle Wave", "Sawtooth Wave"}},
    {1, u8"鳴動パターン設定", u8"音色設定", {u8"正弦波", u8"矩形波", u8"三角波", u8"ノコギリ波"}},
};

// The configuration of a run in one language, for as long as the object lives.
class CLanguageScope {
 public:
  explicit CLanguageScope(int language) {
    app_config = &config_;
    config_.current_language = language;
  }
  ~CLanguageScope() { app_config = nullptr; }

 private:
  CAppParameter config_;
};

struct StepValues {
  int32_t on_off, time, is_fade;
  bool operator==(const StepValues& o) const { return on_off == o.on_off && time == o.time && is_fade == o.is_fade; }
};

StepValues ValuesOf(const PatternStep& step) { return {step.on_off, step.time, step.is_fade}; }

// Opens the step dialog on step with action run on it; returns RunStepDialog's answer.
bool DriveStepDialog(const LanguageTexts& texts, PatternStep* step, CModalDriver::Action action) {
  CLanguageScope scope(texts.language);
  CModalDriver driver;
  driver.Expect(Wide(texts.step_caption), std::move(action));
  bool accepted = driver.Run([&] { return RunStepDialog(nullptr, step); });
  EXPECT_TRUE(driver.AllHandled()) << "the dialog did not appear";
  EXPECT_FALSE(driver.timed_out());
  EXPECT_TRUE(driver.unexpected().empty());
  return accepted;
}

bool DriveToneDialog(const LanguageTexts& texts, ToneEntry* tone, CModalDriver::Action action) {
  CLanguageScope scope(texts.language);
  CModalDriver driver;
  driver.Expect(Wide(texts.tone_caption), std::move(action));
  bool accepted = driver.Run([&] { return RunToneDialog(nullptr, tone); });
  EXPECT_TRUE(driver.AllHandled()) << "the dialog did not appear";
  EXPECT_FALSE(driver.timed_out());
  EXPECT_TRUE(driver.unexpected().empty());
  return accepted;
}

TEST(StepDialog, ShowsTheStepWithTheFourKindsAndTheirItemData) {
  for (const LanguageTexts& texts : kLanguages) {
    PatternStep step;
    step.on_off = RampDown;
    step.time = 250;
    step.is_fade = 1;
    ComboContents kinds;
    std::wstring time_text;
    UINT fade = 0;
    int default_button = 0;
    bool has_icon = false;
    bool accepted = DriveStepDialog(texts, &step, [&](HWND dialog) {
      kinds = ReadCombo(dialog, IDC_STEP_KIND);
      time_text = ItemText(dialog, IDC_STEP_TIME);
      fade = IsDlgButtonChecked(dialog, IDC_STEP_FADE);
      default_button = DefaultButton(dialog);
      has_icon = SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0) != 0;
      Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(kinds.texts, (std::vector<std::wstring>{L"OFF", L"ON", L"100% -> 0%", L"0% -> 100%"}));
    EXPECT_EQ(kinds.data, (std::vector<LRESULT>{0, 1, 2, 3}));
    EXPECT_EQ(kinds.selected, 2);
    EXPECT_EQ(time_text, L"250");
    EXPECT_EQ(fade, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(default_button, IDCANCEL);  // Enter cancels
    EXPECT_TRUE(has_icon);
  }
}

TEST(StepDialog, AKindOutsideTheListSelectsNothingAndOkThenStoresOff) {
  for (const LanguageTexts& texts : kLanguages) {
    PatternStep step;
    step.on_off = 7;
    step.time = -20;
    LRESULT selected = 0;
    std::wstring time_text;
    EXPECT_TRUE(DriveStepDialog(texts, &step, [&](HWND dialog) {
      selected = SendDlgItemMessageW(dialog, IDC_STEP_KIND, CB_GETCURSEL, 0, 0);
      time_text = ItemText(dialog, IDC_STEP_TIME);
      Press(dialog, IDOK);
    }));
    EXPECT_EQ(selected, CB_ERR);
    EXPECT_EQ(time_text, L"-20");
    EXPECT_EQ(ValuesOf(step), (StepValues{Off, -20, 0}));
  }
}

TEST(StepDialog, TheTimeFieldFollowsTheNumberRule) {
  struct Case {
    const wchar_t* text;
    int32_t time;
  } cases[] = {
      {L"12abc", 1000},  // not a number: the previous time stays
      {L" ", 0},         // blanks only: 0
      {L"", 0},
      {L"-", 0},
      {L"-440", -440},
      {L" \t 750", 750},
      {L"75 0", 1000},
      {L"+5", 1000},
  };
  // Only 63 characters are read: an x at the 63rd rejects the text, one after it does not.
  std::wstring zeros(62, L'0');
  std::wstring x_inside = zeros + L"x";
  std::wstring x_beyond = zeros + L"7abc";
  std::vector<Case> all(std::begin(cases), std::end(cases));
  all.push_back({x_inside.c_str(), 1000});
  all.push_back({x_beyond.c_str(), 7});
  for (const LanguageTexts& texts : kLanguages) {
    for (const Case& c : all) {
      PatternStep step;
      step.on_off = On;
      step.time = 1000;
      EXPECT_TRUE(DriveStepDialog(texts, &step, [&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_STEP_TIME, c.text);
        Press(dialog, IDOK);
      }));
      EXPECT_EQ(step.time, c.time) << "\"" << c.text << "\"";
      EXPECT_EQ(step.on_off, On);
    }
  }
}

TEST(StepDialog, FadeIsKeptOnlyForOnSteps) {
  for (const LanguageTexts& texts : kLanguages) {
    for (int32_t kind : {Off, On, RampDown, RampUp}) {
      PatternStep step;
      step.on_off = On;
      step.time = 300;
      step.is_fade = 0;
      EXPECT_TRUE(DriveStepDialog(texts, &step, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_STEP_KIND, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
        CheckDlgButton(dialog, IDC_STEP_FADE, BST_CHECKED);
        Press(dialog, IDOK);
      }));
      EXPECT_EQ(ValuesOf(step), (StepValues{kind, 300, kind == On ? 1 : 0})) << "kind " << kind;
    }
  }
}

// Enter in a field and the close command of the system menu both end the dialog without
// storing what was typed.
TEST(StepDialog, EnterAndTheSystemMenuCloseLeaveTheStepUnchanged) {
  for (const LanguageTexts& texts : kLanguages) {
    for (bool by_enter : {true, false}) {
      PatternStep step;
      step.on_off = RampUp;
      step.time = 40;
      step.is_fade = 0;
      EXPECT_FALSE(DriveStepDialog(texts, &step, [&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_STEP_TIME, L"555");
        SendDlgItemMessageW(dialog, IDC_STEP_KIND, CB_SETCURSEL, 1, 0);
        HWND time_field = GetDlgItem(dialog, IDC_STEP_TIME);
        SetFocus(time_field);
        if (by_enter) {
          PostMessageW(time_field, WM_KEYDOWN, VK_RETURN, 0);
        } else {
          PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
      }));
      EXPECT_EQ(ValuesOf(step), (StepValues{RampUp, 40, 0})) << (by_enter ? "Enter" : "close");
    }
  }
}

struct ToneValues {
  int32_t values[6];  // type, frequency, phase, start, end, level
  bool operator==(const ToneValues& o) const {
    for (int i = 0; i < 6; ++i) {
      if (values[i] != o.values[i]) return false;
    }
    return true;
  }
};

ToneValues ValuesOf(const ToneEntry& tone) {
  return {{tone.type, tone.frequency, tone.phase, tone.start_time, tone.end_time, tone.level}};
}

void PrintTo(const ToneValues& v, std::ostream* out) {
  for (int32_t value : v.values) *out << value << " ";
}

ToneEntry ToneOf(const ToneValues& v) {
  ToneEntry tone;
  tone.type = v.values[0];
  tone.frequency = v.values[1];
  tone.phase = v.values[2];
  tone.start_time = v.values[3];
  tone.end_time = v.values[4];
  tone.level = v.values[5];
  return tone;
}

constexpr int kToneFields[] = {IDC_TONE_FREQUENCY, IDC_TONE_PHASE, IDC_TONE_START_TIME,
                               IDC_TONE_END_TIME, IDC_TONE_LEVEL};

TEST(ToneDialog, ShowsTheToneWithTheWaveTypesOfTheLanguage) {
  for (const LanguageTexts& texts : kLanguages) {
    ToneEntry tone = ToneOf({{Sawtooth, 440, -90, 10, -1, 50}});
    ComboContents types;
    std::vector<std::wstring> fields;
    int default_button = 0;
    EXPECT_FALSE(DriveToneDialog(texts, &tone, [&](HWND dialog) {
      types = ReadCombo(dialog, IDC_TONE_TYPE);
      for (int id : kToneFields) fields.push_back(ItemText(dialog, id));
      default_button = DefaultButton(dialog);
      Press(dialog, IDCANCEL);
    }));
    std::vector<std::wstring> names;
    for (const char* name : texts.wave_names) names.push_back(Wide(name));
    EXPECT_EQ(types.texts, names);
    EXPECT_EQ(types.data, (std::vector<LRESULT>{0, 1, 2, 3}));
    EXPECT_EQ(types.selected, 3);
    EXPECT_EQ(fields, (std::vector<std::wstring>{L"440", L"-90", L"10", L"-1", L"50"}));
    EXPECT_EQ(default_button, IDCANCEL);
    EXPECT_EQ(ValuesOf(tone), (ToneValues{{Sawtooth, 440, -90, 10, -1, 50}}));
  }
}

TEST(ToneDialog, OkStoresEveryValueAsEnteredWithoutRangeChecks) {
  for (const LanguageTexts& texts : kLanguages) {
    ToneEntry tone;  // the Add defaults: sine, 1000, 0, 0, -1, 100
    EXPECT_TRUE(DriveToneDialog(texts, &tone, [&](HWND dialog) {
      SendDlgItemMessageW(dialog, IDC_TONE_TYPE, CB_SETCURSEL, 2, 0);
      const wchar_t* entered[] = {L"-440", L"720", L"500", L"100", L"-3"};
      for (int i = 0; i < 5; ++i) SetDlgItemTextW(dialog, kToneFields[i], entered[i]);
      Press(dialog, IDOK);
    }));
    // A negative frequency and level, and an end before the start, are all kept.
    EXPECT_EQ(ValuesOf(tone), (ToneValues{{Triangle, -440, 720, 500, 100, -3}}));
  }
}

TEST(ToneDialog, EveryFieldFollowsTheNumberRule) {
  struct Case {
    const wchar_t* text;
    bool kept;      // the previous value stays
    int32_t value;  // otherwise stored
  } cases[] = {{L"12abc", true, 0}, {L" ", false, 0}, {L"-440", false, -440}, {L"", false, 0},
               {L"\t-7", false, -7}, {L"1e3", true, 0}};
  const ToneValues before{{Square, 1000, 45, 20, 900, 80}};
  for (const LanguageTexts& texts : kLanguages) {
    for (int field = 0; field < 5; ++field) {
      for (const Case& c : cases) {
        ToneEntry tone = ToneOf(before);
        EXPECT_TRUE(DriveToneDialog(texts, &tone, [&](HWND dialog) {
          SetDlgItemTextW(dialog, kToneFields[field], c.text);
          Press(dialog, IDOK);
        }));
        ToneValues expected = before;
        if (!c.kept) expected.values[field + 1] = c.value;
        EXPECT_EQ(ValuesOf(tone), expected) << "field " << kToneFields[field] << ", case " << (&c - cases);
      }
    }
  }
}

TEST(ToneDialog, NoSelectedTypeStoresSine) {
  for (const LanguageTexts& texts : kLanguages) {
    ToneEntry tone = ToneOf({{Square, 1, 2, 3, 4, 5}});
    EXPECT_TRUE(DriveToneDialog(texts, &tone, [&](HWND dialog) {
      SendDlgItemMessageW(dialog, IDC_TONE_TYPE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      Press(dialog, IDOK);
    }));
    EXPECT_EQ(ValuesOf(tone), (ToneValues{{Sine, 1, 2, 3, 4, 5}}));
  }
}

TEST(ToneDialog, EnterAndTheSystemMenuCloseLeaveTheToneUnchanged) {
  const ToneValues before{{Triangle, 697, 0, 0, -1, 70}};
  for (const LanguageTexts& texts : kLanguages) {
    for (bool by_enter : {true, false}) {
      ToneEntry tone = ToneOf(before);
      EXPECT_FALSE(DriveToneDialog(texts, &tone, [&](HWND dialog) {
        for (int id : kToneFields) SetDlgItemTextW(dialog, id, L"1");
        HWND level = GetDlgItem(dialog, IDC_TONE_LEVEL);
        SetFocus(level);
        if (by_enter) {
          PostMessageW(level, WM_KEYDOWN, VK_RETURN, 0);
        } else {
          PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
      }));
      EXPECT_EQ(ValuesOf(tone), before) << (by_enter ? "Enter" : "close");
    }
  }
}

}  // namespace
