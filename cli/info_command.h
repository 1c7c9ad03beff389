// sonaril-cli info: what a tone setting holds, as text, JSON or a tone string.
#pragma once
#include "cli/command_definition.h"

extern const CommandDefinition kInfoCommand;
