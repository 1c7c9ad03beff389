// Synthesis read a piece at a time gives the very samples of synthesis in one piece.
#include "synth/tone_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "synth/synthesize_tone.h"
#include "tests/common/setting_builder.h"

namespace {

void BuildSetting(ToneSetting& setting) {
  AddStep(setting, RampUp, 130);
  AddStep(setting, On, 260, 1);
  AddStep(setting, Off, 110);
  AddTone(setting, Sine, 1209, 30, 0, -1, 60);
  AddTone(setting, Square, 697, -45, 100, 400, 40);
}

TEST(ToneStreamTest, PiecesOfAnySizeGiveTheWholeTone) {
  // Read sizes in turn, the last one repeated; 0 stands for the stream's own runs.
  const std::vector<std::vector<int32_t>> size_cases = {{1}, {3, 4095, 4097}, {8192, 100}, {0}};
  for (int32_t fs : {8000, 96000}) {
    ToneSetting whole_setting;
    BuildSetting(whole_setting);
    std::vector<int16_t> whole;
    ASSERT_EQ(SynthesizeTone(whole_setting, fs, 3, true, &whole), SynthesisRefusal::None);
    for (const std::vector<int32_t>& sizes : size_cases) {
      ToneSetting setting;
      BuildSetting(setting);
      CToneStream stream;
      ASSERT_EQ(StartToneStream(setting, fs, 3, true, &stream), SynthesisRefusal::None);
      std::vector<int16_t> pieces;
      for (size_t turn = 0; stream.remaining() > 0; ++turn) {
        const int32_t size = sizes[std::min(turn, sizes.size() - 1)];
        int32_t got = 0;
        if (size == 0) {
          const int16_t* run = stream.NextRun(&got);
          ASSERT_LE(got, CToneStream::kRunSamples);
          pieces.insert(pieces.end(), run, run + got);
          continue;
        }
        std::vector<int16_t> piece(static_cast<size_t>(size));
        got = stream.Read(piece.data(), size);
        ASSERT_EQ(got, std::min<int32_t>(size, static_cast<int32_t>(whole.size() - pieces.size())));
        pieces.insert(pieces.end(), piece.begin(), piece.begin() + got);
      }
      EXPECT_EQ(pieces, whole) << fs << " Hz, first size " << sizes[0];
      int32_t count = 1;
      EXPECT_EQ(stream.NextRun(&count), nullptr);
      EXPECT_EQ(count, 0);
    }
  }
}

}  // namespace
