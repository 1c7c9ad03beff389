#include "analysis/cycle.h"

#include <algorithm>
#include <cmath>

namespace {

bool Complete(const Segment& segment) { return !segment.cut_at_start && !segment.cut_at_end; }

bool LengthsAgree(const Segment& a, const Segment& b, int32_t rate) {
  double first = SegmentMs(a, rate);
  double second = SegmentMs(b, rate);
  double allowed = std::max(kCycleMatchMs, kCycleMatchShare * std::max(first, second));
  // A cut segment only tells that the step lasts at least that long.
  if (!Complete(a) && !Complete(b)) return true;
  if (!Complete(a)) return first <= second + allowed;
  if (!Complete(b)) return second <= first + allowed;
  return std::fabs(first - second) <= allowed;
}

// Whether the segments repeat every period segments: each position of the cycle heard
// whole at least once, and either some step heard whole twice or the recording holding
// two cycles' worth of segments (a recording that starts and ends inside a step cuts
// both). Fewer would let the two cut ends alone pass for a repetition.
bool RepeatsEvery(const std::vector<Segment>& segments, size_t period, int32_t rate) {
  bool heard_twice = false;
  for (size_t i = 0; i + period < segments.size(); ++i) {
    if (segments[i].kind != segments[i + period].kind) return false;
    if (!LengthsAgree(segments[i], segments[i + period], rate)) return false;
    heard_twice = heard_twice || (Complete(segments[i]) && Complete(segments[i + period]));
  }
  if (!heard_twice && segments.size() < 2 * period) return false;
  for (size_t position = 0; position < period; ++position) {
    bool whole = false;
    for (size_t i = position; i < segments.size() && !whole; i += period) whole = Complete(segments[i]);
    if (!whole) return false;
  }
  return true;
}

}  // namespace

double SegmentMs(const Segment& segment, int32_t rate) {
  return rate > 0 ? static_cast<double>(segment.end - segment.start) * 1000.0 / rate : 0.0;
}

Cycle FindCycle(const std::vector<Segment>& segments, int32_t rate, size_t shortest_period) {
  Cycle cycle;
  const size_t count = segments.size();
  if (count == 0) return cycle;
  size_t period = count;
  for (size_t candidate = std::max<size_t>(1, shortest_period); candidate < count; ++candidate) {
    if (RepeatsEvery(segments, candidate, rate)) {
      period = candidate;
      cycle.repeats = true;
      break;
    }
  }

  std::vector<CycleStep> steps(period);
  for (size_t position = 0; position < period; ++position) {
    CycleStep& step = steps[position];
    step.kind = segments[position].kind;
    // Tones are measured in the first whole occurrence, else in the longest part heard.
    size_t whole = 0;
    double whole_sum = 0.0;
    double longest_part = -1.0;
    for (size_t i = position; i < count; i += period) {
      ++step.occurrences;
      double ms = SegmentMs(segments[i], rate);
      if (Complete(segments[i])) {
        if (whole == 0) step.example_segment = i;
        ++whole;
        whole_sum += ms;
      } else if (whole == 0 && ms > longest_part) {
        longest_part = ms;
        step.example_segment = i;
      }
    }
    step.duration_known = whole > 0;
    step.duration_ms = whole > 0 ? whole_sum / static_cast<double>(whole) : longest_part;
  }

  // Start after the longest silence; without one, where the recording starts.
  size_t begin = 0;
  if (cycle.repeats) {
    double longest_silence = -1.0;
    for (size_t position = 0; position < period; ++position) {
      const CycleStep& step = steps[position];
      if (step.kind == SegmentKind::Silent && step.duration_ms > longest_silence) {
        longest_silence = step.duration_ms;
        begin = (position + 1) % period;
      }
    }
  }
  cycle.first_segment = begin;
  for (size_t k = 0; k < period; ++k) {
    cycle.steps.push_back(steps[(begin + k) % period]);
    cycle.duration_ms += cycle.steps.back().duration_ms;
  }
  for (size_t start = begin; start + period <= count; start += period) {
    bool whole = true;
    for (size_t i = start; i < start + period; ++i) whole = whole && Complete(segments[i]);
    cycle.complete_cycles += whole ? 1 : 0;
  }
  return cycle;
}
