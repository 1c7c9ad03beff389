#include "analysis/analyze_recording.h"

#include <algorithm>
#include <cmath>

#include "analysis/envelope.h"
#include "analysis/runs.h"
#include "analysis/tone_edges.h"
#include "analysis/tone_changes.h"
#include "analysis/tone_envelope.h"

namespace {

// When even the quietest stretches of a few frames (this share of them) lie less than this
// under the loudest, noise fills the silences and the recording's loudness is heard
// through its tones alone. (Smoothed over 25 frames, gaps of 25 ms never fall to silence;
// stretches of 5 frames do, and in noise they do not fall far under it.)
constexpr double kThroughTonesUnderDb = 15.0;
constexpr double kQuietestShare = 0.01;
constexpr size_t kQuietStretchFrames = 5;
constexpr size_t kMostSortedStretches = 100000;
// Sounding segments shorter than this are checked at once for being a click.
constexpr double kShortSoundMs = 50.0;
// Rounds of searching the cycle again, after silencing steps that hold no tone or finding
// that a step's tones differ from one cycle to the next.
constexpr int kCycleRounds = 6;
// Tones within this range of a step's loudest decide what the step sounds like.
constexpr double kStrongToneRangeDb = 20.0;
// Two occurrences hold the same tone within this distance.
constexpr double kSameToneHz = 2.0;
constexpr double kSameToneShare = 0.005;
// A peak within this distance of a background tone, and not this much louder, is the
// background heard through the tone.
constexpr double kBackgroundMatchHz = 1.0;
constexpr double kBackgroundMatchShare = 0.005;
constexpr double kBackgroundMarginDb = 6.0;

// Joins neighbouring silent segments (after some were found to hold no tone).
void MergeSilences(std::vector<Segment>* segments) {
  std::vector<Segment> merged;
  for (const Segment& segment : *segments) {
    if (!merged.empty() && merged.back().kind == SegmentKind::Silent && segment.kind == SegmentKind::Silent) {
      merged.back().end = segment.end;
      merged.back().cut_at_end = segment.cut_at_end;
    } else {
      merged.push_back(segment);
    }
  }
  segments->swap(merged);
}

// The power the quietest stretches of kQuietStretchFrames stay under.
double QuietestPower(const Envelope& envelope) {
  const size_t stretches = envelope.power.size() / kQuietStretchFrames;
  if (stretches == 0) return 0.0;
  const size_t stride = std::max<size_t>(1, stretches / kMostSortedStretches);
  std::vector<double> powers;
  for (size_t s = 0; s < stretches; s += stride) {
    double sum = 0.0;
    for (size_t k = s * kQuietStretchFrames; k < (s + 1) * kQuietStretchFrames; ++k) sum += envelope.power[k];
    powers.push_back(sum / kQuietStretchFrames);
  }
  size_t rank = static_cast<size_t>(kQuietestShare * static_cast<double>(powers.size()));
  std::nth_element(powers.begin(), powers.begin() + rank, powers.end());
  return powers[rank];
}

bool IsBackground(const TonePeak& tone, const std::vector<TonePeak>& background) {
  for (const TonePeak& hum : background) {
    double distance = std::fabs(tone.frequency - hum.frequency);
    bool same = distance <= std::max(kBackgroundMatchHz, kBackgroundMatchShare * hum.frequency);
    if (same && tone.level_dbfs <= hum.level_dbfs + kBackgroundMarginDb) return true;
  }
  return false;
}

// The background's tones, from the longest silence (a whole one if there is one).
std::vector<TonePeak> MeasureBackground(const int16_t* samples, const RecordingAnalysis& analysis) {
  const Segment* longest = nullptr;
  for (const Segment& segment : analysis.segments) {
    if (segment.kind != SegmentKind::Silent) continue;
    if (longest == nullptr || segment.end - segment.start > longest->end - longest->start) longest = &segment;
  }
  if (longest == nullptr) return {};
  return MeasureTones(samples, analysis.sampling_frequency, analysis.dc_offset, *longest).tones;
}

// Silences the short sounding segments that hold no tone (clicks), and the ramps that hold
// none (the noise an AGC lifts the longer a silence lasts rises like a ramp).
void SilenceClicks(const int16_t* samples, RecordingAnalysis* analysis) {
  for (Segment& segment : analysis->segments) {
    const bool short_sound = SegmentMs(segment, analysis->sampling_frequency) < kShortSoundMs;
    const bool ramp = segment.kind == SegmentKind::RampUp || segment.kind == SegmentKind::RampDown;
    if (!IsSounding(segment.kind) || !(short_sound || ramp)) continue;
    if (!MeasureTones(samples, analysis->sampling_frequency, analysis->dc_offset, segment, Precision::Coarse).tonal) {
      segment.kind = SegmentKind::Silent;
    }
  }
  MergeSilences(&analysis->segments);
}

// The frequencies of the tones within kStrongToneRangeDb of the loudest.
std::vector<double> StrongFrequencies(const std::vector<TonePeak>& tones) {
  double loudest = -1e9;
  for (const TonePeak& tone : tones) loudest = std::max(loudest, tone.level_dbfs);
  std::vector<double> frequencies;
  for (const TonePeak& tone : tones) {
    if (tone.level_dbfs >= loudest - kStrongToneRangeDb) frequencies.push_back(tone.frequency);
  }
  return frequencies;
}

bool SameFrequencies(const std::vector<double>& first, const std::vector<double>& second) {
  if (first.size() != second.size()) return false;
  for (double frequency : first) {
    bool found = std::any_of(second.begin(), second.end(), [&](double other) {
      return std::fabs(other - frequency) <= std::max(kSameToneHz, kSameToneShare * frequency);
    });
    if (!found) return false;
  }
  return true;
}

enum class CycleOutcome { Measured, Silenced, TonesDiffer };

// Measures each step's tones in its example. With may_silence, a sounding step that holds
// no tone (noise) is silenced wherever it occurs. A step whose next occurrence holds other
// tones shows that the cycle is longer than its cadence alone (bursts of two frequencies
// in one rhythm).
CycleOutcome MeasureCycle(const int16_t* samples, RecordingAnalysis* analysis, bool may_silence) {
  const int32_t rate = analysis->sampling_frequency;
  analysis->steps.clear();
  const size_t period = analysis->cycle.steps.size();
  CycleOutcome outcome = CycleOutcome::Measured;
  for (const CycleStep& step : analysis->cycle.steps) {
    HeardStep heard;
    heard.kind = step.kind;
    heard.duration_ms = step.duration_ms;
    heard.duration_known = step.duration_known;
    heard.occurrences = step.occurrences;
    if (IsSounding(step.kind)) {
      const Segment& example = analysis->segments[step.example_segment];
      SegmentTones tones = MeasureTones(samples, rate, analysis->dc_offset, example);
      if (!tones.tonal && !tones.tones_take_turns && may_silence) {
        // Segment i holds cycle position i % period.
        for (size_t i = step.example_segment % period; i < analysis->segments.size(); i += period) {
          analysis->segments[i].kind = SegmentKind::Silent;
        }
        outcome = CycleOutcome::Silenced;
      } else if (outcome == CycleOutcome::Measured && analysis->cycle.repeats) {
        size_t next = step.example_segment + period < analysis->segments.size() ? step.example_segment + period
                      : step.example_segment >= period                        ? step.example_segment - period
                                                                                : step.example_segment;
        const Segment& other = analysis->segments[next];
        if (next != step.example_segment && SegmentMs(other, rate) >= kShortSoundMs) {
          if (!SoundAlike(tones.tones, MeasureTones(samples, rate, analysis->dc_offset, other, Precision::Coarse).tones)) {
            outcome = CycleOutcome::TonesDiffer;
          }
        }
      }
      heard.tones = tones.tones;
    }
    analysis->steps.push_back(heard);
  }
  return outcome;
}

// Finds the shortest cycle whose steps keep their tones, silencing noise on the way.
void FindCycleAndTones(const int16_t* samples, RecordingAnalysis* analysis) {
  size_t shortest = 1;
  for (int round = 1; round <= kCycleRounds; ++round) {
    analysis->cycle = FindCycle(analysis->segments, analysis->sampling_frequency, shortest);
    CycleOutcome outcome = MeasureCycle(samples, analysis, round < kCycleRounds);
    if (outcome == CycleOutcome::Measured) return;
    if (outcome == CycleOutcome::Silenced) {
      MergeSilences(&analysis->segments);
      shortest = 1;
    } else {
      shortest = analysis->cycle.steps.size() + 1;
    }
  }
  // What is left after every round is reported as it is.
}

// Cuts steady segments where the tones they hold change, following the strong tones of
// each step's example in every segment of that step; true when any segment was cut.
bool SplitAtToneChanges(const int16_t* samples, RecordingAnalysis* analysis) {
  const size_t period = analysis->cycle.steps.size();
  if (period == 0) return false;
  std::vector<std::vector<double>> followed(period);
  for (size_t k = 0; k < period; ++k) {
    const CycleStep& step = analysis->cycle.steps[k];
    if (step.kind == SegmentKind::Steady) {
      followed[step.example_segment % period] = FollowedFrequencies(analysis->steps[k].tones, kStrongToneRangeDb);
    }
  }
  std::vector<Segment> split;
  for (size_t i = 0; i < analysis->segments.size(); ++i) {
    Segment segment = analysis->segments[i];
    const std::vector<double>& frequencies = followed[i % period];
    std::vector<int64_t> changes;
    if (segment.kind == SegmentKind::Steady && frequencies.size() >= 2) {
      changes = FindToneChanges(samples, analysis->sampling_frequency, analysis->dc_offset, segment, frequencies);
    }
    for (int64_t change : changes) {
      Segment piece = segment;
      piece.end = change;
      piece.cut_at_end = false;
      split.push_back(piece);
      segment.start = change;
      segment.cut_at_start = false;
    }
    split.push_back(segment);
  }
  bool changed = split.size() != analysis->segments.size();
  analysis->segments.swap(split);
  return changed;
}

}  // namespace

bool SoundAlike(const std::vector<TonePeak>& first, const std::vector<TonePeak>& second) {
  return SameFrequencies(StrongFrequencies(first), StrongFrequencies(second));
}

std::vector<TonePeak> TonesHeardIn(const int16_t* samples, const RecordingAnalysis& analysis,
                                   const Segment& segment, Precision precision) {
  std::vector<TonePeak> heard;
  for (const TonePeak& tone :
       MeasureTones(samples, analysis.sampling_frequency, analysis.dc_offset, segment, precision).tones) {
    if (!IsBackground(tone, analysis.background_tones)) heard.push_back(tone);
  }
  return heard;
}

bool AnalyzeRecording(const int16_t* samples, int64_t count, int32_t rate, RecordingAnalysis* analysis) {
  *analysis = RecordingAnalysis();
  analysis->sampling_frequency = rate;
  analysis->sample_count = count;
  analysis->duration_ms = rate > 0 ? static_cast<double>(count) * 1000.0 / rate : 0.0;
  Envelope envelope;
  if (!MeasureEnvelope(samples, count, rate, &envelope)) return false;
  analysis->dc_offset = envelope.dc_offset;
  analysis->background_dbfs = PowerToDbfs(envelope.floor_power);
  if (PowerToDbfs(envelope.peak_power) - PowerToDbfs(QuietestPower(envelope)) < kThroughTonesUnderDb) {
    std::vector<double> tones = SurveyTones(samples, count, rate, envelope.dc_offset);
    if (!tones.empty() && !MeasureToneEnvelope(samples, tones, &envelope)) return false;
  }
  std::vector<Run> runs = FindRuns(samples, envelope);
  analysis->segments = SplitIntoSegments(runs, envelope);
  // The envelope's frames are no longer needed; the tones come from the samples.
  envelope = Envelope();

  SilenceClicks(samples, analysis);
  FollowToneEdges(samples, rate, analysis->dc_offset, &analysis->segments);
  FindCycleAndTones(samples, analysis);
  if (SplitAtToneChanges(samples, analysis)) FindCycleAndTones(samples, analysis);
  analysis->background_tones = MeasureBackground(samples, *analysis);
  for (const Segment& segment : analysis->segments) {
    if (segment.kind == SegmentKind::Silent) analysis->has_silence = true;
  }
  for (HeardStep& step : analysis->steps) {
    std::vector<TonePeak> kept;
    for (const TonePeak& tone : step.tones) {
      if (!IsBackground(tone, analysis->background_tones)) kept.push_back(tone);
    }
    step.tones.swap(kept);
    if (IsSounding(step.kind) && !step.tones.empty()) analysis->heard_tone = true;
  }
  return true;
}
