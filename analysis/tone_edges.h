// Where a step's own tones start and stop. The edges found from the recording's loudness
// sit where any sound starts and stops: at the end of an echo, on a filter's ringing, in
// noise an AGC lifts. Here the tones of each steady segment are fitted inside it (their
// amplitudes and phases, so that tones that beat are followed through their beat) and an
// edge is where the recording holds the fitted tones at half their amplitude.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/segments.h"

// Joins to a steady segment a silence shorter than 40 ms where its tones beat to nothing,
// an echo of it that a short silence cuts off behind it, and a ramp beside it that is its
// tones going on at one level and stopping rather than a line; then moves each edge
// between silence and a steady segment to where the segment's tones cross half their
// amplitude, unless the edge found by loudness lies within a fade of that.
void FollowToneEdges(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments);
