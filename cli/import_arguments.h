// The command line of `sonaril-cli import`, parsed into a plain request.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ImportRequest {
  std::string tone_string;
  std::string output_path;  // the .ton file to write (UTF-8)
  int32_t rate = 8000;      // Hz
  int32_t repeat = 1;       // cycles of a repeating string
  int32_t hold_ms = 2000;   // how long a part that lasts for ever is rendered
  bool has_level = false;   // --level PERCENT
  int32_t level_percent = 0;
  bool has_dbm0 = false;    // --dbm0 DB
  double dbm0 = 0.0;
};

// Parses the arguments after "import". False with *error set to one line (without a
// newline) when they are not a valid import command line.
bool ParseImportArguments(const std::vector<std::string>& arguments, ImportRequest* request,
                          std::string* error);
