#include "cli/analyze_command.h"
#include "cli/check_command.h"
#include "cli/command_definition.h"
#include "cli/import_command.h"
#include "cli/info_command.h"
#include "cli/render_command.h"

const std::vector<CommandDefinition>& CommandList() {
  static const std::vector<CommandDefinition> commands = {
      kRenderCommand, kInfoCommand, kImportCommand, kAnalyzeCommand, kCheckCommand,
  };
  return commands;
}
