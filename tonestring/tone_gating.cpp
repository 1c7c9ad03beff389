#include "tonestring/tone_gating.h"

int64_t WholeSamples(int64_t ms, int32_t rate) {
  const int64_t product = ms * rate;
  return product % 1000 == 0 ? product / 1000 : -1;
}

bool SineIsSilentAt(int32_t frequency, int32_t rate, int64_t position) {
  const int64_t counter = position % rate;
  return (2 * int64_t{frequency} * counter) % rate == 0;
}
