// Building tone settings in tests and benchmarks, one step or tone per call.
#pragma once
#include <cstdint>

#include "synth/tone_setting.h"

// Appends a ring-pattern step.
void AddStep(ToneSetting& setting, int32_t on_off, int32_t time, int32_t is_fade = 0);
// Appends a tone; the arguments follow the tone's fields, defaults as for a new tone.
void AddTone(ToneSetting& setting, int32_t type, int32_t frequency, int32_t phase = 0,
             int32_t start_time = 0, int32_t end_time = -1, int32_t level = 100);
