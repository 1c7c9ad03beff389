#include "analysis/expected_cycle.h"

#include <cmath>

#include "analysis/analyze_recording.h"
#include "analysis/cycle.h"
#include "synth/synthesize_tone.h"

namespace {

// A segment is as long as the steps it covers when the render is this close to them
// (fades and the first silent sample of a fade-in shorten it by a fraction of this).
constexpr double kNominalLengthMs = 2.0;

// Sample where each step of the setting starts, and where the last one ends.
std::vector<int64_t> StepBoundaries(const ToneSetting& setting, int32_t rate) {
  std::vector<int64_t> boundaries{0};
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    boundaries.push_back(boundaries.back() + static_cast<int64_t>(step->time) * rate / 1000);
  }
  return boundaries;
}

bool Covers(const Segment& segment, int64_t sample) { return sample >= segment.start && sample < segment.end; }

}  // namespace

SynthesisRefusal BuildExpectedCycle(ToneSetting& setting, ExpectedCycle* expected) {
  *expected = ExpectedCycle();
  const int32_t rate = setting.sampling_frequency;
  std::vector<int16_t> samples;
  SynthesisRefusal refusal = SynthesizeTone(setting, rate, 1, setting.filter_on != 0, &samples);
  if (refusal != SynthesisRefusal::None) return refusal;
  RecordingAnalysis analysis;
  if (!AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis)) {
    return SynthesisRefusal::OutOfMemory;
  }
  expected->sampling_frequency = rate;

  const std::vector<Segment>& segments = analysis.segments;
  const std::vector<int64_t> boundaries = StepBoundaries(setting, rate);
  // The cycle repeats, so when it ends as it began (the same kind, the same tones), its last
  // segment goes on at its start: the two are one segment, listed last.
  bool wraps = segments.size() > 1 && segments.front().kind == segments.back().kind;
  if (wraps && IsSounding(segments.front().kind)) {
    wraps = SoundAlike(TonesHeardIn(samples.data(), analysis, segments.front(), Precision::Coarse),
                       TonesHeardIn(samples.data(), analysis, segments.back(), Precision::Coarse));
  }
  for (size_t i = wraps ? 1 : 0; i < segments.size(); ++i) {
    const Segment& segment = segments[i];
    const Segment* head = wraps && i + 1 == segments.size() ? &segments.front() : nullptr;
    ExpectedStep step;
    step.kind = segment.kind;
    step.continuous = segments.size() == 1;
    double rendered_ms = SegmentMs(segment, rate) + (head != nullptr ? SegmentMs(*head, rate) : 0.0);
    double nominal_ms = 0.0;
    for (const Segment* part : {&segment, head}) {
      if (part == nullptr) continue;
      int32_t number = 1;
      for (const PatternStep* item = setting.patterns; item != nullptr; item = item->next, ++number) {
        if (!Covers(*part, (boundaries[number - 1] + boundaries[number]) / 2)) continue;
        step.setting_steps.push_back(number);
        nominal_ms += item->time;
      }
    }
    step.duration_ms = std::fabs(nominal_ms - rendered_ms) <= kNominalLengthMs ? nominal_ms : rendered_ms;
    if (IsSounding(step.kind)) {
      bool head_longer = head != nullptr && head->end - head->start > segment.end - segment.start;
      step.tones = TonesHeardIn(samples.data(), analysis, head_longer ? *head : segment);
    }
    expected->steps.push_back(step);
  }
  return SynthesisRefusal::None;
}
