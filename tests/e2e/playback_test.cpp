// Playback through the real waveOut device, whose ALSA sink writes everything it is given
// into the capture file: what the sound card received is compared with the tone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

namespace fs = std::filesystem;

using sonaril_test::ReadAll;

constexpr size_t kWaveHeaderBytes = 56;

std::vector<int16_t> ToSamples(const std::string& bytes, size_t offset) {
  std::vector<int16_t> samples(bytes.size() > offset ? (bytes.size() - offset) / 2 : 0);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data() + offset, samples.size() * 2);
  return samples;
}

// The tone of a setting as the command-line renderer makes it.
std::vector<int16_t> RenderedTone(const CMainWindow& main, const std::string& setting) {
  const std::string wave = main.folder.File("reference.wav");
  if (RunToEnd(CliExePath(), L"render \"" + Widen(setting) + L"\" -o \"" + Widen(wave) + L"\"") != 0) {
    return {};
  }
  return ToSamples(ReadAll(wave), kWaveHeaderBytes);
}

// Left and right values, frame after frame, as the sound card received them.
std::vector<int16_t> CapturedValues() { return ToSamples(ReadAll(CapturePath()), 0); }

uint64_t CaptureSize() {
  std::error_code error;
  const uintmax_t size = fs::file_size(fs::u8path(CapturePath()), error);
  return error ? 0 : size;
}

void ForgetCapture() {
  std::error_code ignored;
  fs::remove(fs::u8path(CapturePath()), ignored);
}

// Where the captured frames stop being the tone, or -1 when every frame of the tone came
// in order, each on both channels, with only silence after it.
long FirstDifference(const std::vector<int16_t>& captured, const std::vector<int16_t>& tone) {
  const size_t frames = captured.size() / 2;
  for (size_t i = 0; i < frames; ++i) {
    const int16_t expected = i < tone.size() ? tone[i] : 0;
    if (captured[2 * i] != expected || captured[2 * i + 1] != expected) return static_cast<long>(i);
  }
  return frames < tone.size() ? static_cast<long>(frames) : -1;
}

class Playback : public ::testing::Test {
 protected:
  // Starts Sonaril.exe on a copy of an example whose repeat count is set to repeat.
  bool StartWith(const std::string& example, int repeat, int repeat_play = 0) {
    main_.reset(new CMainWindow(0, repeat_play));
    setting_ = main_->folder.File("playing.ton");
    std::string text = ReadAll(ExamplePath(example));
    const size_t at = text.find("<repeat>");
    const size_t end = text.find("</repeat>");
    if (at == std::string::npos || end == std::string::npos) return false;
    text.replace(at, end - at, "<repeat>" + std::to_string(repeat));
    if (!sonaril_test::WriteAll(setting_, text)) return false;
    tone_ = RenderedTone(*main_, setting_);
    ForgetCapture();
    return !tone_.empty() && main_->Start(L"\"" + Widen(setting_) + L"\"") &&
           main_->Transport().enabled;
  }

  bool WaitForIdle() {
    return WaitFor([&] { return main_->IsIdle(); }, 120000);
  }

  std::unique_ptr<CMainWindow> main_;
  std::string setting_;
  std::vector<int16_t> tone_;
};

TEST_F(Playback, PlayDeliversTheToneOnBothChannelsAndStopsByItself) {
  ASSERT_TRUE(StartWith("busy-japan.ton", 4));
  ASSERT_EQ(tone_.size(), 32000u);
  ASSERT_TRUE(main_->Click(kPlay));
  ASSERT_TRUE(WaitForIdle()) << "the transport did not return to idle";
  EXPECT_TRUE(main_->Transport().enabled);
  const std::vector<int16_t> captured = CapturedValues();
  ASSERT_GE(captured.size(), 2 * tone_.size());
  EXPECT_EQ(FirstDifference(captured, tone_), -1);
  // Only the partly filled block and a few blocks of silence follow the tone.
  EXPECT_LE(captured.size() / 2 - tone_.size(), 3u * 800u);

  // STOP and PLAY again: from the first sample.
  ForgetCapture();
  ASSERT_TRUE(main_->Click(kPlay));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(FirstDifference(CapturedValues(), tone_), -1);
}

TEST_F(Playback, PauseHoldsThePlaceAndPlayResumesIt) {
  ASSERT_TRUE(StartWith("busy-japan.ton", 25));
  ASSERT_TRUE(main_->Click(kPlay));
  ASSERT_TRUE(WaitFor([] { return CaptureSize() > 64 * 1024; }));
  ASSERT_TRUE(main_->Click(kPause));
  TransportState state = main_->Transport();
  ASSERT_TRUE(state.pause) << "the tone ended before PAUSE";
  EXPECT_FALSE(state.play);
  EXPECT_FALSE(state.stop);
  // The device keeps running: silence goes on arriving.
  const uint64_t paused_at = CaptureSize();
  ASSERT_TRUE(WaitFor([&] { return CaptureSize() > paused_at + 4 * 3200; }));
  ASSERT_TRUE(main_->Click(kPlay));
  EXPECT_TRUE(main_->Transport().play || main_->IsIdle());
  ASSERT_TRUE(WaitForIdle());

  // Every sample of the tone arrived once, in order, on both channels; only silence was
  // put in between.
  const std::vector<int16_t> captured = CapturedValues();
  size_t next = 0;
  size_t inserted_silence = 0;
  for (size_t frame = 0; frame < captured.size() / 2; ++frame) {
    const int16_t left = captured[2 * frame];
    ASSERT_EQ(left, captured[2 * frame + 1]) << "frame " << frame;
    if (next < tone_.size() && left == tone_[next]) {
      ++next;
    } else {
      ASSERT_EQ(left, 0) << "frame " << frame << " is neither the tone nor silence";
      ++inserted_silence;
    }
  }
  EXPECT_EQ(next, tone_.size());
  EXPECT_GE(inserted_silence, 4u * 800u);
}

TEST_F(Playback, RepeatPlayLoopsUntilStopAndIsSavedAtOnce) {
  ASSERT_TRUE(StartWith("busy-japan.ton", 1));
  ASSERT_EQ(tone_.size(), 8000u);
  ASSERT_FALSE(IsChecked(main_->window, kRepeatPlay));
  ASSERT_TRUE(main_->Click(kRepeatPlay));
  EXPECT_TRUE(IsChecked(main_->window, kRepeatPlay));
  EXPECT_NE(ReadConfig(main_->folder.path()).find("<repeat>1</repeat>"), std::string::npos);

  ASSERT_TRUE(main_->Click(kPlay));
  const uint64_t three_times = 3 * 4 * tone_.size();
  ASSERT_TRUE(WaitFor([&] { return CaptureSize() > three_times; }));
  EXPECT_TRUE(main_->Transport().play) << "Repeat Play must not stop by itself";
  ASSERT_TRUE(main_->Click(kStop));
  EXPECT_TRUE(main_->IsIdle());
  const std::vector<int16_t> captured = CapturedValues();
  ASSERT_GE(captured.size(), 6 * tone_.size());
  for (size_t frame = 0; frame < 3 * tone_.size(); ++frame) {
    ASSERT_EQ(captured[2 * frame], tone_[frame % tone_.size()]) << "frame " << frame;
    ASSERT_EQ(captured[2 * frame + 1], tone_[frame % tone_.size()]) << "frame " << frame;
  }

  ASSERT_TRUE(main_->Click(kRepeatPlay));
  EXPECT_FALSE(IsChecked(main_->window, kRepeatPlay));
  EXPECT_NE(ReadConfig(main_->folder.path()).find("<repeat>0</repeat>"), std::string::npos);
}

TEST_F(Playback, ChoosingTheOutputDeviceStopsPlaybackAndIsSavedAtOnce) {
  ASSERT_TRUE(StartWith("busy-japan.ton", 1, 1));
  EXPECT_TRUE(IsChecked(main_->window, kRepeatPlay)) << "Repeat Play comes from the config";
  ASSERT_GE(ComboCount(main_->window, kOutputDevice), 1);
  EXPECT_EQ(ComboSelection(main_->window, kOutputDevice), 0);
  const std::wstring name = ComboItemText(main_->window, kOutputDevice, 0);
  ASSERT_FALSE(name.empty());
  ASSERT_TRUE(main_->Click(kPlay));
  ASSERT_TRUE(main_->Transport().play);
  ChooseComboEntry(main_->window, kOutputDevice, 0);
  ASSERT_TRUE(Barrier(main_->window));
  EXPECT_TRUE(main_->IsIdle());
  std::string stored = Narrow(name);
  EXPECT_NE(ReadConfig(main_->folder.path()).find("<mon_device_name>" + stored + "</mon_device_name>"),
            std::string::npos)
      << ReadConfig(main_->folder.path());
  // Played again on the chosen device.
  ForgetCapture();
  ASSERT_TRUE(main_->Click(kPlay));
  ASSERT_TRUE(WaitFor([&] { return CaptureSize() > 4 * tone_.size(); }));
  ASSERT_TRUE(main_->Click(kStop));
}

// True when the captured frames are the tone from its first sample on, on both channels,
// followed by nothing but the silence a STOP leaves.
bool CapturedFromTheStart(const std::vector<int16_t>& captured, const std::vector<int16_t>& tone) {
  const long difference = FirstDifference(captured, tone);
  if (difference == -1) return true;
  if (difference == 0) return false;
  return std::all_of(captured.begin() + 2 * difference, captured.end(),
                     [](int16_t value) { return value == 0; });
}

// The tone's buffers are only replaced once playback has stopped: "Create Tone", New and
// Open while the tone plays each stop it cleanly, and the tone made next plays from its
// first sample.
TEST_F(Playback, ReplacingTheToneWhilePlayingStopsPlaybackFirst) {
  ASSERT_TRUE(StartWith("busy-japan.ton", 25));
  const std::string other = main_->folder.File("other.ton");
  fs::copy_file(fs::u8path(ExamplePath("busy-north-america.ton")), fs::u8path(other));
  const std::vector<int16_t> other_tone = RenderedTone(*main_, other);
  ASSERT_FALSE(other_tone.empty());
  struct Replacement {
    const char* name;
    std::function<bool()> replace;
    const std::vector<int16_t>* next_tone;  // what plays after it
  } replacements[] = {
      {"Create Tone", [&] { return main_->CreateTone().empty(); }, &tone_},
      {"Open", [&] { return main_->Open(other); }, &other_tone},
      {"New", [&] { return main_->Click(kFileNew) && !main_->Transport().enabled; }, nullptr},
  };
  for (const Replacement& r : replacements) {
    ForgetCapture();
    ASSERT_TRUE(main_->Click(kPlay)) << r.name;
    ASSERT_TRUE(WaitFor([] { return CaptureSize() > 64 * 1024; })) << r.name;
    ASSERT_TRUE(main_->Transport().play) << r.name;
    ASSERT_TRUE(r.replace()) << r.name;
    EXPECT_TRUE(main_->IsIdle()) << r.name;
    // Stopped means the device is closed: nothing more arrives.
    const uint64_t stopped_at = CaptureSize();
    Sleep(300);
    EXPECT_EQ(CaptureSize(), stopped_at) << r.name;
    if (r.next_tone == nullptr) {
      // After New there is no tone until one is opened.
      ASSERT_TRUE(main_->DropFile(setting_)) << r.name;
    }
    const std::vector<int16_t>& next = r.next_tone != nullptr ? *r.next_tone : tone_;
    ForgetCapture();
    ASSERT_TRUE(main_->Click(kPlay)) << r.name;
    ASSERT_TRUE(WaitFor([] { return CaptureSize() > 32 * 1024; })) << r.name;
    ASSERT_TRUE(main_->Click(kStop)) << r.name;
    EXPECT_TRUE(CapturedFromTheStart(CapturedValues(), next)) << r.name;
  }
}

TEST_F(Playback, SuspendStopsPlayback) {
  ASSERT_TRUE(StartWith("busy-japan.ton", 1, 1));
  ASSERT_TRUE(main_->Click(kPlay));
  ASSERT_TRUE(WaitFor([] { return CaptureSize() > 0; }));
  PostMessageW(main_->window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  ASSERT_TRUE(Barrier(main_->window));
  EXPECT_TRUE(main_->IsIdle());
  EXPECT_TRUE(main_->Transport().enabled) << "the tone stays after suspend";
  // Other power events change nothing.
  ASSERT_TRUE(main_->Click(kPlay));
  PostMessageW(main_->window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  ASSERT_TRUE(Barrier(main_->window));
  EXPECT_TRUE(main_->Transport().play);
  ASSERT_TRUE(main_->Click(kStop));
}

}  // namespace
}  // namespace sonaril_e2e
