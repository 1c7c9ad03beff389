// The command lines of analyze and check.
#pragma once
#include <string>
#include <vector>

#include "cli/cli_arguments.h"

// Parses arguments whose first is "analyze" or "check" into *request (command,
// analysis, setting_path, output_path for analyze -o, json). False with *error set to one line when they are not a
// valid command line.
bool ParseAnalysisArguments(const std::vector<std::string>& arguments, CliRequest* request, std::string* error);
