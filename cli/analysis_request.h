// What analyze and check are asked to do, beside the fields every command has.
#pragma once
#include <cstdint>
#include <string>

#include "analysis/recording.h"
#include "analysis/tone_check.h"

struct AnalysisRequest {
  std::string recording_path;  // UTF-8
  RecordingEncoding encoding = RecordingEncoding::Wave;
  int32_t raw_rate = 8000;     // Hz of a raw G.711 recording
  int32_t channel = 1;         // the channel measured, 1 for the first
  CheckTolerances tolerances;  // check only
};
