#include "cli/cli_commands.h"

#include "cli/cli_support.h"
#include "cli/command_definition.h"

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err, bool error_is_terminal) {
  CliRequest request;
  CommandRunner run;
  std::string error;
  if (!ParseCommandLine(arguments, &request, &run, &error)) return Fail(err, kExitUsageError, "", error);
  request.error_is_terminal = error_is_terminal;
  return run(out, err);
}
