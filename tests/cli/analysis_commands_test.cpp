// analyze and check as a test rig runs them: on recordings rendered from the examples,
// passing and failing with the documented exit codes, and on broken recordings.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "tests/analysis/recording_bytes.h"
#include "tests/cli/cli_run.h"

namespace {

using sonaril_test::CliRun;
using sonaril_test::ExamplePath;
using sonaril_test::MonoWave;
using sonaril_test::RunTool;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

std::string Rendered(const TempDir& dir, const std::string& example, const char* format = "wav") {
  std::string path = dir.File(example + "." + format);
  EXPECT_EQ(RunTool(dir, {"render", ExamplePath(example), "-o", path, "--format", format}).exit_code, 0);
  return path;
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliAnalyze, DescribesARecordedExampleAsTextAndJson) {
  TempDir dir;
  std::string recording = Rendered(dir, "ringback-uk.ton");
  CliRun text = RunTool(dir, {"analyze", recording});
  ASSERT_EQ(text.exit_code, kExitSuccess) << text.err;
  EXPECT_TRUE(text.err.empty());
  for (const char* line : {"Sampling frequency: 8000 Hz\n", "Duration:           6.000 s\n",
                           "Cycle:              3000.0 ms, heard 2 times",
                           "Tone string:        400@-9+450@-9/400,0/200,400@-9+450@-9/400,0/2000\n",
                           "400.00 Hz  -12.0 dBFS  -8.9 dBm0\n", "450.00 Hz  -12.0 dBFS  -8.9 dBm0\n"}) {
    EXPECT_TRUE(Holds(text.out, line)) << line << "\n" << text.out;
  }
  CliRun json = RunTool(dir, {"analyze", "--json", recording});
  ASSERT_EQ(json.exit_code, kExitSuccess);
  EXPECT_TRUE(Holds(json.out, "\"cycle\": {\"repeats\": true, \"duration_ms\": 3000.000")) << json.out;
  EXPECT_TRUE(Holds(json.out, "{\"frequency_hz\": 400.000, \"level_dbfs\": -12.04, \"level_dbm0\": -8.90}"));
  EXPECT_TRUE(Holds(json.out, "\"tone_string\": \"400@-9+450@-9/400,0/200,400@-9+450@-9/400,0/2000\""));
  EXPECT_EQ(json.out.back(), '\n');
}

TEST(CliAnalyze, ReadsRawG711AtTheGivenRate) {
  TempDir dir;
  std::string recording = Rendered(dir, "busy-japan.ton", "alaw");
  CliRun run = RunTool(dir, {"analyze", recording, "--format", "alaw"});
  ASSERT_EQ(run.exit_code, kExitSuccess) << run.err;
  EXPECT_TRUE(Holds(run.out, "400.00 Hz")) << run.out;
  // The same bytes read as 16 kHz sound an octave higher and twice as fast.
  CliRun fast = RunTool(dir, {"analyze", recording, "--format", "alaw", "--rate", "16000"});
  ASSERT_EQ(fast.exit_code, kExitSuccess) << fast.err;
  EXPECT_TRUE(Holds(fast.out, "800.00 Hz")) << fast.out;
  EXPECT_TRUE(Holds(fast.out, "Cycle:              500.0 ms")) << fast.out;
}

// -o writes the setting that renders what was heard: checked against the recording, it
// passes; what no setting can say (ramps) is refused and nothing is written.
TEST(CliAnalyze, WritesTheSettingHeard) {
  TempDir dir;
  std::string recording = Rendered(dir, "busy-north-america.ton");
  std::string heard = dir.File("heard.ton");
  CliRun run = RunTool(dir, {"analyze", recording, "-o", heard});
  ASSERT_EQ(run.exit_code, kExitSuccess) << run.err;
  EXPECT_EQ(RunTool(dir, {"info", heard, "--tone-string"}).out, "480@-9+620@-9/500,0/500\n");
  EXPECT_EQ(RunTool(dir, {"check", recording, heard}).exit_code, kExitSuccess);

  std::string ramps = Rendered(dir, "ramps-and-fades.ton");
  std::string refused = dir.File("ramps.ton");
  CliRun ramp_run = RunTool(dir, {"analyze", ramps, "-o", refused});
  EXPECT_EQ(ramp_run.exit_code, kExitUsageError);
  EXPECT_TRUE(Holds(ramp_run.err, "ramps")) << ramp_run.err;
  EXPECT_TRUE(Holds(ramp_run.out, "Tone string:        none: its ramps")) << ramp_run.out;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(refused)));
}

TEST(CliCheck, PassesItsOwnSettingAndFailsAnother) {
  TempDir dir;
  std::string recording = Rendered(dir, "busy-north-america.ton", "mulaw");
  CliRun pass = RunTool(dir, {"check", recording, ExamplePath("busy-north-america.ton"), "--format", "mulaw"});
  EXPECT_EQ(pass.exit_code, kExitSuccess) << pass.out << pass.err;
  EXPECT_EQ(pass.out.substr(pass.out.size() - 5), "PASS\n");
  CliRun fail = RunTool(dir, {"check", recording, ExamplePath("busy-japan.ton"), "--format", "mulaw"});
  EXPECT_EQ(fail.exit_code, kExitCheckFailed) << fail.out << fail.err;
  EXPECT_EQ(fail.out.substr(fail.out.size() - 5), "FAIL\n");
  EXPECT_TRUE(Holds(fail.out, "400.00 Hz -8.0 dBFS     -                       missing")) << fail.out;
  EXPECT_TRUE(Holds(fail.out, "extra tone")) << fail.out;
  CliRun json = RunTool(dir, {"check", "--json", recording, ExamplePath("busy-japan.ton"), "--format", "mulaw"});
  EXPECT_EQ(json.exit_code, kExitCheckFailed);
  EXPECT_TRUE(Holds(json.out, "\"result\": \"FAIL\"")) << json.out;
  EXPECT_TRUE(Holds(json.out, "\"result\": \"missing\"")) << json.out;
}

TEST(CliCheck, AbsoluteLevelsSeeTheLoss) {
  TempDir dir;
  std::string setting = ExamplePath("test-tone-1khz-minus6db.ton");
  std::string quiet = dir.File("quiet.wav");
  // 1 kHz at a quarter of full scale: 6 dB under the setting's half.
  std::vector<int16_t> samples;
  for (int n = 0; n < 48000; ++n) {
    samples.push_back(static_cast<int16_t>(8192.0 * std::sin(2.0 * 3.14159265358979 * 1000.0 * n / 48000.0)));
  }
  ASSERT_TRUE(WriteAll(quiet, MonoWave(samples, 48000)));
  EXPECT_EQ(RunTool(dir, {"check", quiet, setting}).exit_code, kExitSuccess);
  CliRun absolute = RunTool(dir, {"check", quiet, setting, "--absolute-levels"});
  EXPECT_EQ(absolute.exit_code, kExitCheckFailed);
  EXPECT_TRUE(Holds(absolute.out, "level -6.0 dB")) << absolute.out;
}

struct BadRecording {
  const char* name;
  std::string bytes;  // written as the recording; a missing file when name starts with "missing"
  int analyze_exit;
  int check_exit;
  const char* reason;  // part of the one error line; for a check that runs, part of its report
};

TEST(CliAnalysisErrors, EveryBadRecordingGetsOneLineAndTheRightCode) {
  std::vector<int16_t> click(8000, 0);
  click[4000] = 32000;
  const std::vector<BadRecording> cases = {
      {"missing.wav", "", kExitFileError, kExitFileError, "cannot be opened for reading"},
      {"empty.wav", "", kExitFileError, kExitFileError, "is empty"},
      {"header-cut.wav", std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16), kExitFileError, kExitFileError,
       "is not a WAV file"},
      {"adpcm.wav", sonaril_test::WaveBytes(sonaril_test::WaveLayout{2, 1, 8000, 16, -1, "", "", 1}, std::string(64, '\0')),
       kExitFileError, kExitFileError, "holds samples of a kind that is not read (format 2"},
      {"silence.wav", MonoWave(std::vector<int16_t>(16000, 0), 8000), kExitFileError, kExitCheckFailed,
       "No tone was heard"},
      {"click.wav", MonoWave(click, 8000), kExitFileError, kExitCheckFailed, "No tone was heard"},
  };
  TempDir dir;
  for (const BadRecording& bad : cases) {
    std::string path = dir.File(bad.name);
    if (std::string(bad.name).rfind("missing", 0) != 0) {
      ASSERT_TRUE(WriteAll(path, bad.bytes));
    }
    CliRun analyze = RunTool(dir, {"analyze", path});
    EXPECT_EQ(analyze.exit_code, bad.analyze_exit) << bad.name << ": " << analyze.err;
    EXPECT_TRUE(Holds(analyze.err, path)) << analyze.err;
    EXPECT_EQ(analyze.err.find('\n'), analyze.err.size() - 1) << "one line: " << analyze.err;
    EXPECT_TRUE(analyze.out.empty()) << bad.name;

    CliRun check = RunTool(dir, {"check", path, ExamplePath("busy-japan.ton")});
    EXPECT_EQ(check.exit_code, bad.check_exit) << bad.name << ": " << check.err;
    if (bad.check_exit == kExitCheckFailed) {
      EXPECT_TRUE(Holds(check.out, bad.reason)) << check.out;
      EXPECT_TRUE(Holds(check.out, "not heard")) << check.out;
    } else {
      EXPECT_TRUE(Holds(check.err, bad.reason)) << check.err;
      EXPECT_EQ(check.err.find('\n'), check.err.size() - 1) << "one line: " << check.err;
    }
  }
}

// Three hours at 1000 Hz: analysed and checked an hour at a time. The first two hours repeat
// 300 Hz for 1 s in 3.5 s (the hour cuts a step), the third beeps 1 s on, 1 s off.
TEST(CliAnalysisLong, HoursAreAnalysedInBlocks) {
  TempDir dir;
  const int32_t rate = 1000;
  std::vector<int16_t> samples;
  for (int64_t i = 0; i < 3 * 3600 * rate; ++i) {
    const int64_t period = i < 2 * 3600 * rate ? 3500 : 2000;
    const bool on = i % period < 1000;
    samples.push_back(on ? static_cast<int16_t>(std::lround(10000.0 * std::sin(2 * 3.141592653589793 * 300.0 * i / rate))) : 0);
  }
  const std::string recording = dir.File("three-hours.wav");
  ASSERT_TRUE(WriteAll(recording, MonoWave(samples, rate)));
  const std::string setting = dir.File("expected.ton");
  ASSERT_EQ(RunTool(dir, {"import", "300/1000,0/2500", "-o", setting}).exit_code, kExitSuccess);

  CliRun analyzed = RunTool(dir, {"analyze", recording});
  ASSERT_EQ(analyzed.exit_code, kExitSuccess) << analyzed.err;
  EXPECT_TRUE(Holds(analyzed.out, "Cycle:              3500.0 ms, heard 2058 times")) << analyzed.out;
  EXPECT_TRUE(Holds(analyzed.out, "Other cycles in:    7200.0-10800.0 s\n")) << analyzed.out;
  CliRun checked = RunTool(dir, {"check", recording, setting});
  EXPECT_EQ(checked.exit_code, kExitCheckFailed) << checked.out;
  EXPECT_TRUE(Holds(checked.out, "  2      OFF          2500.0 ms               1001.0 ms               -1499.0 ms\n")) << checked.out;
}

TEST(CliAnalysisErrors, CutRecordingsAndBadSettings) {
  TempDir dir;
  // A file that stops early is analysed as far as it goes, with a warning.
  std::string full = sonaril_test::ReadAll(Rendered(dir, "busy-japan.ton"));
  std::string cut_path = dir.File("cut.wav");
  ASSERT_TRUE(WriteAll(cut_path, full.substr(0, full.size() / 2)));
  CliRun cut = RunTool(dir, {"analyze", cut_path});
  EXPECT_EQ(cut.exit_code, kExitSuccess) << cut.err;
  EXPECT_TRUE(Holds(cut.err, "warning: the file stops after")) << cut.err;
  EXPECT_TRUE(Holds(cut.out, "400.00 Hz")) << cut.out;

  // A setting that cannot be synthesised is bad usage, before the recording is read.
  std::string setting = dir.File("no-tones.ton");
  ASSERT_TRUE(WriteAll(setting, "<?xml version=\"1.0\" ?>\r\n<patterns><pattern><time>100</time></pattern></patterns>\r\n"));
  CliRun refused = RunTool(dir, {"check", cut_path, setting});
  EXPECT_EQ(refused.exit_code, kExitUsageError);
  EXPECT_TRUE(Holds(refused.err, "no tones")) << refused.err;
}

// Only the second channel sounds: the first, measured by default, is said to be silent.
TEST(CliChannels, TheChosenChannelIsMeasuredAndASilentOneSaidSo) {
  TempDir dir;
  const std::string mono = sonaril_test::ReadAll(Rendered(dir, "busy-north-america.ton")).substr(56);
  std::string right_only;
  for (size_t i = 0; i < mono.size(); i += 2) right_only += std::string(2, '\0') + mono.substr(i, 2);
  sonaril_test::WaveLayout stereo;
  stereo.channels = 2;
  const std::string recording = dir.File("right-only.wav");
  ASSERT_TRUE(WriteAll(recording, sonaril_test::WaveBytes(stereo, right_only)));
  CliRun first = RunTool(dir, {"analyze", recording});
  EXPECT_EQ(first.exit_code, kExitFileError);
  EXPECT_TRUE(Holds(first.err, "warning: channel 1 is silent; channel 2 is not (--channel 2)")) << first.err;
  CliRun second = RunTool(dir, {"analyze", recording, "--channel", "2"});
  EXPECT_EQ(second.exit_code, kExitSuccess) << second.err;
  EXPECT_TRUE(Holds(second.out, "Sampling frequency: 8000 Hz (channel 2 of 2)")) << second.out;
  EXPECT_EQ(RunTool(dir, {"check", recording, ExamplePath("busy-north-america.ton"), "--channel=2"}).exit_code,
            kExitSuccess);
}

// A ring-back of 2 s on and 4 s off, recorded from 0.5 s to 4.5 s: neither step whole.
TEST(CliCheck, TooShortToJudgeHasItsOwnCode) {
  TempDir dir;
  const std::string part = dir.File("part.ul");
  ASSERT_TRUE(WriteAll(part, sonaril_test::ReadAll(Rendered(dir, "ringback-north-america.ton", "mulaw")).substr(4000, 32000)));
  const std::string setting = ExamplePath("ringback-north-america.ton");
  CliRun text = RunTool(dir, {"check", part, setting, "--format", "mulaw"});
  EXPECT_EQ(text.exit_code, kExitTooShort) << text.out << text.err;
  EXPECT_TRUE(Holds(text.out, "\ntoo short to judge: record at least 10 s\n")) << text.out;
  const std::string json = RunTool(dir, {"check", part, setting, "--format", "mulaw", "--json"}).out;
  EXPECT_TRUE(Holds(json, "\"result\": \"TOO SHORT\"") && Holds(json, "\"record_at_least_s\": 10")) << json;
  // What already contradicts the setting fails, short or not.
  EXPECT_EQ(RunTool(dir, {"check", part, ExamplePath("busy-north-america.ton"), "--format", "mulaw"}).exit_code,
            kExitCheckFailed);
}

// Two hundred adjacent 10 ms steps sound as one step: its row names all of them. A sampling
// frequency render refuses is refused by check too.
TEST(CliCheck, RowsOfManyStepsAndSettingsRenderRefuses) {
  TempDir dir;
  auto setting_at = [](int rate) {
    std::string xml = "<?xml version=\"1.0\" ?>\r\n<sampling_frequency>" + std::to_string(rate) +
                      "</sampling_frequency>\r\n<repeat>4</repeat>\r\n<patterns>";
    for (int i = 0; i < 200; ++i) xml += "<pattern><on_off>1</on_off><time>10</time></pattern>";
    return xml + "<pattern><on_off>0</on_off><time>1000</time></pattern></patterns>\r\n"
                 "<tones><tone><frequency>425</frequency><level>30</level></tone></tones>\r\n";
  };
  const std::string many = dir.File("many.ton");
  const std::string odd = dir.File("odd.ton");
  ASSERT_TRUE(WriteAll(many, setting_at(8000)) && WriteAll(odd, setting_at(7000)));
  const std::string recording = dir.File("many.wav");
  ASSERT_EQ(RunTool(dir, {"render", many, "-o", recording}).exit_code, kExitSuccess);
  CliRun rows = RunTool(dir, {"check", recording, many});
  EXPECT_EQ(rows.exit_code, kExitSuccess) << rows.out << rows.err;
  EXPECT_TRUE(Holds(rows.out, "+199+200 ")) << rows.out;
  CliRun refused = RunTool(dir, {"check", recording, odd});
  EXPECT_EQ(refused.exit_code, kExitUsageError);
  EXPECT_TRUE(Holds(refused.err, odd + ": The sampling frequency 7000 Hz is not one of")) << refused.err;
}

}  // namespace
