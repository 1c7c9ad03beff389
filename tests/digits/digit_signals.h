// Digit sequences as they arrive: rendered through the setting the tone-string builder makes,
// then sent down a telephone line. Shared by the digit tests and the digit experiments.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "digits/digit_sequence.h"

namespace sonaril_test {

// The samples of the setting that sends digits with options at rate Hz; empty when no setting
// can (the reason on standard error).
std::vector<int16_t> RenderDigits(const std::string& digits, const DigitOptions& options, int32_t rate = 8000);
std::vector<int16_t> Silence(double ms, int32_t rate = 8000);
std::vector<int16_t> Joined(std::vector<int16_t> first, const std::vector<int16_t>& second);
// The 300-3400 Hz band, white noise at snr_db under the signal, then u-law.
std::vector<int16_t> ThroughTelephoneLine(const std::vector<int16_t>& samples, int32_t rate, double snr_db,
                                          uint32_t seed);

}  // namespace sonaril_test
