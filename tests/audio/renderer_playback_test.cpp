#include "tests/audio/renderer_fixture.h"

namespace sonaril_test {
namespace {

using Lines = std::vector<std::string>;

// The non-empty buffers the device received, joined in the order it received them.
std::string PlayedBytes(const std::vector<WrittenBuffer>& written) {
  std::string played;
  for (const WrittenBuffer& buffer : written) played += buffer.bytes;
  return played;
}

TEST_F(RendererTest, StartFillsAndQueuesBufferZeroThenBufferOne) {
  device.HoldReturns(true);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStart, lines::kStarted}));
  EXPECT_TRUE(renderer.IsPlaying());
  const std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].header, &renderer.Header(0));
  EXPECT_EQ(written[1].header, &renderer.Header(1));
  EXPECT_EQ(written[0].length, 3200u);
  EXPECT_EQ(written[0].user, 0u);
  EXPECT_EQ(PlayedBytes(written), listener.Fed());
  EXPECT_EQ(listener.Sizes(), (std::vector<uint32_t>{3200, 3200}));
  EXPECT_EQ(listener.DirtyBlocks(), 0);

  // Start while playing: true, and nothing else happens.
  capture.Clear();
  ASSERT_TRUE(renderer.Start());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStart}));
  EXPECT_EQ(listener.RenderCalls(), 2);
  EXPECT_EQ(device.WriteCount(), 2u);
}

TEST_F(RendererTest, ReturnedBuffersAreRefilledSoTheDeviceGetsTheListenersBytesInOrder) {
  const int data_calls = 40;
  listener.answer = [](int call, uint32_t size) { return call < data_calls ? size : 0u; };
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  ASSERT_TRUE(WaitUntil([&] { return listener.Ended().size() == 2; }));
  SettleRenderThread();
  const std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), static_cast<size_t>(data_calls + 2));
  EXPECT_EQ(PlayedBytes(written), listener.Fed());
  EXPECT_EQ(listener.Fed().size(), data_calls * 3200u);
  // Whichever buffer came back, each write carried the next bytes in turn.
  size_t uses[2] = {0, 0};
  for (const WrittenBuffer& buffer : written) ++uses[buffer.header == &renderer.Header(0) ? 0 : 1];
  EXPECT_EQ(uses[0] + uses[1], written.size());
  EXPECT_GT(uses[1], 0u);
  EXPECT_EQ(listener.DirtyBlocks(), 0);
  EXPECT_EQ(device.Violations(), 0);
}

TEST_F(RendererTest, AfterStopNothingIsPlayingAndOnRenderIsNotCalledUntilTheNextStart) {
  device.HoldReturns(true);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  ASSERT_TRUE(device.ReturnNext());
  ASSERT_TRUE(device.WaitForWrites(3));
  SettleRenderThread();
  ASSERT_EQ(listener.RenderCalls(), 3);

  ASSERT_TRUE(renderer.Stop());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStart, lines::kStarted, lines::kStop, lines::kStopped}));
  EXPECT_FALSE(renderer.IsPlaying());
  EXPECT_EQ(renderer.State(), RenderState::Stopped);
  EXPECT_EQ(device.QueuedCount(), 0u);
  SettleRenderThread();  // the reset's returns have been seen and ignored
  EXPECT_EQ(listener.RenderCalls(), 3);
  EXPECT_EQ(device.WriteCount(), 3u);

  // Stop on a stopped renderer resets again and still reports success.
  capture.Clear();
  ASSERT_TRUE(renderer.Stop());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStop, lines::kStopped}));
  SettleRenderThread();
  EXPECT_EQ(listener.RenderCalls(), 3);

  ASSERT_TRUE(renderer.Start());
  EXPECT_EQ(listener.RenderCalls(), 5);
  EXPECT_EQ(device.WriteCount(), 5u);
  EXPECT_EQ(device.Violations(), 0);
}

TEST_F(RendererTest, AListenerAnsweringZeroMakesBothBuffersEndMarkersEachEndedOnce) {
  listener.answer = [](int, uint32_t) { return 0u; };
  device.HoldReturns(true);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  // One marker at a time: the first must not be ended again when the second comes back.
  ASSERT_TRUE(device.ReturnNext());
  SettleRenderThread();
  EXPECT_EQ(listener.Ended().size(), 1u);
  ASSERT_TRUE(device.ReturnNext());
  SettleRenderThread();
  EXPECT_EQ(listener.Ended(), (std::vector<WAVEHDR*>{const_cast<WAVEHDR*>(&renderer.Header(0)),
                                                     const_cast<WAVEHDR*>(&renderer.Header(1))}));
  EXPECT_EQ(listener.EndUsers(), (std::vector<DWORD_PTR>{1, 1}));
  std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].length, 0u);
  EXPECT_EQ(written[0].user, 1u);
  EXPECT_EQ(written[1].length, 0u);
  EXPECT_EQ(written[1].user, 1u);
  // Still "playing", but nothing more is played.
  EXPECT_TRUE(renderer.IsPlaying());
  EXPECT_EQ(listener.RenderCalls(), 2);
  ASSERT_TRUE(renderer.Start());
  EXPECT_EQ(listener.RenderCalls(), 2);

  ASSERT_TRUE(renderer.Stop());
  SettleRenderThread();
  EXPECT_EQ(listener.Ended().size(), 2u);
  device.HoldReturns(false);
  ASSERT_TRUE(renderer.Start());
  ASSERT_TRUE(WaitUntil([&] { return listener.Ended().size() >= 4; }));
  SettleRenderThread();
  EXPECT_EQ(listener.Ended().size(), 4u);
  EXPECT_EQ(listener.RenderCalls(), 4);
}

TEST_F(RendererTest, EndMarkersFollowTheLastDataInOrder) {
  // 3 full blocks, one partial, then the end.
  listener.answer = [](int call, uint32_t size) {
    return call < 3 ? size : call == 3 ? 1000u : 0u;
  };
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  ASSERT_TRUE(WaitUntil([&] { return listener.Ended().size() == 2; }));
  SettleRenderThread();
  const std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), 6u);
  EXPECT_EQ(written[3].length, 1000u);
  EXPECT_EQ(written[3].user, 0u);
  EXPECT_EQ(written[4].user, 1u);
  EXPECT_EQ(written[5].user, 1u);
  EXPECT_EQ(PlayedBytes(written), listener.Fed());
  EXPECT_EQ(listener.Fed().size(), 3 * 3200u + 1000u);
  EXPECT_EQ(listener.Ended(), (std::vector<WAVEHDR*>{written[4].header, written[5].header}));
}

TEST_F(RendererTest, OneWakeServicesEveryBufferThatCameBack) {
  device.HoldReturns(true);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  SettleRenderThread();
  device.ReturnAllWithOneSignal();  // two returns, one signal
  ASSERT_TRUE(device.WaitForWrites(4));
  SettleRenderThread();
  const std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), 4u);
  EXPECT_EQ(written[2].header, &renderer.Header(0));
  EXPECT_EQ(written[3].header, &renderer.Header(1));
  EXPECT_EQ(device.QueuedCount(), 2u);
}

TEST_F(RendererTest, AFailedWriteTakesThatBufferOutOfTheRotationUntilTheNextStart) {
  device.HoldReturns(true);
  device.failing_writes = {2};  // buffer 1's write in Start
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStart, lines::kStarted}));
  EXPECT_EQ(renderer.Header(1).dwBufferLength, 0u);
  EXPECT_EQ(renderer.Header(1).dwUser, 0u);
  for (size_t round = 1; round <= 3; ++round) {
    ASSERT_TRUE(device.ReturnNext());
    ASSERT_TRUE(device.WaitForWrites(1 + round));
    SettleRenderThread();
  }
  std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), 4u);
  for (const WrittenBuffer& buffer : written) EXPECT_EQ(buffer.header, &renderer.Header(0));
  EXPECT_EQ(device.QueuedCount(), 1u);

  ASSERT_TRUE(renderer.Stop());
  ASSERT_TRUE(renderer.Start());
  written = device.Written();
  ASSERT_EQ(written.size(), 6u);
  EXPECT_EQ(written[4].header, &renderer.Header(0));
  EXPECT_EQ(written[5].header, &renderer.Header(1));
}

TEST_F(RendererTest, WhenEveryWriteFailsStartStillSucceedsAndNothingIsQueued) {
  device.fail_every_write = true;
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  SettleRenderThread();
  EXPECT_EQ(device.WriteCount(), 0u);
  EXPECT_EQ(listener.RenderCalls(), 2);
  EXPECT_TRUE(renderer.IsPlaying());
  renderer.Close();
  EXPECT_FALSE(device.DeviceOpen());
}

TEST_F(RendererTest, AnswersLongerThanTheBlockAreCutToTheBlock) {
  device.HoldReturns(true);
  listener.answer = [](int call, uint32_t size) { return call == 0 ? 0xFFFFFFFFu : size + 1; };
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  const std::vector<WrittenBuffer> written = device.Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].length, 3200u);
  EXPECT_EQ(written[1].length, 3200u);
  EXPECT_EQ(written[0].user, 0u);
  EXPECT_EQ(device.Violations(), 0);
}

TEST_F(RendererTest, WithoutAListenerOrWithTheDefaultOneTheBlocksPlayAsSilence) {
  CSoundListener silent_default;
  CSoundListener* listeners[] = {nullptr, &silent_default};
  for (CSoundListener* subject : listeners) {
    SimulatedDevice quiet;
    quiet.HoldReturns(true);
    InspectableRenderer silent(quiet.api());
    silent.Initialize(subject);
    ASSERT_TRUE(silent.Open(2, 8000, 16, 100));
    ASSERT_TRUE(silent.Start());
    const std::vector<WrittenBuffer> written = quiet.Written();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].bytes, std::string(3200, '\0'));
    EXPECT_EQ(written[1].bytes, std::string(3200, '\0'));
    EXPECT_EQ(written[0].user, 0u);
    silent.Close();
  }
}

TEST_F(RendererTest, AListenerThatStopsTheRendererGetsNoWriteAfterIt) {
  device.HoldReturns(true);
  device.write_probe = [this] { return renderer.IsPlaying(); };
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  SettleRenderThread();
  bool stopped_once = false;
  listener.inside_render = [&] {
    if (!stopped_once) {
      stopped_once = true;
      renderer.Stop();  // on the render thread, inside the refill of buffer 0
    }
  };
  ASSERT_TRUE(device.ReturnNext());
  ASSERT_TRUE(WaitUntil([&] { return !renderer.IsPlaying(); }));
  SettleRenderThread();
  EXPECT_EQ(listener.RenderCalls(), 3);
  EXPECT_EQ(device.WriteCount(), 2u);
  EXPECT_EQ(device.QueuedCount(), 0u);
  EXPECT_EQ(renderer.Header(0).dwBufferLength, 0u);
  EXPECT_EQ(device.Violations(), 0);
  listener.inside_render = nullptr;
  ASSERT_TRUE(renderer.Start());
  EXPECT_EQ(device.WriteCount(), 4u);
}

}  // namespace
}  // namespace sonaril_test
