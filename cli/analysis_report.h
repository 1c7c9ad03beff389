// What `sonaril-cli analyze` tells about a recording, as text for people or JSON for
// scripts.
#pragma once
#include <string>

#include "analysis/analyze_recording.h"
#include "analysis/check_row_texts.h"
#include "analysis/recording.h"
#include "digits/digit_receiver.h"

// Multi-line text ending in a newline; recording_path is shown as given (UTF-8).
// digits are the DTMF and MF digits heard, reported after the steps.
std::string FormatAnalysisText(const std::string& recording_path, const Recording& recording,
                               const RecordingAnalysis& analysis, const std::vector<HeardDigit>& digits);
// One JSON object followed by a newline.
std::string FormatAnalysisJson(const std::string& recording_path, const Recording& recording,
                               const RecordingAnalysis& analysis, const std::vector<HeardDigit>& digits);
