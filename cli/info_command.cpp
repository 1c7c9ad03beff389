#include "cli/info_command.h"

#include <memory>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/setting_report.h"
#include "cli/tone_string_commands.h"

namespace {

int RunInfo(const CliRequest& request, std::FILE* out, std::FILE* err) {
  ToneSetting setting;
  int exit_code = kExitSuccess;
  if (!LoadSetting(request.setting_path, &setting, err, &exit_code)) return exit_code;
  if (request.tone_string) return PrintToneString(request.setting_path, setting, out, err);
  SettingFacts facts = InspectSetting(setting);
  std::string report = request.json ? FormatSettingJson(request.setting_path, setting, facts)
                                    : FormatSettingText(request.setting_path, setting, facts);
  std::fputs(report.c_str(), out);
  return kExitSuccess;
}

CommandRunner DeclareInfo(CLI::App* command, CliRequest* request) {
  request->command = CliCommand::Info;
  auto settings = std::make_shared<std::vector<std::string>>();
  command->add_option("settings", *settings, "the tone setting to describe");
  command->add_flag("--json", request->json, "the description as one JSON object");
  command->add_flag("--tone-string", request->tone_string, "only the setting as a tone string");
  command->callback([request, settings] {
    if (settings->empty()) RefuseLine("info needs a setting file");
    if (settings->size() > 1) RefuseLine("more than one setting file given ('" + (*settings)[1] + "')");
    request->setting_path = settings->front();
    if (request->json && request->tone_string) RefuseLine("info takes --json or --tone-string, not both");
  });
  return [request](std::FILE* out, std::FILE* err) { return RunInfo(*request, out, err); };
}

}  // namespace

const CommandDefinition kInfoCommand = {
    "info",
    "info SETTING.ton [--json | --tone-string]",
    "describes the setting: its values, steps, tones, length, and whether it\n"
    "can be synthesised; --tone-string prints it as a tone string instead.",
    DeclareInfo,
};
