#include "app/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct ScaleCase {
  int32_t pixels;
  int32_t dpi;
  int32_t scaled;
};

TEST(DpiScale, PixelsGrowWithTheDpiAndStayAsTheyAreAt96) {
  const ScaleCase cases[] = {
      // 96 DPI and an unknown DPI leave every measure exactly as designed.
      {100, 96, 100}, {50, 96, 50}, {1, 96, 1}, {0, 96, 0}, {-7, 96, -7}, {24, 0, 24}, {24, -96, 24},
      // The list columns, margins and font heights at 120, 144 and 192 DPI.
      {100, 120, 125}, {50, 120, 63}, {14, 120, 18}, {30, 120, 38},
      {100, 144, 150}, {50, 144, 75}, {24, 144, 36}, {5, 144, 8}, {27, 144, 41},
      {100, 192, 200}, {24, 192, 48}, {12, 192, 24},
      // Halves round away from zero; beyond 32 bits the result is held at the limit.
      {1, 144, 2}, {-1, 144, -2}, {3, 72, 2}, {INT32_MAX, 192, INT32_MAX}, {INT32_MIN, 192, INT32_MIN},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " px at " << c.dpi;
  }
}

struct ColumnCase {
  int32_t design;
  int32_t text;
  int32_t dpi;
  int32_t width;
};

// At 96 DPI a heading wider than its column stays cut as designed; above, it never is.
TEST(DpiScale, ColumnsAboveNinetySixDpiHoldTheirWholeHeading) {
  const ColumnCase cases[] = {
      {50, 80, 96, 50},   {50, 20, 96, 50},   {50, 80, 0, 50},
      {50, 20, 144, 75},  {50, 57, 144, 75},  {50, 58, 144, 76}, {50, 100, 144, 118},
      {100, 60, 120, 125}, {50, 90, 120, 105}, {50, 20, 192, 100}, {50, 120, 192, 144},
  };
  for (const ColumnCase& c : cases) {
    EXPECT_EQ(ColumnWidthForDpi(c.design, c.text, c.dpi), c.width)
        << c.design << " px, text " << c.text << " at " << c.dpi;
  }
}

}  // namespace
