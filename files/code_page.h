#pragma once

#include <cstdint>

// The system ANSI code page as far as the converters are concerned; the
// program's own strings use UTF-8 instead (see CString).
constexpr unsigned kCodePageAnsi = 0;
constexpr unsigned kCodePageUtf8 = 65001;
constexpr unsigned kCodePageShiftJis = 932;

// Converts count bytes (-1: up to and including the terminator) in code_page to
// a new zero-terminated wide buffer; the caller frees it with delete[].
// Null when memory runs out or the code page is unknown. Undecodable input is
// replaced (U+FFFD for bad UTF-8), never refused.
wchar_t* ToWide(const char* bytes, int32_t count, unsigned code_page);

// Converts count wide characters (-1: up to and including the terminator) to a
// new zero-terminated byte buffer in code_page; the caller frees it with
// delete[]. Null when memory runs out or the code page is unknown. Characters
// the code page cannot represent become its default character.
char* ToMultiByte(const wchar_t* text, int32_t count, unsigned code_page);
