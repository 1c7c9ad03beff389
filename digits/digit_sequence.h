// A string of DTMF or MF digits as the tone sequence that sends it: one part per digit,
// one per gap and per pause. BuildToneSetting (tonestring/tone_setting_builder.h) then makes
// the setting, so a digit sequence renders, reads back and edits like any other tone string.
#pragma once
#include <cstdint>
#include <string>

#include "tonestring/tone_sequence.h"

enum class DigitSystem { Dtmf, Mf };

struct DigitOptions {
  DigitSystem system = DigitSystem::Dtmf;
  int32_t on_ms = 100;       // each digit's tone (MF's KP lasts kp_on_ms instead)
  int32_t off_ms = 100;      // the gap after each digit
  int32_t pause_ms = 500;    // a ',' in the digits
  // DTMF senders put the high group 2 dB above the low group (ETSI ES 201 235-2 gives
  // -11 dBV and -9 dBV per frequency at the line, about -9 and -7 dBm at 600 ohm).
  double low_dbm0 = -9.0;
  double high_dbm0 = -7.0;
  double level_percent = -1; // >= 0: every frequency at this level instead of the dBm0 figures
  double twist_db = 0.0;     // added to the high group
  double offset_percent = 0.0;
  int32_t kp_on_ms = 100;    // MF's KP: 100 ms against 68 ms for the other signals (ITU-T Q.322)
};

// The defaults of each system: DTMF as above; MF R1 at -7 dBm0 per frequency, 68 ms on and
// 68 ms off, KP 100 ms (ITU-T Q.322).
DigitOptions DefaultDigitOptions(DigitSystem system);

// Fills *sequence with one part per digit and per gap/pause (frequencies with their levels in
// PartTone::level_percent). False with one line in *why_not for a character that is no digit
// of the system, or options out of range.
//
// MF has no low and high group: 1100 Hz is the higher tone of "2" and the lower of "6", and
// a frequency keeps one level throughout a setting. So for MF the levels and the twist run
// as a slope from 700 Hz (low_dbm0) to 1700 Hz (high_dbm0 + twist_db).
bool DigitsToToneSequence(const std::string& digits, const DigitOptions& options,
                          ToneSequence* sequence, std::string* why_not);
