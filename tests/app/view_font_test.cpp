// The paint font of the child views.
#include "app/view_font.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kMsGothic = L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF";  // ＭＳ ゴシック

TEST(ViewFontChoice, ConfiguredValuesWinAndTheLanguagePicksTheRest) {
  struct Case {
    const wchar_t* face;
    int32_t size;
    int32_t language;
    int32_t height;
    int32_t charset;
    std::wstring expected_face;
  };
  const Case cases[] = {
      {nullptr, 0, 0, 14, 0, L"Courier New"},
      {L"", 0, 0, 14, 0, L"Courier New"},
      {nullptr, 0, 1, 12, 128, kMsGothic},
      {L"", 0, 1, 12, 128, kMsGothic},
      {L"Consolas", 0, 0, 14, 0, L"Consolas"},
      {L"Consolas", 0, 1, 12, 128, L"Consolas"},
      {nullptr, 20, 0, 20, 0, L"Courier New"},
      {nullptr, 20, 1, 20, 128, kMsGothic},
      {nullptr, -11, 0, -11, 0, L"Courier New"},  // a character height passes through
      {nullptr, 0, 7, 14, 0, L"Courier New"},     // any language but 1 is English
      {nullptr, 0, -1, 14, 0, L"Courier New"},
  };
  for (const Case& c : cases) {
    const ViewFont font = ChooseViewFont(c.face, c.size, c.language);
    EXPECT_EQ(font.height, c.height);
    EXPECT_EQ(font.charset, c.charset);
    EXPECT_EQ(font.face, c.expected_face);
  }
}

TEST(ViewFontChoice, LongFaceNamesAreCutToWhatTheFontDescriptionHolds) {
  const std::wstring thirty_one(31, L'a');
  EXPECT_EQ(FitFaceName(thirty_one.c_str()), thirty_one);
  EXPECT_EQ(FitFaceName((thirty_one + L"bcdef").c_str()), thirty_one);
  EXPECT_EQ(ChooseViewFont(std::wstring(500, L'x').c_str(), 0, 0).face, std::wstring(31, L'x'));
  EXPECT_EQ(FitFaceName(nullptr), L"");
}

}  // namespace
