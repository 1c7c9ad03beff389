// Reads a tone string: comma-separated parts "[!]FREQUENCIES[/DURATION]", frequencies in
// whole hertz joined by "+" (summed), "0" for silence, durations in milliseconds; a part
// without a duration lasts for ever and a leading "!" marks a part that plays once. Blanks
// (spaces, tabs) around parts, numbers, "+" and "/" are ignored.
//
// A frequency may carry its own level in dBm0, "425@-10" (an optional minus, digits,
// at most two decimals); without one it takes the builder's options. "F1*F2" is F1 amplitude-modulated
// by F2 (F2 below F1) to a depth of kDefaultModulationDepthPercent, or of D percent with
// "F1*F2%D": three sines, F1 at the level given and F1-F2, F1+F2 at 20*log10(D/200) dB
// under it. "400*16%85@-13" is a 400 Hz carrier at -13 dBm0 with side tones at 384 and
// 416 Hz, 7.4 dB under it. A trailing "~" ("950/333~") lets the part's tones sound on the
// next part's first sample (see TonePart::sounds_into_next).
#pragma once
#include <string>
#include <string_view>

#include "tonestring/tone_sequence.h"

// Fills *sequence (replacing what it held) and returns true, or returns false with
// *why_not set to one line that names the part and the reason, *sequence unchanged.
// Refused: an empty string or part, text that is not a whole number where one belongs,
// a duration of 0 or beyond 32 bits, "0" summed with frequencies, with a level or modulated,
// a frequency named twice (also as a side tone), a modulating frequency not below its
// carrier, a depth outside 1..100, more than kMaxPartFrequencies frequencies (side tones
// count) in a part or kMaxToneParts parts, and MIDI notes ("M60"). Work is linear in the
// text's length: a part is refused as soon as it passes its frequency limit.
bool ParseToneString(std::string_view text, ToneSequence* sequence, std::string* why_not);
