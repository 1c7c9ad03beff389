// Sine generator: the exact frequency in the phase step, with a counter that restarts
// every sample_rate samples (seamless for whole-number frequencies).
#pragma once
#include "synth/signal.h"

class CSineWave : public CSignal {
 public:
  int Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
           int32_t tone_frequency, int32_t tone_phase, int32_t level) override;
  void Reset() override;
  int Generate(int32_t* samples, int32_t count) override;

  double phase_step = 0.0;    // radians per sample
  double phase_offset = 0.0;  // radians

 protected:
  int32_t ValueAt(int32_t counter) const override;
  int32_t CycleLength() const override;
};
