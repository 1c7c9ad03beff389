#include "analysis/recording_blocks.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

bool SameLength(const HeardStep& first, const HeardStep& second) {
  if (!first.duration_known || !second.duration_known) return true;
  const double allowed = std::max(kCycleMatchMs, kCycleMatchShare * first.duration_ms);
  return std::fabs(first.duration_ms - second.duration_ms) <= allowed;
}

// The rotation of block's cycle that repeats whole's, step for step in kind, length and
// tones; or the cycle's length when there is none.
size_t MatchingRotation(const RecordingAnalysis& whole, const RecordingAnalysis& block) {
  const size_t period = whole.steps.size();
  if (block.steps.size() != period || block.cycle.repeats != whole.cycle.repeats) return period;
  for (size_t rotation = 0; rotation < period; ++rotation) {
    bool same = true;
    for (size_t i = 0; i < period && same; ++i) {
      const HeardStep& ours = whole.steps[i];
      const HeardStep& theirs = block.steps[(i + rotation) % period];
      same = ours.kind == theirs.kind && SameLength(ours, theirs) &&
             (!IsSounding(ours.kind) || SoundAlike(ours.tones, theirs.tones));
    }
    if (same) return rotation;
  }
  return period;
}

// The mean length of two steps' occurrences together.
void AddOccurrences(const HeardStep& theirs, HeardStep* ours, CycleStep* cycle_step) {
  if (theirs.duration_known) {
    if (!ours->duration_known) {
      ours->duration_ms = theirs.duration_ms;
    } else {
      const double total = static_cast<double>(ours->occurrences + theirs.occurrences);
      ours->duration_ms = (ours->duration_ms * ours->occurrences + theirs.duration_ms * theirs.occurrences) / total;
    }
    ours->duration_known = true;
  }
  ours->occurrences += theirs.occurrences;
  cycle_step->duration_ms = ours->duration_ms;
  cycle_step->duration_known = ours->duration_known;
  cycle_step->occurrences = ours->occurrences;
}

// Appends block's segments, moved to where the block begins; a segment the boundary cut in
// two is joined again. True when it was.
bool AppendSegments(const RecordingAnalysis& block, int64_t first_frame, RecordingAnalysis* whole) {
  bool joined = false;
  for (Segment segment : block.segments) {
    segment.start += first_frame;
    segment.end += first_frame;
    Segment* last = whole->segments.empty() ? nullptr : &whole->segments.back();
    if (last != nullptr && last->cut_at_end && segment.cut_at_start && last->kind == segment.kind) {
      last->end = segment.end;
      last->cut_at_end = segment.cut_at_end;
      joined = true;
    } else {
      whole->segments.push_back(segment);
    }
  }
  return joined;
}

// The step of block's cycle that its first segment is an occurrence of.
size_t FirstSegmentStep(const RecordingAnalysis& block) {
  const size_t period = block.cycle.steps.size();
  for (size_t k = 0; k < period; ++k) {
    if (block.cycle.steps[k].example_segment % period == 0) return k;
  }
  return 0;
}

}  // namespace

std::vector<RecordingBlock> SplitIntoBlocks(int64_t frames, int32_t rate) {
  const int64_t most = std::min(kMostBlockFrames, kMostBlockSeconds * rate);
  const int64_t count = most > 0 ? (frames + most - 1) / most : 1;
  const int64_t margin = count > 1 ? kBlockMarginMs * rate / 1000 : 0;
  std::vector<RecordingBlock> blocks;
  for (int64_t i = 0; i < count; ++i) {
    RecordingBlock block;
    block.first = frames * i / count;
    block.count = frames * (i + 1) / count - block.first;
    block.lead = std::min(margin, block.first);
    block.trail = std::min(margin, frames - block.first - block.count);
    blocks.push_back(block);
  }
  return blocks;
}

void AddBlockAnalysis(const RecordingAnalysis& block, int64_t first_frame, RecordingAnalysis* whole) {
  const int32_t rate = whole->sampling_frequency;
  const TimeSpan span = {first_frame * 1000.0 / rate, (first_frame + block.sample_count) * 1000.0 / rate};
  const bool joined = AppendSegments(block, first_frame, whole);
  whole->sample_count += block.sample_count;
  whole->duration_ms = whole->sample_count * 1000.0 / rate;
  if (!whole->has_silence && block.has_silence) whole->background_dbfs = block.background_dbfs;
  whole->has_silence = whole->has_silence || block.has_silence;

  if (!whole->heard_tone && block.heard_tone) {
    // The first block that holds a tone gives the cycle reported; the silence before it
    // repeats another.
    whole->other_cycles = {{0.0, span.start_ms}};
    whole->cycle = block.cycle;
    // The block's first segment may have been joined to the last one before it.
    const size_t shift = whole->segments.size() - block.segments.size();
    whole->cycle.first_segment += shift;
    for (CycleStep& step : whole->cycle.steps) step.example_segment += shift;
    whole->steps = block.steps;
    whole->background_tones = block.background_tones;
    whole->heard_tone = true;
    return;
  }
  const size_t period = whole->steps.size();
  const size_t rotation = MatchingRotation(*whole, block);
  if (rotation == period) {
    whole->other_cycles.push_back(span);
    return;
  }
  for (size_t i = 0; i < period; ++i) {
    HeardStep theirs = block.steps[(i + rotation) % period];
    // An occurrence cut by the boundary is counted once, in the block before.
    if (joined && (i + rotation) % period == FirstSegmentStep(block) && theirs.occurrences > 0) --theirs.occurrences;
    AddOccurrences(theirs, &whole->steps[i], &whole->cycle.steps[i]);
  }
  whole->cycle.complete_cycles += block.cycle.complete_cycles;
}

RecordingProblem ReadInBlocks(RecordingFile& file, const BlockUse& use, std::string* reason) {
  const std::vector<RecordingBlock> blocks = SplitIntoBlocks(file.frames(), file.layout().sampling_frequency);
  // Room for the largest block at once: growing into it would hold two blocks for a moment.
  size_t largest = 0;
  for (const RecordingBlock& block : blocks) {
    largest = std::max(largest, static_cast<size_t>(block.lead + block.count + block.trail));
  }
  std::vector<int16_t> samples;
  try {
    samples.reserve(largest);
  } catch (const std::bad_alloc&) {
    *reason = "is too large to hold in memory";
    return RecordingProblem::OutOfMemory;
  }
  for (const RecordingBlock& block : blocks) {
    RecordingProblem problem =
        file.Read(block.first - block.lead, block.lead + block.count + block.trail, &samples, reason);
    if (problem != RecordingProblem::None) return problem;
    if (!use(samples, block)) {
      *reason = "is too large to analyse in memory";
      return RecordingProblem::OutOfMemory;
    }
  }
  return RecordingProblem::None;
}

RecordingProblem AnalyzeInBlocks(RecordingFile& file, RecordingAnalysis* whole, std::string* reason,
                                 const BlockWork& work) {
  const int32_t rate = file.layout().sampling_frequency;
  bool first_block = true;
  return ReadInBlocks(
      file,
      [&](const std::vector<int16_t>& samples, const RecordingBlock& block) {
        RecordingAnalysis analysis;
        if (!AnalyzeRecording(samples.data() + block.lead, block.count, rate, &analysis)) return false;
        if (work) work(samples, block, analysis);
        if (first_block) {
          *whole = std::move(analysis);
          first_block = false;
        } else {
          AddBlockAnalysis(analysis, block.first, whole);
        }
        return true;
      },
      reason);
}

RecordingProblem CheckInBlocks(RecordingFile& file, const ExpectedCycle& expected, const CheckTolerances& tolerances,
                               CheckResult* result, std::string* reason) {
  bool first_block = true;
  RecordingAnalysis whole;
  return AnalyzeInBlocks(file, &whole, reason,
                         [&](const std::vector<int16_t>& samples, const RecordingBlock& block,
                             const RecordingAnalysis& analysis) {
                           CheckResult checked =
                               CompareWithExpected(expected, samples.data() + block.lead, analysis, tolerances);
                           if (first_block) {
                             *result = std::move(checked);
                             first_block = false;
                           } else {
                             AddBlockCheck(checked, result);
                           }
                         });
}
