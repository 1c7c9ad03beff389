#include "cli/cli_commands.h"

#include "cli/cli_support.h"
#include "cli/command_definition.h"

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  CliRequest request;
  CommandRunner run;
  std::string error;
  if (!ParseCommandLine(arguments, &request, &run, &error)) return Fail(err, kExitUsageError, "", error);
  return run(out, err);
}
