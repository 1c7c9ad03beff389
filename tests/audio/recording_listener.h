// A listener that feeds a known byte pattern and records every callback.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "audio/sound_listener.h"

namespace sonaril_test {

// The byte at offset k of the fed stream; never 0, so silence is told apart from data.
inline uint8_t PatternByte(uint64_t k) { return static_cast<uint8_t>((k * 13 + 7) % 251 + 1); }

class RecordingListener : public CSoundListener {
 public:
  // How many bytes call number `call` (from 0) fills, given the block size. Answering more
  // than size is allowed (the excess is not written). Default: the whole block.
  std::function<uint32_t(int call, uint32_t size)> answer;
  // Runs inside OnRender, after the block is filled.
  std::function<void()> inside_render;
  // While set, an OnRender call is counted as forbidden.
  std::atomic<bool> forbidden{false};

  uint32_t OnRender(uint8_t* block, uint32_t size) override {
    const int call = render_calls_++;
    if (forbidden) ++forbidden_calls_;
    for (uint32_t i = 0; i < size; ++i) {
      if (block[i] != 0) ++dirty_blocks_;  // the renderer zero-fills before asking
      if (block[i] != 0) break;
    }
    const uint32_t wanted = answer ? answer(call, size) : size;
    const uint32_t filled = wanted < size ? wanted : size;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (uint32_t i = 0; i < filled; ++i) {
        block[i] = PatternByte(fed_.size());
        fed_.push_back(static_cast<char>(block[i]));
      }
      sizes_.push_back(size);
    }
    if (inside_render) inside_render();
    return wanted;
  }

  void OnRenderEnd(WAVEHDR* header) override {
    std::lock_guard<std::mutex> lock(mutex_);
    ended_.push_back(header);
    end_users_.push_back(header->dwUser);
  }

  int RenderCalls() const { return render_calls_; }
  int ForbiddenCalls() const { return forbidden_calls_; }
  int DirtyBlocks() const { return dirty_blocks_; }
  std::string Fed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return fed_;
  }
  std::vector<uint32_t> Sizes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sizes_;
  }
  std::vector<WAVEHDR*> Ended() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ended_;
  }
  std::vector<DWORD_PTR> EndUsers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return end_users_;
  }

 private:
  std::atomic<int> render_calls_{0};
  std::atomic<int> forbidden_calls_{0};
  std::atomic<int> dirty_blocks_{0};
  std::mutex mutex_;
  std::string fed_;
  std::vector<uint32_t> sizes_;
  std::vector<WAVEHDR*> ended_;
  std::vector<DWORD_PTR> end_users_;
};

}  // namespace sonaril_test
