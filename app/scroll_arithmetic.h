// The arithmetic of the child views' scroll bars, free of any window: where a
// scroll request or a wheel turn leads, how far a position may go, and how a
// bar is laid out for the content and the client size. Results never wrap:
// sums are taken in 64 bits and clamped.
#pragma once

#include <cstdint>

// Scroll bar request codes (the SB_ values of the platform; the horizontal
// names LEFT/RIGHT share them).
namespace scroll_request {
constexpr int32_t kLineUp = 0;
constexpr int32_t kLineDown = 1;
constexpr int32_t kPageUp = 2;
constexpr int32_t kPageDown = 3;
constexpr int32_t kThumbPosition = 4;
constexpr int32_t kThumbTrack = 5;
constexpr int32_t kTop = 6;
constexpr int32_t kBottom = 7;
constexpr int32_t kEndScroll = 8;
}  // namespace scroll_request

// One bar as a view keeps it.
struct ScrollBarFields {
  int32_t maximum;
  int32_t position;
  int32_t page;
  int32_t step;
};

// The bar as the platform reports it.
struct ScrollBarReading {
  int32_t minimum;
  int32_t maximum;
  int32_t page;
  int32_t position;
  int32_t track_position;
};

// The position a request asks for, before clamping: a line (step) or a page
// back or forward, the thumb's track position, the top or the bottom of the
// range; any other request keeps the position.
int64_t ScrollRequestTarget(int32_t request, const ScrollBarReading& bar, int32_t step);

// The position actually taken for a requested one: at least 0, at most
// maximum - page + 1 (and never below 0 even for a bar set up oddly).
int32_t ClampScrollPosition(int64_t requested, int32_t maximum, int32_t page);

// Lines the vertical position moves for a wheel delta (a signed 16-bit value):
// two lines per notch of 120, negative (towards the top) for a positive delta.
int32_t WheelLineChange(int32_t wheel_delta);

// The fields after SetScrollBar: maximum, page (at most maximum) and position
// as given, -1 keeping the current value; the line step becomes 1.
ScrollBarFields ApplyScrollBar(const ScrollBarFields& current, int32_t maximum, int32_t page,
                               int32_t position);

// The bar for content of content_units units of unit_pixels each, seen through
// a client of client_pixels: the page is the number of whole units visible,
// the maximum half a page beyond the content, the position start. False when
// there is no content or no unit size: the bar is then reset instead.
struct ScrollBarLayout {
  int32_t maximum;
  int32_t page;
  int32_t position;
};
bool LayOutScrollBar(int32_t content_units, int32_t unit_pixels, int32_t client_pixels, int32_t start,
                     ScrollBarLayout* layout);

// The fields of a bar that has been reset: maximum 1, position 0, page 1, step 1.
ScrollBarFields ResetScrollBarFields();
