// A sound card and kernel stand-in for the renderer's device API. Buffers written to it go to
// a queue that its own device thread returns (marks done and signals the callback event),
// unless returns are held, when the test returns them one by one. Events are emulated, so the
// simulator knows when the render thread is idle; threads are real, so a stuck render thread
// can really be terminated. The newest simulator is the one its API reaches; simulators
// nest, and the previous one is reached again when the newest goes.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "audio/device_api.h"

namespace sonaril_test {

struct WrittenBuffer {
  WAVEHDR* header;
  const char* data;  // the block as written; the renderer owns it
  DWORD length;
  DWORD_PTR user;
  std::string bytes;
};

struct OpenCall {
  UINT device_id;
  WAVEFORMATEX format;
  DWORD_PTR callback;
  DWORD_PTR instance;
  DWORD flags;
};

WAVEOUTCAPSW MakeCaps(const std::wstring& name, WORD manufacturer = 1, WORD product = 2,
                      DWORD version = 0x0100, DWORD formats = WAVE_FORMAT_4S16,
                      WORD channels = 2);

class SimulatedDevice {
 public:
  SimulatedDevice();
  ~SimulatedDevice();
  SimulatedDevice(const SimulatedDevice&) = delete;
  SimulatedDevice& operator=(const SimulatedDevice&) = delete;

  const DeviceApi& api() const;

  // --- Set before the calls they affect.
  std::vector<WAVEOUTCAPSW> devices;  // ids 0..size-1
  std::set<UINT> failing_caps;        // ids whose description fails
  WAVEOUTCAPSW mapper_caps;           // what WAVE_MAPPER describes
  MMRESULT open_result = MMSYSERR_NOERROR;
  int fail_prepare_call = 0;  // 1-based number of the waveOutPrepareHeader call that fails
  std::set<int> failing_writes;  // 1-based numbers of waveOutWrite calls that fail
  std::atomic<bool> fail_every_write{false};
  MMRESULT reset_result = MMSYSERR_NOERROR;
  MMRESULT volume_result = MMSYSERR_NOERROR;
  bool fail_create_event = false;
  bool fail_create_thread = false;
  bool fail_set_event = false;
  // The render thread's next wait never returns; only TerminateThread ends it.
  bool stick_render_thread = false;
  // Consulted at every waveOutWrite; a false answer counts as a violation.
  std::function<bool()> write_probe;

  // --- Buffer returns.
  void HoldReturns(bool hold);
  // Returns the oldest queued buffers, each with its own signal; false when fewer were queued.
  bool ReturnNext(int count = 1);
  // Returns every queued buffer with a single signal, as merged signals look to a waiter.
  void ReturnAllWithOneSignal();

  // --- Observation (safe from the test thread at any time).
  // Bounded wait until the render thread waits, no signal is pending and no buffer is due
  // to return: nothing more can happen until the test acts. False on time-out.
  bool WaitForRenderIdle();
  std::vector<WrittenBuffer> Written();
  size_t WriteCount();
  size_t QueuedCount();
  int Violations() const { return violations_; }
  // Render-thread waits that will never return.
  int StuckWaits() const { return stuck_waits_; }
  // Bounded wait until at least count buffers have been written. False on time-out.
  bool WaitForWrites(size_t count);
  std::vector<std::string> OwnerCalls();  // calls made on the test's own thread, in order
  void ClearOwnerCalls();
  std::vector<WAVEHDR*> PreparedHeaders();
  std::vector<OpenCall> Opens();
  std::vector<UINT_PTR> CapsRequests();
  int LiveEvents();   // created and not closed
  int LiveThreads();  // created and not closed
  bool DeviceOpen();
  DWORD volume() const { return volume_; }
  void set_volume(DWORD volume) { volume_ = volume; }
  // The exit code of the last render thread once it has ended; STILL_ACTIVE before.
  DWORD RenderThreadExitCode();

 private:
  struct Event {
    bool signaled = false;
    bool closed = false;
  };
  static constexpr DWORD kBoundMs = 10000;

  static SimulatedDevice* current_;
  SimulatedDevice* previous_ = nullptr;
  static UINT WINAPI GetNumDevs();
  static MMRESULT WINAPI GetDevCaps(UINT_PTR id, LPWAVEOUTCAPSW caps, UINT size);
  static MMRESULT WINAPI Open(LPHWAVEOUT device, UINT id, LPCWAVEFORMATEX format,
                              DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
  static MMRESULT WINAPI Prepare(HWAVEOUT device, LPWAVEHDR header, UINT size);
  static MMRESULT WINAPI Unprepare(HWAVEOUT device, LPWAVEHDR header, UINT size);
  static MMRESULT WINAPI Write(HWAVEOUT device, LPWAVEHDR header, UINT size);
  static MMRESULT WINAPI Reset(HWAVEOUT device);
  static MMRESULT WINAPI CloseDevice(HWAVEOUT device);
  static MMRESULT WINAPI GetVolume(HWAVEOUT device, LPDWORD volume);
  static MMRESULT WINAPI SetVolume(HWAVEOUT device, DWORD volume);
  static HANDLE WINAPI NewThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack,
                                 LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                                 LPDWORD thread_id);
  static HANDLE WINAPI NewEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manual, BOOL initial,
                                LPCWSTR name);
  static BOOL WINAPI Signal(HANDLE event);
  static DWORD WINAPI Wait(HANDLE object, DWORD milliseconds);
  static BOOL WINAPI ExitCode(HANDLE thread, LPDWORD code);
  static BOOL WINAPI Terminate(HANDLE thread, DWORD code);
  static VOID WINAPI Pause(DWORD milliseconds);
  static BOOL WINAPI CloseObject(HANDLE object);

  void Log(const std::string& call);
  bool IsDeviceHandle(HWAVEOUT device) const;
  // With mutex_ held: hands the oldest queued buffer back and signals the callback event.
  void ReturnOneLocked(bool signal);
  void SignalLocked(HANDLE event);
  void DeviceThread();

  DeviceApi api_;
  DWORD owner_thread_id_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<WAVEHDR*> queue_;
  std::vector<WrittenBuffer> written_;
  std::vector<std::string> owner_calls_;
  std::vector<WAVEHDR*> prepared_;
  std::map<WAVEHDR*, DWORD> prepared_lengths_;
  std::vector<OpenCall> opens_;
  std::vector<UINT_PTR> caps_requests_;
  std::map<HANDLE, Event*> events_;  // live ones
  std::vector<Event*> closed_events_;
  std::set<HANDLE> live_threads_;
  HANDLE callback_event_ = nullptr;
  HANDLE render_thread_copy_ = nullptr;  // our own handle, for its exit code
  HANDLE stuck_event_ = nullptr;         // never signalled
  bool device_open_ = false;
  bool hold_returns_ = false;
  bool stopping_ = false;
  int waiters_ = 0;
  int prepare_calls_ = 0;
  int write_calls_ = 0;
  std::atomic<int> violations_{0};
  std::atomic<int> stuck_waits_{0};
  std::atomic<DWORD> volume_{0};
  std::thread device_thread_;
};

}  // namespace sonaril_test
