// A deliberately plain, per-sample rendition of the synthesis formulas, written apart
// from the library so the fast paths (value tables, runs) can be checked bit for bit.
#pragma once
#include <cstdint>
#include <vector>

namespace reference {

struct Step {
  int32_t on_off;
  int32_t time;
  int32_t is_fade;
};

struct Tone {
  int32_t type;
  int32_t frequency;
  int32_t phase;
  int32_t start_time;
  int32_t end_time;
  int32_t level;
};

struct Generator {
  int32_t type = 0;
  int32_t sample_rate = 8000, start_sample = 0, end_sample = -1, frequency = 0, phase = 0;
  int32_t amplitude = 32767, max_value = 32767, min_value = -32767, period = 0;
  int32_t position = 0, phase_counter = 0, loop_length = 0;
  double phase_step = 0.0, phase_offset = 0.0;
  int32_t high_length = 0, up_length = 0, down_length = 0;
  double up_slope = 1.0, down_slope = 1.0, slope = 1.0;

  // 1 when ready; 0 for a sampling frequency or a frequency of 0.
  int Init(int32_t wave_type, int32_t fs, int32_t start_time, int32_t end_time,
           int32_t tone_frequency, int32_t tone_phase, int32_t level);
  int32_t Value(int32_t counter) const;
  void Generate(int32_t* samples, int32_t count);
};

// The whole engine: gains, mix, clip, optional filter; returns N samples.
std::vector<int16_t> Synthesize(const std::vector<Step>& steps, const std::vector<Tone>& tones,
                                int32_t fs, int32_t fade, int32_t repeat, bool filter_on);

// The filter with its two work arrays, as literally as possible.
void Filter(int16_t* samples, int32_t count, int32_t fs);

}  // namespace reference
