#include "tonestring/tone_string_parser.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "synth/signal_level.h"

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
    rest = Trim(rest);
    if (!rest.empty() && rest.back() == '~') {
      part->sounds_into_next = true;
      rest = Trim(rest.substr(0, rest.size() - 1));
    }
    const size_t slash = rest.find('/');
    const std::string_view frequencies = Trim(rest.substr(0, slash));
    if (!ReadFrequencies(frequencies, part, why_not)) return false;
    if (slash == std::string_view::npos) {
      if (part->sounds_into_next) return Refuse("'~' needs a duration: a part that lasts for ever has no next part", why_not);
      return true;
    }
    return ReadDuration(Trim(rest.substr(slash + 1)), part, why_not);
  }

 private:
  bool Refuse(const std::string& reason, std::string* why_not) const {
    *why_not = "part " + std::to_string(index_) + " (" + Shown(text_) + "): " + reason;
    return false;
  }

  bool ReadFrequencies(std::string_view text, TonePart* part, std::string* why_not) const {
    if (text.empty()) return Refuse("no frequency", why_not);
    if (text.front() == 'M' || text.front() == 'm') {
      return Refuse("MIDI notes are not supported; write the frequency in hertz", why_not);
    }
    std::vector<PartTone> tones;
    bool silence = false;
    for (size_t start = 0;;) {
      const size_t plus = text.find('+', start);
      const std::string_view piece = Trim(text.substr(start, plus == std::string_view::npos ? plus : plus - start));
      if (piece.empty()) return Refuse("a frequency is missing beside '+'", why_not);
      if (!ReadPiece(piece, &tones, &silence, why_not)) return false;
      // Refused here, before reading on, so that a part of a million frequencies costs no more
      // than one of nine.
      if (tones.size() + silence > static_cast<size_t>(kMaxPartFrequencies)) {
        return Refuse("more than " + std::to_string(kMaxPartFrequencies) + " frequencies", why_not);
      }
      if (plus == std::string_view::npos) break;
      start = plus + 1;
    }
    if (silence && !tones.empty()) return Refuse("0 (silence) cannot be summed with frequencies", why_not);
    part->tones = std::move(tones);
    return true;
  }

  // One summand: "F", "F@LEVEL", or "CARRIER*MODULATOR[%DEPTH][@LEVEL]", which is three sines.
  bool ReadPiece(std::string_view piece, std::vector<PartTone>* tones, bool* silence, std::string* why_not) const {
    const size_t at = piece.find('@');
    const std::string_view head = Trim(piece.substr(0, at));
    double level_percent = kLevelFromOptions;
    if (at != std::string_view::npos && !ReadLevel(Trim(piece.substr(at + 1)), &level_percent, why_not)) return false;
    const size_t star = head.find('*');
    int32_t carrier = 0;
    if (!ReadFrequency(Trim(head.substr(0, star)), &carrier, why_not)) return false;
    if (carrier == 0) {
      if (star != std::string_view::npos || at != std::string_view::npos) {
        return Refuse("0 (silence) has no level and cannot be modulated", why_not);
      }
      if (*silence) return Refuse("0 Hz appears twice", why_not);
      *silence = true;
      return true;
    }
    if (star == std::string_view::npos) return Add({double(carrier), level_percent, 0.0}, tones, why_not);

    const std::string_view modulation = head.substr(star + 1);
    const size_t percent = modulation.find('%');
    int32_t modulator = 0;
    if (!ReadFrequency(Trim(modulation.substr(0, percent)), &modulator, why_not)) return false;
    if (modulator < 1 || modulator >= carrier) {
      return Refuse("the modulating frequency of '" + Shown(head) + "' must be above 0 and below the carrier",
                    why_not);
    }
    int32_t depth = kDefaultModulationDepthPercent;
    if (percent != std::string_view::npos) {
      const std::string_view depth_text = Trim(modulation.substr(percent + 1));
      if (ReadNumber(depth_text, &depth) != Number::Valid || depth < 1 || depth > 100) {
        return Refuse("'" + Shown(depth_text) + "' is not a modulation depth in whole percent from 1 to 100", why_not);
      }
    }
    // A carrier of peak 1 modulated to depth m is sin(c) + m/2 cos(c - f) - m/2 cos(c + f).
    const double side_db = 20.0 * std::log10(depth / 200.0);
    return Add({double(carrier - modulator), level_percent, side_db}, tones, why_not) &&
           Add({double(carrier), level_percent, 0.0}, tones, why_not) &&
           Add({double(carrier) + modulator, level_percent, side_db}, tones, why_not);
  }

  bool ReadFrequency(std::string_view text, int32_t* hertz, std::string* why_not) const {
    const Number number = ReadNumber(text, hertz);
    if (number == Number::NotDigits) {
      return Refuse("'" + Shown(text) + "' is not a frequency in whole hertz", why_not);
    }
    if (number == Number::TooLarge) return Refuse(Shown(text) + " Hz is too large", why_not);
    return true;
  }

  // A level in dBm0: an optional minus, digits, and at most two decimals ("-10", "-9.5"); no
  // plus, which sums.
  bool ReadLevel(std::string_view text, double* percent, std::string* why_not) const {
    const std::string refusal = "'" + Shown(text) + "' is not a level in dBm0 such as -10 or -9.5";
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
    const size_t point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
    int32_t units = 0;
    int32_t hundredths = 0;
    if (whole.size() > 3 || ReadNumber(whole, &units) != Number::Valid ||
        (point != std::string_view::npos && (fraction.empty() || fraction.size() > 2 ||
                                             ReadNumber(fraction, &hundredths) != Number::Valid))) {
      return Refuse(refusal, why_not);
    }
    if (fraction.size() == 1) hundredths *= 10;
    const double dbm0 = (units + hundredths / 100.0) * (text.front() == '-' ? -1.0 : 1.0);
    *percent = DbfsToPercent(Dbm0ToDbfs(dbm0));
    return true;
  }

  bool Add(const PartTone& tone, std::vector<PartTone>* tones, std::string* why_not) const {
    for (const PartTone& earlier : *tones) {
      if (earlier.frequency_hz == tone.frequency_hz) {
        return Refuse(std::to_string(static_cast<int32_t>(tone.frequency_hz)) + " Hz appears twice", why_not);
      }
    }
    tones->push_back(tone);
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
