// Every seed of the recording fuzzer and every input it ever found troublesome, through
// the real reader, the analysis and the comparison in both builds: nothing may crash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "analysis/recording.h"
#include "analysis/tone_check.h"
#include "files/string.h"
#include "tests/common/setting_builder.h"
#include "tests/common/test_paths.h"

namespace {

TEST(RecordingCorpus, EveryInputReadsAnalysesAndChecksWithoutHarm) {
  const std::vector<std::string> files = sonaril_test::FuzzCorpusFiles("recording");
  ASSERT_FALSE(files.empty());

  ToneSetting setting;
  AddStep(setting, RampUp, 120);
  AddStep(setting, On, 200, 1);
  AddStep(setting, Off, 150);
  AddTone(setting, Sine, 425, 0, 0, -1, 30);
  AddTone(setting, Sine, 480, 0, 0, -1, 30);
  ExpectedCycle expected;
  ASSERT_EQ(BuildExpectedCycle(setting, &expected), SynthesisRefusal::None);

  size_t read = 0;
  for (const std::string& file : files) {
    CString path;
    path.Assign(file.c_str());
    for (RecordingEncoding encoding : {RecordingEncoding::Wave, RecordingEncoding::MuLaw}) {
      Recording recording;
      std::string reason;
      if (ReadRecording(path.GetWide(), encoding, 8000, 1, &recording, &reason) != RecordingProblem::None) {
        EXPECT_FALSE(reason.empty()) << file;
        continue;
      }
      ++read;
      RecordingAnalysis analysis;
      ASSERT_TRUE(AnalyzeRecording(recording.samples.data(), static_cast<int64_t>(recording.samples.size()),
                                   recording.sampling_frequency, &analysis))
          << file;
      // The segments tile the recording.
      int64_t covered = 0;
      for (const Segment& segment : analysis.segments) {
        EXPECT_EQ(segment.start, covered) << file;
        EXPECT_GT(segment.end, segment.start) << file;
        covered = segment.end;
      }
      EXPECT_EQ(covered, static_cast<int64_t>(recording.samples.size())) << file;
      CompareWithExpected(expected, recording.samples.data(), analysis, CheckTolerances());
    }
  }
  EXPECT_GT(read, 0u);
}

}  // namespace
