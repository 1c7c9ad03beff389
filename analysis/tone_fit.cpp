#include "analysis/tone_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The oscillators are put back on the unit circle this often.
constexpr int64_t kRenormaliseSamples = 1024;

// Calls body with the number of tones (1 to kMostFittedTones) as a constant, an
// std::integral_constant: with it fixed, the loops over the samples keep the basis and the
// sums in registers.
template <class Body>
void WithToneCount(size_t tones, Body body) {
  switch (tones) {
    case 1: body(std::integral_constant<size_t, 1>()); break;
    case 2: body(std::integral_constant<size_t, 2>()); break;
    case 3: body(std::integral_constant<size_t, 3>()); break;
    default: body(std::integral_constant<size_t, 4>()); break;
  }
}
static_assert(kMostFittedTones == 4, "WithToneCount covers 1 to 4 tones");

}  // namespace

ToneFit::ToneFit(const int16_t* samples, double dc_offset, int32_t rate, const std::vector<double>& frequencies)
    : samples_(samples), dc_offset_(dc_offset) {
  for (double frequency : frequencies) omega_.push_back(2.0 * kPi * frequency / rate);
}

template <size_t Tones, class Visit>
void ToneFit::ForEachSample(int64_t first, int64_t last, Visit visit) const {
  std::array<std::complex<double>, Tones> phasor;
  std::array<std::complex<double>, Tones> turn;
  for (size_t t = 0; t < Tones; ++t) {
    phasor[t] = std::polar(1.0, omega_[t] * static_cast<double>(first - origin_));
    turn[t] = std::polar(1.0, omega_[t]);
  }
  std::array<double, 2 * Tones> basis;
  int64_t until_renormalised = kRenormaliseSamples;
  for (int64_t n = first; n < last; ++n) {
    const double gain = gain_first_ + gain_step_ * static_cast<double>(n - origin_);
    const bool renormalise = --until_renormalised == 0;
    if (renormalise) until_renormalised = kRenormaliseSamples;
    for (size_t t = 0; t < Tones; ++t) {
      basis[2 * t] = gain * phasor[t].real();
      basis[2 * t + 1] = gain * phasor[t].imag();
      phasor[t] *= turn[t];
      if (renormalise) phasor[t] /= std::abs(phasor[t]);
    }
    visit(n, basis);
  }
}

bool ToneFit::Fit(int64_t first, int64_t last, double gain_first, double gain_last) {
  const size_t k = 2 * omega_.size();
  if (k == 0 || omega_.size() > kMostFittedTones || last - first < static_cast<int64_t>(k) * 4) return false;
  origin_ = first;
  gain_first_ = gain_first;
  gain_step_ = (gain_last - gain_first) / static_cast<double>(last - first);
  std::vector<double> normal(k * k, 0.0);
  std::vector<double> right(k, 0.0);
  WithToneCount(omega_.size(), [&](auto tones) {
    constexpr size_t kBasis = 2 * decltype(tones)::value;
    // Each sum is still added up sample by sample in order.
    std::array<double, kBasis * kBasis> products{};
    std::array<double, kBasis> projections{};
    ForEachSample<decltype(tones)::value>(first, last, [&](int64_t n, const std::array<double, kBasis>& basis) {
      const double value = samples_[n] - dc_offset_;
      for (size_t i = 0; i < kBasis; ++i) {
        projections[i] += basis[i] * value;
        for (size_t j = i; j < kBasis; ++j) products[i * kBasis + j] += basis[i] * basis[j];
      }
    });
    std::copy(products.begin(), products.end(), normal.begin());
    std::copy(projections.begin(), projections.end(), right.begin());
  });
  double largest = 0.0;
  for (size_t i = 0; i < k; ++i) largest = std::max(largest, normal[i * k + i]);
  for (size_t i = 0; i < k; ++i) {
    for (size_t j = 0; j < i; ++j) normal[i * k + j] = normal[j * k + i];
    // Tones too close for the stretch to tell apart share their amplitude evenly.
    normal[i * k + i] += 1e-6 * largest;
  }
  // Gaussian elimination; the matrix is symmetric positive definite.
  for (size_t c = 0; c < k; ++c) {
    const double pivot = normal[c * k + c];
    if (!(pivot > 0.0)) return false;
    for (size_t r = c + 1; r < k; ++r) {
      const double factor = normal[r * k + c] / pivot;
      for (size_t j = c; j < k; ++j) normal[r * k + j] -= factor * normal[c * k + j];
      right[r] -= factor * right[c];
    }
  }
  amplitude_.assign(k, 0.0);
  for (size_t c = k; c-- > 0;) {
    double sum = right[c];
    for (size_t j = c + 1; j < k; ++j) sum -= normal[c * k + j] * amplitude_[j];
    amplitude_[c] = sum / normal[c * k + c];
  }
  return true;
}

double ToneFit::Power() const {
  double power = 0.0;
  for (double amplitude : amplitude_) power += amplitude * amplitude / 2.0;
  return power;
}

double ToneFit::TonePower(size_t tone) const {
  if (2 * tone + 1 >= amplitude_.size()) return 0.0;
  return (amplitude_[2 * tone] * amplitude_[2 * tone] + amplitude_[2 * tone + 1] * amplitude_[2 * tone + 1]) / 2.0;
}

void ToneFit::Values(int64_t first, int64_t last, std::vector<double>* values) const {
  values->assign(static_cast<size_t>(std::max<int64_t>(0, last - first)), 0.0);
  if (amplitude_.empty()) return;
  WithToneCount(omega_.size(), [&](auto tones) {
    constexpr size_t kBasis = 2 * decltype(tones)::value;
    ForEachSample<decltype(tones)::value>(first, last, [&](int64_t n, const std::array<double, kBasis>& basis) {
      double value = 0.0;
      for (size_t i = 0; i < kBasis; ++i) value += amplitude_[i] * basis[i];
      (*values)[static_cast<size_t>(n - first)] = value;
    });
  });
}

double ToneFit::Unexplained(int64_t first, int64_t last) const {
  std::vector<double> values;
  Values(first, last, &values);
  double left = 0.0;
  for (int64_t n = first; n < last; ++n) {
    const double error = samples_[n] - dc_offset_ - values[static_cast<size_t>(n - first)];
    left += error * error;
  }
  return left;
}

ToneShare::ToneShare(const int16_t* samples, double dc_offset, const ToneFit& fit, int64_t first, int64_t last)
    : first_(first), cross_(static_cast<size_t>(last - first + 1), 0.0), model_(cross_.size(), 0.0) {
  std::vector<double> tones;
  fit.Values(first, last, &tones);
  for (size_t i = 0; i < tones.size(); ++i) {
    cross_[i + 1] = cross_[i] + (samples[first + static_cast<int64_t>(i)] - dc_offset) * tones[i];
    model_[i + 1] = model_[i] + tones[i] * tones[i];
  }
}

double ToneShare::Share(int64_t n, int64_t half_width, double* power) const {
  const int64_t last = first_ + static_cast<int64_t>(cross_.size()) - 1;
  const size_t low = static_cast<size_t>(std::clamp(n - half_width, first_, last) - first_);
  const size_t high = static_cast<size_t>(std::clamp(n + half_width, first_, last) - first_);
  const double model = model_[high] - model_[low];
  *power = high > low ? model / static_cast<double>(high - low) : 0.0;
  return model > 0.0 ? (cross_[high] - cross_[low]) / model : 0.0;
}
