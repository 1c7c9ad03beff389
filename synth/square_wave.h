// Square generator: high for the first half of the whole-sample period, low for the rest.
#pragma once
#include "synth/signal.h"

class CSquareWave : public CSignal {
 public:
  int Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
           int32_t tone_frequency, int32_t tone_phase, int32_t level) override;
  void Reset() override;
  int Generate(int32_t* samples, int32_t count) override;

  int32_t high_length = 0;  // samples
  int32_t low_length = 0;   // samples; kept for completeness, rendering needs only high_length

 protected:
  int32_t ValueAt(int32_t counter) const override;
};
