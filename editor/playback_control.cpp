#include "editor/playback_control.h"

#include <cstring>

#include "debug/debug_output.h"

namespace {

constexpr uint32_t kFrameBytes = 4;  // left and right, 16 bits each

void WriteFrame(uint8_t* frame, int16_t sample) {
  const int16_t pair[2] = {sample, sample};
  std::memcpy(frame, pair, sizeof pair);
}

}  // namespace

CPlaybackControl::CPlaybackControl(PlaybackDevice* device) : device_(device) {}

CPlaybackControl::~CPlaybackControl() { delete[] output_buffer_; }

void CPlaybackControl::ReplaceOutput(int16_t* buffer, int32_t count, int32_t rate) {
  delete[] output_buffer_;
  output_buffer_ = buffer;
  output_count_ = buffer != nullptr && count > 0 ? count : 0;
  output_rate_ = rate;
  play_position = 0;
}

void CPlaybackControl::Play(int32_t sample_count) {
  checks_ = TransportChecks{};
  checks_.play = true;
  if (sample_count != 0) {
    if (!device_->IsOpen() &&
        !device_->Open(kPlaybackChannels, output_rate_, kPlaybackBits, kPlaybackLatencyMs)) {
      DebugPrint(L"[CAppMain] render device open error\n");
    } else if (device_->IsPlaying()) {
      paused = 0;
      return;
    } else {
      play_position = 0;
      blocks_after_end = 0;
      // The device fills both of its buffers inside Start: a PAUSE left over from before
      // the last STOP would make them silence.
      paused = 0;
      if (device_->Start()) {
        DebugPrint(L"[CAppMain] play start\n");
        return;
      }
    }
  }
  checks_.play = false;
}

void CPlaybackControl::Pause() {
  checks_ = TransportChecks{};
  checks_.pause = true;
  if (device_->IsPlaying()) {
    paused = 1;
    DebugPrint(L"[CAppMain] play pause\n");
  } else {
    checks_.pause = false;
  }
}

void CPlaybackControl::StopPlayback() {
  // STOP is pressed and released at once: no button stays down.
  checks_ = TransportChecks{};
  device_->Stop();
  device_->Close();
  DebugPrint(L"[CAppMain] play stop\n");
}

bool CPlaybackControl::ToggleRepeatPlay(bool was_checked) {
  repeat_play = was_checked ? 0 : 1;
  return !was_checked;
}

uint32_t CPlaybackControl::Render(uint8_t* block, uint32_t size, bool* end_reached) {
  *end_reached = false;
  std::memset(block, 0, size);
  int32_t position = play_position;
  const int32_t count = output_count_;
  const bool repeat = repeat_play != 0;
  // An empty buffer cannot loop: it ends like a buffer played to its end.
  if (count <= 0 || (position >= count && !repeat)) {
    // Two buffers take turns: while this one was away, the one holding the last samples
    // was still playing. Only when it has come back too may STOP reset the device.
    if (blocks_after_end < 1) {
      ++blocks_after_end;
    } else {
      *end_reached = true;
    }
    return size;
  }
  if (paused == 0) {
    const uint32_t frames = size / kFrameBytes;
    for (uint32_t frame = 0; frame < frames; ++frame) {
      if (position >= count) {
        if (!repeat) break;
        position = 0;
      }
      WriteFrame(block + frame * kFrameBytes, output_buffer_[position]);
      ++position;
      play_position = position;
    }
    blocks_after_end = 0;
  }
  return size;
}
