#include "analysis/tone_edges.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/tone_fit.h"
#include "analysis/tone_peaks.h"

namespace {

// Only the loudest tones near an edge (at most kMostFittedTones), down to this far under
// the loudest, are fitted.
constexpr double kFittedRangeDb = 30.0;
// The tones are measured and fitted in at most this much of a segment next to an edge,
// this far from it (at most an eighth of the segment), beyond the echo or ringing that
// may follow it and the stretch an echo has not yet reached ...
constexpr double kFittedMs = 300.0;
constexpr double kFitGuardMs = 70.0;
// ... and the edge is looked for from this far inside (at most a quarter of the segment) ...
constexpr double kSearchFromMs = 100.0;
// ... up to this far outside it.
constexpr double kReachOutsideMs = 70.0;
// The recording's share of the fitted tones is read over this window, at least a period
// of the lowest tone.
constexpr double kWindowMs = 4.0;
// The tones have stopped where that share falls under a half and stays there this long.
constexpr double kHalf = 0.5;
constexpr double kStaysUnderMs = 5.0;
// A window where the fitted tones beat to almost nothing tells nothing.
constexpr double kWeakestWindowShare = 0.35;
// The edge found by loudness stays when it lies this close: a fade is that short, and
// its first sample is the step's start.
constexpr double kFadeMs = 3.0;
// Where a ramp might rather be a steady sound that stops: this many places along it.
constexpr int64_t kStepPositions = 16;
// A sound this short behind a silence this short after a steady segment, at least this
// much quieter, that its tones explain all but this share of, is the segment's echo.
constexpr double kLongestEchoMs = 100.0;
constexpr double kEchoUnderDb = 3.0;
constexpr double kEchoUnexplained = 0.3;
// A longer silence after a steady sound that its tones explain, this much quieter at most,
// is the sound going on quieter.
constexpr double kQuieterUnderDb = 15.0;
constexpr double kStrongToneRangeDb = 10.0;
// A silence this short inside a steady sound, where its tones are this weak, is their beat.
constexpr double kLongestNullMs = 40.0;
// The first beat of a step may be cut this short by the step's start.
constexpr double kShortestBeatMs = 10.0;
constexpr double kNullShare = 0.3;
// Where a step starts in noise, its tones are looked for this much further in at a time,
// at most this many times.
constexpr double kNoiseHopMs = 50.0;
constexpr int kMostNoiseHops = 100;
// Shortest segment whose edges are followed.
constexpr double kShortestFollowedMs = 30.0;

int64_t Samples(double ms, int32_t rate) { return static_cast<int64_t>(ms * rate / 1000.0); }

// The loudest tones of [first, last), and the window their share is read over.
struct TonesToFit {
  std::vector<double> frequencies;  // the loudest first
  std::vector<double> levels_dbfs;
  int64_t half_window = 0;
  bool tonal = false;  // they hold most of the stretch's power
  int64_t first = 0;
  int64_t last = 0;
};

TonesToFit MeasureTonesToFit(const int16_t* samples, int32_t rate, double dc_offset, int64_t first, int64_t last) {
  TonesToFit fit;
  fit.first = first;
  fit.last = last;
  Segment stretch{SegmentKind::Steady, first, last, false, false};
  SegmentTones measured = MeasureTones(samples, rate, dc_offset, stretch, Precision::Coarse);
  fit.tonal = measured.tonal;
  std::vector<TonePeak>& tones = measured.tones;
  std::sort(tones.begin(), tones.end(), [](const TonePeak& a, const TonePeak& b) { return a.level_dbfs > b.level_dbfs; });
  for (const TonePeak& tone : tones) {
    if (fit.frequencies.size() >= kMostFittedTones || tone.level_dbfs < tones.front().level_dbfs - kFittedRangeDb) break;
    fit.frequencies.push_back(tone.frequency);
    fit.levels_dbfs.push_back(tone.level_dbfs);
  }
  if (fit.frequencies.empty()) return fit;
  double lowest = *std::min_element(fit.frequencies.begin(), fit.frequencies.end());
  fit.half_window = std::max(Samples(kWindowMs, rate), static_cast<int64_t>(rate / lowest)) / 2;
  return fit;
}

// The tones of the segment, measured in the stretch next to its start (at_start) or end
// where they are fitted.
TonesToFit TonesNearEdge(const int16_t* samples, int32_t rate, double dc_offset, const Segment& segment,
                         bool at_start) {
  const int64_t length = segment.end - segment.start;
  const int64_t guard = std::min(Samples(kFitGuardMs, rate), length / 8);
  const int64_t measured = std::min(Samples(kFittedMs, rate), length - 2 * guard);
  const int64_t first = at_start ? segment.start + guard : segment.end - guard - measured;
  return MeasureTonesToFit(samples, rate, dc_offset, first, first + measured);
}

// Where the recording, from inside towards outside, stops holding the fitted tones: the
// last sample it holds them at half or more before it holds them under half and keeps them
// there, and that first sample under half. Between the two the tones beat too weakly to
// tell. False when the tones never stop.
struct ToneStop {
  int64_t last_held = -1;
  int64_t first_under = -1;
};

bool FindToneStop(const int16_t* samples, double dc_offset, int32_t rate, const ToneFit& fit, int64_t half_window,
                  int64_t inside, int64_t outside, ToneStop* stop) {
  if (inside == outside) return false;
  const int64_t step = outside > inside ? 1 : -1;
  ToneShare share(samples, dc_offset, fit, std::min(inside, outside), std::max(inside, outside));
  const double weakest = kWeakestWindowShare * fit.Power();
  const int64_t stays = Samples(kStaysUnderMs, rate);
  stop->last_held = inside;
  stop->first_under = -1;
  for (int64_t n = inside; n != outside; n += step) {
    double power = 0.0;
    double value = share.Share(n, half_window, &power);
    if (power < weakest) continue;
    if (value >= kHalf) {
      stop->last_held = n;
      stop->first_under = -1;
    } else if (stop->first_under < 0) {
      stop->first_under = n;
    }
    if (stop->first_under >= 0 && std::llabs(n - stop->first_under) >= stays) break;
  }
  return stop->first_under >= 0;
}

// Whether a ramp beside a steady segment is rather the steady tones going on unchanged
// and then stopping, or going on lower (an echo's tail, a filter's ringing): its tones,
// fitted at one steady level up to some point and at another beyond, explain it better
// than fitted along the ramp's line.
bool SteadierThanARamp(const int16_t* samples, int32_t rate, double dc_offset, const Segment& ramp,
                       const Segment& steady) {
  const bool down = ramp.kind == SegmentKind::RampDown;
  const TonesToFit tones = TonesNearEdge(samples, rate, dc_offset, steady, !down);
  ToneFit line(samples, dc_offset, rate, tones.frequencies);
  if (!line.Fit(ramp.start, ramp.end, down ? 1.0 : 0.0, down ? 0.0 : 1.0)) return false;
  const double line_left = line.Unexplained(ramp.start, ramp.end);
  const int64_t length = ramp.end - ramp.start;
  for (int64_t k = 1; k < kStepPositions; ++k) {
    int64_t at = ramp.start + length * k / kStepPositions;
    ToneFit before(samples, dc_offset, rate, tones.frequencies);
    ToneFit after(samples, dc_offset, rate, tones.frequencies);
    if (!before.Fit(ramp.start, at) || !after.Fit(at, ramp.end)) continue;
    if (before.Unexplained(ramp.start, at) + after.Unexplained(at, ramp.end) < line_left) return true;
  }
  return false;
}

// Joins to a steady segment each ramp beside it that is steadier than a ramp.
void JoinFalseRamps(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments) {
  std::vector<Segment> kept;
  const int64_t shortest = Samples(kShortestFollowedMs, rate);
  for (size_t i = 0; i < segments->size(); ++i) {
    const Segment& ramp = (*segments)[i];
    Segment* steady = nullptr;
    if (ramp.kind == SegmentKind::RampDown && !kept.empty() && kept.back().kind == SegmentKind::Steady) {
      steady = &kept.back();
    } else if (ramp.kind == SegmentKind::RampUp && i + 1 < segments->size() &&
               (*segments)[i + 1].kind == SegmentKind::Steady) {
      steady = &(*segments)[i + 1];
    }
    if (steady == nullptr || steady->end - steady->start < shortest ||
        !SteadierThanARamp(samples, rate, dc_offset, ramp, *steady)) {
      kept.push_back(ramp);
    } else if (ramp.kind == SegmentKind::RampDown) {
      steady->end = ramp.end;
      steady->cut_at_end = ramp.cut_at_end;
    } else {
      steady->start = ramp.start;
      steady->cut_at_start = ramp.cut_at_start;
    }
  }
  segments->swap(kept);
}

// The recording's energy over [first, last), without its DC offset.
double Energy(const int16_t* samples, double dc_offset, int64_t first, int64_t last) {
  double energy = 0.0;
  for (int64_t n = first; n < last; ++n) energy += (samples[n] - dc_offset) * (samples[n] - dc_offset);
  return energy;
}

// Whether the short sound tail, after a short silence behind the steady segment, is its
// echo: quieter by kEchoUnderDb at least, and made of its tones.
bool IsEchoOf(const int16_t* samples, int32_t rate, double dc_offset, const Segment& steady, const Segment& tail) {
  const TonesToFit tones = TonesNearEdge(samples, rate, dc_offset, steady, false);
  ToneFit step(samples, dc_offset, rate, tones.frequencies);
  ToneFit echo(samples, dc_offset, rate, tones.frequencies);
  if (!step.Fit(tones.first, tones.last) || !echo.Fit(tail.start, tail.end)) return false;
  const double energy = Energy(samples, dc_offset, tail.start, tail.end);
  const double power = energy / static_cast<double>(tail.end - tail.start);
  return power <= step.Power() * std::pow(10.0, -kEchoUnderDb / 10.0) &&
         echo.Unexplained(tail.start, tail.end) <= kEchoUnexplained * energy;
}

// Joins each segment to the steady segment (at least shortest_steady_ms long) before the
// silence of at most longest_silence_ms in front of it, where joins(steady, silence, segment).
template <class Joins>
void JoinAcrossShortSilences(int32_t rate, double shortest_steady_ms, double longest_silence_ms,
                             std::vector<Segment>* segments, Joins joins) {
  std::vector<Segment> kept;
  const int64_t longest = Samples(longest_silence_ms, rate);
  const int64_t shortest = Samples(shortest_steady_ms, rate);
  for (const Segment& segment : *segments) {
    const size_t count = kept.size();
    const Segment* silence = count >= 2 ? &kept[count - 1] : nullptr;
    const Segment* steady = count >= 2 ? &kept[count - 2] : nullptr;
    if (silence != nullptr && silence->kind == SegmentKind::Silent && silence->end - silence->start <= longest &&
        steady->kind == SegmentKind::Steady && steady->end - steady->start >= shortest &&
        joins(*steady, *silence, segment)) {
      kept.pop_back();
      kept.back().end = segment.end;
      kept.back().cut_at_end = segment.cut_at_end;
    } else {
      kept.push_back(segment);
    }
  }
  segments->swap(kept);
}

// Joins to each steady segment the echo that a short silence cuts off behind it.
void JoinEchoTails(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments) {
  const int64_t longest = Samples(kLongestEchoMs, rate);
  auto is_echo = [&](const Segment& steady, const Segment&, const Segment& tail) {
    return IsSounding(tail.kind) && tail.end - tail.start <= longest && !tail.cut_at_end &&
           IsEchoOf(samples, rate, dc_offset, steady, tail);
  };
  JoinAcrossShortSilences(rate, kShortestFollowedMs, kLongestEchoMs, segments, is_echo);
}

// Whether a long silence after the steady segment is its tones going on quieter (an AGC
// bringing down what it let through lifted at the start): fitted at its start, each lies
// at most kQuieterUnderDb under the segment's and together they explain most of it.
bool IsQuieterContinuation(const int16_t* samples, int32_t rate, double dc_offset, const Segment& steady,
                           const Segment& silence) {
  const double under = std::pow(10.0, kQuieterUnderDb / 10.0);
  const int64_t last = std::min(silence.end, silence.start + Samples(kFittedMs, rate));
  const double energy = Energy(samples, dc_offset, silence.start, last);
  const double steady_power = Energy(samples, dc_offset, steady.start, steady.end) /
                              static_cast<double>(steady.end - steady.start);
  if (energy / static_cast<double>(last - silence.start) * under < steady_power) return false;
  const TonesToFit tones = TonesNearEdge(samples, rate, dc_offset, steady, false);
  // Only the strong tones: the hum that goes on in every silence is no continuation.
  std::vector<double> strong;
  for (size_t k = 0; k < tones.frequencies.size(); ++k) {
    if (tones.levels_dbfs[k] >= tones.levels_dbfs.front() - kStrongToneRangeDb) strong.push_back(tones.frequencies[k]);
  }
  ToneFit loud(samples, dc_offset, rate, strong);
  ToneFit quiet(samples, dc_offset, rate, strong);
  if (!tones.tonal || !loud.Fit(tones.first, tones.last) || !quiet.Fit(silence.start, last)) return false;
  // Every strong tone goes on (a gain lowers them all), and they explain the silence.
  for (size_t k = 0; k < strong.size(); ++k) {
    if (quiet.TonePower(k) * under < loud.TonePower(k)) return false;
  }
  return quiet.Unexplained(silence.start, last) <= kEchoUnexplained * energy;
}

// Joins to each steady segment the long silence after it that is its tones going on quieter.
void JoinQuieterContinuations(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments) {
  const int64_t shortest = Samples(kLongestEchoMs, rate);
  std::vector<Segment> kept;
  for (const Segment& segment : *segments) {
    if (!kept.empty() && kept.back().kind == SegmentKind::Steady && segment.kind == SegmentKind::Silent &&
        segment.end - segment.start >= shortest &&
        IsQuieterContinuation(samples, rate, dc_offset, kept.back(), segment)) {
      kept.back().end = segment.end;
      kept.back().cut_at_end = segment.cut_at_end;
    } else {
      kept.push_back(segment);
    }
  }
  segments->swap(kept);
}

// Whether the tones fitted are that weak in the gap too (they beat to nothing there), or
// still sound there at half.
bool TonesBeatToNothingIn(const int16_t* samples, int32_t rate, double dc_offset, const TonesToFit& tones,
                          const Segment& gap) {
  ToneFit fit(samples, dc_offset, rate, tones.frequencies);
  if (!fit.Fit(tones.first, tones.last)) return false;
  ToneShare share(samples, dc_offset, fit, gap.start, gap.end);
  double power = 0.0;
  double value = share.Share((gap.start + gap.end) / 2, (gap.end - gap.start) / 2 + 1, &power);
  return power < kNullShare * fit.Power() || value >= kHalf;
}

// Whether the short silence between two steady segments is where their tones beat to
// nothing: fitted in the segment before, next to the silence; or, when that segment is
// shorter than the fitted stretch (tones too close to tell apart in one beat, 400 Hz
// modulated by 16 Hz), from its start on over the beats after it; or else (the segment
// before began in noise) from the segment after on (up to end).
bool IsBeatNull(const int16_t* samples, int32_t rate, double dc_offset, const Segment& steady, const Segment& gap,
                const Segment& next, int64_t end) {
  const int64_t fitted = Samples(kFittedMs, rate);
  const TonesToFit before = steady.end - steady.start >= fitted
                                ? TonesNearEdge(samples, rate, dc_offset, steady, false)
                                : MeasureTonesToFit(samples, rate, dc_offset, steady.start,
                                                    std::min(end, steady.start + fitted));
  if (TonesBeatToNothingIn(samples, rate, dc_offset, before, gap)) return true;
  const TonesToFit after = MeasureTonesToFit(samples, rate, dc_offset, next.start, std::min(end, next.start + fitted));
  return TonesBeatToNothingIn(samples, rate, dc_offset, after, gap);
}

// Joins the steady segments on either side of a short silence where their tones beat
// to nothing (in noise, the quiet of a beat is as deep as a gap).
void JoinBeatNulls(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments) {
  const int64_t end = segments->empty() ? 0 : segments->back().end;
  auto is_beat_null = [&](const Segment& steady, const Segment& gap, const Segment& next) {
    return next.kind == SegmentKind::Steady && IsBeatNull(samples, rate, dc_offset, steady, gap, next, end);
  };
  JoinAcrossShortSilences(rate, kShortestBeatMs, kLongestNullMs, segments, is_beat_null);
}

// Where the tones of the segment start (at_start) or stop, searched from inside it to
// outside: the edge found by loudness when it lies where the tones stop (within a fade),
// else the first sample without them; -1 when they never stop.
int64_t FollowEdge(const int16_t* samples, int32_t rate, double dc_offset, const Segment& segment, bool at_start,
                   int64_t outside) {
  TonesToFit tones = TonesNearEdge(samples, rate, dc_offset, segment, at_start);
  const int64_t from = std::min(Samples(kSearchFromMs, rate), (segment.end - segment.start) / 4);
  int64_t inside = at_start ? segment.start + from : segment.end - from;
  // Noise where a step should start (an AGC lifts it the longer a silence lasts, until it
  // is as loud as the burst after it): the tones are looked for further in, and followed
  // back from the end of the first stretch that holds them.
  const int64_t hop = Samples(kNoiseHopMs, rate);
  bool hopped = false;
  for (int hops = 1; at_start && !tones.tonal && hops <= kMostNoiseHops; ++hops) {
    const int64_t first = tones.first + hop;
    const int64_t last = std::min(tones.last + hop, segment.end);
    if (last - first < hop) return -1;
    tones = MeasureTonesToFit(samples, rate, dc_offset, first, last);
    inside = last;
    hopped = true;
  }
  // That stretch may still begin in the noise (a burst's start lifted by a slow AGC makes
  // it tonal early): the tones are fitted in the stretch after it, wholly inside the step.
  const int64_t after_end = std::min(inside + (tones.last - tones.first), segment.end);
  if (hopped && tones.tonal && after_end - inside >= hop) {
    const TonesToFit after = MeasureTonesToFit(samples, rate, dc_offset, inside, after_end);
    if (after.tonal) tones = after;
  }
  if (tones.frequencies.empty()) return -1;
  ToneFit fit(samples, dc_offset, rate, tones.frequencies);
  if (!fit.Fit(tones.first, tones.last)) return -1;
  ToneStop stop;
  if (!FindToneStop(samples, dc_offset, rate, fit, tones.half_window, inside, outside, &stop)) return -1;
  // The tones were not there where the search began (noise an AGC lifted in the silence
  // before, and has not yet brought down): it begins again where they were fitted.
  const int64_t fitted_middle = (tones.first + tones.last) / 2;
  if (stop.first_under == inside && (at_start ? fitted_middle > inside : fitted_middle < inside) &&
      !FindToneStop(samples, dc_offset, rate, fit, tones.half_window, fitted_middle, outside, &stop)) {
    return -1;
  }
  // The first sample of the sound, or one past its last.
  const int64_t held = at_start ? stop.last_held : stop.last_held + 1;
  const int64_t under = at_start ? stop.first_under + 1 : stop.first_under;
  const int64_t loudness = at_start ? segment.start : segment.end;
  const int64_t fade = Samples(kFadeMs, rate);
  if (loudness >= std::min(held, under) - fade && loudness <= std::max(held, under) + fade) return loudness;
  return under;
}

}  // namespace

void FollowToneEdges(const int16_t* samples, int32_t rate, double dc_offset, std::vector<Segment>* segments) {
  JoinBeatNulls(samples, rate, dc_offset, segments);
  JoinEchoTails(samples, rate, dc_offset, segments);
  JoinQuieterContinuations(samples, rate, dc_offset, segments);
  JoinFalseRamps(samples, rate, dc_offset, segments);
  std::vector<Segment>& list = *segments;
  const int64_t reach = Samples(kReachOutsideMs, rate);
  for (size_t i = 0; i < list.size(); ++i) {
    Segment& segment = list[i];
    if (segment.kind != SegmentKind::Steady || segment.end - segment.start < Samples(kShortestFollowedMs, rate)) continue;
    if (i > 0 && list[i - 1].kind == SegmentKind::Silent && !segment.cut_at_start) {
      Segment& before = list[i - 1];
      int64_t edge = FollowEdge(samples, rate, dc_offset, segment, true, std::max(before.start + 1, segment.start - reach));
      if (edge >= 0) {
        segment.start = edge;
        before.end = edge;
      }
    }
    if (i + 1 < list.size() && list[i + 1].kind == SegmentKind::Silent && !segment.cut_at_end) {
      Segment& after = list[i + 1];
      int64_t edge = FollowEdge(samples, rate, dc_offset, segment, false, std::min(after.end - 1, segment.end + reach));
      if (edge >= 0) {
        segment.end = edge;
        after.start = edge;
      }
    }
  }
}
