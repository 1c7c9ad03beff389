#include "tests/synth/reference_synthesis.h"

#include <cmath>
#include <limits>

namespace reference {
namespace {

int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

int32_t Trunc(double value) {
  if (std::isnan(value)) return 0;
  const double t = std::trunc(value);
  if (t >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (t <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(t);
}

int32_t Divide(int32_t a, int32_t b) { return Wrap(int64_t{a} / b); }

}  // namespace

int Generator::Init(int32_t wave_type, int32_t fs, int32_t start_time, int32_t end_time,
                    int32_t tone_frequency, int32_t tone_phase, int32_t level) {
  if (fs == 0 || tone_frequency == 0) return 0;
  type = (wave_type >= 0 && wave_type <= 3) ? wave_type : 0;
  sample_rate = fs;
  start_sample = Divide(Wrap(int64_t{fs} * start_time), 1000);
  end_sample = end_time < 0 ? -1 : Divide(Wrap(int64_t{fs} * end_time), 1000);
  frequency = tone_frequency;
  loop_length = -1;
  phase = tone_phase % 360;
  position = 0;
  phase_counter = 0;
  amplitude = Divide(Wrap(int64_t{level} * 32767), 100);
  max_value = amplitude;
  min_value = Wrap(-int64_t{amplitude});
  period = Divide(sample_rate, frequency);
  phase_counter = Divide(Wrap(int64_t{period} * phase), 360);
  switch (type) {
    case 0:
      phase_offset = 0.0;
      phase_step = (6.283185307179586 / sample_rate) * frequency;
      break;
    case 1:
      high_length = period >> 1;
      break;
    case 2:
      up_length = period >> 1;
      down_length = Wrap(int64_t{period} - up_length);
      up_slope = up_length > 0 ? 2.0 / up_length : 1.0;
      down_slope = down_length > 0 ? 2.0 / down_length : 1.0;
      break;
    default:
      slope = period > 0 ? 2.0 / period : 1.0;
      break;
  }
  return 1;
}

int32_t Generator::Value(int32_t c) const {
  switch (type) {
    case 0: {
      int32_t v = Trunc(std::sin(c * phase_step + phase_offset) * amplitude);
      if (v > max_value) v = max_value;
      if (v < min_value) v = min_value;
      return v;
    }
    case 1:
      return c < high_length ? max_value : min_value;
    case 2:
      if (c < up_length) return Wrap(int64_t{Trunc(c * up_slope * amplitude)} + min_value);
      return Wrap(int64_t{max_value} -
                  Trunc(static_cast<double>(Wrap(int64_t{c} - up_length)) * down_slope *
                        amplitude));
    default: {
      int32_t v = Wrap(int64_t{min_value} + Trunc(c * slope * amplitude));
      if (v > max_value) v = max_value;
      if (v < min_value) v = min_value;
      return v;
    }
  }
}

void Generator::Generate(int32_t* samples, int32_t count) {
  const int32_t cycle = type == 0 ? sample_rate : period;
  for (int32_t i = 0; i < count; ++i) {
    const bool sounding =
        position >= start_sample && (end_sample == -1 || position <= end_sample);
    const int32_t value = sounding ? Value(phase_counter) : 0;
    phase_counter = Wrap(int64_t{phase_counter} + 1);
    if (phase_counter >= cycle) phase_counter = 0;
    samples[i] = value;
    position = Wrap(int64_t{position} + 1);
    if (position >= loop_length) position = 0;
  }
}

namespace {

// The ring-pattern gain, one sample at a time.
class Envelope {
 public:
  Envelope(const std::vector<Step>& steps, int32_t fs, int32_t fade)
      : steps_(steps), fs_(fs), fade_length_(fade > 0 ? fs / fade : 1) {}

  void Fill(double* gains, int32_t count) {
    int32_t i = 0;
    while (i < count) {
      int32_t c = 0;
      for (const Step& step : steps_) {
        const int32_t n = Divide(Wrap(int64_t{step.time} * fs_), 1000);
        const int32_t e = Wrap(int64_t{c} + n);
        if (position_ < e && n != 0) {
          int32_t o = position_ - c;
          if (o < 0) o = 0;
          for (; o < n; ++o) {
            if (i == count) return;
            gains[i++] = Gain(step, n, o);
            ++position_;
          }
        }
        c = e;
      }
      position_ = 0;
    }
  }

 private:
  double Gain(const Step& step, int32_t n, int32_t o) const {
    const int32_t r = n - o;
    if (step.on_off == 2) return static_cast<double>(r) / n;
    if (step.on_off == 3) return static_cast<double>(o) / n;
    if (step.is_fade != 0 && step.on_off != 0) {
      if (o < fade_length_) return static_cast<double>(o) / fade_length_;
      if (r <= fade_length_) return static_cast<double>(r) / fade_length_;
    }
    return step.on_off;
  }

  const std::vector<Step>& steps_;
  int32_t fs_;
  int32_t fade_length_;
  int32_t position_ = 0;
};

}  // namespace

std::vector<int16_t> Synthesize(const std::vector<Step>& steps, const std::vector<Tone>& tones,
                                int32_t fs, int32_t fade, int32_t repeat, bool filter_on) {
  int32_t total = 0;
  for (const Step& step : steps) total += step.time;
  const int32_t count = Divide(Wrap(int64_t{total} * fs * repeat + 999), 1000);
  std::vector<int16_t> out(count > 0 ? count : 0, 0);
  std::vector<Generator> generators;
  for (const Tone& tone : tones) {
    Generator g;
    if (g.Init(tone.type, fs, tone.start_time, tone.end_time, tone.frequency, tone.phase,
               tone.level) == 1) {
      generators.push_back(g);
    }
  }
  int32_t loop = -1;
  for (const Generator& g : generators) loop = g.end_sample > loop ? g.end_sample : loop;
  for (Generator& g : generators) g.loop_length = loop;
  Envelope envelope(steps, fs, fade);
  std::vector<int32_t> mix(4096), tone(4096);
  std::vector<double> gain(4096);
  for (int32_t written = 0; written < count;) {
    for (int32_t& m : mix) m = 0;
    for (Generator& g : generators) {
      for (int32_t& t : tone) t = 0;
      g.Generate(tone.data(), 4096);
      for (int k = 0; k < 4096; ++k) mix[k] = Wrap(int64_t{mix[k]} + tone[k]);
    }
    envelope.Fill(gain.data(), 4096);
    for (int k = 0; k < 4096 && written < count; ++k) {
      int32_t s = Trunc(mix[k] * gain[k]);
      if (s > 32767) s = 32767;
      else if (s < -32768) s = -32768;
      out[written++] = static_cast<int16_t>(s);
    }
  }
  if (filter_on) Filter(out.data(), count, fs);
  return out;
}

void Filter(int16_t* samples, int32_t count, int32_t fs) {
  if (count <= 0) return;
  const int32_t fc = fs >> 1;
  const double w0 = fc * 6.2831853 / fs;
  const double alpha = std::sin(w0) * 0.5;
  const double cw = std::cos(w0);
  double b0 = (1 - cw) * 0.5, b1 = 1 - cw;
  const double a0 = 1 + alpha;
  double a1 = cw * -2.0, a2 = 1 - alpha;
  b0 /= a0;
  b1 /= a0;
  a1 /= a0;
  a2 /= a0;
  std::vector<double> x(count), y(count, 0.0);
  for (int32_t i = 0; i < count; ++i) x[i] = samples[i];
  for (int32_t n = 0; n < count; ++n) {
    const double x1 = n >= 1 ? x[n - 1] : 0.0, x2 = n >= 2 ? x[n - 2] : 0.0;
    const double y1 = n >= 1 ? y[n - 1] : 0.0, y2 = n >= 2 ? y[n - 2] : 0.0;
    y[n] = ((b0 * x[n] + b1 * x1) + b0 * x2) - a1 * y1 - a2 * y2;
  }
  for (int32_t n = 0; n < count; ++n) {
    int32_t s = Trunc(y[n]);
    if (s > 32767) s = 32767;
    if (s < -32767) s = -32767;
    samples[n] = static_cast<int16_t>(s);
  }
}

}  // namespace reference
