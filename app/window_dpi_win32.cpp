#include "app/window_dpi.h"

#include "app/dpi_scale.h"

int32_t WindowDpi(HWND window) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return kDesignDpi;
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : kDesignDpi;
}
