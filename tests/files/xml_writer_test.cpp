// The writer: the exact bytes of the layout, escaping, and what reads back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/xml_document.h"

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" ?>\r\n";

// Owns a tree for one test.
struct Tree {
  explicit Tree(XmlNode* node) : first(node) {}
  ~Tree() { FreeTree(first); }
  XmlNode* first;
};

std::string Write(XmlNode* first) {
  CXml xml;
  std::unique_ptr<char[]> text(xml.WriteDocument(first));
  return text == nullptr ? "<null>" : std::string(text.get());
}

XmlNode* Element(const wchar_t* name, const wchar_t* text, XmlNode* child = nullptr) {
  XmlNode* node = CreateElement(name, text);
  AppendChild(node, child);
  return node;
}

void AddAttribute(XmlNode* node, const wchar_t* name, const wchar_t* value) {
  XmlAttribute* attribute = new XmlAttribute;
  if (name != nullptr) attribute->name = new CString(name);
  if (value != nullptr) attribute->value = new CString(value);
  XmlAttribute** link = &node->attributes;
  while (*link != nullptr) link = &(*link)->next;
  *link = attribute;
}

TEST(XmlWriterLayout, ElementsTextAndEscapes) {
  const struct {
    const wchar_t* name;
    const wchar_t* text;
    const char* expected;  // after the declaration
  } cases[] = {
      {L"a", L"x<y", "<a>x&lt;y</a>\r\n"},
      {L"a", nullptr, "<a/>\r\n"},
      {L"a", L"", "<a></a>\r\n"},
      {L"a", L"<>&\"'", "<a>&lt;&gt;&amp;&quot;&apos;</a>\r\n"},
      {L"a", L"a  b", "<a>a  b</a>\r\n"},
      {L"a", L"-15", "<a>-15</a>\r\n"},
      {L"名前", L"トーン", "<名前>トーン</名前>\r\n"},
  };
  for (const auto& test : cases) {
    Tree tree(CreateElement(test.name, test.text));
    EXPECT_EQ(Write(tree.first), kDeclaration + test.expected);
  }
}

TEST(XmlWriterLayout, ChildrenSiblingsAndAttributes) {
  Tree tree(Element(L"r", nullptr, Element(L"a", L"1")));
  AppendChild(tree.first, Element(L"b", nullptr, Element(L"c", nullptr)));
  tree.first->next = CreateElement(L"s", L"2");
  EXPECT_EQ(Write(tree.first), kDeclaration + "<r><a>1</a>\r\n<b><c/>\r\n</b>\r\n</r>\r\n<s>2</s>\r\n");

  Tree with_attributes(CreateElement(L"a", nullptr));
  AddAttribute(with_attributes.first, L"k", L"v<");
  AddAttribute(with_attributes.first, nullptr, L"skipped");
  AddAttribute(with_attributes.first, L"empty", nullptr);
  EXPECT_EQ(Write(with_attributes.first), kDeclaration + "<a k=\"v&lt;\" empty=\"\" />\r\n");
  with_attributes.first->text = new CString(L"t");
  EXPECT_EQ(Write(with_attributes.first), kDeclaration + "<a k=\"v&lt;\" empty=\"\" >t</a>\r\n");
}

TEST(XmlWriterLayout, DeclarationNamesOnlyTheEncodingTheBytesAreIn) {
  const struct {
    const wchar_t* encoding;
    const char* declaration;
  } cases[] = {
      {L"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"},
      {L"utf-8", "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"},
      {L"Shift_JIS", "<?xml version=\"1.0\" ?>\r\n"},
      {L"euc", "<?xml version=\"1.0\" ?>\r\n"},
  };
  for (const auto& test : cases) {
    Tree tree(CreateElement(L"a", nullptr));
    tree.first->encoding = new CString(test.encoding);
    EXPECT_EQ(Write(tree.first), std::string(test.declaration) + "<a/>\r\n");
  }
}

TEST(XmlWriterRoundTrip, WhatIsWrittenReadsBackTheSame) {
  const wchar_t* texts[] = {
      L"plain", L"x<y>z", L"&amp; stays &amp;", L"\"quoted\" 'single'", L"トーン設定",
      L"emoji \U0001F600 and more", L"a b", L"-2147483648",
  };
  for (const wchar_t* text : texts) {
    Tree tree(Element(L"r", nullptr, CreateElement(L"v", text)));
    AddAttribute(tree.first, L"k", text);
    std::string written = Write(tree.first);
    CXml xml;
    Tree parsed(xml.ParseDocument(written.data(), static_cast<int32_t>(written.size())));
    ASSERT_NE(parsed.first, nullptr) << written;
    ASSERT_NE(parsed.first->child, nullptr);
    CString expected(text);
    EXPECT_STREQ(parsed.first->child->text->data, expected.data) << written;
    EXPECT_STREQ(parsed.first->attributes->value->data, expected.data) << written;
    EXPECT_EQ(Write(parsed.first), written);
  }
}

// The writer refuses what the reader could not read back.
TEST(XmlWriterDepth, TreesDeeperThanTheReaderAcceptsAreRefused) {
  for (int depth : {kXmlMaxDepth, kXmlMaxDepth + 1, 100000}) {
    Tree tree(CreateElement(L"a", nullptr));
    XmlNode* deepest = tree.first;
    for (int i = 1; i < depth; ++i) {
      XmlNode* child = CreateElement(L"a", nullptr);
      deepest->child = child;
      deepest = child;
    }
    std::string written = Write(tree.first);
    if (depth <= kXmlMaxDepth) {
      EXPECT_EQ(written.size(), kDeclaration.size() + (depth - 1) * std::string("<a></a>\r\n").size() + 6);
    } else {
      EXPECT_EQ(written, "<null>") << depth;
    }
  }
}

TEST(XmlWriterBuffer, GrowsBy256BeyondEachNeed) {
  CXmlString output;
  output.Append("12345", 5);
  EXPECT_EQ(output.capacity, 262);
  EXPECT_EQ(output.length, 5);
  output.Append(std::string(255, 'x').c_str(), 255);
  EXPECT_EQ(output.capacity, 262);
  output.Append("y", 1);
  EXPECT_EQ(output.capacity, 518);
  EXPECT_EQ(output.length, 261);
  EXPECT_EQ(output.buffer[261], '\0');
  EXPECT_EQ(std::string(output.buffer).substr(0, 6), "12345x");
  EXPECT_FALSE(output.failed);
}

}  // namespace
