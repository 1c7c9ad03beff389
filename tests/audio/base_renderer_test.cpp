#include "audio/base_renderer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/common/debug_capture.h"

namespace sonaril_test {
namespace {

class ExposedBaseRenderer : public CBaseRenderer {
 public:
  CSoundListener* Listener() const { return listener; }
};

TEST(BaseRenderer, DefaultsAreHarmlessAndSilent) {
  DebugCapture capture;
  ExposedBaseRenderer renderer;
  CSoundListener listener;
  renderer.Initialize(&listener);
  EXPECT_EQ(renderer.Listener(), &listener);
  EXPECT_EQ(renderer.GetDevice(), -1);
  EXPECT_FALSE(renderer.IsOpen());
  EXPECT_FALSE(renderer.IsPlaying());
  EXPECT_FALSE(renderer.Open(2, 8000, 16, 100));
  EXPECT_TRUE(renderer.Start());
  EXPECT_FALSE(renderer.IsPlaying());
  EXPECT_TRUE(renderer.Stop());
  renderer.Close();
  renderer.Shutdown();
  EXPECT_TRUE(renderer.SetDevice(12345));  // the base stores any id
  EXPECT_EQ(renderer.GetDevice(), 12345);
  EXPECT_EQ(renderer.FindDevice(L"Speakers", L""), -1);
  WAVEFORMATEX format = renderer.GetFormat();
  const WAVEFORMATEX zero_format = {};
  EXPECT_EQ(std::memcmp(&format, &zero_format, sizeof format), 0);

  DeviceCaps record;
  const DeviceCaps zero_record = {};
  std::memset(&record, 0xAB, sizeof record);
  EXPECT_EQ(renderer.GetDeviceCaps(0, &record), 0);
  EXPECT_EQ(std::memcmp(&record, &zero_record, sizeof record), 0);
  EXPECT_EQ(renderer.GetDeviceCaps(0, nullptr), 0);
  EXPECT_FALSE(renderer.GetCurrentDeviceCaps(nullptr));
  std::memset(&record, 0xAB, sizeof record);
  EXPECT_TRUE(renderer.GetCurrentDeviceCaps(&record));
  EXPECT_EQ(std::memcmp(&record, &zero_record, sizeof record), 0);

  uint16_t left = 7, right = 9;
  EXPECT_TRUE(renderer.GetVolume(&left, &right));
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 0);
  EXPECT_TRUE(renderer.GetVolume(nullptr, nullptr));
  EXPECT_TRUE(renderer.SetVolume(1, 2));
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(SoundListener, DefaultsPlaySilenceAndIgnoreTheEnd) {
  CSoundListener listener;
  uint8_t block[16] = {};
  EXPECT_EQ(listener.Reserved(), 0);
  EXPECT_EQ(listener.OnRender(block, sizeof block), 16u);
  EXPECT_EQ(listener.OnRender(nullptr, 0), 0u);
  for (uint8_t byte : block) EXPECT_EQ(byte, 0);
  WAVEHDR header = {};
  listener.OnRenderEnd(&header);
}

}  // namespace
}  // namespace sonaril_test
