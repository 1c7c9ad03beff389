// Writes a tone sequence as a tone string in its normal form (see tone_normal_form.h), the
// form the reader and the importer give back: no blanks, no leading zeros, each part's
// frequencies rounded to whole hertz and in ascending order, "0" for silence, no
// "/DURATION" on a part that lasts for ever. A tone with a level of its own is written with
// it ("425@-10"): the level becomes the whole percent a setting holds, written as the dBm0
// figure with the fewest decimals (none, one or two) that gives that same percent. A tone
// that takes the options' level is written without one (the side tones of amplitude
// modulation then lose their offset: give the carrier a level to keep it); modulation is
// written as its three sines.
#pragma once
#include <string>

#include "tonestring/tone_sequence.h"

std::string FormatToneString(const ToneSequence& sequence);

// A level in percent of full scale as the dBm0 figure that the tone string writes.
std::string LevelText(double level_percent);

// One part as it stands, with its own "!" mark: for messages that quote a part.
std::string FormatTonePart(const TonePart& part);
