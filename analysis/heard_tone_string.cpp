#include "analysis/heard_tone_string.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

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

// Measured levels of one frequency scatter by a fraction of a dB from part to part; each
// takes the loudest level it was heard at within kSameLevelDb, so that a steady tone stays one
// tone of the setting while a burst that is really quieter (Australia's congestion, every
// other burst 10 dB lower) keeps its own level.
constexpr double kSameLevelDb = 3.0;

void OneLevelPerLoudness(ToneSequence* sequence) {
  std::map<long, std::vector<double>> heard;  // per whole hertz, loudest first
  for (const TonePart& part : sequence->parts) {
    for (const PartTone& tone : part.tones) heard[std::lround(tone.frequency_hz)].push_back(tone.level_percent);
  }
  for (auto& levels : heard) std::sort(levels.second.begin(), levels.second.end(), std::greater<double>());
  const double ratio = std::pow(10.0, -kSameLevelDb / 20.0);
  for (TonePart& part : sequence->parts) {
    for (PartTone& tone : part.tones) {
      for (double loudest : heard[std::lround(tone.frequency_hz)]) {
        if (tone.level_percent >= loudest * ratio) {
          tone.level_percent = loudest;
          break;
        }
      }
    }
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
  OneLevelPerLoudness(&heard->sequence);
  return true;
}
