#include "analysis/runs.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this spread between background and loudest stretch there are no edges to find.
constexpr double kLeastContrastDb = 10.0;
// A recording without contrast counts as one steady sound when it is this loud.
constexpr double kQuietestSteadySoundDbfs = -60.0;
// Where between background and loudest (in dB) sound starts and stops.
constexpr double kOnFraction = 0.5;
constexpr double kOffFraction = 0.4;
// An edge is placed where the frames fall to the background: a few times its power, or
// 50 dB below the run when the background is digital silence.
constexpr double kEdgeOverBackground = 4.0;
constexpr double kEdgeUnderRun = 1e-5;
// Frames below the edge level that a run may hold (where two tones beat to nothing)
// without ending there.
constexpr size_t kEdgeGapFrames = 5;
// A run falls silent inside for at least this many frames (ms) before the silence is a step
// of its own: short gaps (15 to 30 ms in some national tones) pass under the smoothing.
constexpr size_t kShortestGapFrames = 10;
// A gap lies at least this far under the run's typical level: two tones that beat dip less
// deeply, or only for a few frames, at any level ratio.
constexpr double kGapUnderTypical = 0.063;  // -12 dB
// At most this many frames of a run are sorted to find its quiet and typical levels.
constexpr size_t kLevelSampleFrames = 100000;
constexpr size_t kBlockFrames = 4096;

struct FrameRun {
  size_t first = 0;
  size_t last = 0;  // one past
};

// Sounding stretches of frames by hysteresis on the smoothed power.
std::vector<FrameRun> FindFrameRuns(const Envelope& envelope, double on_power, double off_power) {
  std::vector<FrameRun> runs;
  std::vector<double> smoothed;
  bool sounding = false;
  FrameRun current;
  const size_t frames = envelope.power.size();
  for (size_t first = 0; first < frames; first += kBlockFrames) {
    SmoothPowers(envelope, first, first + kBlockFrames, &smoothed);
    for (size_t i = 0; i < smoothed.size(); ++i) {
      size_t frame = first + i;
      if (!sounding && smoothed[i] >= on_power) {
        sounding = true;
        current.first = frame;
      } else if (sounding && smoothed[i] < off_power) {
        sounding = false;
        current.last = frame;
        runs.push_back(current);
      }
    }
  }
  if (sounding) {
    current.last = frames;
    runs.push_back(current);
  }
  return runs;
}

void AppendRun(std::vector<Run>* runs, int64_t start, int64_t end, bool sounding) {
  if (end <= start) return;
  if (!runs->empty() && runs->back().sounding == sounding) {
    runs->back().end = end;
    return;
  }
  runs->push_back(Run{start, end, sounding});
}

class EdgeFinder {
 public:
  EdgeFinder(const int16_t* samples, const Envelope& envelope)
      : samples_(samples), envelope_(envelope), hop_(envelope.frame_samples) {}

  // Sets the frame and sample levels of one run from its mean power and the background
  // (0 when the recording has no quiet stretch to tell it).
  void SetRun(const FrameRun& run, double background) {
    double sum = 0.0;
    for (size_t k = run.first; k < run.last; ++k) sum += envelope_.power[k];
    double run_power = sum / static_cast<double>(std::max<size_t>(1, run.last - run.first));
    frame_level_ = std::max(kEdgeOverBackground * background, kEdgeUnderRun * run_power);
    // At least two steps of the last bit, which dither or a codec's silence may flip.
    sample_level_ = std::max(std::sqrt(frame_level_), 1.5);
  }

  // The first sample of the sound that reaches back from frame inside, not before frame
  // earliest.
  int64_t Onset(size_t inside, size_t earliest) const {
    size_t first_loud = inside;
    size_t gap = 0;
    for (size_t k = inside + 1; k-- > earliest;) {
      if (envelope_.power[k] >= frame_level_) {
        first_loud = k;
        gap = 0;
      } else if (++gap > kEdgeGapFrames) {
        break;
      }
    }
    // The sound may start in the frame before the first loud one, below the frame level.
    size_t from_frame = first_loud > earliest ? first_loud - 1 : earliest;
    int64_t from = static_cast<int64_t>(from_frame) * hop_;
    int64_t to = std::min<int64_t>(static_cast<int64_t>(first_loud + 1) * hop_, envelope_.sample_count);
    for (int64_t i = from; i < to; ++i) {
      if (Loud(i)) return i;
    }
    return static_cast<int64_t>(first_loud) * hop_;
  }

  // One past the last sample of the sound that reaches on from frame inside, before
  // frame limit.
  int64_t Offset(size_t inside, size_t limit) const {
    size_t last_loud = inside;
    size_t gap = 0;
    for (size_t k = inside; k < limit; ++k) {
      if (envelope_.power[k] >= frame_level_) {
        last_loud = k;
        gap = 0;
      } else if (++gap > kEdgeGapFrames) {
        break;
      }
    }
    int64_t from = static_cast<int64_t>(last_loud) * hop_;
    int64_t to = std::min<int64_t>(static_cast<int64_t>(std::min(last_loud + 2, limit)) * hop_,
                                   envelope_.sample_count);
    for (int64_t i = to; i-- > from;) {
      if (Loud(i)) return i + 1;
    }
    return std::min<int64_t>(static_cast<int64_t>(last_loud + 1) * hop_, envelope_.sample_count);
  }

  // Cuts the sound [start, end) at every stretch of kShortestGapFrames or more quiet
  // frames between loud ones. Quiet is below the geometric middle of the run's quietest
  // frames and its typical ones, and well under the typical ones, so that noise in a gap is
  // quiet and a tone that beats or fades for a moment is not.
  // With trim_ends, quiet at the very start or end is a silence too (a recording without
  // contrast is one run from its first sample to its last); edges found by hysteresis are
  // kept as they are, so that the quiet foot of a ramp stays the ramp's.
  void AppendWithGaps(int64_t start, int64_t end, bool trim_ends, std::vector<Run>* runs) const {
    const size_t first = static_cast<size_t>((start + hop_ - 1) / hop_);
    const size_t last = static_cast<size_t>(end / hop_);
    double quiet = frame_level_;
    if (last > first + 2 * kShortestGapFrames) {
      size_t stride = std::max<size_t>(1, (last - first) / kLevelSampleFrames);
      std::vector<float> levels;
      for (size_t k = first; k < last; k += stride) levels.push_back(envelope_.power[k]);
      std::nth_element(levels.begin(), levels.begin() + levels.size() / 50, levels.end());
      double quietest = levels[levels.size() / 50];
      std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
      double typical = levels[levels.size() / 2];
      double middle = std::sqrt(std::max(quietest, 0.0) * typical);
      quiet = std::max(quiet, std::min(middle, kGapUnderTypical * typical));
    }
    // A gap needs sound on both sides that lasts as long as the shortest gap, so that a
    // few noisy frames at the quiet foot of a ramp do not split it off.
    int64_t run_start = start;
    size_t quiet_from = first;
    size_t quiet_frames = 0;
    size_t loud_frames = 0;
    size_t loud_before = 0;
    for (size_t k = first; k < last; ++k) {
      if (envelope_.power[k] < quiet) {
        if (quiet_frames++ == 0) {
          quiet_from = k;
          loud_before = loud_frames;
        }
        // Loud frames count since the last quiet stretch long enough to be a gap.
        if (quiet_frames == kShortestGapFrames) loud_frames = 0;
        continue;
      }
      ++loud_frames;
      bool sound_before = quiet_from == first ? trim_ends : loud_before >= kShortestGapFrames;
      bool sound_after = k + kShortestGapFrames <= last && LoudFor(k, kShortestGapFrames, quiet);
      if (quiet_frames >= kShortestGapFrames && sound_before && sound_after) {
        int64_t gap_start = quiet_from == first ? start : LastLoudBefore(quiet_from, quiet);
        int64_t gap_end = FirstLoudFrom(k, quiet);
        if (gap_start >= run_start && gap_end > gap_start) {
          AppendRun(runs, run_start, gap_start, true);
          AppendRun(runs, gap_start, gap_end, false);
          run_start = gap_end;
        }
      }
      quiet_frames = 0;
    }
    int64_t sound_end = end;
    if (trim_ends && quiet_frames >= kShortestGapFrames && quiet_from > first) {
      sound_end = std::max(run_start, LastLoudBefore(quiet_from, quiet));
    }
    AppendRun(runs, run_start, sound_end, true);
    AppendRun(runs, sound_end, end, false);
  }

 private:
  bool Loud(int64_t i) const { return std::fabs(samples_[i] - envelope_.dc_offset) > sample_level_; }
  bool Loud(int64_t i, double level) const { return std::fabs(samples_[i] - envelope_.dc_offset) > level; }

  bool LoudFor(size_t from, size_t frames, double quiet) const {
    for (size_t k = from; k < from + frames; ++k) {
      if (envelope_.power[k] < quiet) return false;
    }
    return true;
  }

  // One past the last sample above the quiet level in the frame before frame quiet_from.
  int64_t LastLoudBefore(size_t quiet_from, double quiet) const {
    double level = std::sqrt(quiet);
    int64_t from = static_cast<int64_t>(quiet_from > 0 ? quiet_from - 1 : 0) * hop_;
    for (int64_t i = static_cast<int64_t>(quiet_from) * hop_; i-- > from;) {
      if (Loud(i, level)) return i + 1;
    }
    return static_cast<int64_t>(quiet_from) * hop_;
  }

  // The first sample above the quiet level in frame loud (the first loud one after a gap).
  int64_t FirstLoudFrom(size_t loud, double quiet) const {
    double level = std::sqrt(quiet);
    int64_t to = std::min<int64_t>(static_cast<int64_t>(loud + 1) * hop_, envelope_.sample_count);
    for (int64_t i = static_cast<int64_t>(loud) * hop_; i < to; ++i) {
      if (Loud(i, level)) return i;
    }
    return static_cast<int64_t>(loud) * hop_;
  }

  const int16_t* samples_;
  const Envelope& envelope_;
  int64_t hop_;
  double frame_level_ = 0.0;
  double sample_level_ = 0.0;
};


}  // namespace

std::vector<Run> FindRuns(const int16_t* samples, const Envelope& envelope) {
  std::vector<Run> runs;
  const int64_t count = envelope.sample_count;
  if (count <= 0) return runs;
  const size_t frames = envelope.power.size();

  double floor_db = PowerToDbfs(envelope.floor_power);
  double peak_db = PowerToDbfs(envelope.peak_power);
  double contrast = peak_db - floor_db;
  EdgeFinder edges(samples, envelope);
  if (contrast < kLeastContrastDb) {
    if (peak_db < kQuietestSteadySoundDbfs) {
      runs.push_back(Run{0, count, false});
    } else {
      // Without contrast the "background" is only the sound's own quieter moments.
      edges.SetRun(FrameRun{0, frames}, 0.0);
      edges.AppendWithGaps(0, count, true, &runs);
    }
    return runs;
  }
  // Hysteresis in decibels, between background and loudest; the powers follow from the
  // ratio to the background, which needs no conversion back from dBFS.
  const double background = std::max(envelope.floor_power, 1e-12);
  const double on_power = background * std::pow(10.0, kOnFraction * contrast / 10.0);
  const double off_power = background * std::pow(10.0, kOffFraction * contrast / 10.0);
  std::vector<FrameRun> frame_runs = FindFrameRuns(envelope, on_power, off_power);

  int64_t previous_end = 0;
  for (size_t r = 0; r < frame_runs.size(); ++r) {
    const FrameRun& run = frame_runs[r];
    edges.SetRun(run, envelope.floor_power);
    size_t earliest = static_cast<size_t>(previous_end / envelope.frame_samples);
    size_t limit = r + 1 < frame_runs.size() ? frame_runs[r + 1].first : frames;
    size_t inside_start = std::min(run.first + kSmoothingFrames, run.last - 1);
    size_t inside_end = run.last > run.first + kSmoothingFrames ? run.last - 1 - kSmoothingFrames : run.first;
    int64_t start = run.first == 0 ? 0 : std::max(previous_end, edges.Onset(inside_start, earliest));
    int64_t end = run.last == frames ? count : edges.Offset(inside_end, limit);
    if (end <= start) continue;
    AppendRun(&runs, previous_end, start, false);
    edges.AppendWithGaps(start, end, false, &runs);
    previous_end = end;
  }
  AppendRun(&runs, previous_end, count, false);
  return runs;
}
