#include "cli/analyze_command.h"

#include <memory>

#include "analysis/heard_tone_string.h"
#include "digits/digit_receiver.h"
#include "files/tone_file.h"

#include "cli/analysis_arguments.h"
#include "cli/analysis_report.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/recording_input.h"

namespace {

// analyze -o: the setting that renders what was heard, saved safely (an existing file is
// only replaced whole).
int WriteHeardSetting(const RecordingAnalysis& analysis, const std::string& output_path, std::FILE* err) {
  HeardTone heard;
  std::string why_not;
  ToneSetting setting;
  if (!DescribeHeardTone(analysis, &heard, &why_not) ||
      !BuildToneSetting(heard.sequence, heard.options, &setting, &why_not)) {
    return Fail(err, kExitUsageError, output_path, "not written: what was heard is no setting: " + why_not);
  }
  WidePath path(output_path);
  if (path.get() == nullptr || !SaveToneSetting(setting, path.get())) {
    return Fail(err, kExitFileError, output_path, "could not be written");
  }
  return kExitSuccess;
}

int RunAnalyze(const CliRequest& request, std::FILE* out, std::FILE* err) {
  RecordingFile file;
  RecordingAnalysis analysis;
  std::vector<HeardDigit> digits;
  int exit_code = kExitSuccess;
  const BlockWork hear_digits = [&](const std::vector<int16_t>& samples, const RecordingBlock& block,
                                    const RecordingAnalysis&) {
    HearDigitsInBlock(samples, block, file.layout().sampling_frequency, &digits);
  };
  if (!ReadAndAnalyze(request.analysis, &file, &analysis, err, &exit_code, hear_digits)) return exit_code;
  const Recording& recording = file.layout();
  if (!analysis.heard_tone && digits.empty()) {
    return Fail(err, kExitFileError, request.analysis.recording_path,
                "holds no tone (only silence, noise or clicks)");
  }
  const std::string& path = request.analysis.recording_path;
  std::string report = request.json ? FormatAnalysisJson(path, recording, analysis, digits)
                                    : FormatAnalysisText(path, recording, analysis, digits);
  std::fputs(report.c_str(), out);
  return request.output_path.empty() ? kExitSuccess : WriteHeardSetting(analysis, request.output_path, err);
}

CommandRunner DeclareAnalyze(CLI::App* command, CliRequest* request) {
  request->command = CliCommand::Analyze;
  auto recordings = std::make_shared<std::vector<std::string>>();
  auto options = std::make_shared<RecordingOptions>();
  command->add_option("recording", *recordings, "the recording to measure");
  AddRecordingOptions(command, options.get());
  command->add_flag("--json", request->json, "the measurements as one JSON object");
  command->add_option("-o", request->output_path, "also write the setting that renders what was heard")
      ->type_name("OUT.ton");
  command->callback([command, request, recordings, options] {
    ReadRecordingOptions(*command, *options, &request->analysis);
    if (command->count("-o") > 0 && request->output_path.empty()) {
      RefuseValue("-o", request->output_path, "the setting file to write");
    }
    if (recordings->empty()) RefuseLine("analyze needs a recording");
    if (recordings->size() > 1) RefuseLine("too many files given ('" + (*recordings)[1] + "')");
    request->analysis.recording_path = recordings->front();
  });
  return [request](std::FILE* out, std::FILE* err) { return RunAnalyze(*request, out, err); };
}

}  // namespace

const CommandDefinition kAnalyzeCommand = {
    "analyze",
    "analyze RECORDING [--format wav|mulaw|alaw] [--rate HZ] [--channel N]\n"
    "      [--json] [-o OUT.ton]",
    "measures one channel of a recording (a WAV file of PCM, float or G.711, or\n"
    "raw G.711 at --rate, default 8000 Hz): its sounding and silent runs, the\n"
    "cycle they repeat, the frequencies and levels of every step, the tone\n"
    "string heard and the DTMF and MF digits; -o writes the setting that\n"
    "renders the tone string.",
    DeclareAnalyze,
};
