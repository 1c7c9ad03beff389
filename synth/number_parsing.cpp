#include "synth/number_parsing.h"

namespace {

constexpr size_t kReadCharacters = 63;

struct ParsedNumber {
  bool complete;        // false when a character other than a digit stopped the digits
  uint32_t magnitude;   // digits accumulated so far, wrapping
  bool negative;
};

template <typename Char>
ParsedNumber ParseWhole(std::basic_string_view<Char> text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == Char(' ') || text[at] == Char('\t'))) ++at;
  ParsedNumber parsed{true, 0, false};
  if (at < text.size() && text[at] == Char('-')) {
    parsed.negative = true;
    ++at;
  }
  for (; at < text.size(); ++at) {
    const Char c = text[at];
    if (c < Char('0') || c > Char('9')) {
      parsed.complete = false;
      break;
    }
    parsed.magnitude = parsed.magnitude * 10u + static_cast<uint32_t>(c - Char('0'));
  }
  return parsed;
}

template <typename Char>
ParsedNumber Parse(std::basic_string_view<Char> text) {
  return ParseWhole(text.substr(0, kReadCharacters));
}

int32_t SignedValue(const ParsedNumber& parsed) {
  const uint32_t bits = parsed.negative ? 0u - parsed.magnitude : parsed.magnitude;
  return static_cast<int32_t>(bits);
}

// A text stopped by another character is refused and *value left as it was.
bool StoreComplete(const ParsedNumber& parsed, int32_t* value) {
  if (!parsed.complete) return false;
  *value = SignedValue(parsed);
  return true;
}

template <typename Char>
int32_t ParseRepeat(std::basic_string_view<Char> text) {
  const ParsedNumber parsed = Parse(text);
  return parsed.complete ? SignedValue(parsed) : static_cast<int32_t>(parsed.magnitude);
}

}  // namespace

bool ParseFieldNumber(std::string_view text, int32_t* value) { return StoreComplete(Parse(text), value); }
bool ParseFieldNumber(std::wstring_view text, int32_t* value) { return StoreComplete(Parse(text), value); }
bool ParseDecimalText(std::string_view text, int32_t* value) { return StoreComplete(ParseWhole(text), value); }
int32_t ParseRepeatCount(std::string_view text) { return ParseRepeat(text); }
int32_t ParseRepeatCount(std::wstring_view text) { return ParseRepeat(text); }

int32_t ClampRepeat(int32_t repeat) {
  if (repeat <= 0) return 1;
  if (repeat > 100) return 100;
  return repeat;
}
