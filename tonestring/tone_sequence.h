// A tone as telephone switches write it: a list of parts, each some frequencies summed (or
// silence) for a number of milliseconds or for ever, played once or repeated. The parser
// fills it from a tone string, the formatter writes it back, the builder turns it into a
// tone setting and the reader recovers it from one.
#pragma once
#include <cstdint>
#include <vector>

// A part's duration when it lasts for ever (written without "/DURATION").
constexpr int32_t kLastsForEver = -1;
// A level that leaves the choice to the builder's options.
constexpr double kLevelFromOptions = -1.0;

// Limits that keep a tone string and the setting made from it small enough to render
// quickly; longer strings are refused with a reason.
constexpr int32_t kMaxToneParts = 256;
constexpr int32_t kMaxPartFrequencies = 8;
constexpr int32_t kMaxSettingTones = 64;

// Amplitude modulation F1*F2 without a depth of its own: 90%, side tones 6.9 dB under the
// carrier.
constexpr int32_t kDefaultModulationDepthPercent = 90;

// One frequency of a part. The builder and the formatter round frequency_hz to whole hertz
// (the setting holds integer hertz), and the level to a whole percent.
struct PartTone {
  double frequency_hz = 0.0;
  double level_percent = kLevelFromOptions;  // peak as % of full scale; negative: the options'
  // Added to level_percent (or to the options' level) in dB: the side tones of amplitude
  // modulation sit this far under their carrier.
  double level_offset_db = 0.0;
};

struct TonePart {
  std::vector<PartTone> tones;          // summed; empty is silence, written "0"
  int32_t duration_ms = kLastsForEver;  // above 0, or kLastsForEver
  bool plays_once = false;              // written with a leading "!": not repeated
  // Written with a trailing "~": the part's tones may sound on the next part's first sample,
  // one sample past the boundary, where a tone's inclusive end time puts them (333 ms parts
  // of an information tone, whose sines are not 0 there).
  bool sounds_into_next = false;
};

struct ToneSequence {
  std::vector<TonePart> parts;
};
