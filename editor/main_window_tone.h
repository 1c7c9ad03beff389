// "Create Tone" without the window: what to do with the window's values, and the new
// buffers made from them. A setting that cannot be synthesised is refused with its reason
// before anything is freed, so the previous tone stays.
#pragma once
#include <cstdint>

#include "synth/synthesis_validation.h"
#include "synth/tone_engine.h"
#include "synth/tone_setting.h"

enum class CreateToneStep : int32_t {
  KeepPrevious,  // the pattern's total time is 0: only playback stops
  Refuse,        // the setting cannot be synthesised; the window says why
  Build,         // make the buffers
};

struct CreateTonePlan {
  CreateToneStep step = CreateToneStep::KeepPrevious;
  SynthesisRefusal refusal = SynthesisRefusal::None;  // why, for Refuse
  int32_t sampling_frequency = 0;  // the selected list entry's value, 0 when none
  int32_t repeat = 1;              // the repeat field, limited to 1..100
  int32_t filter_on = 0;
  int32_t sample_count = 0;        // (pattern_total x Hz x repeat + 999) / 1000, for Build
};

// Decides "Create Tone" for the window's values: selected_frequency is the item data of the
// selected sampling-frequency entry (0 when none), repeat the parsed repeat field. Unless the
// pattern total is 0, the three values are copied into setting as the synthesis uses them.
CreateTonePlan PlanCreateTone(ToneSetting& setting, int32_t selected_frequency, int32_t repeat,
                              bool filter_checked);

// Synthesises a planned tone into engine's buffers: sample_buffer and the output copy,
// both plan.sample_count long. SynthesisRefusal::None on success; OutOfMemory, with the
// engine's buffers freed, when they or the engine's work blocks cannot be allocated.
SynthesisRefusal BuildToneBuffers(ToneSetting& setting, const CreateTonePlan& plan,
                                  CToneEngine* engine);
