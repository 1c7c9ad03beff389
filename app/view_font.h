// The font the child views paint with: the configured face and size when there
// are any, otherwise a fixed-pitch face that suits the language of the run.
#pragma once

#include <cstdint>
#include <string>

// The platform's character sets the views use.
constexpr int32_t kAnsiCharset = 0;
constexpr int32_t kShiftJisCharset = 128;

// Longest face name the platform's font description holds, without its terminator.
constexpr size_t kMaxFaceNameLength = 31;

struct ViewFont {
  int32_t height;     // logical height as the platform's font description takes it
  int32_t charset;    // kShiftJisCharset for Japanese, kAnsiCharset otherwise
  std::wstring face;  // at most kMaxFaceNameLength characters
};

// configured_face may be null or empty (none configured); configured_size 0
// means none configured. Language 1 is Japanese, any other value English.
ViewFont ChooseViewFont(const wchar_t* configured_face, int32_t configured_size, int32_t language);

// face cut to what the platform's font description holds.
std::wstring FitFaceName(const wchar_t* face);
