// Texts the main window shows: list columns and rows, file dialog filters and titles, and
// the messages it gives when a file or a tone cannot be made. Language 1 is Japanese, any
// other value English.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "synth/synthesis_validation.h"
#include "synth/tone_setting.h"

struct ListColumn {
  const wchar_t* english;
  const wchar_t* japanese;
  int32_t width;  // pixels at 96 DPI
};

constexpr int32_t kStepColumnCount = 3;
constexpr int32_t kToneColumnCount = 6;
extern const ListColumn kStepColumns[kStepColumnCount];
extern const ListColumn kToneColumns[kToneColumnCount];

// The column heading in the given language.
const wchar_t* ColumnHeading(const ListColumn& column, int32_t language);

// Row texts of one ring-pattern step: kind, time, fade ("ON" or "OFF").
std::array<std::wstring, kStepColumnCount> StepRowTexts(const PatternStep& step);
// Row texts of one tone: type, frequency, phase, start time, end time, level.
std::array<std::wstring, kToneColumnCount> ToneRowTexts(const ToneEntry& tone, int32_t language);

// A common file dialog's filter: pairs of description and pattern, each ended by a NUL,
// the whole ended by a second NUL (the std::wstring holds the NULs).
std::wstring ToneFileFilter(int32_t language);
const wchar_t* OpenToneFileTitle(int32_t language);
const wchar_t* SaveToneFileTitle(int32_t language);

// "path could not be opened": the current setting stays.
std::wstring OpenFailedMessage(const wchar_t* path, int32_t language);
// "path could not be saved": the previous file stays.
std::wstring SaveFailedMessage(const wchar_t* path, int32_t language);

// Why "Create Tone" made nothing, as one sentence.
const wchar_t* RefusalText(SynthesisRefusal reason, int32_t language);
// The whole message: the tone was not made, and why.
std::wstring CreateToneRefusalMessage(SynthesisRefusal reason, int32_t language);
// Caption of that message: the button's own text.
const wchar_t* CreateToneCaption(int32_t language);
