// One call from a tone setting to its samples, for the command-line tool and the window.
#pragma once
#include <cstdint>
#include <vector>

#include "synth/synthesis_validation.h"
#include "synth/tone_setting.h"

// Stores sampling_frequency, the repeat count clamped to 1..100 and the filter switch in
// the setting, validates it, and synthesises N = (pattern_total x Hz x repeat + 999) / 1000
// samples into *samples. Returns SynthesisRefusal::None on success; on any refusal
// *samples is left untouched.
SynthesisRefusal SynthesizeTone(ToneSetting& setting, int32_t sampling_frequency,
                                int32_t repeat, bool filter_on, std::vector<int16_t>* samples);
