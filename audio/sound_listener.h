// The source of the PCM that a renderer plays. Its callbacks run on the renderer's render
// thread (and OnRender also on the owner's thread inside Start), while the renderer holds its
// lock: they must return promptly and must not call Close or Shutdown of that renderer, nor
// wait for the owner's thread.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

class CSoundListener {
 public:
  virtual ~CSoundListener() = default;
  // Kept for the fixed slot order of the interface; renderers never call it.
  virtual int Reserved() { return 0; }
  // Fills block (size bytes, zero-filled on entry) and answers how many bytes to play.
  // 0 queues the buffer as an end marker. The default plays the block as silence.
  virtual uint32_t OnRender(uint8_t* block, uint32_t size) {
    (void)block;
    return size;
  }
  // A buffer queued as an end marker has come back.
  virtual void OnRenderEnd(WAVEHDR* header) { (void)header; }
};
