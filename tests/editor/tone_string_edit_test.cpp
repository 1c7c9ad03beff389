#include "editor/tone_string_edit.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/setting_builder.h"

namespace {

struct BuildCase {
  const wchar_t* text;
  int32_t rate;
  int32_t repeat;
  const wchar_t* shown;  // the string the built setting shows; null: refused
  const wchar_t* why_not;  // the start of the refusal
};

// The window's rate and repeat go to the builder; the setting built shows the string again,
// and a string that cannot be built says why in one line and leaves the setting alone.
TEST(ToneStringEdit, BuildsThroughTheImportBuilderOrSaysWhyNot) {
  const BuildCase cases[] = {
      {L"440+480/2000,0/4000", 8000, 3, L"440+480/2000,0/4000", nullptr},
      {L" 425 / 500 , 0 / 500 ", 16000, 1, L"425/500,0/500", nullptr},
      {L"!950/330,!1400/330,!1800/330,0", 8000, 1, L"!950/330,!1400/330,!1800/330,0", nullptr},
      {L"", 8000, 1, nullptr, L"Cannot be built: "},
      {L"440/abc", 8000, 1, nullptr, L"Cannot be built: "},
      {L"5000/100,0/100", 8000, 1, nullptr, L"Cannot be built: "},  // above half the rate
      {L"!950/330,0", 8000, 2, nullptr, L"Cannot be built: "},       // plays once, repeat 2
      {L"440/10,0/10", 44100, 1, L"440/10,0/10", nullptr},
      {L"440/1,0/1", 44100, 1, nullptr, L"Cannot be built: "},  // not whole samples
  };
  for (const BuildCase& c : cases) {
    const std::string name(c.text, c.text + std::wcslen(c.text));
    ToneSetting setting;
    AddStep(setting, On, 123);
    std::wstring why_not;
    const bool built = BuildSettingFromToneString(c.text, c.rate, c.repeat, &setting, &why_not, 0);
    ASSERT_EQ(built, c.shown != nullptr) << name;
    if (!built) {
      EXPECT_EQ(why_not.rfind(c.why_not, 0), 0u) << name;
      EXPECT_GT(why_not.size(), std::wcslen(c.why_not)) << name;
      EXPECT_EQ(why_not.find(L'\n'), std::wstring::npos) << name;
      ASSERT_EQ(setting.StepCount(), 1) << name;
      EXPECT_EQ(setting.StepAt(0)->time, 123) << name;
      continue;
    }
    EXPECT_EQ(setting.sampling_frequency, c.rate) << name;
    EXPECT_EQ(setting.repeat, c.repeat) << name;
    const CurrentToneString shown = DescribeToneString(setting, 0);
    EXPECT_TRUE(shown.has_string) << name;
    EXPECT_EQ(shown.text, c.shown) << name;
  }
}

TEST(ToneStringEdit, ASettingWithoutAToneStringSaysWhyOnOneLine) {
  ToneSetting setting;
  AddStep(setting, On, 500, 1);  // a fade has no tone string
  AddTone(setting, Sine, 425);
  const CurrentToneString english = DescribeToneString(setting, 0);
  EXPECT_FALSE(english.has_string);
  EXPECT_EQ(english.text.rfind(L"No tone string: ", 0), 0u);
  EXPECT_EQ(english.text.find(L'\n'), std::wstring::npos);
  const CurrentToneString japanese = DescribeToneString(setting, 1);
  EXPECT_EQ(japanese.text.rfind(L"\x30C8\x30FC\x30F3\x6587\x5B57\x5217", 0), 0u);
  std::wstring why_not;
  EXPECT_FALSE(BuildSettingFromToneString(L"x", 8000, 1, &setting, &why_not, 1));
  EXPECT_EQ(why_not.rfind(L"\x4F5C\x6210", 0), 0u);
}

}  // namespace
