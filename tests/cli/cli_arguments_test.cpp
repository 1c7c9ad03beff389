#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct ValidLine {
  std::vector<std::string> arguments;
  CliCommand command;
  std::string setting;
  std::string output;
  ExportFormat format;
  bool json;
};

TEST(CliArguments, AcceptsEveryDocumentedForm) {
  const ValidLine lines[] = {
      {{"--help"}, CliCommand::Help, "", "", ExportFormat::Wave, false},
      {{"--version"}, CliCommand::Version, "", "", ExportFormat::Wave, false},
      {{"render", "a.ton", "-o", "a.wav"}, CliCommand::Render, "a.ton", "a.wav", ExportFormat::Wave, false},
      {{"render", "-o", "-", "a.ton"}, CliCommand::Render, "a.ton", "-", ExportFormat::Wave, false},
      {{"render", "a.ton", "-o", "a.ul", "--format", "mulaw"}, CliCommand::Render, "a.ton", "a.ul", ExportFormat::MuLaw, false},
      {{"render", "a.ton", "--format", "alaw", "-o", "a.al"}, CliCommand::Render, "a.ton", "a.al", ExportFormat::ALaw, false},
      {{"render", "a.ton", "-o", "b.wav", "--format", "wav"}, CliCommand::Render, "a.ton", "b.wav", ExportFormat::Wave, false},
      {{"info", "トーン.ton"}, CliCommand::Info, "トーン.ton", "", ExportFormat::Wave, false},
      {{"info", "--json", "a b.ton"}, CliCommand::Info, "a b.ton", "", ExportFormat::Wave, true},
  };
  for (const ValidLine& line : lines) {
    CliRequest request;
    std::string error;
    ASSERT_TRUE(ParseCliArguments(line.arguments, &request, &error)) << error;
    EXPECT_EQ(request.command, line.command);
    EXPECT_EQ(request.setting_path, line.setting);
    EXPECT_EQ(request.output_path, line.output);
    EXPECT_EQ(request.format, line.format);
    EXPECT_EQ(request.json, line.json);
  }
}

TEST(CliArguments, RefusesBadLinesWithOneLineReason) {
  const std::vector<std::vector<std::string>> lines = {
      {},
      {"play", "a.ton"},
      {"render"},
      {"render", "a.ton"},
      {"render", "a.ton", "-o"},
      {"render", "a.ton", "-o", ""},
      {"render", "a.ton", "-o", "x", "--format", "mp3"},
      {"render", "a.ton", "-o", "x", "--format"},
      {"render", "a.ton", "b.ton", "-o", "x"},
      {"render", "a.ton", "-o", "x", "--json"},
      {"info"},
      {"info", "a.ton", "-o", "x"},
      {"info", "a.ton", "--verbose"},
  };
  for (const auto& line : lines) {
    CliRequest request;
    std::string error;
    EXPECT_FALSE(ParseCliArguments(line, &request, &error)) << testing::PrintToString(line);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

// What a parsed line asks for, in one text.
std::string Describe(const CliRequest& request) {
  const AnalysisRequest& analysis = request.analysis;
  const ImportRequest& import = request.import;
  std::ostringstream text;
  text << int(request.command) << ' ' << request.setting_path << ' ' << request.output_path << ' '
       << int(request.format) << ' ' << analysis.recording_path << ' ' << int(analysis.encoding) << ' '
       << analysis.raw_rate << ' ' << analysis.tolerances.frequency_percent << ' ' << analysis.tolerances.cadence_ms
       << ' ' << import.output_path << ' ' << import.rate << ' ' << import.repeat << ' ' << import.hold_ms << ' '
       << import.dbm0;
  return text.str();
}

TEST(CliOptions, EqualsFormMeansTheSameAsTheSeparateValue) {
  const std::vector<std::vector<std::string>> lines = {
      {"render", "a.ton", "--output=b.ul", "--format=mulaw"},
      {"render", "a.ton", "--output=-"},
      {"analyze", "r.al", "--format=alaw", "--rate=16000"},
      {"check", "r.wav", "a.ton", "--tolerance-frequency=2%", "--tolerance-cadence=40ms"},
      {"import", "440/100", "--output=o.ton", "--rate=16000", "--repeat=3", "--hold=50", "--dbm0=-13"},
  };
  for (const std::vector<std::string>& line : lines) {
    std::vector<std::string> separate;
    for (const std::string& argument : line) {
      const size_t equals = argument.find('=');
      separate.push_back(argument.substr(0, equals));
      if (equals != std::string::npos) separate.push_back(argument.substr(equals + 1));
    }
    CliRequest joined, apart;
    std::string error;
    ASSERT_TRUE(ParseCliArguments(line, &joined, &error)) << error;
    ASSERT_TRUE(ParseCliArguments(separate, &apart, &error)) << error;
    EXPECT_EQ(Describe(joined), Describe(apart)) << testing::PrintToString(line);
    EXPECT_NE(Describe(joined), Describe(CliRequest())) << testing::PrintToString(line);
  }
  // An option without its value: one line naming the command and its help.
  CliRequest request;
  std::string error;
  EXPECT_FALSE(ParseCliArguments({"import", "440", "--hold"}, &request, &error));
  EXPECT_EQ(error, "option --hold needs a value for import (see sonaril-cli import --help)");
}

}  // namespace
