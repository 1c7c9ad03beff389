#include "synth/synthesize_tone.h"

#include <new>

#include "synth/number_parsing.h"
#include "synth/tone_engine.h"

SynthesisRefusal StartToneStream(ToneSetting& setting, int32_t sampling_frequency,
                                 int32_t repeat, bool filter_on, CToneStream* stream) {
  const int32_t cycles = ClampRepeat(repeat);
  setting.sampling_frequency = sampling_frequency;
  setting.repeat = cycles;
  setting.filter_on = filter_on ? 1 : 0;
  const SynthesisRefusal refusal = ValidateForSynthesis(setting, sampling_frequency, cycles);
  if (refusal != SynthesisRefusal::None) return refusal;
  const int32_t count = ComputeSampleCount(setting.pattern_total, sampling_frequency, cycles);
  // The setting has tones, so only memory can be short here.
  if (stream->Start(&setting, sampling_frequency, filter_on, count) != SynthesisRefusal::None) {
    return SynthesisRefusal::OutOfMemory;
  }
  return SynthesisRefusal::None;
}

SynthesisRefusal SynthesizeTone(ToneSetting& setting, int32_t sampling_frequency,
                                int32_t repeat, bool filter_on, std::vector<int16_t>* samples) {
  CToneStream stream;
  const SynthesisRefusal refusal =
      StartToneStream(setting, sampling_frequency, repeat, filter_on, &stream);
  if (refusal != SynthesisRefusal::None) return refusal;
  // Made straight into the caller's vector: no second buffer, no copy.
  std::vector<int16_t> made;
  try {
    made.resize(static_cast<size_t>(stream.remaining()));
  } catch (const std::bad_alloc&) {
    return SynthesisRefusal::OutOfMemory;
  }
  stream.Read(made.data(), static_cast<int32_t>(made.size()));
  samples->swap(made);
  return SynthesisRefusal::None;
}
