// Long recordings in blocks: each block is read and analysed on its own, so that the memory
// does not grow with the recording, and the blocks' analyses and checks are folded into one.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/recording_file.h"
#include "analysis/tone_check.h"

// A recording is analysed whole while it lasts at most an hour and holds at most this many
// samples (11 min at 48000 Hz); a longer one in equal blocks within both.
constexpr int64_t kMostBlockFrames = int64_t{1} << 25;
constexpr int64_t kMostBlockSeconds = 3600;
// Blocks are read with this much of their neighbours on each side, so that what is heard
// across a boundary (a digit) is heard whole in the block where it starts.
constexpr int64_t kBlockMarginMs = 2000;

struct RecordingBlock {
  int64_t first = 0;  // frame of the recording where the block begins
  int64_t count = 0;
  // Frames of the neighbours before and after that the block's samples hold.
  int64_t lead = 0;
  int64_t trail = 0;
};

std::vector<RecordingBlock> SplitIntoBlocks(int64_t frames, int32_t rate);

// Reads file block by block (each with its margins) and hands each to use, which returns
// false when memory runs out.
using BlockUse = std::function<bool(const std::vector<int16_t>& samples, const RecordingBlock& block)>;
RecordingProblem ReadInBlocks(RecordingFile& file, const BlockUse& use, std::string* reason);

// What a command does with each block besides analysing it: samples hold the block with its
// margins, analysis is the block's own (its sample 0 is samples[block.lead]).
using BlockWork = std::function<void(const std::vector<int16_t>& samples, const RecordingBlock& block,
                                     const RecordingAnalysis& analysis)>;

// Analyses file block by block into *whole, handing each block to work when one is given.
RecordingProblem AnalyzeInBlocks(RecordingFile& file, RecordingAnalysis* whole, std::string* reason,
                                 const BlockWork& work = nullptr);

// Analyses file block by block and compares every block with expected: a step fails when it
// fails in any block, and shows the block that decides.
RecordingProblem CheckInBlocks(RecordingFile& file, const ExpectedCycle& expected, const CheckTolerances& tolerances,
                               CheckResult* result, std::string* reason);

// Folds the analysis of a block that begins at first_frame into the one of the blocks
// before it: its segments, and its occurrences when it repeats the cycle reported; a block
// that repeats another cycle is listed in other_cycles.
void AddBlockAnalysis(const RecordingAnalysis& block, int64_t first_frame, RecordingAnalysis* whole);
