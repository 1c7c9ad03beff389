#include "cli/digit_check_command.h"

#include "cli/cli_commands.h"
#include "cli/digit_report.h"
#include "cli/recording_input.h"
#include "synth/number_parsing.h"
#include "tonestring/tone_setting_reader.h"

bool ReadSettingDigits(const ToneSetting& setting, std::vector<ExpectedDigit>* expected) {
  ToneSequence sequence;
  std::string why_not;
  std::vector<ExpectedDigit> cycle;
  if (!ReadToneSequence(setting, &sequence, &why_not) || !ReadExpectedDigits(sequence, &cycle)) return false;
  const double cycle_ms = cycle.back().start_ms + cycle.back().on_ms + cycle.back().off_ms;
  expected->clear();
  for (int32_t repeat = 0; repeat < ClampRepeat(setting.repeat); ++repeat) {
    for (ExpectedDigit digit : cycle) {
      digit.start_ms += repeat * cycle_ms;
      expected->push_back(digit);
    }
  }
  return true;
}

int CheckRecordedDigits(const std::vector<ExpectedDigit>& expected, const std::string& setting_path,
                        const AnalysisRequest& request, bool json, std::FILE* out, std::FILE* err) {
  RecordingFile file;
  int exit_code = kExitSuccess;
  if (!OpenRecordingFile(request, &file, err, &exit_code)) return exit_code;
  std::vector<HeardDigit> heard;
  std::string reason;
  const BlockUse hear = [&](const std::vector<int16_t>& samples, const RecordingBlock& block) {
    HearDigitsInBlock(samples, block, file.layout().sampling_frequency, &heard);
    return true;
  };
  if (ReadInBlocks(file, hear, &reason) != RecordingProblem::None) return FailReading(request, reason, err);
  WarnAboutRecording(request, file.layout(), err);
  const CheckTolerances& tolerances = request.tolerances;
  const DigitCheck check =
      CheckDigits(expected, heard, [&](double expected_ms) { return AllowedCadenceMs(tolerances, expected_ms); });
  const std::string report =
      json ? FormatDigitCheckJson(request.recording_path, setting_path, tolerances, expected, heard, check)
           : FormatDigitCheckText(request.recording_path, setting_path, tolerances, expected, heard, check);
  std::fputs(report.c_str(), out);
  return check.pass ? kExitSuccess : kExitCheckFailed;
}
