#include "tests/analysis/degraded_line.h"

#include <kissfft.hh>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

#include "synth/signal_level.h"

namespace sonaril_test {
namespace {

constexpr double kPi = 3.14159265358979323846;

int16_t Clip(double value) {
  double rounded = std::round(value);
  if (rounded > 32767.0) return 32767;
  if (rounded < -32768.0) return -32768;
  return static_cast<int16_t>(rounded);
}

// Windowed-sinc band-pass: 120 dB stop band (Kaiser beta 12.27) with 100 Hz transitions.
std::vector<double> BandPassTaps(int32_t rate, double low_hz, double high_hz) {
  const double transition = 100.0 / rate;
  const double beta = 12.27;
  size_t length = static_cast<size_t>(std::ceil((120.0 - 7.95) / (2.285 * 2.0 * kPi * transition))) | 1u;
  std::vector<double> taps(length);
  const double middle = (length - 1) / 2.0;
  const double low = (low_hz - 50.0) / rate;
  const double high = (high_hz + 50.0) / rate;
  for (size_t n = 0; n < length; ++n) {
    double t = static_cast<double>(n) - middle;
    double ideal = t == 0.0 ? 2.0 * (high - low)
                            : (std::sin(2.0 * kPi * high * t) - std::sin(2.0 * kPi * low * t)) / (kPi * t);
    double r = t / middle;
    double window = std::cyl_bessel_i(0.0, beta * std::sqrt(std::max(0.0, 1.0 - r * r))) / std::cyl_bessel_i(0.0, beta);
    taps[n] = ideal * window;
  }
  return taps;
}

using Spectrum = std::vector<std::complex<double>>;

// values zero-padded to the power of two at least n long.
template <typename Value>
Spectrum Padded(const std::vector<Value>& values, size_t n) {
  size_t length = 1;
  while (length < n) length *= 2;
  Spectrum padded(length);
  std::copy(values.begin(), values.end(), padded.begin());
  return padded;
}

// The discrete Fourier transform, the inverse one scaled by 1/n.
Spectrum Transform(const Spectrum& values, bool inverse) {
  Spectrum out(values.size());
  kissfft<double>(values.size(), inverse).transform(values.data(), out.data());
  if (inverse) {
    for (std::complex<double>& value : out) value /= static_cast<double>(values.size());
  }
  return out;
}

// The minimum-phase filter of the same magnitude, from the folded real cepstrum.
std::vector<double> MinimumPhase(const std::vector<double>& taps) {
  Spectrum values = Transform(Padded(taps, 16 * taps.size()), false);
  const size_t n = values.size();
  for (std::complex<double>& value : values) value = std::log(std::max(std::abs(value), 1e-9));
  values = Transform(values, true);
  for (size_t i = 0; i < n; ++i) values[i] = values[i].real() * ((i == 0 || i == n / 2) ? 1.0 : i < n / 2 ? 2.0 : 0.0);
  values = Transform(values, false);
  for (std::complex<double>& value : values) value = std::exp(value);
  values = Transform(values, true);
  std::vector<double> minimum(taps.size());
  for (size_t i = 0; i < taps.size(); ++i) minimum[i] = values[i].real();
  return minimum;
}

// One second-order section, designed by the bilinear transform (RBJ's cookbook forms).
struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double Step(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

Biquad Butterworth(double corner_hz, int32_t rate, bool high_pass) {
  const double omega = 2.0 * kPi * corner_hz / rate;
  const double alpha = std::sin(omega) / std::sqrt(2.0);
  const double cosine = std::cos(omega);
  const double a0 = 1.0 + alpha;
  const double edge = high_pass ? 1.0 + cosine : 1.0 - cosine;
  const double b0 = edge / 2.0 / a0;
  return Biquad{b0, (high_pass ? -edge : edge) / a0, b0, -2.0 * cosine / a0, (1.0 - alpha) / a0};
}

}  // namespace

std::vector<int16_t> ThroughG711(const std::vector<int16_t>& samples, G711Law law) {
  std::vector<uint8_t> bytes;
  EncodeG711(samples.data(), samples.size(), law, &bytes);
  std::vector<int16_t> decoded;
  for (uint8_t byte : bytes) decoded.push_back(law == G711Law::MuLaw ? DecodeMuLawByte(byte) : DecodeALawByte(byte));
  return decoded;
}

std::vector<int16_t> WithNoise(const std::vector<int16_t>& samples, double snr_db, uint32_t seed) {
  double power = 0.0;
  size_t sounding = 0;
  for (int16_t sample : samples) {
    if (sample == 0) continue;
    power += static_cast<double>(sample) * sample;
    ++sounding;
  }
  double deviation = sounding > 0 ? std::sqrt(power / sounding / std::pow(10.0, snr_db / 10.0)) : 0.0;
  // Box-Muller on the 32-bit Mersenne Twister, whose sequence the standard fixes.
  std::mt19937 random(seed);
  std::vector<int16_t> noisy;
  for (int16_t sample : samples) {
    double uniform1 = (random() + 1.0) / 4294967297.0;
    double uniform2 = random() / 4294967296.0;
    double gaussian = std::sqrt(-2.0 * std::log(uniform1)) * std::cos(2.0 * kPi * uniform2);
    noisy.push_back(Clip(sample + deviation * gaussian));
  }
  return noisy;
}

std::vector<int16_t> WithGain(const std::vector<int16_t>& samples, double gain_db) {
  double factor = std::pow(10.0, gain_db / 20.0);
  std::vector<int16_t> scaled;
  for (int16_t sample : samples) scaled.push_back(Clip(sample * factor));
  return scaled;
}

std::vector<int16_t> StartingAt(const std::vector<int16_t>& samples, int32_t rate, double seconds) {
  size_t skip = static_cast<size_t>(seconds * rate);
  if (skip >= samples.size()) return {};
  return std::vector<int16_t>(samples.begin() + static_cast<long>(skip), samples.end());
}

std::vector<int16_t> WithHum(const std::vector<int16_t>& samples, int32_t rate, double hum_hz, double level_dbfs) {
  double amplitude = DbfsToPercent(level_dbfs) / 100.0 * 32767.0;
  std::vector<int16_t> hummed;
  for (size_t n = 0; n < samples.size(); ++n) {
    hummed.push_back(Clip(samples[n] + amplitude * std::sin(2.0 * kPi * hum_hz * static_cast<double>(n) / rate)));
  }
  return hummed;
}

std::vector<int16_t> WithEcho(const std::vector<int16_t>& samples, int32_t rate, double delay_ms, double gain_db) {
  const size_t delay = static_cast<size_t>(std::lround(delay_ms * rate / 1000.0));
  const double gain = std::pow(10.0, gain_db / 20.0);
  std::vector<int16_t> echoed;
  for (size_t n = 0; n < samples.size(); ++n) {
    echoed.push_back(Clip(samples[n] + (n >= delay ? gain * samples[n - delay] : 0.0)));
  }
  return echoed;
}

std::vector<int16_t> ThroughBandPass(const std::vector<int16_t>& samples, int32_t rate, double low_hz, double high_hz,
                                     FilterPhase phase) {
  std::vector<double> taps = BandPassTaps(rate, low_hz, high_hz);
  // Linear phase is heard without its delay, as filters of audio editors apply it.
  const size_t delay = phase == FilterPhase::Linear ? taps.size() / 2 : 0;
  if (phase == FilterPhase::Minimum) taps = MinimumPhase(taps);
  Spectrum signal = Transform(Padded(samples, samples.size() + taps.size()), false);
  const Spectrum response = Transform(Padded(taps, signal.size()), false);
  for (size_t i = 0; i < signal.size(); ++i) signal[i] *= response[i];
  signal = Transform(signal, true);
  std::vector<int16_t> filtered;
  for (size_t n = 0; n < samples.size(); ++n) filtered.push_back(Clip(signal[n + delay].real()));
  return filtered;
}

std::vector<int16_t> ThroughAgc(const std::vector<int16_t>& samples, int32_t rate, double attack_ms,
                                double look_ahead_ms) {
  const double attack = 1.0 - std::exp(-1.0 / (attack_ms / 1000.0 * rate));
  const double release = 1.0 - std::exp(-1.0 / (0.200 * rate));
  const size_t look_ahead = static_cast<size_t>(look_ahead_ms / 1000.0 * rate);
  std::vector<double> follower(samples.size());
  double level = std::pow(10.0, -90.0 / 20.0);
  for (size_t n = 0; n < samples.size(); ++n) {
    double magnitude = std::fabs(samples[n]) / 32768.0;
    level += (magnitude - level) * (magnitude > level ? attack : release);
    follower[n] = level;
  }
  std::vector<int16_t> out;
  for (size_t n = 0; n < samples.size(); ++n) {
    double ahead = follower[std::min(samples.size() - 1, n + look_ahead)];
    double db = 20.0 * std::log10(std::max(ahead, 1e-9));
    // 0.8 dB up per dB under -8 dBFS of the peaks followed (at most 20 dB), none above; 5 dB
    // down overall.
    double lift = db < -8.0 ? std::min(20.0, 0.8 * (-8.0 - db)) : 0.0;
    out.push_back(Clip(samples[n] * std::pow(10.0, (lift - 5.0) / 20.0)));
  }
  return out;
}

std::vector<int16_t> ThroughTelephoneBand(const std::vector<int16_t>& samples, int32_t rate) {
  std::vector<Biquad> sections = {Butterworth(300.0, rate, true), Butterworth(300.0, rate, true),
                                  Butterworth(3400.0, rate, false), Butterworth(3400.0, rate, false)};
  std::vector<int16_t> filtered;
  for (int16_t sample : samples) {
    double value = sample;
    for (Biquad& section : sections) value = section.Step(value);
    filtered.push_back(Clip(value));
  }
  return filtered;
}

}  // namespace sonaril_test
