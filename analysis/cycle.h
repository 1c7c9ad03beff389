// The cycle a recording repeats: the shortest sequence of segments that, laid over the
// recording again and again, matches every segment in kind and length.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/segments.h"

struct CycleStep {
  SegmentKind kind = SegmentKind::Silent;
  // Mean length of the occurrences the recording holds whole; when it holds none whole,
  // the longest part heard and duration_known false.
  double duration_ms = 0.0;
  bool duration_known = false;
  size_t occurrences = 0;
  size_t example_segment = 0;  // the segment this step's tones are measured in
};

struct Cycle {
  // False when no shorter sequence repeats: the steps are then the segments as heard.
  bool repeats = false;
  size_t first_segment = 0;  // the segment where the first shown cycle begins
  std::vector<CycleStep> steps;
  double duration_ms = 0.0;
  size_t complete_cycles = 0;  // cycles the recording holds whole
};

// Two lengths of one step agree within this share, or this many milliseconds.
constexpr double kCycleMatchShare = 0.05;
constexpr double kCycleMatchMs = 15.0;

// The cycle of segments (at rate Hz) of at least shortest_period segments. It begins with
// the sound after its longest silence, as a ring pattern is usually written.
Cycle FindCycle(const std::vector<Segment>& segments, int32_t rate, size_t shortest_period = 1);

double SegmentMs(const Segment& segment, int32_t rate);
