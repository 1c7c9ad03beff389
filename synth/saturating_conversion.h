// The one conversion from floating point to int32 used by synthesis: truncation toward
// zero, saturating at the int32 limits so an out-of-range product never becomes undefined.
#pragma once
#include <cstdint>

inline int32_t TruncateToInt32(double value) {
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  if (value != value) return 0;  // NaN
  return static_cast<int32_t>(value);
}

// The mixer's clip: the same result as TruncateToInt32 limited to -32768..32767 (NaN
// gives 0), written without branches so the per-sample loop vectorises.
inline int16_t TruncateToSample(double value) {
  double limited = value == value ? value : 0.0;
  limited = limited > -32768.0 ? limited : -32768.0;
  limited = limited < 32767.0 ? limited : 32767.0;
  return static_cast<int16_t>(static_cast<int32_t>(limited));
}
