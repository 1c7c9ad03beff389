#include "synth/number_parsing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int32_t kUntouched = 777;

struct FieldCase {
  const char* text;
  bool accepted;
  int32_t value;  // when accepted
};

TEST(NumberParsingTest, EditFieldNumbers) {
  const FieldCase cases[] = {
      {"  -45", true, -45},
      {"12abc", false, 0},
      {"", true, 0},
      {"  ", true, 0},
      {"\t \t", true, 0},
      {"-", true, 0},
      {"  -", true, 0},
      {"1000", true, 1000},
      {"\t250", true, 250},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", true, -2147483647 - 1},   // digits wrap in 32 bits
      {"4294967296", true, 0},
      {"99999999999", true, 1215752191},
      {"--5", false, 0},
      {"+5", false, 0},
      {"- 5", false, 0},
      {"5 ", false, 0},
      {"1.5", false, 0},
      {"abc", false, 0},
      {"-x", false, 0},
  };
  for (const FieldCase& c : cases) {
    int32_t value = kUntouched;
    EXPECT_EQ(ParseFieldNumber(c.text, &value), c.accepted) << '"' << c.text << '"';
    EXPECT_EQ(value, c.accepted ? c.value : kUntouched) << '"' << c.text << '"';
  }
}

TEST(NumberParsingTest, WideTextParsesTheSame) {
  int32_t value = kUntouched;
  EXPECT_TRUE(ParseFieldNumber(L"  -45", &value));
  EXPECT_EQ(value, -45);
  EXPECT_FALSE(ParseFieldNumber(L"12\u3042", &value));
  EXPECT_EQ(value, -45);
  EXPECT_FALSE(ParseFieldNumber(L"\uFF11", &value));  // full-width digit is not a digit
  EXPECT_EQ(ParseRepeatCount(L"7x"), 7);
}

TEST(NumberParsingTest, OnlyTheFirst63CharactersAreRead) {
  int32_t value = kUntouched;
  const std::string blanks63(63, ' ');
  EXPECT_TRUE(ParseFieldNumber(blanks63 + "5", &value));
  EXPECT_EQ(value, 0);
  value = kUntouched;
  EXPECT_TRUE(ParseFieldNumber(std::string(60, ' ') + "123" + "x", &value));
  EXPECT_EQ(value, 123);
  EXPECT_TRUE(ParseFieldNumber(std::string(62, ' ') + "9" + "99", &value));
  EXPECT_EQ(value, 9);
  const std::wstring wide_blanks(61, L' ');
  EXPECT_TRUE(ParseFieldNumber(wide_blanks + L"42abc", &value));
  EXPECT_EQ(value, 42);
}

TEST(NumberParsingTest, RepeatCountUsesTheDigitsBeforeAStrayCharacter) {
  const struct {
    const char* text;
    int32_t parsed;
    int32_t clamped;
  } cases[] = {
      {"7x", 7, 7},   {"0", 0, 1},      {"-5", -5, 1},    {"250", 250, 100},
      {"100", 100, 100}, {"1", 1, 1},   {"", 0, 1},       {"-", 0, 1},
      {"-5x", 5, 5},  {"x", 0, 1},      {" 12 ", 12, 12}, {"101", 101, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseRepeatCount(c.text), c.parsed) << '"' << c.text << '"';
    EXPECT_EQ(ClampRepeat(ParseRepeatCount(c.text)), c.clamped) << '"' << c.text << '"';
  }
  EXPECT_EQ(ClampRepeat(-2147483647 - 1), 1);
  EXPECT_EQ(ClampRepeat(2147483647), 100);
}

}  // namespace
