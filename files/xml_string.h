// The XML writer's growing output buffer.
#pragma once

#include <cstdint>

#include "files/string.h"

class CXmlString : public CObject {
 public:
  CXmlString() = default;
  ~CXmlString() override;
  CXmlString(const CXmlString&) = delete;
  CXmlString& operator=(const CXmlString&) = delete;

  // Appends count bytes and keeps the buffer terminated; grows by 256 bytes
  // beyond each need. When memory runs out the piece is dropped and failed is set.
  void Append(const char* bytes, int32_t count);
  // Converts text to code_page and appends it; a failed conversion sets failed.
  void AppendWide(const wchar_t* text, int32_t count = -1);
  // Hands the buffer over; the caller frees it with delete[]. Null when nothing
  // was appended. The object is empty afterwards.
  char* Detach();

  char* buffer = nullptr;      // owned; always terminated once allocated
  int32_t capacity = 0;        // bytes allocated for buffer
  int32_t length = 0;          // bytes of text without the terminator
  uint32_t code_page = 65001;  // output code page
  // Set when a piece had to be dropped; the output is then incomplete and
  // must not be saved.
  bool failed = false;
};
