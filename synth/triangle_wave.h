// Triangle generator: rises from min_value over the first half of the period and falls
// from max_value over the rest; values are not clamped.
#pragma once
#include "synth/signal.h"

class CTriangleWave : public CSignal {
 public:
  int Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
           int32_t tone_frequency, int32_t tone_phase, int32_t level) override;
  void Reset() override;
  int Generate(int32_t* samples, int32_t count) override;

  int32_t up_length = 0;    // samples
  int32_t down_length = 0;  // samples
  double up_slope = 1.0;
  double down_slope = 1.0;

 protected:
  int32_t ValueAt(int32_t counter) const override;
};
