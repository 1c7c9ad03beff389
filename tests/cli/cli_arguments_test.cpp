#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

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

}  // namespace
