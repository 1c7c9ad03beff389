// What `sonaril-cli check` prints: one row per step with the expected and heard length,
// one row per tone with frequency and level, each with ok or the difference, then PASS
// or FAIL; or the same as JSON.
#pragma once
#include <string>

#include "analysis/tone_check.h"

std::string FormatCheckText(const std::string& recording_path, const std::string& setting_path,
                            const CheckTolerances& tolerances, const CheckResult& result);
std::string FormatCheckJson(const std::string& recording_path, const std::string& setting_path,
                            const CheckTolerances& tolerances, const CheckResult& result);
