#include "tests/cli/cli_run.h"

#include <cstdio>

#include "cli/cli_commands.h"

namespace sonaril_test {

CliRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments, bool error_is_terminal) {
  std::string out_path = dir.File("stdout.bin");
  std::string err_path = dir.File("stderr.txt");
  std::FILE* out = std::fopen(out_path.c_str(), "wb");
  std::FILE* err = std::fopen(err_path.c_str(), "wb");
  CliRun run;
  run.exit_code = RunCli(arguments, out, err, error_is_terminal);
  std::fclose(out);
  std::fclose(err);
  run.out = ReadAll(out_path);
  run.err = ReadAll(err_path);
  return run;
}

std::string ExamplePath(const std::string& name) { return TestDataPath("../../examples/" + name); }

}  // namespace sonaril_test
