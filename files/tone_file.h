// The tone setting file (".ton"): an XML declaration followed by a flat run of
// top-level elements, every value a decimal integer in an element's text.
#pragma once

#include "files/xml_tree.h"
#include "synth/tone_setting.h"

// Default values of the elements a file may leave out.
constexpr int32_t kToneFileDefaultSamplingFrequency = 8000;
constexpr int32_t kToneFileDefaultRepeat = 1;
constexpr int32_t kToneFileDefaultFade = 400;

// Reads the file at path into setting: steps and tones are appended to the
// lists (the caller clears the setting first), the four scalar fields are
// overwritten and missing values take their defaults. setting.path becomes
// path before the file is opened, so it names the attempted file even when
// loading fails. False for a null path (nothing changes) and when the file
// cannot be read or holds no declaration or no element.
bool LoadToneSetting(ToneSetting& setting, const wchar_t* path);

// Writes setting to path, or with a null path to setting.path (false when that
// is empty). A given path is stored in setting.path first. True only when the
// whole file was written; the previous file survives any failure.
bool SaveToneSetting(ToneSetting& setting, const wchar_t* path);

// The halves of loading and saving, on the element tree. ReadToneTree takes
// the first top-level element; BuildToneTree adds the top-level elements to
// holder and returns false (adding nothing) when memory runs out.
void ReadToneTree(ToneSetting& setting, XmlNode* first);
bool BuildToneTree(const ToneSetting& setting, XmlNode* holder);
