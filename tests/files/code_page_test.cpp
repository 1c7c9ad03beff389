#include "files/code_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

std::wstring Wide(const std::string& bytes, unsigned code_page) {
  std::unique_ptr<wchar_t[]> text(ToWide(bytes.data(), static_cast<int32_t>(bytes.size()), code_page));
  return text == nullptr ? L"<null>" : std::wstring(text.get());
}

std::string Bytes(const std::wstring& text, unsigned code_page) {
  std::unique_ptr<char[]> bytes(ToMultiByte(text.data(), static_cast<int32_t>(text.size()), code_page));
  return bytes == nullptr ? "<null>" : std::string(bytes.get());
}

struct Pair {
  const wchar_t* text;
  const char* bytes;
};

TEST(CodePage, Utf8BothWays) {
  const Pair pairs[] = {
      {L"Tone", "Tone"},
      {L"\u30C8\u30FC\u30F3\u751F\u6210", "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3\xE7\x94\x9F\xE6\x88\x90"},
      {L"\u0416\u0443\u043A", "\xD0\x96\xD1\x83\xD0\xBA"},
      {L"\u00E9", "\xC3\xA9"},
      {L"\U0001F600", "\xF0\x9F\x98\x80"},  // outside the basic plane
      {L"\uFFFD", "\xEF\xBF\xBD"},
      {L"", ""},
  };
  for (const Pair& pair : pairs) {
    EXPECT_EQ(Bytes(pair.text, kCodePageUtf8), pair.bytes);
    EXPECT_EQ(Wide(pair.bytes, kCodePageUtf8), pair.text);
  }
}

TEST(CodePage, ShiftJisBothWays) {
  const Pair pairs[] = {
      {L"\u30C8\u30FC\u30F3\u751F\u6210", "\x83\x67\x81\x5B\x83\x93\x90\xB6\x90\xAC"},  // トーン生成
      {L"\u8868\u793A", "\x95\x5C\x8E\xA6"},  // 表示: a trail byte equal to the backslash
      {L"ring.ton", "ring.ton"},
      {L"\uFF71", "\xB1"},  // half-width katakana: one byte
  };
  for (const Pair& pair : pairs) {
    EXPECT_EQ(Bytes(pair.text, kCodePageShiftJis), pair.bytes);
    EXPECT_EQ(Wide(pair.bytes, kCodePageShiftJis), pair.text);
  }
}

TEST(CodePage, ShiftJisThroughUtf8AndBack) {
  const std::string shift_jis = "\x83\x67\x81\x5B\x83\x93\x90\xB6\x90\xAC";
  std::string utf8 = Bytes(Wide(shift_jis, kCodePageShiftJis), kCodePageUtf8);
  EXPECT_EQ(utf8, "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3\xE7\x94\x9F\xE6\x88\x90");
  EXPECT_EQ(Bytes(Wide(utf8, kCodePageUtf8), kCodePageShiftJis), shift_jis);
}

TEST(CodePage, CountLimitsTheInputAndTheResultIsTerminated) {
  std::unique_ptr<wchar_t[]> wide(ToWide("abcdef", 3, kCodePageUtf8));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::wstring(wide.get()), L"abc");

  std::unique_ptr<wchar_t[]> whole(ToWide("abcdef", -1, kCodePageUtf8));
  EXPECT_EQ(std::wstring(whole.get()), L"abcdef");

  std::unique_ptr<char[]> bytes(ToMultiByte(L"abcdef", 2, kCodePageUtf8));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::string(bytes.get()), "ab");

  std::unique_ptr<char[]> all(ToMultiByte(L"abcdef", -1, kCodePageUtf8));
  EXPECT_EQ(std::string(all.get()), "abcdef");
}

TEST(CodePage, NothingToConvertGivesAnEmptyTerminatedBuffer) {
  std::unique_ptr<wchar_t[]> from_null(ToWide(nullptr, 5, kCodePageUtf8));
  ASSERT_NE(from_null, nullptr);
  EXPECT_EQ(from_null[0], 0);
  std::unique_ptr<wchar_t[]> from_zero(ToWide("abc", 0, kCodePageShiftJis));
  ASSERT_NE(from_zero, nullptr);
  EXPECT_EQ(from_zero[0], 0);
  std::unique_ptr<char[]> to_null(ToMultiByte(nullptr, 5, kCodePageUtf8));
  ASSERT_NE(to_null, nullptr);
  EXPECT_EQ(to_null[0], 0);
  std::unique_ptr<char[]> to_zero(ToMultiByte(L"abc", 0, kCodePageShiftJis));
  ASSERT_NE(to_zero, nullptr);
  EXPECT_EQ(to_zero[0], 0);
}

TEST(CodePage, BadUtf8IsReplacedNotRefused) {
  struct Case {
    std::string bytes;
    std::wstring expected;
  };
  const Case cases[] = {
      {"a\xFF" "b", L"a\uFFFD" L"b"},
      {"a\x80" "b", L"a\uFFFD" L"b"},
      {"a\xC3", L"a\uFFFD"},  // cut short at the end
      {"\xC0\xAF" "x", L"\uFFFD\uFFFD" L"x"},  // overlong form
  };
  for (const Case& c : cases) EXPECT_EQ(Wide(c.bytes, kCodePageUtf8), c.expected);
}

TEST(CodePage, BadShiftJisDoesNotLoseTheRest) {
  // A lead byte at the very end, and one followed by an impossible trail byte.
  const std::string inputs[] = {"ab\x83", "a\x81\x01" "bc"};
  for (const std::string& input : inputs) {
    std::wstring wide = Wide(input, kCodePageShiftJis);
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide[0], L'a');
    EXPECT_LE(wide.size(), input.size());
  }
  std::wstring recovered = Wide("a\x81\x01" "bc", kCodePageShiftJis);
  ASSERT_GE(recovered.size(), 2u);
  EXPECT_EQ(recovered.substr(recovered.size() - 2), L"bc");
}

TEST(CodePage, CharactersShiftJisLacksBecomeTheDefaultCharacter) {
  EXPECT_EQ(Bytes(L"a\u0E01" L"b", kCodePageShiftJis), "a?b");  // Thai
}

TEST(CodePage, LongTextRoundTrips) {
  std::wstring text;
  for (int i = 0; i < 70000; ++i) {
    wchar_t c = static_cast<wchar_t>(0x20 + (i * 7919) % 0xD700);
    text += c;
  }
  EXPECT_EQ(Wide(Bytes(text, kCodePageUtf8), kCodePageUtf8), text);
}

}  // namespace
