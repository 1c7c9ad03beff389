// "Check Recording": a recording measured against the current setting the way
// `sonaril-cli check` does it, with the rows that command prints. Portable.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "analysis/tone_check.h"
#include "synth/tone_setting.h"

// A step row (step numbers and kind set) or a tone row below it (both empty).
struct CheckRow {
  std::string step, kind, expected, heard, result;
  bool ok = true;  // false: this row fails the check
};

struct RecordingCheck {
  // One line when the recording could not be checked (unreadable, no tone, a setting that
  // cannot be synthesised); the rest is then empty.
  std::wstring problem;
  bool pass = false;
  // "PASS", "FAIL", or "too short to judge: record at least N s" (some step never measured).
  std::wstring verdict;
  std::string tolerances;  // "frequency 1.50 %, cadence 10.0 % (at least 20 ms), level 3.0 dB"
  std::string levels;      // how levels were compared
  std::vector<CheckRow> rows;
  std::string report;      // the whole report as text, as check prints it
};

// Raw G.711 by extension (.ul, .mu, .mulaw, .ulaw; .al, .alaw), a WAV file otherwise.
RecordingEncoding RecordingEncodingFor(const std::filesystem::path& recording);

// The rows of a comparison, as check prints them.
std::vector<CheckRow> CheckRows(const CheckResult& result);

// Checks the recording against setting with the default tolerances; raw G.711 is read at
// the setting's sampling frequency. setting_name names the setting in the report.
RecordingCheck CheckRecording(ToneSetting& setting, const std::string& setting_name,
                              const std::filesystem::path& recording, int32_t language);
