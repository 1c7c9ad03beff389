#include "digits/digit_sequence.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "digits/digit_plan.h"
#include "synth/signal_level.h"

namespace {

// Longer than any test needs, short enough that a slip of the keyboard is caught.
constexpr int32_t kLongestTimeMs = 60000;
constexpr double kLargestTwistDb = 20.0;
constexpr double kLargestOffsetPercent = 20.0;
constexpr double kLowestDbm0 = -60.0;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

bool CheckTime(const char* what, int32_t ms, int32_t lowest, std::string* why_not) {
  if (ms >= lowest && ms <= kLongestTimeMs) return true;
  *why_not = std::string(what) + " of " + std::to_string(ms) + " ms is not between " + std::to_string(lowest) +
             " and " + std::to_string(kLongestTimeMs) + " ms";
  return false;
}

bool CheckRange(const char* what, double value, double lowest, double highest, const char* unit,
                std::string* why_not) {
  if (std::isfinite(value) && value >= lowest && value <= highest) return true;
  *why_not = std::string(what) + " of " + Number(value) + " " + unit + " is not between " + Number(lowest) +
             " and " + Number(highest) + " " + unit;
  return false;
}

bool CheckOptions(const DigitOptions& options, std::string* why_not) {
  // A digit needs a gap after it: without one, a repeated digit would run into one tone.
  return CheckTime("a tone", options.on_ms, 1, why_not) && CheckTime("a gap", options.off_ms, 1, why_not) &&
         CheckTime("a pause", options.pause_ms, 1, why_not) &&
         (options.system != DigitSystem::Mf || CheckTime("a KP", options.kp_on_ms, 1, why_not)) &&
         (options.level_percent >= 0.0
              ? CheckRange("a level", options.level_percent, 0.0, 100.0, "%", why_not)
              : CheckRange("a low level", options.low_dbm0, kLowestDbm0, kFullScaleSineDbm0, "dBm0", why_not) &&
                    CheckRange("a high level", options.high_dbm0, kLowestDbm0, kFullScaleSineDbm0, "dBm0",
                               why_not)) &&
         CheckRange("a twist", options.twist_db, -kLargestTwistDb, kLargestTwistDb, "dB", why_not) &&
         CheckRange("an offset", options.offset_percent, -kLargestOffsetPercent, kLargestOffsetPercent, "%",
                    why_not);
}

// How far up the plan a frequency lies, 0 at the low end and 1 at the high end: DTMF's
// groups take the low and the high figures, MF's frequencies a slope between them.
double HighShare(DigitSystem system, double hertz) {
  if (system == DigitSystem::Dtmf) return hertz > 1000.0 ? 1.0 : 0.0;
  const std::vector<double>& frequencies = PlanFrequencies(system);
  return (hertz - frequencies.front()) / (frequencies.back() - frequencies.front());
}

PartTone ToneAt(const DigitOptions& options, double nominal_hz) {
  const double share = HighShare(options.system, nominal_hz);
  const double twist_gain = std::pow(10.0, share * options.twist_db / 20.0);
  double percent = options.level_percent;
  if (percent < 0.0) {
    const double dbm0 = options.low_dbm0 + share * (options.high_dbm0 - options.low_dbm0);
    percent = DbfsToPercent(Dbm0ToDbfs(dbm0));
  }
  PartTone tone;
  tone.frequency_hz = std::round(nominal_hz * (1.0 + options.offset_percent / 100.0));
  tone.level_percent = percent * twist_gain;
  return tone;
}

TonePart Silence(int32_t ms) {
  TonePart part;
  part.duration_ms = ms;
  return part;
}

}  // namespace

DigitOptions DefaultDigitOptions(DigitSystem system) {
  DigitOptions options;
  options.system = system;
  if (system == DigitSystem::Mf) {
    options.on_ms = 68;
    options.off_ms = 68;
    options.low_dbm0 = -7.0;
    options.high_dbm0 = -7.0;
  }
  return options;
}

bool DigitsToToneSequence(const std::string& digits, const DigitOptions& options, ToneSequence* sequence,
                          std::string* why_not) {
  std::vector<int> read;
  if (!CheckOptions(options, why_not) || !ReadDigitString(digits, options.system, &read, why_not)) return false;
  const std::vector<PlanDigit>& plan = DigitPlan(options.system);
  ToneSequence built;
  for (int index : read) {
    if (index == kPauseDigit) {
      built.parts.push_back(Silence(options.pause_ms));
      continue;
    }
    const PlanDigit& digit = plan[static_cast<size_t>(index)];
    TonePart part;
    part.tones = {ToneAt(options, digit.low_hz), ToneAt(options, digit.high_hz)};
    part.duration_ms = options.system == DigitSystem::Mf && IsKeyPulse(digit) ? options.kp_on_ms : options.on_ms;
    built.parts.push_back(part);
    built.parts.push_back(Silence(options.off_ms));
  }
  *sequence = built;
  return true;
}
