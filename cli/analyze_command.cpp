#include "cli/analyze_command.h"

#include "analysis/heard_tone_string.h"
#include "files/tone_file.h"

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

}  // namespace

int RunAnalyze(const CliRequest& request, std::FILE* out, std::FILE* err) {
  Recording recording;
  RecordingAnalysis analysis;
  int exit_code = kExitSuccess;
  if (!ReadAndAnalyze(request.analysis, &recording, &analysis, err, &exit_code)) return exit_code;
  if (!analysis.heard_tone) {
    return Fail(err, kExitFileError, request.analysis.recording_path,
                "holds no tone (only silence, noise or clicks)");
  }
  const std::string& path = request.analysis.recording_path;
  std::string report = request.json ? FormatAnalysisJson(path, recording, analysis)
                                    : FormatAnalysisText(path, recording, analysis);
  std::fputs(report.c_str(), out);
  return request.output_path.empty() ? kExitSuccess : WriteHeardSetting(analysis, request.output_path, err);
}
