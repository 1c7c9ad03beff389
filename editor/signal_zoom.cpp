#include "editor/signal_zoom.h"

namespace {

constexpr int32_t kRateClassCount = 6;
constexpr int32_t kZoomLevelCount = kWidestZoomLevel + 1;

// The grid always falls on 20, 50, 100, 200, 500 ms, 1, 2 and 5 s; 44.1 kHz needs its own
// pixel spacing because no whole number of samples per pixel divides its milliseconds evenly.
constexpr ZoomScale kZoomTable[kRateClassCount][kZoomLevelCount] = {
    {{1, 160, 20}, {2, 200, 50}, {5, 160, 100}, {10, 160, 200},
     {20, 200, 500}, {50, 160, 1000}, {100, 160, 2000}, {200, 200, 5000}},
    {{2, 160, 20}, {4, 200, 50}, {10, 160, 100}, {20, 160, 200},
     {40, 200, 500}, {100, 160, 1000}, {200, 160, 2000}, {400, 200, 5000}},
    {{4, 160, 20}, {8, 200, 50}, {20, 160, 100}, {40, 160, 200},
     {80, 200, 500}, {200, 160, 1000}, {400, 160, 2000}, {800, 200, 5000}},
    {{6, 147, 20}, {15, 147, 50}, {30, 147, 100}, {60, 147, 200},
     {150, 147, 500}, {300, 147, 1000}, {600, 147, 2000}, {1500, 147, 5000}},
    {{6, 160, 20}, {12, 200, 50}, {30, 160, 100}, {60, 160, 200},
     {120, 200, 500}, {300, 160, 1000}, {600, 160, 2000}, {1200, 200, 5000}},
    {{12, 160, 20}, {24, 200, 50}, {60, 160, 100}, {120, 160, 200},
     {240, 200, 500}, {600, 160, 1000}, {1200, 160, 2000}, {2400, 200, 5000}},
};

}  // namespace

int32_t RateClass(int32_t signal_rate) {
  if (signal_rate <= 8000) return 0;
  if (signal_rate <= 16000) return 1;
  if (signal_rate <= 32000) return 2;
  if (signal_rate <= 44100) return 3;
  if (signal_rate <= 48000) return 4;
  return 5;
}

ZoomScale LookupZoomScale(int32_t signal_rate, int32_t zoom_level) {
  if (zoom_level < kFinestZoomLevel) zoom_level = kFinestZoomLevel;
  if (zoom_level > kWidestZoomLevel) zoom_level = kWidestZoomLevel;
  return kZoomTable[RateClass(signal_rate)][zoom_level];
}
