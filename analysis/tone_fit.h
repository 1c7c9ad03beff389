// A step's tones fitted to the recording by least squares (the amplitude and phase of each
// at known frequencies), and how much of the fitted tones the recording holds around each
// sample. Tones that beat are fitted as they beat.
#pragma once
#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

// At most this many tones are fitted at once.
constexpr size_t kMostFittedTones = 4;

// Tones fitted over a stretch, each times a gain that runs linearly from gain_first to
// gain_last over it (1 to 1: steady tones; 1 to 0: a ramp down).
class ToneFit {
 public:
  ToneFit(const int16_t* samples, double dc_offset, int32_t rate, const std::vector<double>& frequencies);

  // False when nothing can be fitted (no tones, more than kMostFittedTones, too short a
  // stretch).
  bool Fit(int64_t first, int64_t last, double gain_first = 1.0, double gain_last = 1.0);
  // The fitted tones' mean power at full gain, all of them or the tone-th.
  double Power() const;
  double TonePower(size_t tone) const;
  // The fitted tones at every sample of [first, last).
  void Values(int64_t first, int64_t last, std::vector<double>* values) const;
  // The recording's energy over [first, last) that the fit leaves unexplained.
  double Unexplained(int64_t first, int64_t last) const;

 private:
  // Calls visit(n, basis) for every sample of [first, last) with the cosine and sine of
  // each of the Tones tones there, times the gain.
  template <size_t Tones, class Visit>
  void ForEachSample(int64_t first, int64_t last, Visit visit) const;

  const int16_t* samples_;
  double dc_offset_;
  std::vector<double> omega_;
  std::vector<double> amplitude_;
  int64_t origin_ = 0;
  double gain_first_ = 1.0;
  double gain_step_ = 0.0;
};

// The recording's share of the fitted tones around each sample of [first, last): running
// totals of recording times tones and of tones squared.
class ToneShare {
 public:
  ToneShare(const int16_t* samples, double dc_offset, const ToneFit& fit, int64_t first, int64_t last);

  // The share over the window of half_width either side of n, and the tones' mean power
  // there.
  double Share(int64_t n, int64_t half_width, double* power) const;

 private:
  int64_t first_;
  std::vector<double> cross_;
  std::vector<double> model_;
};
