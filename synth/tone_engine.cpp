#include "synth/tone_engine.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "debug/debug_output.h"
#include "synth/low_pass_filter.h"
#include "synth/tone_stream.h"
#include "synth/wrapping_arithmetic.h"

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
  return CreateToneSignals(*tone_setting, sampling_frequency, count);
}

int CToneEngine::GenerateTone() {
  const int32_t total = sample_buffer != nullptr ? sample_count : 0;
  CToneStream stream;
  const SynthesisRefusal started =
      stream.Start(tone_setting, sampling_frequency, filter_on != 0, total);
  int report = 0;
  if (started == SynthesisRefusal::None) {
    stream.Read(sample_buffer, total);
    report = 1;
  } else {
    if (started == SynthesisRefusal::OutOfMemory) {
      DebugPrint(L"CToneEngine::GenerateTone() error\n");
    }
    // Nothing was rendered; the buffer is filtered all the same, as a rendered one is.
    if (filter_on != 0) LowPassFilter(sample_buffer, total);
  }
  if (output_buffer != nullptr && total > 0) {
    std::memcpy(output_buffer, sample_buffer, sizeof(int16_t) * std::min(output_count, total));
  }
  return report;
}

void CToneEngine::LowPassFilter(int16_t* samples, int32_t count) {
  ApplyLowPassFilter(samples, count, sampling_frequency);
}
