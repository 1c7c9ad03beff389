// What a real line does to a rendered tone, for the tests and the detection experiment:
// companding, noise, loss, a late start, mains hum.
#pragma once
#include <cstdint>
#include <vector>

#include "synth/g711_codec.h"

namespace sonaril_test {

// Through a G.711 encoder and decoder.
std::vector<int16_t> ThroughG711(const std::vector<int16_t>& samples, G711Law law);
// White Gaussian noise at snr_db under the mean power of the samples that are not silent.
// The same seed gives the same noise on every build.
std::vector<int16_t> WithNoise(const std::vector<int16_t>& samples, double snr_db, uint32_t seed);
// Every sample scaled by gain_db, rounded.
std::vector<int16_t> WithGain(const std::vector<int16_t>& samples, double gain_db);
// The samples from seconds in on.
std::vector<int16_t> StartingAt(const std::vector<int16_t>& samples, int32_t rate, double seconds);
// A sine of hum_hz added at level_dbfs.
std::vector<int16_t> WithHum(const std::vector<int16_t>& samples, int32_t rate, double hum_hz, double level_dbfs);

}  // namespace sonaril_test

namespace sonaril_test {

// Through a telephone channel's band, 300 to 3400 Hz (two second-order high-pass and two
// low-pass Butterworth sections).
std::vector<int16_t> ThroughTelephoneBand(const std::vector<int16_t>& samples, int32_t rate);

}  // namespace sonaril_test
