// The waveform view of the main window: the generated signal as a min/max waveform over a
// time axis, scrolled with its horizontal scroll bar (in samples) and zoomed in eight steps.
// The picture itself is drawn by the portable signal painter.
#pragma once
#include <cstdint>

#include "app/child_view.h"

class CSignalView : public CChildView {
 public:
  CSignalView() = default;
  ~CSignalView() override;

  // Draws the picture into the paint's memory context and keeps the scroll bar in step.
  int OnDraw(HDC dc, const RECT& client) override;

  // Shows count samples at rate Hz (samples borrowed: they must stay valid until the next
  // SetSignal) and repaints. A signal of another length is shown from its first sample.
  void SetSignal(const int16_t* samples, int32_t count, int32_t rate);
  // One step finer or wider, with a repaint; false (and nothing done) at the end of the range.
  bool ZoomIn();
  bool ZoomOut();

  int32_t signal_rate = 8000;              // Hz of the shown samples
  int32_t zoom_level = 2;                  // 0 (finest) .. 7 (widest)
  int32_t signal_count = 0;                // samples shown
  const int16_t* signal_samples = nullptr;  // the main window's buffer; not owned
};
