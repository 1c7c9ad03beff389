// The comparison `check` makes: a recording's segments laid over the expected cycle of a
// setting, wherever in the cycle the recording starts, and every step judged on its
// length, its tones' frequencies and their levels.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"

// Defaults follow the tolerances published for national tones (ITU-T E.180 and the
// ETSI recommendations for supervisory tones).
struct CheckTolerances {
  double frequency_percent = 1.5;
  // Cadence: a share of each step's length, but never less than cadence_floor_ms; or,
  // with cadence_in_ms, cadence_ms alone.
  double cadence_percent = 10.0;
  double cadence_floor_ms = 20.0;
  bool cadence_in_ms = false;
  double cadence_ms = 0.0;
  double level_db = 3.0;
  // False: levels are compared relative to the loudest tone (a recording chain's gain is
  // rarely known); true: in dBFS as recorded.
  bool absolute_levels = false;
};

// The allowed difference in length for a step of expected_ms.
double AllowedCadenceMs(const CheckTolerances& tolerances, double expected_ms);

struct ToneComparison {
  bool expected = false;  // the setting renders this tone
  double expected_hz = 0.0;
  double expected_dbfs = 0.0;
  bool heard = false;     // the recording holds it
  double heard_hz = 0.0;
  double heard_dbfs = 0.0;
  // Judged: an expected tone within kJudgedRangeDb of its step's loudest, or a tone heard
  // but not expected within kExtraJudgedRangeDb of the step's loudest heard tone. Weaker
  // ones are shown only.
  bool judged = false;
  double frequency_error_percent = 0.0;  // heard against expected
  double level_error_db = 0.0;           // the same, after the chain's gain is taken off
  bool frequency_ok = true;
  bool level_ok = true;
  bool ok = true;
};

struct StepComparison {
  ExpectedStep expected;
  size_t occurrences = 0;        // segments of the recording laid on this step
  bool kind_ok = true;
  SegmentKind heard_kind = SegmentKind::Silent;  // of an occurrence of another kind
  bool duration_measured = false;  // some occurrence was heard whole
  // Its length is known: an occurrence was heard whole, or a part of one as long as the
  // step (within the cadence tolerance; a step that sounds throughout has no ends to hear).
  bool measured = false;
  double measured_ms = 0.0;        // the whole one furthest from the expected length; else the longest part heard
  double worst_error_ms = 0.0;     // the occurrence furthest from the expected length
  bool duration_ok = true;
  std::vector<ToneComparison> tones;
  bool ok = true;
};

struct CheckResult {
  // True only when every step was measured and none failed.
  bool pass = false;
  // No step failed but some were never measured: the recording is too short to judge.
  bool too_short = false;
  // The recording that measures every step whole wherever it starts: a cycle and its
  // longest step, in whole seconds.
  int64_t needed_seconds = 0;
  bool heard_tone = false;
  double gain_db = 0.0;  // heard minus expected level of the loudest tone (relative levels)
  std::vector<StepComparison> steps;
};

// Tones weaker than this under their step's loudest are shown, not judged.
constexpr double kJudgedRangeDb = 20.0;
// A tone the setting does not render fails the step only this close to the loudest: an
// extra tone, not the hum or distortion of a line.
constexpr double kExtraJudgedRangeDb = 15.0;

// Compares the analysed recording (samples and their analysis) with the expected cycle.
CheckResult CompareWithExpected(const ExpectedCycle& expected, const int16_t* samples,
                                const RecordingAnalysis& analysis, const CheckTolerances& tolerances);

// Folds the comparison of a later block of a long recording into *whole: each step counts
// the occurrences of both and shows the block that decides it (the first to fail it, else
// the one furthest off).
void AddBlockCheck(const CheckResult& block, CheckResult* whole);
