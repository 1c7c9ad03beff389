#include "cli/digit_report.h"

#include "cli/report_text.h"
#include "digits/digit_plan.h"
#include "synth/signal_level.h"

namespace {

std::string Names(const std::vector<HeardDigit>& digits) {
  const std::string names = HeardDigitString(digits);
  return names.empty() ? "none" : names;
}

std::string ExpectedNames(const std::vector<ExpectedDigit>& digits) {
  std::string names;
  for (const ExpectedDigit& digit : digits) names += digit.name;
  return names;
}

const char* VerdictName(DigitVerdict verdict) {
  switch (verdict) {
    case DigitVerdict::Ok: return "ok";
    case DigitVerdict::Wrong: return "wrong digit";
    case DigitVerdict::Missing: return "missing";
    case DigitVerdict::Extra: return "extra";
    case DigitVerdict::Timing: return "timing";
  }
  return "";
}

std::string Result(const DigitCheckRow& row) {
  if (row.verdict != DigitVerdict::Timing) return VerdictName(row.verdict);
  std::string result;
  if (!row.on_ok) result = Format("on %+.1f ms", row.on_difference_ms);
  if (!row.off_ok) result += (result.empty() ? "" : ", ") + Format("off %+.1f ms", row.off_difference_ms);
  return result;
}

std::string CadenceText(const CheckTolerances& tolerances) {
  return tolerances.cadence_in_ms ? Format("%.1f ms", tolerances.cadence_ms)
                                  : Format("%.1f %% (at least %.0f ms)", tolerances.cadence_percent,
                                           tolerances.cadence_floor_ms);
}

}  // namespace

std::string FormatDigitsText(const std::vector<HeardDigit>& digits) {
  std::string out = Format("Digits:             %s\n", Names(digits).c_str());
  if (digits.empty()) return out;
  out += Format("  %-6s %-6s %-10s %-10s %-30s %-30s %s\n", "Digit", "System", "Start", "Duration", "Low tone",
                "High tone", "Twist");
  for (const HeardDigit& digit : digits) {
    const std::string low = Format("%.2f Hz %+.2f %% %.1f dBm0", digit.low_hz, digit.low_deviation_percent,
                                   DbfsToDbm0(digit.low_dbfs));
    const std::string high = Format("%.2f Hz %+.2f %% %.1f dBm0", digit.high_hz, digit.high_deviation_percent,
                                    DbfsToDbm0(digit.high_dbfs));
    out += Format("  %-6s %-6s %-10s %-10s %-30s %-30s %+.1f dB\n", digit.name.c_str(), DigitSystemName(digit.system),
                  Format("%.3f s", digit.start_ms / 1000.0).c_str(), Format("%.1f ms", digit.duration_ms).c_str(),
                  low.c_str(), high.c_str(), digit.twist_db);
  }
  return out;
}

JsonValue DigitsJson(const std::vector<HeardDigit>& digits) {
  JsonValue heard = JsonValue::array();
  for (const HeardDigit& digit : digits) {
    heard.push_back({{"digit", digit.name},
                     {"system", DigitSystemName(digit.system)},
                     {"start_ms", JsonFixed(digit.start_ms, 1)},
                     {"duration_ms", JsonFixed(digit.duration_ms, 1)},
                     {"low_hz", JsonFixed(digit.low_hz, 2)},
                     {"low_deviation_percent", JsonFixed(digit.low_deviation_percent, 3)},
                     {"low_dbfs", JsonFixed(digit.low_dbfs, 2)},
                     {"low_dbm0", JsonFixed(DbfsToDbm0(digit.low_dbfs), 2)},
                     {"high_hz", JsonFixed(digit.high_hz, 2)},
                     {"high_deviation_percent", JsonFixed(digit.high_deviation_percent, 3)},
                     {"high_dbfs", JsonFixed(digit.high_dbfs, 2)},
                     {"high_dbm0", JsonFixed(DbfsToDbm0(digit.high_dbfs), 2)},
                     {"twist_db", JsonFixed(digit.twist_db, 2)}});
  }
  return {{"string", HeardDigitString(digits)}, {"heard", heard}};
}

std::string FormatDigitCheckText(const std::string& recording_path, const std::string& setting_path,
                                 const CheckTolerances& tolerances, const std::vector<ExpectedDigit>& expected,
                                 const std::vector<HeardDigit>& heard, const DigitCheck& check) {
  std::string out = "Recording:  " + recording_path + "\n";
  out += "Setting:    " + setting_path +
         Format(" (%s digits %s)\n", DigitSystemName(expected.front().system), ExpectedNames(expected).c_str());
  out += "Heard:      " + Names(heard) + "\n";
  out += "Tolerances: cadence " + CadenceText(tolerances) + "\n";
  out += Format("  %-4s %-9s %-6s %-20s %-20s %s\n", "#", "Expected", "Heard", "On (expected/heard)",
                "Off (expected/heard)", "Result");
  int number = 0;
  for (const DigitCheckRow& row : check.rows) {
    const ExpectedDigit* sent = row.expected >= 0 ? &expected[static_cast<size_t>(row.expected)] : nullptr;
    const HeardDigit* got = row.heard >= 0 ? &heard[static_cast<size_t>(row.heard)] : nullptr;
    const std::string on = Format("%s / %s", sent ? Format("%.0f", sent->on_ms).c_str() : "-",
                                  got ? Format("%.1f ms", row.heard_on_ms).c_str() : "-");
    const std::string off = Format("%s / %s", sent ? Format("%.0f", sent->off_ms).c_str() : "-",
                                   row.heard_off_ms >= 0.0 ? Format("%.1f ms", row.heard_off_ms).c_str() : "-");
    out += Format("  %-4d %-9s %-6s %-20s %-20s %s\n", ++number, sent ? sent->name.c_str() : "-",
                  got ? got->name.c_str() : "-", on.c_str(), off.c_str(), Result(row).c_str());
  }
  return out + (check.pass ? "PASS\n" : "FAIL\n");
}

std::string FormatDigitCheckJson(const std::string& recording_path, const std::string& setting_path,
                                 const CheckTolerances& tolerances, const std::vector<ExpectedDigit>& expected,
                                 const std::vector<HeardDigit>& heard, const DigitCheck& check) {
  JsonValue rows = JsonValue::array();
  for (const DigitCheckRow& row : check.rows) {
    JsonValue json = {
        {"expected", row.expected >= 0 ? JsonValue(expected[static_cast<size_t>(row.expected)].name) : JsonValue()},
        {"heard", row.heard >= 0 ? JsonValue(heard[static_cast<size_t>(row.heard)].name) : JsonValue()},
        {"on_difference_ms", row.expected >= 0 && row.heard >= 0 ? JsonFixed(row.on_difference_ms, 1) : JsonValue()},
        {"off_difference_ms", row.expected >= 0 && row.heard_off_ms >= 0.0 ? JsonFixed(row.off_difference_ms, 1)
                                                                            : JsonValue()},
        {"verdict", VerdictName(row.verdict)},
        {"result", row.verdict == DigitVerdict::Ok ? "ok" : "fail"}};
    rows.push_back(json);
  }
  JsonValue cadence = tolerances.cadence_in_ms
                          ? JsonValue{{"cadence_ms", JsonFixed(tolerances.cadence_ms, 3)}}
                          : JsonValue{{"cadence_percent", JsonFixed(tolerances.cadence_percent, 3)},
                                      {"cadence_at_least_ms", JsonFixed(tolerances.cadence_floor_ms, 3)}};
  JsonValue report = {{"recording", recording_path},
                      {"setting", setting_path},
                      {"result", check.pass ? "PASS" : "FAIL"},
                      {"system", DigitSystemName(expected.front().system)},
                      {"expected", ExpectedNames(expected)},
                      {"heard", DigitsJson(heard)},
                      {"tolerances", cadence},
                      {"rows", rows}};
  return PrintJsonLine(report);
}
