#include "files/xml_tree.h"

#include <new>
#include <string_view>

#include "synth/number_parsing.h"

namespace {

void FreeNodeOnly(XmlNode* node) {
  FreeAttributes(node->attributes);
  delete node->name;
  delete node->text;
  delete node->encoding;
  delete node;
}

}  // namespace

void FreeAttributes(XmlAttribute* first) {
  while (first != nullptr) {
    XmlAttribute* next = first->next;
    delete first->name;
    delete first->value;
    delete first;
    first = next;
  }
}

void FreeTree(XmlNode* first) {
  // Rotating each first child in front of its parent turns the tree into one
  // chain without any stack, so hostile depth cannot overflow it.
  XmlNode* node = first;
  while (node != nullptr) {
    XmlNode* child = node->child;
    if (child != nullptr) {
      node->child = child->next;
      child->next = node;
      node = child;
    } else {
      XmlNode* next = node->next;
      FreeNodeOnly(node);
      node = next;
    }
  }
}

XmlNode* CreateElement(const wchar_t* name, const wchar_t* text) {
  XmlNode* node = new (std::nothrow) XmlNode;
  if (node == nullptr) return nullptr;
  if (name != nullptr) {
    node->name = new (std::nothrow) CString(name);
    if (node->name == nullptr) {
      FreeTree(node);
      return nullptr;
    }
  }
  if (text != nullptr) {
    node->text = new (std::nothrow) CString(text);
    if (node->text == nullptr) {
      FreeTree(node);
      return nullptr;
    }
  }
  return node;
}

void AppendChild(XmlNode* parent, XmlNode* element) {
  if (parent == nullptr || element == nullptr) return;
  XmlNode** link = &parent->child;
  while (*link != nullptr) link = &(*link)->next;
  *link = element;
}

XmlNode* FindElement(XmlNode* first, const wchar_t* name) {
  for (XmlNode* node = first; node != nullptr; node = node->next) {
    if (node->name != nullptr && node->name->Equals(name)) return node;
  }
  return nullptr;
}

int32_t GetInt(const XmlNode* node, int32_t default_value) {
  if (node == nullptr || node->text == nullptr) return default_value;
  const CString& text = *node->text;
  if (text.data == nullptr || text.length <= 0) return default_value;
  // Digits, blanks and "-" are ASCII, so the UTF-8 bytes can be read directly.
  int32_t value = 0;
  if (!ParseDecimalText(std::string_view(text.data, static_cast<size_t>(text.length)), &value)) {
    return default_value;
  }
  return value;
}
