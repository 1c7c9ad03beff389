// The sampling frequencies the program offers, in the order of the main window's list.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t kOfferedSamplingFrequencies[] = {8000, 16000, 32000, 44100, 48000, 96000};

inline bool IsOfferedSamplingFrequency(int32_t hertz) {
  for (int32_t offered : kOfferedSamplingFrequencies) {
    if (offered == hertz) return true;
  }
  return false;
}

// "8000, 16000, 32000, 44100, 48000 and 96000 Hz", from the list above.
std::string OfferedSamplingFrequenciesText();
