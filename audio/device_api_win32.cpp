#include "audio/device_api.h"

const DeviceApi& SystemDeviceApi() {
  static const DeviceApi system_api = {
      ::waveOutGetNumDevs,
      ::waveOutGetDevCapsW,
      ::waveOutOpen,
      ::waveOutPrepareHeader,
      ::waveOutUnprepareHeader,
      ::waveOutWrite,
      ::waveOutReset,
      ::waveOutClose,
      ::waveOutGetVolume,
      ::waveOutSetVolume,
      ::CreateThread,
      ::CreateEventW,
      ::SetEvent,
      ::WaitForSingleObject,
      ::GetExitCodeThread,
      ::TerminateThread,
      ::Sleep,
      ::CloseHandle,
  };
  return system_api;
}
