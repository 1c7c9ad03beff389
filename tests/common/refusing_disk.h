// A disk that takes a given number of bytes and then refuses every further write, or that
// refuses the close: for the failures that come last, after everything else has worked.
// Stands in for the file calls while it exists; one at a time, on one thread.
#pragma once
#include <cstdint>

#include "files/file_platform.h"

namespace sonaril_test {

class CRefusingDisk {
 public:
  // accepted_bytes: how many bytes of writes succeed before the disk is full.
  // refuse_close: every close reports a failure (the file is still closed).
  CRefusingDisk(uint64_t accepted_bytes, bool refuse_close);
  ~CRefusingDisk();
  CRefusingDisk(const CRefusingDisk&) = delete;
  CRefusingDisk& operator=(const CRefusingDisk&) = delete;

  // Writes and closes refused so far.
  static int refusals();

 private:
  file_platform::WriteCalls saved_;
};

}  // namespace sonaril_test
