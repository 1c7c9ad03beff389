// Turns a tone sequence into a tone setting that renders exactly that tone, or says why no
// setting can.
#pragma once
#include <cstdint>
#include <string>

#include "synth/tone_setting.h"
#include "tonestring/tone_sequence.h"

struct ToneStringOptions {
  int32_t sampling_frequency = 8000;  // one of the offered sampling frequencies
  int32_t repeat = 1;                 // cycles of a string that repeats, 1..100
  int32_t hold_ms = 2000;             // how long a part that lasts for ever is rendered
  // Each tone's level (peak, % of full scale) where the string gives none. Negative:
  // DefaultLevelPercent.
  double level_percent = kLevelFromOptions;
};

// The largest whole percent that keeps every part's sum below full scale: 99 divided by the
// most frequencies any part sums (99% for one, 49% for two).
int32_t DefaultLevelPercent(const ToneSequence& sequence);

// Replaces *setting with one ring-pattern step per part (ON where the part sounds, OFF for
// silence, no fades) and sine tones of phase 0 gated to the parts that sound them, at
// options.sampling_frequency, and returns true. Frequencies and levels are rounded to whole
// hertz and percent; a frequency that sounds at other levels in other parts is a tone per
// level (Australia's congestion, every other burst 10 dB lower).
//
// The sequence is taken in its normal form (tone_normal_form.h). Two shapes are accepted:
//  - no part lasts for ever and none plays once: the parts form a cycle that the setting
//    repeats options.repeat times; the latest tone ends with the cycle, so the tones loop
//    with the ring pattern;
//  - the last part lasts for ever (held for options.hold_ms) and so everything before it
//    plays once: the setting plays once (options.repeat must be 1). A silent last part
//    starts after every tone has ended; a sounding one is held by tones that never stop,
//    so every sounding part must then sound the last part's frequencies.
// Everything else is refused with one line naming the part and the reason, *setting
// unchanged: parts that play once before parts that repeat and sound (a setting repeats its
// whole pattern), frequencies at or above half the sampling frequency, levels that round to
// 0% or whose sum in a part exceeds full scale, durations that are not whole samples (at
// 44100 Hz), a tone that would spill a non-zero sample into the next sounding part (tone end
// times are inclusive) unless the part before is marked "~" (a "~" where no tone spills is
// refused too), more than kMaxSettingTones tones, and a tone too long for the 32-bit sample
// count.
bool BuildToneSetting(const ToneSequence& sequence, const ToneStringOptions& options,
                      ToneSetting* setting, std::string* why_not);
