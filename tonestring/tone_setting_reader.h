// Recovers the tone string a tone setting renders, when it renders one.
#pragma once
#include <string>

#include "synth/tone_setting.h"
#include "tonestring/tone_sequence.h"

// Fills *sequence with one part per ring-pattern step and returns true when the setting
// sounds like a tone string: it can be synthesised, its filter is off, every step is ON or
// OFF without fades and a whole number of samples long, and in every step every sine tone
// either sounds throughout or not at all, the same in every cycle. (A tone that stops where
// a sounding step begins sounds on that step's first sample; where a sine of phase 0 is 0
// there, that sample is silent and does not count; elsewhere the part before is marked "~",
// the same in every cycle.) Each part gets its tones' frequencies
// and levels; tones of level 0 are silent and ignored. When every tone has the level the
// builder gives by default, the levels are left to the options, so the string is written
// without them and imports back with the defaults.
//
// Played once (repeat 1), the last part lasts for ever when it sounds only tones that never
// stop, or when it is silent and every tone has ended by its start; the parts before it
// then play once. That is how the builder writes those strings, so they come back whole.
//
// Otherwise returns false with *why_not set to one line naming the step or tone and the
// reason, *sequence unchanged.
bool ReadToneSequence(const ToneSetting& setting, ToneSequence* sequence, std::string* why_not);
