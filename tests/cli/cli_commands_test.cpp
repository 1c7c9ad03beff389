#include "cli/cli_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/string.h"
#include "files/tone_export.h"
#include "files/tone_file.h"
#include "synth/synthesize_tone.h"
#include "tests/cli/cli_run.h"
#include "tests/common/refusing_disk.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::CliRun;
using sonaril_test::ExamplePath;
using sonaril_test::ReadAll;
using sonaril_test::RunTool;
using sonaril_test::TempDir;
using sonaril_test::TestDataPath;
using sonaril_test::WriteAll;

// What the window's export writes for the same setting after "Create Tone".
std::string ExportOf(const std::string& setting_path, ExportFormat format, const TempDir& dir) {
  ToneSetting setting;
  CString path;
  path.Assign(setting_path.c_str());
  EXPECT_TRUE(LoadToneSetting(setting, path.GetWide()));
  std::vector<int16_t> samples;
  EXPECT_EQ(SynthesizeTone(setting, setting.sampling_frequency, setting.repeat,
                           setting.filter_on != 0, &samples),
            SynthesisRefusal::None);
  CString out;
  out.Assign(dir.File("reference.bin").c_str());
  EXPECT_EQ(WriteExport(out.GetWide(), format, samples.data(), static_cast<int32_t>(samples.size()),
                        setting.sampling_frequency, true),
            ExportResult::Written);
  return ReadAll(dir.File("reference.bin"));
}

TEST(CliRender, WritesWhatTheExportWritesInEveryFormat) {
  TempDir dir;
  const char* formats[] = {"wav", "mulaw", "alaw"};
  const ExportFormat kinds[] = {ExportFormat::Wave, ExportFormat::MuLaw, ExportFormat::ALaw};
  for (const char* example : {"ringback-uk.ton", "ramps-and-fades.ton"}) {
    for (int i = 0; i < 3; ++i) {
      std::string output = dir.File(std::string("out-") + formats[i]);
      CliRun run = RunTool(dir, {"render", ExamplePath(example), "-o", output, "--format", formats[i]});
      ASSERT_EQ(run.exit_code, kExitSuccess) << run.err;
      EXPECT_TRUE(run.err.empty());
      std::string expected = ExportOf(ExamplePath(example), kinds[i], dir);
      EXPECT_EQ(ReadAll(output), expected) << example << " " << formats[i];
    }
  }
}

TEST(CliRender, KnownSizesForTheRingBack) {
  TempDir dir;
  std::string wav = dir.File("ringback.wav");
  ASSERT_EQ(RunTool(dir, {"render", ExamplePath("ringback-north-america.ton"), "-o", wav}).exit_code, 0);
  // 6000 ms x 8000 Hz x repeat 2 = 96000 samples behind a 56-byte header.
  EXPECT_EQ(ReadAll(wav).size(), 56u + 2u * 96000u);
  std::string raw = dir.File("ringback.ul");
  ASSERT_EQ(RunTool(dir, {"render", ExamplePath("ringback-north-america.ton"), "-o", raw, "--format", "mulaw"}).exit_code, 0);
  EXPECT_EQ(ReadAll(raw).size(), 96000u);
}

TEST(CliRender, StandardOutputGetsTheSameBytes) {
  TempDir dir;
  std::string file = dir.File("busy.wav");
  ASSERT_EQ(RunTool(dir, {"render", ExamplePath("busy-japan.ton"), "-o", file}).exit_code, 0);
  CliRun piped = RunTool(dir, {"render", ExamplePath("busy-japan.ton"), "-o", "-"});
  ASSERT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(piped.out, ReadAll(file));
}

TEST(CliRender, ReplacesAnExistingOutputAndKeepsItWhenRenderingFails) {
  TempDir dir;
  std::string output = dir.File("existing.wav");
  ASSERT_TRUE(WriteAll(output, "old contents"));
  ASSERT_EQ(RunTool(dir, {"render", ExamplePath("busy-japan.ton"), "-o", output}).exit_code, 0);
  std::string rendered = ReadAll(output);
  EXPECT_EQ(rendered.substr(0, 4), "RIFF");

  std::string bad = dir.File("no-tones.ton");
  ASSERT_TRUE(WriteAll(bad, "<?xml version=\"1.0\" ?>\r\n<patterns><pattern><time>100</time></pattern></patterns>\r\n"));
  EXPECT_EQ(RunTool(dir, {"render", bad, "-o", output}).exit_code, kExitUsageError);
  EXPECT_EQ(ReadAll(output), rendered);
  EXPECT_TRUE(ReadAll(output + ".saving.tmp").empty());
}

// The WAV header is completed after the last sample; a disk that refuses that, or the close,
// fails the render: exit 1, one line, no temporary file left, the old output kept.
TEST(CliRender, AFailureAfterTheSamplesIsAFileErrorAndKeepsTheOldOutput) {
  TempDir dir;
  const std::string output = dir.File("out.wav");
  const uint64_t wav_bytes = ExportOf(ExamplePath("busy-japan.ton"), ExportFormat::Wave, dir).size();
  for (bool refuse_close : {false, true}) {
    ASSERT_TRUE(WriteAll(output, "old contents"));
    CliRun run;
    {
      sonaril_test::CRefusingDisk disk(refuse_close ? UINT64_MAX : wav_bytes, refuse_close);
      run = RunTool(dir, {"render", ExamplePath("busy-japan.ton"), "-o", output});
    }
    EXPECT_EQ(run.exit_code, kExitFileError) << run.err;
    EXPECT_EQ(run.err, "sonaril-cli: " + output + ": could not be written\n");
    EXPECT_TRUE(ReadAll(output) == "old contents");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(output + ".saving.tmp")));
  }
}

TEST(CliRender, UnwritableOutputIsAFileError) {
  TempDir dir;
  std::string output = dir.File("missing-folder/out.wav");
  CliRun run = RunTool(dir, {"render", ExamplePath("busy-japan.ton"), "-o", output});
  EXPECT_EQ(run.exit_code, kExitFileError);
  EXPECT_NE(run.err.find("could not be written"), std::string::npos) << run.err;
}

struct BadSetting {
  const char* name;
  const char* contents;  // null: the file is not created
  int exit_code;
  const char* reason;    // part of the error line
};

TEST(CliErrors, EveryFailureIsOneLineNamingTheFile) {
  const BadSetting cases[] = {
      {"missing.ton", nullptr, kExitFileError, "cannot be opened"},
      {"empty.ton", "", kExitFileError, "is empty"},
      {"plain.ton", "sampling_frequency=8000\n", kExitFileError, "not a tone setting file"},
      {"no-tones.ton", "<?xml version=\"1.0\" ?>\r\n<patterns><pattern><time>100</time></pattern></patterns>\r\n",
       kExitUsageError, "no tones"},
      {"no-steps.ton", "<?xml version=\"1.0\" ?>\r\n<tones><tone><frequency>400</frequency></tone></tones>\r\n",
       kExitUsageError, "pattern total is 0"},
      {"odd-rate.ton", "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>11025</sampling_frequency>\r\n"
                       "<patterns><pattern><time>100</time></pattern></patterns>\r\n<tones><tone/></tones>\r\n",
       kExitUsageError, "11025 Hz is not one of"},
      {"zero-hz.ton", "<?xml version=\"1.0\" ?>\r\n<patterns><pattern><time>100</time></pattern></patterns>\r\n"
                      "<tones><tone><frequency>0</frequency></tone></tones>\r\n",
       kExitUsageError, "frequency of 0 Hz"},
      {"huge.ton", "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>96000</sampling_frequency><repeat>100</repeat>\r\n"
                   "<patterns><pattern><time>2000000000</time></pattern></patterns>\r\n<tones><tone/></tones>\r\n",
       kExitUsageError, "too long"},
  };
  for (const BadSetting& bad : cases) {
    TempDir dir;
    std::string path = dir.File(bad.name);
    if (bad.contents != nullptr) {
      ASSERT_TRUE(WriteAll(path, bad.contents));
    }
    std::string output = dir.File("out.wav");
    CliRun run = RunTool(dir, {"render", path, "-o", output});
    EXPECT_EQ(run.exit_code, bad.exit_code) << bad.name << ": " << run.err;
    EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(bad.reason), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_TRUE(ReadAll(output).empty()) << "nothing written for " << bad.name;
  }
}

TEST(CliErrors, BadUsageExitsWithTwo) {
  TempDir dir;
  CliRun run = RunTool(dir, {"render", "a.ton"});
  EXPECT_EQ(run.exit_code, kExitUsageError);
  EXPECT_EQ(run.err.rfind("sonaril-cli: ", 0), 0u);
}

TEST(CliInfo, DescribesTheSettingAsTextAndJson) {
  TempDir dir;
  CliRun text = RunTool(dir, {"info", ExamplePath("ringback-uk.ton")});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  for (const char* line : {"Sampling frequency: 8000 Hz\n", "Repeat:             2\n",
                           "Fade:               400 /s (20 samples)\n", "Filter:             off\n",
                           "Pattern total:      3000 ms\n", "Steps:              4\n",
                           "Tones:              2\n", "Samples:            48000\n",
                           "Duration:           6.000 s\n", "Can be synthesised: yes\n"}) {
    EXPECT_NE(text.out.find(line), std::string::npos) << line << "\n" << text.out;
  }
  CliRun json = RunTool(dir, {"info", "--json", ExamplePath("ringback-uk.ton")});
  ASSERT_EQ(json.exit_code, 0);
  EXPECT_NE(json.out.find("\"sample_count\": 48000"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"can_synthesise\": true, \"reason\": null}"), std::string::npos);
  EXPECT_NE(json.out.find("{\"on_off\": 0, \"kind\": \"OFF\", \"time_ms\": 200, \"is_fade\": false}"),
            std::string::npos);
}

TEST(CliInfo, ExplainsWhyASettingCannotBeSynthesised) {
  TempDir dir;
  std::string path = dir.File("rate.ton");
  ASSERT_TRUE(WriteAll(path, "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>22050</sampling_frequency>\r\n"
                             "<repeat>500</repeat><patterns><pattern><time>10</time></pattern></patterns>\r\n"
                             "<tones><tone/></tones>\r\n"));
  CliRun run = RunTool(dir, {"info", path});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.out.find("Repeat:             500 (used as 100)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Can be synthesised: no: The sampling frequency 22050 Hz"), std::string::npos);
}

TEST(CliVersion, PrintsTheProductVersion) {
  TempDir dir;
  CliRun run = RunTool(dir, {"--version"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "sonaril-cli 1.0.3.0\n");
  EXPECT_EQ(RunTool(dir, {"--help"}).out.rfind("Usage:", 0), 0u);
}

// Every command that writes to standard output fails with 1 and says so when it cannot.
TEST(CliErrors, StandardOutputThatCannotBeWrittenIsAFileError) {
#ifdef _WIN32
  GTEST_SKIP() << "no /dev/full";
#else
  TempDir dir;
  const std::string setting = ExamplePath("busy-north-america.ton");
  const std::string recording = dir.File("busy.wav");
  ASSERT_EQ(RunTool(dir, {"render", setting, "-o", recording}).exit_code, kExitSuccess);
  const std::vector<std::vector<std::string>> commands = {
      {"--help"}, {"--version"}, {"render", "--help"}, {"info", setting}, {"info", setting, "--json"},
      {"info", ExamplePath("test-tone-1khz-minus6db.ton"), "--tone-string"}, {"render", setting, "-o", "-"}, {"analyze", recording},
      {"analyze", recording, "--json"}, {"check", recording, setting}, {"check", recording, setting, "--json"},
      {"check", recording, ExamplePath("busy-japan.ton")},
  };
  for (const std::vector<std::string>& command : commands) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    const std::string err_path = dir.File("stderr.txt");
    std::FILE* err = std::fopen(err_path.c_str(), "wb");
    const int code = RunCli(command, full, err);
    std::fclose(full);
    std::fclose(err);
    EXPECT_EQ(code, kExitFileError) << command.front() << " " << command.back();
    EXPECT_EQ(ReadAll(err_path), "sonaril-cli: standard output: could not be written\n")
        << command.front() << " " << command.back();
  }
#endif
}

// The read-me shipped with the packages shows the tool's usage and exit codes as --help does.
TEST(CliHelp, ThePackageReadMeShowsTheUsageAndTheExitCodes) {
  TempDir dir;
  const std::string help = RunTool(dir, {"--help"}).out;
  const std::string read_me = ReadAll(TestDataPath("../../packaging/README.txt.in"));
  ASSERT_FALSE(read_me.empty());
  const size_t exits = help.find("Exit status:");
  ASSERT_NE(exits, std::string::npos);
  size_t start = help.find('\n') + 1;  // after "Usage:"
  const size_t usage_end = help.find("\n\n");
  while (start < help.size()) {
    const size_t end = help.find('\n', start);
    const std::string line = help.substr(start, end - start);
    if ((start < usage_end || start >= exits) && !line.empty()) {
      EXPECT_NE(read_me.find(line + "\n"), std::string::npos) << "README.txt lacks: " << line;
    }
    start = end + 1;
  }
}

}  // namespace
