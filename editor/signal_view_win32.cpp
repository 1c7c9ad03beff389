#include "editor/signal_view.h"

#include "editor/gdi_surface.h"
#include "editor/signal_painter.h"
#include "editor/signal_zoom.h"

CSignalView::~CSignalView() = default;

int CSignalView::OnDraw(HDC dc, const RECT& client) {
  SignalViewState state;
  state.signal_rate = signal_rate;
  state.zoom_level = zoom_level;
  state.signal_count = signal_count;
  state.signal_samples = signal_samples;
  state.h_max = h_max;
  state.h_page = h_page;
  state.h_pos = h_pos;
  state.char_width = char_width;
  state.line_pitch = line_pitch;
  state.dpi = GetDeviceCaps(dc, LOGPIXELSX);
  SignalScrollUpdate update;
  {
    CGdiSurface surface(dc);
    update = PaintSignalView(&surface, &state,
                             DrawRect{client.left, client.top, client.right, client.bottom});
  }
  h_max = state.h_max;
  h_page = state.h_page;
  h_pos = state.h_pos;
  if (update.set_bar && window != nullptr) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = update.maximum;
    info.nPage = static_cast<UINT>(update.page);
    if (update.reset_position) {
      info.fMask |= SIF_POS;
      info.nPos = 0;
    }
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
  }
  return 1;
}

void CSignalView::SetSignal(const int16_t* samples, int32_t count, int32_t rate) {
  signal_samples = samples;
  signal_count = samples != nullptr && count > 0 ? count : 0;
  signal_rate = rate;
  Invalidate();
}

bool CSignalView::ZoomIn() {
  if (zoom_level <= kFinestZoomLevel) return false;
  --zoom_level;
  Invalidate();
  return true;
}

bool CSignalView::ZoomOut() {
  if (zoom_level >= kWidestZoomLevel) return false;
  ++zoom_level;
  Invalidate();
  return true;
}
