#include "synth/tone_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "synth/saturating_conversion.h"
#include "synth/sawtooth_wave.h"
#include "synth/sine_wave.h"
#include "synth/square_wave.h"
#include "synth/triangle_wave.h"
#include "synth/wrapping_arithmetic.h"

namespace {

// Value tables of all tones together stay within this many values (64 MiB), so a
// setting with very many tones falls back to per-sample evaluation instead of
// exhausting memory.
constexpr int32_t kCycleTableBudget = 1 << 24;

CSignal* NewGenerator(int32_t type) {
  switch (type) {
    case Square: return new (std::nothrow) CSquareWave;
    case Triangle: return new (std::nothrow) CTriangleWave;
    case Sawtooth: return new (std::nothrow) CSawtoothWave;
    default: return new (std::nothrow) CSineWave;
  }
}

}  // namespace

CSignal** CreateToneSignals(const ToneSetting& setting, int32_t sampling_frequency,
                            int32_t* count) {
  *count = setting.ToneCount();
  if (*count == 0) return nullptr;
  CSignal** signals = new (std::nothrow) CSignal*[*count]();
  if (signals == nullptr) return nullptr;
  int32_t slot = 0;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next, ++slot) {
    CSignal* signal = NewGenerator(tone->type);
    if (signal == nullptr) continue;
    if (signal->Init(sampling_frequency, tone->start_time, tone->end_time, tone->frequency,
                     tone->phase, tone->level) == 1) {
      signals[slot] = signal;
    } else {
      delete signal;
    }
  }
  return signals;
}

CToneStream::CToneStream() = default;

CToneStream::~CToneStream() { Release(); }

void CToneStream::Release() {
  if (signals_ != nullptr) {
    for (int32_t i = 0; i < signal_count_; ++i) delete signals_[i];
    delete[] signals_;
  }
  signals_ = nullptr;
  signal_count_ = 0;
  total_ = 0;
  made_ = 0;
  pending_next_ = 0;
  pending_count_ = 0;
}

SynthesisRefusal CToneStream::Start(ToneSetting* setting, int32_t sampling_frequency,
                                    bool filter_on, int32_t count) {
  Release();
  setting_ = setting;
  signals_ = CreateToneSignals(*setting, sampling_frequency, &signal_count_);
  if (signals_ == nullptr) {
    signal_count_ = 0;
    return SynthesisRefusal::NoTones;
  }
  mix_.reset(new (std::nothrow) int32_t[kSynthesisBlockSamples]);
  tone_.reset(new (std::nothrow) int32_t[kSynthesisBlockSamples]);
  gain_.reset(new (std::nothrow) double[kSynthesisBlockSamples]);
  pending_.reset(new (std::nothrow) int16_t[kSynthesisBlockSamples]);
  filter_.reset(filter_on ? new (std::nothrow) CLowPassFilter(sampling_frequency) : nullptr);
  if (!mix_ || !tone_ || !gain_ || !pending_ || (filter_on && !filter_)) {
    Release();
    return SynthesisRefusal::OutOfMemory;
  }
  setting_->pattern_position = 0;
  // All tones repeat together with the period of the latest-ending one.
  int32_t loop_length = -1;
  for (int32_t i = 0; i < signal_count_; ++i) {
    if (signals_[i] != nullptr) loop_length = std::max(loop_length, signals_[i]->end_sample);
  }
  // A table longer than the samples to render would cost more than it saves.
  const int32_t total = std::max(count, 0);
  const int64_t rendered = (int64_t{total} + kSynthesisBlockSamples - 1) /
                           kSynthesisBlockSamples * kSynthesisBlockSamples;
  int32_t table_budget = kCycleTableBudget;
  for (int32_t i = 0; i < signal_count_; ++i) {
    if (signals_[i] == nullptr) continue;
    signals_[i]->SetLoopLength(loop_length);
    table_budget -= signals_[i]->BuildCycleTable(
        static_cast<int32_t>(std::min<int64_t>(table_budget, rendered)));
  }
  total_ = total;
  return SynthesisRefusal::None;
}

int32_t CToneStream::remaining() const { return total_ - made_ + pending_count_ - pending_next_; }

void CToneStream::MakeBlock(int16_t* out, int32_t samples) {
  int32_t* mix = mix_.get();
  // The first tone is rendered straight into the mix: a sum that starts at 0 needs no
  // zeroing and no addition for it.
  bool mixed = false;
  for (int32_t i = 0; i < signal_count_; ++i) {
    if (signals_[i] == nullptr) continue;
    if (!mixed) {
      signals_[i]->Generate(mix, kSynthesisBlockSamples);
      mixed = true;
      continue;
    }
    int32_t* tone = tone_.get();
    signals_[i]->Generate(tone, kSynthesisBlockSamples);
    for (int32_t k = 0; k < kSynthesisBlockSamples; ++k) mix[k] = WrappingAdd(mix[k], tone[k]);
  }
  if (!mixed) std::memset(mix, 0, sizeof(int32_t) * kSynthesisBlockSamples);
  const double* gain = gain_.get();
  setting_->FillEnvelope(gain_.get());
  for (int32_t k = 0; k < samples; ++k) out[k] = TruncateToSample(mix[k] * gain[k]);
  if (filter_) filter_->Run(out, samples);
  made_ += samples;
}

int32_t CToneStream::Read(int16_t* samples, int32_t count) {
  if (samples == nullptr || count <= 0) return 0;
  int32_t done = 0;
  while (done < count) {
    if (pending_next_ < pending_count_) {
      const int32_t from_pending = std::min(count - done, pending_count_ - pending_next_);
      std::memcpy(samples + done, pending_.get() + pending_next_, sizeof(int16_t) * from_pending);
      pending_next_ += from_pending;
      done += from_pending;
      continue;
    }
    if (made_ >= total_) break;
    // Every block renders all its samples; only the tone's end cuts one short.
    const int32_t block = std::min(kSynthesisBlockSamples, total_ - made_);
    if (count - done >= block) {
      MakeBlock(samples + done, block);
      done += block;
    } else {
      MakeBlock(pending_.get(), block);
      pending_next_ = 0;
      pending_count_ = block;
    }
  }
  return done;
}

const int16_t* CToneStream::NextRun(int32_t* count) {
  *count = 0;
  if (remaining() <= 0) return nullptr;
  if (!run_) run_.reset(new (std::nothrow) int16_t[kRunSamples]);
  if (!run_) return nullptr;
  *count = Read(run_.get(), kRunSamples);
  return run_.get();
}
