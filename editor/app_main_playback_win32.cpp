// Playback from the main window: the transport buttons, Repeat Play, the output-device list,
// the render callback and suspend.
#include <new>
#include <vector>

#include "app/app_config.h"
#include "debug/debug_output.h"
#include "editor/app_main.h"
#include "editor/main_window_rules.h"
#include "resources/resource_ids.h"

void CAppMain::ApplyTransportChecks() {
  const TransportChecks& checks = playback.checks();
  CheckDlgButton(main_window, IDC_STOP, checks.stop ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(main_window, IDC_PLAY, checks.play ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(main_window, IDC_PAUSE, checks.pause ? BST_CHECKED : BST_UNCHECKED);
}

void CAppMain::Play() {
  playback.Play(sample_count);
  ApplyTransportChecks();
}

void CAppMain::Pause() {
  playback.Pause();
  ApplyTransportChecks();
}

void CAppMain::StopPlayback() {
  playback.StopPlayback();
  ApplyTransportChecks();
}

void CAppMain::ToggleRepeatPlay() {
  const bool was_checked = IsDlgButtonChecked(main_window, IDC_REPEAT_PLAY) == BST_CHECKED;
  const bool on = playback.ToggleRepeatPlay(was_checked);
  CheckDlgButton(main_window, IDC_REPEAT_PLAY, on ? BST_CHECKED : BST_UNCHECKED);
  if (app_config == nullptr) return;
  app_config->repeat = on ? 1 : 0;
  app_config->Save();
}

void CAppMain::FillOutputDeviceList() {
  HWND list = GetDlgItem(main_window, IDC_OUTPUT_DEVICE);
  device_count = renderer.GetDeviceCaps(0, nullptr);
  if (device_count < 1) return;
  delete[] device_list;
  device_list = new (std::nothrow) DeviceCaps[device_count];
  if (device_list == nullptr) {
    device_count = 0;
    return;
  }
  const wchar_t* configured = app_config != nullptr ? app_config->mon_device_name.GetWide() : nullptr;
  std::wstring configured_name = configured != nullptr ? configured : L"";
  if (configured_name.size() > 255) configured_name.resize(255);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  std::vector<const wchar_t*> names;
  for (int32_t id = 0; id < device_count; ++id) {
    renderer.GetDeviceCaps(id, &device_list[id]);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(device_list[id].name));
    names.push_back(device_list[id].name);
  }
  SendMessageW(list, CB_SETCURSEL,
               ChooseDeviceIndex(names.data(), device_count, configured_name.c_str()), 0);
}

void CAppMain::ChooseOutputDevice() {
  const LRESULT selected = SendDlgItemMessageW(main_window, IDC_OUTPUT_DEVICE, CB_GETCURSEL, 0, 0);
  if (selected < 0 || selected >= device_count || device_list == nullptr) return;
  StopPlayback();
  renderer.Close();
  const DeviceCaps& device = device_list[selected];
  renderer.SetDevice(renderer.FindDevice(device.name, device.id_string));
  if (app_config == nullptr) return;
  app_config->mon_device_name.Assign(device.name);
  app_config->mon_device_id.Assign(device.id_string);
  app_config->Save();
}

uint32_t CAppMain::OnRender(uint8_t* block, uint32_t size) {
  bool end_reached = false;
  const uint32_t answer = playback.Render(block, size, &end_reached);
  if (end_reached) PostMessageW(main_window, WM_APP_STOP, 0, 0);
  return answer;
}

void CAppMain::OnRenderEnd(WAVEHDR*) {}

void CAppMain::OnPowerBroadcast(WPARAM event) {
  DebugPrint(L"OnPowerBroadcast(%d)\n", static_cast<int>(event));
  if (event != PBT_APMSUSPEND) return;
  DebugPrint(L"System is suspending operation.\n");
  StopPlayback();
  renderer.Close();
}
