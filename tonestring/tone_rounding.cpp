#include "tonestring/tone_rounding.h"

#include <cmath>

bool RoundToInt32(double value, int32_t* rounded) {
  if (!std::isfinite(value)) return false;
  const double nearest = std::round(value);
  if (nearest < INT32_MIN || nearest > INT32_MAX) return false;
  *rounded = static_cast<int32_t>(nearest);
  return true;
}
