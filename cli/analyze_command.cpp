#include "cli/analyze_command.h"

#include "cli/analysis_report.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/recording_input.h"

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
  return kExitSuccess;
}
