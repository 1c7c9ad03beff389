// Reading the recording analyze and check are given, with the tool's messages.
#pragma once
#include <cstdio>

#include "analysis/analyze_recording.h"
#include "analysis/recording.h"
#include "cli/analysis_request.h"

// Reads the recording. On failure writes the error line, sets *exit_code and returns
// false; a file that promised more samples than it holds, or whose chosen channel is silent
// beside a louder one, gets a warning line.
bool ReadRecordingFile(const AnalysisRequest& request, Recording* recording, std::FILE* err, int* exit_code);

// ReadRecordingFile, then the analysis; a file cut short is analysed as far as it goes.
bool ReadAndAnalyze(const AnalysisRequest& request, Recording* recording, RecordingAnalysis* analysis,
                    std::FILE* err, int* exit_code);
