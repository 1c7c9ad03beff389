#include "app/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// 96 DPI (and an unknown DPI) keeps every measure, and a column its cut heading, as
// designed; above, measures grow by DPI / 96 and a column holds its whole heading.
TEST(DpiScale, MeasuresGrowWithTheDpiAndStayAsTheyAreAt96) {
  const struct {
    int32_t pixels, dpi, scaled;
    int32_t heading, column;  // a heading's text width; the column of width pixels
  } cases[] = {
      {50, 96, 50, 80, 50},    {100, 96, 100, 20, 100}, {-7, 96, -7, 0, -7}, {24, 0, 24, 80, 24},
      {50, 120, 63, 90, 105},  {14, 120, 18, 0, 18},    {100, 144, 150, 60, 150},
      {50, 144, 75, 57, 75},   {50, 144, 75, 58, 76},   {5, 144, 8, 0, 18},
      {24, 192, 48, 120, 144}, {1, 144, 2, 0, 18},      {-1, 144, -2, 0, 18},
      {INT32_MAX, 192, INT32_MAX, 0, INT32_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " px at " << c.dpi;
    EXPECT_EQ(ColumnWidthForDpi(c.pixels, c.heading, c.dpi), c.column) << c.pixels << " px at " << c.dpi;
  }
}

}  // namespace
