// The tones in one segment of a recording: the strongest spectral peaks, each refined to
// a small fraction of a hertz, with its level.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/segments.h"

struct TonePeak {
  double frequency = 0.0;   // Hz
  double level_dbfs = 0.0;  // of a sine with the peak's amplitude; at the top of a ramp
};

struct SegmentTones {
  std::vector<TonePeak> tones;  // by rising frequency
  // The peaks hold most of the segment's power: a tone, not a click or noise.
  bool tonal = false;
  // Not tonal, but the energy around two or more peaks holds most of the segment's: tones
  // that take turns inside it (an information tone's three frequencies in one step).
  bool tones_take_turns = false;
};

// Peaks more than this far under the segment's strongest are not listed.
constexpr double kListedPeakRangeDb = 26.0;
// Nor more than this many peaks.
constexpr size_t kMostPeaksPerSegment = 8;
// The longest stretch of a segment that is measured, from its middle (a ramp: its top).
constexpr double kLongestMeasuredMs = 1000.0;

// Refined: each frequency searched to a small fraction of a hertz. Coarse: from the FFT
// alone (to a tenth of its resolution), enough to tell which tones a segment holds.
enum class Precision { Refined, Coarse };

// Measures the segment of samples (at rate Hz, with the recording's dc offset removed).
// A silent segment is measured like a steady one: what it holds is the background.
SegmentTones MeasureTones(const int16_t* samples, int32_t rate, double dc_offset, const Segment& segment,
                          Precision precision = Precision::Refined);
