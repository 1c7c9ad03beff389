#include "synth/square_wave.h"

#include "synth/wrapping_arithmetic.h"

int CSquareWave::Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
                      int32_t tone_frequency, int32_t tone_phase, int32_t level) {
  if (CSignal::Init(sampling_frequency, start_time, end_time, tone_frequency, tone_phase,
                    level) == 0) {
    return 0;
  }
  RestartCycleAtPhase();
  high_length = period >> 1;
  low_length = WrappingSubtract(period, high_length);
  return 1;
}

void CSquareWave::Reset() { RestartCycleAtPhase(); }

int CSquareWave::Generate(int32_t* samples, int32_t count) { return RenderWave(samples, count); }

int32_t CSquareWave::ValueAt(int32_t counter) const {
  return counter < high_length ? max_value : min_value;
}
