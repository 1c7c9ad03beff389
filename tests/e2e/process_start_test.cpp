// Starting the programs under test: only a start that Wine itself failed is tried again.
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/sonaril_process.h"

namespace sonaril_e2e {
namespace {

TEST(ProcessStart, OnlyAStartThatWineFailedIsTriedAgain) {
  const DWORD wine = ERROR_INTERNAL_ERROR;
  struct Case {
    std::vector<DWORD> errors;  // what each CreateProcessW answers in turn; 0: it started
    size_t attempts;
  } cases[] = {
      {{0}, 1},
      {{wine, wine, 0}, 3},
      {std::vector<DWORD>(kStartAttempts + 1, wine), kStartAttempts},
      {{ERROR_FILE_NOT_FOUND, 0}, 1},
      {{wine, ERROR_BAD_EXE_FORMAT, 0}, 2},
  };
  for (const Case& c : cases) {
    size_t calls = 0;
    PROCESS_INFORMATION info = {};
    const bool started = StartRetryingWineFailures(
        [&](PROCESS_INFORMATION*, DWORD* error) { return (*error = c.errors[calls++]) == 0; },
        &info);
    EXPECT_EQ(calls, c.attempts);
    EXPECT_EQ(started, c.errors[calls - 1] == 0) << calls;
  }
  // A program that starts and then fails is the program's failure: its exit code comes back.
  EXPECT_EQ(RunToEnd(CliExePath(), L"render"), 2);
}

}  // namespace
}  // namespace sonaril_e2e
