// Decides before synthesis whether a tone setting can be rendered: the engine's 32-bit
// arithmetic must stay in range and the ring pattern must be able to fill its gains.
#pragma once
#include <cstdint>

#include "synth/tone_setting.h"

enum class SynthesisRefusal : int32_t {
  None = 0,
  SamplingFrequencyNotPositive,
  PatternTotalZero,
  NoTones,
  ZeroFrequency,
  Overflow,           // a product or sum of the synthesis exceeds 32 bits
  EmptyPatternCycle,  // the steps' lengths in samples add up to 0 or less
  NoSamples,          // the sample count is 0 or less
  OutOfMemory,        // the buffers cannot be allocated (reported by SynthesizeTone)
};

// Checks the setting for synthesis at sampling_frequency with repeat cycles (the repeat
// count as the synthesis will use it, already clamped). The steps are measured at
// sampling_frequency, which the caller also stores in the setting before synthesising.
SynthesisRefusal ValidateForSynthesis(const ToneSetting& setting, int32_t sampling_frequency,
                                      int32_t repeat);

// The most cycles of pattern_total_ms at sampling_frequency whose samples the synthesis can
// count (at least 1; the repeat clamp still applies).
int32_t LargestRepeat(int64_t pattern_total_ms, int32_t sampling_frequency);

// A short English sentence for the command-line tool; never null.
const char* DescribeRefusal(SynthesisRefusal reason);
