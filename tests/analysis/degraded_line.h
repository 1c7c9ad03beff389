// What a real line does to a rendered tone, for the tests and the detection experiment:
// companding, noise, loss, a late start, mains hum, echo, the channel's band-pass filter and
// an AGC.
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
// One echo: the samples again delay_ms later at gain_db.
std::vector<int16_t> WithEcho(const std::vector<int16_t>& samples, int32_t rate, double delay_ms, double gain_db);
// Through a band-pass FIR filter (Kaiser window, 120 dB stop band, transitions of 100 Hz),
// as written (linear phase) or turned into its minimum-phase twin.
enum class FilterPhase { Linear, Minimum };
std::vector<int16_t> ThroughBandPass(const std::vector<int16_t>& samples, int32_t rate, double low_hz, double high_hz,
                                     FilterPhase phase);
// Through an AGC that follows the level (attack_ms, 200 ms release, look_ahead_ms ahead),
// lifting quiet sound (by up to 20 dB) and leaving loud sound alone, as a compander on a
// line does: the longer a silence, the louder its noise, up to 10 dB under the bursts. A
// slow one without look-ahead lets each burst's start through lifted.
std::vector<int16_t> ThroughAgc(const std::vector<int16_t>& samples, int32_t rate, double attack_ms = 10.0,
                                double look_ahead_ms = 10.0);
// Through a telephone channel's band, 300 to 3400 Hz (two second-order high-pass and two
// low-pass Butterworth sections).
std::vector<int16_t> ThroughTelephoneBand(const std::vector<int16_t>& samples, int32_t rate);

}  // namespace sonaril_test
