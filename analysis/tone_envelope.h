// Loudness heard through the recording's own tones: where noise is nearly as loud as the
// tones (a noisy line, an AGC that lifts the noise in the silences), the frames' power in
// narrow bands around the tones found anywhere in the recording, not over all frequencies.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/envelope.h"

// The frequencies that stand out of the recording's mean spectrum: the tones it holds
// anywhere, each once.
std::vector<double> SurveyTones(const int16_t* samples, int64_t count, int32_t rate, double dc_offset);

// Replaces the envelope's frame powers, background and loudest level (not its dc offset)
// with those of the frequencies that come and go, each followed in a band about 200 Hz
// wide; leaves it as it is when none does. False when the frames cannot be allocated.
bool MeasureToneEnvelope(const int16_t* samples, const std::vector<double>& frequencies, Envelope* envelope);
