// Writes a tone sequence as a tone string in its normal form (see tone_normal_form.h), the
// form the reader and the importer give back: no blanks, no leading zeros, each part's
// frequencies rounded to whole hertz and in ascending order, "0" for silence, no
// "/DURATION" on a part that lasts for ever. Levels are not written: a tone string has none.
#pragma once
#include <string>

#include "tonestring/tone_sequence.h"

std::string FormatToneString(const ToneSequence& sequence);

// One part as it stands, with its own "!" mark: for messages that quote a part.
std::string FormatTonePart(const TonePart& part);
