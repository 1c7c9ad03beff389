// sonaril-cli check: a recording against what a tone setting renders. Exit 0 on PASS, 3 on
// FAIL, 1 when a file cannot be read, 2 when the setting cannot be synthesised.
#pragma once
#include "cli/command_definition.h"

extern const CommandDefinition kCheckCommand;
