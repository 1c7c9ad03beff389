#include "synth/sawtooth_wave.h"

#include <algorithm>

#include "synth/saturating_conversion.h"
#include "synth/wrapping_arithmetic.h"

int CSawtoothWave::Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
                        int32_t tone_frequency, int32_t tone_phase, int32_t level) {
  if (CSignal::Init(sampling_frequency, start_time, end_time, tone_frequency, tone_phase,
                    level) == 0) {
    return 0;
  }
  RestartCycleAtPhase();
  slope = period > 0 ? 2.0 / period : 1.0;
  return 1;
}

void CSawtoothWave::Reset() { RestartCycleAtPhase(); }

int CSawtoothWave::Generate(int32_t* samples, int32_t count) { return RenderWave(samples, count); }

int32_t CSawtoothWave::ValueAt(int32_t counter) const {
  const int32_t value = WrappingAdd(min_value, TruncateToInt32(counter * slope * amplitude));
  return std::max(std::min(value, max_value), min_value);
}
