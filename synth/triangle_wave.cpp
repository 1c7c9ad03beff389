#include "synth/triangle_wave.h"

#include "synth/saturating_conversion.h"
#include "synth/wrapping_arithmetic.h"

int CTriangleWave::Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
                        int32_t tone_frequency, int32_t tone_phase, int32_t level) {
  if (CSignal::Init(sampling_frequency, start_time, end_time, tone_frequency, tone_phase,
                    level) == 0) {
    return 0;
  }
  RestartCycleAtPhase();
  up_length = period >> 1;
  down_length = WrappingSubtract(period, up_length);
  up_slope = up_length > 0 ? 2.0 / up_length : 1.0;
  down_slope = down_length > 0 ? 2.0 / down_length : 1.0;
  return 1;
}

void CTriangleWave::Reset() { RestartCycleAtPhase(); }

int CTriangleWave::Generate(int32_t* samples, int32_t count) { return RenderWave(samples, count); }

int32_t CTriangleWave::ValueAt(int32_t counter) const {
  if (counter < up_length) {
    return WrappingAdd(TruncateToInt32(counter * up_slope * amplitude), min_value);
  }
  const int32_t into_fall = WrappingSubtract(counter, up_length);
  return WrappingSubtract(max_value, TruncateToInt32(into_fall * down_slope * amplitude));
}
