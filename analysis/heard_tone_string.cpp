#include "analysis/heard_tone_string.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "synth/number_parsing.h"
#include "synth/sampling_frequencies.h"
#include "synth/signal_level.h"
#include "synth/synthesis_validation.h"

namespace {

// Tones this far under the loudest of their step are left out of the string.
constexpr double kStringToneRangeDb = 20.0;

// The offered sampling frequency that holds the recording's tones: its own, else the next
// one above it, else the highest. Only rates with whole samples in a millisecond (not
// 44100 Hz), so that every heard length in ms can be a step.
int32_t SettingRate(int32_t recording_rate) {
  for (int32_t offered : kOfferedSamplingFrequencies) {
    if (offered >= recording_rate && offered % 1000 == 0) return offered;
  }
  return kOfferedSamplingFrequencies[sizeof kOfferedSamplingFrequencies / sizeof kOfferedSamplingFrequencies[0] - 1];
}

TonePart PartOf(const HeardStep& step) {
  TonePart part;
  part.duration_ms = std::max<int32_t>(1, static_cast<int32_t>(std::llround(step.duration_ms)));
  if (step.kind == SegmentKind::Silent) return part;
  double loudest = -1e9;
  for (const TonePeak& tone : step.tones) loudest = std::max(loudest, tone.level_dbfs);
  for (const TonePeak& tone : step.tones) {
    if (tone.level_dbfs >= loudest - kStringToneRangeDb) {
      part.tones.push_back(PartTone{tone.frequency, DbfsToPercent(tone.level_dbfs)});
    }
  }
  return part;
}

// A setting keeps one level per tone: each frequency (in whole hertz) takes the loudest
// level it was heard at.
void OneLevelPerFrequency(ToneSequence* sequence) {
  std::map<long, double> loudest;
  for (const TonePart& part : sequence->parts) {
    for (const PartTone& tone : part.tones) {
      double& level = loudest[std::lround(tone.frequency_hz)];
      level = std::max(level, tone.level_percent);
    }
  }
  for (TonePart& part : sequence->parts) {
    for (PartTone& tone : part.tones) tone.level_percent = loudest[std::lround(tone.frequency_hz)];
  }
}

}  // namespace

bool DescribeHeardTone(const RecordingAnalysis& analysis, HeardTone* heard, std::string* why_not) {
  *heard = HeardTone();
  if (!analysis.heard_tone) {
    *why_not = "no tone was heard";
    return false;
  }
  for (const HeardStep& step : analysis.steps) {
    if (step.kind == SegmentKind::RampUp || step.kind == SegmentKind::RampDown) {
      *why_not = "its ramps cannot be written as a tone string, which only switches tones on and off";
      return false;
    }
  }
  std::vector<TonePart>& parts = heard->sequence.parts;
  for (const HeardStep& step : analysis.steps) parts.push_back(PartOf(step));
  heard->options.sampling_frequency = SettingRate(analysis.sampling_frequency);
  if (analysis.cycle.repeats) {
    double cycles = analysis.cycle.duration_ms > 0.0 ? analysis.duration_ms / analysis.cycle.duration_ms : 1.0;
    int64_t pattern_total_ms = 0;
    for (const TonePart& part : parts) pattern_total_ms += part.duration_ms;
    // A long recording may hold more cycles than a setting can render.
    heard->options.repeat =
        std::min(ClampRepeat(static_cast<int32_t>(std::llround(cycles))),
                 LargestRepeat(pattern_total_ms, heard->options.sampling_frequency));
  } else {
    // Heard once: the silence before the tone is not part of it, and what the recording
    // ends in goes on for ever.
    if (parts.size() > 1 && parts.front().tones.empty()) parts.erase(parts.begin());
    heard->options.hold_ms = parts.back().duration_ms;
    parts.back().duration_ms = kLastsForEver;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parts[i].plays_once = true;
  }
  OneLevelPerFrequency(&heard->sequence);
  return true;
}
