// The XML reader: a recursive descent over the whole file image. Every loop
// checks that the position moved, so no input can make it spin, and the
// element depth is capped, so no input can exhaust the stack.
#include <cstring>
#include <memory>
#include <new>

#include "debug/debug_output.h"
#include "files/code_page.h"
#include "files/xml_document.h"

namespace {

bool IsBlank(char byte) { return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r'; }

bool IsNameDelimiter(char byte) {
  switch (byte) {
    case '\0': case '\t': case '\n': case '\r': case ' ': case '"':
    case '&': case '\'': case '/': case '<': case '=': case '>':
      return true;
    default:
      return false;
  }
}

bool AtEnd(const XmlCursor* cursor) { return cursor->pos >= cursor->size; }

void SkipBlanks(XmlCursor* cursor) {
  while (!AtEnd(cursor) && IsBlank(cursor->data[cursor->pos])) ++cursor->pos;
}

// True when the bytes at the position are literal (of count bytes).
bool StandsAt(const XmlCursor* cursor, const char* literal, int32_t count) {
  if (cursor->size - cursor->pos < count) return false;
  return std::memcmp(cursor->data + cursor->pos, literal, static_cast<size_t>(count)) == 0;
}

void ReportParseError(const XmlCursor* cursor) {
  DebugPrint(L"XML parse error (%d)\n", cursor->pos);
}

// "<!--" with at least one more byte after it.
bool CommentStartsHere(const XmlCursor* cursor) {
  return cursor->size - cursor->pos > 4 && StandsAt(cursor, "<!--", 4);
}

// Moves past the comment's "-->", or to the end of the data when it has none.
void SkipComment(XmlCursor* cursor) {
  cursor->pos += 4;
  while (!AtEnd(cursor)) {
    if (cursor->data[cursor->pos] == '-' && StandsAt(cursor, "-->", 3)) {
      cursor->pos += 3;
      return;
    }
    ++cursor->pos;
  }
}

// A new string holding count document bytes decoded from code_page; null when
// memory runs out.
CString* NewDecodedString(const char* bytes, int32_t count, int32_t code_page) {
  std::unique_ptr<wchar_t[]> wide(ToWide(bytes, count, static_cast<unsigned>(code_page)));
  if (wide == nullptr) return nullptr;
  return new (std::nothrow) CString(wide.get());
}

bool EqualsIgnoringAsciiCase(const CString* text, const char* literal) {
  if (text == nullptr || text->data == nullptr) return false;
  size_t length = std::strlen(literal);
  if (static_cast<size_t>(text->length) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    char a = text->data[i];
    char b = literal[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

bool NameIs(const CString* name, const char* literal) {
  return name != nullptr && name->data != nullptr && std::strcmp(name->data, literal) == 0;
}

struct Entity {
  const char* text;
  int32_t length;
  char replacement;
};

constexpr Entity kEntities[] = {
    {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&amp;", 5, '&'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''},
};

}  // namespace

CXml::~CXml() = default;

XmlNode* CXml::ParseDocument(const char* data, int32_t size) {
  code_page = kCodePageUtf8;
  if (data == nullptr || size <= 0) return nullptr;
  XmlCursor cursor;
  cursor.data = data;
  cursor.size = size;
  cursor.pos = 0;
  CString* encoding = nullptr;
  if (!ParseDeclaration(&cursor, &encoding)) return nullptr;
  XmlNode* first = ParseElement(&cursor);
  if (first == nullptr) {
    delete encoding;
    return nullptr;
  }
  first->encoding = encoding;
  XmlNode* last = first;
  while (XmlNode* next = ParseElement(&cursor)) {
    last->next = next;
    last = next;
  }
  return first;
}

bool CXml::ParseDeclaration(XmlCursor* cursor, CString** encoding) {
  *encoding = nullptr;
  SkipBlanks(cursor);
  if (!StandsAt(cursor, "<?xml", 5)) return false;
  cursor->pos += 5;
  if (AtEnd(cursor) || !IsBlank(cursor->data[cursor->pos])) return false;
  std::unique_ptr<CString> found;
  int32_t previous = -1;
  for (;;) {
    if (cursor->pos == previous) {
      ReportParseError(cursor);
      return false;
    }
    previous = cursor->pos;
    SkipBlanks(cursor);
    if (AtEnd(cursor)) return false;
    if (StandsAt(cursor, "?>", 2)) {
      cursor->pos += 2;
      *encoding = found.release();
      return true;
    }
    XmlAttribute* attribute = ParseAttribute(cursor);
    if (attribute == nullptr) return false;
    if (NameIs(attribute->name, "encoding")) {
      code_page = kCodePageUtf8;
      if (EqualsIgnoringAsciiCase(attribute->value, "shift_jis")) code_page = kCodePageShiftJis;
      found.reset(attribute->value);
      attribute->value = nullptr;
    }
    FreeAttributes(attribute);
    if (AtEnd(cursor)) return false;
  }
}

XmlNode* CXml::ParseElement(XmlCursor* cursor, int32_t depth) {
  XmlNode* node = new (std::nothrow) XmlNode;
  if (node == nullptr) return nullptr;

  // Blanks and comments before the start tag.
  int32_t previous = -1;
  for (;;) {
    if (AtEnd(cursor)) {
      FreeTree(node);
      return nullptr;
    }
    if (cursor->pos == previous) {
      ReportParseError(cursor);
      FreeTree(node);
      return nullptr;
    }
    previous = cursor->pos;
    SkipBlanks(cursor);
    if (AtEnd(cursor) || cursor->data[cursor->pos] != '<') {
      FreeTree(node);
      return nullptr;
    }
    if (!CommentStartsHere(cursor)) break;
    SkipComment(cursor);
  }

  ++cursor->pos;
  const int32_t name_start = cursor->pos;
  node->name = ParseName(cursor);
  if (node->name == nullptr) {
    FreeTree(node);
    return nullptr;
  }
  const int32_t name_length = cursor->pos - name_start;
  // ParseName stops on a delimiter, so a byte follows the name.
  const char after_name = cursor->data[cursor->pos];
  if (!IsBlank(after_name) && after_name != '/' && after_name != '>') {
    FreeTree(node);
    return nullptr;
  }

  // Attributes up to ">" (content follows) or "/>" (the element is complete).
  XmlAttribute** attribute_link = &node->attributes;
  for (;;) {
    const int32_t start = cursor->pos;
    SkipBlanks(cursor);
    if (StandsAt(cursor, "/>", 2)) {
      cursor->pos += 2;
      return node;
    }
    if (StandsAt(cursor, ">", 1)) {
      cursor->pos += 1;
      break;
    }
    XmlAttribute* attribute = ParseAttribute(cursor);
    if (attribute == nullptr) {
      FreeTree(node);
      return nullptr;
    }
    *attribute_link = attribute;
    attribute_link = &attribute->next;
    if (AtEnd(cursor)) break;
    if (cursor->pos == start) {
      ReportParseError(cursor);
      break;
    }
  }

  // Content: text runs, comments, child elements, up to the matching end tag.
  XmlNode** child_link = &node->child;
  while (!AtEnd(cursor)) {
    const int32_t start = cursor->pos;
    SkipBlanks(cursor);
    if (AtEnd(cursor)) return node;
    if (CommentStartsHere(cursor)) {
      SkipComment(cursor);
      continue;
    }
    if (cursor->data[cursor->pos] != '<') {
      delete node->text;
      node->text = ParseValue(cursor, 0);
    } else if (StandsAt(cursor, "</", 2)) {
      cursor->pos += 2;
      if (cursor->size - cursor->pos < name_length ||
          std::memcmp(cursor->data + cursor->pos, cursor->data + name_start,
                      static_cast<size_t>(name_length)) != 0) {
        // A mismatched end tag ends the whole parse; this element is lost.
        FreeTree(node);
        cursor->pos = cursor->size;
        return nullptr;
      }
      cursor->pos += name_length;
      SkipBlanks(cursor);
      if (StandsAt(cursor, ">", 1)) {
        cursor->pos += 1;
        return node;
      }
    } else if (depth >= kXmlMaxDepth) {
      // Too deep to follow safely: keep what was read and end the parse here.
      ReportParseError(cursor);
      cursor->pos = cursor->size;
      return node;
    } else {
      XmlNode* child = ParseElement(cursor, depth + 1);
      if (child != nullptr) {
        *child_link = child;
        child_link = &child->next;
      }
    }
    if (AtEnd(cursor)) return node;
    if (cursor->pos == start) {
      ReportParseError(cursor);
      return node;
    }
  }
  return node;
}

XmlAttribute* CXml::ParseAttribute(XmlCursor* cursor) {
  SkipBlanks(cursor);
  std::unique_ptr<CString> name(ParseName(cursor));
  if (name == nullptr) return nullptr;
  SkipBlanks(cursor);
  if (!StandsAt(cursor, "=", 1)) return nullptr;
  ++cursor->pos;
  SkipBlanks(cursor);
  if (AtEnd(cursor)) return nullptr;
  const char quote = cursor->data[cursor->pos];
  if (quote != '\'' && quote != '"') return nullptr;
  ++cursor->pos;
  std::unique_ptr<CString> value(ParseValue(cursor, quote));
  XmlAttribute* attribute = new (std::nothrow) XmlAttribute;
  if (attribute == nullptr) return nullptr;
  attribute->name = name.release();
  attribute->value = value.release();
  return attribute;
}

CString* CXml::ParseName(XmlCursor* cursor) {
  int32_t end = cursor->pos;
  while (end < cursor->size && !IsNameDelimiter(cursor->data[end])) ++end;
  if (end >= cursor->size || end == cursor->pos) return nullptr;
  CString* name = NewDecodedString(cursor->data + cursor->pos, end - cursor->pos, code_page);
  if (name == nullptr) return nullptr;
  cursor->pos = end;
  return name;
}

CString* CXml::ParseValue(XmlCursor* cursor, char quote) {
  int32_t stop = cursor->pos;
  while (stop < cursor->size) {
    const char byte = cursor->data[stop];
    if (byte == '<' || byte == '>' || (quote != 0 && byte == quote)) break;
    ++stop;
  }
  if (stop == cursor->pos) return nullptr;
  // Entities and folded blanks only shrink the text, so the measured length bounds it.
  std::unique_ptr<char[]> out(new (std::nothrow) char[static_cast<size_t>(stop - cursor->pos) + 1]);
  if (out == nullptr) return nullptr;
  int32_t length = 0;
  bool folded = false;
  for (;;) {
    if (AtEnd(cursor)) return nullptr;
    const char byte = cursor->data[cursor->pos];
    if (quote != 0 && byte == quote) {
      ++cursor->pos;
      break;
    }
    if (byte == '<') {
      if (quote != 0) return nullptr;
      break;
    }
    if (byte == '>') return nullptr;
    if (byte == '&') {
      char replacement = '&';
      int32_t consumed = 1;
      for (const Entity& entity : kEntities) {
        if (StandsAt(cursor, entity.text, entity.length)) {
          replacement = entity.replacement;
          consumed = entity.length;
          break;
        }
      }
      out[length++] = replacement;
      cursor->pos += consumed;
      folded = false;
      continue;
    }
    if (IsBlank(byte)) {
      if (!folded) {
        if (length > 0) out[length++] = ' ';
        folded = true;
      }
      ++cursor->pos;
      continue;
    }
    out[length++] = byte;
    folded = false;
    ++cursor->pos;
  }
  if (folded && length > 0) --length;
  out[length] = '\0';
  return NewDecodedString(out.get(), length + 1, code_page);
}
