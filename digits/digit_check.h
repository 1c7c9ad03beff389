// Compares the digits a recording holds with the digits a setting sends: which digit is
// wrong, missing or extra, and whether each digit's tone and gap last as long as they should.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "digits/digit_receiver.h"
#include "tonestring/tone_sequence.h"

struct ExpectedDigit {
  DigitSystem system = DigitSystem::Dtmf;
  int digit = 0;           // index into DigitPlan(system)
  std::string name;
  double start_ms = 0.0;   // from the start of the sequence
  double on_ms = 0.0;
  double off_ms = 0.0;     // until the next digit, or the silence after the last
};

// Reads a tone sequence (a setting read as a tone string) as the digits it sends: true when
// it sounds something and every part that sounds is a pair of one plan's digit, within the
// receiver's limits (so digits sent with an offset or a twist are read too).
bool ReadExpectedDigits(const ToneSequence& sequence, std::vector<ExpectedDigit>* digits);

enum class DigitVerdict { Ok, Wrong, Missing, Extra, Timing };

struct DigitCheckRow {
  DigitVerdict verdict = DigitVerdict::Ok;
  int expected = -1;  // index into the expected digits, -1 for an extra digit
  int heard = -1;     // index into the heard digits, -1 for a missing one
  // The heard tone's and gap's lengths (the gap -1 when not judged: the last digit's, since
  // a recording may stop at any time after it), and heard minus expected where both are there.
  double heard_on_ms = 0.0;
  double heard_off_ms = -1.0;
  double on_difference_ms = 0.0;
  double off_difference_ms = 0.0;
  bool on_ok = true;
  bool off_ok = true;
};

struct DigitCheck {
  std::vector<DigitCheckRow> rows;
  bool pass = false;
};

// Lines the heard digits up with the expected ones (fewest wrong, missing and extra digits)
// and judges each tone's and gap's length against the difference allowed_ms allows for an
// expected length. Heard digits before the first expected one or after the last count as
// extra: a digit recording is checked whole.
DigitCheck CheckDigits(const std::vector<ExpectedDigit>& expected, const std::vector<HeardDigit>& heard,
                       const std::function<double(double expected_ms)>& allowed_ms);
