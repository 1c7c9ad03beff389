// One setting as one child element of "config": the text of the element is the
// value, an integer is written in decimal.
#pragma once

#include <cstdint>

#include "files/string.h"
#include "files/xml_tree.h"

// The element's decimal value, or default_value when the element is missing,
// has no text, does not read as a decimal integer, or holds a number outside
// the 32-bit range (which would otherwise wrap into an unrelated value).
int32_t ReadInteger(const XmlNode* element, int32_t default_value);

// value := the element's text, or a copy of default_value when the element is
// missing or has no text.
void ReadText(const XmlNode* element, const CString& default_value, CString* value);

// Appends <name>value</name> to parent; false when memory runs out.
bool AppendInteger(XmlNode* parent, const wchar_t* name, int32_t value);

// Appends <name>text</name> to parent, or the empty element <name/> for an empty
// text; false when memory runs out.
bool AppendText(XmlNode* parent, const wchar_t* name, CString& text);
