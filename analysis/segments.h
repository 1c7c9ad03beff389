// The pieces a recording's runs are made of, in the words of a ring pattern: silence, a
// steady sound, and the slow linear rises and falls of ramp steps.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/envelope.h"
#include "analysis/runs.h"

enum class SegmentKind { Silent, Steady, RampUp, RampDown };

struct Segment {
  SegmentKind kind = SegmentKind::Silent;
  int64_t start = 0;  // first sample; a ramp starts where its line meets silence
  int64_t end = 0;    // one past the last sample
  // The recording begins or ends inside this segment, so its true length is unknown.
  bool cut_at_start = false;
  bool cut_at_end = false;
};

// Rises and falls shorter than this are edges (a fade at most), not ramps: the smoothed
// envelope itself takes a few tens of milliseconds to rise at a hard edge.
constexpr double kShortestRampMs = 60.0;

bool IsSounding(SegmentKind kind);

// Splits every sounding run into an optional ramp up, a steady part and an optional ramp
// down; silent runs stay whole. The segments cover the recording in time order.
std::vector<Segment> SplitIntoSegments(const std::vector<Run>& runs, const Envelope& envelope);
