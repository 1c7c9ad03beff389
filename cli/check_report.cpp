#include "cli/check_report.h"

#include <cmath>

#include "cli/analysis_report.h"
#include "cli/json_report.h"
#include "cli/report_text.h"

namespace {

std::string ExpectedLength(const StepComparison& step) {
  return step.expected.continuous ? "continuous" : Format("%.1f ms", step.expected.duration_ms);
}

std::string ToneResultJson(const ToneComparison& tone) {
  if (!tone.expected) return "extra";
  if (!tone.heard) return "missing";
  return tone.frequency_ok && tone.level_ok ? "ok" : "off";
}

JsonValue FixedOrNull(bool present, double value, int decimals) {
  return present ? JsonFixed(value, decimals) : JsonValue();
}

// PASS, FAIL, or what the recording lacks to be judged.
std::string Verdict(const CheckResult& result) {
  if (result.pass) return "PASS";
  if (!result.too_short) return "FAIL";
  return "too short to judge: record at least " + std::to_string(result.needed_seconds) + " s";
}

}  // namespace

std::string FormatCheckText(const std::string& recording_path, const std::string& setting_path,
                            const CheckTolerances& tolerances, const CheckResult& result) {
  std::string out;
  out += "Recording:  " + recording_path + "\n";
  out += "Setting:    " + setting_path + "\n";
  std::string cadence = tolerances.cadence_in_ms
                            ? Format("%.1f ms", tolerances.cadence_ms)
                            : Format("%.1f %% (at least %.0f ms)", tolerances.cadence_percent, tolerances.cadence_floor_ms);
  out += Format("Tolerances: frequency %.2f %%, cadence %s, level %.1f dB\n", tolerances.frequency_percent,
                cadence.c_str(), tolerances.level_db);
  if (tolerances.absolute_levels) {
    out += "Levels:     absolute, in dBFS as recorded\n";
  } else {
    // Rounded first, so that a gain of a few hundredths is not shown as -0.0.
    double gain = std::round(result.gain_db * 10.0) / 10.0;
    out += Format("Levels:     relative to the loudest tone (the recording is %+.1f dB from the setting)\n",
                  gain == 0.0 ? 0.0 : gain);
  }
  if (!result.heard_tone) out += "No tone was heard in the recording.\n";
  out += "  Step   Kind         Expected                Heard                   Result\n";
  for (const StepComparison& step : result.steps) {
    out += Format("  %-6s %-12s %-23s %-23s %s\n", StepNumbersText(step.expected).c_str(),
                  SegmentKindName(step.expected.kind).c_str(), ExpectedLength(step).c_str(), HeardLengthText(step).c_str(),
                  LengthResultText(step).c_str());
    for (const ToneComparison& tone : step.tones) {
      out += Format("  %-6s %-12s %-23s %-23s %s\n", "", "",
                    ToneSideText(tone.expected, tone.expected_hz, tone.expected_dbfs).c_str(),
                    ToneSideText(tone.heard, tone.heard_hz, tone.heard_dbfs).c_str(), ToneResultText(tone).c_str());
    }
  }
  out += Verdict(result) + "\n";
  return out;
}

std::string FormatCheckJson(const std::string& recording_path, const std::string& setting_path,
                            const CheckTolerances& tolerances, const CheckResult& result) {
  JsonValue limits = {{"frequency_percent", JsonFixed(tolerances.frequency_percent, 3)}};
  if (tolerances.cadence_in_ms) {
    limits["cadence_ms"] = JsonFixed(tolerances.cadence_ms, 3);
  } else {
    limits["cadence_percent"] = JsonFixed(tolerances.cadence_percent, 3);
    limits["cadence_at_least_ms"] = JsonFixed(tolerances.cadence_floor_ms, 3);
  }
  limits["level_db"] = JsonFixed(tolerances.level_db, 3);
  JsonValue steps = JsonValue::array();
  for (const StepComparison& step : result.steps) {
    JsonValue tones = JsonValue::array();
    for (const ToneComparison& tone : step.tones) {
      const bool both = tone.expected && tone.heard;
      tones.push_back({{"expected_hz", FixedOrNull(tone.expected, tone.expected_hz, 3)},
                       {"expected_dbfs", FixedOrNull(tone.expected, tone.expected_dbfs, 2)},
                       {"heard_hz", FixedOrNull(tone.heard, tone.heard_hz, 3)},
                       {"heard_dbfs", FixedOrNull(tone.heard, tone.heard_dbfs, 2)},
                       {"frequency_difference_percent", FixedOrNull(both, tone.frequency_error_percent, 4)},
                       {"level_difference_db", FixedOrNull(both, tone.level_error_db, 2)},
                       {"judged", tone.judged},
                       {"result", ToneResultJson(tone)}});
    }
    steps.push_back({{"setting_steps", step.expected.setting_steps},
                     {"kind", SegmentKindName(step.expected.kind)},
                     {"expected_ms", JsonFixed(step.expected.duration_ms, 3)},
                     {"continuous", step.expected.continuous},
                     {"occurrences", step.occurrences},
                     {"heard_ms", FixedOrNull(step.occurrences > 0, step.measured_ms, 3)},
                     {"duration_measured", step.duration_measured},
                     {"duration_difference_ms", JsonFixed(step.worst_error_ms, 3)},
                     {"duration", LengthResultText(step)},
                     {"result", step.ok ? "ok" : "fail"},
                     {"tones", tones}});
  }
  JsonValue report = {
      {"recording", recording_path},
      {"setting", setting_path},
      {"result", result.pass ? "PASS" : (result.too_short ? "TOO SHORT" : "FAIL")},
      {"record_at_least_s", result.too_short ? JsonValue(result.needed_seconds) : JsonValue()},
      {"heard_tone", result.heard_tone},
      {"levels", tolerances.absolute_levels ? "absolute" : "relative"},
      {"gain_db", JsonFixed(result.gain_db, 2)},
      {"tolerances", limits},
      {"steps", steps},
  };
  return PrintJsonLine(report);
}
