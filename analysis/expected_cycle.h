// What a tone setting should sound like, in the terms the analysis hears a recording in:
// one cycle of the setting is rendered and analysed like a recording, and each segment
// heard in it is tied to the setting's steps it covers.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/segments.h"
#include "analysis/tone_peaks.h"
#include "synth/synthesis_validation.h"
#include "synth/tone_setting.h"

struct ExpectedStep {
  SegmentKind kind = SegmentKind::Silent;
  // The covered steps' time from the setting; what the render measures when the steps do
  // not explain the segment (a tone that stops inside a step).
  double duration_ms = 0.0;
  bool continuous = false;              // the only segment: it sounds (or is silent) throughout
  std::vector<int32_t> setting_steps;   // 1-based numbers of the setting's steps it covers
  std::vector<TonePeak> tones;
};

struct ExpectedCycle {
  int32_t sampling_frequency = 0;
  std::vector<ExpectedStep> steps;  // in playing order, starting at the cycle's start
};

// Builds the expected cycle. The setting is synthesised once through SynthesizeTone at its
// own sampling frequency and filter switch, with one repeat (stored in it as synthesis
// does). Any refusal is passed on; OutOfMemory also when the analysis runs out.
SynthesisRefusal BuildExpectedCycle(ToneSetting& setting, ExpectedCycle* expected);
