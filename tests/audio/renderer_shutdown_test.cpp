#include <malloc.h>

#include <cstring>

#include "tests/audio/renderer_fixture.h"

namespace sonaril_test {
namespace {

using Lines = std::vector<std::string>;

const Lines kReleaseCalls = {"waveOutUnprepareHeader", "waveOutUnprepareHeader", "waveOutClose",
                             "CloseHandle(event)"};

Lines Concat(Lines head, const Lines& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Close's calls when the render thread fails to end: 20 polls 50 ms apart, then the force.
Lines BoundedShutdown(const std::string& first_sleep) {
  Lines calls = {"waveOutReset", "SetEvent", first_sleep};
  for (int poll = 1; poll <= 20; ++poll) {
    calls.push_back("GetExitCodeThread");
    if (poll < 20) calls.push_back("Sleep(50)");
  }
  calls.push_back("TerminateThread(1)");
  calls.push_back("CloseHandle(thread)");
  return Concat(calls, kReleaseCalls);
}

TEST_F(RendererTest, CloseStopsWakesAndAwaitsTheThreadThenReleasesInOrder) {
  device.HoldReturns(true);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  capture.Clear();
  device.ClearOwnerCalls();
  renderer.Close();
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop, lines::kStopped, lines::kClosed}));
  EXPECT_EQ(device.OwnerCalls(),
            Concat({"waveOutReset", "SetEvent", "Sleep(50)", "GetExitCodeThread",
                    "CloseHandle(thread)"},
                   kReleaseCalls));
  EXPECT_EQ(device.RenderThreadExitCode(), 0u);
  EXPECT_FALSE(renderer.IsOpen());
  EXPECT_FALSE(renderer.IsPlaying());
  EXPECT_EQ(renderer.State(), RenderState::Closed);
  EXPECT_EQ(renderer.Header(0).lpData, nullptr);
  EXPECT_EQ(renderer.Header(1).lpData, nullptr);
  EXPECT_FALSE(device.DeviceOpen());
  EXPECT_EQ(device.LiveEvents(), 0);
  EXPECT_EQ(device.LiveThreads(), 0);

  // Closing again is the never-opened case.
  capture.Clear();
  device.ClearOwnerCalls();
  renderer.Close();
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop}));
  EXPECT_TRUE(device.OwnerCalls().empty());
}

TEST_F(RendererTest, ShutdownIsClose) {
  OpenStandard();
  renderer.Shutdown();
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop, lines::kStopped, lines::kClosed}));
  EXPECT_FALSE(renderer.IsOpen());
  EXPECT_EQ(device.LiveThreads(), 0);
}

TEST_F(RendererTest, ARenderThreadThatDoesNotEndIsPolledTwentyTimesThenTerminated) {
  device.stick_render_thread = true;
  OpenStandard();
  ASSERT_TRUE(WaitUntil([&] { return device.StuckWaits() == 1; }));
  renderer.Close();
  EXPECT_EQ(device.OwnerCalls(), BoundedShutdown("Sleep(50)"));
  EXPECT_EQ(device.RenderThreadExitCode(), 1u);
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop, lines::kStopped, lines::kClosed}));
  EXPECT_EQ(device.LiveThreads(), 0);
  EXPECT_EQ(device.LiveEvents(), 0);
  EXPECT_FALSE(device.DeviceOpen());
  // The renderer is whole afterwards.
  device.stick_render_thread = false;
  ASSERT_TRUE(renderer.Open(2, 8000, 16, 100));
  ASSERT_TRUE(renderer.Start());
  renderer.Close();
  EXPECT_EQ(device.RenderThreadExitCode(), 0u);
}

TEST_F(RendererTest, AFailedWakeWaitsFiveHundredMillisecondsBeforePolling) {
  device.stick_render_thread = true;
  device.fail_set_event = true;
  OpenStandard();
  ASSERT_TRUE(WaitUntil([&] { return device.StuckWaits() == 1; }));
  renderer.Close();
  EXPECT_EQ(device.OwnerCalls(), BoundedShutdown("Sleep(500)"));
  EXPECT_EQ(device.RenderThreadExitCode(), 1u);
}

TEST_F(RendererTest, WhenTheResetFailsCloseKeepsTheBlocksTheDeviceStillHolds) {
  device.HoldReturns(true);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  device.reset_result = MMSYSERR_ERROR;
  capture.Clear();
  EXPECT_FALSE(renderer.Stop());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStop, lines::kResetError}));
  EXPECT_FALSE(renderer.IsPlaying());
  capture.Clear();
  renderer.Close();
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop, lines::kResetError, lines::kClosed}));
  EXPECT_FALSE(renderer.IsOpen());
  EXPECT_EQ(device.LiveThreads(), 0);
  EXPECT_EQ(device.LiveEvents(), 0);
  // Both blocks are still queued in the device, still allocated and still hold what was
  // written. (A freed block reports no size.)
  ASSERT_EQ(device.QueuedCount(), 2u);
  for (const WrittenBuffer& buffer : device.Written()) {
    EXPECT_EQ(_msize(const_cast<char*>(buffer.data)), 3200u);
    EXPECT_EQ(std::memcmp(buffer.data, buffer.bytes.data(), buffer.bytes.size()), 0);
  }
}

TEST_F(RendererTest, DestroyingAnOpenRendererClosesItFirst) {
  {
    InspectableRenderer forgotten(device.api());
    forgotten.Initialize(&listener);
    ASSERT_TRUE(forgotten.Open(2, 8000, 16, 100));
    ASSERT_TRUE(forgotten.Start());
  }
  EXPECT_FALSE(device.DeviceOpen());
  EXPECT_EQ(device.LiveThreads(), 0);
  EXPECT_EQ(device.LiveEvents(), 0);
  EXPECT_EQ(device.RenderThreadExitCode(), 0u);
}

TEST_F(RendererTest, RepeatedOpenPlayCloseLeaksNoHandle) {
  for (int round = 0; round < 25; ++round) {
    ASSERT_TRUE(renderer.Open(2, round % 2 ? 44100 : 8000, 16, 100));
    ASSERT_TRUE(renderer.Start());
    ASSERT_TRUE(device.WaitForWrites(device.WriteCount() + 2));
    renderer.Close();
    ASSERT_EQ(device.LiveThreads(), 0);
    ASSERT_EQ(device.LiveEvents(), 0);
  }
  EXPECT_EQ(device.Violations(), 0);
}

}  // namespace
}  // namespace sonaril_test
