// What a recording holds as a tone string, and the options that build the setting that
// renders it as heard: the bridge from the analysis to tonestring/.
#pragma once
#include <string>

#include "analysis/analyze_recording.h"
#include "tonestring/tone_sequence.h"
#include "tonestring/tone_setting_builder.h"

struct HeardTone {
  ToneSequence sequence;
  ToneStringOptions options;  // the sampling frequency, cycles and hold heard
};

// A repeating cycle becomes a repeating string of its steps; a recording that does not
// repeat becomes its parts played once, the last lasting for ever (a tone that goes on, or
// the silence after it). Each part holds the tones within 20 dB of its loudest, with their
// levels. False with *why_not set to one sentence when no tone string can say what was
// heard: no tone, or ramps (a tone string only switches tones on and off). A frequency heard
// at levels within 3 dB of each other takes the loudest; a quieter burst keeps its own.
bool DescribeHeardTone(const RecordingAnalysis& analysis, HeardTone* heard, std::string* why_not);
