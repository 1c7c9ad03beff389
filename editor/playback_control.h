// Playback of the generated tone: the STOP, PLAY and PAUSE commands with the checked
// states of their buttons, Repeat Play, and the render callback that feeds the device.
//
// Threads: every operation runs on the window's thread except Render, which the renderer
// calls on its render thread. Render reads the output buffer and the flags and moves
// play_position; the window thread replaces the buffer only while the device is closed,
// which ends the render thread, so no lock is needed.
#pragma once
#include <atomic>
#include <cstdint>

// The renderer as playback drives it; the main window adapts its waveOut renderer to
// this, tests use a scripted one.
class PlaybackDevice {
 public:
  virtual ~PlaybackDevice() = default;
  virtual bool IsOpen() = 0;
  virtual bool Open(int32_t channels, int32_t samples_per_second, int32_t bits,
                    int32_t latency_ms) = 0;
  virtual bool IsPlaying() = 0;
  virtual bool Start() = 0;
  virtual bool Stop() = 0;
  virtual void Close() = 0;
};

// Which transport buttons show as pressed. No button stays down while idle.
struct TransportChecks {
  bool stop = false;
  bool play = false;
  bool pause = false;
};

// The output format playback asks for: 16-bit stereo in 100 ms buffers.
constexpr int32_t kPlaybackChannels = 2;
constexpr int32_t kPlaybackBits = 16;
constexpr int32_t kPlaybackLatencyMs = 100;
constexpr int32_t kInitialOutputRate = 48000;

class CPlaybackControl {
 public:
  // device is not owned and must outlive this object.
  explicit CPlaybackControl(PlaybackDevice* device);
  // Frees the output buffer; the device must be closed by then.
  ~CPlaybackControl();
  CPlaybackControl(const CPlaybackControl&) = delete;
  CPlaybackControl& operator=(const CPlaybackControl&) = delete;

  // Takes ownership of buffer (new[]; may be null with count 0) as the samples to play at
  // rate, freeing the previous one. Call only while the device is closed.
  void ReplaceOutput(int16_t* buffer, int32_t count, int32_t rate);

  // PLAY: plays the output buffer from its start, or resumes after PAUSE. sample_count
  // is the main window's; 0 means there is no tone and nothing happens but the check.
  void Play(int32_t sample_count);
  // PAUSE: silence while the device keeps running; the position holds.
  void Pause();
  // STOP, and the stop every replacement of the buffer needs first: stops and closes the
  // device and releases every button.
  void StopPlayback();
  // "Repeat Play" clicked while shown as checked: the new switch is the opposite.
  bool ToggleRepeatPlay(bool was_checked);

  // The render callback: fills block (size bytes, zero-filled by the caller) with frames
  // of two 16-bit values, left and right, both the same output sample, and answers size.
  // Without Repeat Play, the blocks after the tone's end are silence, and *end_reached is
  // set from the second of them on: the window should press STOP. By then the device has
  // given back the block that holds the tone's last samples, so the stop cuts none of them.
  uint32_t Render(uint8_t* block, uint32_t size, bool* end_reached);

  const TransportChecks& checks() const { return checks_; }
  int32_t output_rate() const { return output_rate_; }
  int32_t output_count() const { return output_count_; }
  const int16_t* output_buffer() const { return output_buffer_; }

  std::atomic<int32_t> repeat_play{0};    // loop the buffer endlessly
  std::atomic<int32_t> paused{0};         // Render delivers silence and holds its position
  std::atomic<int32_t> play_position{0};  // index of the next sample to play
  // Silent blocks rendered since the end of the tone; written by Render, reset by Play.
  std::atomic<int32_t> blocks_after_end{0};

 private:
  PlaybackDevice* device_;  // not owned
  TransportChecks checks_;
  int32_t output_rate_ = kInitialOutputRate;
  int32_t output_count_ = 0;
  int16_t* output_buffer_ = nullptr;  // owned
};
