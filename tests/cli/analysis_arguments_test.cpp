#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

namespace {

// Everything analyze and check take from their line, in one text.
std::string Describe(const CliRequest& request) {
  const AnalysisRequest& analysis = request.analysis;
  const CheckTolerances& tolerances = analysis.tolerances;
  const char* encodings[] = {"wav", "mulaw", "alaw"};
  std::string text = request.command == CliCommand::Check ? "check " : "analyze ";
  text += analysis.recording_path + (request.setting_path.empty() ? "" : " " + request.setting_path);
  text += std::string(" ") + encodings[static_cast<int>(analysis.encoding)] + " " + std::to_string(analysis.raw_rate);
  text += request.json ? " json" : "";
  text += request.output_path.empty() ? "" : " -o " + request.output_path;
  text += " f" + testing::PrintToString(tolerances.frequency_percent);
  text += tolerances.cadence_in_ms ? " c" + testing::PrintToString(tolerances.cadence_ms) + "ms"
                                   : " c" + testing::PrintToString(tolerances.cadence_percent) + "%";
  text += " l" + testing::PrintToString(tolerances.level_db) + (tolerances.absolute_levels ? " absolute" : "");
  return text;
}

TEST(AnalysisArguments, AcceptsEveryDocumentedForm) {
  const std::pair<std::vector<std::string>, std::string> lines[] = {
      {{"analyze", "rec.wav"}, "analyze rec.wav wav 8000 f1.5 c10% l3"},
      {{"analyze", "--json", "rec.wav"}, "analyze rec.wav wav 8000 json f1.5 c10% l3"},
      {{"analyze", "rec.ul", "--format", "mulaw", "--rate", "16000"}, "analyze rec.ul mulaw 16000 f1.5 c10% l3"},
      {{"analyze", "--rate", "44100", "--format", "alaw", "録音.al"}, "analyze 録音.al alaw 44100 f1.5 c10% l3"},
      {{"analyze", "rec.wav", "-o", "heard.ton"}, "analyze rec.wav wav 8000 -o heard.ton f1.5 c10% l3"},
      {{"check", "rec.wav", "a.ton"}, "check rec.wav a.ton wav 8000 f1.5 c10% l3"},
      {{"check", "rec.wav", "a.ton", "--tolerance-frequency", "2%", "--tolerance-cadence", "40ms", "--tolerance-level",
        "6dB", "--absolute-levels", "--json"},
       "check rec.wav a.ton wav 8000 json f2 c40ms l6 absolute"},
      {{"check", "--tolerance-cadence", "15", "--tolerance-frequency", "0.5", "rec.wav", "a.ton", "--tolerance-level",
        "1.5"},
       "check rec.wav a.ton wav 8000 f0.5 c15% l1.5"},
      {{"check", "r.ul", "a.ton", "--format", "mulaw", "--tolerance-cadence", "5%"},
       "check r.ul a.ton mulaw 8000 f1.5 c5% l3"},
  };
  for (const auto& line : lines) {
    CliRequest request;
    std::string error;
    ASSERT_TRUE(ParseCliArguments(line.first, &request, &error)) << error;
    EXPECT_EQ(Describe(request), line.second);
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
      {"analyze", "a.wav", "-o"},
      {"analyze", "a.wav", "-o", ""},
      {"analyze", "a.wav", "--channel", "0"},
      {"check", "a.wav", "a.ton", "-o", "out.ton"},
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
