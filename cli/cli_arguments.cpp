#include "cli/cli_arguments.h"

#include <algorithm>

#include "cli/cli_commands.h"
#include "cli/command_definition.h"
#include "config/product_version.h"

namespace {

constexpr size_t kNameColumn = 8;      // the overview's command names
constexpr size_t kOptionColumn = 30;   // a command's option descriptions
constexpr size_t kHelpWidth = 80;

std::string HelpPointer(const std::string& command) {
  return " (see sonaril-cli " + command + " --help)";
}

// text with every line after the first indented by `indent` spaces.
std::string Indented(const std::string& text, size_t indent) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '\n') out.append(indent, ' ');
  }
  return out;
}

// The synopsis's usage lines, each form after "sonaril-cli ", continuation lines as written.
std::string UsageLines(const std::string& synopsis) {
  std::string out;
  size_t start = 0;
  while (start < synopsis.size()) {
    size_t end = synopsis.find('\n', start);
    if (end == std::string::npos) end = synopsis.size();
    const std::string line = synopsis.substr(start, end - start);
    out += (line[0] == ' ' ? "  " : "  sonaril-cli ") + line + "\n";
    start = end + 1;
  }
  return out;
}

// text broken into lines of at most width at spaces, every line after the first indented.
std::string Wrapped(const std::string& text, size_t width, size_t indent) {
  std::string out;
  size_t line = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (line > 0 && line + 1 + word.size() > width) {
      out += "\n" + std::string(indent, ' ');
      line = 0;
    } else if (line > 0) {
      out += ' ';
      ++line;
    }
    out += word;
    line += word.size();
    start = end + 1;
  }
  return out;
}

std::string OptionNames(const CLI::Option& option) {
  std::string names;
  for (const std::string& name : option.get_snames()) names += (names.empty() ? "-" : ", -") + name;
  for (const std::string& name : option.get_lnames()) names += (names.empty() ? "--" : ", --") + name;
  if (option.get_type_size() != 0) names += " " + option.get_type_name();
  return names;
}

std::string CommandHelp(const CommandDefinition& command, const CLI::App& app) {
  std::string out = "Usage:\n" + UsageLines(command.synopsis) + "\n";
  out += std::string(command.description) + "\n\nOptions:\n";
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_positional()) continue;
    std::string names = "  " + OptionNames(*option);
    if (names.size() + 2 > kOptionColumn) names += "\n" + std::string(kOptionColumn, ' ');
    else names.append(kOptionColumn - names.size(), ' ');
    out += names + Wrapped(option->get_description(), kHelpWidth - kOptionColumn, kOptionColumn) + "\n";
  }
  return out;
}

CommandRunner Print(std::string text) {
  return [text](std::FILE* out, std::FILE*) {
    std::fputs(text.c_str(), out);
    return kExitSuccess;
  };
}

// The one line CLI11's refusal becomes: the option that lacks its value, or CLI11's reason.
std::string RefusalLine(const CLI::ParseError& refusal, const std::string& command) {
  std::string reason = refusal.what();
  std::replace(reason.begin(), reason.end(), '\n', ' ');
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&refusal) != nullptr) {
    const std::string option = reason.substr(0, reason.find(':'));
    return "option " + option + " needs a value for " + command + HelpPointer(command);
  }
  return reason;
}

bool ParseCommand(const CommandDefinition& definition, const std::vector<std::string>& arguments,
                  CliRequest* request, CommandRunner* run, std::string* error) {
  CLI::App app("", std::string("sonaril-cli ") + definition.name);
  app.allow_windows_style_options(false);
  app.allow_extras();
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.set_help_flag("-h,--help", "show this help and exit");
  const std::string name = definition.name;
  // Before the command's own checks, so that a misspelt option is what the user hears of.
  app.parse_complete_callback([&app, &name] {
    for (const std::string& extra : app.remaining()) {
      if (extra.size() > 1 && extra[0] == '-') RefuseLine("unknown option '" + extra + "' for " + name + HelpPointer(name));
    }
  });
  *run = definition.declare(&app, request);
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend() - 1);
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    *run = Print(CommandHelp(definition, app));
  } catch (const CLI::ParseError& refusal) {
    *error = RefusalLine(refusal, name);
    return false;
  }
  return true;
}

}  // namespace

void RefuseLine(const std::string& reason) { throw CLI::ValidationError(reason); }

std::string CliUsageText() {
  std::string out = "Usage:\n";
  for (const CommandDefinition& command : CommandList()) out += UsageLines(command.synopsis);
  out += "  sonaril-cli --help | --version\n  sonaril-cli COMMAND --help\n\n";
  for (const CommandDefinition& command : CommandList()) {
    std::string name = command.name;
    name.append(name.size() < kNameColumn ? kNameColumn - name.size() : 1, ' ');
    out += name + Indented(command.description, kNameColumn) + "\n";
  }
  out += "\n"
         "Exit status: 0 success (check: PASS), 1 a file could not be read or written,\n"
         "or a recording holds no tone (analyze), 2 bad usage or a setting that cannot be\n"
         "synthesised, 3 check: FAIL, 4 check: too short to judge.\n";
  return out;
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CliRequest* request, CommandRunner* run,
                      std::string* error) {
  *request = CliRequest();
  if (arguments.empty()) {
    *error = "no command given (see sonaril-cli --help)";
    return false;
  }
  const std::string& first = arguments[0];
  if (first == "--help" || first == "-h" || first == "help") {
    request->command = CliCommand::Help;
    *run = Print(CliUsageText());
    return true;
  }
  if (first == "--version") {
    request->command = CliCommand::Version;
    *run = Print(std::string("sonaril-cli ") + kProductVersion + "\n");
    return true;
  }
  for (const CommandDefinition& definition : CommandList()) {
    if (first == definition.name) return ParseCommand(definition, arguments, request, run, error);
  }
  *error = "unknown command '" + first + "' (see sonaril-cli --help)";
  return false;
}

bool ParseCliArguments(const std::vector<std::string>& arguments, CliRequest* request, std::string* error) {
  CommandRunner run;
  return ParseCommandLine(arguments, request, &run, error);
}
