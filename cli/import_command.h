// sonaril-cli import: the setting that renders a tone string.
#pragma once
#include "cli/command_definition.h"

extern const CommandDefinition kImportCommand;
