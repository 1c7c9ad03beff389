// The second-order low-pass filter run over the finished samples when the filter switch
// is on: a biquad with its cut-off at half the sampling frequency, direct form I.
#pragma once
#include <cstdint>

struct LowPassCoefficients {
  double b0, b1, b2, a1, a2;  // normalised by a0
};

LowPassCoefficients ComputeLowPassCoefficients(int32_t sampling_frequency);

// Filters count samples in place; outputs are truncated and limited to -32767..32767.
// The state starts at 0 on every call. Nothing happens for count <= 0.
void ApplyLowPassFilter(int16_t* samples, int32_t count, int32_t sampling_frequency);
