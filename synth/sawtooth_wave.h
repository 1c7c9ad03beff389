// Sawtooth generator: rises from min_value across the whole-sample period, clamped.
#pragma once
#include "synth/signal.h"

class CSawtoothWave : public CSignal {
 public:
  int Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
           int32_t tone_frequency, int32_t tone_phase, int32_t level) override;
  void Reset() override;
  int Generate(int32_t* samples, int32_t count) override;

  double slope = 1.0;

 protected:
  int32_t ValueAt(int32_t counter) const override;
};
