// The options analyze and check share: how the recording is encoded, when raw its rate, and
// the channel measured.
#pragma once
#include <string>

#include <CLI/CLI.hpp>

#include "cli/analysis_request.h"

struct RecordingOptions {
  std::string format = "wav";
  std::string rate;
  std::string channel;
};

// Declares --format, --rate and --channel on the command, bound to *options.
void AddRecordingOptions(CLI::App* command, RecordingOptions* options);

// Reads the values into *request, or refuses the line (RefuseLine) naming the bad value.
void ReadRecordingOptions(const CLI::App& command, const RecordingOptions& options, AnalysisRequest* request);

// The refusal of a value: "invalid value 'V' for OPTION (use EXPECTED)".
[[noreturn]] void RefuseValue(const std::string& option, const std::string& value, const std::string& expected);
