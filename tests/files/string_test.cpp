#include "files/string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// The bytes of a string, or "<none>" when it holds no buffer.
std::string BytesOf(const CString& text) {
  if (text.data == nullptr) return "<none>";
  return std::string(text.data, static_cast<size_t>(text.length));
}

void AssignBytes(CString* target, const std::string& bytes) {
  target->Assign(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// "トーン生成" in UTF-8.
const char kJapaneseUtf8[] = "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3\xE7\x94\x9F\xE6\x88\x90";
const wchar_t kJapaneseWide[] = L"\u30C8\u30FC\u30F3\u751F\u6210";

TEST(CString, NewStringHasNoBuffers) {
  CString text;
  EXPECT_EQ(text.data, nullptr);
  EXPECT_EQ(text.wide, nullptr);
  EXPECT_EQ(text.capacity, 0);
  EXPECT_EQ(text.length, 0);
  EXPECT_EQ(text.GetWide(), nullptr);
}

TEST(CString, TrimStripsBlanksAtBothEnds) {
  struct Case {
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"  a  ", "a"},
      {"a", "a"},
      {" \t\r\n", ""},
      {"  abc", "abc"},
      {"abc\t\r\n", "abc"},
      {"a b", "a b"},
      {std::string("ab\0\0", 4), "ab"},  // the zero byte counts as blank
      {std::string("\0x\0", 3), "x"},
      {"", ""},
  };
  for (const Case& c : cases) {
    CString text;
    AssignBytes(&text, c.input);
    text.Trim();
    EXPECT_EQ(BytesOf(text), c.expected) << "input of " << c.input.size() << " bytes";
    EXPECT_EQ(text.length, static_cast<int32_t>(c.expected.size()));
    // Still allocated and terminated, even when nothing is left.
    ASSERT_NE(text.data, nullptr);
    EXPECT_EQ(text.data[text.length], 0);
  }
}

TEST(CString, TrimOfAStringWithoutDataDoesNothing) {
  CString text;
  text.Trim();
  EXPECT_EQ(text.data, nullptr);
  EXPECT_EQ(text.length, 0);
}

TEST(CString, EqualsDistinguishesTheTwoEmptyStates) {
  CString never_filled;
  EXPECT_TRUE(never_filled.Equals(L""));
  EXPECT_TRUE(never_filled.Equals(nullptr));
  EXPECT_FALSE(never_filled.Equals(L"a"));

  CString allocated_empty;
  allocated_empty.Assign("", 0);
  ASSERT_NE(allocated_empty.data, nullptr);
  EXPECT_FALSE(allocated_empty.Equals(L""));
  EXPECT_FALSE(allocated_empty.Equals(nullptr));
}

TEST(CString, EqualsComparesExactlyAndCaseSensitively) {
  struct Case {
    const char* stored;
    const wchar_t* text;
    bool equal;
  };
  const Case cases[] = {
      {"Tone", L"tone", false}, {"Tone", L"Tone", true},   {"Tone", L"Ton", false},
      {"Ton", L"Tone", false},  {"Tone", L"Tone ", false}, {kJapaneseUtf8, kJapaneseWide, true},
      {"Tone", nullptr, false},
  };
  for (const Case& c : cases) {
    CString text;
    text.Assign(c.stored);
    EXPECT_EQ(text.Equals(c.text), c.equal) << c.stored;
  }
}

TEST(CString, MidCutsOrRefuses) {
  CString text;
  text.Assign("abcdef");
  struct Case {
    int32_t start;
    int32_t count;
    const char* expected;  // null: no string at all
  };
  const Case cases[] = {
      {2, 100, "cdef"}, {6, 1, nullptr},         {-1, 2, nullptr}, {0, 0, ""},
      {0, 6, "abcdef"}, {1, 2, "bc"},            {5, 1, "f"},      {0, -1, nullptr},
      {5, INT32_MAX, "f"}, {INT32_MAX, 1, nullptr}, {INT32_MIN, 1, nullptr}, {3, INT32_MIN, nullptr},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CString> part(text.Mid(c.start, c.count));
    if (c.expected == nullptr) {
      EXPECT_EQ(part, nullptr) << c.start << "," << c.count;
      continue;
    }
    ASSERT_NE(part, nullptr) << c.start << "," << c.count;
    ASSERT_NE(part->data, nullptr);
    EXPECT_EQ(BytesOf(*part), c.expected);
  }
  EXPECT_EQ(BytesOf(text), "abcdef");
}

TEST(CString, MidOfAStringWithoutDataIsNull) {
  CString text;
  EXPECT_EQ(text.Mid(0, 0), nullptr);
  CString empty;
  empty.Assign("");
  EXPECT_EQ(empty.Mid(0, 0), nullptr);
}

TEST(CString, ByteAssign) {
  struct Case {
    const char* bytes;
    int32_t count;
    std::string expected;
  };
  const Case cases[] = {
      {"abcdef", -1, "abcdef"}, {"abcdef", 3, "abc"}, {"abcdef", 0, ""},
      {"abcdef", -7, ""},       {"", -1, ""},         {nullptr, 5, "<none>"},
      {"a\0b", 3, std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    CString text;
    text.Assign("previous");
    text.Assign(c.bytes, c.count);
    EXPECT_EQ(BytesOf(text), c.expected);
    if (text.data != nullptr) {
      EXPECT_EQ(text.data[text.length], 0);
      EXPECT_GT(text.capacity, text.length);
    } else {
      EXPECT_EQ(text.capacity, 0);
      EXPECT_EQ(text.length, 0);
    }
  }
}

TEST(CString, ByteAssignReusesABufferThatIsLargeEnough) {
  CString text;
  text.Assign("a long enough text");
  char* buffer = text.data;
  text.Assign("short");
  EXPECT_EQ(text.data, buffer);
  EXPECT_EQ(BytesOf(text), "short");
}

TEST(CString, WideAssign) {
  struct Case {
    const wchar_t* text;
    int32_t count;
    std::string expected;
  };
  const Case cases[] = {
      {L"Tone", -1, "Tone"},
      {L"Tone", 2, "To"},
      {L"Tone", 0, "<none>"},
      {L"", -1, "<none>"},
      {nullptr, -1, "<none>"},
      {L"Tone", -3, "<none>"},
      {kJapaneseWide, -1, kJapaneseUtf8},
      {kJapaneseWide, 2, "\xE3\x83\x88\xE3\x83\xBC"},
      {L"\u0416\u0443\u043A", -1, "\xD0\x96\xD1\x83\xD0\xBA"},  // Cyrillic
  };
  for (const Case& c : cases) {
    CString text;
    text.Assign("previous");
    text.Assign(c.text, c.count);
    EXPECT_EQ(BytesOf(text), c.expected);
  }
}

TEST(CString, WideConstruction) {
  CString none(nullptr);
  EXPECT_EQ(none.data, nullptr);
  CString empty(L"");
  EXPECT_EQ(empty.data, nullptr);
  CString japanese(kJapaneseWide);
  EXPECT_EQ(BytesOf(japanese), kJapaneseUtf8);
}

TEST(CString, UnrepresentableWideTextIsSubstitutedLikeTheConverter) {
  // A lone surrogate has no UTF-8 form; it becomes U+FFFD.
  const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
  CString text(lone);
  EXPECT_EQ(BytesOf(text), "a\xEF\xBF\xBD" "b");
}

TEST(CString, AssignFromAnotherString) {
  CString source;
  source.Assign("ring.ton");
  CString copy;
  copy.Assign(source);
  EXPECT_EQ(BytesOf(copy), "ring.ton");
  EXPECT_NE(copy.data, source.data);

  CString without_data;
  copy.Assign(without_data);
  EXPECT_EQ(copy.data, nullptr);

  CString allocated_empty;
  allocated_empty.Assign("");
  copy.Assign(allocated_empty);
  EXPECT_EQ(BytesOf(copy), "");

  source.Assign(source);
  EXPECT_EQ(BytesOf(source), "ring.ton");
}

TEST(CString, AssignNullptrClears) {
  CString text;
  text.Assign("x");
  text.GetWide();
  text.Assign(nullptr);
  EXPECT_EQ(text.data, nullptr);
  EXPECT_EQ(text.wide, nullptr);
  EXPECT_EQ(text.capacity, 0);
}

TEST(CString, GetWideRoundTrips) {
  CString text;
  text.Assign(kJapaneseUtf8);
  const wchar_t* wide = text.GetWide();
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::wstring(wide), kJapaneseWide);
  EXPECT_EQ(text.wide, wide);

  // The wide form follows the text at the next GetWide.
  text.Assign("Tone");
  EXPECT_EQ(std::wstring(text.GetWide()), L"Tone");

  // Assigning a string its own wide form.
  text.Assign(text.GetWide());
  EXPECT_EQ(BytesOf(text), "Tone");

  text.Assign("");
  EXPECT_EQ(text.GetWide(), nullptr);
  EXPECT_EQ(text.wide, nullptr);
}

TEST(CString, ReserveGrowsAndKeepsTheText) {
  CString text;
  text.Assign("ab");
  int32_t old_capacity = text.capacity;
  ASSERT_TRUE(text.Reserve(10));
  EXPECT_EQ(text.capacity, 10 + old_capacity + 1);
  EXPECT_EQ(BytesOf(text), "ab");
  EXPECT_EQ(text.data[2], 0);

  CString empty;
  ASSERT_TRUE(empty.Reserve(0));
  EXPECT_EQ(empty.capacity, 1);
  EXPECT_EQ(empty.data[0], 0);
}

TEST(CString, ReserveRefusesSizesThatDoNotFit) {
  CString text;
  text.Assign("abc");
  char* buffer = text.data;
  int32_t capacity = text.capacity;
  // needed + capacity + 1 would wrap around in 32 bits.
  EXPECT_FALSE(text.Reserve(INT32_MAX));
  EXPECT_FALSE(text.Reserve(INT32_MAX - capacity));
  EXPECT_FALSE(text.Reserve(-1));
  EXPECT_FALSE(text.Reserve(INT32_MIN));
  EXPECT_EQ(text.data, buffer);
  EXPECT_EQ(text.capacity, capacity);
  EXPECT_EQ(BytesOf(text), "abc");
  // A byte Assign that cannot grow keeps the old text.
  text.Assign("abcdef", INT32_MAX);
  EXPECT_EQ(BytesOf(text), "abc");
}

TEST(CString, ClearFreesEverything) {
  CString text;
  text.Assign(kJapaneseUtf8);
  text.GetWide();
  text.Clear();
  EXPECT_EQ(text.data, nullptr);
  EXPECT_EQ(text.wide, nullptr);
  EXPECT_EQ(text.capacity, 0);
  EXPECT_EQ(text.length, 0);
}

TEST(CString, DeletingThroughTheRootIsSafe) {
  CObject* object = new CString(L"x");
  delete object;
}

}  // namespace
