// Everything the analysis hears in a recording: its background, its segments, the cycle
// they repeat, and the tones of every step of that cycle.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/cycle.h"
#include "analysis/segments.h"
#include "analysis/tone_peaks.h"

struct HeardStep {
  SegmentKind kind = SegmentKind::Silent;
  double duration_ms = 0.0;
  bool duration_known = false;  // false: the recording cuts every occurrence
  size_t occurrences = 0;
  std::vector<TonePeak> tones;  // empty for silence
};

// A stretch of a long recording, analysed as a block of its own, that repeats another cycle
// than the one reported.
struct TimeSpan {
  double start_ms = 0.0;
  double end_ms = 0.0;
};

struct RecordingAnalysis {
  int32_t sampling_frequency = 0;
  int64_t sample_count = 0;
  double duration_ms = 0.0;
  double dc_offset = 0.0;
  bool has_silence = false;                // some segment is silent: the background was heard
  double background_dbfs = 0.0;           // the quiet stretches' level, when heard
  std::vector<TonePeak> background_tones;  // heard in the silences (hum): left out of the steps
  std::vector<Segment> segments;           // the whole recording, in time order
  Cycle cycle;
  std::vector<HeardStep> steps;            // the cycle's steps with their tones
  bool heard_tone = false;                 // some step holds a tone
  std::vector<TimeSpan> other_cycles;      // blocks of a long recording with another cycle
};

// Analyses count samples at rate Hz. False only when memory runs out.
bool AnalyzeRecording(const int16_t* samples, int64_t count, int32_t rate, RecordingAnalysis* analysis);

// Whether two lists of tones sound alike: the same frequencies (within 2 Hz or 0.5 %)
// among those within 20 dB of each list's loudest.
bool SoundAlike(const std::vector<TonePeak>& first, const std::vector<TonePeak>& second);

// The tones of one segment as the analysis reports them: the background left out.
std::vector<TonePeak> TonesHeardIn(const int16_t* samples, const RecordingAnalysis& analysis,
                                   const Segment& segment, Precision precision = Precision::Refined);
