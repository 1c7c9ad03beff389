#include "tests/analysis/degraded_line.h"

#include <cmath>
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

}  // namespace sonaril_test

namespace sonaril_test {
namespace {

// One second-order section, designed by the bilinear transform (RBJ's cookbook forms).
struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double Step(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

Biquad Butterworth(double corner_hz, int32_t rate, bool high_pass) {
  const double omega = 2.0 * kPi * corner_hz / rate;
  const double alpha = std::sin(omega) / std::sqrt(2.0);
  const double cosine = std::cos(omega);
  const double a0 = 1.0 + alpha;
  Biquad section{};
  if (high_pass) {
    section.b0 = (1.0 + cosine) / 2.0 / a0;
    section.b1 = -(1.0 + cosine) / a0;
  } else {
    section.b0 = (1.0 - cosine) / 2.0 / a0;
    section.b1 = (1.0 - cosine) / a0;
  }
  section.b2 = section.b0;
  section.a1 = -2.0 * cosine / a0;
  section.a2 = (1.0 - alpha) / a0;
  return section;
}

}  // namespace

std::vector<int16_t> ThroughTelephoneBand(const std::vector<int16_t>& samples, int32_t rate) {
  std::vector<Biquad> sections = {Butterworth(300.0, rate, true), Butterworth(300.0, rate, true),
                                  Butterworth(3400.0, rate, false), Butterworth(3400.0, rate, false)};
  std::vector<int16_t> filtered;
  filtered.reserve(samples.size());
  for (int16_t sample : samples) {
    double value = sample;
    for (Biquad& section : sections) value = section.Step(value);
    filtered.push_back(Clip(value));
  }
  return filtered;
}

}  // namespace sonaril_test
