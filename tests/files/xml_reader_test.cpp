// The reader: what a document turns into, byte for byte, including the damaged ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/xml_document.h"
#include "tests/common/debug_capture.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::DebugCapture;

// 24 bytes: the body of every document below starts at offset 24.
const std::string kDeclaration = "<?xml version=\"1.0\" ?>\r\n";

std::string Bytes(const CString* text) {
  if (text == nullptr) return "<null>";
  if (text->data == nullptr) return "";
  return std::string(text->data, static_cast<size_t>(text->length));
}

std::wstring Wide(CString* text) {
  const wchar_t* wide = text != nullptr ? text->GetWide() : nullptr;
  return wide != nullptr ? wide : L"<null>";
}

// A compact picture of a chain: name, [attributes], ="text", (children), siblings after commas.
std::string Describe(const XmlNode* first) {
  std::string out;
  for (const XmlNode* node = first; node != nullptr; node = node->next) {
    if (node != first) out += ",";
    out += Bytes(node->name);
    if (node->attributes != nullptr) {
      out += "[";
      for (const XmlAttribute* a = node->attributes; a != nullptr; a = a->next) {
        if (a != node->attributes) out += ",";
        out += Bytes(a->name) + "=" + Bytes(a->value);
      }
      out += "]";
    }
    if (node->text != nullptr) out += "=\"" + Bytes(node->text) + "\"";
    if (node->child != nullptr) out += "(" + Describe(node->child) + ")";
  }
  return out;
}

// Parses bytes in memory and owns the result.
struct Parsed {
  explicit Parsed(const std::string& bytes)
      : first(xml.ParseDocument(bytes.data(), static_cast<int32_t>(bytes.size()))) {}
  ~Parsed() { FreeTree(first); }
  CXml xml;
  XmlNode* first;
};

struct DocumentCase {
  const char* body;         // after the declaration
  const char* expected;     // Describe() of the chain, "<none>" when parsing fails
  std::vector<std::string> lines;  // debug output, exactly
};

void ExpectDocument(const DocumentCase& test) {
  DebugCapture capture;
  Parsed parsed(kDeclaration + test.body);
  std::string picture = parsed.first == nullptr ? "<none>" : Describe(parsed.first);
  EXPECT_EQ(picture, test.expected) << test.body;
  EXPECT_EQ(capture.Lines(), test.lines) << test.body;
}

TEST(XmlReaderText, BlanksFoldEntitiesDecodeAndAmpersandsStay) {
  const DocumentCase cases[] = {
      {"<a> a  b </a>", "a=\"a b\"", {}},
      {"<a>\t\r\n a \t\r\n b\r\n</a>", "a=\"a b\"", {}},
      {"<a>x&amp;lt;y</a>", "a=\"x&lt;y\"", {}},
      {"<a>a&b</a>", "a=\"a&b\"", {}},
      {"<a>&lt;&gt;&amp;&quot;&apos;</a>", "a=\"<>&\"'\"", {}},
      {"<a>&#65;&#x41;</a>", "a=\"&#65;&#x41;\"", {}},
      {"<a>&lt</a>", "a=\"&lt\"", {}},
      {"<a>&</a>", "a=\"&\"", {}},
      {"<a>1 &amp; 2</a>", "a=\"1 & 2\"", {}},
      {"<a>  </a>", "a", {}},
      {"<a></a>", "a", {}},
  };
  for (const DocumentCase& test : cases) ExpectDocument(test);
}

TEST(XmlReaderStructure, SiblingsCommentsAndTextRuns) {
  const DocumentCase cases[] = {
      {"<a>1</a><b>2</b>", "a=\"1\",b=\"2\"", {}},
      {"<a>1</a>\r\n\r\n<b/>\r\n<c></c>\r\n", "a=\"1\",b,c", {}},
      {"<!--top--><a>1<!--before the end tag--></a><!--between--><b/><!--last-->",
       "a=\"1\",b", {}},
      {"<a> <!-- c --> x </a>", "a=\"x\"", {}},
      {"<a><!-- <b>hidden</b> -->shown</a>", "a=\"shown\"", {}},
      {"<a>1<b/>2</a>", "a=\"2\"(b)", {}},
      {"<a>1<b/></a>", "a=\"1\"(b)", {}},
      {"<r><a>1</a><b><c>2</c></b></r>", "r(a=\"1\",b(c=\"2\"))", {}},
      {"<a>1</a >", "a=\"1\"", {}},
      {"<a k='v' j=\"w\">t</a>", "a[k=v,j=w]=\"t\"", {}},
      {"<a k = \"v\" />", "a[k=v]", {}},
      {"<a k=\"&lt;&amp;\"/>", "a[k=<&]", {}},
      {"<a k=\"x\ty\"/>", "a[k=x y]", {}},
      {"<a/>", "a", {}},
      {"<a />", "a", {}},
      {"<a\r\n/>", "a", {}},
  };
  for (const DocumentCase& test : cases) ExpectDocument(test);
}

// Damaged documents keep what came before the damage.
TEST(XmlReaderDamage, EveryFailureKeepsWhatWasRead) {
  const DocumentCase cases[] = {
      // ">" in text loses the run; each enclosing element stops at the same byte.
      {"<a>x>y</a><b/>", "a", {"XML parse error (28)\n"}},
      {"<r><a>x>y</a></r>", "r(a)", {"XML parse error (31)\n", "XML parse error (31)\n"}},
      {"<a>></a>", "a", {"XML parse error (27)\n"}},
      // A mismatched end tag drops its element and ends the parse.
      {"<a><b>1</c></a>", "a", {}},
      {"<a>1</a><b>2</c><d/>", "a=\"1\"", {}},
      {"<a>1</b>", "<none>", {}},
      // The end tag's name is compared over the element's own name only.
      {"<a></ab>", "a", {"XML parse error (31)\n"}},
      // Malformed attributes drop the element.
      {"<ok/><a x=\"1<2\">t</a>", "ok", {}},
      {"<ok/><a x=\"\">t</a>", "ok", {}},
      {"<ok/><a b>t</a>", "ok", {}},
      {"<ok/><a x=1>t</a>", "ok", {}},
      {"<a x=\"1>", "a[x=<null>]", {}},
      {"<a x=\"1\"", "a[x=1]", {}},
      // Malformed start tags.
      {"<a/x>", "<none>", {}},
      {"<a\"x>", "<none>", {}},
      {"<a=x>", "<none>", {}},
      {"</a>", "<none>", {}},
      {"<>", "<none>", {}},
      {"text", "<none>", {}},
      {"", "<none>", {}},
      {"<a", "<none>", {}},
      // Unterminated elements come back with what was read; a text run cut by the end is lost.
      {"<a><b>text", "a(b)", {}},
      {"<a>1<b/>", "a=\"1\"(b)", {}},
      {"<a>1</a", "a=\"1\"", {}},
      {"<a><!--", "a", {}},
      {"<a><!-- unterminated", "a", {}},
      {"<a>", "a", {}},
      // Anything but an element after the first ends the top level.
      {"<a/>junk<b/>", "a", {}},
      {"<a/><!DOCTYPE x><b/>", "a", {}},
  };
  for (const DocumentCase& test : cases) ExpectDocument(test);
}

TEST(XmlReaderDeclaration, OnlyAWellFormedDeclarationOpensADocument) {
  const struct {
    const char* bytes;
    bool parses;
  } cases[] = {
      {"<?xml version=\"1.0\" ?><a/>", true},
      {"\r\n\r\n \t<?xml version=\"1.0\" ?>\r\n<a/>", true},
      {"<?xml ?><a/>", true},
      {"<?xml version='1.0'?><a/>", true},
      {"<?xml\r\nversion=\"1.0\"\r\n?><a/>", true},
      {"\xEF\xBB\xBF<?xml version=\"1.0\" ?><a/>", false},
      {"<?xml?><a/>", false},
      {"<?xml", false},
      {"<?xml ", false},
      {"<?xml version=\"1.0\"", false},
      {"<?xml version=\"1.0\" ", false},
      {"<?xml version=1.0 ?><a/>", false},
      {"<?xml version ?><a/>", false},
      {"<?xml version=\"\" ?><a/>", false},
      {"<?XML version=\"1.0\" ?><a/>", false},
      {"<a/>", false},
      {"<?xml version=\"1.0\" ?>", false},
      {"<?xml version=\"1.0\" ?>\r\n   ", false},
      {"<?xml version=\"1.0\" ?>text", false},
      {"", false},
  };
  for (const auto& test : cases) {
    DebugCapture capture;
    Parsed parsed(test.bytes);
    EXPECT_EQ(parsed.first != nullptr, test.parses) << test.bytes;
    EXPECT_TRUE(capture.Lines().empty()) << test.bytes;
  }
}

TEST(XmlReaderDeclaration, EncodingChoosesTheCodePageAndIsKeptOnTheFirstElement) {
  // "トーン" in UTF-8 and in Shift_JIS; element names may be Japanese too ("設定").
  const std::string utf8 = "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3";
  const std::string sjis = "\x83\x67\x81\x5B\x83\x93";
  const std::string sjis_name = "\x90\xDD\x92\xE8";
  const struct {
    std::string declaration;
    std::string body;
    int32_t code_page;
    const char* encoding;
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>", "<" + sjis_name + ">" + sjis + "</" + sjis_name + ">", 932, "Shift_JIS"},
      {"<?xml version=\"1.0\" encoding=\"SHIFT_JIS\" ?>", "<" + sjis_name + ">" + sjis + "</" + sjis_name + ">", 932, "SHIFT_JIS"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>", "<設定>" + utf8 + "</設定>", 65001, "UTF-8"},
      {"<?xml version=\"1.0\" encoding=\"utf-8\" ?>", "<設定>" + utf8 + "</設定>", 65001, "utf-8"},
      {"<?xml version=\"1.0\" encoding=\"euc\" ?>", "<設定>" + utf8 + "</設定>", 65001, "euc"},
      {"<?xml version=\"1.0\" encoding=\"latin1\" ?>", "<設定>" + utf8 + "</設定>", 65001, "latin1"},
      {"<?xml version=\"1.0\" ?>", "<設定>" + utf8 + "</設定>", 65001, "<null>"},
      // A later encoding replaces an earlier one.
      {"<?xml encoding=\"Shift_JIS\" encoding=\"utf-8\" ?>", "<設定>" + utf8 + "</設定>", 65001, "utf-8"},
  };
  for (const auto& test : cases) {
    Parsed parsed(test.declaration + test.body + "<second/>");
    ASSERT_NE(parsed.first, nullptr) << test.declaration;
    EXPECT_EQ(parsed.xml.code_page, test.code_page) << test.declaration;
    EXPECT_EQ(Bytes(parsed.first->encoding), test.encoding);
    EXPECT_EQ(Wide(parsed.first->name), L"設定") << test.declaration;
    EXPECT_EQ(Bytes(parsed.first->text), utf8) << test.declaration;
    ASSERT_NE(parsed.first->next, nullptr);
    EXPECT_EQ(parsed.first->next->encoding, nullptr);
  }
}

TEST(XmlReaderDeclaration, ShiftJisBytesAreNotDecodedUnderUtf8) {
  Parsed parsed(kDeclaration + "<a>\x83\x67</a>");
  ASSERT_NE(parsed.first, nullptr);
  EXPECT_NE(Bytes(parsed.first->text), "\xE3\x83\x88");
}

// The element depth is capped so that no file can exhaust the stack.
TEST(XmlReaderDepth, HundredThousandNestedElementsStopAtTheCap) {
  std::string body;
  const int levels = 100000;
  body.reserve(levels * 7);
  for (int i = 0; i < levels; ++i) body += "<a>";
  body += "deep";
  for (int i = 0; i < levels; ++i) body += "</a>";
  body += "<after/>";
  DebugCapture capture;
  Parsed parsed(kDeclaration + body);
  ASSERT_NE(parsed.first, nullptr);
  int depth = 0;
  for (const XmlNode* node = parsed.first; node != nullptr; node = node->child) ++depth;
  EXPECT_EQ(depth, kXmlMaxDepth);
  EXPECT_EQ(parsed.first->next, nullptr);
  const int offset = static_cast<int>(kDeclaration.size()) + kXmlMaxDepth * 3;
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"XML parse error (" + std::to_string(offset) + ")\n"});
}

TEST(XmlReaderDepth, ElementsAtTheCapAreRead) {
  std::string body;
  for (int i = 0; i < kXmlMaxDepth; ++i) body += "<a>";
  body += "deep";
  for (int i = 0; i < kXmlMaxDepth; ++i) body += "</a>";
  body += "<after/>";
  DebugCapture capture;
  Parsed parsed(kDeclaration + body);
  ASSERT_NE(parsed.first, nullptr);
  const XmlNode* node = parsed.first;
  while (node->child != nullptr) node = node->child;
  EXPECT_EQ(Bytes(node->text), "deep");
  ASSERT_NE(parsed.first->next, nullptr);
  EXPECT_EQ(Bytes(parsed.first->next->name), "after");
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(XmlReaderParts, NameAndValueLeaveTheCursorWhereTheyStop) {
  CXml xml;
  const struct {
    const char* bytes;
    const char* name;  // "<null>" when there is none
    int32_t pos;
  } names[] = {
      {"abc>", "abc", 3}, {"a b", "a", 1}, {"a=", "a", 1}, {"a/", "a", 1},
      {"abc", "<null>", 0}, {">", "<null>", 0}, {"", "<null>", 0},
  };
  for (const auto& test : names) {
    XmlCursor cursor;
    cursor.data = test.bytes;
    cursor.size = static_cast<int32_t>(std::string(test.bytes).size());
    CString* name = xml.ParseName(&cursor);
    EXPECT_EQ(Bytes(name), test.name) << test.bytes;
    EXPECT_EQ(cursor.pos, test.pos) << test.bytes;
    delete name;
  }
  const struct {
    const char* bytes;
    char quote;
    const char* value;
    int32_t pos;
  } values[] = {
      {"ab<", 0, "ab", 2}, {"ab>c<", 0, "<null>", 2}, {"ab", 0, "<null>", 2},
      {"<", 0, "<null>", 0}, {"v\"x", '"', "v", 2}, {"v'x", '\'', "v", 2},
      {"v<\"", '"', "<null>", 1}, {"\"", '"', "<null>", 0}, {"a\"b'", '\'', "a\"b", 4},
  };
  for (const auto& test : values) {
    XmlCursor cursor;
    cursor.data = test.bytes;
    cursor.size = static_cast<int32_t>(std::string(test.bytes).size());
    CString* value = xml.ParseValue(&cursor, test.quote);
    EXPECT_EQ(Bytes(value), test.value) << test.bytes;
    EXPECT_EQ(cursor.pos, test.pos) << test.bytes;
    delete value;
  }
}

// Loading from a file: the consumer sees the chain only when the whole load works.
class XmlLoadTest : public ::testing::Test {
 protected:
  bool Load(const std::string& path, std::string* picture) {
    CString file;
    file.Assign(path.c_str());
    CXml xml;
    int calls = 0;
    bool loaded = xml.LoadDocument(file, [&](XmlNode* first) {
      ++calls;
      *picture = Describe(first);
    });
    EXPECT_EQ(calls, loaded ? 1 : 0);
    return loaded;
  }
  sonaril_test::TempDir dir;
};

TEST_F(XmlLoadTest, ReadsAWholeFile) {
  std::string path = dir.File("doc.xml");
  ASSERT_TRUE(sonaril_test::WriteAll(path, "\r\n" + kDeclaration + "<a>1</a>\r\n<b>2</b>\r\n"));
  std::string picture;
  EXPECT_TRUE(Load(path, &picture));
  EXPECT_EQ(picture, "a=\"1\",b=\"2\"");
}

TEST_F(XmlLoadTest, MissingEmptyFolderOrBrokenFilesFail) {
  std::string picture;
  EXPECT_FALSE(Load(dir.File("missing.xml"), &picture));
  EXPECT_FALSE(Load(dir.path(), &picture));
  EXPECT_FALSE(Load("", &picture));
  ASSERT_TRUE(sonaril_test::WriteAll(dir.File("empty.xml"), ""));
  EXPECT_FALSE(Load(dir.File("empty.xml"), &picture));
  ASSERT_TRUE(sonaril_test::WriteAll(dir.File("bom.xml"), "\xEF\xBB\xBF" + kDeclaration + "<a/>"));
  EXPECT_FALSE(Load(dir.File("bom.xml"), &picture));
  ASSERT_TRUE(sonaril_test::WriteAll(dir.File("bare.xml"), kDeclaration));
  EXPECT_FALSE(Load(dir.File("bare.xml"), &picture));
}

TEST_F(XmlLoadTest, FilesBeyondTheSizeCapAreRefusedBeforeReading) {
  std::string at_cap = kDeclaration + "<a>";
  at_cap.resize(static_cast<size_t>(kXmlMaxFileSize) - 4, ' ');
  at_cap += "</a>";
  ASSERT_TRUE(sonaril_test::WriteAll(dir.File("at_cap.xml"), at_cap));
  std::string picture;
  EXPECT_TRUE(Load(dir.File("at_cap.xml"), &picture));
  EXPECT_EQ(picture, "a");

  DebugCapture capture;
  ASSERT_TRUE(sonaril_test::WriteAll(dir.File("over_cap.xml"), at_cap + " "));
  EXPECT_FALSE(Load(dir.File("over_cap.xml"), &picture));
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"CXml::LoadDocument() file too large\n"});
}

}  // namespace
