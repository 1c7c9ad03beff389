#include "synth/low_pass_filter.h"

#include <cmath>

#include "synth/saturating_conversion.h"

LowPassCoefficients ComputeLowPassCoefficients(int32_t sampling_frequency) {
  const int32_t cutoff = sampling_frequency >> 1;
  const double w0 = cutoff * 6.2831853 / sampling_frequency;
  const double alpha = std::sin(w0) * 0.5;
  const double cw = std::cos(w0);
  const double b0 = (1 - cw) * 0.5;
  const double b1 = 1 - cw;
  const double a0 = 1 + alpha;
  const double a1 = cw * -2.0;
  const double a2 = 1 - alpha;
  LowPassCoefficients k;
  k.b0 = b0 / a0;
  k.b1 = b1 / a0;
  k.b2 = k.b0;
  k.a1 = a1 / a0;
  k.a2 = a2 / a0;
  return k;
}

CLowPassFilter::CLowPassFilter(int32_t sampling_frequency)
    : k_(ComputeLowPassCoefficients(sampling_frequency)) {}

void CLowPassFilter::Run(int16_t* samples, int32_t count) {
  if (samples == nullptr || count <= 0) return;
  // Only the last two inputs and outputs are ever read; as locals they stay in registers.
  const LowPassCoefficients k = k_;
  double x1 = x1_, x2 = x2_, y1 = y1_, y2 = y2_;
  for (int32_t n = 0; n < count; ++n) {
    const double x0 = samples[n];
    const double y0 = ((k.b0 * x0 + k.b1 * x1) + k.b2 * x2) - k.a1 * y1 - k.a2 * y2;
    int32_t value = TruncateToInt32(y0);
    if (value > 32767) value = 32767;
    if (value < -32767) value = -32767;
    samples[n] = static_cast<int16_t>(value);
    x2 = x1;
    x1 = x0;
    y2 = y1;
    y1 = y0;
  }
  x1_ = x1;
  x2_ = x2;
  y1_ = y1;
  y2_ = y2;
}

void ApplyLowPassFilter(int16_t* samples, int32_t count, int32_t sampling_frequency) {
  if (samples == nullptr || count <= 0) return;
  CLowPassFilter filter(sampling_frequency);
  filter.Run(samples, count);
}
