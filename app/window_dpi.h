// The DPI a window is drawn at (the system DPI for this system-DPI-aware program).
#pragma once
#include <windows.h>

#include <cstdint>

// Horizontal logical pixels per inch of window's screen; 96 when it cannot be asked.
int32_t WindowDpi(HWND window);
