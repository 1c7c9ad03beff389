#include "cli/cli_commands.h"

#include "cli/cli_support.h"
#include "cli/command_definition.h"

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err, bool error_is_terminal) {
  CliRequest request;
  CommandRunner run;
  std::string error;
  if (!ParseCommandLine(arguments, &request, &run, &error)) return Fail(err, kExitUsageError, "", error);
  request.error_is_terminal = error_is_terminal;
  const int code = run(out, err);
  // A report or data lost on a full disk or a closed pipe must not pass for success (a
  // file error has been reported already).
  const bool written = std::fflush(out) == 0 && std::ferror(out) == 0;
  if (!written && code != kExitFileError) return Fail(err, kExitFileError, "standard output", "could not be written");
  return code;
}
