// Values shared by every renderer and its callers.
#pragma once
#include <cstdint>

enum class RenderState : int32_t {
  Closed = 0,   // no device
  Stopped = 1,  // device open, nothing queued
  Playing = 2,  // buffers cycling through the device
};

// One output device as the platform describes it.
struct DeviceCaps {
  uint16_t manufacturer_id;
  uint16_t product_id;
  uint32_t driver_version;
  wchar_t name[256];  // NUL-terminated
  uint32_t formats;   // mask of the standard formats the device supports
  uint16_t channels;
  wchar_t id_string[259];  // NUL-terminated; empty for waveOut devices
};
