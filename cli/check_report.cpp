#include "cli/check_report.h"

#include <cmath>

#include "cli/analysis_report.h"
#include "cli/report_text.h"

namespace {

std::string StepNumbers(const ExpectedStep& step) {
  std::string numbers;
  for (size_t i = 0; i < step.setting_steps.size(); ++i) {
    numbers += (i > 0 ? "+" : "") + std::to_string(step.setting_steps[i]);
  }
  return numbers.empty() ? "-" : numbers;
}

std::string ExpectedLength(const StepComparison& step) {
  return step.expected.continuous ? "continuous" : Format("%.1f ms", step.expected.duration_ms);
}

std::string HeardLength(const StepComparison& step) {
  if (step.occurrences == 0) return "-";
  if (step.duration_measured) return Format("%.1f ms", step.measured_ms);
  return Format("at least %.1f ms", step.measured_ms);
}

std::string LengthResult(const StepComparison& step) {
  if (step.occurrences == 0) return "not heard";
  if (!step.kind_ok) return "heard " + SegmentKindName(step.heard_kind);
  if (!step.duration_ok) return Format("%+.1f ms", step.worst_error_ms);
  return "ok";
}

std::string ToneResult(const ToneComparison& tone) {
  if (!tone.expected) return tone.judged ? "extra tone" : "weak extra, not judged";
  if (!tone.heard) return tone.judged ? "missing" : "weak, not heard, not judged";
  if (!tone.judged) return "weak, not judged";
  std::string result;
  if (!tone.frequency_ok) result += Format("frequency %+.2f %%", tone.frequency_error_percent);
  if (!tone.level_ok) result += (result.empty() ? "" : ", ") + Format("level %+.1f dB", tone.level_error_db);
  return result.empty() ? "ok" : result;
}

std::string ToneSide(bool present, double hz, double dbfs) {
  return present ? Format("%.2f Hz %.1f dBFS", hz, dbfs) : "-";
}

std::string ToneResultJson(const ToneComparison& tone) {
  if (!tone.expected) return "extra";
  if (!tone.heard) return "missing";
  return tone.frequency_ok && tone.level_ok ? "ok" : "off";
}

std::string NumberOrNull(bool present, const char* format, double value) {
  return present ? Format(format, value) : "null";
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
    out += Format("  %-6s %-12s %-23s %-23s %s\n", StepNumbers(step.expected).c_str(),
                  SegmentKindName(step.expected.kind).c_str(), ExpectedLength(step).c_str(), HeardLength(step).c_str(),
                  LengthResult(step).c_str());
    for (const ToneComparison& tone : step.tones) {
      out += Format("  %-6s %-12s %-23s %-23s %s\n", "", "",
                    ToneSide(tone.expected, tone.expected_hz, tone.expected_dbfs).c_str(),
                    ToneSide(tone.heard, tone.heard_hz, tone.heard_dbfs).c_str(), ToneResult(tone).c_str());
    }
  }
  out += result.pass ? "PASS\n" : "FAIL\n";
  return out;
}

std::string FormatCheckJson(const std::string& recording_path, const std::string& setting_path,
                            const CheckTolerances& tolerances, const CheckResult& result) {
  std::string out = "{";
  out += "\"recording\": " + JsonString(recording_path) + ", \"setting\": " + JsonString(setting_path);
  out += Format(", \"result\": \"%s\", \"heard_tone\": %s", result.pass ? "PASS" : "FAIL",
                result.heard_tone ? "true" : "false");
  out += Format(", \"levels\": \"%s\", \"gain_db\": %.2f", tolerances.absolute_levels ? "absolute" : "relative",
                result.gain_db);
  out += Format(", \"tolerances\": {\"frequency_percent\": %.3f, ", tolerances.frequency_percent);
  if (tolerances.cadence_in_ms) {
    out += Format("\"cadence_ms\": %.3f, ", tolerances.cadence_ms);
  } else {
    out += Format("\"cadence_percent\": %.3f, \"cadence_at_least_ms\": %.3f, ", tolerances.cadence_percent,
                  tolerances.cadence_floor_ms);
  }
  out += Format("\"level_db\": %.3f}, \"steps\": [", tolerances.level_db);
  for (size_t i = 0; i < result.steps.size(); ++i) {
    const StepComparison& step = result.steps[i];
    if (i > 0) out += ", ";
    out += "{\"setting_steps\": [";
    for (size_t n = 0; n < step.expected.setting_steps.size(); ++n) {
      out += (n > 0 ? ", " : "") + std::to_string(step.expected.setting_steps[n]);
    }
    out += "], \"kind\": " + JsonString(SegmentKindName(step.expected.kind));
    out += Format(", \"expected_ms\": %.3f, \"continuous\": %s, \"occurrences\": %d", step.expected.duration_ms,
                  step.expected.continuous ? "true" : "false", static_cast<int>(step.occurrences));
    out += ", \"heard_ms\": " + NumberOrNull(step.occurrences > 0, "%.3f", step.measured_ms);
    out += Format(", \"duration_measured\": %s, \"duration_difference_ms\": %.3f", step.duration_measured ? "true" : "false",
                  step.worst_error_ms);
    out += ", \"duration\": " + JsonString(LengthResult(step));
    out += Format(", \"result\": \"%s\", \"tones\": [", step.ok ? "ok" : "fail");
    for (size_t t = 0; t < step.tones.size(); ++t) {
      const ToneComparison& tone = step.tones[t];
      if (t > 0) out += ", ";
      out += "{\"expected_hz\": " + NumberOrNull(tone.expected, "%.3f", tone.expected_hz);
      out += ", \"expected_dbfs\": " + NumberOrNull(tone.expected, "%.2f", tone.expected_dbfs);
      out += ", \"heard_hz\": " + NumberOrNull(tone.heard, "%.3f", tone.heard_hz);
      out += ", \"heard_dbfs\": " + NumberOrNull(tone.heard, "%.2f", tone.heard_dbfs);
      bool both = tone.expected && tone.heard;
      out += ", \"frequency_difference_percent\": " + NumberOrNull(both, "%.4f", tone.frequency_error_percent);
      out += ", \"level_difference_db\": " + NumberOrNull(both, "%.2f", tone.level_error_db);
      out += Format(", \"judged\": %s, \"result\": \"%s\"}", tone.judged ? "true" : "false",
                    ToneResultJson(tone).c_str());
    }
    out += "]}";
  }
  out += "]}\n";
  return out;
}
