// Shared helpers of the configuration tests: folders to start the program in,
// and every setting of a configuration as comparable text.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "config/app_parameter.h"
#include "files/string.h"
#include "tests/common/test_paths.h"

namespace sonaril_test {

// The bytes of a string, or "" when it holds none.
std::string Text(const CString& text);

// Every key of the config file with the value the configuration holds for it,
// colours as "color<i>.text" and "color<i>.background".
using Settings = std::map<std::string, std::string>;
Settings SettingsOf(const CAppParameter& config);

// The process works in folder while the object lives; ok() tells whether the
// change succeeded.
class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::string& folder);
  ~ScopedWorkingDirectory();
  ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
  ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;
  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

// A fresh working directory "work" and a stand-in for the executable's folder
// "program"; the process works in "work" while the object lives.
class StartFolders {
 public:
  StartFolders();
  const std::string& work() const { return work_; }
  const std::string& program() const { return program_; }
  std::string WorkConfigFile() const;
  std::string ProgramConfigFile() const;
  // A configuration constructed here whose executable lies in "program", started
  // as the program starts it (Setup, then Load).
  std::unique_ptr<CAppParameter> Start() const;
  // The same, without Load.
  std::unique_ptr<CAppParameter> SetUp() const;

 private:
  TempDir root_;
  std::string work_;
  std::string program_;
  std::unique_ptr<ScopedWorkingDirectory> working_;
};

// The path of name inside folder, joined by the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// The declaration line of every config file.
constexpr char kDeclaration[] = "<?xml version=\"1.0\" ?>\r\n";

}  // namespace sonaril_test
