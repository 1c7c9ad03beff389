// Reading the recording analyze and check are given, with the tool's messages.
#pragma once
#include <cstdio>

#include "analysis/analyze_recording.h"
#include "analysis/recording.h"
#include "cli/analysis_request.h"

// Reads the recording. On failure writes the error line, sets *exit_code and returns
// false; a file that promised more samples than it holds gets a warning line.
bool ReadRecordingFile(const AnalysisRequest& request, Recording* recording, std::FILE* err, int* exit_code);

// Reads and analyses the recording. On failure writes the error line, sets *exit_code and
// returns false; a file that promised more samples than it holds gets a warning line and
// is analysed as far as it goes.
bool ReadAndAnalyze(const AnalysisRequest& request, Recording* recording, RecordingAnalysis* analysis,
                    std::FILE* err, int* exit_code);
