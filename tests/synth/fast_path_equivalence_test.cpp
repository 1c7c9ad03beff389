// The generators copy precomputed cycles and skip through runs; these tests hold them to
// a plain per-sample evaluation of the same formulas, bit for bit.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "synth/sawtooth_wave.h"
#include "synth/sine_wave.h"
#include "synth/square_wave.h"
#include "synth/synthesize_tone.h"
#include "synth/triangle_wave.h"
#include "tests/synth/reference_synthesis.h"

namespace {

std::unique_ptr<CSignal> MakeWave(int32_t type) {
  switch (type) {
    case 1: return std::make_unique<CSquareWave>();
    case 2: return std::make_unique<CTriangleWave>();
    case 3: return std::make_unique<CSawtoothWave>();
    default: return std::make_unique<CSineWave>();
  }
}

class Picker {
 public:
  explicit Picker(uint32_t seed) : random_(seed) {}
  int32_t Between(int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random_);
  }
  template <typename T>
  T OneOf(std::initializer_list<T> values) {
    return *(values.begin() + Between(0, static_cast<int32_t>(values.size()) - 1));
  }

 private:
  std::mt19937 random_;
};

TEST(FastPathEquivalenceTest, GeneratorsMatchPerSampleFormulas) {
  Picker pick(1234567);
  for (int trial = 0; trial < 600; ++trial) {
    const int32_t type = pick.Between(0, 3);
    const int32_t fs = pick.OneOf<int32_t>({8000, 16000, 44100, 96000, 11025, 7, 3000000});
    const int32_t frequency =
        pick.OneOf<int32_t>({1, 50, 440, 1000, 1209, 3999, 4000, 5000, 9000, 48000, -300,
                             pick.Between(-20000, 20000) | 1});
    const int32_t phase = pick.OneOf<int32_t>({0, 90, -90, 450, -720, 359, -359,
                                               pick.Between(-1000, 1000)});
    const int32_t level = pick.OneOf<int32_t>({0, 100, 200, 50, -100, pick.Between(-300, 300)});
    const int32_t start = pick.OneOf<int32_t>({0, 0, 10, 100, -5, pick.Between(0, 300)});
    const int32_t end = pick.OneOf<int32_t>({-1, -5, 0, 200, pick.Between(0, 400)});
    const int32_t loop = pick.OneOf<int32_t>({-1, 0, 1, 2, 7, 1601, pick.Between(0, 40000)});

    std::unique_ptr<CSignal> fast = MakeWave(type);
    reference::Generator slow;
    const int fast_ready = fast->Init(fs, start, end, frequency, phase, level);
    ASSERT_EQ(fast_ready, slow.Init(type, fs, start, end, frequency, phase, level));
    if (fast_ready == 0) continue;
    fast->SetLoopLength(loop);
    // Most trials copy from a value table, some of whose budgets fall short of a cycle.
    if (pick.Between(0, 3) != 0) {
      fast->BuildCycleTable(pick.OneOf<int32_t>({1 << 24, 1, 8, 4096, 100000}));
    }
    slow.loop_length = loop;
    int32_t total = 0;
    while (total < 20000) {
      const int32_t count = pick.OneOf<int32_t>({1, 3, 4096, pick.Between(1, 9000)});
      std::vector<int32_t> got(count), want(count);
      ASSERT_EQ(fast->Generate(got.data(), count), count);
      slow.Generate(want.data(), count);
      ASSERT_EQ(got, want) << "trial " << trial << " type " << type << " fs " << fs
                           << " frequency " << frequency << " phase " << phase << " level "
                           << level << " start " << start << " end " << end << " loop "
                           << loop << " at " << total;
      total += count;
    }
    EXPECT_EQ(fast->position, slow.position);
    EXPECT_EQ(fast->phase_counter, slow.phase_counter);
  }
}

TEST(FastPathEquivalenceTest, SynthesisMatchesPerSampleEngine) {
  Picker pick(7654321);
  for (int trial = 0; trial < 60; ++trial) {
    const int32_t fs = pick.OneOf<int32_t>({8000, 16000, 32000, 44100, 48000, 96000});
    ToneSetting setting;
    std::vector<reference::Step> steps;
    const int32_t step_count = pick.Between(1, 5);
    for (int32_t i = 0; i < step_count; ++i) {
      const reference::Step step{pick.Between(0, 3), pick.Between(1, 150), pick.Between(0, 1)};
      steps.push_back(step);
      PatternStep* node = new PatternStep;
      node->on_off = step.on_off;
      node->time = step.time;
      node->is_fade = step.is_fade;
      setting.AppendStep(node);
    }
    std::vector<reference::Tone> tones;
    const int32_t tone_count = pick.Between(1, 8);
    for (int32_t i = 0; i < tone_count; ++i) {
      const reference::Tone tone{pick.Between(0, 4),
                                 pick.OneOf<int32_t>({pick.Between(20, 20000), 440, 1000}),
                                 pick.Between(-400, 400),
                                 pick.OneOf<int32_t>({0, pick.Between(0, 300)}),
                                 pick.OneOf<int32_t>({-1, pick.Between(0, 600)}),
                                 pick.OneOf<int32_t>({0, 100, 200, pick.Between(0, 200)})};
      tones.push_back(tone);
      ToneEntry* node = new ToneEntry;
      node->type = tone.type;
      node->frequency = tone.frequency;
      node->phase = tone.phase;
      node->start_time = tone.start_time;
      node->end_time = tone.end_time;
      node->level = tone.level;
      setting.AppendTone(node);
    }
    setting.fade = pick.OneOf<int32_t>({400, 0, 100, 1000, -1});
    const int32_t repeat = pick.Between(1, 3);
    const bool filter = pick.Between(0, 1) == 1;
    std::vector<int16_t> got;
    ASSERT_EQ(SynthesizeTone(setting, fs, repeat, filter, &got), SynthesisRefusal::None);
    const std::vector<int16_t> want =
        reference::Synthesize(steps, tones, fs, setting.fade, repeat, filter);
    ASSERT_EQ(got, want) << "trial " << trial;
  }
}

}  // namespace
