// sonaril-cli render: a tone setting synthesised into an audio file.
#pragma once
#include "cli/command_definition.h"

extern const CommandDefinition kRenderCommand;
