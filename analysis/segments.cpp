#include "analysis/segments.h"

#include <algorithm>
#include <cmath>

namespace {

// Ramps are looked for in at most this much of a run's start and end.
constexpr double kLongestRampMs = 30000.0;
// A ramp must rise from below this share of its top ...
constexpr double kRampFoot = 0.3;
// ... reach at least this share of the steady level after it ...
constexpr double kRampTopShare = 0.5;
// ... and explain the run's shape this much better than a flat level does.
constexpr double kRampFitGain = 4.0;
// A dip this far under the steady level (in power), and this far under the quietest frame
// of the steady part, marks where a ramp hands over to a faded step.
constexpr double kDipShare = 0.1;
constexpr double kDipUnderSteady = 0.25;
constexpr double kSteadyPercentile = 0.9;
// Two ramps whose lines meet no higher than this over the run's loudest are one peak.
constexpr double kPeakMargin = 1.02;

// Sums for least-squares lines over stretches of the smoothed amplitude.
class LineSums {
 public:
  explicit LineSums(const std::vector<double>& values) : t_(values.size() + 1), tt_(t_), y_(t_), ty_(t_), yy_(t_) {
    for (size_t k = 0; k < values.size(); ++k) {
      double t = static_cast<double>(k) + 0.5;
      double y = values[k];
      t_[k + 1] = t_[k] + t;
      tt_[k + 1] = tt_[k] + t * t;
      y_[k + 1] = y_[k] + y;
      ty_[k + 1] = ty_[k] + t * y;
      yy_[k + 1] = yy_[k] + y * y;
    }
  }

  double FlatError(size_t first, size_t last) const {
    double n = Count(first, last);
    double sy = y_[last] - y_[first];
    return std::max(0.0, (yy_[last] - yy_[first]) - sy * sy / n);
  }

  // Slope and intercept (in frames of the values) of the best line; false when the
  // stretch is too short to have one.
  bool Line(size_t first, size_t last, double* slope, double* intercept) const {
    double n = Count(first, last);
    if (n < 2.0) return false;
    double st = t_[last] - t_[first];
    double sy = y_[last] - y_[first];
    double stt = (tt_[last] - tt_[first]) - st * st / n;
    double sty = (ty_[last] - ty_[first]) - st * sy / n;
    if (stt <= 0.0) return false;
    *slope = sty / stt;
    *intercept = (sy - *slope * st) / n;
    return true;
  }

  double LineError(size_t first, size_t last) const {
    double n = Count(first, last);
    double st = t_[last] - t_[first];
    double sy = y_[last] - y_[first];
    double stt = (tt_[last] - tt_[first]) - st * st / n;
    double sty = (ty_[last] - ty_[first]) - st * sy / n;
    double syy = (yy_[last] - yy_[first]) - sy * sy / n;
    if (stt <= 0.0) return std::max(0.0, syy);
    return std::max(0.0, syy - sty * sty / stt);
  }

 private:
  double Count(size_t first, size_t last) const { return static_cast<double>(last - first); }

  std::vector<double> t_, tt_, y_, ty_, yy_;
};

struct Ramp {
  bool found = false;
  bool reaches_end = false;  // the best bend lies at the end of the stretch searched
  double foot = 0.0;   // frame (from the stretch's start) where the ramp meets silence
  double top = 0.0;    // frame where it meets the steady part
  double slope = 0.0;  // amplitude per frame
  bool bends = false;  // the top is where the ramp's line meets the steady level
};

// The centred running mean of values over kSmoothingFrames.
std::vector<double> SmoothAgain(const std::vector<double>& values) {
  const size_t n = values.size();
  const size_t half = kSmoothingFrames / 2;
  std::vector<double> smoothed(n);
  double sum = 0.0;
  size_t low = 0;
  size_t high = 0;
  for (size_t k = 0; k < n; ++k) {
    while (high < std::min(n, k + half + 1)) sum += values[high++];
    while (low + half < k) sum -= values[low++];
    smoothed[k] = sum / static_cast<double>(high - low);
  }
  return smoothed;
}

// The foot of a rise between frames first and last, starting from a first line. Smoothed
// twice, the power of a linear rise is the square of the line plus slope^2 times the
// kernel's variance, and two beating tones leave almost nothing; with that lift taken
// off, the amplitude is straight again and its foot is the ramp's.
double FitFoot(const std::vector<double>& power, size_t first, size_t last, double slope, double intercept,
               double* fitted_slope) {
  const double width = static_cast<double>(kSmoothingFrames);
  const double variance = 2.0 * (width * width - 1.0) / 12.0;
  std::vector<double> twice = SmoothAgain(power);
  std::vector<double> straight(power.size());
  for (int round = 0; round < 3; ++round) {
    for (size_t k = 0; k < power.size(); ++k) {
      straight[k] = std::sqrt(std::max(0.0, twice[k] - slope * slope * variance));
    }
    double next_slope = 0.0;
    double next_intercept = 0.0;
    if (!LineSums(straight).Line(first, last, &next_slope, &next_intercept) || next_slope <= 0.0) break;
    slope = next_slope;
    intercept = next_intercept;
  }
  *fitted_slope = slope;
  return -intercept / slope;
}

// Looks for a ramp at the start of a run from its smoothed power above the background
// (power) and its frame powers (fine); level is the run's steady amplitude. A fall is
// the same search on both reversed.
Ramp FindRise(const std::vector<double>& power, const std::vector<float>& fine, double background,
              double level, size_t shortest_ramp) {
  Ramp ramp;
  const size_t n = power.size();
  const size_t smoothing = kSmoothingFrames;
  if (n < 2 * shortest_ramp) return ramp;
  std::vector<double> amplitude(n);
  for (size_t k = 0; k < n; ++k) amplitude[k] = std::sqrt(power[k]);
  // Where a line up and a flat level after it fit the amplitude best.
  LineSums sums(amplitude);
  double flat_error = sums.FlatError(0, n);
  size_t best = 0;
  double best_error = flat_error;
  for (size_t k = shortest_ramp; k + smoothing <= n; ++k) {
    double error = sums.LineError(0, k) + sums.FlatError(k, n);
    if (error < best_error) {
      best_error = error;
      best = k;
    }
  }
  if (best == 0 || best_error * kRampFitGain > flat_error) return ramp;
  // The ramp is judged away from both bends, which the smoothing rounds off.
  size_t first = smoothing;
  size_t last = best > 3 * smoothing ? best - 2 * smoothing : 0;
  if (last <= first + 2) {
    first = 0;
    last = best;
  }
  double slope = 0.0;
  double intercept = 0.0;
  if (!sums.Line(first, last, &slope, &intercept) || slope <= 0.0) return ramp;
  double top_value = slope * static_cast<double>(best) + intercept;
  if (top_value < kRampTopShare * level || intercept > kRampFoot * top_value) return ramp;

  ramp.reaches_end = best + smoothing == n;
  ramp.foot = FitFoot(power, first, last, slope, intercept, &slope);
  // A rise whose line spans less than a ramp's shortest length is an edge after all.
  if (static_cast<double>(best) - ramp.foot < static_cast<double>(shortest_ramp)) return ramp;
  ramp.found = true;
  ramp.slope = slope;
  ramp.top = static_cast<double>(best);
  // Where a faded step follows the ramp, the sound dips to nothing between them: deeper
  // than the steady part ever does, for two tones that beat also dip, if less deeply.
  size_t low = best > smoothing ? best - smoothing : 0;
  size_t high = std::min(n, best + smoothing);
  size_t quietest = low;
  for (size_t k = low; k < high; ++k) {
    if (fine[k] < fine[quietest]) quietest = k;
  }
  double steady_quietest = -1.0;
  for (size_t k = best + smoothing; k < n; ++k) {
    if (steady_quietest < 0.0 || fine[k] < steady_quietest) steady_quietest = fine[k];
  }
  bool dip = fine[quietest] - background < kDipShare * level * level &&
             (steady_quietest < 0.0 || fine[quietest] < kDipUnderSteady * steady_quietest);
  // Otherwise a ramp that ends at the steady level bends into it where its line meets it;
  // near the breakpoint, or beyond it when the ramp outlasts the stretch searched.
  double meet = ramp.foot + level / slope;
  bool near = std::fabs(meet - ramp.top) <= 2.0 * static_cast<double>(smoothing);
  bool beyond = ramp.reaches_end && meet > ramp.top;
  if (dip) {
    ramp.top = static_cast<double>(quietest) + 0.5;
  } else if (near || beyond) {
    ramp.top = meet;
    ramp.bends = true;
  }
  return ramp;
}

struct Piece {
  SegmentKind kind;
  int64_t start;
  int64_t end;
};

// The amplitude a run holds steady: a high percentile of both ends' smoothed power,
// which ramps and edges pull down but never up.
double SteadyAmplitude(const std::vector<double>& rising, const std::vector<double>& falling) {
  std::vector<double> powers(rising);
  powers.insert(powers.end(), falling.begin(), falling.end());
  size_t rank = static_cast<size_t>(kSteadyPercentile * static_cast<double>(powers.size() - 1));
  std::nth_element(powers.begin(), powers.begin() + rank, powers.end());
  return std::sqrt(powers[rank]);
}

// The smoothed power above the background and the frame powers of reach frames from a
// run's start, or backwards from its end.
struct RunEnd {
  std::vector<double> power;
  std::vector<float> fine;
};

RunEnd ReadRunEnd(const Envelope& envelope, size_t first, size_t last, size_t reach, bool backwards) {
  RunEnd end;
  std::vector<double> smoothed;
  size_t from = backwards ? last - reach : first;
  SmoothPowers(envelope, from, from + reach, &smoothed);
  end.power.resize(reach);
  end.fine.resize(reach);
  for (size_t k = 0; k < reach; ++k) {
    size_t index = backwards ? reach - 1 - k : k;
    end.power[k] = std::max(0.0, smoothed[index] - envelope.floor_power);
    end.fine[k] = envelope.power[from + index];
  }
  return end;
}

// A ramp at the start of the run (or, backwards, at its end): searched in the run's half
// first, and again in the whole run when it may go on beyond the half.
Ramp FindRunRamp(const Envelope& envelope, size_t first, size_t last, size_t reach, size_t longest,
                 double level, size_t shortest, bool backwards) {
  RunEnd end = ReadRunEnd(envelope, first, last, reach, backwards);
  Ramp ramp = FindRise(end.power, end.fine, envelope.floor_power, level, shortest);
  size_t whole = std::min(last - first, longest);
  if (ramp.found && ramp.reaches_end && whole > reach) {
    end = ReadRunEnd(envelope, first, last, whole, backwards);
    ramp = FindRise(end.power, end.fine, envelope.floor_power, level, shortest);
  }
  return ramp;
}

void SplitRun(const Run& run, const Envelope& envelope, std::vector<Piece>* pieces) {
  const int64_t hop = envelope.frame_samples;
  const size_t first = static_cast<size_t>(run.start / hop);
  const size_t last = std::min(envelope.power.size(), static_cast<size_t>((run.end + hop - 1) / hop));
  const double frames_per_ms = envelope.sampling_frequency / 1000.0 / static_cast<double>(hop);
  const size_t shortest = static_cast<size_t>(kShortestRampMs * frames_per_ms);
  const size_t longest = static_cast<size_t>(kLongestRampMs * frames_per_ms);
  const size_t reach = std::min((last - first) / 2, longest);

  Ramp up;
  Ramp down;
  double loudest = 0.0;
  if (reach >= 2 * shortest) {
    RunEnd rising = ReadRunEnd(envelope, first, last, reach, false);
    RunEnd falling = ReadRunEnd(envelope, first, last, reach, true);
    // Smoothed once more, beating tones no longer lift the percentile.
    double level = SteadyAmplitude(SmoothAgain(rising.power), SmoothAgain(falling.power));
    loudest = std::sqrt(std::max(*std::max_element(rising.power.begin(), rising.power.end()),
                                 *std::max_element(falling.power.begin(), falling.power.end())));
    up = FindRunRamp(envelope, first, last, reach, longest, level, shortest, false);
    down = FindRunRamp(envelope, first, last, reach, longest, level, shortest, true);
  }
  // A ramp's foot may lie before the run's first loud frame (in noise, the quiet start of
  // a ramp is not heard); the silence before it gives way to it.
  int64_t start = up.found ? std::max<int64_t>(0, std::llround((first + up.foot) * hop)) : run.start;
  int64_t end = down.found ? std::min<int64_t>(envelope.sample_count, std::llround((last - down.foot) * hop))
                           : run.end;
  // Where ramps bend into the steady part, its own mean level places the bends best.
  if (up.bends || down.bends) {
    double steady_first = first + (up.found ? up.top : 0.0) + kSmoothingFrames;
    double steady_last = last - (down.found ? down.top : 0.0) - kSmoothingFrames;
    if (steady_last - steady_first >= 2.0 * kSmoothingFrames) {
      std::vector<double> steady;
      SmoothPowers(envelope, static_cast<size_t>(steady_first), static_cast<size_t>(steady_last), &steady);
      double sum = 0.0;
      for (double power : steady) sum += std::max(0.0, power - envelope.floor_power);
      double level = std::sqrt(sum / static_cast<double>(steady.size()));
      if (up.bends) up.top = up.foot + level / up.slope;
      if (down.bends) down.top = down.foot + level / down.slope;
    }
  }
  int64_t steady_start = up.found ? std::llround((first + up.top) * hop) : start;
  int64_t steady_end = down.found ? std::llround((last - down.top) * hop) : end;
  if (up.found && down.found) {
    // A ramp straight into a ramp: the two lines meet at the peak, no louder than the
    // loudest the run gets; lines of a steady part between them meet far above it.
    double up_foot = first + up.foot;
    double down_foot = last - down.foot;
    double peak = (up.slope * up_foot + down.slope * down_foot) / (up.slope + down.slope);
    if (up.slope * (peak - up_foot) <= kPeakMargin * loudest) {
      steady_start = std::llround(peak * hop);
      steady_end = steady_start;
    }
  }
  if (up.found) pieces->push_back(Piece{SegmentKind::RampUp, start, steady_start});
  if (steady_end > steady_start) pieces->push_back(Piece{SegmentKind::Steady, steady_start, steady_end});
  if (down.found) pieces->push_back(Piece{SegmentKind::RampDown, std::max(steady_end, steady_start), end});
}

}  // namespace

bool IsSounding(SegmentKind kind) { return kind != SegmentKind::Silent; }

std::vector<Segment> SplitIntoSegments(const std::vector<Run>& runs, const Envelope& envelope) {
  std::vector<Piece> pieces;
  for (const Run& run : runs) {
    if (run.sounding) SplitRun(run, envelope, &pieces);
  }
  // Silence fills what the sounding pieces leave; a ramp's foot reaching into the
  // silence before it, or into the previous run, is held back there.
  std::vector<Segment> segments;
  const int64_t count = envelope.sample_count;
  int64_t position = 0;
  for (const Piece& piece : pieces) {
    int64_t start = std::max(piece.start, position);
    int64_t end = std::min(piece.end, count);
    if (end <= start) continue;
    if (start > position) segments.push_back(Segment{SegmentKind::Silent, position, start, false, false});
    segments.push_back(Segment{piece.kind, start, end, false, false});
    position = end;
  }
  if (position < count) segments.push_back(Segment{SegmentKind::Silent, position, count, false, false});
  if (!segments.empty()) {
    segments.front().cut_at_start = true;
    segments.back().cut_at_end = true;
  }
  return segments;
}
