// The tone setting: everything the user edits to describe a signal (sampling frequency,
// ring pattern, tones, repeat count, fade rate, filter switch), plus the ring-pattern gain
// that the synthesis engine asks it for.
#pragma once
#include <cstdint>
#include <string>

// Audio is processed in blocks of this many samples; FillEnvelope writes one block.
constexpr int32_t kSynthesisBlockSamples = 4096;

// What a ring-pattern step does with the mix. Stored and compared as a plain integer;
// other values (possible only from a file) act as a constant gain equal to the value.
enum StepKind : int32_t { Off = 0, On = 1, RampDown = 2, RampUp = 3 };

// Waveform of a tone. Other values (possible only from a file) are synthesised as a sine.
enum WaveType : int32_t { Sine = 0, Square = 1, Triangle = 2, Sawtooth = 3 };

// One step of the ring pattern. Member defaults are the defaults when read from a file;
// a step created by the edit dialog uses time 1000 instead.
struct PatternStep {
  PatternStep* next = nullptr;
  int32_t on_off = 1;   // a StepKind
  int32_t time = -1;    // ms
  int32_t is_fade = 0;  // 0/1: an On step fades in at its start and out at its end
};

// One tone. Member defaults are the defaults when read from a file and for a new tone.
struct ToneEntry {
  ToneEntry* next = nullptr;
  int32_t type = 0;         // a WaveType
  int32_t frequency = 1000; // Hz; 0 cannot be synthesised
  int32_t phase = 0;        // degrees; only phase % 360 is used
  int32_t start_time = 0;   // ms from the start of the tone loop
  int32_t end_time = -1;    // ms; negative: the tone never stops
  int32_t level = 100;      // percent of full scale
};

class ToneSetting {
 public:
  ToneSetting() = default;
  // Frees every node of both lists.
  ~ToneSetting();
  ToneSetting(const ToneSetting&) = delete;
  ToneSetting& operator=(const ToneSetting&) = delete;

  // Frees both lists and restores path, sampling_frequency, pattern_total, fade and
  // filter_on to their initial values; repeat and pattern_position keep theirs.
  void Clear();

  // Take ownership of a node allocated with new and append it at the tail (list order is
  // file order and display order). A node whose next link is set brings its chain along.
  // AppendStep also recomputes pattern_total. A null pointer is ignored.
  void AppendStep(PatternStep* step);
  void AppendTone(ToneEntry* tone);

  // pattern_total = sum of every step's time, wrapping in 32 bits like the stored field.
  void RecomputePatternTotal();

  // Writes kSynthesisBlockSamples ring-pattern gains into gains, advancing
  // pattern_position so the pattern runs on across blocks; returns kSynthesisBlockSamples.
  // A step list that yields no gain at all (lengths of 0 samples or summing to nothing)
  // fills the rest of the block with 0 instead of looping for ever.
  int FillEnvelope(double* gains);

  // Entry at a zero-based index (= its row in the list view); null when out of range.
  // The setting keeps ownership.
  PatternStep* StepAt(int32_t index) const;
  ToneEntry* ToneAt(int32_t index) const;
  int32_t StepCount() const;
  int32_t ToneCount() const;

  // Unlink and free the entry at index; DeleteStep recomputes pattern_total.
  // False when the index is out of range.
  bool DeleteStep(int32_t index);
  bool DeleteTone(int32_t index);

  // Exchange the contents (not the links) of two entries, as moving a row up or down
  // does; pattern_total stays the same. False when an index is out of range.
  bool SwapSteps(int32_t first, int32_t second);
  bool SwapTones(int32_t first, int32_t second);

  std::string path;  // UTF-8 path of the tone setting file last loaded or saved
  PatternStep* patterns = nullptr;  // owned
  ToneEntry* tones = nullptr;       // owned
  int32_t sampling_frequency = 8000;  // Hz
  int32_t pattern_total = 0;          // ms, derived: sum of the steps' time
  int32_t repeat = 1;                 // pattern cycles to synthesise
  int32_t pattern_position = 0;       // sample position inside the pattern cycle
  int32_t fade = 400;                 // 1/s: a fade lasts sampling_frequency / fade samples
  int32_t filter_on = 0;              // 0/1
};

// Display texts of the list rows, as wide strings for the window's W calls. The pointers
// are static literals and never null.
// "OFF", "ON", "100% -> 0%", "0% -> 100%" in both languages; "" for any other value.
const wchar_t* StepKindText(int32_t on_off);
// "Sine Wave"/"正弦波", "Square Wave"/"矩形波", "Triangle Wave"/"三角波",
// "Sawtooth Wave"/"ノコギリ波"; Japanese when language is 1, English for any other value;
// "" for a type outside 0..3.
const wchar_t* WaveTypeText(int32_t type, int32_t language);
