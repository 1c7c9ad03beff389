// The waveOut, thread and event calls the renderer makes, gathered in one table so that a
// simulated device can stand in for the sound card and the kernel in tests.
#pragma once
#include <windows.h>
#include <mmsystem.h>

struct DeviceApi {
  UINT(WINAPI* waveOutGetNumDevs)();
  MMRESULT(WINAPI* waveOutGetDevCapsW)(UINT_PTR device_id, LPWAVEOUTCAPSW caps, UINT caps_size);
  MMRESULT(WINAPI* waveOutOpen)(LPHWAVEOUT device, UINT device_id, LPCWAVEFORMATEX format,
                                DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
  MMRESULT(WINAPI* waveOutPrepareHeader)(HWAVEOUT device, LPWAVEHDR header, UINT header_size);
  MMRESULT(WINAPI* waveOutUnprepareHeader)(HWAVEOUT device, LPWAVEHDR header, UINT header_size);
  MMRESULT(WINAPI* waveOutWrite)(HWAVEOUT device, LPWAVEHDR header, UINT header_size);
  MMRESULT(WINAPI* waveOutReset)(HWAVEOUT device);
  MMRESULT(WINAPI* waveOutClose)(HWAVEOUT device);
  MMRESULT(WINAPI* waveOutGetVolume)(HWAVEOUT device, LPDWORD volume);
  MMRESULT(WINAPI* waveOutSetVolume)(HWAVEOUT device, DWORD volume);
  HANDLE(WINAPI* CreateThread)(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack_size,
                               LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                               LPDWORD thread_id);
  HANDLE(WINAPI* CreateEventW)(LPSECURITY_ATTRIBUTES attributes, BOOL manual_reset,
                               BOOL initial_state, LPCWSTR name);
  BOOL(WINAPI* SetEvent)(HANDLE event);
  DWORD(WINAPI* WaitForSingleObject)(HANDLE object, DWORD milliseconds);
  BOOL(WINAPI* GetExitCodeThread)(HANDLE thread, LPDWORD exit_code);
  BOOL(WINAPI* TerminateThread)(HANDLE thread, DWORD exit_code);
  VOID(WINAPI* Sleep)(DWORD milliseconds);
  BOOL(WINAPI* CloseHandle)(HANDLE object);
};

// The table of the real winmm and kernel32 functions; it lives for the whole process.
const DeviceApi& SystemDeviceApi();
