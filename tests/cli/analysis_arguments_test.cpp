#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

namespace {

struct AnalysisLine {
  std::vector<std::string> arguments;
  CliCommand command;
  std::string recording;
  std::string setting;
  RecordingEncoding encoding;
  int32_t rate;
  bool json;
  CheckTolerances tolerances;
};

CheckTolerances Tolerances(double frequency, double cadence_percent, double cadence_ms, double level, bool absolute) {
  CheckTolerances tolerances;
  tolerances.frequency_percent = frequency;
  tolerances.cadence_percent = cadence_percent;
  tolerances.cadence_in_ms = cadence_ms > 0.0;
  tolerances.cadence_ms = cadence_ms;
  tolerances.level_db = level;
  tolerances.absolute_levels = absolute;
  return tolerances;
}

TEST(AnalysisArguments, AcceptsEveryDocumentedForm) {
  const CheckTolerances defaults;
  const AnalysisLine lines[] = {
      {{"analyze", "rec.wav"}, CliCommand::Analyze, "rec.wav", "", RecordingEncoding::Wave, 8000, false, defaults},
      {{"analyze", "--json", "rec.wav"}, CliCommand::Analyze, "rec.wav", "", RecordingEncoding::Wave, 8000, true,
       defaults},
      {{"analyze", "rec.ul", "--format", "mulaw", "--rate", "16000"}, CliCommand::Analyze, "rec.ul", "",
       RecordingEncoding::MuLaw, 16000, false, defaults},
      {{"analyze", "--rate", "44100", "--format", "alaw", "録音.al"}, CliCommand::Analyze, "録音.al", "",
       RecordingEncoding::ALaw, 44100, false, defaults},
      {{"check", "rec.wav", "a.ton"}, CliCommand::Check, "rec.wav", "a.ton", RecordingEncoding::Wave, 8000, false,
       defaults},
      {{"check", "rec.wav", "a.ton", "--tolerance-frequency", "2%", "--tolerance-cadence", "40ms",
        "--tolerance-level", "6dB", "--absolute-levels", "--json"},
       CliCommand::Check, "rec.wav", "a.ton", RecordingEncoding::Wave, 8000, true, Tolerances(2, 10, 40, 6, true)},
      {{"check", "--tolerance-cadence", "15", "--tolerance-frequency", "0.5", "rec.wav", "a.ton",
        "--tolerance-level", "1.5"},
       CliCommand::Check, "rec.wav", "a.ton", RecordingEncoding::Wave, 8000, false, Tolerances(0.5, 15, 0, 1.5, false)},
      {{"check", "r.ul", "a.ton", "--format", "mulaw", "--tolerance-cadence", "5%"}, CliCommand::Check, "r.ul",
       "a.ton", RecordingEncoding::MuLaw, 8000, false, Tolerances(1.5, 5, 0, 3, false)},
  };
  for (const AnalysisLine& line : lines) {
    CliRequest request;
    std::string error;
    ASSERT_TRUE(ParseCliArguments(line.arguments, &request, &error)) << error;
    EXPECT_EQ(request.command, line.command);
    EXPECT_EQ(request.analysis.recording_path, line.recording);
    EXPECT_EQ(request.setting_path, line.setting);
    EXPECT_EQ(request.analysis.encoding, line.encoding);
    EXPECT_EQ(request.analysis.raw_rate, line.rate);
    EXPECT_EQ(request.json, line.json);
    const CheckTolerances& got = request.analysis.tolerances;
    EXPECT_DOUBLE_EQ(got.frequency_percent, line.tolerances.frequency_percent);
    EXPECT_DOUBLE_EQ(got.cadence_percent, line.tolerances.cadence_percent);
    EXPECT_EQ(got.cadence_in_ms, line.tolerances.cadence_in_ms);
    EXPECT_DOUBLE_EQ(got.cadence_ms, line.tolerances.cadence_ms);
    EXPECT_DOUBLE_EQ(got.level_db, line.tolerances.level_db);
    EXPECT_EQ(got.absolute_levels, line.tolerances.absolute_levels);
  }
}

TEST(AnalysisArguments, RefusesBadLinesWithOneLineReason) {
  const std::vector<std::vector<std::string>> lines = {
      {"analyze"},
      {"analyze", "a.wav", "b.wav"},
      {"analyze", "a.wav", "--rate", "8000"},
      {"analyze", "a.ul", "--format", "mulaw", "--rate", "500"},
      {"analyze", "a.ul", "--format", "mulaw", "--rate", "8k"},
      {"analyze", "a.wav", "--format", "mp3"},
      {"analyze", "a.wav", "--format"},
      {"analyze", "a.wav", "--tolerance-level", "3"},
      {"analyze", "a.wav", "--absolute-levels"},
      {"analyze", "a.wav", "-o", "out.ton"},
      {"check", "a.wav"},
      {"check", "a.wav", "a.ton", "b.ton"},
      {"check", "a.wav", "a.ton", "--tolerance-frequency", "0"},
      {"check", "a.wav", "a.ton", "--tolerance-frequency", "-1"},
      {"check", "a.wav", "a.ton", "--tolerance-frequency", "60"},
      {"check", "a.wav", "a.ton", "--tolerance-frequency", "abc"},
      {"check", "a.wav", "a.ton", "--tolerance-cadence", "2s"},
      {"check", "a.wav", "a.ton", "--tolerance-cadence", "ms"},
      {"check", "a.wav", "a.ton", "--tolerance-level", "nan"},
      {"check", "a.wav", "a.ton", "--tolerance-level"},
  };
  for (const auto& line : lines) {
    CliRequest request;
    std::string error;
    EXPECT_FALSE(ParseCliArguments(line, &request, &error)) << testing::PrintToString(line);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

}  // namespace
