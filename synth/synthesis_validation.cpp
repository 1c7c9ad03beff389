#include "synth/synthesis_validation.h"

namespace {

bool FitsInt32(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

bool ProductFits(int32_t a, int32_t b) { return FitsInt32(int64_t{a} * b); }

bool SampleCountFits(const ToneSetting& setting, int32_t fs, int32_t repeat) {
  const int64_t per_cycle = int64_t{setting.pattern_total} * fs;
  if (!FitsInt32(per_cycle)) return false;
  const int64_t product = per_cycle * repeat;
  return FitsInt32(product) && FitsInt32(product + 999);
}

bool ToneFits(const ToneEntry& tone, int32_t fs) {
  if (!ProductFits(fs, tone.start_time)) return false;
  if (tone.end_time >= 0 && !ProductFits(fs, tone.end_time)) return false;
  if (!ProductFits(tone.level, 32767)) return false;
  // The phase becomes a whole-sample offset: period x (phase % 360). With fs > 0 and a
  // frequency other than 0 the period itself is in range.
  return ProductFits(fs / tone.frequency, tone.phase % 360);
}

// The ring pattern fills a gain block only when its cycle, in whole samples, is positive
// and its running sum stays within 32 bits. The sum of the step times (pattern_total)
// must not have wrapped either.
SynthesisRefusal CheckPatternCycle(const ToneSetting& setting, int32_t fs) {
  int64_t cycle = 0;
  int64_t total_time = 0;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    if (!ProductFits(step->time, fs)) return SynthesisRefusal::Overflow;
    cycle += int64_t{step->time} * fs / 1000;
    total_time += step->time;
    if (!FitsInt32(cycle) || !FitsInt32(total_time)) return SynthesisRefusal::Overflow;
  }
  return cycle > 0 ? SynthesisRefusal::None : SynthesisRefusal::EmptyPatternCycle;
}

}  // namespace

SynthesisRefusal ValidateForSynthesis(const ToneSetting& setting, int32_t sampling_frequency,
                                      int32_t repeat) {
  const int32_t fs = sampling_frequency;
  if (fs <= 0) return SynthesisRefusal::SamplingFrequencyNotPositive;
  if (setting.pattern_total == 0) return SynthesisRefusal::PatternTotalZero;
  if (setting.tones == nullptr) return SynthesisRefusal::NoTones;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    if (tone->frequency == 0) return SynthesisRefusal::ZeroFrequency;
  }
  if (!SampleCountFits(setting, fs, repeat)) return SynthesisRefusal::Overflow;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    if (!ToneFits(*tone, fs)) return SynthesisRefusal::Overflow;
  }
  const SynthesisRefusal cycle = CheckPatternCycle(setting, fs);
  if (cycle != SynthesisRefusal::None) return cycle;
  const int64_t samples = (int64_t{setting.pattern_total} * fs * repeat + 999) / 1000;
  if (samples <= 0) return SynthesisRefusal::NoSamples;
  return SynthesisRefusal::None;
}

int32_t LargestRepeat(int64_t pattern_total_ms, int32_t sampling_frequency) {
  const int64_t per_cycle = pattern_total_ms * sampling_frequency;
  if (per_cycle <= 0) return 1;
  const int64_t most = (int64_t{INT32_MAX} - 999) / per_cycle;
  return most < 1 ? 1 : (most > INT32_MAX ? INT32_MAX : static_cast<int32_t>(most));
}

const char* DescribeRefusal(SynthesisRefusal reason) {
  switch (reason) {
    case SynthesisRefusal::None: return "The setting can be synthesised.";
    case SynthesisRefusal::SamplingFrequencyNotPositive:
      return "The sampling frequency must be greater than 0 Hz.";
    case SynthesisRefusal::PatternTotalZero: return "The pattern total is 0 ms.";
    case SynthesisRefusal::NoTones: return "The setting has no tones.";
    case SynthesisRefusal::ZeroFrequency: return "A tone has a frequency of 0 Hz.";
    case SynthesisRefusal::Overflow:
      return "The setting is too long or its values too large to synthesise.";
    case SynthesisRefusal::EmptyPatternCycle:
      return "The ring pattern's steps add up to no samples.";
    case SynthesisRefusal::NoSamples: return "The setting yields no samples.";
    case SynthesisRefusal::OutOfMemory: return "There is not enough memory for the samples.";
  }
  return "The setting cannot be synthesised.";
}
