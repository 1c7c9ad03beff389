// A configuration object for one test: its config file lies in a private
// temporary folder, and it is published as the program's configuration while
// the object lives.
#pragma once
#include <string>

#include "app/app_config.h"
#include "tests/common/test_paths.h"

namespace sonaril_test {

class CTestConfig {
 public:
  CTestConfig() {
    config.Setup();
    config.ini_file.Assign(folder.File("Sonaril.ini").c_str());
    previous_ = app_config;
    app_config = &config;
  }
  ~CTestConfig() { app_config = previous_; }
  CTestConfig(const CTestConfig&) = delete;
  CTestConfig& operator=(const CTestConfig&) = delete;

  std::string FileText() const { return ReadAll(folder.File("Sonaril.ini")); }
  bool FileExists() const { return !FileText().empty(); }
  // The stored language as a fresh configuration reads it from the file.
  int StoredLanguage() const {
    CAppParameter reader;
    reader.ini_file.Assign(folder.File("Sonaril.ini").c_str());
    return reader.Load() ? reader.language : -99;
  }

  TempDir folder;
  CAppParameter config;

 private:
  CAppParameter* previous_;
};

}  // namespace sonaril_test
