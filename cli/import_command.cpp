#include "cli/import_command.h"

#include <memory>

#include "cli/number_arguments.h"
#include "cli/tone_string_commands.h"

namespace {

// The values as given, read once the whole line is known.
struct ImportValues {
  std::vector<std::string> strings;
  std::string rate, repeat, hold, level, dbm0;
};

void ReadWhole(const CLI::App& command, const std::string& option, const std::string& text, int32_t* value) {
  if (command.count(option) > 0 && !ReadWholeNumber(text, value)) {
    RefuseLine(option + " needs a whole number, not '" + text + "'");
  }
}

void ReadImport(const CLI::App& command, const ImportValues& given, ImportRequest* request) {
  if (given.strings.size() > 1) {
    RefuseLine("more than one tone string given ('" + given.strings[1] + "'); quote the string");
  }
  ReadWhole(command, "--rate", given.rate, &request->rate);
  ReadWhole(command, "--repeat", given.repeat, &request->repeat);
  ReadWhole(command, "--hold", given.hold, &request->hold_ms);
  request->has_level = command.count("--level") > 0;
  if (request->has_level && (!ReadWholeNumber(given.level, &request->level_percent) ||
                             request->level_percent < 1 || request->level_percent > 100)) {
    RefuseLine("--level needs a whole percent from 1 to 100, not '" + given.level + "'");
  }
  request->has_dbm0 = command.count("--dbm0") > 0;
  if (request->has_dbm0 && !ReadDecimal(given.dbm0, &request->dbm0)) {
    RefuseLine("--dbm0 needs a level in dBm0 such as -13, not '" + given.dbm0 + "'");
  }
  if (given.strings.empty()) RefuseLine("import needs a tone string, such as \"440+480/2000,0/4000\"");
  request->tone_string = given.strings.front();
  if (request->output_path.empty()) RefuseLine("import needs an output file: -o OUT.ton");
  if (request->has_level && request->has_dbm0) RefuseLine("give the level with --level or with --dbm0, not both");
}

CommandRunner DeclareImport(CLI::App* command, CliRequest* request) {
  request->command = CliCommand::Import;
  auto given = std::make_shared<ImportValues>();
  ImportRequest* import = &request->import;
  command->add_option("tone-string", given->strings, "the tone string, quoted");
  command->add_option("-o,--output", import->output_path, "the tone setting file to write")->type_name("OUT.ton");
  command->add_option("--rate", given->rate, "sampling frequency in Hz (default 8000)")->type_name("HZ");
  command->add_option("--level", given->level, "level of every tone in percent of full scale")
      ->type_name("PERCENT");
  command->add_option("--dbm0", given->dbm0, "level of every tone in dBm0")->type_name("DB");
  command->add_option("--repeat", given->repeat, "cycles of a repeating string (default 1)")->type_name("N");
  command->add_option("--hold", given->hold, "how long a part without /DURATION lasts (default 2000)")
      ->type_name("MS");
  command->callback([command, import, given] { ReadImport(*command, *given, import); });
  return [import](std::FILE*, std::FILE* err) { return ImportToneString(*import, err); };
}

}  // namespace

const CommandDefinition kImportCommand = {
    "import",
    "import \"TONE STRING\" -o OUT.ton [--rate HZ] [--level PERCENT | --dbm0 DB]\n"
    "                   [--repeat N] [--hold MS]",
    "writes the setting that renders a tone string such as \"440+480/2000,0/4000\"\n"
    "(8000 Hz, repeat 1, a part without /DURATION held 2000 ms by default).",
    DeclareImport,
};
