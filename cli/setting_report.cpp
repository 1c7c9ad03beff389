#include "cli/setting_report.h"

#include "cli/json_report.h"
#include "cli/report_text.h"
#include "synth/number_parsing.h"
#include "synth/sampling_frequencies.h"
#include "synth/signal_level.h"
#include "synth/synthesis_validation.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"

namespace {

std::string WaveTypeName(int32_t type) {
  std::string text = Utf8(WaveTypeText(type, 0));
  return text.empty() ? Format("type %d (sine)", type) : text;
}

std::string EndText(int32_t end_time) {
  return end_time < 0 ? std::string("none") : Format("%d ms", end_time);
}

// A level's peak in dBFS; a negative level is the same sine upside down.
double LevelDbfs(int32_t level) { return PercentToDbfs(level < 0 ? -double(level) : double(level)); }

std::string LevelText(int32_t level) {
  if (level == 0) return "level 0% (silent)";
  const double dbfs = LevelDbfs(level);
  return Format("level %d%% (%.2f dBFS, %.2f dBm0)", level, dbfs, DbfsToDbm0(dbfs));
}

// The tone string, or empty with *why_not set.
std::string ToneStringOf(const ToneSetting& setting, std::string* why_not) {
  ToneSequence sequence;
  if (!ReadToneSequence(setting, &sequence, why_not)) return std::string();
  return FormatToneString(sequence);
}

}  // namespace

std::string UnsupportedFrequencyReason(int32_t hertz) {
  return Format("The sampling frequency %d Hz is not one of %s.", hertz, OfferedSamplingFrequenciesText().c_str());
}

SettingFacts InspectSetting(const ToneSetting& setting) {
  SettingFacts facts;
  int32_t hertz = setting.sampling_frequency;
  facts.repeat_used = ClampRepeat(setting.repeat);
  facts.fade_samples = setting.fade > 0 ? hertz / setting.fade : 1;
  facts.sampling_frequency_offered = IsOfferedSamplingFrequency(hertz);
  if (!facts.sampling_frequency_offered) {
    facts.reason = UnsupportedFrequencyReason(hertz);
    return facts;
  }
  SynthesisRefusal refusal = ValidateForSynthesis(setting, hertz, facts.repeat_used);
  if (refusal != SynthesisRefusal::None) {
    facts.reason = DescribeRefusal(refusal);
    return facts;
  }
  facts.can_synthesise = true;
  facts.sample_count =
      (static_cast<int64_t>(setting.pattern_total) * hertz * facts.repeat_used + 999) / 1000;
  facts.duration_seconds = static_cast<double>(facts.sample_count) / hertz;
  return facts;
}

std::string FormatSettingText(const std::string& setting_path, const ToneSetting& setting,
                              const SettingFacts& facts) {
  std::string out;
  out += "File:               " + setting_path + "\n";
  out += Format("Sampling frequency: %d Hz%s\n", setting.sampling_frequency,
                facts.sampling_frequency_offered ? "" : " (not offered)");
  if (facts.repeat_used != setting.repeat) {
    out += Format("Repeat:             %d (used as %d)\n", setting.repeat, facts.repeat_used);
  } else {
    out += Format("Repeat:             %d\n", setting.repeat);
  }
  out += Format("Fade:               %d /s (%d samples)\n", setting.fade, facts.fade_samples);
  out += Format("Filter:             %s\n", setting.filter_on ? "on" : "off");
  out += Format("Pattern total:      %d ms\n", setting.pattern_total);
  out += Format("Steps:              %d\n", setting.StepCount());
  int index = 1;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    out += Format("  %2d  %-12s %8d ms%s\n", index++, StepKindName(step->on_off).c_str(),
                  step->time, step->is_fade ? "  fade in/out" : "");
  }
  out += Format("Tones:              %d\n", setting.ToneCount());
  index = 1;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    out += Format("  %2d  %-14s %6d Hz  phase %d  start %d ms  end %s  %s\n", index++,
                  WaveTypeName(tone->type).c_str(), tone->frequency, tone->phase,
                  tone->start_time, EndText(tone->end_time).c_str(), LevelText(tone->level).c_str());
  }
  std::string why_not;
  const std::string tone_string = ToneStringOf(setting, &why_not);
  out += tone_string.empty() ? "Tone string:        none: " + why_not + "\n"
                             : "Tone string:        " + tone_string + "\n";
  if (facts.can_synthesise) {
    out += Format("Samples:            %lld\n", static_cast<long long>(facts.sample_count));
    out += Format("Duration:           %.3f s\n", facts.duration_seconds);
    out += "Can be synthesised: yes\n";
  } else {
    out += "Can be synthesised: no: " + facts.reason + "\n";
  }
  return out;
}

std::string FormatSettingJson(const std::string& setting_path, const ToneSetting& setting,
                              const SettingFacts& facts) {
  JsonValue steps = JsonValue::array();
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    steps.push_back({{"on_off", step->on_off}, {"kind", StepKindName(step->on_off)}, {"time_ms", step->time},
                     {"is_fade", step->is_fade != 0}});
  }
  JsonValue tones = JsonValue::array();
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    const bool silent = tone->level == 0;
    const double dbfs = silent ? 0.0 : LevelDbfs(tone->level);
    tones.push_back({{"type", tone->type}, {"wave", WaveTypeName(tone->type)}, {"frequency_hz", tone->frequency},
                     {"phase_degrees", tone->phase}, {"start_time_ms", tone->start_time},
                     {"end_time_ms", tone->end_time}, {"level_percent", tone->level},
                     {"level_dbfs", silent ? JsonValue() : JsonFixed(dbfs, 2)},
                     {"level_dbm0", silent ? JsonValue() : JsonFixed(DbfsToDbm0(dbfs), 2)}});
  }
  std::string why_not;
  const std::string tone_string = ToneStringOf(setting, &why_not);
  JsonValue report = {
      {"file", setting_path},
      {"sampling_frequency", setting.sampling_frequency},
      {"sampling_frequency_offered", facts.sampling_frequency_offered},
      {"repeat", setting.repeat},
      {"repeat_used", facts.repeat_used},
      {"fade", setting.fade},
      {"fade_samples", facts.fade_samples},
      {"filter_on", setting.filter_on != 0},
      {"pattern_total_ms", setting.pattern_total},
      {"steps", steps},
      {"tones", tones},
      {"tone_string", tone_string.empty() ? JsonValue() : JsonValue(tone_string)},
      {"tone_string_reason", tone_string.empty() ? JsonValue(why_not) : JsonValue()},
      {"sample_count", facts.sample_count},
      {"duration_seconds", JsonFixed(facts.duration_seconds, 6)},
      {"can_synthesise", facts.can_synthesise},
      {"reason", facts.can_synthesise ? JsonValue() : JsonValue(facts.reason)},
  };
  return PrintJsonLine(report);
}
