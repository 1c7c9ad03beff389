// One command of sonaril-cli as its own file declares it: its usage, its options on a CLI11
// sub-command, and what runs it once the line has parsed. A new command is one such file and
// one line in cli/command_list.cpp.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/cli_arguments.h"

using CommandRunner = std::function<int(std::FILE* out, std::FILE* err)>;

struct CommandDefinition {
  const char* name;
  const char* synopsis;     // usage lines after "sonaril-cli "; a line that starts with spaces continues the one before
  const char* description;  // a paragraph for --help, lines of at most 80 characters
  // Declares the command's arguments and options on `command`, bound to *request or to
  // state the command keeps itself, and returns what runs it. Checks across options go
  // into the command's callback and refuse the line through RefuseLine.
  CommandRunner (*declare)(CLI::App* command, CliRequest* request);
};

// Every command, in the order --help lists them.
const std::vector<CommandDefinition>& CommandList();

// Refuses the command line being parsed, with one line (without a newline) for the user.
[[noreturn]] void RefuseLine(const std::string& reason);

// Parses the arguments after the program name: *request gets what the existing commands
// take, *run what carries the line out (help and version included). False with *error set
// to one line (without a newline) when they are not a valid command line.
bool ParseCommandLine(const std::vector<std::string>& arguments, CliRequest* request, CommandRunner* run,
                      std::string* error);
