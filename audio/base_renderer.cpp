#include "audio/base_renderer.h"

CBaseRenderer::CBaseRenderer()
    : device_id(kDefaultDevice), state(RenderState::Closed), wave_format(), listener(nullptr) {}

void CBaseRenderer::Initialize(CSoundListener* new_listener) { listener = new_listener; }

void CBaseRenderer::Shutdown() { Close(); }

bool CBaseRenderer::SetDevice(int32_t id) {
  device_id = id;
  return true;
}

bool CBaseRenderer::Open(int32_t, int32_t, int32_t, int32_t) { return false; }

void CBaseRenderer::Close() {}

bool CBaseRenderer::Start() { return true; }

bool CBaseRenderer::Stop() { return true; }

int32_t CBaseRenderer::GetDevice() { return device_id; }

bool CBaseRenderer::GetCurrentDeviceCaps(DeviceCaps* record) {
  if (record == nullptr) return false;
  GetDeviceCaps(device_id, record);
  return true;
}

int32_t CBaseRenderer::GetDeviceCaps(int32_t, DeviceCaps* record) {
  if (record != nullptr) *record = DeviceCaps();
  return 0;
}

int32_t CBaseRenderer::FindDevice(const wchar_t*, const wchar_t*) { return kDefaultDevice; }

bool CBaseRenderer::IsOpen() { return false; }

bool CBaseRenderer::IsPlaying() { return state == RenderState::Playing; }

WAVEFORMATEX CBaseRenderer::GetFormat() { return wave_format; }

bool CBaseRenderer::GetVolume(uint16_t* left, uint16_t* right) {
  if (left != nullptr) *left = 0;
  if (right != nullptr) *right = 0;
  return true;
}

bool CBaseRenderer::SetVolume(uint16_t, uint16_t) { return true; }
