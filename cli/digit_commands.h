// `sonaril-cli dtmf` and `mf`: the setting that sends a digit string, written as a .ton file.
#pragma once
#include "cli/command_definition.h"

extern const CommandDefinition kDtmfCommand;
extern const CommandDefinition kMfCommand;
