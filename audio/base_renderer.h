// The renderer interface with harmless defaults: a renderer that plays nothing.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "audio/render_types.h"
#include "audio/sound_listener.h"

class CBaseRenderer {
 public:
  // The id that selects the system's default device.
  static constexpr int32_t kDefaultDevice = -1;

  CBaseRenderer();
  virtual ~CBaseRenderer() = default;
  CBaseRenderer(const CBaseRenderer&) = delete;
  CBaseRenderer& operator=(const CBaseRenderer&) = delete;

  // listener is not owned and must outlive the renderer's open period; null plays silence.
  virtual void Initialize(CSoundListener* listener);
  virtual void Shutdown();
  virtual bool SetDevice(int32_t id);
  virtual bool Open(int32_t channels, int32_t samples_per_second, int32_t bits,
                    int32_t latency_ms);
  virtual void Close();
  virtual bool Start();
  virtual bool Stop();
  virtual int32_t GetDevice();
  // Describes the device chosen by SetDevice; false only when record is null.
  virtual bool GetCurrentDeviceCaps(DeviceCaps* record);
  // Answers the number of output devices; fills record (which may be null) for device id.
  virtual int32_t GetDeviceCaps(int32_t id, DeviceCaps* record);
  // The index of the first device named exactly name, else kDefaultDevice.
  virtual int32_t FindDevice(const wchar_t* name, const wchar_t* id_string);
  virtual bool IsOpen();
  virtual bool IsPlaying();
  virtual WAVEFORMATEX GetFormat();
  // Either output may be null.
  virtual bool GetVolume(uint16_t* left, uint16_t* right);
  virtual bool SetVolume(uint16_t left, uint16_t right);

 protected:
  int32_t device_id;
  // Read by the render thread without the lock, hence atomic.
  std::atomic<RenderState> state;
  WAVEFORMATEX wave_format;
  CSoundListener* listener;  // not owned
};
