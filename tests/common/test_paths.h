// Paths for tests: the shared test data folder and a private temporary folder per test.
#pragma once
#include <string>
#include <vector>

namespace sonaril_test {

// Absolute path of a file under tests/data, in the form the running platform opens
// (under Wine the Linux path is reached through drive Z:).
std::string TestDataPath(const std::string& relative);

// The seed and regression inputs of a fuzz target (tests/data/fuzz/<target> and
// tests/data/fuzz/regressions/<target>), sorted.
std::vector<std::string> FuzzCorpusFiles(const std::string& target);

// A fresh, empty folder that is removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // path() joined with a file name by the platform's separator.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Whole contents of a file as bytes; empty when it cannot be read.
std::string ReadAll(const std::string& path);
// Writes bytes to a file, replacing it; false when that fails.
bool WriteAll(const std::string& path, const std::string& bytes);

}  // namespace sonaril_test
