#include "tests/audio/simulated_device.h"

#include <chrono>
#include <cwchar>

namespace sonaril_test {
namespace {

HWAVEOUT const kDeviceHandle = reinterpret_cast<HWAVEOUT>(static_cast<uintptr_t>(0x5157));

}  // namespace

SimulatedDevice* SimulatedDevice::current_ = nullptr;

WAVEOUTCAPSW MakeCaps(const std::wstring& name, WORD manufacturer, WORD product, DWORD version,
                      DWORD formats, WORD channels) {
  WAVEOUTCAPSW caps = {};
  caps.wMid = manufacturer;
  caps.wPid = product;
  caps.vDriverVersion = version;
  // Fills the whole fixed field when the name is that long, without a NUL, as a driver may.
  for (size_t i = 0; i < name.size() && i < MAXPNAMELEN; ++i) caps.szPname[i] = name[i];
  caps.dwFormats = formats;
  caps.wChannels = channels;
  return caps;
}

SimulatedDevice::SimulatedDevice()
    : mapper_caps(MakeCaps(L"Default Mapper")),
      api_{GetNumDevs, GetDevCaps, Open,     Prepare,    Unprepare, Write,
           Reset,      CloseDevice, GetVolume, SetVolume, NewThread, NewEvent,
           Signal,     Wait,        ExitCode, Terminate,  Pause,     CloseObject},
      owner_thread_id_(GetCurrentThreadId()) {
  stuck_event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  previous_ = current_;
  current_ = this;
  device_thread_ = std::thread([this] { DeviceThread(); });
}

SimulatedDevice::~SimulatedDevice() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  device_thread_.join();
  if (render_thread_copy_ != nullptr) CloseHandle(render_thread_copy_);
  if (stuck_event_ != nullptr) CloseHandle(stuck_event_);
  for (auto& entry : events_) delete entry.second;
  for (Event* event : closed_events_) delete event;
  current_ = previous_;
}

const DeviceApi& SimulatedDevice::api() const { return api_; }

void SimulatedDevice::Log(const std::string& call) {
  if (GetCurrentThreadId() != owner_thread_id_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  owner_calls_.push_back(call);
}

bool SimulatedDevice::IsDeviceHandle(HWAVEOUT device) const {
  return device == kDeviceHandle && device_open_;
}

// ---- buffer returns

void SimulatedDevice::SignalLocked(HANDLE event) {
  auto found = events_.find(event);
  if (found != events_.end()) found->second->signaled = true;
  changed_.notify_all();
}

void SimulatedDevice::ReturnOneLocked(bool signal) {
  WAVEHDR* header = queue_.front();
  queue_.pop_front();
  header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  if (signal) SignalLocked(callback_event_);
  changed_.notify_all();
}

void SimulatedDevice::DeviceThread() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || (!hold_returns_ && !queue_.empty()); });
    if (stopping_) return;
    ReturnOneLocked(true);
  }
}

void SimulatedDevice::HoldReturns(bool hold) {
  std::lock_guard<std::mutex> lock(mutex_);
  hold_returns_ = hold;
  changed_.notify_all();
}

bool SimulatedDevice::ReturnNext(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int i = 0; i < count; ++i) {
    if (queue_.empty()) return false;
    ReturnOneLocked(true);
  }
  return true;
}

void SimulatedDevice::ReturnAllWithOneSignal() {
  std::lock_guard<std::mutex> lock(mutex_);
  while (!queue_.empty()) ReturnOneLocked(false);
  SignalLocked(callback_event_);
}

// ---- observation

bool SimulatedDevice::WaitForRenderIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(kBoundMs), [this] {
    auto found = events_.find(callback_event_);
    const bool signal_pending = found != events_.end() && found->second->signaled;
    return waiters_ > 0 && !signal_pending && (hold_returns_ || queue_.empty());
  });
}

std::vector<WrittenBuffer> SimulatedDevice::Written() {
  std::lock_guard<std::mutex> lock(mutex_);
  return written_;
}

size_t SimulatedDevice::WriteCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return written_.size();
}

bool SimulatedDevice::WaitForWrites(size_t count) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(kBoundMs),
                           [this, count] { return written_.size() >= count; });
}

size_t SimulatedDevice::QueuedCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

std::vector<std::string> SimulatedDevice::OwnerCalls() {
  std::lock_guard<std::mutex> lock(mutex_);
  return owner_calls_;
}

void SimulatedDevice::ClearOwnerCalls() {
  std::lock_guard<std::mutex> lock(mutex_);
  owner_calls_.clear();
}

std::vector<WAVEHDR*> SimulatedDevice::PreparedHeaders() {
  std::lock_guard<std::mutex> lock(mutex_);
  return prepared_;
}

std::vector<OpenCall> SimulatedDevice::Opens() {
  std::lock_guard<std::mutex> lock(mutex_);
  return opens_;
}

std::vector<UINT_PTR> SimulatedDevice::CapsRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return caps_requests_;
}

int SimulatedDevice::LiveEvents() {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(events_.size());
}

int SimulatedDevice::LiveThreads() {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(live_threads_.size());
}

bool SimulatedDevice::DeviceOpen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return device_open_;
}

DWORD SimulatedDevice::RenderThreadExitCode() {
  if (render_thread_copy_ == nullptr) return STILL_ACTIVE;
  ::WaitForSingleObject(render_thread_copy_, kBoundMs);
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeThread(render_thread_copy_, &code);
  return code;
}

// ---- the device API

UINT WINAPI SimulatedDevice::GetNumDevs() {
  return static_cast<UINT>(current_->devices.size());
}

MMRESULT WINAPI SimulatedDevice::GetDevCaps(UINT_PTR id, LPWAVEOUTCAPSW caps, UINT size) {
  SimulatedDevice& self = *current_;
  {
    std::lock_guard<std::mutex> lock(self.mutex_);
    self.caps_requests_.push_back(id);
  }
  if (caps == nullptr || size < sizeof(WAVEOUTCAPSW)) return MMSYSERR_INVALPARAM;
  if (id == WAVE_MAPPER) {
    *caps = self.mapper_caps;
    return MMSYSERR_NOERROR;
  }
  if (id >= self.devices.size() || self.failing_caps.count(static_cast<UINT>(id)) != 0) {
    return MMSYSERR_BADDEVICEID;
  }
  *caps = self.devices[id];
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::Open(LPHWAVEOUT device, UINT id, LPCWAVEFORMATEX format,
                                      DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutOpen");
  std::lock_guard<std::mutex> lock(self.mutex_);
  self.opens_.push_back(OpenCall{id, *format, callback, instance, flags});
  if (self.open_result != MMSYSERR_NOERROR) return self.open_result;
  if (self.device_open_) return MMSYSERR_ALLOCATED;
  if (flags != CALLBACK_EVENT || self.events_.count(reinterpret_cast<HANDLE>(callback)) == 0) {
    ++self.violations_;
    return MMSYSERR_INVALPARAM;
  }
  self.device_open_ = true;
  self.callback_event_ = reinterpret_cast<HANDLE>(callback);
  *device = kDeviceHandle;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::Prepare(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutPrepareHeader");
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (size != sizeof(WAVEHDR) || header->lpData == nullptr) return MMSYSERR_INVALPARAM;
  if (++self.prepare_calls_ == self.fail_prepare_call) return MMSYSERR_NOMEM;
  header->dwFlags |= WHDR_PREPARED;
  self.prepared_.push_back(header);
  self.prepared_lengths_[header] = header->dwBufferLength;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::Unprepare(HWAVEOUT device, LPWAVEHDR header, UINT) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutUnprepareHeader");
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::Write(HWAVEOUT device, LPWAVEHDR header, UINT) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutWrite");
  // The probe may look at the renderer, so it runs before the simulator's own lock.
  if (self.write_probe && !self.write_probe()) ++self.violations_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  const int call = ++self.write_calls_;
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (header->dwFlags & WHDR_INQUEUE) {
    ++self.violations_;
    return WAVERR_STILLPLAYING;
  }
  if (header->dwBufferLength > self.prepared_lengths_[header]) {
    ++self.violations_;  // the device would read past the block
    return MMSYSERR_INVALPARAM;
  }
  if (self.fail_every_write || self.failing_writes.count(call) != 0) return MMSYSERR_NOMEM;
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  self.queue_.push_back(header);
  self.written_.push_back(WrittenBuffer{header, header->lpData, header->dwBufferLength,
                                        header->dwUser,
                                        std::string(header->lpData, header->dwBufferLength)});
  self.changed_.notify_all();
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::Reset(HWAVEOUT device) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutReset");
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (self.reset_result != MMSYSERR_NOERROR) return self.reset_result;
  while (!self.queue_.empty()) self.ReturnOneLocked(true);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::CloseDevice(HWAVEOUT device) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutClose");
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (!self.queue_.empty()) return WAVERR_STILLPLAYING;
  self.device_open_ = false;
  self.callback_event_ = nullptr;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::GetVolume(HWAVEOUT device, LPDWORD volume) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutGetVolume");
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (self.volume_result != MMSYSERR_NOERROR) return self.volume_result;
  *volume = self.volume_;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimulatedDevice::SetVolume(HWAVEOUT device, DWORD volume) {
  SimulatedDevice& self = *current_;
  self.Log("waveOutSetVolume");
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsDeviceHandle(device)) return MMSYSERR_INVALHANDLE;
  if (self.volume_result != MMSYSERR_NOERROR) return self.volume_result;
  self.volume_ = volume;
  return MMSYSERR_NOERROR;
}

HANDLE WINAPI SimulatedDevice::NewThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack,
                                         LPTHREAD_START_ROUTINE routine, LPVOID parameter,
                                         DWORD flags, LPDWORD thread_id) {
  SimulatedDevice& self = *current_;
  self.Log("CreateThread");
  if (self.fail_create_thread) return nullptr;
  HANDLE thread = ::CreateThread(attributes, stack, routine, parameter, flags, thread_id);
  if (thread == nullptr) return nullptr;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (self.render_thread_copy_ != nullptr) ::CloseHandle(self.render_thread_copy_);
  self.render_thread_copy_ = nullptr;
  ::DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &self.render_thread_copy_,
                    0, FALSE, DUPLICATE_SAME_ACCESS);
  self.live_threads_.insert(thread);
  return thread;
}

HANDLE WINAPI SimulatedDevice::NewEvent(LPSECURITY_ATTRIBUTES, BOOL manual, BOOL initial,
                                        LPCWSTR name) {
  SimulatedDevice& self = *current_;
  self.Log("CreateEventW");
  if (manual || initial || name != nullptr) ++self.violations_;  // must be auto-reset, unset
  if (self.fail_create_event) return nullptr;
  Event* event = new Event();
  std::lock_guard<std::mutex> lock(self.mutex_);
  HANDLE handle = reinterpret_cast<HANDLE>(event);
  self.events_[handle] = event;
  return handle;
}

BOOL WINAPI SimulatedDevice::Signal(HANDLE event) {
  SimulatedDevice& self = *current_;
  self.Log("SetEvent");
  if (self.fail_set_event) return FALSE;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (self.events_.count(event) == 0) return FALSE;
  self.SignalLocked(event);
  return TRUE;
}

DWORD WINAPI SimulatedDevice::Wait(HANDLE object, DWORD milliseconds) {
  SimulatedDevice& self = *current_;
  if (self.stick_render_thread && GetCurrentThreadId() != self.owner_thread_id_) {
    ++self.stuck_waits_;
    return ::WaitForSingleObject(self.stuck_event_, INFINITE);
  }
  std::unique_lock<std::mutex> lock(self.mutex_);
  auto found = self.events_.find(object);
  if (found == self.events_.end()) return WAIT_FAILED;
  Event* event = found->second;
  ++self.waiters_;
  self.changed_.notify_all();
  if (event->closed) return WAIT_FAILED;
  auto ready = [event] { return event->signaled || event->closed; };
  bool woken = true;
  if (milliseconds == INFINITE) {
    self.changed_.wait(lock, ready);
  } else {
    woken = self.changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
  }
  const bool closed = event->closed;
  if (woken && !closed) event->signaled = false;
  --self.waiters_;
  self.changed_.notify_all();
  if (closed) return WAIT_FAILED;
  return woken ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL WINAPI SimulatedDevice::ExitCode(HANDLE thread, LPDWORD code) {
  current_->Log("GetExitCodeThread");
  return ::GetExitCodeThread(thread, code);
}

BOOL WINAPI SimulatedDevice::Terminate(HANDLE thread, DWORD code) {
  current_->Log("TerminateThread(" + std::to_string(code) + ")");
  return ::TerminateThread(thread, code);
}

VOID WINAPI SimulatedDevice::Pause(DWORD milliseconds) {
  SimulatedDevice& self = *current_;
  self.Log("Sleep(" + std::to_string(milliseconds) + ")");
  // Rather than sleeping, give the render thread the time it needs to end: the tests stay
  // fast and the number of polls does not depend on the machine's speed. A stuck thread
  // will not end, so there is nothing to wait for.
  if (self.stick_render_thread || self.render_thread_copy_ == nullptr) return;
  ::WaitForSingleObject(self.render_thread_copy_, kBoundMs);
}

BOOL WINAPI SimulatedDevice::CloseObject(HANDLE object) {
  SimulatedDevice& self = *current_;
  Event* event = nullptr;
  {
    std::lock_guard<std::mutex> lock(self.mutex_);
    auto found = self.events_.find(object);
    if (found != self.events_.end()) {
      event = found->second;
      self.events_.erase(found);
    }
  }
  if (event != nullptr) {
    self.Log("CloseHandle(event)");
    std::lock_guard<std::mutex> lock(self.mutex_);
    // Kept until the simulator goes, so a wait on a closed event fails instead of crashing.
    event->closed = true;
    self.closed_events_.push_back(event);
    self.changed_.notify_all();
    return TRUE;
  }
  self.Log("CloseHandle(thread)");
  {
    std::lock_guard<std::mutex> lock(self.mutex_);
    if (self.live_threads_.erase(object) == 0) return FALSE;
  }
  return ::CloseHandle(object);
}

}  // namespace sonaril_test
