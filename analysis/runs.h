// The sounding and silent runs of a recording: the smoothed envelope with hysteresis
// finds them, so that beating tones, a fade or noise do not split a run, and each edge
// is then placed to the sample from the frames and samples around it.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/envelope.h"

struct Run {
  int64_t start = 0;  // first sample
  int64_t end = 0;    // one past the last sample
  bool sounding = false;
};

// Runs covering the whole recording in time order, alternating between sounding and
// silent; an empty recording gives none.
std::vector<Run> FindRuns(const int16_t* samples, const Envelope& envelope);
