#include "audio/mme_renderer.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

#include "debug/debug_output.h"

namespace {

// The waveOut id of a renderer device id; -1 selects the default device.
UINT ToWaveOutId(int32_t id) {
  return id == CBaseRenderer::kDefaultDevice ? WAVE_MAPPER : static_cast<UINT>(id);
}

// The platform sets the done flag from its own thread; read it afresh every time.
bool IsDone(const WAVEHDR& header) {
  return (*static_cast<const volatile DWORD*>(&header.dwFlags) & WHDR_DONE) != 0;
}

// Describes linear PCM and the bytes of one buffer of latency_ms. False when the values
// cannot form a format the platform can hold or a buffer of 1 to INT_MAX bytes.
bool DescribePcm(int32_t channels, int32_t rate, int32_t bits, int32_t latency_ms,
                 WAVEFORMATEX* format, uint32_t* buffer_bytes) {
  if (channels < 1 || channels > 0xFFFF || bits < 1 || bits > 0xFFFF || rate < 1 ||
      latency_ms < 1) {
    return false;
  }
  const int64_t block_align = (static_cast<int64_t>(bits) * channels + 7) / 8;
  const int64_t bytes_per_second = static_cast<int64_t>(rate) * block_align;
  // Whole milliseconds of whole kilohertz: 44,100 Hz gives 44 frames per millisecond.
  const int64_t frames = static_cast<int64_t>(latency_ms) * (rate / 1000);
  if (block_align > 0xFFFF || bytes_per_second > 0xFFFFFFFFLL || frames < 1 ||
      frames > INT_MAX || frames * block_align > INT_MAX) {
    return false;
  }
  *format = WAVEFORMATEX();
  format->wFormatTag = WAVE_FORMAT_PCM;
  format->nChannels = static_cast<WORD>(channels);
  format->nSamplesPerSec = static_cast<DWORD>(rate);
  format->nAvgBytesPerSec = static_cast<DWORD>(bytes_per_second);
  format->nBlockAlign = static_cast<WORD>(block_align);
  format->wBitsPerSample = static_cast<WORD>(bits);
  format->cbSize = 0;
  *buffer_bytes = static_cast<uint32_t>(frames * block_align);
  return true;
}

}  // namespace

CMMERenderer::CMMERenderer() : CMMERenderer(SystemDeviceApi()) {}

CMMERenderer::CMMERenderer(const DeviceApi& device_api)
    : api(device_api),
      buffer_size(kInitialBufferSize),
      device(nullptr),
      headers(),
      queued(),
      thread(nullptr),
      event(nullptr),
      latency_ms(0) {}

CMMERenderer::~CMMERenderer() {
  // A running render thread would outlive the object it works on.
  if (IsOpen() || thread.load() != nullptr) Close();
}

void CMMERenderer::Initialize(CSoundListener* new_listener) {
  // Close first, so the old stream never reaches the new listener.
  if (IsOpen()) Shutdown();
  listener = new_listener;
  ResetMembers();
}

void CMMERenderer::ResetMembers() {
  buffer_size = kInitialBufferSize;
  state = RenderState::Closed;
  {
    CCriticalSectionLock guard(lock);
    device = nullptr;
    for (int i = 0; i < kBufferCount; ++i) {
      headers[i] = WAVEHDR();
      queued[i] = false;
    }
  }
  thread = nullptr;
  event = nullptr;
  wave_format = WAVEFORMATEX();
}

bool CMMERenderer::SetDevice(int32_t id) {
  const int32_t count = DeviceCount();
  if (id != kDefaultDevice && (id < 0 || id >= count)) return false;
  device_id = id;
  return true;
}

bool CMMERenderer::Open(int32_t channels, int32_t samples_per_second, int32_t bits,
                        int32_t requested_latency_ms) {
  DebugPrint(L"CMMERenderer::Open(%d, %d, %d, %d)\n", channels, samples_per_second, bits,
             requested_latency_ms);
  if (IsOpen()) return false;

  HANDLE wake = api.CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (wake == nullptr) return FailOpen();
  event = wake;

  WAVEFORMATEX format;
  uint32_t block_bytes = 0;
  if (!DescribePcm(channels, samples_per_second, bits, requested_latency_ms, &format,
                   &block_bytes)) {
    return FailOpen();
  }
  wave_format = format;

  HWAVEOUT opened = nullptr;
  if (api.waveOutOpen(&opened, ToWaveOutId(device_id), &wave_format,
                      reinterpret_cast<DWORD_PTR>(wake), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    DebugPrint(L"[MME] waveOutOpen error\n");
    return FailOpen();
  }
  {
    CCriticalSectionLock guard(lock);
    device = opened;
  }

  latency_ms = static_cast<uint32_t>(requested_latency_ms);
  buffer_size = block_bytes;
  DebugPrint(L"[MME] block size : %d\n", static_cast<int>(buffer_size));

  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = headers[i];
    header = WAVEHDR();
    char* block = new (std::nothrow) char[buffer_size];
    if (block == nullptr) return FailOpen();
    header.lpData = block;
    // Prepared once for the whole block; each write then sets the length it plays.
    header.dwBufferLength = buffer_size;
    if (api.waveOutPrepareHeader(opened, &header, sizeof header) != MMSYSERR_NOERROR) {
      DebugPrint(L"[MME] waveOutPrepareHeader error\n");
      return FailOpen();
    }
  }

  state = RenderState::Stopped;
  HANDLE render_thread = api.CreateThread(nullptr, 0, RenderThreadEntry, this, 0, nullptr);
  if (render_thread == nullptr) return FailOpen();
  thread = render_thread;
  DebugPrint(L"[MME] open render device\n");
  return true;
}

bool CMMERenderer::FailOpen() {
  DebugPrint(L"[MME] render device open error\n");
  Close();
  return false;
}

bool CMMERenderer::Start() {
  DebugPrint(L"CMMERenderer::Start()\n");
  CCriticalSectionLock guard(lock);
  if (device == nullptr) return false;
  if (state == RenderState::Playing) return true;
  state = RenderState::Playing;
  for (int i = 0; i < kBufferCount; ++i) {
    // Only a failed reset can leave a buffer with the device; it is serviced when it returns.
    if (queued[i] && !IsDone(headers[i])) continue;
    queued[i] = false;
    FillAndQueue(i);
  }
  DebugPrint(L"[MME] start render device\n");
  return true;
}

bool CMMERenderer::Stop() {
  DebugPrint(L"CMMERenderer::Stop()\n");
  // Under the lock the render thread is either before its state check or done with its write,
  // so after the reset nothing is left in the device and nothing more will be queued.
  CCriticalSectionLock guard(lock);
  if (device == nullptr) return false;
  state = RenderState::Stopped;
  if (api.waveOutReset(device) != MMSYSERR_NOERROR) {
    DebugPrint(L"[MME] waveOutReset error\n");
    return false;
  }
  DebugPrint(L"[MME] stop render device\n");
  return true;
}

void CMMERenderer::Close() {
  DebugPrint(L"CMMERenderer::Close()\n");
  Stop();

  HWAVEOUT closing = nullptr;
  {
    CCriticalSectionLock guard(lock);
    state = RenderState::Closed;
    closing = device;
    device = nullptr;
  }

  HANDLE render_thread = thread.exchange(nullptr);
  if (render_thread != nullptr) {
    HANDLE wake = event.load();
    const bool woken = wake != nullptr && api.SetEvent(wake);
    api.Sleep(woken ? 50 : 500);
    EndRenderThread(render_thread);
  }

  if (closing != nullptr) {
    ReleaseBuffers(closing);
    api.waveOutClose(closing);
    DebugPrint(L"[MME] close render device\n");
  }

  HANDLE old_event = event.exchange(nullptr);
  if (old_event != nullptr) api.CloseHandle(old_event);
}

void CMMERenderer::EndRenderThread(HANDLE render_thread) {
  bool ended = false;
  for (int poll = 1; poll <= kShutdownPolls && !ended; ++poll) {
    DWORD exit_code = 0;
    ended = !api.GetExitCodeThread(render_thread, &exit_code) || exit_code != STILL_ACTIVE;
    if (!ended && poll < kShutdownPolls) api.Sleep(kShutdownPollMs);
  }
  if (!ended) api.TerminateThread(render_thread, 1);
  api.CloseHandle(render_thread);
}

void CMMERenderer::ReleaseBuffers(HWAVEOUT closing_device) {
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = headers[i];
    if (header.lpData != nullptr) {
      // A device that still plays the block (its reset failed) keeps it: leaking it is
      // better than letting the device read freed memory.
      if (api.waveOutUnprepareHeader(closing_device, &header, sizeof header) !=
          WAVERR_STILLPLAYING) {
        delete[] header.lpData;
      }
    }
    header = WAVEHDR();
    queued[i] = false;
  }
}

DWORD WINAPI CMMERenderer::RenderThreadEntry(LPVOID renderer) {
  return static_cast<CMMERenderer*>(renderer)->RenderThread();
}

DWORD CMMERenderer::RenderThread() {
  HANDLE wake = event.load();
  while (state != RenderState::Closed) {
    if (api.WaitForSingleObject(wake, INFINITE) != WAIT_OBJECT_0) continue;
    if (state == RenderState::Closed) break;
    ServiceReturnedBuffers();
  }
  return 0;
}

void CMMERenderer::ServiceReturnedBuffers() {
  // Signals of buffers that came back together merge into one wake, so every returned
  // buffer is serviced here, lowest index first.
  CCriticalSectionLock guard(lock);
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = headers[i];
    if (!queued[i] || !IsDone(header)) continue;
    queued[i] = false;
    if (device == nullptr || state != RenderState::Playing) continue;
    if (header.dwUser == kEndMarker) {
      if (listener != nullptr) listener->OnRenderEnd(&header);
    } else {
      FillAndQueue(i);
    }
  }
}

void CMMERenderer::FillAndQueue(int index) {
  if (state != RenderState::Playing) return;
  WAVEHDR& header = headers[index];
  uint8_t* block = reinterpret_cast<uint8_t*>(header.lpData);
  std::memset(block, 0, buffer_size);
  uint32_t length = listener != nullptr ? listener->OnRender(block, buffer_size) : buffer_size;
  // The device must never read past the block.
  if (length > buffer_size) length = buffer_size;
  header.dwUser = length == 0 ? kEndMarker : 0;
  header.dwBufferLength = length;
  // OnRender may itself have stopped the renderer; then the buffer stays here.
  if (state == RenderState::Playing &&
      api.waveOutWrite(device, &header, sizeof header) == MMSYSERR_NOERROR) {
    queued[index] = true;
    return;
  }
  header.dwUser = 0;
  header.dwBufferLength = 0;
}

int32_t CMMERenderer::DeviceCount() {
  const UINT count = api.waveOutGetNumDevs();
  return count > static_cast<UINT>(INT_MAX) ? INT_MAX : static_cast<int32_t>(count);
}

bool CMMERenderer::ReadDeviceCaps(int32_t id, DeviceCaps* record) {
  *record = DeviceCaps();
  WAVEOUTCAPSW caps = {};
  if (api.waveOutGetDevCapsW(ToWaveOutId(id), &caps, sizeof caps) != MMSYSERR_NOERROR) {
    return false;
  }
  record->manufacturer_id = caps.wMid;
  record->product_id = caps.wPid;
  record->driver_version = caps.vDriverVersion;
  // The platform's name field is fixed-size and need not end in a NUL.
  for (size_t i = 0; i < MAXPNAMELEN && caps.szPname[i] != L'\0'; ++i) {
    record->name[i] = caps.szPname[i];
  }
  record->formats = caps.dwFormats;
  record->channels = caps.wChannels;
  return true;
}

int32_t CMMERenderer::GetDeviceCaps(int32_t id, DeviceCaps* record) {
  const int32_t count = DeviceCount();
  if (record != nullptr) ReadDeviceCaps(id, record);
  return count;
}

int32_t CMMERenderer::FindDevice(const wchar_t* name, const wchar_t*) {
  if (name == nullptr) return kDefaultDevice;
  const int32_t count = DeviceCount();
  DeviceCaps caps;
  for (int32_t id = 0; id < count; ++id) {
    // A device that cannot describe itself has no name to match, not an empty one.
    if (ReadDeviceCaps(id, &caps) && std::wcscmp(caps.name, name) == 0) return id;
  }
  return kDefaultDevice;
}

bool CMMERenderer::IsOpen() {
  CCriticalSectionLock guard(lock);
  return device != nullptr;
}

bool CMMERenderer::GetVolume(uint16_t* left, uint16_t* right) {
  CCriticalSectionLock guard(lock);
  if (device == nullptr) return false;
  DWORD volume = 0;
  if (api.waveOutGetVolume(device, &volume) != MMSYSERR_NOERROR) return false;
  if (left != nullptr) *left = LOWORD(volume);
  if (right != nullptr) *right = HIWORD(volume);
  return true;
}

bool CMMERenderer::SetVolume(uint16_t left, uint16_t right) {
  CCriticalSectionLock guard(lock);
  if (device == nullptr) return false;
  return api.waveOutSetVolume(device, MAKELONG(left, right)) == MMSYSERR_NOERROR;
}
