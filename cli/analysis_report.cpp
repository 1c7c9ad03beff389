#include "cli/analysis_report.h"

#include "analysis/heard_tone_string.h"
#include "cli/digit_report.h"
#include "cli/json_report.h"
#include "cli/report_text.h"
#include "tonestring/tone_string_formatter.h"
#include "synth/signal_level.h"
#include "synth/tone_setting.h"

namespace {

std::string DurationText(double ms, bool known) {
  return known ? Format("%.1f ms", ms) : Format("at least %.1f ms", ms);
}

std::string ToneText(const TonePeak& tone) {
  return Format("%.2f Hz  %.1f dBFS  %.1f dBm0", tone.frequency, tone.level_dbfs, DbfsToDbm0(tone.level_dbfs));
}

JsonValue TonesJson(const std::vector<TonePeak>& tones) {
  JsonValue out = JsonValue::array();
  for (const TonePeak& tone : tones) {
    out.push_back({{"frequency_hz", JsonFixed(tone.frequency, 3)}, {"level_dbfs", JsonFixed(tone.level_dbfs, 2)},
                   {"level_dbm0", JsonFixed(DbfsToDbm0(tone.level_dbfs), 2)}});
  }
  return out;
}

std::string ChannelText(const Recording& recording) {
  return recording.channels > 1 ? Format(" (channel %d of %d)", recording.channel, recording.channels) : std::string();
}

// The tone string heard, or empty with why not.
std::string HeardToneString(const RecordingAnalysis& analysis, std::string* why_not) {
  HeardTone heard;
  return DescribeHeardTone(analysis, &heard, why_not) ? FormatToneString(heard.sequence) : std::string();
}

JsonValue CutJson(const Segment& segment) {
  if (segment.cut_at_start && segment.cut_at_end) return "both";
  if (segment.cut_at_start) return "start";
  if (segment.cut_at_end) return "end";
  return nullptr;
}

}  // namespace

std::string FormatAnalysisText(const std::string& recording_path, const Recording& recording,
                               const RecordingAnalysis& analysis, const std::vector<HeardDigit>& digits) {
  std::string out;
  out += "Recording:          " + recording_path + "\n";
  out += Format("Sampling frequency: %d Hz%s\n", analysis.sampling_frequency, ChannelText(recording).c_str());
  out += Format("Duration:           %.3f s\n", analysis.duration_ms / 1000.0);
  if (analysis.has_silence) out += Format("Background:         %.1f dBFS\n", analysis.background_dbfs);
  const Cycle& cycle = analysis.cycle;
  if (cycle.repeats) {
    size_t heard = cycle.steps.empty() ? 0 : cycle.steps.front().occurrences;
    out += Format("Cycle:              %.1f ms, heard %d times, %d of them whole\n", cycle.duration_ms,
                  static_cast<int>(heard), static_cast<int>(cycle.complete_cycles));
  } else {
    out += "Cycle:              none repeats; the segments as heard\n";
  }
  if (!analysis.other_cycles.empty()) {
    std::string spans;
    for (const TimeSpan& span : analysis.other_cycles) {
      spans += Format("%s%.1f-%.1f s", spans.empty() ? "" : ", ", span.start_ms / 1000.0, span.end_ms / 1000.0);
    }
    out += "Other cycles in:    " + spans + "\n";
  }
  std::string why_not;
  std::string tone_string = HeardToneString(analysis, &why_not);
  out += "Tone string:        " + (tone_string.empty() ? "none: " + why_not : tone_string) + "\n";
  out += "  Step  Kind         Duration            Tones\n";
  for (size_t i = 0; i < analysis.steps.size(); ++i) {
    const HeardStep& step = analysis.steps[i];
    std::string head = Format("  %4d  %-12s %-19s ", static_cast<int>(i + 1), SegmentKindName(step.kind).c_str(),
                              DurationText(step.duration_ms, step.duration_known).c_str());
    if (step.tones.empty()) {
      out += head.substr(0, head.find_last_not_of(' ') + 1) + "\n";
      continue;
    }
    for (size_t t = 0; t < step.tones.size(); ++t) {
      out += (t == 0 ? head : std::string(head.size(), ' ')) + ToneText(step.tones[t]) + "\n";
    }
  }
  if (!analysis.background_tones.empty()) {
    out += "Background tones (heard in the silences, left out above):\n";
    for (const TonePeak& tone : analysis.background_tones) out += "  " + ToneText(tone) + "\n";
  }
  return out + FormatDigitsText(digits);
}

std::string FormatAnalysisJson(const std::string& recording_path, const Recording& recording,
                               const RecordingAnalysis& analysis, const std::vector<HeardDigit>& digits) {
  const int32_t rate = analysis.sampling_frequency;
  JsonValue steps = JsonValue::array();
  for (const HeardStep& step : analysis.steps) {
    steps.push_back({{"kind", SegmentKindName(step.kind)}, {"duration_ms", JsonFixed(step.duration_ms, 3)},
                     {"duration_known", step.duration_known}, {"occurrences", step.occurrences},
                     {"tones", TonesJson(step.tones)}});
  }
  JsonValue segments = JsonValue::array();
  for (const Segment& segment : analysis.segments) {
    segments.push_back({{"kind", SegmentKindName(segment.kind)},
                        {"start_ms", JsonFixed(segment.start * 1000.0 / rate, 3)},
                        {"duration_ms", JsonFixed(SegmentMs(segment, rate), 3)}, {"cut", CutJson(segment)}});
  }
  JsonValue other_cycles = JsonValue::array();
  for (const TimeSpan& span : analysis.other_cycles) {
    other_cycles.push_back({{"start_s", JsonFixed(span.start_ms / 1000.0, 3)}, {"end_s", JsonFixed(span.end_ms / 1000.0, 3)}});
  }
  std::string why_not;
  const std::string tone_string = HeardToneString(analysis, &why_not);
  JsonValue report = {
      {"recording", recording_path},
      {"sampling_frequency", rate},
      {"channels", recording.channels},
      {"channel", recording.channel},
      {"duration_ms", JsonFixed(analysis.duration_ms, 3)},
      {"background_dbfs", analysis.has_silence ? JsonFixed(analysis.background_dbfs, 2) : JsonValue()},
      {"background_tones", TonesJson(analysis.background_tones)},
      {"tone_string", tone_string.empty() ? JsonValue() : JsonValue(tone_string)},
      {"tone_string_why_not", tone_string.empty() ? JsonValue(why_not) : JsonValue()},
      {"cycle",
       {{"repeats", analysis.cycle.repeats},
        {"duration_ms", JsonFixed(analysis.cycle.duration_ms, 3)},
        {"whole_cycles", analysis.cycle.complete_cycles},
        {"steps", steps},
        {"other_cycles", other_cycles}}},
      {"segments", segments},
      {"digits", DigitsJson(digits)},
  };
  return PrintJsonLine(report);
}
