#include "cli/check_command.h"

#include "analysis/expected_cycle.h"
#include "analysis/tone_check.h"
#include "cli/check_report.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/recording_input.h"

int RunCheck(const CliRequest& request, std::FILE* out, std::FILE* err) {
  ToneSetting setting;
  int exit_code = kExitSuccess;
  if (!LoadSetting(request.setting_path, &setting, err, &exit_code)) return exit_code;
  ExpectedCycle expected;
  SynthesisRefusal refusal = BuildExpectedCycle(setting, &expected);
  if (refusal != SynthesisRefusal::None) return Fail(err, kExitUsageError, request.setting_path, DescribeRefusal(refusal));

  Recording recording;
  RecordingAnalysis analysis;
  if (!ReadAndAnalyze(request.analysis, &recording, &analysis, err, &exit_code)) return exit_code;
  const CheckTolerances& tolerances = request.analysis.tolerances;
  CheckResult result = CompareWithExpected(expected, recording.samples.data(), analysis, tolerances);
  const std::string& recording_path = request.analysis.recording_path;
  std::string report = request.json ? FormatCheckJson(recording_path, request.setting_path, tolerances, result)
                                    : FormatCheckText(recording_path, request.setting_path, tolerances, result);
  std::fputs(report.c_str(), out);
  return result.pass ? kExitSuccess : kExitCheckFailed;
}
