// check for a setting made by `dtmf` or `mf`: the digits heard against the digits it sends.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "cli/analysis_request.h"
#include "digits/digit_check.h"
#include "synth/tone_setting.h"

// The digits the setting sends, as often as it repeats; false for a setting that sends no
// digits (it is checked as a tone).
bool ReadSettingDigits(const ToneSetting& setting, std::vector<ExpectedDigit>* expected);

// Reads the recording, hears its digits, compares them and writes the report (text, or JSON
// when json) to out. Returns kExitSuccess for PASS, kExitCheckFailed for FAIL, or the exit
// code of a recording that cannot be read (its error line on err).
int CheckRecordedDigits(const std::vector<ExpectedDigit>& expected, const std::string& setting_path,
                        const AnalysisRequest& request, bool json, std::FILE* out, std::FILE* err);
