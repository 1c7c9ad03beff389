#include "config/config_elements.h"

#include <string>

namespace {

// True when the digits of text, read as GetInt reads them, fit in an int32.
// Texts that GetInt refuses do not matter here: it gives the default for them.
bool FitsInInt32(const CString& text) {
  const char* p = text.data;
  const char* end = text.data + text.length;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = p < end && *p == '-';
  if (negative) ++p;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t magnitude = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) return false;
  }
  return true;
}

}  // namespace

int32_t ReadInteger(const XmlNode* element, int32_t default_value) {
  if (element == nullptr || element->text == nullptr || element->text->data == nullptr) {
    return default_value;
  }
  if (!FitsInInt32(*element->text)) return default_value;
  return GetInt(element, default_value);
}

void ReadText(const XmlNode* element, const CString& default_value, CString* value) {
  if (element != nullptr && element->text != nullptr && element->text->data != nullptr) {
    value->Assign(*element->text);
  } else {
    value->Assign(default_value);
  }
}

bool AppendInteger(XmlNode* parent, const wchar_t* name, int32_t value) {
  // A decimal int32 fits the string's own small buffer: no allocation to fail.
  std::wstring decimal = std::to_wstring(value);
  XmlNode* element = CreateElement(name, decimal.c_str());
  if (element == nullptr) return false;
  AppendChild(parent, element);
  return true;
}

bool AppendText(XmlNode* parent, const wchar_t* name, CString& text) {
  const wchar_t* wide = text.GetWide();
  // GetWide answers null both for an empty text and when memory runs out.
  if (wide == nullptr && text.length > 0) return false;
  XmlNode* element = CreateElement(name, wide);
  if (element == nullptr) return false;
  AppendChild(parent, element);
  return true;
}
