#include "synth/signal.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "synth/wrapping_arithmetic.h"

namespace {

// Short cycles are repeated in the table so one copy covers many samples.
constexpr int32_t kMinTableValues = 4096;

}  // namespace

CSignal::~CSignal() = default;

int CSignal::Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
                  int32_t tone_frequency, int32_t tone_phase, int32_t level) {
  // The period divides by the frequency: a frequency of 0 is refused like a rate of 0.
  if (sampling_frequency == 0 || tone_frequency == 0) return 0;
  sample_rate = sampling_frequency;
  start_sample = WrappingMultiply(sample_rate, start_time) / 1000;
  end_sample = end_time < 0 ? -1 : WrappingMultiply(sample_rate, end_time) / 1000;
  frequency = tone_frequency;
  loop_length = -1;
  phase = tone_phase % 360;
  position = 0;
  phase_counter = 0;
  amplitude = WrappingMultiply(level, 32767) / 100;
  max_value = amplitude;
  min_value = WrappingNegate(amplitude);
  period = WrappingDivide(sample_rate, frequency);
  cycle_values_.reset();
  cycle_values_length_ = 0;
  return 1;
}

void CSignal::Reset() { position = 0; }

int CSignal::Generate(int32_t*, int32_t) { return 0; }

void CSignal::SetLoopLength(int32_t length) { loop_length = length; }

int32_t CSignal::ValueAt(int32_t) const { return 0; }

int32_t CSignal::CycleLength() const { return period; }

void CSignal::RestartCycleAtPhase() {
  position = 0;
  phase_counter = WrappingMultiply(period, phase) / 360;
}

int32_t CSignal::BuildCycleTable(int32_t max_values) {
  cycle_values_.reset();
  cycle_values_length_ = 0;
  const int32_t cycle = CycleLength();
  if (cycle <= 0 || cycle > max_values) return 0;
  const int32_t wanted = cycle >= kMinTableValues ? 1 : (kMinTableValues + cycle - 1) / cycle;
  const int32_t repeats = std::max(1, std::min(wanted, max_values / cycle));
  const int32_t length = cycle * repeats;
  cycle_values_.reset(new (std::nothrow) int32_t[length]);
  if (!cycle_values_) return 0;
  for (int32_t c = 0; c < cycle; ++c) cycle_values_[c] = ValueAt(c);
  for (int32_t c = cycle; c < length; ++c) cycle_values_[c] = cycle_values_[c - cycle];
  cycle_values_length_ = length;
  return length;
}

int CSignal::RenderWave(int32_t* samples, int32_t count) {
  if (samples == nullptr || count <= 0) return 0;
  int32_t done = 0;
  while (done < count) {
    const int32_t remaining = count - done;
    // The position either climbs linearly to loop_length - 1 and then wraps to 0, or
    // (at or beyond the loop length) takes a single step.
    const bool climbing = position < loop_length;
    const int32_t next_single = climbing ? 0 : WrappingAdd(position, 1);
    const int32_t after_single = next_single >= loop_length ? 0 : next_single;
    const bool fixed = !climbing && after_single == position;
    const int64_t run = climbing ? int64_t{loop_length} - position : (fixed ? remaining : 1);

    // Within the run the gating changes at most at the start or just after the end.
    const int64_t at = position;
    bool sounding;
    int64_t same_gate = run;
    if (at < start_sample) {
      sounding = false;
      same_gate = int64_t{start_sample} - at;
    } else if (end_sample == -1) {
      sounding = true;
    } else if (at <= end_sample) {
      sounding = true;
      same_gate = int64_t{end_sample} - at + 1;
    } else {
      sounding = false;
    }
    // A position that never moves keeps its gate for the rest of the request.
    if (fixed) same_gate = remaining;
    const int32_t step =
        static_cast<int32_t>(std::min<int64_t>({same_gate, run, int64_t{remaining}}));
    RenderCounterRun(samples + done, step, sounding);
    done += step;

    if (fixed) continue;
    if (!climbing) {
      position = after_single;
    } else if (step == run) {
      position = 0;
    } else {
      position += step;
    }
  }
  return count;
}

void CSignal::RenderCounterRun(int32_t* samples, int32_t count, bool sounding) {
  const int32_t cycle = CycleLength();
  int32_t done = 0;
  while (done < count) {
    const int32_t remaining = count - done;
    int32_t* out = samples + done;
    const int32_t c = phase_counter;
    if (c >= 0 && c < cycle) {
      // Inside the cycle: the counter climbs and wraps at the cycle's end.
      if (cycle_values_length_ > 0) {
        const int32_t step = std::min(remaining, cycle_values_length_ - c);
        if (sounding) {
          std::memcpy(out, cycle_values_.get() + c, sizeof(int32_t) * step);
        } else {
          std::memset(out, 0, sizeof(int32_t) * step);
        }
        phase_counter = static_cast<int32_t>((int64_t{c} + step) % cycle);
        done += step;
      } else {
        const int32_t step = static_cast<int32_t>(std::min<int64_t>(remaining, int64_t{cycle} - c));
        for (int32_t k = 0; k < step; ++k) out[k] = sounding ? ValueAt(c + k) : 0;
        phase_counter = c + step >= cycle ? 0 : c + step;
        done += step;
      }
    } else if (c < 0 && cycle > 0) {
      // A negative phase starts below 0 and simply counts up into the cycle.
      const int32_t step = static_cast<int32_t>(std::min<int64_t>(remaining, -int64_t{c}));
      for (int32_t k = 0; k < step; ++k) out[k] = sounding ? ValueAt(c + k) : 0;
      phase_counter = c + step;
      done += step;
    } else if (c == 0) {
      // No positive cycle: the counter wraps to 0 after every sample and stays there.
      std::fill(out, out + remaining, sounding ? ValueAt(0) : 0);
      done = count;
    } else {
      out[0] = sounding ? ValueAt(c) : 0;
      const int32_t next = WrappingAdd(c, 1);
      phase_counter = next >= cycle ? 0 : next;
      done += 1;
    }
  }
}
