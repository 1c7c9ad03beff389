// The synthesis engine: renders every tone of a tone setting, sums them, shapes the sum
// with the ring-pattern gain, clips it to 16 bits, optionally filters it and hands the
// result to the sample buffer (shown and exported) and the output buffer (played).
#pragma once
#include <cstdint>

#include "synth/signal.h"
#include "synth/tone_setting.h"

// N = (pattern_total x sampling_frequency x repeat + 999) / 1000 in wrapping 32-bit
// arithmetic; meaningful for settings that ValidateForSynthesis accepts.
int32_t ComputeSampleCount(int32_t pattern_total, int32_t sampling_frequency, int32_t repeat);

class CToneEngine {
 public:
  // The tone setting is not owned and must outlive the engine.
  explicit CToneEngine(ToneSetting* setting);
  // Frees both buffers.
  ~CToneEngine();
  CToneEngine(const CToneEngine&) = delete;
  CToneEngine& operator=(const CToneEngine&) = delete;

  // Replaces both buffers with zeroed ones of the given lengths (an output count of 0
  // leaves the output buffer empty). False, with both buffers freed, when an allocation
  // fails or a length is negative.
  bool AllocateBuffers(int32_t samples, int32_t outputs);
  void FreeBuffers();

  // Renders into sample_buffer (sample_count samples) and copies the first output_count
  // of them into output_buffer. Returns 1 when the tones were rendered, 0 when there was
  // no tone or a work block could not be allocated (the buffers then keep their zeros,
  // still filtered and copied). Tones that cannot be set up are skipped.
  int GenerateTone();

  // One generator per tone, in list order, set up with sampling_frequency; a slot is
  // null where a tone cannot be set up. *count receives the number of tones. Returns
  // null when there are no tones or the array cannot be allocated. The caller deletes
  // every generator and then the array (delete[]).
  CSignal** CreateSignals(int32_t* count);

  // The low-pass filter at sampling_frequency, in place.
  void LowPassFilter(int16_t* samples, int32_t count);

  ToneSetting* tone_setting;  // not owned
  int32_t sampling_frequency = 8000;
  int32_t filter_on = 0;
  int16_t* sample_buffer = nullptr;  // owned
  int32_t sample_count = 0;
  int32_t output_rate = 8000;
  int16_t* output_buffer = nullptr;  // owned
  int32_t output_count = 0;
};
