#include "cli/check_command.h"

#include <memory>

#include "analysis/expected_cycle.h"
#include "analysis/tone_check.h"
#include "cli/analysis_arguments.h"
#include "cli/check_report.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/digit_check_command.h"
#include "cli/number_arguments.h"
#include "cli/recording_input.h"
#include "cli/setting_report.h"

namespace {

// Sensible bounds for the tolerances: wider ones would let anything pass.
constexpr double kWidestFrequencyPercent = 50.0;
constexpr double kWidestCadencePercent = 100.0;
constexpr double kWidestCadenceMs = 60000.0;
constexpr double kWidestLevelDb = 60.0;

struct CheckValues {
  std::vector<std::string> files;
  RecordingOptions recording;
  std::string frequency, cadence, level;
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A positive number, the whole text (after an optional unit), at most widest.
bool ParsePositive(std::string text, const std::string& unit, double widest, double* value) {
  if (!unit.empty() && EndsWith(text, unit)) text.erase(text.size() - unit.size());
  double number = 0.0;
  if (!ReadDecimal(text, &number) || !(number > 0.0) || number > widest) return false;
  *value = number;
  return true;
}

// Percent ("10%" or "10") or milliseconds ("40ms").
bool ParseCadence(const std::string& text, CheckTolerances* tolerances) {
  if (EndsWith(text, "ms")) {
    tolerances->cadence_in_ms = true;
    return ParsePositive(text, "ms", kWidestCadenceMs, &tolerances->cadence_ms);
  }
  tolerances->cadence_in_ms = false;
  return ParsePositive(text, "%", kWidestCadencePercent, &tolerances->cadence_percent);
}

void ReadCheck(const CLI::App& command, const CheckValues& given, CliRequest* request) {
  ReadRecordingOptions(command, given.recording, &request->analysis);
  CheckTolerances& tolerances = request->analysis.tolerances;
  if (command.count("--tolerance-frequency") > 0 &&
      !ParsePositive(given.frequency, "%", kWidestFrequencyPercent, &tolerances.frequency_percent)) {
    RefuseValue("--tolerance-frequency", given.frequency, "a percentage above 0, at most 50");
  }
  if (command.count("--tolerance-cadence") > 0 && !ParseCadence(given.cadence, &tolerances)) {
    RefuseValue("--tolerance-cadence", given.cadence, "a percentage (10%) or milliseconds (40ms) above 0");
  }
  if (command.count("--tolerance-level") > 0 &&
      !ParsePositive(given.level, "dB", kWidestLevelDb, &tolerances.level_db)) {
    RefuseValue("--tolerance-level", given.level, "decibels above 0, at most 60");
  }
  if (given.files.size() < 2) RefuseLine("check needs a recording and a setting file");
  if (given.files.size() > 2) RefuseLine("too many files given ('" + given.files[2] + "')");
  request->analysis.recording_path = given.files[0];
  request->setting_path = given.files[1];
}

int RunCheck(const CliRequest& request, std::FILE* out, std::FILE* err) {
  ToneSetting setting;
  int exit_code = kExitSuccess;
  if (!LoadSetting(request.setting_path, &setting, err, &exit_code)) return exit_code;
  // What render refuses cannot be expected either.
  const SettingFacts facts = InspectSetting(setting);
  if (!facts.can_synthesise) return Fail(err, kExitUsageError, request.setting_path, facts.reason);
  std::vector<ExpectedDigit> digits;
  if (ReadSettingDigits(setting, &digits)) {
    return CheckRecordedDigits(digits, request.setting_path, request.analysis, request.json, out, err);
  }
  ExpectedCycle expected;
  SynthesisRefusal refusal = BuildExpectedCycle(setting, &expected);
  if (refusal != SynthesisRefusal::None) return Fail(err, kExitUsageError, request.setting_path, DescribeRefusal(refusal));

  RecordingFile file;
  if (!OpenRecordingFile(request.analysis, &file, err, &exit_code)) return exit_code;
  const CheckTolerances& tolerances = request.analysis.tolerances;
  CheckResult result;
  std::string reason;
  if (CheckInBlocks(file, expected, tolerances, &result, &reason) != RecordingProblem::None) {
    return FailReading(request.analysis, reason, err);
  }
  WarnAboutRecording(request.analysis, file.layout(), err);
  const std::string& recording_path = request.analysis.recording_path;
  std::string report = request.json ? FormatCheckJson(recording_path, request.setting_path, tolerances, result)
                                    : FormatCheckText(recording_path, request.setting_path, tolerances, result);
  std::fputs(report.c_str(), out);
  if (result.pass) return kExitSuccess;
  return result.too_short ? kExitTooShort : kExitCheckFailed;
}

CommandRunner DeclareCheck(CLI::App* command, CliRequest* request) {
  request->command = CliCommand::Check;
  auto given = std::make_shared<CheckValues>();
  command->add_option("files", given->files, "the recording, then the tone setting it should match");
  AddRecordingOptions(command, &given->recording);
  command->add_option("--tolerance-frequency", given->frequency, "frequency tolerance in % (default 1.5)")
      ->type_name("PCT");
  command->add_option("--tolerance-cadence", given->cadence, "cadence tolerance: 10% (the default) or 40ms")
      ->type_name("PCT|MS");
  command->add_option("--tolerance-level", given->level, "level tolerance in dB (default 3)")->type_name("DB");
  command->add_flag("--absolute-levels", request->analysis.tolerances.absolute_levels,
                    "compare levels in dBFS as recorded, not relative to the loudest tone");
  command->add_flag("--json", request->json, "the comparison as one JSON object");
  command->callback([command, request, given] { ReadCheck(*command, *given, request); });
  return [request](std::FILE* out, std::FILE* err) { return RunCheck(*request, out, err); };
}

}  // namespace

const CommandDefinition kCheckCommand = {
    "check",
    "check RECORDING SETTING.ton [--format wav|mulaw|alaw] [--rate HZ]\n"
    "      [--channel N] [--tolerance-frequency PCT] [--tolerance-cadence PCT|MS]\n"
    "      [--tolerance-level DB] [--absolute-levels] [--json]",
    "compares a recording with what the setting renders and prints PASS, FAIL,\n"
    "or \"too short to judge\" when some step was never heard whole. Defaults:\n"
    "frequency 1.5%, cadence 10% (at least 20 ms), level 3 dB, levels relative\n"
    "to the loudest tone unless --absolute-levels. A cadence tolerance is a\n"
    "percentage (10%) or milliseconds (40ms). For a setting made by dtmf or mf\n"
    "it compares the digits: which is wrong, missing or extra, and each tone's\n"
    "and gap's length against the cadence tolerance.",
    DeclareCheck,
};
