#include "synth/tone_engine.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "debug/debug_output.h"
#include "synth/low_pass_filter.h"
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

// Owns the generator array for one run.
class SignalSet {
 public:
  SignalSet(CSignal** signals, int32_t count) : signals_(signals), count_(count) {}
  ~SignalSet() {
    if (signals_ == nullptr) return;
    for (int32_t i = 0; i < count_; ++i) delete signals_[i];
    delete[] signals_;
  }
  SignalSet(const SignalSet&) = delete;
  SignalSet& operator=(const SignalSet&) = delete;
  CSignal** begin() const { return signals_; }
  CSignal** end() const { return signals_ + count_; }

 private:
  CSignal** signals_;
  int32_t count_;
};

}  // namespace

int32_t ComputeSampleCount(int32_t pattern_total, int32_t sampling_frequency, int32_t repeat) {
  const int32_t product =
      WrappingMultiply(WrappingMultiply(pattern_total, sampling_frequency), repeat);
  return WrappingAdd(product, 999) / 1000;
}

CToneEngine::CToneEngine(ToneSetting* setting) : tone_setting(setting) {}

CToneEngine::~CToneEngine() { FreeBuffers(); }

bool CToneEngine::AllocateBuffers(int32_t samples, int32_t outputs) {
  FreeBuffers();
  if (samples < 0 || outputs < 0) return false;
  sample_buffer = new (std::nothrow) int16_t[samples]();
  output_buffer = outputs > 0 ? new (std::nothrow) int16_t[outputs]() : nullptr;
  if (sample_buffer == nullptr || (outputs > 0 && output_buffer == nullptr)) {
    FreeBuffers();
    return false;
  }
  sample_count = samples;
  output_count = outputs;
  return true;
}

void CToneEngine::FreeBuffers() {
  delete[] sample_buffer;
  delete[] output_buffer;
  sample_buffer = nullptr;
  output_buffer = nullptr;
  sample_count = 0;
  output_count = 0;
}

CSignal** CToneEngine::CreateSignals(int32_t* count) {
  *count = tone_setting->ToneCount();
  if (*count == 0) return nullptr;
  CSignal** signals = new (std::nothrow) CSignal*[*count]();
  if (signals == nullptr) return nullptr;
  int32_t slot = 0;
  for (const ToneEntry* tone = tone_setting->tones; tone != nullptr; tone = tone->next, ++slot) {
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

int CToneEngine::GenerateTone() {
  const int32_t total = sample_buffer != nullptr ? sample_count : 0;
  int report = 0;
  int32_t signal_count = 0;
  CSignal** signals = CreateSignals(&signal_count);
  if (signals != nullptr) {
    SignalSet owned(signals, signal_count);
    std::unique_ptr<int32_t[]> mix(new (std::nothrow) int32_t[kSynthesisBlockSamples]);
    std::unique_ptr<int32_t[]> tone(new (std::nothrow) int32_t[kSynthesisBlockSamples]);
    std::unique_ptr<double[]> gain(new (std::nothrow) double[kSynthesisBlockSamples]);
    if (mix && tone && gain) {
      tone_setting->pattern_position = 0;
      // All tones repeat together with the period of the latest-ending one.
      int32_t loop_length = -1;
      for (CSignal* signal : owned) {
        if (signal != nullptr) loop_length = std::max(loop_length, signal->end_sample);
      }
      // A table longer than the samples to render would cost more than it saves.
      const int64_t rendered =
          (int64_t{total} + kSynthesisBlockSamples - 1) / kSynthesisBlockSamples *
          kSynthesisBlockSamples;
      int32_t table_budget = kCycleTableBudget;
      for (CSignal* signal : owned) {
        if (signal == nullptr) continue;
        signal->SetLoopLength(loop_length);
        table_budget -= signal->BuildCycleTable(
            static_cast<int32_t>(std::min<int64_t>(table_budget, rendered)));
      }
      int32_t written = 0;
      while (written < total) {
        std::memset(mix.get(), 0, sizeof(int32_t) * kSynthesisBlockSamples);
        for (CSignal* signal : owned) {
          if (signal == nullptr) continue;
          signal->Generate(tone.get(), kSynthesisBlockSamples);
          for (int32_t k = 0; k < kSynthesisBlockSamples; ++k) {
            mix[k] = WrappingAdd(mix[k], tone[k]);
          }
        }
        tone_setting->FillEnvelope(gain.get());
        const int32_t block = std::min(kSynthesisBlockSamples, total - written);
        int16_t* out = sample_buffer + written;
        for (int32_t k = 0; k < block; ++k) out[k] = TruncateToSample(mix[k] * gain[k]);
        written += block;
      }
      report = 1;
    } else {
      DebugPrint(L"CToneEngine::GenerateTone() error\n");
    }
  }
  if (filter_on != 0) LowPassFilter(sample_buffer, total);
  if (output_buffer != nullptr && total > 0) {
    std::memcpy(output_buffer, sample_buffer, sizeof(int16_t) * std::min(output_count, total));
  }
  return report;
}

void CToneEngine::LowPassFilter(int16_t* samples, int32_t count) {
  ApplyLowPassFilter(samples, count, sampling_frequency);
}
