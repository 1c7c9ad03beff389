// How loud a recording is over time: the mean power of every frame of about 1 ms, and
// the background and loudest levels that tell sound from silence.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Frames averaged for the smoothed envelope (about 25 ms): wide enough that two tones a
// few tens of hertz apart, which beat, still read as one steady sound.
constexpr size_t kSmoothingFrames = 25;

struct Envelope {
  int32_t sampling_frequency = 0;
  int32_t frame_samples = 1;  // rate / 1000, at least 1
  int64_t sample_count = 0;
  double dc_offset = 0.0;     // the recording's mean, left out of every power
  std::vector<float> power;   // mean square per frame, in 16-bit sample units squared
  double floor_power = 0.0;   // the quiet background: a low percentile of the smoothed power
  double peak_power = 0.0;    // the loudest smoothed stretch
};

// Measures the envelope of count samples at rate Hz. False when the frames cannot be
// allocated.
bool MeasureEnvelope(const int16_t* samples, int64_t count, int32_t rate, Envelope* envelope);

// Sets the background and loudest level from the frame powers.
void MeasureLevels(Envelope* envelope);

// The smoothed power (centred mean over kSmoothingFrames, fewer at the ends) of frames
// [first, last) into *smoothed, which is resized to last - first.
void SmoothPowers(const Envelope& envelope, size_t first, size_t last, std::vector<double>* smoothed);

// dBFS of a mean square in sample units, clamped to kSilenceDbfs for digital silence.
double PowerToDbfs(double power);
// Below this a recording holds nothing: digital silence or the last bit flickering.
constexpr double kSilenceDbfs = -120.0;
