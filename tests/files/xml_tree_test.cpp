// Building and reading element trees.
#include <gtest/gtest.h>

#include <climits>

#include "files/xml_tree.h"

namespace {

TEST(XmlTreeGetInt, ReadsOnlyPlainDecimalIntegers) {
  const struct {
    const wchar_t* text;  // null: the node has no text
    int32_t expected;
  } cases[] = {
      {L"-15", -15},       {L"1.5", 77},        {L"+3", 77},      {L"ten", 77},
      {L"-", 0},           {L"0", 0},           {L"007", 7},      {L"  42", 42},
      {L"\t -7", -7},      {L"42 ", 77},        {L"4 2", 77},     {L"--1", 77},
      {L"1e3", 77},        {L"", 77},           {nullptr, 77},    {L"2147483647", INT_MAX},
      {L"-2147483648", INT_MIN},                {L"2147483648", INT_MIN},
      {L"4294967296", 0},  {L"4294967297", 1},  {L"１", 77},
  };
  for (const auto& test : cases) {
    XmlNode* node = CreateElement(L"n", test.text);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(GetInt(node, 77), test.expected) << (test.text ? test.text : L"(null)");
    FreeTree(node);
  }
  EXPECT_EQ(GetInt(nullptr, 77), 77);
}

TEST(XmlTreeFind, FirstMatchByExactName) {
  XmlNode* parent = CreateElement(L"p", nullptr);
  AppendChild(parent, CreateElement(L"tone", L"1"));
  AppendChild(parent, CreateElement(nullptr, L"nameless"));
  AppendChild(parent, CreateElement(L"Tone", L"2"));
  AppendChild(parent, CreateElement(L"tone", L"3"));
  AppendChild(parent, CreateElement(L"トーン", L"4"));
  AppendChild(parent, nullptr);
  XmlNode* orphan = CreateElement(L"x", nullptr);
  AppendChild(nullptr, orphan);
  FreeTree(orphan);

  EXPECT_EQ(GetInt(FindElement(parent->child, L"tone"), 0), 1);
  EXPECT_EQ(GetInt(FindElement(parent->child, L"Tone"), 0), 2);
  EXPECT_EQ(GetInt(FindElement(parent->child, L"トーン"), 0), 4);
  EXPECT_EQ(FindElement(parent->child, L"ton"), nullptr);
  EXPECT_EQ(FindElement(parent->child, L"tones"), nullptr);
  EXPECT_EQ(FindElement(nullptr, L"tone"), nullptr);
  // Children are searched only through the parent's child chain.
  EXPECT_EQ(FindElement(parent, L"tone"), nullptr);
  int count = 0;
  for (XmlNode* node = parent->child; node != nullptr; node = node->next) ++count;
  EXPECT_EQ(count, 5);
  FreeTree(parent);
}

TEST(XmlTreeCreate, NameAndTextAreOptional) {
  XmlNode* bare = CreateElement(nullptr, nullptr);
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->name, nullptr);
  EXPECT_EQ(bare->text, nullptr);
  EXPECT_EQ(bare->child, nullptr);
  EXPECT_EQ(bare->attributes, nullptr);
  FreeTree(bare);
  XmlNode* named = CreateElement(L"a", L"x");
  EXPECT_STREQ(named->name->data, "a");
  EXPECT_STREQ(named->text->data, "x");
  FreeTree(named);
}

// Freeing works without recursion, whatever the shape (the sanitizer build checks for leaks).
TEST(XmlTreeFree, DeepAndWideTreesAreReleased) {
  XmlNode* deep = CreateElement(L"a", L"t");
  XmlNode* node = deep;
  for (int i = 0; i < 100000; ++i) {
    node->child = CreateElement(L"a", nullptr);
    node->next = CreateElement(L"s", nullptr);
    node = node->child;
  }
  FreeTree(deep);
  FreeTree(nullptr);
}

}  // namespace
