// Opening and saving the tone setting for the main window, so that a failure never costs
// the user what they have: a file that cannot be read leaves the current setting alone, and
// a failed save leaves the setting pointing at the file it was last saved to.
#pragma once

#include "synth/tone_setting.h"

// Reads path into a fresh setting and, only when that succeeds, replaces current with it
// (lists, values and path). A file that parses partly counts as read: what it has is taken.
// False, with current untouched, for a file that is missing, empty or not a tone setting.
bool LoadToneFileInto(ToneSetting& current, const wchar_t* path);

// Saves setting to path, or with a null path to setting.path. A given path becomes the
// setting's path only when the save succeeds. The previous file survives any failure.
bool SaveToneFileAt(ToneSetting& setting, const wchar_t* path);

// Moves everything from source into target (target's lists are freed first); source is
// left cleared.
void MoveToneSetting(ToneSetting& source, ToneSetting& target);
