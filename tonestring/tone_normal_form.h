// One way to write each tone: sequences that sound the same get the same normal form, which
// is what the formatter writes, the builder builds and the reader gives back.
#pragma once
#include "tonestring/tone_sequence.h"

// Two rewrites, each leaving the sound unchanged:
//  - When parts play once and what repeats after them never sounds (or nothing follows
//    them), the tone is silent from there on: those repeating parts become one silent part
//    that lasts for ever ("!950/330,!1400/330,!1800/330" and "...,!1800/330,0/1000" both
//    become "...,!1800/330,0").
//  - A last part that lasts for ever ends the tone, so every part before it plays once and
//    it carries no mark of its own.
// A part that lasts for ever before the last one is left for the builder to refuse.
ToneSequence NormalForm(const ToneSequence& sequence);
