// Running sonaril-cli in-process in the tests, with its two streams caught in files.
#pragma once
#include <string>
#include <vector>

#include "tests/common/test_paths.h"

namespace sonaril_test {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// error_is_terminal: the tool is told its standard error is a terminal.
CliRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments, bool error_is_terminal = false);

// An example setting under examples/.
std::string ExamplePath(const std::string& name);

}  // namespace sonaril_test
