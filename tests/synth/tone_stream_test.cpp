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
  ToneSetting whole_setting;
  BuildSetting(whole_setting);
  std::vector<int16_t> whole;
  ASSERT_EQ(SynthesizeTone(whole_setting, 96000, 3, true, &whole), SynthesisRefusal::None);
  // Read sizes in turn, the last one repeated; 0 stands for the stream's own runs.
  for (const std::vector<int32_t>& sizes :
       std::vector<std::vector<int32_t>>{{1}, {3, 4095, 4097}, {8192, 100}, {0}}) {
    ToneSetting setting;
    BuildSetting(setting);
    CToneStream stream;
    ASSERT_EQ(StartToneStream(setting, 96000, 3, true, &stream), SynthesisRefusal::None);
    std::vector<int16_t> pieces;
    for (size_t turn = 0; stream.remaining() > 0; ++turn) {
      const int32_t size = sizes[std::min(turn, sizes.size() - 1)];
      std::vector<int16_t> piece(static_cast<size_t>(std::max(size, 1)));
      int32_t got = 0;
      const int16_t* run = size == 0 ? stream.NextRun(&got) : piece.data();
      if (size != 0) got = stream.Read(piece.data(), size);
      ASSERT_EQ(got, std::min(size == 0 ? CToneStream::kRunSamples : size,
                              static_cast<int32_t>(whole.size() - pieces.size())));
      pieces.insert(pieces.end(), run, run + got);
    }
    EXPECT_EQ(pieces, whole) << "first size " << sizes[0];
  }
}

}  // namespace
