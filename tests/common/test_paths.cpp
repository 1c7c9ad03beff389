#include "tests/common/test_paths.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace sonaril_test {

std::string TestDataPath(const std::string& relative) {
  const char* root = std::getenv("SONARIL_TEST_DATA");
  std::string base = root ? root : "tests/data";
#ifdef _WIN32
  if (!base.empty() && base[0] == '/') base = "Z:" + base;
#endif
  return base + "/" + relative;
}

std::vector<std::string> FuzzCorpusFiles(const std::string& target) {
  std::vector<std::string> files;
  for (const std::string& folder : {"fuzz/" + target, "fuzz/regressions/" + target}) {
    const fs::path path = fs::u8path(TestDataPath(folder));
    std::error_code error;
    if (!fs::is_directory(path, error)) continue;
    for (const auto& entry : fs::directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path().u8string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

TempDir::TempDir() {
  // Test processes run side by side, so names must differ between processes too;
  // create_directory answers false for a folder that exists already.
  static std::atomic<int> counter{0};
  static std::random_device random;
  fs::path dir;
  do {
    std::ostringstream name;
    name << "sonaril-test-" << random() << "-" << counter++;
    dir = fs::temp_directory_path() / name.str();
  } while (!fs::create_directory(dir));
  path_ = dir.u8string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(fs::u8path(path_), ignored);
}

std::string TempDir::File(const std::string& name) const {
  return (fs::u8path(path_) / fs::u8path(name)).u8string();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace sonaril_test
