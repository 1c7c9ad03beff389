#include "editor/main_window_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::string(ascii).size()); }

struct StepRowCase {
  int32_t on_off, time, is_fade;
  const wchar_t* texts[3];
};

TEST(MainWindowTextsTest, StepRows) {
  const StepRowCase cases[] = {
      {0, 500, 0, {L"OFF", L"500", L"OFF"}},
      {1, 1000, 1, {L"ON", L"1000", L"ON"}},
      {2, 250, 0, {L"100% -> 0%", L"250", L"OFF"}},
      {3, 0, 0, {L"0% -> 100%", L"0", L"OFF"}},
      {4, -1, 0, {L"", L"-1", L"OFF"}},
      {-1, 2147483647, 0, {L"", L"2147483647", L"OFF"}},
      {1, 10, 7, {L"ON", L"10", L"ON"}},  // any non-zero fade shows ON
  };
  for (const StepRowCase& c : cases) {
    PatternStep step;
    step.on_off = c.on_off;
    step.time = c.time;
    step.is_fade = c.is_fade;
    const auto texts = StepRowTexts(step);
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(texts[column], c.texts[column]) << "on_off " << c.on_off << " column " << column;
    }
  }
}

struct ToneTypeCase {
  int32_t type;
  const wchar_t* english;
  const wchar_t* japanese;
};

TEST(MainWindowTextsTest, ToneRowsInBothLanguages) {
  const ToneTypeCase cases[] = {
      {0, L"Sine Wave", L"正弦波"},
      {1, L"Square Wave", L"矩形波"},
      {2, L"Triangle Wave", L"三角波"},
      {3, L"Sawtooth Wave", L"ノコギリ波"},
      {4, L"", L""},
      {-1, L"", L""},
  };
  for (const ToneTypeCase& c : cases) {
    ToneEntry tone;
    tone.type = c.type;
    tone.frequency = -440;
    tone.phase = 90;
    tone.start_time = 0;
    tone.end_time = -1;
    tone.level = 100;
    const auto english = ToneRowTexts(tone, 0);
    EXPECT_EQ(english[0], c.english);
    EXPECT_EQ(ToneRowTexts(tone, 2)[0], c.english) << "any language but 1 is English";
    const auto japanese = ToneRowTexts(tone, 1);
    EXPECT_EQ(japanese[0], c.japanese);
    const wchar_t* numbers[] = {L"-440", L"90", L"0", L"-1", L"100"};
    for (int column = 1; column < 6; ++column) {
      EXPECT_EQ(english[column], numbers[column - 1]);
      EXPECT_EQ(japanese[column], numbers[column - 1]);
    }
  }
}

TEST(MainWindowTextsTest, ListColumns) {
  const wchar_t* step_en[] = {L"ON/OFF", L"Time", L"Fade In / Fade Out"};
  const wchar_t* step_ja[] = {L"ON/OFF", L"時間", L"フェードイン/フェードアウト"};
  const int32_t step_widths[] = {100, 50, 50};
  for (int i = 0; i < kStepColumnCount; ++i) {
    EXPECT_STREQ(ColumnHeading(kStepColumns[i], 0), step_en[i]);
    EXPECT_STREQ(ColumnHeading(kStepColumns[i], 1), step_ja[i]);
    EXPECT_EQ(kStepColumns[i].width, step_widths[i]);
  }
  const wchar_t* tone_en[] = {L"TYPE", L"Frequency", L"Phase", L"Start Time", L"End Time", L"Level"};
  const wchar_t* tone_ja[] = {L"種別", L"周波数", L"位相", L"開始時間", L"終了時間", L"出力レベル"};
  const int32_t tone_widths[] = {100, 50, 50, 50, 50, 50};
  for (int i = 0; i < kToneColumnCount; ++i) {
    EXPECT_STREQ(ColumnHeading(kToneColumns[i], 0), tone_en[i]);
    EXPECT_STREQ(ColumnHeading(kToneColumns[i], 1), tone_ja[i]);
    EXPECT_EQ(kToneColumns[i].width, tone_widths[i]);
  }
}

TEST(MainWindowTextsTest, FileDialogFiltersAndTitles) {
  static const wchar_t kEnglish[] = L"Tone setting files(*.ton)\0*.ton\0All files(*.*)\0*.*\0";
  // The literal's own terminator is the filter's second NUL.
  const std::wstring english(kEnglish, sizeof kEnglish / sizeof kEnglish[0]);
  EXPECT_EQ(ToneFileFilter(0), english);
  static const wchar_t kJapanese[] = L"トーン設定ファイル(*.ton)\0*.ton\0全てのファイル(*.*)\0*.*\0";
  const std::wstring japanese(kJapanese, sizeof kJapanese / sizeof kJapanese[0]);
  EXPECT_EQ(ToneFileFilter(1), japanese);
  EXPECT_STREQ(OpenToneFileTitle(0), L"Load Tone Setting File");
  EXPECT_STREQ(OpenToneFileTitle(1), L"トーン設定ファイルの読み込み");
  EXPECT_STREQ(SaveToneFileTitle(0), L"Save Tone Setting File");
  EXPECT_STREQ(SaveToneFileTitle(1), L"トーン設定ファイルの保存");
}

TEST(MainWindowTextsTest, FileMessagesNameTheFile) {
  const wchar_t* path = L"Z:\\tmp\\my tones\\曲.ton";
  EXPECT_EQ(OpenFailedMessage(path, 0),
            L"Z:\\tmp\\my tones\\曲.ton could not be read as a tone setting file. "
            L"The current setting is unchanged.");
  EXPECT_EQ(OpenFailedMessage(path, 1),
            L"\"Z:\\tmp\\my tones\\曲.ton\" をトーン設定ファイルとして読み込めませんでした。"
            L"現在の設定は変更されていません。");
  EXPECT_EQ(SaveFailedMessage(path, 0),
            L"Z:\\tmp\\my tones\\曲.ton could not be saved. The previous file is unchanged.");
  EXPECT_EQ(SaveFailedMessage(path, 1),
            L"\"Z:\\tmp\\my tones\\曲.ton\" を保存できませんでした。以前のファイルは変更されていません。");
  EXPECT_EQ(OpenFailedMessage(nullptr, 0).find(L"could not be read"), 1u);
}

TEST(MainWindowTextsTest, RefusalsSayWhyInBothLanguages) {
  const SynthesisRefusal reasons[] = {
      SynthesisRefusal::None,          SynthesisRefusal::SamplingFrequencyNotPositive,
      SynthesisRefusal::PatternTotalZero, SynthesisRefusal::NoTones,
      SynthesisRefusal::ZeroFrequency, SynthesisRefusal::Overflow,
      SynthesisRefusal::EmptyPatternCycle, SynthesisRefusal::NoSamples,
      SynthesisRefusal::OutOfMemory,   static_cast<SynthesisRefusal>(99),
  };
  for (SynthesisRefusal reason : reasons) {
    // The window and the command-line tool give the same English reason.
    EXPECT_EQ(RefusalText(reason, 0), Widen(DescribeRefusal(reason)));
    const std::wstring japanese = RefusalText(reason, 1);
    EXPECT_FALSE(japanese.empty());
    EXPECT_NE(japanese, RefusalText(reason, 0));
  }
  EXPECT_EQ(CreateToneRefusalMessage(SynthesisRefusal::ZeroFrequency, 0),
            L"The tone cannot be created. A tone has a frequency of 0 Hz.");
  EXPECT_EQ(CreateToneRefusalMessage(SynthesisRefusal::ZeroFrequency, 1),
            L"トーンを生成できません。周波数が 0 Hz の音色があります。");
  EXPECT_EQ(CreateToneRefusalMessage(SynthesisRefusal::Overflow, 0),
            L"The tone cannot be created. The setting is too long or its values too large to "
            L"synthesise.");
  EXPECT_STREQ(CreateToneCaption(0), L"Create Tone");
  EXPECT_STREQ(CreateToneCaption(1), L"トーン生成");
}

}  // namespace
