// Synthesis a run at a time: the very samples GenerateTone makes, low-pass filter included,
// made block by block as they are read. A writer can so put a long tone on disk without
// ever holding it whole, and a caller with a buffer of its own can have it filled in place.
#pragma once
#include <cstdint>
#include <memory>

#include "synth/low_pass_filter.h"
#include "synth/sample_source.h"
#include "synth/signal.h"
#include "synth/synthesis_validation.h"
#include "synth/tone_setting.h"

// One generator per tone of setting, in list order, set up at sampling_frequency; a slot
// is null where a tone cannot be set up. *count receives the number of tones. Returns null
// when there are no tones or the array cannot be allocated. The caller deletes every
// generator and then the array (delete[]).
CSignal** CreateToneSignals(const ToneSetting& setting, int32_t sampling_frequency,
                            int32_t* count);

class CToneStream : public CSampleSource {
 public:
  CToneStream();
  ~CToneStream() override;
  CToneStream(const CToneStream&) = delete;
  CToneStream& operator=(const CToneStream&) = delete;

  // Prepares count samples of setting at sampling_frequency, filtered when filter_on: sets
  // up the generators and the work blocks and starts the ring pattern from its beginning.
  // setting is not owned and must outlive the stream; its pattern_position advances as
  // samples are made. NoTones when the setting has none, OutOfMemory when the work blocks
  // cannot be allocated; nothing can be read after either.
  SynthesisRefusal Start(ToneSetting* setting, int32_t sampling_frequency, bool filter_on,
                         int32_t count);

  // Writes the next samples into samples, as many as fit in count and remain; returns how
  // many were written.
  int32_t Read(int16_t* samples, int32_t count);
  // Runs of up to kRunSamples samples, made into a buffer the stream owns.
  const int16_t* NextRun(int32_t* count) override;

  int32_t remaining() const;

  // Long enough for few and large writes, short enough to stay in the processor's cache.
  static constexpr int32_t kRunSamples = 16 * kSynthesisBlockSamples;

 private:
  // Synthesises the next engine block and puts its first samples (all but at the tone's
  // end) into out, filtered.
  void MakeBlock(int16_t* out, int32_t samples);
  void Release();

  ToneSetting* setting_ = nullptr;  // not owned
  CSignal** signals_ = nullptr;     // owned, with every generator in it
  int32_t signal_count_ = 0;
  std::unique_ptr<int32_t[]> mix_;
  std::unique_ptr<int32_t[]> tone_;
  std::unique_ptr<double[]> gain_;
  std::unique_ptr<CLowPassFilter> filter_;  // null when the filter is off
  int32_t total_ = 0;  // samples to make
  int32_t made_ = 0;   // samples made so far, handed out or pending
  // The part of the last block that did not fit the caller's buffer.
  std::unique_ptr<int16_t[]> pending_;
  int32_t pending_next_ = 0;
  int32_t pending_count_ = 0;
  std::unique_ptr<int16_t[]> run_;  // NextRun's buffer, allocated at its first call
};
