#include "analysis/tone_changes.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Each frequency's amplitude is followed in windows of six blocks of 5 ms: 30 ms tell
// tones 25 Hz apart from each other and still place a change to a millisecond or two.
constexpr double kBlockMs = 5.0;
constexpr size_t kWindowBlocks = 6;
// A frequency sounds while its share of its loudest in the segment is above kHeardShare
// and above half the strongest share in the window.
constexpr double kSoundingShare = 0.5;
constexpr double kHeardShare = 0.2;
// A new set of frequencies must hold this many windows (20 ms) to be a change.
constexpr size_t kSteadyWindows = 4;

}  // namespace

std::vector<double> FollowedFrequencies(const std::vector<TonePeak>& tones, double range_db) {
  std::vector<TonePeak> loudest_first(tones);
  std::sort(loudest_first.begin(), loudest_first.end(),
            [](const TonePeak& a, const TonePeak& b) { return a.level_dbfs > b.level_dbfs; });
  std::vector<double> followed;
  for (const TonePeak& tone : loudest_first) {
    if (tone.level_dbfs < loudest_first.front().level_dbfs - range_db) break;
    bool apart = std::all_of(followed.begin(), followed.end(),
                             [&](double other) { return std::fabs(other - tone.frequency) >= kBeatingHz; });
    if (apart) followed.push_back(tone.frequency);
  }
  std::sort(followed.begin(), followed.end());
  return followed;
}

std::vector<int64_t> FindToneChanges(const int16_t* samples, int32_t rate, double dc_offset,
                                     const Segment& segment, const std::vector<double>& frequencies) {
  std::vector<int64_t> changes;
  const size_t count = frequencies.size();
  const int64_t block = std::max<int64_t>(1, static_cast<int64_t>(kBlockMs * rate / 1000.0));
  const size_t blocks = static_cast<size_t>((segment.end - segment.start) / block);
  if (count < 2 || count > 32 || blocks < kWindowBlocks + 2 * kSteadyWindows) return changes;

  // The spectrum at each frequency, block by block, with one phase for the whole segment
  // so that neighbouring blocks add up: every block is summed against one table of the
  // frequency's phasor over a block, then turned to the phase at the block's start.
  const size_t length = static_cast<size_t>(block);
  std::vector<double> steps(count);
  std::vector<double> cosines(count * length);
  std::vector<double> sines(count * length);
  for (size_t k = 0; k < count; ++k) {
    steps[k] = -2.0 * kPi * frequencies[k] / rate;
    for (size_t n = 0; n < length; ++n) {
      cosines[k * length + n] = std::cos(steps[k] * static_cast<double>(n));
      sines[k * length + n] = std::sin(steps[k] * static_cast<double>(n));
    }
  }
  auto turned = [&](size_t k, size_t b, double real, double imaginary) {
    const double start_phase = steps[k] * static_cast<double>(block) * static_cast<double>(b);
    return std::polar(1.0, start_phase) * std::complex<double>(real, imaginary);
  };
  std::vector<std::complex<double>> sums(blocks * count);
  // Two frequencies at a time, so that their four sums do not wait on each other; an odd
  // count's last frequency is summed twice.
  for (size_t k = 0; k < count; k += 2) {
    const size_t other = std::min(k + 1, count - 1);
    const double* cos_k = &cosines[k * length];
    const double* sin_k = &sines[k * length];
    const double* cos_other = &cosines[other * length];
    const double* sin_other = &sines[other * length];
    for (size_t b = 0; b < blocks; ++b) {
      double real_k = 0.0, imaginary_k = 0.0, real_other = 0.0, imaginary_other = 0.0;
      const int16_t* at = samples + segment.start + static_cast<int64_t>(b) * block;
      for (size_t n = 0; n < length; ++n) {
        const double value = at[n] - dc_offset;
        real_k += value * cos_k[n];
        imaginary_k += value * sin_k[n];
        real_other += value * cos_other[n];
        imaginary_other += value * sin_other[n];
      }
      sums[b * count + k] = turned(k, b, real_k, imaginary_k);
      sums[b * count + other] = turned(other, b, real_other, imaginary_other);
    }
  }
  const size_t windows = blocks - kWindowBlocks + 1;
  std::vector<double> amplitude(windows * count);
  std::vector<double> loudest(count, 0.0);
  for (size_t k = 0; k < count; ++k) {
    for (size_t t = 0; t < windows; ++t) {
      std::complex<double> sum(0.0, 0.0);
      for (size_t b = t; b < t + kWindowBlocks; ++b) sum += sums[b * count + k];
      amplitude[t * count + k] = std::abs(sum);
      loudest[k] = std::max(loudest[k], std::abs(sum));
    }
  }
  // Each frequency against its loudest, and against the strongest of them in the window: a
  // line's gain that falls (an AGC after its attack) lowers them all and changes nothing.
  auto sounding = [&](size_t t) {
    double strongest = 0.0;
    for (size_t k = 0; k < count; ++k) strongest = std::max(strongest, amplitude[t * count + k] / loudest[k]);
    uint32_t set = 0;
    if (strongest < kHeardShare) return set;
    for (size_t k = 0; k < count; ++k) {
      const double share = amplitude[t * count + k] / loudest[k];
      if (share >= kHeardShare && share >= kSoundingShare * strongest) set |= 1u << k;
    }
    return set;
  };
  auto holds = [&](size_t t, uint32_t set) {
    for (size_t u = t; u < t + kSteadyWindows; ++u) {
      if (u >= windows || sounding(u) != set) return false;
    }
    return true;
  };

  // The window's middle is where a change in it lies when the amplitude crosses half.
  const double middle = kWindowBlocks * static_cast<double>(block) / 2.0;
  uint32_t current = sounding(0);
  for (size_t t = 1; t < windows; ++t) {
    uint32_t set = sounding(t);
    // Where nothing sounds the segment's runs decide, not its tones.
    if (set == 0 || set == current || !holds(t, set)) continue;
    double position_sum = 0.0;
    int changed = 0;
    for (size_t k = 0; k < count; ++k) {
      if (((set ^ current) >> k & 1u) == 0) continue;
      // Where this frequency's amplitude crossed half its level beside the change (a
      // window's length away from it; an AGC may have brought it down since its loudest),
      // between two windows.
      const bool was_sounding = (current >> k) & 1u;
      const size_t beside = was_sounding ? (t > kWindowBlocks ? t - 1 - kWindowBlocks : 0)
                                         : std::min(windows - 1, t + kWindowBlocks);
      const double half = kSoundingShare * amplitude[beside * count + k];
      size_t before = t - 1;
      while (before > 0 && ((amplitude[before * count + k] >= half) != was_sounding)) --before;
      double a = amplitude[before * count + k];
      double b = amplitude[(before + 1) * count + k];
      double fraction = b != a ? std::clamp((half - a) / (b - a), 0.0, 1.0) : 0.5;
      position_sum += (static_cast<double>(before) + fraction) * block + middle;
      ++changed;
    }
    int64_t position = segment.start + static_cast<int64_t>(std::llround(position_sum / changed));
    if (changes.empty() || position > changes.back()) changes.push_back(position);
    current = set;
  }
  return changes;
}
