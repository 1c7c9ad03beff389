#include "app/dpi_scale.h"

#include <algorithm>
#include <limits>

int32_t ScaleForDpi(int32_t pixels, int32_t dpi) {
  if (dpi <= 0 || dpi == kDesignDpi) return pixels;
  const int64_t product = static_cast<int64_t>(pixels) * dpi;
  const int64_t half = kDesignDpi / 2;
  const int64_t scaled = product >= 0 ? (product + half) / kDesignDpi : (product - half) / kDesignDpi;
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t ColumnWidthForDpi(int32_t design_width, int32_t text_width, int32_t dpi) {
  const int32_t scaled = ScaleForDpi(design_width, dpi);
  if (dpi <= kDesignDpi) return scaled;
  return std::max(scaled, text_width + ScaleForDpi(kHeadingMargins, dpi));
}
