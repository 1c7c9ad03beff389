// Pixel measures the program sets itself (list columns, the view's font, margins) are
// designed at 96 DPI; at another DPI they grow with it so that nothing is cut.
#pragma once
#include <cstdint>

constexpr int32_t kDesignDpi = 96;

// pixels × dpi / 96, rounded to the nearest pixel (halves away from zero). 96 DPI, and a
// DPI of 0 or less (none known), give pixels unchanged.
int32_t ScaleForDpi(int32_t pixels, int32_t dpi);

// Pixels a list heading keeps beside its text at 96 DPI (the header's margins).
constexpr int32_t kHeadingMargins = 12;

// A list column's width at dpi: its design width scaled, and above 96 DPI at least
// text_width (its heading's text, measured at that DPI) plus the scaled margins, so that no
// heading is cut. At 96 DPI (or an unknown DPI) the design width is kept as it is.
int32_t ColumnWidthForDpi(int32_t design_width, int32_t text_width, int32_t dpi);
