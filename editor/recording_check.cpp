#include "editor/recording_check.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "analysis/analyze_recording.h"
#include "analysis/check_row_texts.h"
#include "analysis/expected_cycle.h"
#include "editor/main_window_texts.h"

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[256];
  va_list arguments;
  va_start(arguments, format);
  const int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  return written < 0 ? std::string() : std::string(buffer);
}

std::string LevelsText(const CheckTolerances& tolerances, const CheckResult& result) {
  if (tolerances.absolute_levels) return "absolute, in dBFS as recorded";
  // Rounded first, so that a gain of a few hundredths is not shown as -0.0.
  const double gain = std::round(result.gain_db * 10.0) / 10.0;
  return Format("relative to the loudest tone (the recording is %+.1f dB from the setting)", gain == 0.0 ? 0.0 : gain);
}

std::wstring Problem(const std::wstring& english, const std::wstring& japanese, int32_t language) {
  return language == 1 ? japanese : english;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

RecordingEncoding RecordingEncodingFor(const std::filesystem::path& recording) {
  std::string extension = recording.extension().u8string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == ".ul" || extension == ".mu" || extension == ".mulaw" || extension == ".ulaw") {
    return RecordingEncoding::MuLaw;
  }
  if (extension == ".al" || extension == ".alaw") return RecordingEncoding::ALaw;
  return RecordingEncoding::Wave;
}

std::vector<CheckRow> CheckRows(const CheckResult& result) {
  std::vector<CheckRow> rows;
  for (const StepComparison& step : result.steps) {
    const std::string expected = step.expected.continuous ? "continuous" : Format("%.1f ms", step.expected.duration_ms);
    const std::string length = LengthResultText(step);
    rows.push_back({StepNumbersText(step.expected), SegmentKindName(step.expected.kind), expected, HeardLengthText(step), length,
                    length == "ok"});
    for (const ToneComparison& tone : step.tones) {
      rows.push_back({"", "", ToneSideText(tone.expected, tone.expected_hz, tone.expected_dbfs),
                      ToneSideText(tone.heard, tone.heard_hz, tone.heard_dbfs), ToneResultText(tone), tone.ok});
    }
  }
  return rows;
}

std::string TolerancesText(const CheckTolerances& tolerances) {
  const std::string cadence = tolerances.cadence_in_ms
                                  ? Format("%.1f ms", tolerances.cadence_ms)
                                  : Format("%.1f %% (at least %.0f ms)", tolerances.cadence_percent,
                                           tolerances.cadence_floor_ms);
  return Format("frequency %.2f %%, cadence %s, level %.1f dB", tolerances.frequency_percent, cadence.c_str(),
                tolerances.level_db);
}

RecordingCheck CheckRecording(ToneSetting& setting, const std::string& setting_name,
                              const std::filesystem::path& recording_path, int32_t language) {
  RecordingCheck check;
  const std::wstring name = recording_path.filename().wstring();
  ExpectedCycle expected;
  const SynthesisRefusal refusal = BuildExpectedCycle(setting, &expected);
  if (refusal != SynthesisRefusal::None) {
    check.problem = RefusalText(refusal, language);
    return check;
  }
  Recording recording;
  std::string reason;
  if (ReadRecording(recording_path.wstring().c_str(), RecordingEncodingFor(recording_path),
                    setting.sampling_frequency, 1, &recording, &reason) != RecordingProblem::None) {
    check.problem = Problem(name + L" cannot be checked: " + Widen(reason),
                            name + L" を確認できません: " + Widen(reason), language);
    return check;
  }
  RecordingAnalysis analysis;
  if (!AnalyzeRecording(recording.samples.data(), static_cast<int64_t>(recording.samples.size()),
                        recording.sampling_frequency, &analysis)) {
    check.problem = Problem(name + L" is too large to analyse in memory.",
                            name + L" は大きすぎて解析できません。", language);
    return check;
  }
  const CheckTolerances tolerances;
  const CheckResult result = CompareWithExpected(expected, recording.samples.data(), analysis, tolerances);
  if (!result.heard_tone) {
    check.problem = Problem(L"No tone was heard in " + name + L".", name + L" にトーンが聞こえません。", language);
    return check;
  }
  check.pass = result.pass;
  check.verdict = result.pass        ? L"PASS"
                  : result.too_short ? L"too short to judge: record at least " + std::to_wstring(result.needed_seconds) + L" s"
                                     : L"FAIL";
  check.tolerances = TolerancesText(tolerances);
  check.levels = LevelsText(tolerances, result);
  check.rows = CheckRows(result);
  std::string& out = check.report;
  out = "Recording:  " + recording_path.filename().u8string() + "\n";
  out += "Setting:    " + setting_name + "\n";
  out += "Tolerances: " + check.tolerances + "\n";
  out += "Levels:     " + check.levels + "\n";
  out += "  Step   Kind         Expected                Heard                   Result\n";
  for (const CheckRow& row : check.rows) {
    out += Format("  %-6s %-12s %-23s %-23s %s\n", row.step.c_str(), row.kind.c_str(), row.expected.c_str(),
                  row.heard.c_str(), row.result.c_str());
  }
  out += std::string(check.verdict.begin(), check.verdict.end()) + "\n";
  return check;
}
