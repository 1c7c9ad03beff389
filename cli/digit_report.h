// The digits part of `analyze` and `check`: the DTMF and MF digits heard, and the comparison
// with the digits a setting sends, as text for people or JSON for scripts.
#pragma once
#include <string>
#include <vector>

#include "analysis/tone_check.h"
#include "cli/json_report.h"
#include "digits/digit_check.h"
#include "digits/digit_receiver.h"

// "Digits: ..." and a row per digit (start, length, both frequencies with their deviation
// and level, the twist); ends in a newline.
std::string FormatDigitsText(const std::vector<HeardDigit>& digits);
// {"string": "5551234#", "heard": [{"digit": "5", "system": "DTMF", "start_ms": ...}, ...]}.
JsonValue DigitsJson(const std::vector<HeardDigit>& digits);

// The check of a digit setting: a row per digit expected or heard, then PASS or FAIL.
std::string FormatDigitCheckText(const std::string& recording_path, const std::string& setting_path,
                                 const CheckTolerances& tolerances, const std::vector<ExpectedDigit>& expected,
                                 const std::vector<HeardDigit>& heard, const DigitCheck& check);
std::string FormatDigitCheckJson(const std::string& recording_path, const std::string& setting_path,
                                 const CheckTolerances& tolerances, const std::vector<ExpectedDigit>& expected,
                                 const std::vector<HeardDigit>& heard, const DigitCheck& check);
