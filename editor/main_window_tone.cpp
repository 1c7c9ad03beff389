#include "editor/main_window_tone.h"

CreateTonePlan PlanCreateTone(ToneSetting& setting, int32_t selected_frequency, int32_t repeat,
                              bool filter_checked) {
  CreateTonePlan plan;
  if (setting.pattern_total == 0) return plan;
  plan.sampling_frequency = selected_frequency;
  plan.repeat = repeat;
  plan.filter_on = filter_checked ? 1 : 0;
  setting.sampling_frequency = plan.sampling_frequency;
  setting.repeat = plan.repeat;
  setting.filter_on = plan.filter_on;
  plan.refusal = ValidateForSynthesis(setting, plan.sampling_frequency, plan.repeat);
  if (plan.refusal != SynthesisRefusal::None) {
    plan.step = CreateToneStep::Refuse;
    return plan;
  }
  plan.step = CreateToneStep::Build;
  plan.sample_count =
      ComputeSampleCount(setting.pattern_total, plan.sampling_frequency, plan.repeat);
  return plan;
}

SynthesisRefusal BuildToneBuffers(ToneSetting& setting, const CreateTonePlan& plan,
                                  CToneEngine* engine) {
  engine->tone_setting = &setting;
  engine->sampling_frequency = plan.sampling_frequency;
  engine->output_rate = plan.sampling_frequency;
  engine->filter_on = plan.filter_on;
  if (!engine->AllocateBuffers(plan.sample_count, plan.sample_count)) {
    return SynthesisRefusal::OutOfMemory;
  }
  // The plan has tones, so 0 here means the engine's work blocks could not be allocated
  // and the buffers hold silence, not the tone.
  if (engine->GenerateTone() != 1) {
    engine->FreeBuffers();
    return SynthesisRefusal::OutOfMemory;
  }
  return SynthesisRefusal::None;
}
