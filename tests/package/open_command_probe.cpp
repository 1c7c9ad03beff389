// Opens a .ton file the way the shell does and reports what the user then sees:
//   open_command_probe.exe "<command line>" <working folder>
// The command line is the registered open command with the file's path put in for %1. The
// probe runs it, answers a first start's language question with the preselected language,
// waits for the main window and prints its caption, whether the tone was created, and the
// rows of both lists (cells separated by tabs). Then it ends the program with File > Exit.
// Exit code 0 when all of that happened; otherwise 1 and a line that says what did not.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/sonaril_process.h"
#include "tests/e2e/window_probe.h"

namespace {

using namespace sonaril_e2e;

int Fail(const char* what) {
  std::fprintf(stderr, "open_command_probe: %s\n", what);
  return 1;
}

void PrintRows(HWND window, const char* list_name, int list_id, int columns) {
  const int rows = ListRowCount(window, list_id);
  for (int row = 0; row < rows; ++row) {
    std::string line = list_name;
    for (const std::wstring& cell : ListRow(window, list_id, row, columns)) line += "\t" + Narrow(cell);
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return Fail("usage: open_command_probe \"<command line>\" <working folder>");
  CSonarilProcess process;
  if (!process.StartCommandLine(Narrow(argv[2]), argv[1])) return Fail("the command did not start");

  const std::wstring language_caption = L"Choose Language";
  const std::wstring main_caption = L"Sonaril - Tone Generator";
  HWND window = nullptr;
  HWND language = nullptr;
  WaitFor([&] {
    window = process.FindWindowByCaption(main_caption);
    language = process.FindWindowByCaption(language_caption);
    return window != nullptr || language != nullptr || !process.IsRunning();
  });
  if (language != nullptr) {
    // Nothing installed keeps settings yet: the first start asks, preselecting the system's.
    PostMessageW(language, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    window = process.WaitForWindow(main_caption);
  }
  if (window == nullptr || !Barrier(window)) return Fail("no main window came up");

  std::printf("%s\n", Narrow(WindowText(window)).c_str());
  std::printf("tone created\t%s\n", IsEnabled(window, kPlay) ? "yes" : "no");
  PrintRows(window, "step", kStepList, 3);
  PrintRows(window, "tone", kToneList, 6);
  std::fflush(stdout);

  PostCommand(window, kFileExit);
  if (process.WaitForExit() == -1000) return Fail("the program did not end after File > Exit");
  return 0;
}
