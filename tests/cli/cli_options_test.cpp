#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "tests/cli/cli_run.h"

namespace {

using sonaril_test::CliRun;
using sonaril_test::ExamplePath;
using sonaril_test::RunTool;
using sonaril_test::TempDir;

// What a parsed line asks for, in one text.
std::string Describe(const CliRequest& request) {
  const AnalysisRequest& analysis = request.analysis;
  const ImportRequest& import = request.import;
  return std::to_string(static_cast<int>(request.command)) + " " + request.setting_path + " " + request.output_path +
         " " + std::to_string(static_cast<int>(request.format)) + " " + analysis.recording_path + " " +
         std::to_string(static_cast<int>(analysis.encoding)) + " " + std::to_string(analysis.raw_rate) + " " +
         testing::PrintToString(analysis.tolerances.frequency_percent) + " " +
         testing::PrintToString(analysis.tolerances.cadence_ms) + " " + import.output_path + " " +
         std::to_string(import.rate) + " " + std::to_string(import.repeat) + " " + std::to_string(import.hold_ms) +
         " " + testing::PrintToString(import.dbm0);
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
    CliRequest joined_request, separate_request;
    std::string error;
    ASSERT_TRUE(ParseCliArguments(line, &joined_request, &error)) << error;
    ASSERT_TRUE(ParseCliArguments(separate, &separate_request, &error)) << error;
    EXPECT_EQ(Describe(joined_request), Describe(separate_request)) << testing::PrintToString(line);
    EXPECT_NE(Describe(joined_request), Describe(CliRequest())) << testing::PrintToString(line);
  }
}

// Every command answers --help with its usage and every option it takes; a misspelt option
// or a missing value is one line naming the command and the option.
TEST(CliOptions, HelpPerCommandAndOneLineRefusals) {
  TempDir dir;
  const std::pair<std::string, std::vector<std::string>> commands[] = {
      {"render", {"--output", "--format"}},
      {"info", {"--json", "--tone-string"}},
      {"import", {"--output", "--rate", "--level", "--dbm0", "--repeat", "--hold"}},
      {"analyze", {"--format", "--rate", "--json", "-o"}},
      {"check", {"--format", "--rate", "--tolerance-frequency", "--tolerance-cadence", "--tolerance-level",
                 "--absolute-levels", "--json"}},
  };
  for (const auto& command : commands) {
    CliRun help = RunTool(dir, {command.first, "--help"});
    EXPECT_EQ(help.exit_code, kExitSuccess);
    EXPECT_EQ(help.out.rfind("Usage:\n  sonaril-cli " + command.first + " ", 0), 0u) << help.out;
    for (const std::string& option : command.second) EXPECT_NE(help.out.find(option), std::string::npos) << option;
    for (const std::string& bad : {std::string("--no-such-option"), command.second.back()}) {
      CliRun refused = RunTool(dir, {command.first, bad == "--json" || bad == "--tone-string" ? "--x" : bad});
      EXPECT_EQ(refused.exit_code, kExitUsageError);
      EXPECT_NE(refused.err.find(command.first), std::string::npos) << refused.err;
      EXPECT_NE(refused.err.find(" --help)\n"), std::string::npos) << refused.err;
      EXPECT_EQ(refused.err.find('\n'), refused.err.size() - 1) << refused.err;
    }
  }
}

std::vector<std::string> LibrarySettings() {
  std::vector<std::string> paths;
  const auto examples = std::filesystem::u8path(ExamplePath(""));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(examples / ".." / "tones")) {
    if (entry.path().extension() == ".ton") paths.push_back(entry.path().u8string());
  }
  for (const auto& entry : std::filesystem::directory_iterator(examples)) paths.push_back(entry.path().u8string());
  return paths;
}

TEST(CliJson, EveryReportParsesBackWithTheNameAsGiven) {
  TempDir dir;
  const std::vector<std::string> settings = LibrarySettings();
  ASSERT_GT(settings.size(), 250u);
  for (const std::string& setting : settings) {
    CliRun info = RunTool(dir, {"info", "--json", setting});
    ASSERT_EQ(info.exit_code, kExitSuccess) << setting;
    EXPECT_EQ(nlohmann::json::parse(info.out).at("file"), setting);
  }
  std::vector<std::string> names = {"トーン 録音"};
#ifndef _WIN32
  names.push_back("quote \" back\\slash \x01\x1f tab\t");
#endif
  for (const std::string& name : names) {
    const std::string setting = dir.File(name + ".ton");
    const std::string recording = dir.File(name + ".wav");
    std::filesystem::copy_file(std::filesystem::u8path(ExamplePath("busy-japan.ton")), std::filesystem::u8path(setting));
    ASSERT_EQ(RunTool(dir, {"render", setting, "-o", recording}).exit_code, kExitSuccess);
    const nlohmann::json info = nlohmann::json::parse(RunTool(dir, {"info", "--json", setting}).out);
    const nlohmann::json analysis = nlohmann::json::parse(RunTool(dir, {"analyze", "--json", recording}).out);
    const nlohmann::json check = nlohmann::json::parse(RunTool(dir, {"check", "--json", recording, setting}).out);
    EXPECT_EQ(info.at("file"), setting);
    EXPECT_EQ(analysis.at("recording"), recording);
    EXPECT_EQ(analysis.at("cycle").at("steps").size(), 2u);
    EXPECT_EQ(check.at("setting"), setting);
    EXPECT_EQ(check.at("result"), "PASS");
  }
}

}  // namespace
