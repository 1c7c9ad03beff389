#include <climits>
#include <functional>

#include "tests/audio/renderer_fixture.h"

namespace sonaril_test {
namespace {

using Lines = std::vector<std::string>;

struct BlockCase {
  int channels, rate, bits, latency;
  uint32_t block_bytes;
  WORD block_align;
  DWORD bytes_per_second;
};

TEST_F(RendererTest, OpenSizesTheBlockFromWholeKilohertzAndLogsIt) {
  const BlockCase cases[] = {
      {2, 8000, 16, 100, 3200, 4, 32000},
      {2, 44100, 16, 100, 17600, 4, 176400},  // 4,400 frames, not 4,410
      {2, 48000, 16, 100, 19200, 4, 192000},
      {1, 8000, 8, 100, 800, 1, 8000},
      {1, 22050, 16, 20, 880, 2, 44100},
      {2, 96000, 24, 10, 5760, 6, 576000},
      {1, 8000, 12, 100, 1600, 2, 16000},  // 12 bits round up to 2 bytes
      {1, 1000, 16, 1, 2, 2, 2000},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.rate);
    capture.Clear();
    device.ClearOwnerCalls();
    ASSERT_TRUE(renderer.Open(c.channels, c.rate, c.bits, c.latency));
    EXPECT_EQ(capture.Lines(), (Lines{lines::OpenCall(c.channels, c.rate, c.bits, c.latency),
                                      lines::BlockSize(static_cast<int>(c.block_bytes)),
                                      lines::kOpened}));
    EXPECT_EQ(renderer.BufferSize(), c.block_bytes);
    EXPECT_EQ(renderer.LatencyMs(), static_cast<uint32_t>(c.latency));
    WAVEFORMATEX format = renderer.GetFormat();
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, c.channels);
    EXPECT_EQ(format.nSamplesPerSec, static_cast<DWORD>(c.rate));
    EXPECT_EQ(format.wBitsPerSample, c.bits);
    EXPECT_EQ(format.nBlockAlign, c.block_align);
    EXPECT_EQ(format.nAvgBytesPerSec, c.bytes_per_second);
    EXPECT_EQ(format.cbSize, 0);
    // The device got the same format, the default device and the event as callback.
    const OpenCall opened = device.Opens().back();
    EXPECT_EQ(opened.device_id, WAVE_MAPPER);
    EXPECT_EQ(opened.flags, static_cast<DWORD>(CALLBACK_EVENT));
    EXPECT_EQ(opened.instance, 0u);
    EXPECT_EQ(opened.format.nAvgBytesPerSec, c.bytes_per_second);
    EXPECT_EQ(device.OwnerCalls(),
              (Lines{"CreateEventW", "waveOutOpen", "waveOutPrepareHeader", "waveOutPrepareHeader",
                     "CreateThread"}));
    // Both blocks prepared whole; nothing queued yet.
    const std::vector<WAVEHDR*> prepared = device.PreparedHeaders();
    ASSERT_GE(prepared.size(), 2u);
    EXPECT_EQ(prepared[prepared.size() - 2], &renderer.Header(0));
    EXPECT_EQ(prepared.back(), &renderer.Header(1));
    EXPECT_EQ(renderer.Header(0).dwBufferLength, c.block_bytes);
    EXPECT_TRUE(renderer.IsOpen());
    EXPECT_FALSE(renderer.IsPlaying());
    EXPECT_EQ(renderer.State(), RenderState::Stopped);
    EXPECT_EQ(device.WriteCount(), 0u);
    renderer.Close();
  }
  EXPECT_EQ(device.Violations(), 0);
  EXPECT_EQ(device.LiveEvents(), 0);
  EXPECT_EQ(device.LiveThreads(), 0);
}

TEST_F(RendererTest, OpenOnAnOpenRendererAnswersFalseAndChangesNothing) {
  OpenStandard();
  const WAVEFORMATEX before = renderer.GetFormat();
  EXPECT_FALSE(renderer.Open(1, 16000, 8, 50));
  EXPECT_EQ(capture.Lines(), (Lines{lines::OpenCall(1, 16000, 8, 50)}));
  EXPECT_TRUE(device.OwnerCalls().empty());
  EXPECT_EQ(renderer.GetFormat().nSamplesPerSec, before.nSamplesPerSec);
  EXPECT_EQ(renderer.GetFormat().nChannels, before.nChannels);
  EXPECT_EQ(renderer.BufferSize(), 3200u);
  EXPECT_EQ(renderer.LatencyMs(), 100u);
  EXPECT_EQ(renderer.State(), RenderState::Stopped);
  EXPECT_TRUE(renderer.IsOpen());
}

struct FailureCase {
  const char* name;
  std::function<void(SimulatedDevice&)> arrange;
  Lines expected;
};

TEST_F(RendererTest, EveryOpenFailureReleasesEverythingAndLogsItsLinesInOrder) {
  const Lines device_closed_tail = {lines::kOpenError, lines::kClose, lines::kStop,
                                    lines::kStopped, lines::kClosed};
  auto with_tail = [&](Lines head) {
    head.insert(head.end(), device_closed_tail.begin(), device_closed_tail.end());
    return head;
  };
  const std::string open_line = lines::OpenCall(2, 8000, 16, 100);
  const std::string block_line = lines::BlockSize(3200);
  const FailureCase cases[] = {
      {"event", [](SimulatedDevice& d) { d.fail_create_event = true; },
       {open_line, lines::kOpenError, lines::kClose, lines::kStop}},
      {"waveOutOpen", [](SimulatedDevice& d) { d.open_result = MMSYSERR_BADDEVICEID; },
       {open_line, lines::kWaveOutOpenError, lines::kOpenError, lines::kClose, lines::kStop}},
      {"first prepare", [](SimulatedDevice& d) { d.fail_prepare_call = 1; },
       with_tail({open_line, block_line, lines::kPrepareError})},
      {"second prepare", [](SimulatedDevice& d) { d.fail_prepare_call = 2; },
       with_tail({open_line, block_line, lines::kPrepareError})},
      {"thread", [](SimulatedDevice& d) { d.fail_create_thread = true; },
       with_tail({open_line, block_line})},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedDevice failing;
    failing.devices = device.devices;
    c.arrange(failing);
    InspectableRenderer subject(failing.api());
    subject.Initialize(&listener);
    capture.Clear();
    EXPECT_FALSE(subject.Open(2, 8000, 16, 100));
    EXPECT_EQ(capture.Lines(), c.expected);
    EXPECT_FALSE(subject.IsOpen());
    EXPECT_FALSE(subject.IsPlaying());
    EXPECT_EQ(subject.State(), RenderState::Closed);
    EXPECT_EQ(subject.Header(0).lpData, nullptr);
    EXPECT_EQ(subject.Header(1).lpData, nullptr);
    EXPECT_FALSE(failing.DeviceOpen());
    EXPECT_EQ(failing.LiveEvents(), 0);
    EXPECT_EQ(failing.LiveThreads(), 0);
    EXPECT_FALSE(subject.Start());
    // Once the cause is gone the same renderer opens normally.
    failing.fail_create_event = false;
    failing.open_result = MMSYSERR_NOERROR;
    failing.fail_prepare_call = 0;
    failing.fail_create_thread = false;
    EXPECT_TRUE(subject.Open(2, 8000, 16, 100));
    EXPECT_TRUE(subject.Start());
    subject.Close();
    EXPECT_EQ(failing.LiveEvents(), 0);
    EXPECT_EQ(failing.LiveThreads(), 0);
    EXPECT_EQ(failing.Violations(), 0);
  }
}

TEST_F(RendererTest, OpenRefusesParametersThatDescribeNoPlayableBlock) {
  struct BadCase {
    int channels, rate, bits, latency;
  };
  const BadCase cases[] = {
      {0, 8000, 16, 100},        {-2, 8000, 16, 100},      {65536, 8000, 16, 100},
      {2, 8000, 0, 100},         {2, 8000, -16, 100},      {2, 8000, 65536, 100},
      {2, 0, 16, 100},           {2, -8000, 16, 100},      {2, 999, 16, 100},
      {2, 8000, 16, 0},          {2, 8000, 16, -100},      {2, 8000, 16, INT_MAX},
      {65535, 96000, 65535, 100}, {2, INT_MAX, 16, 100},   {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(lines::OpenCall(c.channels, c.rate, c.bits, c.latency));
    capture.Clear();
    EXPECT_FALSE(renderer.Open(c.channels, c.rate, c.bits, c.latency));
    EXPECT_EQ(capture.Lines(), (Lines{lines::OpenCall(c.channels, c.rate, c.bits, c.latency),
                                      lines::kOpenError, lines::kClose, lines::kStop}));
    EXPECT_FALSE(renderer.IsOpen());
    EXPECT_EQ(renderer.State(), RenderState::Closed);
  }
  EXPECT_TRUE(device.Opens().empty());
  EXPECT_EQ(device.LiveEvents(), 0);
  EXPECT_TRUE(renderer.Open(2, 8000, 16, 100));
}

TEST_F(RendererTest, CloseOnANeverOpenedRendererOnlyLogsCloseAndStop) {
  renderer.Close();
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop}));
  EXPECT_TRUE(device.OwnerCalls().empty());
  EXPECT_EQ(renderer.State(), RenderState::Closed);
}

TEST_F(RendererTest, StartAndStopOnAClosedRendererAnswerFalseAndChangeNothing) {
  EXPECT_FALSE(renderer.Start());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStart}));
  capture.Clear();
  EXPECT_FALSE(renderer.Stop());
  EXPECT_EQ(capture.Lines(), (Lines{lines::kStop}));
  EXPECT_EQ(renderer.State(), RenderState::Closed);
  EXPECT_EQ(listener.RenderCalls(), 0);
  EXPECT_TRUE(device.OwnerCalls().empty());
}

TEST_F(RendererTest, InitializeClosesAnOpenRendererAndRestoresTheInitialValues) {
  ASSERT_TRUE(renderer.SetDevice(1));
  EXPECT_EQ(renderer.BufferSize(), CMMERenderer::kInitialBufferSize);
  OpenStandard();
  ASSERT_TRUE(renderer.Start());
  capture.Clear();
  RecordingListener other;
  renderer.Initialize(&other);
  EXPECT_EQ(capture.Lines(), (Lines{lines::kClose, lines::kStop, lines::kStopped, lines::kClosed}));
  EXPECT_EQ(renderer.Listener(), &other);
  EXPECT_EQ(renderer.State(), RenderState::Closed);
  EXPECT_EQ(renderer.BufferSize(), 1920u);
  EXPECT_EQ(renderer.GetFormat().nSamplesPerSec, 0u);
  EXPECT_EQ(renderer.Header(0).lpData, nullptr);
  EXPECT_EQ(renderer.GetDevice(), 1);  // the device id survives
  EXPECT_EQ(device.LiveThreads(), 0);
  EXPECT_EQ(device.LiveEvents(), 0);
  // A closed renderer is initialised without any device call.
  capture.Clear();
  device.ClearOwnerCalls();
  renderer.Initialize(&listener);
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_TRUE(device.OwnerCalls().empty());
}

}  // namespace
}  // namespace sonaril_test
