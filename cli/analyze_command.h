// sonaril-cli analyze: what a recording holds, as text or JSON. Exit 0 when a tone was
// heard (and, with -o, its setting written), 1 when the recording cannot be read or holds
// none or the setting cannot be written, 2 when what was heard is no setting (ramps, or
// values a setting cannot hold).
#pragma once
#include "cli/command_definition.h"

extern const CommandDefinition kAnalyzeCommand;
