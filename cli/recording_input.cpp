#include "cli/recording_input.h"

#include "cli/cli_commands.h"
#include "cli/cli_support.h"

bool OpenRecordingFile(const AnalysisRequest& request, RecordingFile* file, std::FILE* err, int* exit_code) {
  WidePath path(request.recording_path);
  std::string reason;
  if (path.get() == nullptr) {
    *exit_code = Fail(err, kExitFileError, request.recording_path, "cannot be opened for reading");
    return false;
  }
  if (file->Open(path.get(), request.encoding, request.raw_rate, request.channel, &reason) != RecordingProblem::None) {
    *exit_code = FailReading(request, reason, err);
    return false;
  }
  return true;
}

void WarnAboutRecording(const AnalysisRequest& request, const Recording& layout, std::FILE* err) {
  if (layout.cut_short) {
    std::fprintf(err,
                 "sonaril-cli: %s: warning: the file stops after %llu of the %llu sample bytes it announces; "
                 "what is there is analysed\n",
                 request.recording_path.c_str(), static_cast<unsigned long long>(layout.present_bytes),
                 static_cast<unsigned long long>(layout.promised_bytes));
  }
  if (layout.louder_channel != 0) {
    std::fprintf(err, "sonaril-cli: %s: warning: channel %d is silent; channel %d is not (--channel %d)\n",
                 request.recording_path.c_str(), layout.channel, layout.louder_channel, layout.louder_channel);
  }
}

int FailReading(const AnalysisRequest& request, const std::string& reason, std::FILE* err) {
  return Fail(err, kExitFileError, request.recording_path, reason);
}

bool ReadAndAnalyze(const AnalysisRequest& request, RecordingFile* file, RecordingAnalysis* analysis,
                    std::FILE* err, int* exit_code, const BlockWork& work) {
  if (!OpenRecordingFile(request, file, err, exit_code)) return false;
  std::string reason;
  if (AnalyzeInBlocks(*file, analysis, &reason, work) != RecordingProblem::None) {
    *exit_code = FailReading(request, reason, err);
    return false;
  }
  WarnAboutRecording(request, file->layout(), err);
  return true;
}

void HearDigitsInBlock(const std::vector<int16_t>& samples, const RecordingBlock& block, int32_t rate,
                       std::vector<HeardDigit>* digits) {
  const double samples_start_ms = static_cast<double>(block.first - block.lead) * 1000.0 / rate;
  const double block_start_ms = static_cast<double>(block.first) * 1000.0 / rate;
  const double block_end_ms = static_cast<double>(block.first + block.count) * 1000.0 / rate;
  for (HeardDigit digit : HearDigits(samples, rate)) {
    digit.start_ms += samples_start_ms;
    if (digit.start_ms >= block_start_ms && digit.start_ms < block_end_ms) digits->push_back(digit);
  }
}
