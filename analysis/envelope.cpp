#include "analysis/envelope.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "synth/signal_level.h"

namespace {

// The histogram that finds the background level: 0.25 dB steps from silence up to
// a little above full scale.
constexpr double kHistogramStepDb = 0.25;
constexpr double kHistogramTopDb = 10.0;
constexpr double kFloorPercentile = 0.02;
constexpr size_t kSmoothingBlockFrames = 4096;

// The recording's offset from zero. The median, not the mean: a ramped or faded tone is
// not symmetric about zero over its length, but its middle sample value still is.
int32_t MedianSample(const int16_t* samples, int64_t count) {
  std::vector<uint32_t> counts(65536, 0);
  for (int64_t i = 0; i < count; ++i) ++counts[static_cast<uint16_t>(samples[i] + 32768)];
  int64_t seen = 0;
  for (int32_t value = 0; value < static_cast<int32_t>(counts.size()); ++value) {
    seen += counts[static_cast<size_t>(value)];
    if (2 * seen > count) return value - 32768;
  }
  return 0;
}

}  // namespace

double PowerToDbfs(double power) {
  double dbfs = RmsToDbfs(std::sqrt(power > 0.0 ? power : 0.0));
  return dbfs > kSilenceDbfs ? dbfs : kSilenceDbfs;
}

void SmoothPowers(const Envelope& envelope, size_t first, size_t last, std::vector<double>* smoothed) {
  const size_t frames = envelope.power.size();
  last = std::min(last, frames);
  smoothed->assign(last > first ? last - first : 0, 0.0);
  if (last <= first) return;
  const size_t half = kSmoothingFrames / 2;
  // A running sum over the window [k - half, k + half], clipped to the recording.
  size_t low = first > half ? first - half : 0;
  size_t high = std::min(frames, first + half + 1);
  double sum = 0.0;
  for (size_t k = low; k < high; ++k) sum += envelope.power[k];
  for (size_t k = first; k < last; ++k) {
    (*smoothed)[k - first] = sum / static_cast<double>(high - low);
    if (k + half + 1 < frames) sum += envelope.power[high++];
    if (k >= half) sum -= envelope.power[low++];
  }
  // Rounding of the running sum must not leave a tiny negative power behind.
  for (double& value : *smoothed) value = value > 0.0 ? value : 0.0;
}

bool MeasureEnvelope(const int16_t* samples, int64_t count, int32_t rate, Envelope* envelope) {
  *envelope = Envelope();
  envelope->sampling_frequency = rate;
  envelope->frame_samples = rate >= 2000 ? rate / 1000 : 1;
  envelope->sample_count = count;
  if (count <= 0) return true;

  const int32_t median = MedianSample(samples, count);
  envelope->dc_offset = median;

  const int64_t hop = envelope->frame_samples;
  const size_t frames = static_cast<size_t>((count + hop - 1) / hop);
  try {
    envelope->power.resize(frames);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (size_t k = 0; k < frames; ++k) {
    int64_t begin = static_cast<int64_t>(k) * hop;
    int64_t end = std::min(count, begin + hop);
    // The offset is a sample value, so the frame's energy is a sum of whole numbers: exact
    // in integers, and free of the chain of rounded additions a double sum waits on.
    int64_t energy = 0;
    for (int64_t i = begin; i < end; ++i) {
      const int64_t value = samples[i] - median;
      energy += value * value;
    }
    envelope->power[k] = static_cast<float>(static_cast<double>(energy) / static_cast<double>(end - begin));
  }

  MeasureLevels(envelope);
  return true;
}

void MeasureLevels(Envelope* envelope) {
  const size_t frames = envelope->power.size();
  // The background is a low percentile of the smoothed power, the loudest its maximum.
  // Each histogram bin also sums its powers, so the background is a power read from the
  // recording, not a bin's edge turned back from decibels.
  const size_t bins = static_cast<size_t>((kHistogramTopDb - kSilenceDbfs) / kHistogramStepDb) + 1;
  std::vector<size_t> counts(bins, 0);
  std::vector<double> sums(bins, 0.0);
  std::vector<double> smoothed;
  double peak = 0.0;
  for (size_t first = 0; first < frames; first += kSmoothingBlockFrames) {
    SmoothPowers(*envelope, first, first + kSmoothingBlockFrames, &smoothed);
    for (double power : smoothed) {
      peak = std::max(peak, power);
      size_t bin = static_cast<size_t>((PowerToDbfs(power) - kSilenceDbfs) / kHistogramStepDb);
      bin = std::min(bin, bins - 1);
      ++counts[bin];
      sums[bin] += power;
    }
  }
  size_t wanted = static_cast<size_t>(kFloorPercentile * static_cast<double>(frames));
  size_t seen = 0;
  size_t floor_bin = 0;
  while (floor_bin + 1 < bins && seen + counts[floor_bin] <= wanted) seen += counts[floor_bin++];
  envelope->floor_power = counts[floor_bin] > 0 ? sums[floor_bin] / static_cast<double>(counts[floor_bin]) : 0.0;
  envelope->peak_power = peak;
}
