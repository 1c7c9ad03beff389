// The XML writer: UTF-8 with a fixed layout (no indentation, a line break after
// every end tag and empty-element tag).
#include <cwchar>

#include "files/code_page.h"
#include "files/xml_document.h"

namespace {

void AppendString(CXmlString* output, CString* text) {
  if (text != nullptr) output->AppendWide(text->GetWide());
}

// The writer always produces UTF-8, so only a UTF-8 name may stand in the
// declaration: any other would make a reader decode the bytes wrongly.
bool NamesUtf8(const CString* encoding) {
  if (encoding == nullptr || encoding->data == nullptr || encoding->length != 5) return false;
  const char* expected = "utf-8";
  for (int32_t i = 0; i < 5; ++i) {
    char byte = encoding->data[i];
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    if (byte != expected[i]) return false;
  }
  return true;
}

}  // namespace

char* CXml::WriteDocument(XmlNode* first) {
  code_page = kCodePageUtf8;
  CXmlString output;
  output.code_page = kCodePageUtf8;
  output.AppendWide(L"<?xml version=\"1.0\" ");
  if (first != nullptr && NamesUtf8(first->encoding)) {
    output.AppendWide(L"encoding=\"");
    AppendString(&output, first->encoding);
    output.AppendWide(L"\" ");
  }
  output.AppendWide(L"?>\r\n");
  if (!WriteElement(first, &output)) return nullptr;
  if (output.failed) return nullptr;
  return output.Detach();
}

bool CXml::WriteElement(XmlNode* first, CXmlString* output, int32_t depth) {
  if (depth > kXmlMaxDepth) return false;
  for (XmlNode* node = first; node != nullptr; node = node->next) {
    output->AppendWide(L"<");
    AppendString(output, node->name);
    if (node->attributes != nullptr) {
      output->AppendWide(L" ");
      for (XmlAttribute* attribute = node->attributes; attribute != nullptr;
           attribute = attribute->next) {
        if (attribute->name == nullptr) continue;
        AppendString(output, attribute->name);
        output->AppendWide(L"=\"");
        if (attribute->value != nullptr) WriteEscaped(output, attribute->value->GetWide());
        output->AppendWide(L"\" ");
      }
    }
    if (node->text == nullptr && node->child == nullptr) {
      output->AppendWide(L"/>\r\n");
      continue;
    }
    output->AppendWide(L">");
    if (node->text != nullptr) WriteEscaped(output, node->text->GetWide());
    if (!WriteElement(node->child, output, depth + 1)) return false;
    output->AppendWide(L"</");
    AppendString(output, node->name);
    output->AppendWide(L">\r\n");
  }
  return true;
}

void CXml::WriteEscaped(CXmlString* output, const wchar_t* text) {
  if (text == nullptr) return;
  // Plain characters go out in runs, so a surrogate pair is never split apart.
  const wchar_t* run = text;
  for (const wchar_t* p = text;; ++p) {
    const wchar_t* entity = nullptr;
    switch (*p) {
      case L'<': entity = L"&lt;"; break;
      case L'>': entity = L"&gt;"; break;
      case L'&': entity = L"&amp;"; break;
      case L'"': entity = L"&quot;"; break;
      case L'\'': entity = L"&apos;"; break;
      default: break;
    }
    if (entity == nullptr && *p != L'\0') continue;
    if (p > run) output->AppendWide(run, static_cast<int32_t>(p - run));
    if (*p == L'\0') return;
    output->AppendWide(entity);
    run = p + 1;
  }
}
