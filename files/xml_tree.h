// The element tree of an XML document and the helpers that build and read it.
#pragma once

#include <cstdint>

#include "files/string.h"

// One attribute of an element, in document order.
struct XmlAttribute {
  XmlAttribute* next = nullptr;  // owned; the next attribute of the same element
  CString* name = nullptr;       // owned
  CString* value = nullptr;      // owned; null for an empty or malformed value
};

// One element. A tree is released with FreeTree by whoever parsed or built it.
struct XmlNode {
  XmlNode* next = nullptr;             // owned; the next element at the same level
  XmlNode* child = nullptr;            // owned; the first child element
  XmlAttribute* attributes = nullptr;  // owned; the first attribute
  CString* name = nullptr;             // owned, may be null
  CString* text = nullptr;             // owned; the last run of text, null when there is none
  // owned; the declaration's encoding value, kept on the first top-level element
  // only (after reading) and written into the declaration by the writer
  CString* encoding = nullptr;
};

// Frees the whole sibling chain starting at first, with every node's attributes,
// children and strings. Null does nothing. Works without recursion, so trees of
// any depth are released safely.
void FreeTree(XmlNode* first);
void FreeAttributes(XmlAttribute* first);

// A new element named name with text (either may be null: no name, no text);
// the caller frees it with FreeTree, or hands it to AppendChild. Null when
// memory runs out.
XmlNode* CreateElement(const wchar_t* name, const wchar_t* text);

// Puts element at the end of parent's child chain; parent takes ownership.
// Null arguments do nothing.
void AppendChild(XmlNode* parent, XmlNode* element);

// The first node of the chain starting at first whose name equals name
// (byte for byte, case-sensitive), or null. Look a child up with
// FindElement(parent->child, name).
XmlNode* FindElement(XmlNode* first, const wchar_t* name);

// The node's text as a decimal int32: optional leading spaces and tabs, one
// optional "-", then only digits (accumulated with 32-bit wrap-around). Any
// other text, an empty text, a missing text or a null node gives
// default_value; a lone "-" gives 0.
int32_t GetInt(const XmlNode* node, int32_t default_value);
