#include "tests/common/refusing_disk.h"

namespace sonaril_test {

namespace {

file_platform::WriteCalls real_calls;
uint64_t bytes_left = 0;
bool close_refused = false;

bool WriteUntilFull(intptr_t handle, const void* buffer, uint32_t count, uint32_t* done) {
  // As a full disk does: what fits is written, the rest refused.
  const uint32_t fits = count > bytes_left ? static_cast<uint32_t>(bytes_left) : count;
  const bool written = real_calls.write_bytes(handle, buffer, fits, done);
  bytes_left -= *done;
  return written && fits == count;
}

bool CloseAndRefuse(intptr_t handle) { return real_calls.close_file(handle) && !close_refused; }

}  // namespace

CRefusingDisk::CRefusingDisk(uint64_t accepted_bytes, bool refuse_close)
    : saved_(file_platform::CurrentWriteCalls()) {
  real_calls = saved_;
  bytes_left = accepted_bytes;
  close_refused = refuse_close;
  file_platform::CurrentWriteCalls() = {WriteUntilFull, CloseAndRefuse};
}

CRefusingDisk::~CRefusingDisk() { file_platform::CurrentWriteCalls() = saved_; }

}  // namespace sonaril_test
