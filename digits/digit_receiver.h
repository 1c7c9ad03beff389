// Hears DTMF and MF R1 digits in a recording, with its own pass over the samples: each
// 10 ms frame is tested for a pair of the plan's frequencies that holds most of its power,
// frames of one pair make a tone, and a tone is a digit when its measured frequencies,
// twist, level and duration fall within the receiver's limits.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "digits/digit_sequence.h"

// Where the receiver draws its lines. Each lies between what a receiver must accept and what
// it must reject (ITU-T Q.24 for DTMF, Q.320/Q.322 for MF R1; see the README), with room for
// the measurement.
struct ReceiverLimits {
  double frequency_cut_percent;    // a frequency further off its nominal is no digit...
  double frequency_cut_hz;         // ...plus this many hertz
  double lowest_twist_db;          // high tone's level minus low tone's
  double highest_twist_db;
  double lowest_tone_dbm0;         // each tone at least this loud
  double shortest_tone_ms;         // shorter tones are no digit
  double longest_interruption_ms;  // a shorter break does not split a digit
};
const ReceiverLimits& DigitReceiverLimits(DigitSystem system);
// How far hertz lies off nominal_hz as a share of what the limits allow: up to 1 is heard as it.
double FrequencyCutShare(const ReceiverLimits& limits, double hertz, double nominal_hz);

struct HeardDigit {
  DigitSystem system = DigitSystem::Dtmf;
  int digit = 0;            // index into DigitPlan(system)
  std::string name;         // "5", "#", "KP"
  double start_ms = 0.0;
  double duration_ms = 0.0;
  double low_hz = 0.0;      // measured; low is the lower frequency of the pair
  double high_hz = 0.0;
  double low_deviation_percent = 0.0;   // from the nominal frequency
  double high_deviation_percent = 0.0;
  double low_dbfs = 0.0;
  double high_dbfs = 0.0;
  double twist_db = 0.0;    // high_dbfs - low_dbfs
};

// The digits of both systems heard in samples at rate Hz, in the order they start. Rates
// below 4000 Hz cannot carry the plans' frequencies and hear none.
std::vector<HeardDigit> HearDigits(const std::vector<int16_t>& samples, int32_t rate);

// The names of the digits one after the other: "5551234#", "KP5551234ST".
std::string HeardDigitString(const std::vector<HeardDigit>& digits);
