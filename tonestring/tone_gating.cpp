#include "tonestring/tone_gating.h"

#include "synth/sampling_frequencies.h"

int64_t WholeSamples(int64_t ms, int32_t rate) {
  const int64_t product = ms * rate;
  return product % 1000 == 0 ? product / 1000 : -1;
}

bool SineIsSilentAt(int32_t frequency, int32_t rate, int64_t position) {
  const int64_t counter = position % rate;
  return (2 * int64_t{frequency} * counter) % rate == 0;
}

std::string OfferedSamplingFrequenciesText() {
  constexpr size_t kCount = sizeof kOfferedSamplingFrequencies / sizeof kOfferedSamplingFrequencies[0];
  std::string text;
  for (size_t i = 0; i < kCount; ++i) {
    if (i > 0) text += i + 1 < kCount ? ", " : " and ";
    text += std::to_string(kOfferedSamplingFrequencies[i]);
  }
  return text + " Hz";
}
