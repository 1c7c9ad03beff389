#include "editor/main_window_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TokenCase {
  const wchar_t* line;
  const wchar_t* token;
};

TEST(MainWindowRulesTest, FirstCommandLineToken) {
  const TokenCase cases[] = {
      {L"\"C:\\My Tones\\ring back.ton\"", L"C:\\My Tones\\ring back.ton"},
      {L"  \"Z:\\tmp\\a b\\c.ton\" second", L"Z:\\tmp\\a b\\c.ton"},
      {L"plain.ton other.ton", L"plain.ton"},
      {L"   leading.ton", L"leading.ton"},
      {L"\"\" after.ton", L"after.ton"},
      {L"\"\"\"\"  last", L"last"},
      {L"\"\" \"\"", L""},
      {L"\"unterminated path with spaces", L"unterminated path with spaces"},
      {L"\"quoted\"rest", L"quoted"},
      {L"x\"y z\"", L"x\"y"},
      {L"\tleading-tab.ton", L"\tleading-tab.ton"},  // only the space separates
      {L"a\tb c", L"a\tb"},
      {L"\"\"\t", L"\t"},
      {L"", L""},
      {L"     ", L""},
      {L"\u66f2.ton", L"\u66f2.ton"},
  };
  for (const TokenCase& c : cases) {
    EXPECT_EQ(FirstCommandLineToken(c.line), c.token) << "line: " << testing::PrintToString(std::wstring(c.line));
  }
  EXPECT_EQ(FirstCommandLineToken(nullptr), L"");
}

TEST(MainWindowRulesTest, SamplingFrequencyListIndex) {
  const int32_t offered[] = {8000, 16000, 32000, 44100, 48000, 96000};
  for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(SamplingFrequencyIndex(offered[i]), i);
  for (int32_t other : {0, -8000, 22050, 8001, 192000, 2147483647}) {
    EXPECT_EQ(SamplingFrequencyIndex(other), -1) << other;
  }
}

struct RepeatCase {
  const wchar_t* text;
  int32_t repeat;
};

TEST(MainWindowRulesTest, RepeatField) {
  const RepeatCase cases[] = {
      {L"0", 1},      {L"250", 100},        {L" 7", 7},          {L"-5", 1},
      {L"-5x", 5},    {L"abc", 1},          {L"", 1},            {L"\t3", 3},
      {L"1", 1},      {L"100", 100},        {L"101", 100},       {L"99999999999", 100},
      {L"-2147483648", 1}, {L"12 monkeys", 12}, {L"--3", 1},      {L"\uFF15", 1},
  };
  for (const RepeatCase& c : cases) {
    EXPECT_EQ(ReadRepeatField(c.text), c.repeat) << testing::PrintToString(std::wstring(c.text));
  }
  // Only the first 63 characters count: the digit at 64 is never read.
  std::wstring long_text(63, L' ');
  EXPECT_EQ(ReadRepeatField(long_text + L"9"), 1);
  long_text[62] = L'9';
  EXPECT_EQ(ReadRepeatField(long_text), 9);
}

struct SavePathCase {
  const wchar_t* chosen;
  const wchar_t* written;
};

TEST(MainWindowRulesTest, SaveAsExtension) {
  const SavePathCase cases[] = {
      {L"song", L"song.ton"},
      {L"song.TON", L"song.TON"},
      {L"song.ton", L"song.ton"},
      {L"song.Ton", L"song.Ton"},
      {L"a.txt", L"a.txt.ton"},
      {L"C:\\tones.ton\\song", L"C:\\tones.ton\\song.ton"},
      {L"Z:/tmp/with space/song", L"Z:/tmp/with space/song.ton"},
      {L"C:\\\u66f2\\\u9cf4\u52d5", L"C:\\\u66f2\\\u9cf4\u52d5.ton"},
      {L"C:\\x\\archive.tone", L"C:\\x\\archive.tone.ton"},
  };
  for (const SavePathCase& c : cases) {
    EXPECT_EQ(ToneFileSavePath(c.chosen), c.written) << testing::PrintToString(std::wstring(c.chosen));
  }
  EXPECT_EQ(ToneFileSavePath(nullptr), L"");
}

TEST(MainWindowRulesTest, OutputDeviceSelection) {
  const wchar_t* names[] = {L"Speakers", L"Headset", L"Speakers", L"USB"};
  EXPECT_EQ(ChooseDeviceIndex(names, 4, L"Speakers"), 2);  // the last of equal names
  EXPECT_EQ(ChooseDeviceIndex(names, 4, L"USB"), 3);
  EXPECT_EQ(ChooseDeviceIndex(names, 4, L"speakers"), 0);  // letter case counts
  EXPECT_EQ(ChooseDeviceIndex(names, 4, L"Gone"), 0);
  EXPECT_EQ(ChooseDeviceIndex(names, 4, L""), 0);
  EXPECT_EQ(ChooseDeviceIndex(names, 4, nullptr), 0);
  EXPECT_EQ(ChooseDeviceIndex(names, 0, L"Speakers"), -1);
  EXPECT_EQ(ChooseDeviceIndex(nullptr, -3, L"Speakers"), -1);
}

TEST(MainWindowRulesTest, CommandTable) {
  struct CommandCase {
    int32_t id, code;
    MainCommand command;
  };
  const CommandCase cases[] = {
      {2, 0, MainCommand::kExit},           {5019, 0, MainCommand::kExit},
      {5001, 0, MainCommand::kNew},         {5002, 0, MainCommand::kOpen},
      {5004, 0, MainCommand::kSave},        {5005, 0, MainCommand::kSaveAs},
      {5040, 0, MainCommand::kOpenFromLibrary}, {5041, 0, MainCommand::kCheckRecording},
      {5042, 0, MainCommand::kDigits},
      {5014, 0, MainCommand::kFramework},   {5015, 0, MainCommand::kFramework},
      {5017, 0, MainCommand::kFramework},   {5003, 0, MainCommand::kFramework},
      {20105, 0, MainCommand::kZoomIn},     {20106, 0, MainCommand::kZoomOut},
      {20111, 0, MainCommand::kAddStep},    {20112, 0, MainCommand::kModifyStep},
      {20113, 0, MainCommand::kDeleteStep}, {20114, 0, MainCommand::kStepUp},
      {20115, 0, MainCommand::kStepDown},   {20116, 0, MainCommand::kFramework},
      {20117, 0, MainCommand::kAddTone},    {20118, 0, MainCommand::kModifyTone},
      {20119, 0, MainCommand::kDeleteTone}, {20120, 1, MainCommand::kFramework},
      {20122, 0x300, MainCommand::kFramework},  // the repeat field's EN_CHANGE
      {20123, 0, MainCommand::kCreateTone}, {20124, 0, MainCommand::kExport},
      {20125, 1, MainCommand::kChooseDevice}, {20125, 7, MainCommand::kIgnore},
      {20125, 0, MainCommand::kIgnore},     {20126, 0, MainCommand::kRepeatPlay},
      {20127, 0, MainCommand::kStop},       {20128, 0, MainCommand::kPlay},
      {20129, 0, MainCommand::kPause},      {1, 0, MainCommand::kFramework},
      {5030, 0, MainCommand::kToneString},
  };
  for (const CommandCase& c : cases) {
    EXPECT_EQ(RouteMainCommand(c.id, c.code), c.command) << c.id << " code " << c.code;
  }
}

}  // namespace
