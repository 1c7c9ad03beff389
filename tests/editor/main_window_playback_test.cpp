#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "editor/playback_control.h"
#include "tests/common/debug_capture.h"

namespace {

using sonaril_test::DebugCapture;

// A renderer that does what it is told and remembers what it was asked.
class ScriptedDevice : public PlaybackDevice {
 public:
  bool IsOpen() override { return open; }
  bool Open(int32_t channels, int32_t rate, int32_t bits, int32_t latency) override {
    calls.push_back("Open(" + std::to_string(channels) + "," + std::to_string(rate) + "," +
                    std::to_string(bits) + "," + std::to_string(latency) + ")");
    open = open_succeeds;
    return open_succeeds;
  }
  bool IsPlaying() override { return playing; }
  bool Start() override {
    calls.push_back("Start");
    playing = open && start_succeeds;
    // waveOut fills both of its buffers inside Start, before the render thread runs.
    for (int i = 0; playing && preroll != nullptr && i < 2; ++i) {
      int16_t block[800 * 2] = {};
      bool end = false;
      preroll->Render(reinterpret_cast<uint8_t*>(block), sizeof block, &end);
      prerolled.push_back(block[0]);
    }
    return playing;
  }
  bool Stop() override {
    calls.push_back("Stop");
    playing = false;
    return open;
  }
  void Close() override {
    calls.push_back("Close");
    open = false;
    playing = false;
  }

  bool open = false;
  bool playing = false;
  bool open_succeeds = true;
  bool start_succeeds = true;
  std::vector<std::string> calls;
  CPlaybackControl* preroll = nullptr;  // rendered from inside Start when set
  std::vector<int16_t> prerolled;       // the first sample of each pre-rolled block
};

struct Checks {
  bool stop, play, pause;
};

void ExpectChecks(const CPlaybackControl& control, Checks expected, const char* when) {
  EXPECT_EQ(control.checks().stop, expected.stop) << when;
  EXPECT_EQ(control.checks().play, expected.play) << when;
  EXPECT_EQ(control.checks().pause, expected.pause) << when;
}

int16_t* Ramp(int32_t count, int16_t first = 1) {
  int16_t* samples = new int16_t[count];
  for (int32_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(first + i);
  return samples;
}

// Runs one render call and returns the frames as (left, right) pairs.
std::vector<int16_t> RenderBlock(CPlaybackControl& control, uint32_t frames, bool* end_reached) {
  std::vector<uint8_t> block(frames * 4, 0xAB);  // the control zeroes it again
  EXPECT_EQ(control.Render(block.data(), static_cast<uint32_t>(block.size()), end_reached),
            block.size());
  std::vector<int16_t> values(frames * 2);
  std::memcpy(values.data(), block.data(), block.size());
  return values;
}

TEST(PlaybackControlTest, TransportStateTable) {
  struct Step {
    const char* command;
    Checks after;
    bool device_playing;
  };
  // idle -> playing -> paused -> playing -> idle -> playing, with the repeats in between.
  const Step steps[] = {
      {"pause", {false, false, false}, false},  // PAUSE while idle releases every button
      {"play", {false, true, false}, true},
      {"pause", {false, false, true}, true},
      {"pause", {false, false, true}, true},    // paused stays paused
      {"play", {false, true, false}, true},     // resumes
      {"stop", {false, false, false}, false},   // no button stays down
      {"stop", {false, false, false}, false},   // a repeated STOP is harmless
      {"play", {false, true, false}, true},
  };
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(8000), 8000, 8000);
  for (const Step& step : steps) {
    const std::string command = step.command;
    if (command == "play") control.Play(8000);
    if (command == "pause") control.Pause();
    if (command == "stop") control.StopPlayback();
    ExpectChecks(control, step.after, step.command);
    EXPECT_EQ(device.playing, step.device_playing) << step.command;
  }
  control.StopPlayback();
}

TEST(PlaybackControlTest, PlayOpensTheDeviceAtTheBuffersRate) {
  DebugCapture log;
  ScriptedDevice device;
  CPlaybackControl control(&device);
  EXPECT_EQ(control.output_rate(), 48000);
  control.ReplaceOutput(Ramp(441), 441, 44100);
  control.Play(441);
  const std::vector<std::string> expected = {"Open(2,44100,16,100)", "Start"};
  EXPECT_EQ(device.calls, expected);
  EXPECT_TRUE(log.Contains("[CAppMain] play start\n"));
  control.StopPlayback();
  EXPECT_TRUE(log.Contains("[CAppMain] play stop\n"));
  EXPECT_EQ(device.calls.back(), "Close");
  EXPECT_EQ(device.calls[device.calls.size() - 2], "Stop");
}

TEST(PlaybackControlTest, FailuresLeavePlayReleased) {
  {
    DebugCapture log;
    ScriptedDevice device;
    device.open_succeeds = false;
    CPlaybackControl control(&device);
    control.ReplaceOutput(Ramp(10), 10, 8000);
    control.Play(10);
    ExpectChecks(control, {false, false, false}, "open fails");
    EXPECT_TRUE(log.Contains("[CAppMain] render device open error\n"));
    EXPECT_FALSE(log.Contains("[CAppMain] play start\n"));
  }
  {
    DebugCapture log;
    ScriptedDevice device;
    device.start_succeeds = false;
    CPlaybackControl control(&device);
    control.ReplaceOutput(Ramp(10), 10, 8000);
    control.Play(10);
    ExpectChecks(control, {false, false, false}, "start fails");
    EXPECT_FALSE(log.Contains("[CAppMain] play start\n"));
    EXPECT_FALSE(log.Contains("[CAppMain] render device open error\n"));
    control.StopPlayback();
  }
  {
    ScriptedDevice device;
    CPlaybackControl control(&device);
    control.Play(0);  // no tone: the device is not even asked
    ExpectChecks(control, {false, false, false}, "no tone");
    EXPECT_TRUE(device.calls.empty());
  }
}

// 8,000 samples at 8,000 Hz in 100 ms blocks of 800 frames: ten blocks of sound, then
// the stop request.
TEST(PlaybackControlTest, OneSecondPlaysInTenBlocksThenAsksToStop) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(8000, -4000), 8000, 8000);
  control.Play(8000);
  for (int block = 0; block < 10; ++block) {
    bool end = true;
    const std::vector<int16_t> values = RenderBlock(control, 800, &end);
    EXPECT_FALSE(end) << block;
    for (int frame = 0; frame < 800; ++frame) {
      const int16_t expected = static_cast<int16_t>(-4000 + block * 800 + frame);
      ASSERT_EQ(values[2 * frame], expected) << "left, block " << block << " frame " << frame;
      ASSERT_EQ(values[2 * frame + 1], expected) << "right, block " << block << " frame " << frame;
    }
  }
  // The first silent block lets the device play the one before; then STOP is asked for,
  // again and again until it takes effect.
  for (int again = 0; again < 4; ++again) {
    bool end = false;
    const std::vector<int16_t> values = RenderBlock(control, 800, &end);
    EXPECT_EQ(end, again > 0) << again;
    EXPECT_EQ(values, std::vector<int16_t>(1600, 0));
  }
  control.StopPlayback();
  ExpectChecks(control, {false, false, false}, "after the end");
  EXPECT_FALSE(device.open);
}

TEST(PlaybackControlTest, ThePartialLastBlockEndsInSilence) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(1000), 1000, 8000);
  control.Play(1000);
  bool end = false;
  RenderBlock(control, 800, &end);
  const std::vector<int16_t> values = RenderBlock(control, 800, &end);
  EXPECT_FALSE(end);
  for (int frame = 0; frame < 200; ++frame) EXPECT_EQ(values[2 * frame], 801 + frame);
  for (int frame = 200; frame < 800; ++frame) {
    ASSERT_EQ(values[2 * frame], 0);
    ASSERT_EQ(values[2 * frame + 1], 0);
  }
  EXPECT_EQ(control.play_position, 1000);
  RenderBlock(control, 800, &end);
  EXPECT_FALSE(end);
  RenderBlock(control, 800, &end);
  EXPECT_TRUE(end);
  control.StopPlayback();
}

TEST(PlaybackControlTest, RepeatPlayFollowsTheLastSampleWithTheFirstInTheSameBlock) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(300), 300, 8000);
  EXPECT_TRUE(control.ToggleRepeatPlay(false));
  control.Play(300);
  bool end = true;
  const std::vector<int16_t> values = RenderBlock(control, 800, &end);
  EXPECT_FALSE(end);
  for (int frame = 0; frame < 800; ++frame) {
    ASSERT_EQ(values[2 * frame], 1 + frame % 300) << frame;
    ASSERT_EQ(values[2 * frame + 1], 1 + frame % 300) << frame;
  }
  // Switching Repeat Play off ends playback at the next end of the buffer, not at once.
  EXPECT_FALSE(control.ToggleRepeatPlay(true));
  const std::vector<int16_t> tail = RenderBlock(control, 800, &end);
  EXPECT_FALSE(end);
  for (int frame = 0; frame < 100; ++frame) EXPECT_EQ(tail[2 * frame], 201 + frame);
  for (int frame = 100; frame < 800; ++frame) ASSERT_EQ(tail[2 * frame], 0);
  RenderBlock(control, 800, &end);
  EXPECT_FALSE(end);
  RenderBlock(control, 800, &end);
  EXPECT_TRUE(end);
  control.StopPlayback();
}

TEST(PlaybackControlTest, EveryPlayWaitsForItsOwnLastBlock) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(800), 800, 8000);
  for (int round = 0; round < 3; ++round) {
    control.Play(800);
    bool end = true;
    EXPECT_EQ(RenderBlock(control, 800, &end)[1598], 800) << round;
    EXPECT_FALSE(end);
    RenderBlock(control, 800, &end);
    EXPECT_FALSE(end) << round;
    RenderBlock(control, 800, &end);
    EXPECT_TRUE(end) << round;
    control.StopPlayback();
  }
}

TEST(PlaybackControlTest, PauseHoldsThePositionAndStopStartsOver) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(5000), 5000, 8000);
  control.Play(5000);
  bool end = false;
  RenderBlock(control, 800, &end);
  control.Pause();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(RenderBlock(control, 800, &end), std::vector<int16_t>(1600, 0));
    EXPECT_FALSE(end);
    EXPECT_EQ(control.play_position, 800);
  }
  control.Play(5000);  // resume: no second Start
  EXPECT_EQ(std::count(device.calls.begin(), device.calls.end(), "Start"), 1);
  EXPECT_EQ(RenderBlock(control, 800, &end)[0], 801);
  control.StopPlayback();
  control.Play(5000);
  EXPECT_EQ(control.play_position, 0);
  EXPECT_EQ(RenderBlock(control, 800, &end)[0], 1);
  control.StopPlayback();
}

// Whatever came before, a PLAY that starts the device pre-rolls the tone's first samples,
// not the silence of an earlier PAUSE.
TEST(PlaybackControlTest, EveryStartPrerollsTheToneFromItsFirstSample) {
  const std::vector<std::vector<std::string>> histories = {
      {},
      {"play", "stop"},
      {"play", "pause", "stop"},
      {"pause", "stop"},
  };
  for (const std::vector<std::string>& history : histories) {
    ScriptedDevice device;
    CPlaybackControl control(&device);
    control.ReplaceOutput(Ramp(5000), 5000, 8000);
    std::string name;
    for (const std::string& command : history) {
      if (command == "play") control.Play(5000);
      if (command == "pause") control.Pause();
      if (command == "stop") control.StopPlayback();
      name += command + " ";
    }
    device.preroll = &control;
    control.Play(5000);
    EXPECT_EQ(device.prerolled, (std::vector<int16_t>{1, 801})) << name;
    ExpectChecks(control, {false, true, false}, name.c_str());
    control.StopPlayback();
  }
}

TEST(PlaybackControlTest, AnEmptyBufferNeverReadsASample) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ToggleRepeatPlay(false);
  control.ReplaceOutput(nullptr, 100, 8000);
  EXPECT_EQ(control.output_count(), 0);
  bool end = true;
  EXPECT_EQ(RenderBlock(control, 800, &end), std::vector<int16_t>(1600, 0));
  EXPECT_FALSE(end);
  EXPECT_EQ(RenderBlock(control, 800, &end), std::vector<int16_t>(1600, 0));
  EXPECT_TRUE(end);
}

TEST(PlaybackControlTest, OddBlockSizesFillWholeFramesOnly) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  control.ReplaceOutput(Ramp(10), 10, 8000);
  control.Play(10);
  std::vector<uint8_t> block(7, 0xCD);
  bool end = false;
  EXPECT_EQ(control.Render(block.data(), 7, &end), 7u);
  int16_t frame[2];
  std::memcpy(frame, block.data(), 4);
  EXPECT_EQ(frame[0], 1);
  EXPECT_EQ(frame[1], 1);
  EXPECT_EQ(block[4], 0);
  EXPECT_EQ(block[6], 0);
  EXPECT_EQ(control.play_position, 1);
  control.StopPlayback();
}

// The render thread reads while the window thread flips PAUSE and Repeat Play: every
// sound frame still continues the buffer in order, and nothing tears.
TEST(PlaybackControlTest, FlagsFlippedDuringRenderingKeepTheSequence) {
  ScriptedDevice device;
  CPlaybackControl control(&device);
  const int32_t count = 997;
  control.ReplaceOutput(Ramp(count), count, 8000);
  control.ToggleRepeatPlay(false);
  control.Play(count);
  std::atomic<bool> done{false};
  std::atomic<int> bad_frames{0};
  std::thread render([&] {
    int32_t expected_next = 1;
    for (int call = 0; call < 2000; ++call) {
      bool end = false;
      std::vector<uint8_t> block(3200);
      control.Render(block.data(), 3200, &end);
      for (int frame = 0; frame < 800; ++frame) {
        int16_t pair[2];
        std::memcpy(pair, block.data() + frame * 4, 4);
        if (pair[0] == 0) continue;  // silence while paused
        if (pair[0] != pair[1] || pair[0] != expected_next) ++bad_frames;
        expected_next = pair[0] % count + 1;
      }
    }
    done = true;
  });
  while (!done) {
    control.paused = 1;
    control.paused = 0;
  }
  render.join();
  EXPECT_EQ(bad_frames, 0);
  control.StopPlayback();
}

}  // namespace
