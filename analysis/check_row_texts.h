// The words of a check's rows (step numbers, lengths heard, results), shared by the command
// line's report and the window's, so that both say exactly the same.
#pragma once
#include <string>

#include "analysis/tone_check.h"

// The step kind a segment is in a ring pattern's words ("ON", "OFF", "0% -> 100%", ...).
std::string SegmentKindName(SegmentKind kind);

// The setting's step numbers an expected step stands for ("2", "3+4"), "-" for none.
std::string StepNumbersText(const ExpectedStep& step);
// "400.5 ms", "at least 120.0 ms" when every occurrence was cut, "-" when never heard.
std::string HeardLengthText(const StepComparison& step);
// "ok", "not heard", "heard OFF" or the length's difference ("+12.5 ms").
std::string LengthResultText(const StepComparison& step);
// "ok", "missing", "extra tone", the frequency and level differences, or why not judged.
std::string ToneResultText(const ToneComparison& tone);
// One side of a tone's row ("450.00 Hz -18.0 dBFS"), "-" when absent.
std::string ToneSideText(bool present, double hz, double dbfs);
