// sonaril-cli analyze: what a recording holds, as text or JSON.
#pragma once
#include <cstdio>

#include "cli/cli_arguments.h"

// Exit 0 when a tone was heard, 1 when the recording cannot be read or holds none.
int RunAnalyze(const CliRequest& request, std::FILE* out, std::FILE* err);
