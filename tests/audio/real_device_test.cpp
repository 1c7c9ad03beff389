// The renderer on the real waveOut device. The test environment points ALSA at a default PCM
// that writes everything played, raw, into a capture file, so what the device received can be
// compared byte for byte with what the listener fed.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <string>

#include "audio/mme_renderer.h"
#include "tests/audio/recording_listener.h"
#include "tests/audio/wait_until.h"
#include "tests/common/debug_capture.h"
#include "tests/common/test_paths.h"

namespace sonaril_test {
namespace {

std::string CapturePath() {
  const char* path = std::getenv("SONARIL_AUDIO_CAPTURE");
  if (path == nullptr) return std::string();
  return path[0] == '/' ? std::string("Z:") + path : std::string(path);
}

std::wstring DeviceName(UINT id) {
  WAVEOUTCAPSW caps = {};
  if (waveOutGetDevCapsW(id, &caps, sizeof caps) != MMSYSERR_NOERROR) return std::wstring();
  return std::wstring(caps.szPname, wcsnlen(caps.szPname, MAXPNAMELEN));
}

std::wstring SwapCase(std::wstring text) {
  for (wchar_t& c : text) c = std::iswupper(c) ? std::towlower(c) : std::towupper(c);
  return text;
}

// Feeds a fixed number of bytes of the known pattern, then ends the stream.
class FeedingListener : public CSoundListener {
 public:
  explicit FeedingListener(uint32_t total) : total_(total) {}
  uint32_t OnRender(uint8_t* block, uint32_t size) override {
    ++render_calls;
    const uint32_t left = total_ - fed_;
    const uint32_t count = left < size ? left : size;
    for (uint32_t i = 0; i < count; ++i) block[i] = PatternByte(fed_ + i);
    fed_ += count;
    return count;
  }
  void OnRenderEnd(WAVEHDR*) override { ++ends; }
  std::atomic<int> render_calls{0};
  std::atomic<int> ends{0};

 private:
  const uint32_t total_;
  uint32_t fed_ = 0;
};

TEST(RealDevice, DeviceListMatchesWhatWineReports) {
  CMMERenderer renderer;
  const UINT platform_count = waveOutGetNumDevs();
  ASSERT_GE(platform_count, 1u) << "no waveOut device: is ALSA_CONFIG_PATH set?";
  DeviceCaps caps;
  ASSERT_EQ(renderer.GetDeviceCaps(0, &caps), static_cast<int32_t>(platform_count));
  const std::wstring name = DeviceName(0);
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(std::wstring(caps.name), name);
  EXPECT_EQ(renderer.FindDevice(name.c_str(), L""), 0);
  ASSERT_NE(SwapCase(name), name);
  EXPECT_EQ(renderer.FindDevice(SwapCase(name).c_str(), L""), -1);
  const int32_t count = static_cast<int32_t>(platform_count);
  EXPECT_FALSE(renderer.SetDevice(count));
  EXPECT_EQ(renderer.GetDevice(), -1);
  EXPECT_TRUE(renderer.SetDevice(count - 1));
  EXPECT_TRUE(renderer.SetDevice(-1));
}

struct CaptureCase {
  int rate;
  uint32_t block_bytes;
};

class RealDeviceCapture : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(RealDeviceCapture, TheDeviceReceivesExactlyTheFedFramesInOrder) {
  const CaptureCase c = GetParam();
  const std::string capture_path = CapturePath();
  ASSERT_FALSE(capture_path.empty()) << "SONARIL_AUDIO_CAPTURE is not set";
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::u8path(capture_path), ignored);

  // Five and a half buffers: the last one is partial.
  const uint32_t total = 5 * c.block_bytes + c.block_bytes / 2;
  FeedingListener listener(total);
  DebugCapture log;
  CMMERenderer renderer;
  renderer.Initialize(&listener);
  ASSERT_TRUE(renderer.SetDevice(renderer.FindDevice(DeviceName(0).c_str(), L"")));
  ASSERT_EQ(renderer.GetDevice(), 0);
  ASSERT_TRUE(renderer.Open(2, c.rate, 16, 100));
  EXPECT_TRUE(log.Contains("[MME] block size : " + std::to_string(c.block_bytes) + "\n"));
  ASSERT_TRUE(renderer.Start());
  EXPECT_TRUE(WaitUntil([&] { return listener.ends == 2; }))
      << "the end markers did not come back";
  ASSERT_TRUE(renderer.Stop());
  const int calls_at_stop = listener.render_calls;
  renderer.Close();
  EXPECT_EQ(listener.render_calls, calls_at_stop);
  EXPECT_EQ(listener.ends, 2);
  // 5 full blocks, the partial one, then two end markers.
  EXPECT_EQ(listener.render_calls, 8);

  const std::string captured = ReadAll(capture_path);
  ASSERT_GE(captured.size(), total);
  std::string fed;
  for (uint32_t i = 0; i < total; ++i) fed += static_cast<char>(PatternByte(i));
  EXPECT_TRUE(captured.compare(0, total, fed) == 0) << "the captured frames differ";
  const std::string tail = captured.substr(total);
  EXPECT_EQ(tail, std::string(tail.size(), '\0')) << "only silence may follow";
  EXPECT_LE(tail.size(), c.block_bytes) << "more than one buffer of trailing silence";
}

INSTANTIATE_TEST_SUITE_P(Rates, RealDeviceCapture,
                         ::testing::Values(CaptureCase{8000, 3200}, CaptureCase{44100, 17600}),
                         [](const ::testing::TestParamInfo<CaptureCase>& info) {
                           return std::to_string(info.param.rate) + "Hz";
                         });

TEST(RealDevice, StartStopCyclesLeaveNothingPlayingAfterStop) {
  RecordingListener listener;
  CMMERenderer renderer;
  renderer.Initialize(&listener);
  ASSERT_TRUE(renderer.Open(2, 8000, 16, 100));
  for (int cycle = 0; cycle < 10; ++cycle) {
    listener.forbidden = false;
    const int before = listener.RenderCalls();
    ASSERT_TRUE(renderer.Start());
    ASSERT_TRUE(renderer.IsPlaying());
    if (cycle % 2 == 1) {
      ASSERT_TRUE(WaitUntil([&] { return listener.RenderCalls() > before + 2; }));
    }
    ASSERT_TRUE(renderer.Stop());
    listener.forbidden = true;
    EXPECT_FALSE(renderer.IsPlaying());
  }
  renderer.Close();
  EXPECT_EQ(listener.ForbiddenCalls(), 0);
  EXPECT_FALSE(renderer.IsOpen());
}

}  // namespace
}  // namespace sonaril_test
