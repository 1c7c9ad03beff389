// Starting the programs under test: only a start that Wine itself failed is tried again.
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/sonaril_process.h"

namespace sonaril_e2e {
namespace {

struct StartCase {
  const char* name;
  std::vector<DWORD> errors;  // what each CreateProcessW answers in turn; 0: it started
  bool started;
  size_t attempts;
};

TEST(ProcessStart, OnlyAStartThatWineFailedIsTriedAgain) {
  const StartCase cases[] = {
      {"started at once", {0}, true, 1},
      {"Wine failed twice", {ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR, 0}, true, 3},
      {"Wine failed every time", std::vector<DWORD>(kStartAttempts + 1, ERROR_INTERNAL_ERROR),
       false, kStartAttempts},
      {"no such program", {ERROR_FILE_NOT_FOUND, 0}, false, 1},
      {"not a program", {ERROR_BAD_EXE_FORMAT, 0}, false, 1},
      {"Wine failed, then no such program", {ERROR_INTERNAL_ERROR, ERROR_FILE_NOT_FOUND, 0}, false, 2},
  };
  for (const StartCase& c : cases) {
    size_t calls = 0;
    PROCESS_INFORMATION info = {};
    const bool started = StartRetryingWineFailures(
        [&](PROCESS_INFORMATION* started_info, DWORD* error) {
          *error = c.errors[calls++];
          if (*error != 0) return false;
          started_info->dwProcessId = 42;
          return true;
        },
        &info);
    EXPECT_EQ(started, c.started) << c.name;
    EXPECT_EQ(calls, c.attempts) << c.name;
    EXPECT_EQ(info.dwProcessId, c.started ? 42u : 0u) << c.name;
  }
}

// A program that starts and then fails is the program's failure: its exit code comes back.
TEST(ProcessStart, AProgramThatFailsIsNotStartedAgain) {
  EXPECT_EQ(RunToEnd(CliExePath(), L"render"), 2);
  EXPECT_EQ(RunToEnd(CliExePath(), L"render Z:\\no\\such\\file.ton -o Z:\\tmp\\x.wav"), 1);
  EXPECT_EQ(RunToEnd(L"Z:\\no\\such\\program.exe", L""), -1000);
}

}  // namespace
}  // namespace sonaril_e2e
