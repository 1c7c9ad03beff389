#include "tests/common/screenshot_watch.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

DWORD end_tick = 0;
bool reported = false;

BOOL CALLBACK FindDialog(HWND window, LPARAM result) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (IsWindowVisible(window) && std::wstring(class_name) == L"#32770") {
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  if (!reported) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    std::printf("ready %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::fflush(stdout);
    reported = true;
  }
  if (static_cast<LONG>(GetTickCount() - end_tick) >= 0) EndDialog(dialog, 0);
}

}  // namespace

void WatchDialogForScreenshot(int seconds) {
  end_tick = GetTickCount() + static_cast<DWORD>(seconds > 0 ? seconds : 30) * 1000;
  reported = false;
  SetTimer(nullptr, 0, 50, Watch);
}
