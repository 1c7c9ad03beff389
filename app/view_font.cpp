#include "app/view_font.h"

namespace {

constexpr int32_t kJapanese = 1;
constexpr int32_t kJapaneseDefaultHeight = 12;
constexpr int32_t kEnglishDefaultHeight = 14;
// "ＭＳ ゴシック", the fixed-pitch Japanese face every Japanese system has.
constexpr wchar_t kJapaneseDefaultFace[] = L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF";
constexpr wchar_t kEnglishDefaultFace[] = L"Courier New";

}  // namespace

std::wstring FitFaceName(const wchar_t* face) {
  if (face == nullptr) return std::wstring();
  std::wstring fitted(face);
  if (fitted.size() > kMaxFaceNameLength) fitted.resize(kMaxFaceNameLength);
  return fitted;
}

ViewFont ChooseViewFont(const wchar_t* configured_face, int32_t configured_size, int32_t language) {
  const bool japanese = language == kJapanese;
  ViewFont font;
  font.height = configured_size != 0 ? configured_size
                                     : (japanese ? kJapaneseDefaultHeight : kEnglishDefaultHeight);
  font.charset = japanese ? kShiftJisCharset : kAnsiCharset;
  const bool has_face = configured_face != nullptr && configured_face[0] != L'\0';
  font.face = FitFaceName(has_face ? configured_face : (japanese ? kJapaneseDefaultFace : kEnglishDefaultFace));
  return font;
}
