#include "cli/cli_support.h"

#include "cli/cli_commands.h"
#include "files/file.h"
#include "files/tone_file.h"

int Fail(std::FILE* err, int code, const std::string& subject, const std::string& reason) {
  if (subject.empty()) std::fprintf(err, "sonaril-cli: %s\n", reason.c_str());
  else std::fprintf(err, "sonaril-cli: %s: %s\n", subject.c_str(), reason.c_str());
  return code;
}

bool LoadSetting(const std::string& path, ToneSetting* setting, std::FILE* err, int* exit_code) {
  WidePath wide(path);
  CFile probe;
  if (wide.get() == nullptr || !probe.OpenRead(wide.get())) {
    *exit_code = Fail(err, kExitFileError, path, "cannot be opened for reading");
    return false;
  }
  bool empty = probe.size == 0;
  probe.Close();
  if (empty) {
    *exit_code = Fail(err, kExitFileError, path, "is empty");
    return false;
  }
  if (!LoadToneSetting(*setting, wide.get())) {
    *exit_code = Fail(err, kExitFileError, path,
                      "is not a tone setting file (no XML declaration or no element)");
    return false;
  }
  return true;
}
