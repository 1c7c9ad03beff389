// What `sonaril-cli import` is asked to do.
#pragma once
#include <cstdint>
#include <string>

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
