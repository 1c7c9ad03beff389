#include "editor/recording_check.h"

#include "analysis/analyze_recording.h"
#include "analysis/recording_blocks.h"
#include "analysis/check_row_texts.h"
#include "analysis/expected_cycle.h"
#include "cli/check_report.h"
#include "cli/report_text.h"
#include "editor/main_window_texts.h"

namespace {

std::wstring Problem(const std::wstring& english, const std::wstring& japanese, int32_t language) {
  return language == 1 ? japanese : english;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The rest of the report's line that starts with label ("Tolerances: ").
std::string ReportLine(const std::string& report, const std::string& label) {
  const size_t start = report.find("\n" + label);
  if (start == std::string::npos) return std::string();
  const size_t text = start + 1 + label.size();
  return report.substr(text, report.find('\n', text) - text);
}

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
  RecordingFile file;
  std::string reason;
  RecordingProblem problem = file.Open(recording_path.wstring().c_str(), RecordingEncodingFor(recording_path),
                                       setting.sampling_frequency, 1, &reason);
  const CheckTolerances tolerances;
  CheckResult result;
  if (problem == RecordingProblem::None) problem = CheckInBlocks(file, expected, tolerances, &result, &reason);
  if (problem != RecordingProblem::None) {
    check.problem = Problem(name + L" cannot be checked: " + Widen(reason),
                            name + L" を確認できません: " + Widen(reason), language);
    return check;
  }
  if (!result.heard_tone) {
    check.problem = Problem(L"No tone was heard in " + name + L".", name + L" にトーンが聞こえません。", language);
    return check;
  }
  // The report is the one `sonaril-cli check` prints; the dialog shows its lines apart.
  check.report = FormatCheckText(recording_path.filename().u8string(), setting_name, tolerances, result);
  check.pass = result.pass;
  const size_t last_line = check.report.rfind('\n', check.report.size() - 2) + 1;
  check.verdict = Widen(check.report.substr(last_line, check.report.size() - 1 - last_line));
  check.tolerances = ReportLine(check.report, "Tolerances: ");
  check.levels = ReportLine(check.report, "Levels:     ");
  check.rows = CheckRows(result);
  return check;
}
