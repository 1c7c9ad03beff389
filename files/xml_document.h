// Reading and writing the program's XML dialect: a declaration, then one or more
// top-level elements with attributes, text, comments and the five predefined
// entities. Errors go to the debug output as "XML parse error (%d)\n" with the
// byte offset; callers only see a false result.
#pragma once

#include <cstdint>
#include <functional>

#include "files/string.h"
#include "files/xml_string.h"
#include "files/xml_tree.h"

// The reading position over the bytes of a whole document.
struct XmlCursor {
  const char* data = nullptr;  // not owned; the whole file image
  int32_t size = 0;            // bytes in data
  int32_t pos = 0;             // current offset; error messages report it
};

// Receives the first top-level element (the others follow through next). The
// tree belongs to LoadDocument and is freed when the consumer returns: read it,
// do not keep or free nodes.
using XmlConsumer = std::function<void(XmlNode* first)>;
// Adds the top-level elements to holder with AppendChild. The holder itself is
// never written; the tree is freed by SaveDocument.
using XmlBuilder = std::function<void(XmlNode* holder)>;

// Deeper elements end the parse (what was read so far is kept), so hostile
// nesting cannot exhaust the stack.
constexpr int32_t kXmlMaxDepth = 256;
// Larger files are refused before they are read into memory.
constexpr int32_t kXmlMaxFileSize = 16 * 1024 * 1024;

// One load or one save; holds no tree.
class CXml {
 public:
  CXml() = default;
  virtual ~CXml();
  CXml(const CXml&) = delete;
  CXml& operator=(const CXml&) = delete;

  // Code page of the document bytes: 65001 (UTF-8), or 932 (Shift_JIS) after
  // reading a declaration that names it.
  int32_t code_page = 65001;

  // Reads and parses the whole file and hands the tree to consumer. True when
  // the file was parsed (a declaration and at least one element) and the
  // consumer ran. Missing, empty, unreadable or oversized files give false.
  bool LoadDocument(const CString& path, const XmlConsumer& consumer);
  // Lets builder add the top-level elements and writes them as UTF-8. The
  // previous file is replaced only once the whole new text is on disk (see
  // files/safe_save.h); true exactly when every byte was written.
  bool SaveDocument(const CString& path, const XmlBuilder& builder);

  // Parses a whole document held in memory: the chain of top-level elements,
  // or null when the declaration or the first element is missing. The caller
  // frees the result with FreeTree.
  XmlNode* ParseDocument(const char* data, int32_t size);

  // The steps of ParseDocument, exposed for tests. See xml_reader.cpp.
  // On success *encoding receives the declaration's encoding value (owned by
  // the caller; null when there is none).
  bool ParseDeclaration(XmlCursor* cursor, CString** encoding);
  // A new element with its subtree, or null. depth is 1 for top-level elements.
  XmlNode* ParseElement(XmlCursor* cursor, int32_t depth = 1);
  // A new attribute, not yet linked to any element, or null.
  XmlAttribute* ParseAttribute(XmlCursor* cursor);
  // A new string, or null with the cursor unchanged.
  CString* ParseName(XmlCursor* cursor);
  // Text up to quote (an attribute value) or, with quote 0, element text up
  // to the next "<". A new string, or null.
  CString* ParseValue(XmlCursor* cursor, char quote);

  // The chain starting at first as a terminated UTF-8 text that the caller
  // frees with delete[]; null when memory runs out or the tree is deeper than
  // kXmlMaxDepth.
  char* WriteDocument(XmlNode* first);
  // Appends the chain starting at first to output; false when the tree is
  // deeper than kXmlMaxDepth.
  bool WriteElement(XmlNode* first, CXmlString* output, int32_t depth = 1);
  // Appends text with <, >, &, " and ' written as entities.
  void WriteEscaped(CXmlString* output, const wchar_t* text);
};
