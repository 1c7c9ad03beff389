#include "analysis/tone_envelope.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <new>

#include "analysis/real_fft.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// The mean spectrum: frames of about a quarter second (4 Hz bins at any rate), at most
// this many spread over the recording.
constexpr double kSurveyFrameSeconds = 0.25;
constexpr size_t kMostSurveyFrames = 400;
constexpr double kLowestFrequencyHz = 20.0;
// A tone stands this far over the spectrum's median (the noise), within this range of the
// strongest; closer peaks are one seen through the window's main lobe.
constexpr double kOverNoiseDb = 15.0;
constexpr double kRangeDb = 40.0;
constexpr size_t kPeakSeparationBins = 3;
constexpr size_t kMostTones = 8;
// Each tone is followed in this many frames (ms) around each frame: a band of about 200 Hz,
// narrow enough against noise, short enough for gaps of 15 ms; and over two of its periods
// at least, so that a low one (hum) is not mistaken for its own mirror image.
constexpr int64_t kBandFrames = 5;
constexpr double kLeastPeriods = 2.0;
// A tone that comes and goes (its loudest frames this far over its quietest) makes the
// loudness; one that never stops (hum) would only lift the background.
constexpr double kComesAndGoesDb = 10.0;
constexpr double kQuietShare = 0.05;
constexpr double kLoudShare = 0.95;
constexpr size_t kMostSortedFrames = 100000;

bool ComesAndGoes(const std::vector<float>& power) {
  const size_t stride = std::max<size_t>(1, power.size() / kMostSortedFrames);
  std::vector<float> sorted;
  for (size_t k = 0; k < power.size(); k += stride) sorted.push_back(power[k]);
  if (sorted.empty()) return false;
  size_t quiet = static_cast<size_t>(kQuietShare * static_cast<double>(sorted.size() - 1));
  size_t loud = static_cast<size_t>(kLoudShare * static_cast<double>(sorted.size() - 1));
  std::nth_element(sorted.begin(), sorted.begin() + quiet, sorted.end());
  double quietest = sorted[quiet];
  std::nth_element(sorted.begin(), sorted.begin() + loud, sorted.end());
  return sorted[loud] > quietest * std::pow(10.0, kComesAndGoesDb / 10.0);
}

size_t PowerOfTwoAtLeast(double n) {
  size_t length = 64;
  while (static_cast<double>(length) < n) length *= 2;
  return length;
}

}  // namespace

std::vector<double> SurveyTones(const int16_t* samples, int64_t count, int32_t rate, double dc_offset) {
  const size_t length = PowerOfTwoAtLeast(kSurveyFrameSeconds * rate);
  if (count < static_cast<int64_t>(length) || rate <= 0) return {};
  const int64_t available = count / static_cast<int64_t>(length);
  const int64_t frames = std::min<int64_t>(available, kMostSurveyFrames);
  const int64_t stride = (count - static_cast<int64_t>(length)) / std::max<int64_t>(1, frames - 1);
  std::vector<double> window(length);
  for (size_t n = 0; n < length; ++n) window[n] = 0.5 - 0.5 * std::cos(2.0 * kPi * (n + 0.5) / length);
  std::vector<double> windowed(length);
  std::vector<std::complex<double>> spectrum(length / 2);
  std::vector<double> power(length / 2, 0.0);
  for (int64_t f = 0; f < frames; ++f) {
    const int16_t* at = samples + f * stride;
    for (size_t n = 0; n < length; ++n) windowed[n] = (at[n] - dc_offset) * window[n];
    RealFft(windowed.data(), length, spectrum.data());
    for (size_t k = 1; k < length / 2; ++k) power[k] += std::norm(spectrum[k]);
  }
  const double bin_hz = static_cast<double>(rate) / length;
  const size_t lowest = std::max<size_t>(2, static_cast<size_t>(std::ceil(kLowestFrequencyHz / bin_hz)));
  if (lowest + 2 >= power.size()) return {};
  std::vector<double> sorted(power.begin() + lowest, power.end());
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const double strongest = *std::max_element(power.begin() + lowest, power.end());
  const double threshold = std::max(sorted[sorted.size() / 2] * std::pow(10.0, kOverNoiseDb / 10.0),
                                    strongest * std::pow(10.0, -kRangeDb / 10.0));
  std::vector<size_t> peaks;
  for (size_t k = lowest; k + 1 < power.size(); ++k) {
    if (power[k] >= threshold && power[k] > power[k - 1] && power[k] >= power[k + 1]) peaks.push_back(k);
  }
  std::sort(peaks.begin(), peaks.end(), [&](size_t a, size_t b) { return power[a] > power[b]; });
  std::vector<size_t> kept;
  for (size_t k : peaks) {
    if (kept.size() >= kMostTones) break;
    bool apart = std::all_of(kept.begin(), kept.end(), [&](size_t other) {
      return (k > other ? k - other : other - k) >= kPeakSeparationBins;
    });
    if (apart) kept.push_back(k);
  }
  std::vector<double> frequencies;
  for (size_t k : kept) frequencies.push_back(static_cast<double>(k) * bin_hz);
  std::sort(frequencies.begin(), frequencies.end());
  return frequencies;
}

bool MeasureToneEnvelope(const int16_t* samples, const std::vector<double>& frequencies, Envelope* envelope) {
  const int64_t hop = envelope->frame_samples;
  const size_t frames = envelope->power.size();
  std::vector<std::complex<double>> blocks;
  std::vector<float> tone_power;
  std::vector<float> sum;
  try {
    blocks.resize(frames);
    tone_power.resize(frames);
    sum.assign(frames, 0.0f);
  } catch (const std::bad_alloc&) {
    return false;
  }
  bool any = false;
  for (double frequency : frequencies) {
    const double frame_ms = 1000.0 * hop / envelope->sampling_frequency;
    const int64_t half =
        std::max<int64_t>(kBandFrames, static_cast<int64_t>(std::ceil(kLeastPeriods * 1000.0 / frequency / frame_ms))) / 2;
    // The tone's complex amplitude summed block by block, one phase for the recording.
    const double step = -2.0 * kPi * frequency / envelope->sampling_frequency;
    const std::complex<double> turn(std::cos(step), std::sin(step));
    std::complex<double> phasor(1.0, 0.0);
    for (size_t b = 0; b < frames; ++b) {
      std::complex<double> block(0.0, 0.0);
      int64_t begin = static_cast<int64_t>(b) * hop;
      int64_t end = std::min(envelope->sample_count, begin + hop);
      for (int64_t n = begin; n < end; ++n) {
        block += (samples[n] - envelope->dc_offset) * phasor;
        phasor *= turn;
      }
      phasor /= std::abs(phasor);
      blocks[b] = block;
    }
    // A sine of amplitude A sums to A/2 per sample: its mean square is 2 |mean|^2.
    std::complex<double> window(0.0, 0.0);
    int64_t low = 0;
    int64_t high = 0;
    for (int64_t b = 0; b < static_cast<int64_t>(frames); ++b) {
      while (high < std::min<int64_t>(static_cast<int64_t>(frames), b + half + 1)) window += blocks[high++];
      while (low < b - half) window -= blocks[low++];
      double samples_in = static_cast<double>((high - low) * hop);
      tone_power[b] = static_cast<float>(2.0 * std::norm(window) / (samples_in * samples_in));
    }
    if (!ComesAndGoes(tone_power)) continue;
    any = true;
    for (size_t b = 0; b < frames; ++b) sum[b] += tone_power[b];
  }
  if (!any) return true;
  envelope->power.swap(sum);
  MeasureLevels(envelope);
  return true;
}
