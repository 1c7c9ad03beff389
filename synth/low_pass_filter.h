// The second-order low-pass filter run over the finished samples when the filter switch
// is on: a biquad with its cut-off at half the sampling frequency, direct form I.
#pragma once
#include <cstdint>

struct LowPassCoefficients {
  double b0, b1, b2, a1, a2;  // normalised by a0
};

LowPassCoefficients ComputeLowPassCoefficients(int32_t sampling_frequency);

// The filter with its memory of the last two inputs and outputs, so that a signal filtered
// a piece at a time comes out exactly as in one piece.
class CLowPassFilter {
 public:
  explicit CLowPassFilter(int32_t sampling_frequency);
  // Filters count samples in place, continuing from the samples filtered before; outputs
  // are truncated and limited to -32767..32767. Nothing happens for count <= 0.
  void Run(int16_t* samples, int32_t count);

 private:
  LowPassCoefficients k_;
  double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

// Filters count samples in place, the state starting at 0 on every call.
void ApplyLowPassFilter(int16_t* samples, int32_t count, int32_t sampling_frequency);
