#include "editor/signal_painter.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "app/dpi_scale.h"
#include "editor/signal_zoom.h"

namespace {

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t EffectiveZoomLevel(int32_t zoom_level) {
  return std::clamp(zoom_level, kFinestZoomLevel, kWidestZoomLevel);
}

// A position below 0 would read before the buffer; such a position shows the start.
int32_t FirstSample(const SignalViewState& state) { return std::max(state.h_pos, 0); }

// The margins at the window's DPI.
struct Margins {
  int32_t left;
  int32_t vertical;
  explicit Margins(int32_t dpi)
      : left(ScaleForDpi(kPlotLeftMargin, dpi)), vertical(ScaleForDpi(kPlotVerticalMargin, dpi)) {}
};

void DrawHorizontal(CDrawingSurface* surface, int32_t from_x, int32_t to_x, int32_t y) {
  surface->MoveTo(from_x, y);
  surface->LineTo(to_x, y);
}

void DrawFrame(CDrawingSurface* surface, const DrawRect& rect, int32_t dpi) {
  const Margins margins(dpi);
  int32_t left = rect.left + margins.left - 1;
  int32_t right = rect.right - 1;
  int32_t top = rect.top + margins.vertical;
  int32_t bottom = rect.bottom - margins.vertical;
  int32_t height = rect.bottom - rect.top - 2 * margins.vertical;
  int32_t zero_y = rect.top + height / 2 + margins.vertical;

  surface->SelectPen(kZeroLineColor);
  DrawHorizontal(surface, left, right, zero_y);
  surface->SelectPen(kHalfAmplitudeColor);
  DrawHorizontal(surface, left, right, rect.top + height / 4 + margins.vertical);
  DrawHorizontal(surface, left, right, zero_y + (rect.bottom - zero_y - margins.vertical) / 2);
  surface->SelectPen(kPlotBorderColor);
  surface->MoveTo(left, top);
  surface->LineTo(right, top);
  surface->LineTo(right, bottom);
  surface->LineTo(left, bottom);
  surface->LineTo(left, top);
}

void DrawTimeAxis(CDrawingSurface* surface, const SignalViewState& state, const DrawRect& rect,
                  const ZoomScale& scale) {
  int32_t origin = FirstSample(state) / scale.samples_per_pixel;
  // Grid lines fall where the pixel count from sample 0 is a multiple of the division;
  // the first one visible is the first at or right of the plot origin.
  int64_t pixel = -static_cast<int64_t>(origin);
  if (pixel < 0) {
    int64_t divisions = (-pixel + scale.pixels_per_division - 1) / scale.pixels_per_division;
    pixel += divisions * scale.pixels_per_division;
  }
  surface->SelectPen(kTimeGridColor);
  const Margins margins(state.dpi);
  int32_t label_y = rect.top + ScaleForDpi(27, state.dpi) - state.line_pitch - ScaleForDpi(5, state.dpi);
  for (; pixel < rect.right - margins.left; pixel += scale.pixels_per_division) {
    int32_t x = static_cast<int32_t>(pixel) + margins.left;
    if (pixel > 0) {
      surface->MoveTo(x, rect.top + margins.vertical);
      surface->LineTo(x, rect.bottom - margins.vertical);
    }
    // 64 bits: at the widest zoom 32 bits would overflow after about three hours.
    int64_t ms = (pixel + origin) * scale.ms_per_division / scale.pixels_per_division;
    wchar_t label[kTimeLabelCapacity];
    int32_t length = FormatTimeLabel(ms, state.zoom_level, label, kTimeLabelCapacity);
    int32_t label_x = x - (length * state.char_width) / 2;
    if (label_x > 0) surface->WriteText(label_x, label_y, label, length);
  }
}

// Reads the samples of one pixel column and gives their extremes.
class CColumnReader {
 public:
  CColumnReader(const SignalViewState& state, int32_t samples_per_pixel)
      : samples_(state.signal_samples),
        count_(state.signal_count),
        index_(FirstSample(state)),
        samples_per_pixel_(samples_per_pixel) {}

  bool AtEnd() const { return index_ >= count_; }

  void Read() {
    minimum_ = 32767;
    maximum_ = -32767;
    int32_t end = index_ + std::min(samples_per_pixel_, count_ - index_);
    for (; index_ < end; ++index_) {
      minimum_ = std::min<int32_t>(minimum_, samples_[index_]);
      maximum_ = std::max<int32_t>(maximum_, samples_[index_]);
    }
  }

  int32_t minimum() const { return minimum_; }
  int32_t maximum() const { return maximum_; }

 private:
  const int16_t* samples_;
  int32_t count_;
  int32_t index_;
  int32_t samples_per_pixel_;
  int32_t minimum_ = 32767;
  int32_t maximum_ = -32767;
};

void DrawWaveform(CDrawingSurface* surface, const SignalViewState& state, const DrawRect& rect,
                  const ZoomScale& scale) {
  if (state.signal_samples == nullptr || state.signal_count <= 0 ||
      FirstSample(state) >= state.signal_count) {
    return;
  }
  const Margins margins(state.dpi);
  int32_t half = (rect.bottom - rect.top - 2 * margins.vertical) / 2;
  int32_t center = rect.top + margins.vertical + half;
  auto y_of = [half, center](int32_t value) {
    return static_cast<int32_t>(center - static_cast<int64_t>(value) * half / 32767);
  };

  surface->SelectPen(kWaveformColor);
  CColumnReader column(state, scale.samples_per_pixel);
  column.Read();
  int32_t end_y = center;
  if (column.minimum() >= 0 && column.maximum() >= 0) {
    end_y = y_of(column.maximum());
  } else if (column.minimum() < 0 && column.maximum() < 0) {
    end_y = y_of(column.minimum());
  }
  surface->MoveTo(rect.left + margins.left - 1, end_y);

  for (int32_t x = rect.left + margins.left; x < rect.right; ++x) {
    if (column.AtEnd()) {
      surface->LineTo(x, center);
      return;
    }
    column.Read();
    int32_t y_min = y_of(column.minimum());
    int32_t y_max = y_of(column.maximum());
    if (column.minimum() >= 0 && column.maximum() >= 0) {
      surface->LineTo(x, y_max);
      end_y = y_max;
    } else if (column.minimum() < 0 && column.maximum() < 0) {
      surface->LineTo(x, y_min);
      end_y = y_min;
    } else if (end_y >= center) {
      // Coming from below the centre: start the bar at its lower end.
      if (y_min <= end_y && end_y <= y_max) surface->MoveTo(x, y_min);
      else surface->LineTo(x, y_min);
      surface->LineTo(x, y_max);
      end_y = y_max;
    } else {
      if (y_max <= end_y && end_y <= y_min) surface->MoveTo(x, y_max);
      else surface->LineTo(x, y_max);
      surface->LineTo(x, y_min);
      end_y = y_min;
    }
  }
}

}  // namespace

int32_t FormatTimeLabel(int64_t ms, int32_t zoom_level, wchar_t* label, int32_t capacity) {
  if (label == nullptr || capacity <= 0) return 0;
  if (ms < 0) ms = 0;
  int hours = static_cast<int>(ms / 3600000 % 24);
  int minutes = static_cast<int>(ms / 60000 % 60);
  int seconds = static_cast<int>(ms / 1000 % 60);
  int thousandths = static_cast<int>(ms % 1000);
  char text[kTimeLabelCapacity];
  int length;
  if (hours != 0) length = std::snprintf(text, sizeof text, "%d:%02d:%02d", hours, minutes, seconds);
  else if (minutes != 0) length = std::snprintf(text, sizeof text, "%d:%02d", minutes, seconds);
  else length = std::snprintf(text, sizeof text, "%d", seconds);
  zoom_level = EffectiveZoomLevel(zoom_level);
  if (zoom_level < 3) {
    length += std::snprintf(text + length, sizeof text - length, ".%02d", thousandths / 10);
  } else if (zoom_level <= 5) {
    length += std::snprintf(text + length, sizeof text - length, ".%d", thousandths / 100);
  }
  length = std::min(length, capacity - 1);
  for (int32_t i = 0; i < length; ++i) label[i] = static_cast<wchar_t>(text[i]);
  label[length] = L'\0';
  return length;
}

SignalScrollUpdate UpdateSignalScroll(SignalViewState* state, int32_t client_width) {
  ZoomScale scale = LookupZoomScale(state->signal_rate, state->zoom_level);
  SignalScrollUpdate update;
  update.maximum = std::max(state->signal_count, 0);
  // A client narrower than the margin shows nothing: an empty page, not a negative one.
  int64_t plot_width = std::max(client_width - Margins(state->dpi).left, 0);
  update.page = ClampToInt32(plot_width * scale.samples_per_pixel);
  bool content_changed = update.maximum != state->h_max;
  bool page_changed = update.page != state->h_page;
  state->h_max = update.maximum;
  state->h_page = update.page;
  update.set_bar = content_changed || page_changed;
  update.reset_position = content_changed;
  if (content_changed) state->h_pos = 0;
  return update;
}

void DrawSignalPicture(CDrawingSurface* surface, const SignalViewState& state,
                       const DrawRect& rect) {
  surface->FillRectangle(rect, kSignalBackgroundColor);
  DrawFrame(surface, rect, state.dpi);
  if (state.signal_rate <= 0) return;
  ZoomScale scale = LookupZoomScale(state.signal_rate, state.zoom_level);
  DrawTimeAxis(surface, state, rect, scale);
  DrawWaveform(surface, state, rect, scale);
}

SignalScrollUpdate PaintSignalView(CDrawingSurface* surface, SignalViewState* state,
                                   const DrawRect& rect) {
  SignalScrollUpdate update = UpdateSignalScroll(state, rect.right - rect.left);
  DrawSignalPicture(surface, *state, rect);
  return update;
}
