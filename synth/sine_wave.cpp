#include "synth/sine_wave.h"

#include <algorithm>
#include <cmath>

#include "synth/saturating_conversion.h"

int CSineWave::Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
                    int32_t tone_frequency, int32_t tone_phase, int32_t level) {
  if (CSignal::Init(sampling_frequency, start_time, end_time, tone_frequency, tone_phase,
                    level) == 0) {
    return 0;
  }
  RestartCycleAtPhase();
  phase_offset = 0.0;
  phase_step = (6.283185307179586 / sample_rate) * frequency;
  return 1;
}

void CSineWave::Reset() { RestartCycleAtPhase(); }

int CSineWave::Generate(int32_t* samples, int32_t count) { return RenderWave(samples, count); }

int32_t CSineWave::ValueAt(int32_t counter) const {
  const int32_t value = TruncateToInt32(std::sin(counter * phase_step + phase_offset) * amplitude);
  return std::max(std::min(value, max_value), min_value);
}

int32_t CSineWave::CycleLength() const { return sample_rate; }
