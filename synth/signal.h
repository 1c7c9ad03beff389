// Base of the waveform generators: one tone rendered as 32-bit samples at the sampling
// frequency, a block at a time, gated by its start and end sample and looping its
// position with the loop length shared by all tones of a synthesis.
#pragma once
#include <cstdint>
#include <memory>

class CSignal {
 public:
  CSignal() = default;
  virtual ~CSignal();
  CSignal(const CSignal&) = delete;
  CSignal& operator=(const CSignal&) = delete;

  // Arguments in Hz, ms, ms, Hz, degrees, percent. Returns 1 when ready, 0 when refused:
  // a sampling frequency or a frequency of 0 changes nothing and refuses.
  virtual int Init(int32_t sampling_frequency, int32_t start_time, int32_t end_time,
                   int32_t tone_frequency, int32_t tone_phase, int32_t level);
  virtual void Reset();
  // Writes count samples and returns count; the base class renders nothing and returns 0.
  virtual int Generate(int32_t* samples, int32_t count);
  virtual void SetLoopLength(int32_t length);

  // Precomputes the waveform over whole cycles so Generate copies values instead of
  // evaluating them per sample, with identical results. Uses at most max_values int32
  // values (the engine shares one budget among all tones); returns the number used, 0
  // when the cycle does not fit or memory is short. Call after Init, which drops the table.
  int32_t BuildCycleTable(int32_t max_values);

  // Readable state; Generate renders the waveform as Init set it up.
  int32_t sample_rate = 8000;
  int32_t start_sample = 0;
  int32_t end_sample = -1;  // -1: no end
  int32_t frequency = 0;
  int32_t phase = 0;        // degrees, remainder of division by 360
  int32_t amplitude = 32767;
  int32_t max_value = 32767;
  int32_t min_value = -32767;
  int32_t period = 0;       // samples
  int32_t position = 0;     // sample position for the start/end gating
  int32_t phase_counter = 0;  // sample index inside the waveform cycle
  int32_t loop_length = 0;    // position wraps to 0 on reaching it

 protected:
  // The exact waveform value at a counter; the base class has none.
  virtual int32_t ValueAt(int32_t counter) const;
  // The counter wraps to 0 on reaching this length.
  virtual int32_t CycleLength() const;

  // position = 0 and the counter at the phase's whole-sample offset into the cycle.
  void RestartCycleAtPhase();
  // Generate for the derived classes.
  int RenderWave(int32_t* samples, int32_t count);

 private:
  void RenderCounterRun(int32_t* samples, int32_t count, bool sounding);

  std::unique_ptr<int32_t[]> cycle_values_;
  int32_t cycle_values_length_ = 0;  // a whole number of cycles, or 0 without a table
};
