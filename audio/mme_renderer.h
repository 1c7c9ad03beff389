// Streams a listener's PCM to a waveOut device: two buffers cycle between the device and a
// render thread that refills each one as it comes back.
//
// Threads: the owner calls every operation; the render thread refills buffers and calls the
// listener. One lock makes each refill (the "still playing?" check, OnRender and waveOutWrite)
// a single step against Start, Stop and Close, so once Stop has returned no buffer is queued
// and no OnRender call is made until the next Start.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "audio/base_renderer.h"
#include "audio/critical_section.h"
#include "audio/device_api.h"

class CMMERenderer : public CBaseRenderer {
 public:
  // Bytes per buffer before the first Open.
  static constexpr uint32_t kInitialBufferSize = 1920;
  // Close waits for the render thread this many times this long before ending it by force.
  static constexpr int kShutdownPolls = 20;
  static constexpr DWORD kShutdownPollMs = 50;

  // Plays through the real sound devices.
  CMMERenderer();
  // Plays through api, which must outlive the renderer.
  explicit CMMERenderer(const DeviceApi& api);
  // Closes the device if the owner has not.
  ~CMMERenderer() override;

  void Initialize(CSoundListener* listener) override;
  bool SetDevice(int32_t id) override;
  bool Open(int32_t channels, int32_t samples_per_second, int32_t bits,
            int32_t latency_ms) override;
  void Close() override;
  bool Start() override;
  bool Stop() override;
  int32_t GetDeviceCaps(int32_t id, DeviceCaps* record) override;
  int32_t FindDevice(const wchar_t* name, const wchar_t* id_string) override;
  bool IsOpen() override;
  bool GetVolume(uint16_t* left, uint16_t* right) override;
  bool SetVolume(uint16_t left, uint16_t right) override;

 protected:
  static constexpr int kBufferCount = 2;
  // The header's user word of a buffer queued empty to mark the end of the stream.
  static constexpr DWORD_PTR kEndMarker = 1;

  const DeviceApi& api;
  uint32_t buffer_size;
  HWAVEOUT device;  // written by the owner under lock; read by the render thread under lock
  WAVEHDR headers[kBufferCount];
  // True from a successful waveOutWrite until the render thread (or Start) takes the buffer
  // back, so a buffer that came back is serviced exactly once. Guarded by lock.
  bool queued[kBufferCount];
  // The render thread; Close takes it out, waits for the thread to end and closes it.
  std::atomic<HANDLE> thread;
  // Auto-reset; signalled by the device for each returned buffer and by Close.
  std::atomic<HANDLE> event;
  uint32_t latency_ms;
  CCriticalSection lock;

 private:
  static DWORD WINAPI RenderThreadEntry(LPVOID renderer);
  DWORD RenderThread();
  void ServiceReturnedBuffers();
  // The fill step for one buffer; called with lock held and the state Playing.
  void FillAndQueue(int index);
  bool FailOpen();
  int32_t DeviceCount();
  // Fills record for device id; false (and a zeroed record) when the platform has none.
  bool ReadDeviceCaps(int32_t id, DeviceCaps* record);
  // Lets the render thread end, by force after the bounded wait, and releases its handle.
  void EndRenderThread(HANDLE render_thread);
  void ReleaseBuffers(HWAVEOUT closing_device);
  void ResetMembers();
};
