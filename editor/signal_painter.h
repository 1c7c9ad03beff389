// The signal view's picture: a frame, a time axis with labels and a min/max waveform,
// drawn through a CDrawingSurface, and the horizontal scroll bar that goes with it. Portable;
// the window (CSignalView) supplies the state and applies the scroll bar update.
#pragma once
#include <cstdint>

#include "editor/drawing_surface.h"

// Colours, 0x00BBGGRR.
constexpr uint32_t kSignalBackgroundColor = 0xFFFFFF;
constexpr uint32_t kPlotBorderColor = 0x000000;
constexpr uint32_t kZeroLineColor = 0xFF00FF;
constexpr uint32_t kHalfAmplitudeColor = 0x800000;
constexpr uint32_t kTimeGridColor = 0xC8C8C8;
constexpr uint32_t kWaveformColor = 0xFF0000;

// Pixels at 96 DPI between the client edges and the plot: the plot starts at x = 23 (time
// origin at x = 24) and leaves 30 pixels above and below for the labels. They grow with the
// DPI, as the label font does.
constexpr int32_t kPlotLeftMargin = 24;
constexpr int32_t kPlotVerticalMargin = 30;

// Everything one picture depends on.
struct SignalViewState {
  int32_t signal_rate = 8000;             // Hz of the shown samples
  int32_t zoom_level = 2;                 // 0 (finest) .. 7 (widest)
  int32_t signal_count = 0;               // samples shown
  const int16_t* signal_samples = nullptr;  // not owned
  int32_t h_max = 300;                    // scroll bar maximum as last set
  int32_t h_page = 1;                     // scroll bar page as last set
  int32_t h_pos = 0;                      // first sample drawn
  int32_t char_width = 1;                 // average character width of the label font
  int32_t line_pitch = 2;                 // label line height + 1
  int32_t dpi = 96;                       // the window's; margins are scaled by dpi / 96
};

// What the window's horizontal scroll bar must be told after a paint.
struct SignalScrollUpdate {
  bool set_bar = false;         // range 0..maximum and page changed: set both
  bool reset_position = false;  // a signal of another length: position back to 0
  int32_t maximum = 0;
  int32_t page = 0;
};

// Longest label: "23:59:59.99" and a terminator, with room to spare.
constexpr int32_t kTimeLabelCapacity = 24;

// The label of a grid line ms milliseconds into the signal: "h:mm:ss", "m:ss" or "s", the
// hour wrapping after 24, then ".cc" below zoom level 3, ".d" at levels 3 to 5, nothing
// above. Writes at most capacity characters including the terminator; returns the length.
int32_t FormatTimeLabel(int64_t ms, int32_t zoom_level, wchar_t* label, int32_t capacity);

// Brings h_max and h_page up to date for a client area client_width pixels wide; when the
// signal's length changed, h_pos returns to the first sample.
SignalScrollUpdate UpdateSignalScroll(SignalViewState* state, int32_t client_width);

// Draws the whole picture into rect (the client area) from state.h_pos on.
void DrawSignalPicture(CDrawingSurface* surface, const SignalViewState& state,
                       const DrawRect& rect);

// A paint: the scroll update first, so a new signal is drawn from its start at once, then
// the picture.
SignalScrollUpdate PaintSignalView(CDrawingSurface* surface, SignalViewState* state,
                                   const DrawRect& rect);
