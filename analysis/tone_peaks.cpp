#include "analysis/tone_peaks.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "analysis/real_fft.h"
#include "synth/signal_level.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// The edges of a segment (fades, the smoothing of its edges) are left out: this share,
// at most this long.
constexpr double kTrimShare = 0.1;
constexpr double kLongestTrimMs = 20.0;
// FFT lengths are a power of two; the largest measured stretch fits twice.
constexpr size_t kLongestMeasuredSamples = 32768;
constexpr size_t kFewestMeasuredSamples = 32;
// A peak must stand this far above the spectrum's median, which is the noise: further than
// the highest of thousands of noise bins usually reaches.
constexpr double kPeakOverNoiseDb = 15.0;
// Peaks closer than this many resolution bins are one peak seen through the window's
// main lobe (Hann: 2 bins) and its first side lobe.
constexpr double kPeakSeparationBins = 2.5;
constexpr double kLowestFrequencyHz = 20.0;
// The share of the segment's power the peaks must hold for it to count as a tone.
constexpr double kTonalShare = 0.4;
// A tone that sounds in a third of the stretch spreads its energy over three times the
// window's main lobe: this many resolution bins either side of its peak hold it.
constexpr double kTurnLobeBins = 8.0;
// Golden-section steps within a bin of the padded FFT around the interpolated peak:
// 0.618^14 of a bin is far below a hundredth of a hertz at any rate and length measured.
constexpr int kRefinementSteps = 14;

// The measured stretch, with the gain the segment's shape gives each sample (1 when
// steady; a ramp's line, 1 at its top).
struct Stretch {
  int64_t start = 0;
  int64_t length = 0;
  double gain_at_start = 1.0;
  double gain_step = 0.0;
};

Stretch ChooseStretch(const Segment& segment, int32_t rate) {
  Stretch stretch;
  int64_t length = segment.end - segment.start;
  int64_t trim = std::min(static_cast<int64_t>(kTrimShare * length),
                          static_cast<int64_t>(kLongestTrimMs * rate / 1000.0));
  int64_t longest = std::min(static_cast<int64_t>(kLongestMeasuredMs * rate / 1000.0),
                             static_cast<int64_t>(kLongestMeasuredSamples));
  int64_t first = segment.start + trim;
  int64_t last = segment.end - trim;
  // A ramp is measured in its louder half, where its level is read best.
  if (segment.kind == SegmentKind::RampUp) first = std::max(first, segment.start + length / 2);
  if (segment.kind == SegmentKind::RampDown) last = std::min(last, segment.end - length / 2);
  int64_t available = last - first;
  if (available <= 0) return stretch;
  stretch.length = std::min(available, longest);
  if (segment.kind == SegmentKind::RampUp) {
    stretch.start = last - stretch.length;
  } else if (segment.kind == SegmentKind::RampDown) {
    stretch.start = first;
  } else {
    stretch.start = first + (available - stretch.length) / 2;
  }
  double ramp = static_cast<double>(length);
  if (segment.kind == SegmentKind::RampUp) {
    stretch.gain_at_start = static_cast<double>(stretch.start - segment.start) / ramp;
    stretch.gain_step = 1.0 / ramp;
  } else if (segment.kind == SegmentKind::RampDown) {
    stretch.gain_at_start = static_cast<double>(segment.end - stretch.start) / ramp;
    stretch.gain_step = -1.0 / ramp;
  }
  return stretch;
}

// |sum of windowed[n] e^(-i 2 pi f n / rate)|, the spectrum between the FFT's bins.
double SpectrumAt(const std::vector<double>& windowed, double frequency, int32_t rate) {
  const double step = -2.0 * kPi * frequency / rate;
  // The even and the odd samples are summed apart, each against its own phasor turned two
  // samples at a time, so that neither chain of multiplications waits on the other.
  const std::complex<double> turn(std::cos(2.0 * step), std::sin(2.0 * step));
  std::complex<double> even_phasor(1.0, 0.0);
  std::complex<double> odd_phasor(std::cos(step), std::sin(step));
  std::complex<double> even_sum(0.0, 0.0);
  std::complex<double> odd_sum(0.0, 0.0);
  const size_t pairs = windowed.size() / 2;
  for (size_t p = 0; p < pairs; ++p) {
    even_sum += windowed[2 * p] * even_phasor;
    odd_sum += windowed[2 * p + 1] * odd_phasor;
    even_phasor *= turn;
    odd_phasor *= turn;
    // Keep the phasors on the unit circle over long stretches.
    if ((p & 511) == 511) {
      even_phasor /= std::abs(even_phasor);
      odd_phasor /= std::abs(odd_phasor);
    }
  }
  if (windowed.size() % 2 == 1) even_sum += windowed.back() * even_phasor;
  return std::abs(even_sum + odd_sum);
}

// The frequency of the spectrum's maximum between low and high (golden-section search).
double RefinePeak(const std::vector<double>& windowed, double low, double high, int32_t rate) {
  const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
  double a = low;
  double b = high;
  double c = b - ratio * (b - a);
  double d = a + ratio * (b - a);
  double fc = SpectrumAt(windowed, c, rate);
  double fd = SpectrumAt(windowed, d, rate);
  for (int step = 0; step < kRefinementSteps; ++step) {
    if (fc > fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - ratio * (b - a);
      fc = SpectrumAt(windowed, c, rate);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + ratio * (b - a);
      fd = SpectrumAt(windowed, d, rate);
    }
  }
  return (a + b) / 2.0;
}

size_t FftLengthFor(size_t samples) {
  size_t length = 64;
  while (length < 2 * samples) length *= 2;
  return length;
}

// The peak between bins k - 1 and k + 1, from a parabola through their log powers (Hann
// makes the main lobe nearly a parabola there): in bins.
double InterpolatedBin(const std::vector<double>& power, size_t k) {
  double left = std::log(power[k - 1] + 1e-300);
  double centre = std::log(power[k] + 1e-300);
  double right = std::log(power[k + 1] + 1e-300);
  double curve = left - 2.0 * centre + right;
  double shift = curve < 0.0 ? 0.5 * (left - right) / curve : 0.0;
  return static_cast<double>(k) + std::clamp(shift, -0.5, 0.5);
}

// The share of the spectrum's energy (from lowest on) in the bins within width of a peak.
double PeakEnergyShare(const std::vector<double>& power, const std::vector<size_t>& peaks, double width,
                       size_t lowest) {
  double total = 0.0;
  double near_peaks = 0.0;
  for (size_t k = lowest; k < power.size(); ++k) {
    total += power[k];
    const bool near = std::any_of(peaks.begin(), peaks.end(), [&](size_t peak) {
      return std::fabs(static_cast<double>(k) - static_cast<double>(peak)) <= width;
    });
    if (near) near_peaks += power[k];
  }
  return total > 0.0 ? near_peaks / total : 0.0;
}

}  // namespace

SegmentTones MeasureTones(const int16_t* samples, int32_t rate, double dc_offset, const Segment& segment,
                          Precision precision) {
  SegmentTones result;
  Stretch stretch = ChooseStretch(segment, rate);
  if (stretch.length < static_cast<int64_t>(kFewestMeasuredSamples)) return result;
  const size_t length = static_cast<size_t>(stretch.length);

  // Hann-windowed samples; the sums turn spectrum magnitudes into amplitudes and powers
  // at full gain.
  std::vector<double> windowed(length);
  double window_gain_sum = 0.0;
  double window_gain_square_sum = 0.0;
  double windowed_power = 0.0;
  // The window's cosine, cos(2 pi (n + 0.5) / length), turned by a rotating phasor.
  const double turn = 2.0 * kPi / static_cast<double>(length);
  const double rotate_c = std::cos(turn), rotate_s = std::sin(turn);
  double phasor_c = std::cos(0.5 * turn), phasor_s = std::sin(0.5 * turn);
  for (size_t n = 0; n < length; ++n) {
    double window = 0.5 - 0.5 * phasor_c;
    const double next_c = phasor_c * rotate_c - phasor_s * rotate_s;
    phasor_s = phasor_s * rotate_c + phasor_c * rotate_s;
    phasor_c = next_c;
    double gain = stretch.gain_at_start + stretch.gain_step * static_cast<double>(n);
    double value = samples[stretch.start + static_cast<int64_t>(n)] - dc_offset;
    windowed[n] = window * value;
    window_gain_sum += window * gain;
    window_gain_square_sum += window * gain * gain;
    windowed_power += window * value * value;
  }
  if (window_gain_sum <= 0.0 || window_gain_square_sum <= 0.0) return result;

  const size_t fft_length = FftLengthFor(length);
  std::vector<double> padded(fft_length, 0.0);
  std::copy(windowed.begin(), windowed.end(), padded.begin());
  std::vector<std::complex<double>> spectrum(fft_length / 2);
  RealFft(padded.data(), fft_length, spectrum.data());

  const double bin_hz = static_cast<double>(rate) / fft_length;
  const double resolution_bins = static_cast<double>(fft_length) / length;
  const size_t lowest_bin = std::max<size_t>(
      static_cast<size_t>(std::ceil(kLowestFrequencyHz / bin_hz)),
      static_cast<size_t>(std::ceil(2.0 * resolution_bins)));
  const size_t bins = fft_length / 2;
  if (lowest_bin + 2 >= bins) return result;
  std::vector<double> power(bins, 0.0);
  for (size_t k = 1; k < bins; ++k) power[k] = std::norm(spectrum[k]);

  const double strongest = *std::max_element(power.begin() + lowest_bin, power.end());
  const double range_floor = strongest * std::pow(10.0, -kListedPeakRangeDb / 10.0);
  const double over_noise = std::pow(10.0, kPeakOverNoiseDb / 10.0);
  // The median (the noise) raises the threshold only where it lies less than
  // kPeakOverNoiseDb under the range's floor. Mostly more than half the bins lie further
  // under it than that, which a count tells without sorting them.
  const size_t median_rank = (bins - lowest_bin) / 2;
  size_t far_under = 0;
  for (size_t k = lowest_bin; k < bins; ++k) far_under += power[k] * over_noise <= range_floor ? 1 : 0;
  double threshold = range_floor;
  if (far_under <= median_rank) {
    std::vector<double> sorted(power.begin() + lowest_bin, power.end());
    std::nth_element(sorted.begin(), sorted.begin() + median_rank, sorted.end());
    threshold = std::max(range_floor, sorted[median_rank] * over_noise);
  }
  if (!(strongest > 0.0)) return result;

  std::vector<size_t> candidates;
  for (size_t k = lowest_bin; k + 1 < bins; ++k) {
    if (power[k] >= threshold && power[k] > power[k - 1] && power[k] >= power[k + 1]) candidates.push_back(k);
  }
  std::sort(candidates.begin(), candidates.end(), [&](size_t a, size_t b) { return power[a] > power[b]; });
  std::vector<size_t> accepted;
  const double separation = kPeakSeparationBins * resolution_bins;
  for (size_t k : candidates) {
    if (accepted.size() >= kMostPeaksPerSegment) break;
    bool apart = true;
    for (size_t other : accepted) {
      if (std::fabs(static_cast<double>(k) - static_cast<double>(other)) < separation) apart = false;
    }
    if (apart) accepted.push_back(k);
  }

  double peak_power = 0.0;
  for (size_t k : accepted) {
    double bin = InterpolatedBin(power, k);
    double frequency = precision == Precision::Refined
                           ? RefinePeak(windowed, (bin - 0.5) * bin_hz, (bin + 0.5) * bin_hz, rate)
                           : bin * bin_hz;
    double amplitude = 2.0 * SpectrumAt(windowed, frequency, rate) / window_gain_sum;
    result.tones.push_back(TonePeak{frequency, RmsToDbfs(amplitude / std::sqrt(2.0))});
    peak_power += amplitude * amplitude / 2.0;
  }
  std::sort(result.tones.begin(), result.tones.end(),
            [](const TonePeak& a, const TonePeak& b) { return a.frequency < b.frequency; });
  double total_power = windowed_power / window_gain_square_sum;
  result.tonal = !result.tones.empty() && peak_power >= kTonalShare * total_power;
  // Tones that take turns each sound in part of the stretch only, so their amplitudes fall
  // short; their energy, in the bins around each peak, still holds most of the stretch's.
  result.tones_take_turns = !result.tonal && accepted.size() >= 2 &&
                            PeakEnergyShare(power, accepted, kTurnLobeBins * resolution_bins, lowest_bin) >= kTonalShare;
  return result;
}
