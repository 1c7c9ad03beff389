#include "synth/sampling_frequencies.h"

std::string OfferedSamplingFrequenciesText() {
  constexpr size_t kCount = sizeof kOfferedSamplingFrequencies / sizeof kOfferedSamplingFrequencies[0];
  std::string text;
  for (size_t i = 0; i < kCount; ++i) {
    if (i > 0) text += i + 1 < kCount ? ", " : " and ";
    text += std::to_string(kOfferedSamplingFrequencies[i]);
  }
  return text + " Hz";
}
