// Code page conversions without the Windows converters: UTF-8 is decoded and
// encoded here, every other code page goes through iconv ("CP<number>").
// Results match the Windows calls: undecodable UTF-8 becomes U+FFFD (one per
// maximal invalid subsequence), a lone surrogate is encoded as U+FFFD, and a
// character a code page cannot represent becomes "?".
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

#include "files/code_page.h"

static_assert(sizeof(wchar_t) == 4, "the POSIX converters expect UTF-32 wide characters");

namespace {

constexpr wchar_t kReplacement = 0xFFFD;
// What Windows puts in place of an undecodable double-byte sequence.
constexpr wchar_t kDoubleByteReplacement = 0x30FB;

bool IsUtf8(unsigned code_page) { return code_page == kCodePageUtf8 || code_page == kCodePageAnsi; }

void IconvName(unsigned code_page, char* name, size_t size) {
  std::snprintf(name, size, "CP%u", code_page);
}

// Newly allocated and zeroed; null when memory runs out.
template <typename T>
T* NewZeroed(size_t count) {
  T* buffer = new (std::nothrow) T[count];
  if (buffer != nullptr) std::memset(buffer, 0, count * sizeof(T));
  return buffer;
}

// Decodes one sequence starting at bytes[i]; returns the code point or the
// replacement and advances i past what was consumed.
wchar_t DecodeUtf8(const unsigned char* bytes, size_t count, size_t* i) {
  unsigned char lead = bytes[*i];
  ++*i;
  if (lead < 0x80) return lead;
  int trail;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return kReplacement;
  }
  for (int k = 0; k < trail; ++k) {
    if (*i >= count) return kReplacement;
    unsigned char next = bytes[*i];
    if (next < low || next > high) return kReplacement;
    low = 0x80;
    high = 0xBF;
    code = (code << 6) | (next & 0x3F);
    ++*i;
  }
  return static_cast<wchar_t>(code);
}

size_t EncodeUtf8(wchar_t character, char* out) {
  uint32_t code = static_cast<uint32_t>(character);
  if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = kReplacement;
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  if (code < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (code >> 12));
    out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (code >> 18));
  out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (code & 0x3F));
  return 4;
}

// Converts with iconv, writing replacement (of replacement_size bytes) for
// every input unit of input_step bytes that cannot be converted. The output
// must have room for the worst case. An unknown code page yields nothing.
void ConvertWithIconv(const char* to, const char* from, const char* input, size_t input_size,
                      size_t input_step, char* output, size_t output_size, const char* replacement,
                      size_t replacement_size) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return;
  char* in = const_cast<char*>(input);
  size_t in_left = input_size;
  char* out = output;
  size_t out_left = output_size;
  while (in_left > 0) {
    if (iconv(converter, &in, &in_left, &out, &out_left) != static_cast<size_t>(-1)) break;
    if ((errno != EILSEQ && errno != EINVAL) || out_left < replacement_size) break;
    std::memcpy(out, replacement, replacement_size);
    out += replacement_size;
    out_left -= replacement_size;
    size_t skipped = in_left < input_step ? in_left : input_step;
    in += skipped;
    in_left -= skipped;
  }
  iconv_close(converter);
}

}  // namespace

wchar_t* ToWide(const char* bytes, int32_t count, unsigned code_page) {
  if (bytes == nullptr || count < -1) count = 0;
  size_t size = count == -1 ? std::strlen(bytes) : static_cast<size_t>(count);
  // No code page turns one byte into more than one character.
  wchar_t* text = NewZeroed<wchar_t>(size + 1);
  if (text == nullptr || size == 0) return text;
  if (IsUtf8(code_page)) {
    const unsigned char* input = reinterpret_cast<const unsigned char*>(bytes);
    size_t units = 0;
    for (size_t i = 0; i < size;) text[units++] = DecodeUtf8(input, size, &i);
    return text;
  }
  char name[16];
  IconvName(code_page, name, sizeof(name));
  wchar_t replacement = kDoubleByteReplacement;
  ConvertWithIconv("WCHAR_T", name, bytes, size, 1, reinterpret_cast<char*>(text),
                   size * sizeof(wchar_t), reinterpret_cast<const char*>(&replacement),
                   sizeof(replacement));
  return text;
}

char* ToMultiByte(const wchar_t* text, int32_t count, unsigned code_page) {
  if (text == nullptr || count < -1) count = 0;
  size_t size = count == -1 ? std::wcslen(text) : static_cast<size_t>(count);
  // Four bytes are the most any code page spends on one UTF-32 character.
  char* bytes = NewZeroed<char>(size * 4 + 1);
  if (bytes == nullptr || size == 0) return bytes;
  if (IsUtf8(code_page)) {
    size_t used = 0;
    for (size_t i = 0; i < size; ++i) used += EncodeUtf8(text[i], bytes + used);
    return bytes;
  }
  char name[16];
  IconvName(code_page, name, sizeof(name));
  ConvertWithIconv(name, "WCHAR_T", reinterpret_cast<const char*>(text), size * sizeof(wchar_t),
                   sizeof(wchar_t), bytes, size * 4, "?", 1);
  return bytes;
}
