#include "tests/common/refusing_disk.h"

namespace sonaril_test {

namespace {

file_platform::WriteCalls real_calls;
uint64_t bytes_left = 0;
bool close_refused = false;
int refusal_count = 0;

bool WriteUntilFull(intptr_t handle, const void* buffer, uint32_t count, uint32_t* done) {
  if (count > bytes_left) {
    // As a full disk does: what fits is written, the rest is refused.
    uint32_t partial = 0;
    if (bytes_left > 0) {
      real_calls.write_bytes(handle, buffer, static_cast<uint32_t>(bytes_left), &partial);
    }
    bytes_left -= partial;
    *done = partial;
    ++refusal_count;
    return false;
  }
  const bool written = real_calls.write_bytes(handle, buffer, count, done);
  bytes_left -= *done;
  return written;
}

bool CloseAndMaybeRefuse(intptr_t handle) {
  const bool closed = real_calls.close_file(handle);
  if (!close_refused) return closed;
  ++refusal_count;
  return false;
}

}  // namespace

CRefusingDisk::CRefusingDisk(uint64_t accepted_bytes, bool refuse_close) {
  saved_ = file_platform::CurrentWriteCalls();
  real_calls = saved_;
  bytes_left = accepted_bytes;
  close_refused = refuse_close;
  refusal_count = 0;
  file_platform::CurrentWriteCalls() = {WriteUntilFull, CloseAndMaybeRefuse};
}

CRefusingDisk::~CRefusingDisk() { file_platform::CurrentWriteCalls() = saved_; }

int CRefusingDisk::refusals() { return refusal_count; }

}  // namespace sonaril_test
