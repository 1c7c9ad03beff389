#include "fuzz/fuzz_input_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

std::string WriteFuzzInput(const char* tag, const uint8_t* data, size_t size) {
  const char* folder = std::getenv("TMPDIR");
  std::string path = folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
  path += "/sonaril-fuzz-" + std::string(tag) + "-" + std::to_string(getpid());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return std::string();
  bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return std::string();
  return path;
}
