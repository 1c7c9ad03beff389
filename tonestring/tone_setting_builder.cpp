#include "tonestring/tone_setting_builder.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "synth/sampling_frequencies.h"
#include "synth/synthesis_validation.h"
#include "tonestring/tone_gating.h"
#include "tonestring/tone_normal_form.h"
#include "tonestring/tone_rounding.h"
#include "tonestring/tone_string_formatter.h"

namespace {

// A frequency at a level, in whole hertz and percent: one tone of the setting per stretch.
struct Sound {
  int32_t frequency;
  int32_t level;
  bool operator==(const Sound& other) const { return frequency == other.frequency && level == other.level; }
  bool operator<(const Sound& other) const {
    return frequency != other.frequency ? frequency < other.frequency : level < other.level;
  }
};

// One stretch of the cycle during which a tone of one frequency and level is gated on.
struct Stretch {
  Sound sound;
  int64_t start_ms;
  int64_t end_ms;  // -1: never stops
};

std::string Percent(int64_t value) { return std::to_string(value) + "%"; }

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

class SettingBuilder {
 public:
  SettingBuilder(const ToneSequence& sequence, const ToneStringOptions& options)
      : normal_(NormalForm(sequence)), parts_(normal_.parts), options_(options), rate_(options.sampling_frequency) {}

  bool Build(ToneSetting* setting, std::string* why_not) {
    why_not_ = why_not;
    if (!CheckOptions() || !CheckShape() || !ReadParts() || !ResolveLevels() || !CheckLength() ||
        !LayOutTones() || !CheckMarks()) {
      return false;
    }
    return Fill(setting);
  }

 private:
  bool Refuse(const std::string& reason) {
    *why_not_ = reason;
    return false;
  }

  bool RefusePart(size_t index, const std::string& reason) {
    return Refuse("part " + std::to_string(index + 1) + " (" + FormatTonePart(parts_[index]) + "): " +
                  reason);
  }

  bool Sounds(size_t index) const { return !sounds_[index].empty(); }

  bool Contains(size_t index, const Sound& sound) const {
    const std::vector<Sound>& sounds = sounds_[index];
    return std::find(sounds.begin(), sounds.end(), sound) != sounds.end();
  }

  bool CheckOptions() {
    if (!IsOfferedSamplingFrequency(rate_)) {
      return Refuse("the sampling frequency " + std::to_string(rate_) + " Hz is not one of " +
                    OfferedSamplingFrequenciesText());
    }
    if (options_.repeat < 1 || options_.repeat > 100) {
      return Refuse("a repeat count of " + std::to_string(options_.repeat) + " is not between 1 and 100");
    }
    return true;
  }

  bool CheckShape() {
    if (parts_.empty()) return Refuse("the tone string has no parts");
    if (parts_.size() > static_cast<size_t>(kMaxToneParts)) {
      return Refuse("the tone string has more than " + std::to_string(kMaxToneParts) + " parts");
    }
    const size_t last = parts_.size() - 1;
    for (size_t i = 0; i < last; ++i) {
      if (parts_[i].duration_ms == kLastsForEver) {
        return RefusePart(i, "it lasts for ever, so the parts after it would never play");
      }
    }
    ends_for_ever_ = parts_[last].duration_ms == kLastsForEver;
    if (ends_for_ever_) {
      if (options_.hold_ms <= 0) {
        return Refuse("a hold of " + std::to_string(options_.hold_ms) + " ms is not above 0");
      }
      if (options_.repeat != 1) {
        return Refuse("the last part lasts for ever, so the tone plays once and a repeat count of " +
                      std::to_string(options_.repeat) + " cannot apply");
      }
      return true;
    }
    const size_t first_repeating = std::find_if(parts_.begin(), parts_.end(),
                                                [](const TonePart& part) { return !part.plays_once; }) -
                                   parts_.begin();
    // The normal form turned a silent (or empty) remainder after parts that play once into
    // silence for ever, so what repeats here sounds.
    if (first_repeating > 0) {
      return RefusePart(first_repeating, "it repeats after parts that play once, but a setting repeats "
                                         "its whole ring pattern");
    }
    for (size_t i = first_repeating; i < parts_.size(); ++i) {
      if (parts_[i].plays_once) return RefusePart(i, "it is marked to play once but follows parts that repeat");
    }
    return true;
  }

  bool ReadParts() {
    for (size_t i = 0; i < parts_.size(); ++i) {
      const TonePart& part = parts_[i];
      const bool held = part.duration_ms == kLastsForEver;
      const int64_t duration = held ? options_.hold_ms : part.duration_ms;
      if (duration <= 0) return RefusePart(i, "a duration of " + std::to_string(duration) + " ms");
      if (WholeSamples(duration, rate_) < 0) {
        return RefusePart(i, std::string(held ? "held for " : "") + std::to_string(duration) +
                                 " ms, which is not a whole number of samples at " +
                                 std::to_string(rate_) + " Hz");
      }
      duration_ms_.push_back(duration);
      if (part.tones.size() > static_cast<size_t>(kMaxPartFrequencies)) {
        return RefusePart(i, "more than " + std::to_string(kMaxPartFrequencies) + " frequencies");
      }
      std::vector<Sound> sounds;
      for (const PartTone& tone : part.tones) {
        int32_t frequency = 0;
        if (!RoundToInt32(tone.frequency_hz, &frequency) || frequency < 1) {
          return RefusePart(i, "a frequency must be 1 Hz or more");
        }
        if (int64_t{frequency} * 2 >= rate_) {
          return RefusePart(i, std::to_string(frequency) + " Hz is not below half the sampling frequency (" +
                                   std::to_string(rate_ / 2) + " Hz)");
        }
        for (const Sound& earlier : sounds) {
          if (earlier.frequency == frequency) return RefusePart(i, std::to_string(frequency) + " Hz appears twice");
        }
        sounds.push_back({frequency, 0});
      }
      sounds_.push_back(sounds);  // in the part's order until the levels are known
    }
    if (std::none_of(sounds_.begin(), sounds_.end(), [](const std::vector<Sound>& s) { return !s.empty(); })) {
      return Refuse("no part of the tone string sounds");
    }
    return true;
  }

  // Whole percent per tone, and no part's sum above full scale. A frequency may sound at
  // other levels in other parts; each level is a tone of its own.
  bool ResolveLevels() {
    const double fallback = options_.level_percent < 0.0 ? DefaultLevelPercent(normal_) : options_.level_percent;
    for (size_t i = 0; i < parts_.size(); ++i) {
      int64_t sum = 0;
      for (size_t t = 0; t < parts_[i].tones.size(); ++t) {
        const PartTone& tone = parts_[i].tones[t];
        const double asked = (tone.level_percent < 0.0 ? fallback : tone.level_percent) *
                             std::pow(10.0, tone.level_offset_db / 20.0);
        int32_t level = 0;
        if (!RoundToInt32(asked, &level) || level < 1) {
          return RefusePart(i, "a level of " + Number(asked) + "% does not round to a whole percent of 1 or more");
        }
        sounds_[i][t].level = level;
        sum += level;
      }
      if (sum > 100) return RefusePart(i, "its levels add up to " + Percent(sum) + ", more than full scale");
      std::sort(sounds_[i].begin(), sounds_[i].end());
      distinct_.insert(sounds_[i].begin(), sounds_[i].end());
    }
    return true;
  }

  bool CheckLength() {
    cycle_ms_ = 0;
    for (int64_t duration : duration_ms_) {
      start_ms_.push_back(cycle_ms_);
      cycle_ms_ += duration;
    }
    const int64_t cycles = ends_for_ever_ ? 1 : options_.repeat;
    const int64_t longest = (int64_t{INT32_MAX} - 999) / (int64_t{rate_} * cycles);
    if (cycle_ms_ > longest) {
      return Refuse("the tone lasts " + std::to_string(cycle_ms_) + " ms, but at " + std::to_string(rate_) +
                    " Hz and " + std::to_string(cycles) + (cycles == 1 ? " cycle" : " cycles") +
                    " a setting holds at most " + std::to_string(longest) + " ms");
    }
    return true;
  }

  bool LayOutTones() {
    const size_t last = parts_.size() - 1;
    if (ends_for_ever_ && Sounds(last)) {
      // Held by tones that never stop: with no tone ending, the tones do not loop, so each
      // must sound from the start and every sounding part must use the same frequencies.
      for (size_t i = 0; i < last; ++i) {
        if (Sounds(i) && sounds_[i] != sounds_[last]) {
          return RefusePart(i, "its frequencies or levels differ from those of the last part, which lasts for ever; "
                               "a tone that never stops must sound from the start");
        }
      }
      for (const Sound& sound : sounds_[last]) stretches_.push_back({sound, 0, -1});
      return true;
    }
    // A silent part that lasts for ever begins once every tone has ended.
    const size_t gated_parts = ends_for_ever_ ? last : parts_.size();
    for (const Sound& sound : distinct_) {
      if (!LayOutSound(sound, gated_parts)) return false;
    }
    if (stretches_.size() > static_cast<size_t>(kMaxSettingTones)) {
      return Refuse("the tone needs " + std::to_string(stretches_.size()) + " gated tones; at most " +
                    std::to_string(kMaxSettingTones) + " are supported");
    }
    return true;
  }

  // Gates one frequency at one level on from the first part that sounds it until a sounding
  // part does not, across silent parts (whose gain is 0 anyway). In a repeating cycle the
  // last stretch runs to the cycle's end, which makes the tones loop with the ring pattern.
  bool LayOutSound(const Sound& sound, size_t gated_parts) {
    bool open = false;
    Stretch stretch{sound, 0, 0};
    for (size_t i = 0; i < gated_parts; ++i) {
      if (!Sounds(i)) continue;
      if (Contains(i, sound)) {
        if (!open) stretch.start_ms = start_ms_[i];
        open = true;
        stretch.end_ms = start_ms_[i] + duration_ms_[i];
      } else if (open) {
        if (stretch.end_ms == start_ms_[i] && !StopsSilently(sound, i)) return false;
        stretches_.push_back(stretch);
        open = false;
      }
    }
    if (open) {
      if (!ends_for_ever_) stretch.end_ms = cycle_ms_;
      stretches_.push_back(stretch);
    }
    return true;
  }

  // The tone ends where sounding part `index` begins and so sounds on its first sample,
  // in every cycle; that is only exact where the sine is 0, and allowed elsewhere when the
  // part before is marked "~".
  bool StopsSilently(const Sound& sound, size_t index) {
    const int32_t frequency = sound.frequency;
    const bool allowed = parts_[index - 1].sounds_into_next;
    const int64_t cycles = ends_for_ever_ ? 1 : options_.repeat;
    for (int64_t cycle = 0; cycle < cycles; ++cycle) {
      const int64_t at_ms = cycle * cycle_ms_ + start_ms_[index];
      if (SineIsSilentAt(frequency, rate_, WholeSamples(at_ms, rate_))) continue;
      if (cycle == 0) spilled_level_[index] += sound.level;
      if (!allowed) {
        return RefusePart(index, std::to_string(frequency) + " Hz of the part before would sound on its first sample, at " +
                                     std::to_string(at_ms) + " ms (a tone sounds up to and including its end time), "
                                     "where it is not 0; mark the part before with '~' to allow that one sample");
      }
    }
    return true;
  }

  // A "~" where nothing sounds on would not read back: refused. Where tones do, the
  // first sample of the next part sums them too and must stay within full scale.
  bool CheckMarks() {
    for (size_t i = 0; i < parts_.size(); ++i) {
      if (!parts_[i].sounds_into_next) continue;
      const auto spilled = spilled_level_.find(i + 1);
      if (spilled == spilled_level_.end()) {
        return RefusePart(i, "it is marked '~', but none of its tones sounds on the next part's first sample");
      }
      int64_t sum = spilled->second;
      for (const Sound& sound : sounds_[i + 1]) sum += sound.level;
      if (sum > 100) {
        return RefusePart(i + 1, "its first sample sums the levels of the part before too, " + Percent(sum) +
                                     ", more than full scale");
      }
    }
    return true;
  }

  bool Fill(ToneSetting* setting) {
    ToneSetting built;
    built.sampling_frequency = rate_;
    built.repeat = ends_for_ever_ ? 1 : options_.repeat;
    for (size_t i = 0; i < parts_.size(); ++i) {
      PatternStep* step = new PatternStep;
      step->on_off = Sounds(i) ? On : Off;
      step->time = static_cast<int32_t>(duration_ms_[i]);
      step->is_fade = 0;
      built.AppendStep(step);
    }
    for (const Stretch& stretch : stretches_) {
      ToneEntry* tone = new ToneEntry;
      tone->type = Sine;
      tone->frequency = stretch.sound.frequency;
      tone->phase = 0;
      tone->start_time = static_cast<int32_t>(stretch.start_ms);
      tone->end_time = static_cast<int32_t>(stretch.end_ms);
      tone->level = stretch.sound.level;
      built.AppendTone(tone);
    }
    const SynthesisRefusal refusal = ValidateForSynthesis(built, rate_, built.repeat);
    if (refusal != SynthesisRefusal::None) return Refuse(DescribeRefusal(refusal));

    setting->Clear();
    std::swap(setting->patterns, built.patterns);
    std::swap(setting->tones, built.tones);
    setting->RecomputePatternTotal();
    setting->sampling_frequency = built.sampling_frequency;
    setting->repeat = built.repeat;
    return true;
  }

  const ToneSequence normal_;
  const std::vector<TonePart>& parts_;
  const ToneStringOptions& options_;
  const int32_t rate_;
  std::string* why_not_ = nullptr;
  bool ends_for_ever_ = false;
  std::vector<std::vector<Sound>> sounds_;   // per part, ascending once the levels are known
  std::vector<int64_t> duration_ms_;         // per part, with the hold for "for ever"
  std::vector<int64_t> start_ms_;            // per part, from the cycle's start
  int64_t cycle_ms_ = 0;
  std::set<Sound> distinct_;                 // every frequency and level, ascending
  std::vector<Stretch> stretches_;
  std::map<size_t, int64_t> spilled_level_;  // per part, the levels that sound on its first sample
};

}  // namespace

bool BuildToneSetting(const ToneSequence& sequence, const ToneStringOptions& options,
                      ToneSetting* setting, std::string* why_not) {
  return SettingBuilder(sequence, options).Build(setting, why_not);
}

int32_t DefaultLevelPercent(const ToneSequence& sequence) {
  size_t most = 1;
  for (const TonePart& part : sequence.parts) most = std::max(most, part.tones.size());
  return static_cast<int32_t>(99 / most);
}
