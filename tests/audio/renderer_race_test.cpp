// Stop on the owner's thread against the render thread refilling returned buffers.
#include "tests/audio/renderer_fixture.h"

namespace sonaril_test {
namespace {

TEST_F(RendererTest, NoBufferIsQueuedOrRenderedOnceStopHasReturned) {
  // Every write must happen while the renderer is playing; after Stop returns the device
  // must hold nothing and the listener must not be asked for data until the next Start.
  device.write_probe = [this] { return renderer.IsPlaying(); };
  // Yielding inside OnRender widens the window between the render thread's state check and
  // its write, where an unguarded Stop would slip in.
  listener.inside_render = [] { SwitchToThread(); };
  ASSERT_TRUE(renderer.Open(1, 8000, 8, 1));  // 8-byte blocks: many returns per cycle
  const int cycles = 1000;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    listener.forbidden = false;
    const size_t before = device.WriteCount();
    ASSERT_TRUE(renderer.Start());
    // Let some cycles run for a few returns, others stop at once.
    const size_t returns = static_cast<size_t>(cycle % 4) * 3;
    if (returns > 0) {
      ASSERT_TRUE(device.WaitForWrites(before + 2 + returns));
    }
    ASSERT_TRUE(renderer.Stop());
    listener.forbidden = true;
    ASSERT_EQ(device.QueuedCount(), 0u) << "cycle " << cycle;
    ASSERT_EQ(device.Violations(), 0) << "cycle " << cycle;
  }
  SettleRenderThread();
  EXPECT_EQ(device.QueuedCount(), 0u);
  EXPECT_EQ(device.Violations(), 0);
  EXPECT_EQ(listener.ForbiddenCalls(), 0);
  EXPECT_GT(device.WriteCount(), static_cast<size_t>(cycles) * 2);
  renderer.Close();
  EXPECT_EQ(device.LiveThreads(), 0);
}

TEST_F(RendererTest, CloseWhileBuffersAreReturningEndsCleanlyEveryTime) {
  for (int round = 0; round < 40; ++round) {
    ASSERT_TRUE(renderer.Open(1, 8000, 8, 1));
    ASSERT_TRUE(renderer.Start());
    ASSERT_TRUE(device.WaitForWrites(device.WriteCount() + static_cast<size_t>(round % 5)));
    renderer.Close();
    ASSERT_EQ(device.QueuedCount(), 0u);
    ASSERT_FALSE(device.DeviceOpen());
    ASSERT_EQ(device.LiveThreads(), 0);
    ASSERT_EQ(device.RenderThreadExitCode(), 0u);
  }
  EXPECT_EQ(device.Violations(), 0);
}

}  // namespace
}  // namespace sonaril_test
