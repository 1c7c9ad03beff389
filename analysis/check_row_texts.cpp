#include "analysis/check_row_texts.h"

#include <cstdio>
#include <cwchar>

#include "synth/tone_setting.h"

namespace {

std::string Decimal(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The ring pattern's own kind names, which are ASCII.
std::string KindText(int32_t on_off) {
  const wchar_t* wide = StepKindText(on_off);
  return wide == nullptr ? std::string() : std::string(wide, wide + std::wcslen(wide));
}

}  // namespace

std::string SegmentKindName(SegmentKind kind) {
  switch (kind) {
    case SegmentKind::Silent:
      return KindText(Off);
    case SegmentKind::Steady:
      return KindText(On);
    case SegmentKind::RampUp:
      return KindText(RampUp);
    case SegmentKind::RampDown:
      return KindText(RampDown);
  }
  return std::string();
}

std::string StepNumbersText(const ExpectedStep& step) {
  std::string numbers;
  for (size_t i = 0; i < step.setting_steps.size(); ++i) {
    numbers += (i > 0 ? "+" : "") + std::to_string(step.setting_steps[i]);
  }
  return numbers.empty() ? "-" : numbers;
}

std::string HeardLengthText(const StepComparison& step) {
  if (step.occurrences == 0) return "-";
  if (step.duration_measured) return Decimal("%.1f ms", step.measured_ms);
  return Decimal("at least %.1f ms", step.measured_ms);
}

std::string LengthResultText(const StepComparison& step) {
  if (step.occurrences == 0) return "not heard";
  if (!step.kind_ok) return "heard " + SegmentKindName(step.heard_kind);
  if (!step.duration_ok) return Decimal("%+.1f ms", step.worst_error_ms);
  return "ok";
}

std::string ToneResultText(const ToneComparison& tone) {
  if (!tone.expected) return tone.judged ? "extra tone" : "weak extra, not judged";
  if (!tone.heard) return tone.judged ? "missing" : "weak, not heard, not judged";
  if (!tone.judged) return "weak, not judged";
  std::string result;
  if (!tone.frequency_ok) result += Decimal("frequency %+.2f %%", tone.frequency_error_percent);
  if (!tone.level_ok) result += (result.empty() ? "" : ", ") + Decimal("level %+.1f dB", tone.level_error_db);
  return result.empty() ? "ok" : result;
}

std::string ToneSideText(bool present, double hz, double dbfs) {
  if (!present) return "-";
  char text[64];
  std::snprintf(text, sizeof text, "%.2f Hz %.1f dBFS", hz, dbfs);
  return text;
}
