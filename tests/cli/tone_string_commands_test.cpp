// sonaril-cli import and info --tone-string, run in-process on real files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "tests/cli/cli_run.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::CliRun;
using sonaril_test::ReadAll;
using sonaril_test::RunTool;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

TEST(CliImport, WritesASettingThatReadsBackAsTheString) {
  TempDir dir;
  const std::string ton = dir.File("ringback.ton");
  CliRun imported = RunTool(dir, {"import", "440+480/2000,0/4000", "-o", ton, "--repeat", "2", "--dbm0", "-19"});
  ASSERT_EQ(imported.exit_code, kExitSuccess) << imported.err;
  EXPECT_TRUE(imported.err.empty());
  CliRun read = RunTool(dir, {"info", ton, "--tone-string"});
  EXPECT_EQ(read.exit_code, kExitSuccess) << read.err;
  EXPECT_EQ(read.out, "440@-19+480@-19/2000,0/4000\n");

  CliRun info = RunTool(dir, {"info", ton});
  for (const char* line : {"Repeat:             2\n", "Samples:            96000\n",
                           "Tone string:        440@-19+480@-19/2000,0/4000\n", "level 8% (-21.94 dBFS, -18.80 dBm0)"}) {
    EXPECT_NE(info.out.find(line), std::string::npos) << line << "\n" << info.out;
  }
  CliRun json = RunTool(dir, {"info", "--json", ton});
  EXPECT_NE(json.out.find("\"level_percent\": 8, \"level_dbfs\": -21.94, \"level_dbm0\": -18.80}"), std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"tone_string\": \"440@-19+480@-19/2000,0/4000\", \"tone_string_reason\": null"), std::string::npos);
}

TEST(CliImport, OptionsShapeTheSetting) {
  TempDir dir;
  const std::string ton = dir.File("dial.ton");
  ASSERT_EQ(RunTool(dir, {"import", "350+440", "-o", ton, "--rate", "16000", "--hold", "500", "--level", "30"}).exit_code,
            kExitSuccess);
  const std::string info = RunTool(dir, {"info", ton}).out;
  for (const char* line : {"Sampling frequency: 16000 Hz\n", "Pattern total:      500 ms\n", "level 30%", "Tone string:        350@-7.3+440@-7.3\n"}) {
    EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;
  }
}

struct BadImport {
  std::vector<std::string> arguments;  // after "import", before "-o OUT"
  const char* error;
};

TEST(CliImport, BadStringsAndOptionsGiveOneLineExitTwoAndNoFile) {
  std::string fifty_thousand;
  for (int i = 0; i < 50000; ++i) fifty_thousand += i == 0 ? "440/100" : ",0/100";
  const BadImport cases[] = {
      {{""}, "sonaril-cli: import: the tone string is empty\n"},
      {{"440/"}, "sonaril-cli: import: part 1 (440/): no duration after '/'\n"},
      {{"abc"}, "sonaril-cli: import: part 1 (abc): 'abc' is not a frequency in whole hertz\n"},
      {{"440+/100"}, "sonaril-cli: import: part 1 (440+/100): a frequency is missing beside '+'\n"},
      {{"440/-100"}, "sonaril-cli: import: part 1 (440/-100): '-100' is not a duration in whole milliseconds\n"},
      {{"440/99999999999"}, "sonaril-cli: import: part 1 (440/99999999999): 99999999999 ms is too long\n"},
      {{"440/2000000"}, "sonaril-cli: import: the tone lasts 2000000 ms, but at 8000 Hz and 1 cycle a setting holds at most 268435 ms\n"},
      {{fifty_thousand}, "sonaril-cli: import: the tone string has more than 256 parts\n"},
      {{"400*16%101/1000"},
       "sonaril-cli: import: part 1 (400*16%101/1000): '101' is not a modulation depth in whole percent from 1 to 100\n"},
      {{"440/100", "--rate", "11025"},
       "sonaril-cli: import: the sampling frequency 11025 Hz is not one of 8000, 16000, 32000, 44100, 48000 and 96000 Hz\n"},
      {{"440/100", "--level", "0"}, "sonaril-cli: --level needs a whole percent from 1 to 100, not '0'\n"},
      {{"440/100", "--dbm0", "loud"}, "sonaril-cli: --dbm0 needs a level in dBm0 such as -13, not 'loud'\n"},
      {{"440+480/100", "--dbm0", "3"}, "sonaril-cli: import: part 1 (440+480/100): its levels add up to 196%, more than full scale\n"},
      {{"440/100", "--level", "20", "--dbm0", "-10"}, "sonaril-cli: give the level with --level or with --dbm0, not both\n"},
      {{"440/100", "0/100"}, "sonaril-cli: more than one tone string given ('0/100'); quote the string\n"},
      {{"440/100", "--loud"}, "sonaril-cli: unknown option '--loud' for import (see sonaril-cli import --help)\n"},
  };
  for (const BadImport& item : cases) {
    TempDir dir;
    std::vector<std::string> arguments = {"import"};
    arguments.insert(arguments.end(), item.arguments.begin(), item.arguments.end());
    arguments.insert(arguments.end(), {"-o", dir.File("out.ton")});
    CliRun run = RunTool(dir, arguments);
    EXPECT_EQ(run.exit_code, kExitUsageError) << item.error;
    EXPECT_EQ(run.err, item.error);
    EXPECT_TRUE(ReadAll(dir.File("out.ton")).empty()) << "no file for " << item.error;
  }
}

TEST(CliImport, ARefusalLeavesAnExistingFileAsItWas) {
  TempDir dir;
  const std::string ton = dir.File("kept.ton");
  ASSERT_TRUE(WriteAll(ton, "kept"));
  EXPECT_EQ(RunTool(dir, {"import", "440*440/100", "-o", ton}).exit_code, kExitUsageError);
  EXPECT_EQ(ReadAll(ton), "kept");
  CliRun unwritable = RunTool(dir, {"import", "440/100", "-o", dir.File("no-folder/out.ton")});
  EXPECT_EQ(unwritable.exit_code, kExitFileError);
  EXPECT_NE(unwritable.err.find("could not be written"), std::string::npos) << unwritable.err;
}

TEST(CliInfoToneString, SaysWhyASettingIsNotAToneString) {
  TempDir dir;
  const std::string ton = dir.File("faded.ton");
  ASSERT_TRUE(WriteAll(ton, "<?xml version=\"1.0\" ?>\n<patterns><pattern><on_off>1</on_off><time>400</time>"
                            "<is_fade>1</is_fade></pattern></patterns>\n<tones><tone><frequency>400</frequency>"
                            "</tone></tones>\n"));
  CliRun run = RunTool(dir, {"info", ton, "--tone-string"});
  EXPECT_EQ(run.exit_code, kExitUsageError);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(run.err, "sonaril-cli: " + ton + ": is not a tone string: step 1 fades in and out\n");
  CliRun info = RunTool(dir, {"info", ton});
  EXPECT_NE(info.out.find("Tone string:        none: step 1 fades in and out\n"), std::string::npos) << info.out;
  EXPECT_EQ(RunTool(dir, {"info", dir.File("missing.ton"), "--tone-string"}).exit_code, kExitFileError);
}

TEST(CliArgumentsForToneStrings, RefusesIncompleteLines) {
  for (const std::vector<std::string>& line : std::vector<std::vector<std::string>>{
           {"import"}, {"import", "440"}, {"import", "-o", "a.ton"}, {"import", "440", "-o"},
           {"info", "a.ton", "--json", "--tone-string"}, {"render", "a.ton", "-o", "x", "--tone-string"}}) {
    CliRequest request;
    std::string error;
    EXPECT_FALSE(ParseCliArguments(line, &request, &error)) << testing::PrintToString(line);
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

}  // namespace
