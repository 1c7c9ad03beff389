#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "synth/sawtooth_wave.h"
#include "synth/signal.h"
#include "synth/sine_wave.h"
#include "synth/square_wave.h"
#include "synth/triangle_wave.h"

namespace {

std::unique_ptr<CSignal> MakeWave(int32_t type) {
  switch (type) {
    case 1: return std::make_unique<CSquareWave>();
    case 2: return std::make_unique<CTriangleWave>();
    case 3: return std::make_unique<CSawtoothWave>();
    default: return std::make_unique<CSineWave>();
  }
}

struct WaveArgs {
  int32_t fs = 8000, start = 0, end = -1, frequency = 1000, phase = 0, level = 100;
  int32_t loop = -1;
};

// Renders with and without the value table and expects both to agree.
std::vector<int32_t> Render(int32_t type, const WaveArgs& a, int32_t count) {
  std::vector<int32_t> results[2];
  for (int with_table = 0; with_table < 2; ++with_table) {
    std::unique_ptr<CSignal> wave = MakeWave(type);
    EXPECT_EQ(wave->Init(a.fs, a.start, a.end, a.frequency, a.phase, a.level), 1);
    wave->SetLoopLength(a.loop);
    if (with_table == 1) wave->BuildCycleTable(1 << 20);
    results[with_table].assign(count, 12345);
    EXPECT_EQ(wave->Generate(results[with_table].data(), count), count);
  }
  EXPECT_EQ(results[0], results[1]);
  return results[1];
}

TEST(WaveformTest, FirstEightSamplesOfEachKindAt1000HzAnd8000Hz) {
  const std::vector<int32_t> expected[4] = {
      {0, 23169, 32767, 23169, 0, -23169, -32767, -23169},
      {32767, 32767, 32767, 32767, -32767, -32767, -32767, -32767},
      {-32767, -16384, 0, 16383, 32767, 16384, 0, -16383},
      {-32767, -24576, -16384, -8192, 0, 8191, 16383, 24575},
  };
  for (int32_t type = 0; type < 4; ++type) {
    const std::vector<int32_t> samples = Render(type, WaveArgs(), 16);
    for (int32_t i = 0; i < 16; ++i) {
      EXPECT_EQ(samples[i], expected[type][i % 8]) << "type " << type << " sample " << i;
    }
  }
}

TEST(WaveformTest, InitSetsTheFieldsOfEachKind) {
  CSineWave sine;
  ASSERT_EQ(sine.Init(8000, 100, 200, 1000, 450, 50), 1);
  EXPECT_EQ(sine.sample_rate, 8000);
  EXPECT_EQ(sine.start_sample, 800);
  EXPECT_EQ(sine.end_sample, 1600);
  EXPECT_EQ(sine.phase, 90);
  EXPECT_EQ(sine.amplitude, 16383);
  EXPECT_EQ(sine.max_value, 16383);
  EXPECT_EQ(sine.min_value, -16383);
  EXPECT_EQ(sine.period, 8);
  EXPECT_EQ(sine.phase_counter, 2);
  EXPECT_EQ(sine.loop_length, -1);
  EXPECT_DOUBLE_EQ(sine.phase_step, (6.283185307179586 / 8000) * 1000);
  EXPECT_EQ(sine.phase_offset, 0.0);

  CSquareWave square;
  ASSERT_EQ(square.Init(8000, 0, -1, 440, 0, 100), 1);
  EXPECT_EQ(square.period, 18);
  EXPECT_EQ(square.high_length, 9);
  EXPECT_EQ(square.low_length, 9);
  ASSERT_EQ(square.Init(8000, 0, -1, 1000, 0, 100), 1);

  CTriangleWave triangle;
  ASSERT_EQ(triangle.Init(8000, 0, -1, 3000, 0, 100), 1);  // period 2
  EXPECT_EQ(triangle.up_length, 1);
  EXPECT_EQ(triangle.down_length, 1);
  EXPECT_EQ(triangle.up_slope, 2.0);

  CSawtoothWave saw;
  ASSERT_EQ(saw.Init(8000, 0, -1, 1000, 0, 100), 1);
  EXPECT_EQ(saw.slope, 0.25);
}

TEST(WaveformTest, RefusesSamplingFrequencyZeroAndFrequencyZeroWithoutChanges) {
  for (int32_t type = 0; type < 4; ++type) {
    std::unique_ptr<CSignal> wave = MakeWave(type);
    EXPECT_EQ(wave->Init(0, 0, -1, 1000, 0, 100), 0);
    EXPECT_EQ(wave->Init(8000, 0, -1, 0, 0, 100), 0);
    EXPECT_EQ(wave->sample_rate, 8000);
    EXPECT_EQ(wave->frequency, 0);
    EXPECT_EQ(wave->amplitude, 32767);
    EXPECT_EQ(wave->period, 0);
  }
  CSignal base;
  int32_t sample = 5;
  EXPECT_EQ(base.Generate(&sample, 1), 0);
  EXPECT_EQ(sample, 5);
}

TEST(WaveformTest, PhaseNinetyAndFourHundredFiftyStartAtCounterTwo) {
  for (int32_t phase : {90, 450}) {
    WaveArgs args;
    args.phase = phase;
    const std::vector<int32_t> square = Render(1, args, 8);
    EXPECT_EQ(square, (std::vector<int32_t>{32767, 32767, -32767, -32767, -32767, -32767, 32767,
                                            32767}))
        << phase;
    const std::vector<int32_t> sine = Render(0, args, 3);
    EXPECT_EQ(sine, (std::vector<int32_t>{32767, 23169, 0})) << phase;
  }
}

TEST(WaveformTest, NegativePhaseCountsUpFromBelowZero) {
  WaveArgs args;
  args.phase = -90;  // counter starts at -2
  EXPECT_EQ(Render(1, args, 10), (std::vector<int32_t>{32767, 32767, 32767, 32767, 32767, 32767,
                                                        -32767, -32767, -32767, -32767}));
  // Below min_value before the cycle starts: trunc(-2 x 0.25 x 32767) - 32767.
  EXPECT_EQ(Render(2, args, 4), (std::vector<int32_t>{-65534, -49150, -32767, -16384}));
  EXPECT_EQ(Render(3, args, 4), (std::vector<int32_t>{-32767, -32767, -32767, -24576}));
  EXPECT_EQ(Render(0, args, 4), (std::vector<int32_t>{-32767, -23169, 0, 23169}));
}

TEST(WaveformTest, StartAndEndTimeGateInclusiveSamples) {
  for (int32_t type = 0; type < 4; ++type) {
    WaveArgs args;
    args.start = 100;
    args.end = 200;
    args.loop = 5000;
    args.frequency = 500;
    const std::vector<int32_t> samples = Render(type, args, 6000);
    std::unique_ptr<CSignal> free_running = MakeWave(type);
    ASSERT_EQ(free_running->Init(8000, 0, -1, 500, 0, 100), 1);
    std::vector<int32_t> ungated(6000);
    free_running->Generate(ungated.data(), 6000);
    int32_t sounding = 0;
    for (int32_t i = 0; i < 6000; ++i) {
      const int32_t position = i % 5000;
      const bool inside = position >= 800 && position <= 1600;
      EXPECT_EQ(samples[i], inside ? ungated[i] : 0) << "type " << type << " sample " << i;
      if (inside && i < 5000) ++sounding;
    }
    EXPECT_EQ(sounding, 801);
  }
}

TEST(WaveformTest, NegativeEndTimeNeverStops) {
  CSquareWave square;
  ASSERT_EQ(square.Init(8000, 0, -5, 1000, 0, 100), 1);
  EXPECT_EQ(square.end_sample, -1);
  square.SetLoopLength(-1);
  std::vector<int32_t> samples(20000);
  square.Generate(samples.data(), 20000);
  for (int32_t i = 0; i < 20000; ++i) ASSERT_NE(samples[i], 0) << i;
}

TEST(WaveformTest, LoopLengthOfMinusOneOrZeroHoldsThePositionAtZero) {
  for (int32_t loop : {-1, 0}) {
    WaveArgs late;
    late.start = 1;
    late.loop = loop;
    EXPECT_EQ(Render(1, late, 4096), std::vector<int32_t>(4096, 0)) << loop;
    WaveArgs at_zero;
    at_zero.loop = loop;
    EXPECT_EQ(Render(1, at_zero, 9)[8], 32767) << loop;
  }
}

TEST(WaveformTest, PeriodOfOneOrZeroHoldsAConstant) {
  // 5000 Hz at 8000 Hz gives a period of 1; 9000 Hz a period of 0.
  for (int32_t frequency : {5000, 9000}) {
    WaveArgs args;
    args.frequency = frequency;
    EXPECT_EQ(Render(1, args, 50), std::vector<int32_t>(50, -32767)) << frequency;
    EXPECT_EQ(Render(3, args, 50), std::vector<int32_t>(50, -32767)) << frequency;
    EXPECT_EQ(Render(2, args, 50), std::vector<int32_t>(50, 32767)) << frequency;
  }
}

TEST(WaveformTest, LevelZeroIsSilentAndLevelTwoHundredExceeds16Bits) {
  WaveArgs silent;
  silent.level = 0;
  for (int32_t type = 0; type < 4; ++type) {
    EXPECT_EQ(Render(type, silent, 64), std::vector<int32_t>(64, 0)) << type;
  }
  WaveArgs loud;
  loud.level = 200;
  EXPECT_EQ(Render(0, loud, 8),
            (std::vector<int32_t>{0, 46339, 65534, 46339, 0, -46339, -65534, -46339}));
  EXPECT_EQ(Render(1, loud, 8)[0], 65534);
  EXPECT_EQ(Render(2, loud, 8)[0], -65534);
  EXPECT_EQ(Render(3, loud, 8)[7], 49150);
}

TEST(WaveformTest, GenerationContinuesAcrossCalls) {
  WaveArgs args;
  args.frequency = 440;
  args.start = 10;
  args.end = 30;
  args.loop = 333;
  for (int32_t type = 0; type < 4; ++type) {
    const std::vector<int32_t> whole = Render(type, args, 1000);
    std::unique_ptr<CSignal> wave = MakeWave(type);
    ASSERT_EQ(wave->Init(8000, 10, 30, 440, 0, 100), 1);
    wave->SetLoopLength(args.loop);
    std::vector<int32_t> pieces(1000);
    int32_t at = 0;
    for (int32_t size : {1, 7, 80, 250, 662}) {
      EXPECT_EQ(wave->Generate(pieces.data() + at, size), size);
      at += size;
    }
    EXPECT_EQ(pieces, whole) << type;
  }
}

TEST(WaveformTest, ValueTableHoldsWholeCyclesWithinItsBudget) {
  CSquareWave square;
  ASSERT_EQ(square.Init(8000, 0, -1, 1000, 0, 100), 1);  // period 8
  EXPECT_EQ(square.BuildCycleTable(1 << 20), 4096);     // repeated to 4096 values
  EXPECT_EQ(square.BuildCycleTable(20), 16);
  EXPECT_EQ(square.BuildCycleTable(7), 0);
  CSineWave sine;
  ASSERT_EQ(sine.Init(96000, 0, -1, 1000, 0, 100), 1);  // cycle of sample_rate values
  EXPECT_EQ(sine.BuildCycleTable(1 << 20), 96000);
  EXPECT_EQ(sine.BuildCycleTable(95999), 0);
  CTriangleWave silent_cycle;
  ASSERT_EQ(silent_cycle.Init(8000, 0, -1, 9000, 0, 100), 1);  // period 0
  EXPECT_EQ(silent_cycle.BuildCycleTable(1 << 20), 0);
}

TEST(WaveformTest, ResetRestartsAtThePhase) {
  CTriangleWave triangle;
  ASSERT_EQ(triangle.Init(8000, 0, -1, 1000, 90, 100), 1);
  triangle.SetLoopLength(100);
  std::vector<int32_t> first(5), again(5);
  triangle.Generate(first.data(), 5);
  triangle.Reset();
  EXPECT_EQ(triangle.position, 0);
  EXPECT_EQ(triangle.phase_counter, 2);
  triangle.Generate(again.data(), 5);
  EXPECT_EQ(first, again);
}

}  // namespace
