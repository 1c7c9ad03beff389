#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "files/code_page.h"

// wmain receives the arguments as UTF-16, so file names in any script arrive intact.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    char* utf8 = ToMultiByte(argv[i], -1, kCodePageUtf8);
    if (utf8 == nullptr) {
      std::fputs("sonaril-cli: out of memory\n", stderr);
      return kExitFileError;
    }
    arguments.emplace_back(utf8);
    delete[] utf8;
  }
  // WAV and G.711 bytes must reach a pipe unchanged.
  _setmode(_fileno(stdout), _O_BINARY);
  return RunCli(arguments, stdout, stderr, _isatty(_fileno(stderr)) != 0);
}
