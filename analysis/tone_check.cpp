#include "analysis/tone_check.h"

#include <algorithm>
#include <cmath>

#include "analysis/cycle.h"

namespace {

// A heard tone is taken for an expected one this far off (relative), so that a wrong
// frequency is reported as off rather than as missing plus extra.
constexpr double kSearchShare = 0.05;

bool Complete(const Segment& segment) { return !segment.cut_at_start && !segment.cut_at_end; }

void KeepWorst(double* worst, double error) {
  if (std::fabs(error) > std::fabs(*worst)) *worst = error;
}

// The rotation of the expected cycle that the recording's segments follow best: most
// segments of the expected kind; among those, most steps whose tones sound as expected in
// the first segments (bursts of different tones in one rhythm); then the smallest
// difference in length.
size_t BestRotation(const std::vector<ExpectedStep>& steps, const int16_t* samples, const RecordingAnalysis& analysis) {
  const size_t period = steps.size();
  std::vector<size_t> matches(period, 0);
  std::vector<double> errors(period, 0.0);
  for (size_t rotation = 0; rotation < period; ++rotation) {
    for (size_t j = 0; j < analysis.segments.size(); ++j) {
      const Segment& segment = analysis.segments[j];
      const ExpectedStep& step = steps[(rotation + j) % period];
      if (segment.kind != step.kind) continue;
      ++matches[rotation];
      if (Complete(segment)) errors[rotation] += std::fabs(SegmentMs(segment, analysis.sampling_frequency) - step.duration_ms);
    }
  }
  const size_t most = *std::max_element(matches.begin(), matches.end());
  std::vector<size_t> candidates;
  for (size_t rotation = 0; rotation < period; ++rotation) {
    if (matches[rotation] == most) candidates.push_back(rotation);
  }
  if (candidates.size() == 1) return candidates.front();
  // Several rotations fit the cadence: the tones of the first segments decide.
  const size_t compared = std::min(analysis.segments.size(), 2 * period);
  std::vector<std::vector<TonePeak>> heard(compared);
  for (size_t j = 0; j < compared; ++j) {
    if (IsSounding(analysis.segments[j].kind)) {
      heard[j] = TonesHeardIn(samples, analysis, analysis.segments[j], Precision::Coarse);
    }
  }
  size_t best = candidates.front();
  size_t best_alike = 0;
  for (size_t rotation : candidates) {
    size_t alike = 0;
    for (size_t j = 0; j < compared; ++j) {
      const ExpectedStep& step = steps[(rotation + j) % period];
      if (IsSounding(step.kind) && analysis.segments[j].kind == step.kind && SoundAlike(heard[j], step.tones)) ++alike;
    }
    if (alike > best_alike || (alike == best_alike && errors[rotation] < errors[best])) {
      best = rotation;
      best_alike = alike;
    }
  }
  return best;
}

double Loudest(const std::vector<TonePeak>& tones) {
  double loudest = -1e9;
  for (const TonePeak& tone : tones) loudest = std::max(loudest, tone.level_dbfs);
  return loudest;
}

// Pairs the expected tones with the heard ones: each heard tone goes to the nearest
// expected tone within the search distance, and each expected tone keeps the nearest of
// those it was given; the rest are extra.
std::vector<ToneComparison> PairTones(const std::vector<TonePeak>& expected, const std::vector<TonePeak>& heard,
                                      const CheckTolerances& tolerances) {
  const double search = std::max(kSearchShare, 2.0 * tolerances.frequency_percent / 100.0);
  std::vector<int> owner(heard.size(), -1);
  for (size_t h = 0; h < heard.size(); ++h) {
    double nearest = search;
    for (size_t e = 0; e < expected.size(); ++e) {
      double distance = std::fabs(heard[h].frequency - expected[e].frequency) / expected[e].frequency;
      if (distance <= nearest) {
        nearest = distance;
        owner[h] = static_cast<int>(e);
      }
    }
  }
  std::vector<ToneComparison> pairs;
  std::vector<bool> used(heard.size(), false);
  const double expected_loudest = Loudest(expected);
  for (size_t e = 0; e < expected.size(); ++e) {
    ToneComparison pair;
    pair.expected = true;
    pair.expected_hz = expected[e].frequency;
    pair.expected_dbfs = expected[e].level_dbfs;
    pair.judged = expected[e].level_dbfs >= expected_loudest - kJudgedRangeDb;
    int chosen = -1;
    for (size_t h = 0; h < heard.size(); ++h) {
      if (owner[h] != static_cast<int>(e)) continue;
      if (chosen < 0 || std::fabs(heard[h].frequency - pair.expected_hz) <
                            std::fabs(heard[chosen].frequency - pair.expected_hz)) {
        chosen = static_cast<int>(h);
      }
    }
    if (chosen >= 0) {
      used[chosen] = true;
      pair.heard = true;
      pair.heard_hz = heard[chosen].frequency;
      pair.heard_dbfs = heard[chosen].level_dbfs;
    }
    pairs.push_back(pair);
  }
  const double heard_loudest = Loudest(heard);
  for (size_t h = 0; h < heard.size(); ++h) {
    if (used[h]) continue;
    ToneComparison extra;
    extra.heard = true;
    extra.heard_hz = heard[h].frequency;
    extra.heard_dbfs = heard[h].level_dbfs;
    extra.judged = heard[h].level_dbfs >= heard_loudest - kExtraJudgedRangeDb;
    pairs.push_back(extra);
  }
  std::sort(pairs.begin(), pairs.end(), [](const ToneComparison& a, const ToneComparison& b) {
    return (a.expected ? a.expected_hz : a.heard_hz) < (b.expected ? b.expected_hz : b.heard_hz);
  });
  return pairs;
}

// The chain's gain: the loudest expected tone as heard, against its expected level.
double ChainGain(const std::vector<StepComparison>& steps) {
  const ToneComparison* reference = nullptr;
  for (const StepComparison& step : steps) {
    for (const ToneComparison& tone : step.tones) {
      if (!tone.expected || !tone.heard) continue;
      if (reference == nullptr || tone.expected_dbfs > reference->expected_dbfs) reference = &tone;
    }
  }
  return reference != nullptr ? reference->heard_dbfs - reference->expected_dbfs : 0.0;
}

void JudgeTones(StepComparison* step, double gain_db, const CheckTolerances& tolerances) {
  for (ToneComparison& tone : step->tones) {
    if (tone.expected && tone.heard) {
      tone.frequency_error_percent = 100.0 * (tone.heard_hz - tone.expected_hz) / tone.expected_hz;
      tone.level_error_db = tone.heard_dbfs - tone.expected_dbfs - gain_db;
      tone.frequency_ok = std::fabs(tone.frequency_error_percent) <= tolerances.frequency_percent;
      tone.level_ok = std::fabs(tone.level_error_db) <= tolerances.level_db;
      tone.ok = !tone.judged || (tone.frequency_ok && tone.level_ok);
    } else {
      // Missing, or extra: only a judged one fails the step.
      tone.frequency_ok = false;
      tone.level_ok = false;
      tone.ok = !tone.judged;
    }
    if (!tone.ok) step->ok = false;
  }
}

// PASS when every step was measured and none failed; too short when none failed but some
// step was never measured.
void Decide(CheckResult* result) {
  bool failed = !result->heard_tone;
  bool all_measured = true;
  for (const StepComparison& step : result->steps) {
    failed = failed || !step.ok;
    all_measured = all_measured && step.measured;
  }
  result->pass = !failed && all_measured;
  result->too_short = !failed && !all_measured;
}

}  // namespace

double AllowedCadenceMs(const CheckTolerances& tolerances, double expected_ms) {
  if (tolerances.cadence_in_ms) return tolerances.cadence_ms;
  return std::max(tolerances.cadence_floor_ms, tolerances.cadence_percent / 100.0 * expected_ms);
}

CheckResult CompareWithExpected(const ExpectedCycle& expected, const int16_t* samples,
                                const RecordingAnalysis& analysis, const CheckTolerances& tolerances) {
  CheckResult result;
  result.heard_tone = analysis.heard_tone;
  const size_t period = expected.steps.size();
  if (period == 0) return result;
  const int32_t rate = analysis.sampling_frequency;
  const size_t rotation = BestRotation(expected.steps, samples, analysis);

  for (size_t e = 0; e < period; ++e) {
    StepComparison step;
    step.expected = expected.steps[e];
    const double allowed = AllowedCadenceMs(tolerances, step.expected.duration_ms);
    const Segment* example = nullptr;
    double furthest_ms = -1.0;
    size_t whole = 0;
    double longest_part = 0.0;
    for (size_t j = (e + period - rotation) % period; j < analysis.segments.size(); j += period) {
      const Segment& segment = analysis.segments[j];
      ++step.occurrences;
      // The recording may cut a ramp so short that it sounds steady: only a whole
      // segment must be of the expected kind, a cut one only sound where sound is due.
      bool same_kind = Complete(segment) ? segment.kind == step.expected.kind
                                         : IsSounding(segment.kind) == IsSounding(step.expected.kind);
      if (!same_kind) {
        if (step.kind_ok) step.heard_kind = segment.kind;
        step.kind_ok = false;
        continue;
      }
      double ms = SegmentMs(segment, rate);
      if (Complete(segment) && !step.expected.continuous) {
        ++whole;
        // The Heard column shows the occurrence that decides, not a mean beside its error.
        if (std::fabs(ms - step.expected.duration_ms) > furthest_ms) {
          furthest_ms = std::fabs(ms - step.expected.duration_ms);
          step.measured_ms = ms;
        }
        KeepWorst(&step.worst_error_ms, ms - step.expected.duration_ms);
      } else {
        longest_part = std::max(longest_part, ms);
        // A part only tells that the step lasts too long; a silence the recording cuts
        // not even that (the tone had not begun yet, or had stopped).
        if (!step.expected.continuous && IsSounding(segment.kind) && ms > step.expected.duration_ms) {
          KeepWorst(&step.worst_error_ms, ms - step.expected.duration_ms);
        }
      }
      // Tones are measured in the longest occurrence, a whole one if there is one.
      bool better = example == nullptr || (Complete(segment) && !Complete(*example)) ||
                    (Complete(segment) == Complete(*example) && ms > SegmentMs(*example, rate));
      if (better) example = &segment;
    }
    step.duration_measured = whole > 0;
    step.measured = whole > 0 || (step.kind_ok && longest_part >= step.expected.duration_ms - allowed);
    if (whole == 0) step.measured_ms = longest_part;
    step.duration_ok = std::fabs(step.worst_error_ms) <= allowed;
    std::vector<TonePeak> heard;
    if (example != nullptr && IsSounding(example->kind)) heard = TonesHeardIn(samples, analysis, *example);
    step.tones = PairTones(step.expected.tones, heard, tolerances);
    // A step the recording does not reach is not measured, not failed.
    step.ok = step.kind_ok && step.duration_ok;
    result.steps.push_back(step);
  }

  result.gain_db = tolerances.absolute_levels ? 0.0 : ChainGain(result.steps);
  double cycle_ms = 0.0;
  double longest_step_ms = 0.0;
  for (StepComparison& step : result.steps) {
    JudgeTones(&step, result.gain_db, tolerances);
    cycle_ms += step.expected.duration_ms;
    longest_step_ms = std::max(longest_step_ms, step.expected.duration_ms);
  }
  Decide(&result);
  result.needed_seconds = static_cast<int64_t>(std::ceil((cycle_ms + longest_step_ms) / 1000.0));
  return result;
}

void AddBlockCheck(const CheckResult& block, CheckResult* whole) {
  whole->heard_tone = whole->heard_tone || block.heard_tone;
  for (size_t i = 0; i < whole->steps.size() && i < block.steps.size(); ++i) {
    StepComparison& ours = whole->steps[i];
    const StepComparison& theirs = block.steps[i];
    const size_t occurrences = ours.occurrences + theirs.occurrences;
    const bool measured = ours.measured || theirs.measured;
    const bool duration_measured = ours.duration_measured || theirs.duration_measured;
    // The block that decides: the first to fail the step, else the one furthest off.
    if (ours.ok && (!theirs.ok || std::fabs(theirs.worst_error_ms) > std::fabs(ours.worst_error_ms))) {
      ours = theirs;
    }
    ours.occurrences = occurrences;
    ours.measured = measured;
    ours.duration_measured = duration_measured;
  }
  Decide(whole);
}
