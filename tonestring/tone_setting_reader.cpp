#include "tonestring/tone_setting_reader.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "synth/number_parsing.h"
#include "synth/sampling_frequencies.h"
#include "synth/synthesis_validation.h"
#include "tonestring/tone_gating.h"
#include "tonestring/tone_setting_builder.h"

namespace {

// A tone's gate as its generator computes it, in samples of the tone loop.
struct Gate {
  int index;  // 1-based, for messages
  const ToneEntry* tone;
  int64_t start_sample;
  int64_t end_sample;  // -1: no end
};

struct Step {
  int index;  // 1-based
  bool on;
  int32_t time_ms;
  int64_t first_sample;  // from the cycle's start
  int64_t samples;
};

// DescribeRefusal's sentence as a clause: "The setting has no tones." -> "the setting has no tones".
std::string AsClause(const char* sentence) {
  std::string clause(sentence);
  if (!clause.empty() && clause.back() == '.') clause.pop_back();
  if (!clause.empty() && clause[0] >= 'A' && clause[0] <= 'Z') clause[0] = static_cast<char>(clause[0] - 'A' + 'a');
  return clause;
}

const char* WaveName(int32_t type) {
  switch (type) {
    case Square: return "a square wave";
    case Triangle: return "a triangle wave";
    case Sawtooth: return "a sawtooth wave";
  }
  return nullptr;  // sine: other values are synthesised as one too
}

// Tones that all have the level the builder gives when no level is asked keep the short
// string without levels: importing it with the defaults gives the same setting back.
void LeaveDefaultLevelsUnwritten(ToneSequence* sequence) {
  const double default_level = DefaultLevelPercent(*sequence);
  for (const TonePart& part : sequence->parts) {
    for (const PartTone& tone : part.tones) {
      if (tone.level_percent != default_level) return;
    }
  }
  for (TonePart& part : sequence->parts) {
    for (PartTone& tone : part.tones) tone.level_percent = kLevelFromOptions;
  }
}

class SequenceReader {
 public:
  explicit SequenceReader(const ToneSetting& setting)
      : setting_(setting), rate_(setting.sampling_frequency), repeat_(ClampRepeat(setting.repeat)) {}

  bool Read(ToneSequence* sequence, std::string* why_not) {
    why_not_ = why_not;
    if (!CheckSetting() || !ReadSteps() || !ReadTones()) return false;
    ToneSequence read;
    for (const Step& step : steps_) {
      TonePart part;
      part.duration_ms = step.time_ms;
      read.parts.push_back(part);
    }
    for (int64_t cycle = 0; cycle < repeat_; ++cycle) {
      for (size_t i = 0; i < steps_.size(); ++i) {
        std::vector<const Gate*> sounding;
        bool spilled = false;
        if (!SoundingGates(cycle, steps_[i], &sounding, &spilled)) return false;
        if (spilled) {
          // One sample of the tones before: the part before is marked "~" in the first cycle,
          // and only such a part may spill in the cycles after it.
          if (cycle == 0) read.parts[i - 1].sounds_into_next = true;
          else if (!read.parts[i - 1].sounds_into_next) return Refuse(spill_why_not_);
        }
        std::vector<PartTone> tones;
        for (const Gate* gate : sounding) tones.push_back({double(gate->tone->frequency), double(gate->tone->level)});
        std::sort(tones.begin(), tones.end(),
                  [](const PartTone& a, const PartTone& b) { return a.frequency_hz < b.frequency_hz; });
        if (cycle == 0) {
          read.parts[i].tones = tones;
          if (i + 1 == steps_.size()) last_step_gates_ = sounding;
        } else if (!SameTones(read.parts[i].tones, tones)) {
          return Refuse("step " + std::to_string(steps_[i].index) + " sounds other tones in cycle " +
                        std::to_string(cycle + 1) + " than in the first: the tones do not repeat with the ring pattern");
        }
      }
    }
    if (std::all_of(read.parts.begin(), read.parts.end(), [](const TonePart& part) { return part.tones.empty(); })) {
      return Refuse("no tone sounds in any step");
    }
    if (repeat_ == 1 && LastStepLastsForEver(read.parts.back())) {
      read.parts.back().duration_ms = kLastsForEver;
      for (size_t i = 0; i + 1 < read.parts.size(); ++i) read.parts[i].plays_once = true;
    }
    LeaveDefaultLevelsUnwritten(&read);
    *sequence = std::move(read);
    return true;
  }

 private:
  bool Refuse(const std::string& reason) {
    *why_not_ = reason;
    return false;
  }

  bool CheckSetting() {
    if (!IsOfferedSamplingFrequency(rate_)) {
      return Refuse("the sampling frequency " + std::to_string(rate_) + " Hz is not one of " +
                    OfferedSamplingFrequenciesText());
    }
    const SynthesisRefusal refusal = ValidateForSynthesis(setting_, rate_, repeat_);
    if (refusal != SynthesisRefusal::None) return Refuse(AsClause(DescribeRefusal(refusal)));
    if (setting_.filter_on != 0) return Refuse("the low-pass filter is on, so the parts blur into each other");
    return true;
  }

  bool ReadSteps() {
    int64_t first_sample = 0;
    int index = 0;
    for (const PatternStep* step = setting_.patterns; step != nullptr; step = step->next) {
      ++index;
      if (index > kMaxToneParts) {
        return Refuse("the ring pattern has more than " + std::to_string(kMaxToneParts) + " steps");
      }
      const std::string name = "step " + std::to_string(index);
      if (step->on_off == RampDown || step->on_off == RampUp) return Refuse(name + " is a ramp");
      if (step->on_off != On && step->on_off != Off) {
        return Refuse(name + " has a gain of " + std::to_string(step->on_off));
      }
      if (step->on_off == On && step->is_fade != 0) return Refuse(name + " fades in and out");
      if (step->time <= 0) return Refuse(name + " lasts " + std::to_string(step->time) + " ms");
      const int64_t samples = WholeSamples(step->time, rate_);
      if (samples < 0) {
        return Refuse(name + " lasts " + std::to_string(step->time) + " ms, which is not a whole number of samples at " +
                      std::to_string(rate_) + " Hz");
      }
      steps_.push_back({index, step->on_off == On, step->time, first_sample, samples});
      first_sample += samples;
    }
    cycle_samples_ = first_sample;
    return true;
  }

  bool ReadTones() {
    int index = 0;
    loop_length_ = -1;
    for (const ToneEntry* tone = setting_.tones; tone != nullptr; tone = tone->next) {
      ++index;
      if (index > kMaxSettingTones) {
        return Refuse("the setting has more than " + std::to_string(kMaxSettingTones) + " tones");
      }
      // As the generator gates it; every tone, even a silent one, counts for the loop.
      Gate gate{index, tone, int64_t{rate_} * tone->start_time / 1000,
                tone->end_time < 0 ? -1 : int64_t{rate_} * tone->end_time / 1000};
      loop_length_ = std::max(loop_length_, gate.end_sample);
      if (tone->level == 0) continue;
      const std::string name = "tone " + std::to_string(index);
      if (const char* wave = WaveName(tone->type)) return Refuse(name + " is " + wave);
      if (tone->frequency < 1 || int64_t{tone->frequency} * 2 >= rate_) {
        return Refuse(name + ": " + std::to_string(tone->frequency) +
                      " Hz is not between 1 Hz and half the sampling frequency (" + std::to_string(rate_ / 2) + " Hz)");
      }
      gates_.push_back(gate);
    }
    return true;
  }

  // Sounding samples of a gate among render positions [0, end).
  int64_t SoundingBefore(const Gate& gate, int64_t end) const {
    if (loop_length_ <= 0) return SoundsAt(gate, 0) ? end : 0;
    const int64_t low = std::max<int64_t>(gate.start_sample, 0);
    const int64_t high = gate.end_sample < 0 ? loop_length_ - 1 : std::min(gate.end_sample, loop_length_ - 1);
    if (low > high) return 0;
    const int64_t length = high - low + 1;
    const int64_t into_loop = end % loop_length_ - low;
    return end / loop_length_ * length + std::clamp<int64_t>(into_loop, 0, length);
  }

  bool SoundsAt(const Gate& gate, int64_t render_position) const {
    const int64_t position = loop_length_ <= 0 ? 0 : render_position % loop_length_;
    return position >= gate.start_sample && (gate.end_sample < 0 || position <= gate.end_sample);
  }

  bool SoundingGates(int64_t cycle, const Step& step, std::vector<const Gate*>* sounding, bool* spilled) {
    if (!step.on) return true;
    const int64_t first = cycle * cycle_samples_ + step.first_sample;
    const int64_t end = first + step.samples;
    for (const Gate& gate : gates_) {
      const int64_t count = SoundingBefore(gate, end) - SoundingBefore(gate, first);
      if (count == 0 || SpillsSilently(gate, first, count)) continue;
      const std::string name = "tone " + std::to_string(gate.index) + " (" + std::to_string(gate.tone->frequency) + " Hz)";
      if (count != step.samples) {
        const std::string why_not = name + " sounds during only part of step " + std::to_string(step.index);
        // Only the one sample a tone sounding through an ON step before spills is allowed.
        if (!Spills(gate, first, count) || step.index < 2 || !steps_[step.index - 2].on) return Refuse(why_not);
        *spilled = true;
        spill_why_not_ = why_not;
        continue;
      }
      for (const Gate* other : *sounding) {
        if (other->tone->frequency == gate.tone->frequency) {
          return Refuse(name + " and tone " + std::to_string(other->index) + " both sound in step " +
                        std::to_string(step.index));
        }
      }
      sounding->push_back(&gate);
    }
    if (sounding->size() > static_cast<size_t>(kMaxPartFrequencies)) {
      return Refuse("step " + std::to_string(step.index) + " sounds more than " +
                    std::to_string(kMaxPartFrequencies) + " tones");
    }
    return true;
  }

  // A tone that ended on the step's first sample, having sounded through the step before.
  bool Spills(const Gate& gate, int64_t first, int64_t count) const {
    return count == 1 && first > 0 && SoundsAt(gate, first) && SoundsAt(gate, first - 1);
  }

  // One that is exactly 0 there.
  bool SpillsSilently(const Gate& gate, int64_t first, int64_t count) const {
    return count == 1 && SoundsAt(gate, first) && gate.tone->phase % 360 == 0 &&
           SineIsSilentAt(gate.tone->frequency, rate_, first);
  }

  bool LastStepLastsForEver(const TonePart& last) const {
    if (!last.tones.empty()) {
      return std::all_of(last_step_gates_.begin(), last_step_gates_.end(),
                         [](const Gate* gate) { return gate->tone->end_time < 0; });
    }
    const int64_t last_start_ms = setting_.pattern_total - steps_.back().time_ms;
    for (const ToneEntry* tone = setting_.tones; tone != nullptr; tone = tone->next) {
      if (tone->end_time < 0 || tone->end_time > last_start_ms) return false;
    }
    return true;
  }

  static bool SameTones(const std::vector<PartTone>& a, const std::vector<PartTone>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].frequency_hz != b[i].frequency_hz || a[i].level_percent != b[i].level_percent) return false;
    }
    return true;
  }

  const ToneSetting& setting_;
  const int32_t rate_;
  const int32_t repeat_;
  std::string* why_not_ = nullptr;
  std::vector<Step> steps_;
  std::vector<Gate> gates_;  // the tones that sound at all (level other than 0)
  int64_t cycle_samples_ = 0;
  int64_t loop_length_ = -1;
  std::vector<const Gate*> last_step_gates_;
  std::string spill_why_not_;
};

}  // namespace

bool ReadToneSequence(const ToneSetting& setting, ToneSequence* sequence, std::string* why_not) {
  return SequenceReader(setting).Read(sequence, why_not);
}
