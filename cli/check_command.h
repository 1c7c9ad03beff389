// sonaril-cli check: a recording against what a tone setting renders.
#pragma once
#include <cstdio>

#include "cli/cli_arguments.h"

// Exit 0 on PASS, 3 on FAIL, 1 when a file cannot be read, 2 when the setting cannot be
// synthesised.
int RunCheck(const CliRequest& request, std::FILE* out, std::FILE* err);
