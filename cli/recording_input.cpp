#include "cli/recording_input.h"

#include "cli/cli_commands.h"
#include "cli/cli_support.h"

bool ReadRecordingFile(const AnalysisRequest& request, Recording* recording, std::FILE* err, int* exit_code) {
  WidePath path(request.recording_path);
  std::string reason;
  if (path.get() == nullptr) {
    *exit_code = Fail(err, kExitFileError, request.recording_path, "cannot be opened for reading");
    return false;
  }
  if (ReadRecording(path.get(), request.encoding, request.raw_rate, request.channel, recording, &reason) != RecordingProblem::None) {
    *exit_code = Fail(err, kExitFileError, request.recording_path, reason);
    return false;
  }
  if (recording->cut_short) {
    std::fprintf(err,
                 "sonaril-cli: %s: warning: the file stops after %llu of the %llu sample bytes it announces; "
                 "what is there is analysed\n",
                 request.recording_path.c_str(), static_cast<unsigned long long>(recording->present_bytes),
                 static_cast<unsigned long long>(recording->promised_bytes));
  }
  if (recording->louder_channel != 0) {
    std::fprintf(err, "sonaril-cli: %s: warning: channel %d is silent; channel %d is not (--channel %d)\n",
                 request.recording_path.c_str(), recording->channel, recording->louder_channel,
                 recording->louder_channel);
  }
  return true;
}

bool ReadAndAnalyze(const AnalysisRequest& request, Recording* recording, RecordingAnalysis* analysis,
                    std::FILE* err, int* exit_code) {
  if (!ReadRecordingFile(request, recording, err, exit_code)) return false;
  if (!AnalyzeRecording(recording->samples.data(), static_cast<int64_t>(recording->samples.size()),
                        recording->sampling_frequency, analysis)) {
    *exit_code = Fail(err, kExitFileError, request.recording_path, "is too large to analyse in memory");
    return false;
  }
  return true;
}
