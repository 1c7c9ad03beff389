#include "synth/synthesize_tone.h"

#include <new>

#include "synth/number_parsing.h"
#include "synth/tone_engine.h"

SynthesisRefusal SynthesizeTone(ToneSetting& setting, int32_t sampling_frequency,
                                int32_t repeat, bool filter_on, std::vector<int16_t>* samples) {
  const int32_t cycles = ClampRepeat(repeat);
  setting.sampling_frequency = sampling_frequency;
  setting.repeat = cycles;
  setting.filter_on = filter_on ? 1 : 0;
  const SynthesisRefusal refusal = ValidateForSynthesis(setting, sampling_frequency, cycles);
  if (refusal != SynthesisRefusal::None) return refusal;

  CToneEngine engine(&setting);
  engine.sampling_frequency = sampling_frequency;
  engine.output_rate = sampling_frequency;
  engine.filter_on = setting.filter_on;
  const int32_t count = ComputeSampleCount(setting.pattern_total, sampling_frequency, cycles);
  // No playback here, so no output copy is needed.
  if (!engine.AllocateBuffers(count, 0)) return SynthesisRefusal::OutOfMemory;
  if (engine.GenerateTone() != 1) return SynthesisRefusal::OutOfMemory;
  try {
    samples->assign(engine.sample_buffer, engine.sample_buffer + engine.sample_count);
  } catch (const std::bad_alloc&) {
    return SynthesisRefusal::OutOfMemory;
  }
  return SynthesisRefusal::None;
}
