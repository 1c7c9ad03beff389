#pragma once

#include <cstddef>
#include <cstdint>

// Root of the string classes.
class CObject {
 public:
  virtual ~CObject();
};

// Text kept as UTF-8 bytes, with a wide copy made on request for the platform's
// wide-character calls. Not shared: copying is an explicit Assign.
class CString : public CObject {
 public:
  char* data = nullptr;      // owned; the text followed by a 0 byte, or null
  int32_t capacity = 0;      // bytes allocated for data
  int32_t length = 0;        // bytes of text without the terminator
  wchar_t* wide = nullptr;   // owned; the wide form last made by GetWide

  CString() = default;
  // Null or empty text gives an empty string without data.
  explicit CString(const wchar_t* text);
  ~CString() override;
  CString(const CString&) = delete;
  CString& operator=(const CString&) = delete;

  // Null text or count 0 clears the string; count -1 means up to the terminator.
  void Assign(const wchar_t* text, int32_t count = -1);
  // Null bytes clear the string; count -1 means up to the terminator.
  // When memory runs out the old text is kept.
  void Assign(const char* bytes, int32_t count = -1);
  // Copies other's bytes; a source without data clears this string.
  void Assign(const CString& other);
  // Clears the string; resolves Assign(nullptr) between the pointer overloads.
  void Assign(std::nullptr_t) { Clear(); }
  // Frees data and wide; capacity and length become 0.
  void Clear();

  // Makes a fresh wide form of data, owned by this string and valid until the
  // next GetWide, Clear or the destructor. Null when there is no text.
  const wchar_t* GetWide();
  // Case-sensitive byte comparison with the UTF-8 form of text. A string
  // without data equals only null or empty text; an allocated empty string
  // does not equal empty text.
  bool Equals(const wchar_t* text) const;
  // New string holding up to count bytes from start; the caller deletes it.
  // Null when there is no data, start is outside the text, count < 0, or
  // memory runs out.
  CString* Mid(int32_t start, int32_t count) const;
  // Strips the bytes 0, tab, line feed, carriage return and space at both ends.
  void Trim();
  // Grows data to needed + capacity + 1 bytes keeping the text; false when
  // memory runs out or the size would not fit in int32.
  bool Reserve(int32_t needed);
};
