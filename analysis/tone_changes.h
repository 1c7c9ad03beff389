// Where the tones inside one steady segment change without a silence between (a special
// information tone's three frequencies, a recall tone that alternates two): each known
// frequency followed over the segment in short windows, and the segment cut where the
// set of frequencies that sound changes.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/segments.h"
#include "analysis/tone_peaks.h"

// Tones closer than this beat inside the 30 ms windows that follow them (whose first null
// lies 33 Hz off): they are one sound, and only the loudest of them is followed.
constexpr double kBeatingHz = 40.0;

// The frequencies worth following among a step's tones: those within range_db of the
// loudest, and of tones that beat together only the loudest.
std::vector<double> FollowedFrequencies(const std::vector<TonePeak>& tones, double range_db);

// The samples (at rate Hz, dc offset removed) where the frequencies that sound inside the
// segment change, in time order; none for fewer than two frequencies.
std::vector<int64_t> FindToneChanges(const int16_t* samples, int32_t rate, double dc_offset,
                                     const Segment& segment, const std::vector<double>& frequencies);
