// Samples handed over a run at a time, for writers that need not hold a whole tone.
#pragma once
#include <cstdint>

class CSampleSource {
 public:
  virtual ~CSampleSource() = default;
  // The next samples, valid until the next call, their number in *count; null with *count
  // 0 when there are no more or they cannot be made.
  virtual const int16_t* NextRun(int32_t* count) = 0;
};
