#include "analysis/recording.h"

#include "analysis/recording_file.h"

RecordingProblem ReadRecording(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate,
                               int32_t channel, Recording* recording, std::string* reason) {
  *recording = Recording();
  RecordingFile file;
  RecordingProblem problem = file.Open(path, encoding, raw_rate, channel, reason);
  std::vector<int16_t> samples;
  if (problem == RecordingProblem::None) problem = file.Read(0, file.frames(), &samples, reason);
  if (problem != RecordingProblem::None) return problem;
  *recording = file.layout();
  recording->samples.swap(samples);
  return RecordingProblem::None;
}
