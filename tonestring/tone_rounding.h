// Measured values become the whole numbers a tone setting holds.
#pragma once
#include <cstdint>

// The nearest whole number (halves away from zero); false for a value that is not a finite
// number within 32 bits.
bool RoundToInt32(double value, int32_t* rounded);
