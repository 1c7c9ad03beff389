#include "cli/cli_arguments.h"

#include "cli/analysis_arguments.h"

namespace {

bool ParseFormat(const std::string& name, ExportFormat* format) {
  if (name == "wav") *format = ExportFormat::Wave;
  else if (name == "mulaw") *format = ExportFormat::MuLaw;
  else if (name == "alaw") *format = ExportFormat::ALaw;
  else return false;
  return true;
}

}  // namespace

const char* CliUsageText() {
  return "Usage:\n"
         "  sonaril-cli render SETTING.ton -o OUT [--format wav|mulaw|alaw]\n"
         "  sonaril-cli info SETTING.ton [--json | --tone-string]\n"
         "  sonaril-cli import \"TONE STRING\" -o OUT.ton [--rate HZ] [--level PERCENT | --dbm0 DB]\n"
         "                     [--repeat N] [--hold MS]\n"
         "  sonaril-cli analyze RECORDING [--format wav|mulaw|alaw] [--rate HZ] [--json] [-o OUT.ton]\n"
         "  sonaril-cli check RECORDING SETTING.ton [--format wav|mulaw|alaw] [--rate HZ]\n"
         "        [--tolerance-frequency PCT] [--tolerance-cadence PCT|MS]\n"
         "        [--tolerance-level DB] [--absolute-levels] [--json]\n"
         "  sonaril-cli --help | --version\n"
         "\n"
         "render  synthesises the tone setting and writes it as a WAV file (16-bit mono PCM),\n"
         "        raw G.711 u-law or raw G.711 A-law; -o - writes to standard output.\n"
         "info    describes the setting: its values, steps, tones, length, and whether it\n"
         "        can be synthesised; --tone-string prints it as a tone string instead.\n"
         "import  writes the setting that renders a tone string such as \"440+480/2000,0/4000\"\n"
         "        (8000 Hz, repeat 1, a part without /DURATION held 2000 ms by default).\n"
         "analyze measures a recording (16-bit PCM WAV, or raw G.711 at --rate, default\n"
         "        8000 Hz): its sounding and silent runs, the cycle they repeat, the\n"
         "        frequencies and levels of every step, and the tone string heard; -o writes\n"
         "        the setting that renders it.\n"
         "check   compares a recording with what the setting renders and prints PASS or\n"
         "        FAIL. Defaults: frequency 1.5%, cadence 10% (at least 20 ms), level 3 dB,\n"
         "        levels relative to the loudest tone unless --absolute-levels. A cadence\n"
         "        tolerance is a percentage (10%) or milliseconds (40ms).\n"
         "\n"
         "Exit status: 0 success (check: PASS), 1 a file could not be read or written,\n"
         "or a recording holds no tone (analyze), 2 bad usage or a setting that cannot be\n"
         "synthesised, 3 check: FAIL.\n";
}

bool ParseCliArguments(const std::vector<std::string>& arguments, CliRequest* request,
                       std::string* error) {
  *request = CliRequest();
  if (arguments.empty()) {
    *error = "no command given (see sonaril-cli --help)";
    return false;
  }
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h" || command == "help") {
    request->command = CliCommand::Help;
    return true;
  }
  if (command == "--version") {
    request->command = CliCommand::Version;
    return true;
  }
  if (command == "import") {
    request->command = CliCommand::Import;
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    return ParseImportArguments(rest, &request->import, error);
  }
  if (command == "analyze" || command == "check") return ParseAnalysisArguments(arguments, request, error);
  if (command == "render") {
    request->command = CliCommand::Render;
  } else if (command == "info") {
    request->command = CliCommand::Info;
  } else {
    *error = "unknown command '" + command + "' (see sonaril-cli --help)";
    return false;
  }

  bool have_output = false;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    bool is_render = request->command == CliCommand::Render;
    if (is_render && (argument == "-o" || argument == "--output" || argument == "--format")) {
      if (i + 1 >= arguments.size()) {
        *error = "option " + argument + " needs a value";
        return false;
      }
      const std::string& value = arguments[++i];
      if (argument == "--format") {
        if (!ParseFormat(value, &request->format)) {
          *error = "unknown format '" + value + "' (use wav, mulaw or alaw)";
          return false;
        }
      } else {
        request->output_path = value;
        have_output = true;
      }
    } else if (!is_render && argument == "--json") {
      request->json = true;
    } else if (!is_render && argument == "--tone-string") {
      request->tone_string = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      *error = "unknown option '" + argument + "' for " + command;
      return false;
    } else if (request->setting_path.empty()) {
      request->setting_path = argument;
    } else {
      *error = "more than one setting file given ('" + argument + "')";
      return false;
    }
  }
  if (request->setting_path.empty()) {
    *error = command + " needs a setting file";
    return false;
  }
  if (request->json && request->tone_string) {
    *error = "info takes --json or --tone-string, not both";
    return false;
  }
  if (request->command == CliCommand::Render && (!have_output || request->output_path.empty())) {
    *error = "render needs an output file: -o OUT (or -o - for standard output)";
    return false;
  }
  return true;
}
