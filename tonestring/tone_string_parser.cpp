#include "tonestring/tone_string_parser.h"

#include <cstdint>
#include <utility>

namespace {

constexpr size_t kShownPartCharacters = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Text quoted in a message, cut short so that one line stays readable.
std::string Shown(std::string_view text) {
  if (text.size() <= kShownPartCharacters) return std::string(text);
  return std::string(text.substr(0, kShownPartCharacters)) + "...";
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A whole number of at most 32 bits written in decimal digits only.
enum class Number { Valid, NotDigits, TooLarge };

Number ReadNumber(std::string_view text, int32_t* value) {
  if (text.empty()) return Number::NotDigits;
  int64_t accumulated = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return Number::NotDigits;
    accumulated = accumulated * 10 + (c - '0');
    if (accumulated > INT32_MAX) return Number::TooLarge;
  }
  *value = static_cast<int32_t>(accumulated);
  return Number::Valid;
}

class PartReader {
 public:
  PartReader(int index, std::string_view text) : index_(index), text_(text) {}

  bool Read(TonePart* part, std::string* why_not) {
    std::string_view rest = text_;
    if (!rest.empty() && rest.front() == '!') {
      part->plays_once = true;
      rest.remove_prefix(1);
    }
    const size_t slash = rest.find('/');
    const std::string_view frequencies = Trim(rest.substr(0, slash));
    if (!ReadFrequencies(frequencies, part, why_not)) return false;
    if (slash == std::string_view::npos) return true;
    return ReadDuration(Trim(rest.substr(slash + 1)), part, why_not);
  }

 private:
  bool Refuse(const std::string& reason, std::string* why_not) const {
    *why_not = "part " + std::to_string(index_) + " (" + Shown(text_) + "): " + reason;
    return false;
  }

  bool ReadFrequencies(std::string_view text, TonePart* part, std::string* why_not) const {
    if (text.empty()) return Refuse("no frequency", why_not);
    if (text.find('*') != std::string_view::npos) {
      return Refuse("amplitude modulation ('" + Shown(text) +
                        "') cannot be built from summed sine tones",
                    why_not);
    }
    if (text.front() == 'M' || text.front() == 'm') {
      return Refuse("MIDI notes are not supported; write the frequency in hertz", why_not);
    }
    std::vector<int32_t> hertz;
    for (size_t start = 0;;) {
      const size_t plus = text.find('+', start);
      const std::string_view piece = Trim(text.substr(start, plus == std::string_view::npos ? plus : plus - start));
      if (piece.empty()) return Refuse("a frequency is missing beside '+'", why_not);
      int32_t value = 0;
      const Number number = ReadNumber(piece, &value);
      if (number == Number::NotDigits) {
        return Refuse("'" + Shown(piece) + "' is not a frequency in whole hertz", why_not);
      }
      if (number == Number::TooLarge) return Refuse(Shown(piece) + " Hz is too large", why_not);
      for (int32_t earlier : hertz) {
        if (earlier == value) return Refuse(std::to_string(value) + " Hz appears twice", why_not);
      }
      hertz.push_back(value);
      if (plus == std::string_view::npos) break;
      start = plus + 1;
    }
    if (hertz.size() > static_cast<size_t>(kMaxPartFrequencies)) {
      return Refuse("more than " + std::to_string(kMaxPartFrequencies) + " frequencies", why_not);
    }
    if (hertz.size() == 1 && hertz[0] == 0) return true;  // "0" is silence
    for (int32_t value : hertz) {
      if (value == 0) return Refuse("0 (silence) cannot be summed with frequencies", why_not);
      PartTone tone;
      tone.frequency_hz = value;
      part->tones.push_back(tone);
    }
    return true;
  }

  bool ReadDuration(std::string_view text, TonePart* part, std::string* why_not) const {
    if (text.empty()) return Refuse("no duration after '/'", why_not);
    int32_t value = 0;
    const Number number = ReadNumber(text, &value);
    if (number == Number::NotDigits) {
      return Refuse("'" + Shown(text) + "' is not a duration in whole milliseconds", why_not);
    }
    if (number == Number::TooLarge) return Refuse(Shown(text) + " ms is too long", why_not);
    if (value == 0) {
      return Refuse("a duration of 0 ms (leave out /DURATION for a part that lasts for ever)",
                    why_not);
    }
    part->duration_ms = value;
    return true;
  }

  int index_;
  std::string_view text_;
};

}  // namespace

bool ParseToneString(std::string_view text, ToneSequence* sequence, std::string* why_not) {
  if (Trim(text).empty()) {
    *why_not = "the tone string is empty";
    return false;
  }
  ToneSequence parsed;
  for (size_t start = 0;;) {
    const size_t comma = text.find(',', start);
    const std::string_view raw = text.substr(start, comma == std::string_view::npos ? comma : comma - start);
    const int index = static_cast<int>(parsed.parts.size()) + 1;
    // Checked before reading on, so a huge string is refused without being read whole.
    if (index > kMaxToneParts) {
      *why_not = "the tone string has more than " + std::to_string(kMaxToneParts) + " parts";
      return false;
    }
    const std::string_view part_text = Trim(raw);
    if (part_text.empty()) {
      *why_not = "part " + std::to_string(index) + " is empty";
      return false;
    }
    TonePart part;
    if (!PartReader(index, part_text).Read(&part, why_not)) return false;
    parsed.parts.push_back(std::move(part));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  *sequence = std::move(parsed);
  return true;
}
