// A renderer on a simulated device with a recording listener, and the exact log texts.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/mme_renderer.h"
#include "tests/audio/recording_listener.h"
#include "tests/audio/simulated_device.h"
#include "tests/audio/wait_until.h"
#include "tests/common/debug_capture.h"

namespace sonaril_test {

// Opens the renderer's protected state to the tests.
class InspectableRenderer : public CMMERenderer {
 public:
  using CMMERenderer::CMMERenderer;
  uint32_t BufferSize() const { return buffer_size; }
  uint32_t LatencyMs() const { return latency_ms; }
  RenderState State() const { return state; }
  const WAVEHDR& Header(int index) const { return headers[index]; }
  CSoundListener* Listener() const { return listener; }
};

namespace lines {
inline const std::string kClose = "CMMERenderer::Close()\n";
inline const std::string kStop = "CMMERenderer::Stop()\n";
inline const std::string kStart = "CMMERenderer::Start()\n";
inline const std::string kStarted = "[MME] start render device\n";
inline const std::string kStopped = "[MME] stop render device\n";
inline const std::string kClosed = "[MME] close render device\n";
inline const std::string kOpened = "[MME] open render device\n";
inline const std::string kOpenError = "[MME] render device open error\n";
inline const std::string kWaveOutOpenError = "[MME] waveOutOpen error\n";
inline const std::string kPrepareError = "[MME] waveOutPrepareHeader error\n";
inline const std::string kResetError = "[MME] waveOutReset error\n";
inline std::string OpenCall(int channels, int rate, int bits, int latency) {
  return "CMMERenderer::Open(" + std::to_string(channels) + ", " + std::to_string(rate) + ", " +
         std::to_string(bits) + ", " + std::to_string(latency) + ")\n";
}
inline std::string BlockSize(int bytes) {
  return "[MME] block size : " + std::to_string(bytes) + "\n";
}
}  // namespace lines

// Member order matters: the renderer goes first, while its device and listener still exist.
class RendererTest : public ::testing::Test {
 protected:
  RendererTest() {
    device.devices = {MakeCaps(L"Speakers"), MakeCaps(L"Headset")};
    renderer.Initialize(&listener);
  }

  // Opens at 8000 Hz stereo 16-bit, 100 ms (3200-byte blocks) and forgets the log so far.
  void OpenStandard() {
    ASSERT_TRUE(renderer.Open(2, 8000, 16, 100));
    capture.Clear();
    device.ClearOwnerCalls();
  }

  // Waits until the render thread has nothing left to do.
  void SettleRenderThread() { ASSERT_TRUE(device.WaitForRenderIdle()); }

  DebugCapture capture;
  SimulatedDevice device;
  RecordingListener listener;
  InspectableRenderer renderer{device.api()};
};

}  // namespace sonaril_test
