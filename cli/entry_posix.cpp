#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return RunCli(arguments, stdout, stderr, isatty(STDERR_FILENO) != 0);
}
