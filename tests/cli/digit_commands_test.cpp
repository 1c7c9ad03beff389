// dtmf and mf as a test rig uses them: the setting written, rendered, and its digits heard
// back by analyze and compared by check; bad digits and options refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "tests/cli/cli_run.h"

namespace {

using sonaril_test::CliRun;
using sonaril_test::RunTool;
using sonaril_test::TempDir;

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The setting the command writes (to NAME.ton), rendered to NAME.wav; the recording's path.
std::string Recorded(const TempDir& dir, std::vector<std::string> command, const std::string& name) {
  const std::string setting = dir.File(name + ".ton"), recording = dir.File(name + ".wav");
  command.insert(command.end(), {"-o", setting});
  const CliRun made = RunTool(dir, command);
  EXPECT_EQ(made.exit_code, kExitSuccess) << made.err;
  EXPECT_EQ(RunTool(dir, {"render", setting, "-o", recording}).exit_code, kExitSuccess);
  return recording;
}

TEST(CliDigits, WritesSettingsWhoseDigitsAnalyzeAndCheckHearBack) {
  TempDir dir;
  const std::string dtmf = Recorded(dir, {"dtmf", "555,1234#"}, "dtmf");
  CliRun text = RunTool(dir, {"analyze", dtmf});
  ASSERT_EQ(text.exit_code, kExitSuccess) << text.err;
  EXPECT_TRUE(Holds(text.out, "Digits:             5551234#\n")) << text.out;
  EXPECT_TRUE(Holds(text.out, "770.00 Hz +0.00 % -8.9 dBm0")) << text.out;
  CliRun json = RunTool(dir, {"analyze", dtmf, "--json"});
  EXPECT_TRUE(Holds(json.out, "\"digits\": {\"string\": \"5551234#\", \"heard\": [{\"digit\": \"5\", \"system\": \"DTMF\", "
                              "\"start_ms\": 0.2, \"duration_ms\": 98.4, \"low_hz\": 770.00"))
      << json.out;
  EXPECT_EQ(RunTool(dir, {"check", dtmf, dir.File("dtmf.ton")}).exit_code, kExitSuccess);

  const std::string mf = Recorded(dir, {"mf", "KP0123ST", "--rate", "16000", "--twist", "3"}, "mf");
  EXPECT_TRUE(Holds(RunTool(dir, {"analyze", mf}).out, "Digits:             KP0123ST\n"));

  // One digit wrong (as text), then one missing (as JSON): check names it and fails.
  Recorded(dir, {"dtmf", "555,1334#"}, "wrong");
  CliRun wrong = RunTool(dir, {"check", dtmf, dir.File("wrong.ton")});
  EXPECT_EQ(wrong.exit_code, kExitCheckFailed);
  EXPECT_TRUE(Holds(wrong.out, "  5    3         2      100 / ")) << wrong.out;
  EXPECT_TRUE(Holds(wrong.out, "wrong digit\n")) << wrong.out;
  Recorded(dir, {"dtmf", "555,12345#"}, "longer");
  CliRun missing = RunTool(dir, {"check", dtmf, dir.File("longer.ton"), "--json"});
  EXPECT_EQ(missing.exit_code, kExitCheckFailed);
  EXPECT_TRUE(Holds(missing.out, "{\"expected\": \"5\", \"heard\": null, \"on_difference_ms\": null, "
                                 "\"off_difference_ms\": null, \"verdict\": \"missing\", \"result\": \"fail\"}"))
      << missing.out;
}

TEST(CliDigits, RefusesBadDigitsAndOptionsWithOneLine) {
  TempDir dir;
  const std::string output = dir.File("out.ton");
  struct Case {
    std::vector<std::string> arguments;
    const char* error;  // nullptr: any one line
  } cases[] = {
      {{"dtmf", "12x", "-o", output},
       "sonaril-cli: dtmf: 'x' at position 3 is no DTMF digit (0-9 * # A B C D, ',' for a pause)\n"},
      {{"dtmf", "1", "-o", output, "--level", "60"},
       "sonaril-cli: dtmf: part 1 (697@-1.3+1209@-1.3/100): its levels add up to 120%, more than full scale\n"},
      {{"dtmf", "1"}, nullptr},
      {{"dtmf", "1", "-o", output, "--dbm0", "-9;-7"}, nullptr},
      {{"dtmf", "1", "-o", output, "--twist", "x"}, nullptr},
  };
  for (const Case& c : cases) {
    CliRun run = RunTool(dir, c.arguments);
    EXPECT_EQ(run.exit_code, kExitUsageError) << c.arguments[1];
    if (c.error) EXPECT_EQ(run.err, c.error);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(output)) << "nothing written";
  }
}

}  // namespace
