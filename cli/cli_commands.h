// sonaril-cli's commands, callable in-process so tests can run them.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Exit codes of the tool.
constexpr int kExitSuccess = 0;
constexpr int kExitFileError = 1;   // a file could not be read or written
constexpr int kExitUsageError = 2;  // bad usage, or a setting that cannot be synthesised
constexpr int kExitCheckFailed = 3; // check: the recording does not match the setting
constexpr int kExitTooShort = 4;    // check: some step was never measured

// Runs the tool on the arguments after the program name (UTF-8). Reports and data go to
// out, every error as one line to err; progress too when err is a terminal.
int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err,
           bool error_is_terminal = false);
