#include "digits/digit_plan.h"

#include <cctype>
#include <cstring>

namespace {

const std::vector<PlanDigit> kDtmfPlan = {
    {"1", 697, 1209}, {"2", 697, 1336}, {"3", 697, 1477}, {"A", 697, 1633},
    {"4", 770, 1209}, {"5", 770, 1336}, {"6", 770, 1477}, {"B", 770, 1633},
    {"7", 852, 1209}, {"8", 852, 1336}, {"9", 852, 1477}, {"C", 852, 1633},
    {"*", 941, 1209}, {"0", 941, 1336}, {"#", 941, 1477}, {"D", 941, 1633},
};

// The longer names come first so that "ST2P" is not read as "ST" followed by "2".
const std::vector<PlanDigit> kMfPlan = {
    {"1", 700, 900},     {"2", 700, 1100},   {"3", 900, 1100},    {"4", 700, 1300},
    {"5", 900, 1300},    {"6", 1100, 1300},  {"7", 700, 1500},    {"8", 900, 1500},
    {"9", 1100, 1500},   {"0", 1300, 1500},  {"KP", 1100, 1700},  {"ST3P", 700, 1700},
    {"ST2P", 1300, 1700}, {"STP", 900, 1700}, {"ST", 1500, 1700},
};

const std::vector<double> kDtmfFrequencies = {697, 770, 852, 941, 1209, 1336, 1477, 1633};
const std::vector<double> kMfFrequencies = {700, 900, 1100, 1300, 1500, 1700};

bool StartsWithName(const std::string& text, size_t at, const char* name) {
  const size_t length = std::strlen(name);
  if (text.size() - at < length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (std::toupper(static_cast<unsigned char>(text[at + i])) != name[i]) return false;
  }
  return true;
}

}  // namespace

const std::vector<PlanDigit>& DigitPlan(DigitSystem system) {
  return system == DigitSystem::Dtmf ? kDtmfPlan : kMfPlan;
}

const std::vector<double>& PlanFrequencies(DigitSystem system) {
  return system == DigitSystem::Dtmf ? kDtmfFrequencies : kMfFrequencies;
}

const char* DigitSystemName(DigitSystem system) { return system == DigitSystem::Dtmf ? "DTMF" : "MF"; }

bool IsKeyPulse(const PlanDigit& digit) { return std::strcmp(digit.name, "KP") == 0; }

bool ReadDigitString(const std::string& digits, DigitSystem system, std::vector<int>* read,
                     std::string* why_not) {
  const std::vector<PlanDigit>& plan = DigitPlan(system);
  std::vector<int> found;
  bool any_digit = false;
  size_t at = 0;
  while (at < digits.size()) {
    if (digits[at] == ',') {
      found.push_back(kPauseDigit);
      ++at;
      continue;
    }
    int match = -1;
    for (size_t i = 0; i < plan.size() && match < 0; ++i) {
      if (StartsWithName(digits, at, plan[i].name)) match = static_cast<int>(i);
    }
    if (match < 0) {
      const unsigned char character = static_cast<unsigned char>(digits[at]);
      const std::string shown = std::isprint(character) ? "'" + std::string(1, digits[at]) + "'"
                                                        : "byte " + std::to_string(character);
      *why_not = shown + " at position " + std::to_string(at + 1) + " is no " + DigitSystemName(system) +
                 " digit (" + (system == DigitSystem::Dtmf ? "0-9 * # A B C D" : "0-9 KP ST STP ST2P ST3P") +
                 ", ',' for a pause)";
      return false;
    }
    found.push_back(match);
    any_digit = true;
    at += std::strlen(plan[static_cast<size_t>(match)].name);
  }
  if (!any_digit) {
    *why_not = "no digit to send";
    return false;
  }
  *read = found;
  return true;
}
