// Where a step's own tones start and stop. The edges found from the recording's loudness
// sit where any sound starts and stops: at the end of an echo, on a filter's ringing, in
// noise an AGC lifts. Here the tones of each steady segment are fitted inside it (their
// amplitudes and phases, so that tones that beat are followed through their beat) and an
// edge is where the recording holds the fitted tones at half their amplitude.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/segments.h"

// Moves the edges between silence and steady segments to where the segments' tones cross
// half their amplitude, where that differs from the edge found by loudness by more than a
// fade; and joins to a steady segment each ramp beside it whose amplitude does not follow
// the ramp's line (the tail of an echo or a filter, not a ramp of the tones).
void FollowToneEdges(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments);
