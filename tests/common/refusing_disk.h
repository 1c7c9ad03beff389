// A disk that takes a given number of bytes and refuses every write after them, or that
// refuses every close: the failures that come last. It stands in for the file calls while
// it exists; one at a time.
#pragma once
#include <cstdint>

#include "files/file_platform.h"

namespace sonaril_test {

class CRefusingDisk {
 public:
  CRefusingDisk(uint64_t accepted_bytes, bool refuse_close);
  ~CRefusingDisk();
  CRefusingDisk(const CRefusingDisk&) = delete;
  CRefusingDisk& operator=(const CRefusingDisk&) = delete;

 private:
  file_platform::WriteCalls saved_;
};

}  // namespace sonaril_test
