#include "cli/cli_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
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

namespace fs = std::filesystem;
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

// A report or data lost on standard output is a file error, even where the command failed
// otherwise (check: FAIL).
TEST(CliErrors, StandardOutputThatCannotBeWrittenIsAFileError) {
#ifdef _WIN32
  GTEST_SKIP() << "no /dev/full";
#else
  TempDir dir;
  const std::string setting = ExamplePath("busy-north-america.ton");
  const std::string recording = dir.File("busy.wav");
  ASSERT_EQ(RunTool(dir, {"render", setting, "-o", recording}).exit_code, kExitSuccess);
  for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
           {"--help"}, {"info", setting, "--json"}, {"render", setting, "-o", "-"},
           {"check", recording, ExamplePath("busy-japan.ton")}}) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    std::FILE* err = std::fopen(dir.File("stderr.txt").c_str(), "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(RunCli(command, full, err), kExitFileError) << command.back();
    std::fclose(full);
    std::fclose(err);
    EXPECT_EQ(ReadAll(dir.File("stderr.txt")), "sonaril-cli: standard output: could not be written\n");
  }
#endif
}

TEST(CliJson, EveryReportParsesBackWithTheNameAsGiven) {
  TempDir dir;
  const auto examples = fs::u8path(ExamplePath(""));
  size_t library = 0;
  for (const auto& entry : fs::recursive_directory_iterator(examples / ".." / "tones")) {
    if (entry.path().extension() != ".ton") continue;
    ++library;
    EXPECT_EQ(nlohmann::json::parse(RunTool(dir, {"info", "--json", entry.path().u8string()}).out).at("file"),
              entry.path().u8string());
  }
  EXPECT_GT(library, 250u);
  std::vector<std::string> names = {"トーン 録音"};
#ifndef _WIN32
  names.push_back("quote \" back\\slash \x01\x1f tab\t");
#endif
  for (const std::string& name : names) {
    const std::string setting = dir.File(name + ".ton");
    const std::string recording = dir.File(name + ".wav");
    fs::copy_file(examples / "busy-japan.ton", fs::u8path(setting));
    ASSERT_EQ(RunTool(dir, {"render", setting, "-o", recording}).exit_code, kExitSuccess);
    const auto info = nlohmann::json::parse(RunTool(dir, {"info", "--json", setting}).out);
    const auto analysis = nlohmann::json::parse(RunTool(dir, {"analyze", "--json", recording}).out);
    const auto check = nlohmann::json::parse(RunTool(dir, {"check", "--json", recording, setting}).out);
    EXPECT_EQ(info.at("file"), setting);
    EXPECT_EQ(analysis.at("recording"), recording);
    EXPECT_EQ(check.at("setting"), setting);
    EXPECT_EQ(check.at("result"), "PASS");
  }
}

// A folder with sub-folders, one broken setting and a file that is no setting, and a setting
// given beside it.
TEST(CliBatch, RendersEveryGoodSettingAndNamesTheBrokenOne) {
  TempDir dir;
  fs::create_directories(fs::u8path(dir.File("lib/b")));
  fs::copy_file(fs::u8path(ExamplePath("busy-japan.ton")), fs::u8path(dir.File("lib/busy.ton")));
  fs::copy_file(fs::u8path(ExamplePath("ringback-uk.ton")), fs::u8path(dir.File("lib/b/ring.ton")));
  ASSERT_TRUE(WriteAll(dir.File("lib/b/broken.ton"), "not a setting"));
  ASSERT_TRUE(WriteAll(dir.File("lib/notes.txt"), "not rendered"));
  CliRun batch = RunTool(dir, {"render", dir.File("lib"), ExamplePath("busy-japan.ton"), "-o", dir.File("out/"),
                               "--format", "wav-alaw"});
  EXPECT_EQ(batch.exit_code, kExitFileError);
  // Named as the folder walk found it, with the platform's separators.
  const std::string broken = fs::u8path(dir.File("lib/b/broken.ton")).make_preferred().u8string();
  EXPECT_EQ(batch.err, "sonaril-cli: " + broken +
                           ": is not a tone setting file (no XML declaration or no element)\n"
                           "sonaril-cli: 1 of 4 settings were not rendered\n");
  const fs::path out = fs::u8path(dir.File("out"));
  std::set<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (entry.is_regular_file()) written.insert(entry.path().lexically_relative(out).generic_u8string());
  }
  EXPECT_EQ(written, (std::set<std::string>{"busy-japan.wav", "lib/busy.wav", "lib/b/ring.wav"}));
  // Its own setting's 48000 samples as A-law, a byte each behind the 58-byte header.
  EXPECT_EQ(ReadAll(dir.File("out/lib/b/ring.wav")).size(), 58u + 48000u);
}

TEST(CliBatch, ProgressOnlyOnATerminalWithoutQuietAndNoFileWrittenTwice) {
  TempDir dir;
  std::vector<std::string> line = {"render", "-o", dir.File("out/"), "--format", "mulaw"};
  for (const char* example : {"busy-japan.ton", "busy-north-america.ton", "ringback-uk.ton",
                              "ringback-north-america.ton", "ramps-and-fades.ton"}) {
    line.push_back(ExamplePath(example));
  }
  const struct {
    bool terminal, quiet, progress;
  } rows[] = {{false, false, false}, {true, true, false}, {true, false, true}};
  for (const auto& row : rows) {
    std::vector<std::string> arguments = line;
    if (row.quiet) arguments.push_back("--quiet");
    CliRun run = RunTool(dir, arguments, row.terminal);
    EXPECT_EQ(run.exit_code, kExitSuccess) << run.err;
    EXPECT_EQ(run.err.find("rendered 5 of 5") != std::string::npos, row.progress) << run.err;
    EXPECT_EQ(run.err.find('\n'), std::string::npos) << run.err;
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
