// Reading the recording analyze and check are given, block by block, with the tool's
// messages.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/recording_blocks.h"
#include "analysis/recording_file.h"
#include "cli/analysis_request.h"
#include "digits/digit_receiver.h"

// Opens the recording. On failure writes the error line, sets *exit_code and returns false.
bool OpenRecordingFile(const AnalysisRequest& request, RecordingFile* file, std::FILE* err, int* exit_code);

// After reading: a file that promised more samples than it holds, or whose chosen channel is
// silent beside a louder one, gets a warning line.
void WarnAboutRecording(const AnalysisRequest& request, const Recording& layout, std::FILE* err);

// Writes the error line of a problem met while reading and returns the exit code.
int FailReading(const AnalysisRequest& request, const std::string& reason, std::FILE* err);

// Opens and analyses the recording block by block, handing each block to work; a file cut
// short is analysed as far as it goes.
bool ReadAndAnalyze(const AnalysisRequest& request, RecordingFile* file, RecordingAnalysis* analysis,
                    std::FILE* err, int* exit_code, const BlockWork& work = nullptr);

// Adds the digits heard in one block (read with its margins) that start in the block proper.
void HearDigitsInBlock(const std::vector<int16_t>& samples, const RecordingBlock& block, int32_t rate,
                       std::vector<HeardDigit>* digits);
