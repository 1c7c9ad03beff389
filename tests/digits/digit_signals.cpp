#include "tests/digits/digit_signals.h"

#include <cstdio>

#include "synth/synthesize_tone.h"
#include "tests/analysis/degraded_line.h"
#include "tonestring/tone_setting_builder.h"

namespace sonaril_test {

std::vector<int16_t> RenderDigits(const std::string& digits, const DigitOptions& options, int32_t rate) {
  ToneSequence sequence;
  ToneSetting setting;
  ToneStringOptions build;
  build.sampling_frequency = rate;
  std::string why_not;
  std::vector<int16_t> samples;
  if (DigitsToToneSequence(digits, options, &sequence, &why_not) &&
      BuildToneSetting(sequence, build, &setting, &why_not) &&
      SynthesizeTone(setting, rate, 1, false, &samples) == SynthesisRefusal::None) {
    return samples;
  }
  std::fprintf(stderr, "cannot render \"%s\": %s\n", digits.c_str(), why_not.c_str());
  return {};
}

std::vector<int16_t> Silence(double ms, int32_t rate) {
  return std::vector<int16_t>(static_cast<size_t>(ms * rate / 1000.0 + 0.5), 0);
}

std::vector<int16_t> Joined(std::vector<int16_t> first, const std::vector<int16_t>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::vector<int16_t> ThroughTelephoneLine(const std::vector<int16_t>& samples, int32_t rate, double snr_db,
                                          uint32_t seed) {
  return ThroughG711(WithNoise(ThroughTelephoneBand(samples, rate), snr_db, seed), G711Law::MuLaw);
}

}  // namespace sonaril_test
