// The frequency plans of DTMF (ITU-T Q.23) and MF R1 (ITU-T Q.321), and the reading of a
// digit string into the plan's digits.
#pragma once
#include <string>
#include <vector>

#include "digits/digit_sequence.h"

struct PlanDigit {
  const char* name;  // as written in a digit string: "5", "#", "KP", "ST2P"
  double low_hz;
  double high_hz;
};

// Every digit of the system, in the order the plan lists them.
const std::vector<PlanDigit>& DigitPlan(DigitSystem system);
// The frequencies the system uses, ascending (DTMF: the four low, then the four high).
const std::vector<double>& PlanFrequencies(DigitSystem system);
// "DTMF" or "MF".
const char* DigitSystemName(DigitSystem system);
// True for MF's KP, which is sent longer than the other signals.
bool IsKeyPulse(const PlanDigit& digit);

// A digit string read into the plan: each entry is an index into DigitPlan, or kPauseDigit
// for a ','. DTMF takes 0-9 * # A B C D; MF takes 0-9 KP ST STP ST2P ST3P (letters in either
// case). False with one line in *why_not naming the first character that is no digit of the
// system, or for a string with no digit.
constexpr int kPauseDigit = -1;
bool ReadDigitString(const std::string& digits, DigitSystem system, std::vector<int>* read,
                     std::string* why_not);
