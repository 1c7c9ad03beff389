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

class EdgeFinder {
 public:
  EdgeFinder(const int16_t* samples, const Envelope& envelope)
      : samples_(samples), envelope_(envelope), hop_(envelope.frame_samples) {}

  // Sets the frame and sample levels of one run from its mean power.
  void SetRun(const FrameRun& run) {
    double sum = 0.0;
    for (size_t k = run.first; k < run.last; ++k) sum += envelope_.power[k];
    double run_power = sum / static_cast<double>(std::max<size_t>(1, run.last - run.first));
    double background = envelope_.floor_power;
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

 private:
  bool Loud(int64_t i) const { return std::fabs(samples_[i] - envelope_.dc_offset) > sample_level_; }

  const int16_t* samples_;
  const Envelope& envelope_;
  int64_t hop_;
  double frame_level_ = 0.0;
  double sample_level_ = 0.0;
};

void AppendRun(std::vector<Run>* runs, int64_t start, int64_t end, bool sounding) {
  if (end <= start) return;
  if (!runs->empty() && runs->back().sounding == sounding) {
    runs->back().end = end;
    return;
  }
  runs->push_back(Run{start, end, sounding});
}

}  // namespace

std::vector<Run> FindRuns(const int16_t* samples, const Envelope& envelope) {
  std::vector<Run> runs;
  const int64_t count = envelope.sample_count;
  if (count <= 0) return runs;
  const size_t frames = envelope.power.size();

  double floor_db = PowerToDbfs(envelope.floor_power);
  double peak_db = PowerToDbfs(envelope.peak_power);
  double contrast = peak_db - floor_db;
  if (contrast < kLeastContrastDb) {
    runs.push_back(Run{0, count, peak_db >= kQuietestSteadySoundDbfs});
    return runs;
  }
  // Hysteresis in decibels, between background and loudest; the powers follow from the
  // ratio to the background, which needs no conversion back from dBFS.
  const double background = std::max(envelope.floor_power, 1e-12);
  const double on_power = background * std::pow(10.0, kOnFraction * contrast / 10.0);
  const double off_power = background * std::pow(10.0, kOffFraction * contrast / 10.0);
  std::vector<FrameRun> frame_runs = FindFrameRuns(envelope, on_power, off_power);

  EdgeFinder edges(samples, envelope);
  int64_t previous_end = 0;
  for (size_t r = 0; r < frame_runs.size(); ++r) {
    const FrameRun& run = frame_runs[r];
    edges.SetRun(run);
    size_t earliest = static_cast<size_t>(previous_end / envelope.frame_samples);
    size_t limit = r + 1 < frame_runs.size() ? frame_runs[r + 1].first : frames;
    size_t inside_start = std::min(run.first + kSmoothingFrames, run.last - 1);
    size_t inside_end = run.last > run.first + kSmoothingFrames ? run.last - 1 - kSmoothingFrames : run.first;
    int64_t start = run.first == 0 ? 0 : std::max(previous_end, edges.Onset(inside_start, earliest));
    int64_t end = run.last == frames ? count : edges.Offset(inside_end, limit);
    if (end <= start) continue;
    AppendRun(&runs, previous_end, start, false);
    AppendRun(&runs, start, end, true);
    previous_end = end;
  }
  AppendRun(&runs, previous_end, count, false);
  return runs;
}
