// One call from a tone setting to its samples, for the command-line tool and the window.
#pragma once
#include <cstdint>
#include <vector>

#include "synth/synthesis_validation.h"
#include "synth/tone_setting.h"
#include "synth/tone_stream.h"

// Stores sampling_frequency, the repeat count clamped to 1..100 and the filter switch in
// the setting, validates it, and synthesises N = (pattern_total x Hz x repeat + 999) / 1000
// samples into *samples. Returns SynthesisRefusal::None on success; on any refusal
// *samples is left untouched.
SynthesisRefusal SynthesizeTone(ToneSetting& setting, int32_t sampling_frequency,
                                int32_t repeat, bool filter_on, std::vector<int16_t>* samples);

// The same setting up and checks, but the N samples are made while they are read from
// *stream (its remaining() is N), so a writer never holds the whole tone. setting must
// outlive the reading. Returns SynthesisRefusal::None when the stream is ready.
SynthesisRefusal StartToneStream(ToneSetting& setting, int32_t sampling_frequency,
                                 int32_t repeat, bool filter_on, CToneStream* stream);
