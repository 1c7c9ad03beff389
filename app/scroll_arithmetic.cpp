#include "app/scroll_arithmetic.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t kWheelNotch = 120;
constexpr int32_t kLinesPerNotch = 2;

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int64_t ScrollRequestTarget(int32_t request, const ScrollBarReading& bar, int32_t step) {
  const int64_t position = bar.position;
  switch (request) {
    case scroll_request::kLineUp: return position - step;
    case scroll_request::kLineDown: return position + step;
    case scroll_request::kPageUp: return position - bar.page;
    case scroll_request::kPageDown: return position + bar.page;
    case scroll_request::kThumbTrack: return bar.track_position;
    case scroll_request::kTop: return bar.minimum;
    case scroll_request::kBottom: return bar.maximum;
    default: return position;
  }
}

int32_t ClampScrollPosition(int64_t requested, int32_t maximum, int32_t page) {
  const int64_t last = static_cast<int64_t>(maximum) - page + 1;
  return ClampToInt32(std::max<int64_t>(std::min(std::max<int64_t>(requested, 0), last), 0));
}

int32_t WheelLineChange(int32_t wheel_delta) {
  const int32_t delta = static_cast<int16_t>(wheel_delta);
  return -(delta / kWheelNotch * kLinesPerNotch);
}

ScrollBarFields ApplyScrollBar(const ScrollBarFields& current, int32_t maximum, int32_t page,
                               int32_t position) {
  ScrollBarFields fields = current;
  if (position != -1) fields.position = position;
  if (maximum != -1) fields.maximum = maximum;
  if (page != -1) fields.page = std::min(page, fields.maximum);
  fields.step = 1;
  return fields;
}

bool LayOutScrollBar(int32_t content_units, int32_t unit_pixels, int32_t client_pixels, int32_t start,
                     ScrollBarLayout* layout) {
  if (content_units == 0 || unit_pixels <= 0) return false;
  const int32_t visible = std::max(client_pixels, 0) / unit_pixels;
  layout->maximum = ClampToInt32(static_cast<int64_t>(visible) / 2 + content_units);
  layout->page = visible;
  layout->position = start;
  return true;
}

ScrollBarFields ResetScrollBarFields() { return {1, 0, 1, 1}; }
