// Where the tones inside one steady segment change without a silence between (a special
// information tone's three frequencies, a recall tone that alternates two): each known
// frequency followed over the segment in short windows, and the segment cut where the
// set of frequencies that sound changes.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/segments.h"

// The samples (at rate Hz, dc offset removed) where the frequencies that sound inside the
// segment change, in time order; none for fewer than two frequencies.
std::vector<int64_t> FindToneChanges(const int16_t* samples, int32_t rate, double dc_offset,
                                     const Segment& segment, const std::vector<double>& frequencies);
