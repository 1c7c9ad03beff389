// What the builder and the reader agree on about how a setting gates its tones.
#pragma once
#include <cstdint>

// Samples in ms milliseconds at rate Hz; -1 when that is not a whole number of samples,
// since the ring pattern and the tones' start and end times then round apart.
int64_t WholeSamples(int64_t ms, int32_t rate);

// A tone sounds up to and including the sample of its end time, so a tone that stops where
// another sounding part begins spills one sample into it. That sample is silent when a
// sine of phase 0 is exactly 0 there: its cycle counter restarts every rate samples, and at
// counter c its angle 2*pi*f*c/rate is a whole multiple of pi just when 2*f*c is a multiple
// of rate; the sine of the rounded angle then stays far below half a step of 16 bits.
bool SineIsSilentAt(int32_t frequency, int32_t rate, int64_t position);
