// Reads a tone string: comma-separated parts "[!]FREQUENCIES[/DURATION]", frequencies in
// whole hertz joined by "+" (summed), "0" for silence, durations in milliseconds; a part
// without a duration lasts for ever and a leading "!" marks a part that plays once. Blanks
// (spaces, tabs) around parts, numbers, "+" and "/" are ignored.
#pragma once
#include <string>
#include <string_view>

#include "tonestring/tone_sequence.h"

// Fills *sequence (replacing what it held) and returns true, or returns false with
// *why_not set to one line that names the part and the reason, *sequence unchanged.
// Refused: an empty string or part, text that is not a whole number where one belongs,
// a duration of 0 or beyond 32 bits, "0" summed with frequencies, a frequency named twice,
// more than kMaxPartFrequencies frequencies in a part or kMaxToneParts parts, amplitude
// modulation ("F1*F2") and MIDI notes ("M60"), which sums of sine tones cannot hold.
bool ParseToneString(std::string_view text, ToneSequence* sequence, std::string* why_not);
