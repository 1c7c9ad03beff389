// 32-bit signed arithmetic that wraps like the synthesis arithmetic is defined to, without
// the undefined behaviour of overflowing signed operations in C++.
#pragma once
#include <cstdint>

inline int32_t WrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrappingSubtract(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrappingMultiply(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrappingNegate(int32_t a) {
  return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// Truncating division; INT32_MIN / -1 wraps to INT32_MIN. The divisor must not be 0.
inline int32_t WrappingDivide(int32_t a, int32_t b) {
  return b == -1 ? WrappingNegate(a) : a / b;
}

// Remainder with the sign of the dividend; INT32_MIN % -1 is 0. The divisor must not be 0.
inline int32_t WrappingRemainder(int32_t a, int32_t b) {
  return b == -1 ? 0 : a % b;
}
