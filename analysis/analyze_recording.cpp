#include "analysis/analyze_recording.h"

#include <algorithm>
#include <cmath>

#include "analysis/envelope.h"
#include "analysis/runs.h"

namespace {

// Sounding segments shorter than this are checked at once for being a click.
constexpr double kShortSoundMs = 50.0;
// Rounds of silencing steps that turn out to hold no tone, each followed by a new search
// for the cycle.
constexpr int kToneSearchRounds = 3;
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

// Silences the short sounding segments that hold no tone (clicks).
void SilenceClicks(const int16_t* samples, RecordingAnalysis* analysis) {
  for (Segment& segment : analysis->segments) {
    if (!IsSounding(segment.kind) || SegmentMs(segment, analysis->sampling_frequency) >= kShortSoundMs) continue;
    if (!MeasureTones(samples, analysis->sampling_frequency, analysis->dc_offset, segment).tonal) {
      segment.kind = SegmentKind::Silent;
    }
  }
  MergeSilences(&analysis->segments);
}

// Finds the cycle and measures each step's tones. With may_silence, a sounding step that
// holds no tone (noise) is silenced wherever it occurs and true returned: the cycle must
// then be searched again.
bool MeasureCycle(const int16_t* samples, RecordingAnalysis* analysis, bool may_silence) {
  const int32_t rate = analysis->sampling_frequency;
  analysis->cycle = FindCycle(analysis->segments, rate);
  analysis->steps.clear();
  const size_t period = analysis->cycle.steps.size();
  bool silenced = false;
  for (const CycleStep& step : analysis->cycle.steps) {
    HeardStep heard;
    heard.kind = step.kind;
    heard.duration_ms = step.duration_ms;
    heard.duration_known = step.duration_known;
    heard.occurrences = step.occurrences;
    if (IsSounding(step.kind)) {
      const Segment& example = analysis->segments[step.example_segment];
      SegmentTones tones = MeasureTones(samples, rate, analysis->dc_offset, example);
      if (!tones.tonal && may_silence) {
        // Segment i holds cycle position i % period.
        for (size_t i = step.example_segment % period; i < analysis->segments.size(); i += period) {
          analysis->segments[i].kind = SegmentKind::Silent;
        }
        silenced = true;
      }
      heard.tones = tones.tones;
    }
    analysis->steps.push_back(heard);
  }
  return silenced;
}

void FindCycleAndTones(const int16_t* samples, RecordingAnalysis* analysis) {
  for (int round = 1; round < kToneSearchRounds; ++round) {
    if (!MeasureCycle(samples, analysis, true)) return;
    MergeSilences(&analysis->segments);
  }
  // Still noise after every round: what is left is reported as it is.
  MeasureCycle(samples, analysis, false);
}

}  // namespace

std::vector<TonePeak> TonesHeardIn(const int16_t* samples, const RecordingAnalysis& analysis,
                                   const Segment& segment) {
  std::vector<TonePeak> heard;
  for (const TonePeak& tone : MeasureTones(samples, analysis.sampling_frequency, analysis.dc_offset, segment).tones) {
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
  std::vector<Run> runs = FindRuns(samples, envelope);
  analysis->segments = SplitIntoSegments(runs, envelope);
  // The envelope's frames are no longer needed; the tones come from the samples.
  envelope = Envelope();

  SilenceClicks(samples, analysis);
  FindCycleAndTones(samples, analysis);
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
