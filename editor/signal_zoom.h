// The signal view's time scales: for each rate class and zoom level, how many samples one
// pixel shows and how far apart, in pixels and in milliseconds, the time grid lines are.
#pragma once
#include <cstdint>

constexpr int32_t kFinestZoomLevel = 0;
constexpr int32_t kWidestZoomLevel = 7;

struct ZoomScale {
  int32_t samples_per_pixel;
  int32_t pixels_per_division;
  int32_t ms_per_division;
};

// 0 for rates up to 8000 Hz (and for 0 or less), 1 up to 16000, 2 up to 32000, 3 up to
// 44100, 4 up to 48000, 5 above.
int32_t RateClass(int32_t signal_rate);

// The scale of a rate at a zoom level; a level outside 0..7 is taken as the nearest one.
ZoomScale LookupZoomScale(int32_t signal_rate, int32_t zoom_level);
