// The command line of sonaril-cli, parsed into a plain request.
#pragma once
#include <string>
#include <vector>

#include "cli/analysis_request.h"
#include "cli/import_request.h"
#include "files/tone_export.h"

enum class CliCommand { Help, Version, Render, Info, Import, Analyze, Check };

// What the tool's own commands take from their line; a command with options of its own
// may keep them itself (see cli/command_definition.h).
struct CliRequest {
  CliCommand command = CliCommand::Help;
  std::string setting_path;  // the .ton file (UTF-8)
  std::string output_path;   // render: the file to write, "-" for standard output
  ExportFormat format = ExportFormat::Wave;
  bool json = false;         // info, analyze, check: JSON instead of text
  bool tone_string = false;  // info: the setting as a tone string
  ImportRequest import;      // import
  AnalysisRequest analysis;  // analyze and check
  bool error_is_terminal = false;  // standard error is a terminal: progress may show there
};

// Parses the arguments after the program name. False with *error set to one line
// (without a newline) when they are not a valid command line.
bool ParseCliArguments(const std::vector<std::string>& arguments, CliRequest* request,
                       std::string* error);

// The text --help prints: every command's usage and what it does.
std::string CliUsageText();
