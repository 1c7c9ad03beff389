// What a recording holds as a tone string, and the setting built from it rendering what was
// heard: examples and library entries rendered, analysed, written back as strings.
#include "analysis/heard_tone_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/expected_cycle.h"
#include "analysis/tone_check.h"
#include "files/string.h"
#include "files/tone_file.h"
#include "synth/synthesis_validation.h"
#include "synth/synthesize_tone.h"
#include "tests/common/test_paths.h"
#include "tonestring/tone_string_formatter.h"

namespace {

struct HeardCase {
  const char* setting;   // under the source tree
  int32_t repeat;        // cycles rendered
  const char* heard;     // the tone string, or "" when there is none
  const char* why_not;   // part of the reason when there is none
};

bool Load(const std::string& relative, ToneSetting* setting) {
  CString path;
  path.Assign(sonaril_test::TestDataPath("../../" + relative).c_str());
  return LoadToneSetting(*setting, path.GetWide());
}

TEST(HeardToneString, WrittenBackAsTheStringThatWasPlayed) {
  const std::vector<HeardCase> cases = {
      {"examples/ringback-uk.ton", 3, "400@-9+450@-9/400,0/200,400@-9+450@-9/400,0/2000", ""},
      {"examples/busy-north-america.ton", 4, "480@-9+620@-9/500,0/500", ""},
      {"tones/japan/recall.ton", 1, "!400@-10/200,!0/200,!400@-10/200,!0/200,!400@-10/200,!0/200,400@-10", ""},
      {"tones/united-states/dial.ton", 1, "350@-13+440@-13", ""},
      {"tones/norway/recall.ton", 3, "470@-10/400,425@-10/400", ""},
      {"examples/ramps-and-fades.ton", 2, "", "ramps"},
  };
  for (const HeardCase& test : cases) {
    ToneSetting setting;
    ASSERT_TRUE(Load(test.setting, &setting)) << test.setting;
    const int32_t rate = setting.sampling_frequency;
    std::vector<int16_t> samples;
    ASSERT_EQ(SynthesizeTone(setting, rate, test.repeat, setting.filter_on != 0, &samples), SynthesisRefusal::None);
    RecordingAnalysis analysis;
    ASSERT_TRUE(AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis));
    HeardTone heard;
    std::string why_not;
    bool described = DescribeHeardTone(analysis, &heard, &why_not);
    if (std::string(test.heard).empty()) {
      EXPECT_FALSE(described) << test.setting;
      EXPECT_NE(why_not.find(test.why_not), std::string::npos) << test.setting << ": " << why_not;
      continue;
    }
    ASSERT_TRUE(described) << test.setting << ": " << why_not;
    EXPECT_EQ(FormatToneString(heard.sequence), test.heard) << test.setting;

    // The setting built from what was heard renders what was heard.
    ToneSetting rebuilt;
    ASSERT_TRUE(BuildToneSetting(heard.sequence, heard.options, &rebuilt, &why_not)) << test.setting << ": " << why_not;
    ExpectedCycle expected;
    ASSERT_EQ(BuildExpectedCycle(rebuilt, &expected), SynthesisRefusal::None);
    EXPECT_TRUE(CompareWithExpected(expected, samples.data(), analysis, CheckTolerances()).pass) << test.setting;
  }
}

TEST(HeardToneString, SilenceIsNoToneString) {
  std::vector<int16_t> silence(8000, 0);
  RecordingAnalysis analysis;
  ASSERT_TRUE(AnalyzeRecording(silence.data(), 8000, 8000, &analysis));
  HeardTone heard;
  std::string why_not;
  EXPECT_FALSE(DescribeHeardTone(analysis, &heard, &why_not));
  EXPECT_EQ(why_not, "no tone was heard");
}

// However long the recording and whatever its rate, what it repeats can be written as a
// setting: the cycles are capped to what a setting counts, and at 44.1 kHz (where only
// multiples of 10 ms are whole samples) the setting takes 48 kHz.
TEST(HeardToneString, LongRecordingsAndOddRatesStillMakeASetting) {
  struct {
    int32_t rate;
    double on_ms, off_ms, recording_s;
    int32_t setting_rate, repeat;
  } const cases[] = {
      {48000, 500, 500, 50, 48000, 44},
      {8000, 500, 500, 300, 8000, 100},
      {8000, 1000, 2000, 900, 8000, 89},
      {44100, 333, 667, 10, 48000, 10},
  };
  for (const auto& test : cases) {
    RecordingAnalysis analysis;
    analysis.sampling_frequency = test.rate;
    analysis.duration_ms = test.recording_s * 1000.0;
    analysis.heard_tone = analysis.cycle.repeats = true;
    analysis.cycle.duration_ms = test.on_ms + test.off_ms;
    analysis.steps = {{SegmentKind::Steady, test.on_ms, false, 0, {TonePeak{425.0, -10.0}}},
                      {SegmentKind::Silent, test.off_ms}};
    HeardTone heard;
    std::string why_not;
    ASSERT_TRUE(DescribeHeardTone(analysis, &heard, &why_not)) << test.rate;
    EXPECT_EQ(heard.options.sampling_frequency, test.setting_rate) << test.rate;
    EXPECT_EQ(heard.options.repeat, test.repeat) << test.recording_s;
    ToneSetting setting;
    ASSERT_TRUE(BuildToneSetting(heard.sequence, heard.options, &setting, &why_not)) << why_not;
    EXPECT_EQ(ValidateForSynthesis(setting, setting.sampling_frequency, setting.repeat), SynthesisRefusal::None)
        << test.recording_s;
  }
}

}  // namespace
