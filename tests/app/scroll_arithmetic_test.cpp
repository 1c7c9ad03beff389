// Scroll positions, requests, the wheel and bar layout of the child views.
#include "app/scroll_arithmetic.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ScrollPosition, ClampsToTheRangeTheBarCanShow) {
  struct Case {
    int64_t requested;
    int32_t maximum;
    int32_t page;
    int32_t expected;
  };
  const Case cases[] = {
      {-5, 300, 1, 0},          // below the top
      {900, 1000, 200, 801},    // the last position still showing a full page
      {801, 1000, 200, 801},
      {800, 1000, 200, 800},
      {0, 1000, 200, 0},
      {300, 300, 1, 300},       // the view's first horizontal bar
      {301, 300, 1, 300},
      {5, 1, 1, 1},             // the first vertical bar
      {INT64_MAX, 1000, 200, 801},
      {INT64_MIN, 1000, 200, 0},
      {10, 0, 5, 0},            // a bar set up with a page beyond its range stays at 0
      {10, INT_MAX, INT_MIN, 10},
      {INT64_MAX, INT_MAX, 0, INT_MAX},  // INT_MAX + 1 does not wrap
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampScrollPosition(c.requested, c.maximum, c.page), c.expected)
        << c.requested << " in " << c.maximum << "/" << c.page;
  }
}

TEST(ScrollRequest, EachRequestLeadsToItsPosition) {
  const ScrollBarReading bar{0, 1000, 200, 500, 640};
  struct Case {
    int32_t request;
    int64_t expected;
  };
  const Case cases[] = {
      {scroll_request::kLineUp, 497},     {scroll_request::kLineDown, 503},
      {scroll_request::kPageUp, 300},     {scroll_request::kPageDown, 700},
      {scroll_request::kThumbTrack, 640}, {scroll_request::kTop, 0},
      {scroll_request::kBottom, 1000},    {scroll_request::kThumbPosition, 500},
      {scroll_request::kEndScroll, 500},  {99, 500}, {-1, 500},
  };
  for (const Case& c : cases) EXPECT_EQ(ScrollRequestTarget(c.request, bar, 3), c.expected) << c.request;
}

TEST(ScrollRequest, ExtremePositionsDoNotWrap) {
  const ScrollBarReading high{0, INT_MAX, INT_MAX, INT_MAX, 0};
  EXPECT_EQ(ScrollRequestTarget(scroll_request::kLineDown, high, INT_MAX), int64_t{INT_MAX} * 2);
  EXPECT_EQ(ClampScrollPosition(ScrollRequestTarget(scroll_request::kPageDown, high, 1), INT_MAX, INT_MAX), 1);
  const ScrollBarReading low{INT_MIN, 0, 0, INT_MIN, 0};
  EXPECT_EQ(ScrollRequestTarget(scroll_request::kLineUp, low, INT_MAX), int64_t{INT_MIN} - INT_MAX);
}

TEST(MouseWheel, TwoLinesPerNotchTowardsTheTopForPositiveDeltas) {
  struct Case {
    int32_t delta;
    int32_t lines;
  };
  const Case cases[] = {
      {240, -4}, {120, -2}, {-120, 2}, {-360, 6},
      {119, 0}, {-119, 0}, {0, 0},  // less than a notch moves nothing
      {250, -4},                    // partial notches are dropped
      {0xFF88, 2},                  // the delta as the 16 bits of the message: -120
      {0x10078, -2},                // bits above 16 are not part of the delta
      {32767, -546}, {-32768, 546},
  };
  for (const Case& c : cases) EXPECT_EQ(WheelLineChange(c.delta), c.lines) << c.delta;
}

TEST(ScrollBarFieldsUpdate, MinusOneKeepsAValueAndThePageNeverExceedsTheMaximum) {
  const ScrollBarFields start{300, 7, 1, 2};
  struct Case {
    int32_t maximum, page, position;
    ScrollBarFields expected;
  };
  const Case cases[] = {
      {1000, 200, 5, {1000, 5, 200, 1}},
      {100, 200, 5, {100, 5, 100, 1}},   // page cut to the maximum
      {-1, -1, -1, {300, 7, 1, 1}},      // all kept; the step still becomes 1
      {-1, 50, -1, {300, 7, 50, 1}},
      {40, -1, 0, {40, 0, 1, 1}},
      {-1, 500, 9, {300, 9, 300, 1}},
  };
  for (const Case& c : cases) {
    const ScrollBarFields f = ApplyScrollBar(start, c.maximum, c.page, c.position);
    EXPECT_EQ(f.maximum, c.expected.maximum);
    EXPECT_EQ(f.position, c.expected.position);
    EXPECT_EQ(f.page, c.expected.page);
    EXPECT_EQ(f.step, c.expected.step);
  }
  const ScrollBarFields reset = ResetScrollBarFields();
  EXPECT_EQ(reset.maximum, 1);
  EXPECT_EQ(reset.position, 0);
  EXPECT_EQ(reset.page, 1);
  EXPECT_EQ(reset.step, 1);
}

TEST(ScrollBarLayoutTest, PageIsTheVisibleUnitsAndTheRangeReachesHalfAPageBeyond) {
  struct Case {
    int32_t content, unit, client, start;
    bool laid_out;
    int32_t maximum, page;
  };
  const Case cases[] = {
      {100, 16, 400, 3, true, 112, 25},   // 400 / 16 = 25 visible lines
      {100, 7, 530, 0, true, 137, 75},    // 530 / 7 = 75 columns
      {100, 16, 10, 0, true, 100, 0},     // a client smaller than one unit
      {100, 16, -20, 0, true, 100, 0},    // a negative size counts as none
      {0, 16, 400, 0, false, 0, 0},       // no content: the bar is reset
      {100, 0, 400, 0, false, 0, 0},      // no unit size
      {100, -3, 400, 0, false, 0, 0},
      {INT_MAX, 1, INT_MAX, 0, true, INT_MAX, INT_MAX},  // does not wrap
  };
  for (const Case& c : cases) {
    ScrollBarLayout layout{0, 0, 0};
    EXPECT_EQ(LayOutScrollBar(c.content, c.unit, c.client, c.start, &layout), c.laid_out) << c.content;
    if (!c.laid_out) continue;
    EXPECT_EQ(layout.maximum, c.maximum) << c.content << "/" << c.unit << "/" << c.client;
    EXPECT_EQ(layout.page, c.page);
    EXPECT_EQ(layout.position, c.start);
  }
}

}  // namespace
