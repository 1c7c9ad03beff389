#include <climits>
#include <cstring>
#include <cwchar>

#include "tests/audio/renderer_fixture.h"

namespace sonaril_test {
namespace {

TEST_F(RendererTest, SetDeviceAcceptsMinusOneAndTheExistingIdsOnly) {
  struct Case {
    int32_t id;
    bool accepted;
    int32_t device_after;
  };
  // Two devices: ids 0 and 1. Each refusal keeps the id set by the row before.
  const Case cases[] = {{1, true, 1},       {2, false, 1},  {-1, true, -1},    {0, true, 0},
                        {-2, false, 0},     {INT_MAX, false, 0}, {INT_MIN, false, 0},
                        {-1, true, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(renderer.SetDevice(c.id), c.accepted);
    EXPECT_EQ(renderer.GetDevice(), c.device_after);
  }
  device.devices.clear();
  EXPECT_FALSE(renderer.SetDevice(0));
  EXPECT_TRUE(renderer.SetDevice(-1));
  EXPECT_TRUE(capture.Lines().empty());
}

TEST_F(RendererTest, TheChosenDeviceIsOpenedAtTheNextOpenAndSurvivesClose) {
  ASSERT_TRUE(renderer.SetDevice(1));
  OpenStandard();
  ASSERT_TRUE(renderer.SetDevice(0));  // takes effect at the next Open
  renderer.Close();
  EXPECT_EQ(renderer.GetDevice(), 0);
  ASSERT_TRUE(renderer.Open(2, 8000, 16, 100));
  renderer.Close();
  ASSERT_TRUE(renderer.SetDevice(-1));
  ASSERT_TRUE(renderer.Open(2, 8000, 16, 100));
  const std::vector<OpenCall> opens = device.Opens();
  ASSERT_EQ(opens.size(), 3u);
  EXPECT_EQ(opens[0].device_id, 1u);
  EXPECT_EQ(opens[1].device_id, 0u);
  EXPECT_EQ(opens[2].device_id, WAVE_MAPPER);
}

TEST_F(RendererTest, GetDeviceCapsAnswersTheCountAndCopiesTheDescription) {
  const std::wstring full_name(MAXPNAMELEN, L'N');  // fills the field, no NUL
  device.devices = {MakeCaps(L"Speakers", 11, 22, 0x0502, WAVE_FORMAT_4S16 | WAVE_FORMAT_1M08, 2),
                    MakeCaps(full_name, 1, 2, 3, 4, 1)};
  DeviceCaps record;
  std::memset(&record, 0xAB, sizeof record);
  EXPECT_EQ(renderer.GetDeviceCaps(0, &record), 2);
  EXPECT_EQ(record.manufacturer_id, 11);
  EXPECT_EQ(record.product_id, 22);
  EXPECT_EQ(record.driver_version, 0x0502u);
  EXPECT_EQ(std::wstring(record.name), L"Speakers");
  EXPECT_EQ(record.formats, static_cast<uint32_t>(WAVE_FORMAT_4S16 | WAVE_FORMAT_1M08));
  EXPECT_EQ(record.channels, 2);
  EXPECT_EQ(record.id_string[0], L'\0');
  EXPECT_EQ(record.name[255], L'\0');

  EXPECT_EQ(renderer.GetDeviceCaps(1, &record), 2);
  EXPECT_EQ(std::wstring(record.name), full_name);

  EXPECT_EQ(renderer.GetDeviceCaps(0, nullptr), 2);
  // An id without a device answers the count with a zeroed record.
  const int32_t missing_ids[] = {2, 7, -2, INT_MIN};
  for (int32_t id : missing_ids) {
    std::memset(&record, 0xAB, sizeof record);
    EXPECT_EQ(renderer.GetDeviceCaps(id, &record), 2);
    const DeviceCaps zero = {};
    EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0) << id;
  }
  // -1 describes the default device.
  EXPECT_EQ(renderer.GetDeviceCaps(-1, &record), 2);
  EXPECT_EQ(std::wstring(record.name), L"Default Mapper");
  EXPECT_EQ(device.CapsRequests().back(), static_cast<UINT_PTR>(WAVE_MAPPER));
  EXPECT_TRUE(capture.Lines().empty());
}

TEST_F(RendererTest, GetCurrentDeviceCapsDescribesTheChosenDevice) {
  DeviceCaps record;
  EXPECT_FALSE(renderer.GetCurrentDeviceCaps(nullptr));
  EXPECT_TRUE(renderer.GetCurrentDeviceCaps(&record));
  EXPECT_EQ(std::wstring(record.name), L"Default Mapper");
  ASSERT_TRUE(renderer.SetDevice(1));
  EXPECT_TRUE(renderer.GetCurrentDeviceCaps(&record));
  EXPECT_EQ(std::wstring(record.name), L"Headset");
  device.failing_caps = {1};
  EXPECT_TRUE(renderer.GetCurrentDeviceCaps(&record));
  EXPECT_EQ(record.name[0], L'\0');
}

TEST_F(RendererTest, FindDeviceMatchesTheWholeNameExactlyAndCaseSensitively) {
  device.devices = {MakeCaps(L"Speakers"), MakeCaps(L"Headset"), MakeCaps(L"Speakers")};
  struct Case {
    const wchar_t* name;
    int32_t id;
  };
  const std::wstring long_name(300, L'S');
  const Case cases[] = {{L"Speakers", 0}, {L"Headset", 1},     {L"speakers", -1},
                        {L"SPEAKERS", -1}, {L"Speaker", -1},   {L"Speakers ", -1},
                        {L"", -1},         {nullptr, -1},      {long_name.c_str(), -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(renderer.FindDevice(c.name, L"ignored"), c.id);
    EXPECT_EQ(renderer.FindDevice(c.name, nullptr), c.id);
  }
  // A device that cannot describe itself matches no name, not even the empty one.
  device.failing_caps = {0};
  EXPECT_EQ(renderer.FindDevice(L"", nullptr), -1);
  EXPECT_EQ(renderer.FindDevice(L"Speakers", nullptr), 2);
}

TEST_F(RendererTest, VolumeNeedsAnOpenDeviceAndKeepsLeftLowAndRightHigh) {
  uint16_t left = 7, right = 7;
  EXPECT_FALSE(renderer.GetVolume(&left, &right));
  EXPECT_FALSE(renderer.SetVolume(1, 2));
  OpenStandard();
  ASSERT_TRUE(renderer.SetVolume(0x1234, 0xABCD));
  EXPECT_EQ(device.volume(), 0xABCD1234u);
  device.set_volume(0x55556666u);
  ASSERT_TRUE(renderer.GetVolume(&left, &right));
  EXPECT_EQ(left, 0x6666);
  EXPECT_EQ(right, 0x5555);
  EXPECT_TRUE(renderer.GetVolume(nullptr, nullptr));
  device.volume_result = MMSYSERR_NOTSUPPORTED;
  EXPECT_FALSE(renderer.GetVolume(&left, &right));
  EXPECT_FALSE(renderer.SetVolume(1, 2));
  EXPECT_TRUE(capture.Lines().empty());
}

}  // namespace
}  // namespace sonaril_test
