#include "editor/tone_string_edit.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/setting_builder.h"

namespace {

// The window's rate and repeat go to the import builder; what it builds shows the string
// again, and a string it cannot build says why on one line and leaves the setting alone.
TEST(ToneStringEdit, BuildsThroughTheImportBuilderOrSaysWhyNot) {
  const struct {
    const wchar_t* text;
    int32_t rate, repeat;
    const wchar_t* shown;  // null: refused
  } cases[] = {
      {L" 440+480 / 2000 , 0/4000", 8000, 3, L"440+480/2000,0/4000"},
      {L"!950/330,!1400/330,0", 16000, 1, L"!950/330,!1400/330,0"},
      {L"", 8000, 1, nullptr},
      {L"5000/100,0/100", 8000, 1, nullptr},  // above half the window's rate
      {L"!950/330,0", 8000, 2, nullptr},       // played once, at the window's repeat of two
  };
  for (const auto& c : cases) {
    ToneSetting setting;
    AddStep(setting, On, 123, 1);
    std::wstring why_not;
    const bool built = BuildSettingFromToneString(c.text, c.rate, c.repeat, &setting, &why_not, 0);
    ASSERT_EQ(built, c.shown != nullptr) << c.rate << " " << c.repeat;
    const CurrentToneString shown = DescribeToneString(setting, 0);
    if (built) {
      EXPECT_EQ(setting.sampling_frequency, c.rate);
      EXPECT_EQ(setting.repeat, c.repeat);
      EXPECT_EQ(shown.text, c.shown);
      continue;
    }
    EXPECT_EQ(why_not.rfind(L"Cannot be built: ", 0), 0u);
    EXPECT_EQ(why_not.find(L'\n'), std::wstring::npos);
    // The setting kept its fading step, which no tone string can say.
    EXPECT_FALSE(shown.has_string);
    EXPECT_EQ(shown.text.rfind(L"No tone string: ", 0), 0u);
    EXPECT_EQ(DescribeToneString(setting, 1).text.rfind(L"\x30C8\x30FC\x30F3\x6587\x5B57\x5217", 0), 0u);
  }
}

}  // namespace
