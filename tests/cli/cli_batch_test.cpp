#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_commands.h"
#include "tests/cli/cli_run.h"

namespace {

namespace fs = std::filesystem;
using sonaril_test::CliRun;
using sonaril_test::ExamplePath;
using sonaril_test::ReadAll;
using sonaril_test::RunTool;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

// A folder of settings with sub-folders, one broken file and one that is no setting.
void MakeLibrary(const TempDir& dir) {
  fs::create_directories(fs::u8path(dir.File("lib/a")));
  fs::create_directories(fs::u8path(dir.File("lib/b")));
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(dir.File("lib/a/busy.ton")));
  fs::copy_file(fs::u8path(ExamplePath("ringback-uk.ton")), fs::u8path(dir.File("lib/b/ring.ton")));
  ASSERT_TRUE(WriteAll(dir.File("lib/b/broken.ton"), "not a setting"));
  ASSERT_TRUE(WriteAll(dir.File("lib/notes.txt"), "not rendered"));
}

TEST(CliBatch, RendersEveryGoodSettingAndNamesTheBrokenOne) {
  TempDir dir;
  MakeLibrary(dir);
  CliRun batch = RunTool(dir, {"render", dir.File("lib"), ExamplePath("busy-japan.ton"), "-o", dir.File("out/"),
                               "--format", "wav-alaw"});
  EXPECT_EQ(batch.exit_code, kExitFileError);
  // Named as the folder walk found it, with the platform's separators.
  const std::string broken = fs::u8path(dir.File("lib/b/broken.ton")).make_preferred().u8string();
  EXPECT_EQ(batch.err, "sonaril-cli: " + broken +
                           ": is not a tone setting file (no XML declaration or no element)\n"
                           "sonaril-cli: 1 of 4 settings were not rendered\n");
  const struct {
    const char* output;
    const char* setting;  // null: not written
  } files[] = {
      {"out/lib/a/busy.wav", "lib/a/busy.ton"},
      {"out/lib/b/ring.wav", "lib/b/ring.ton"},
      {"out/busy-japan.wav", "lib/a/busy.ton"},
      {"out/lib/b/broken.wav", nullptr},
      {"out/lib/notes.wav", nullptr},
  };
  for (const auto& file : files) {
    EXPECT_EQ(fs::exists(fs::u8path(dir.File(file.output))), file.setting != nullptr) << file.output;
    if (file.setting == nullptr) continue;
    ASSERT_EQ(RunTool(dir, {"render", dir.File(file.setting), "-o", dir.File("one.wav"), "--format", "wav-alaw"})
                  .exit_code,
              kExitSuccess);
    EXPECT_EQ(ReadAll(dir.File(file.output)), ReadAll(dir.File("one.wav"))) << file.output;
  }
}

TEST(CliBatch, ProgressOnlyOnATerminalAndOnlyWithoutQuiet) {
  TempDir dir;
  const std::vector<std::string> examples = {"busy-japan.ton", "busy-north-america.ton", "ringback-uk.ton",
                                             "ringback-north-america.ton", "ramps-and-fades.ton"};
  std::vector<std::string> line = {"render", "-o", dir.File("out") + "/", "--format", "mulaw"};
  for (const std::string& example : examples) line.push_back(ExamplePath(example));
  const struct {
    bool terminal, quiet;
    bool progress;
  } rows[] = {{false, false, false}, {true, true, false}, {true, false, true}};
  for (const auto& row : rows) {
    std::vector<std::string> arguments = line;
    if (row.quiet) arguments.push_back("--quiet");
    CliRun run = RunTool(dir, arguments, row.terminal);
    EXPECT_EQ(run.exit_code, kExitSuccess) << run.err;
    EXPECT_EQ(run.err.find("rendered 5 of 5") != std::string::npos, row.progress) << run.err;
    EXPECT_EQ(run.err.find('\n'), std::string::npos) << run.err;
    EXPECT_EQ(ReadAll(dir.File("out/busy-japan.ul")).size(), 32000u);
  }
  // Two settings of one name would write one file: the second is refused, not lost.
  fs::copy_file(fs::u8path(ExamplePath("ringback-uk.ton")), fs::u8path(dir.File("busy-japan.ton")));
  CliRun twice = RunTool(dir, {"render", ExamplePath("busy-japan.ton"), dir.File("busy-japan.ton"), "-o",
                               dir.File("out/")});
  EXPECT_EQ(twice.exit_code, kExitUsageError);
  EXPECT_NE(twice.err.find(dir.File("busy-japan.ton") + ": not rendered: another setting renders to"),
            std::string::npos) << twice.err;
}

}  // namespace
