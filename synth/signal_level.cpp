#include "synth/signal_level.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kFullScale = 32767.0;
}  // namespace

double PercentToDbfs(double percent) {
  if (!(percent > 0.0)) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(percent / 100.0);
}

double DbfsToPercent(double dbfs) { return 100.0 * std::pow(10.0, dbfs / 20.0); }

double DbfsToDbm0(double dbfs) { return dbfs + kFullScaleSineDbm0; }

double Dbm0ToDbfs(double dbm0) { return dbm0 - kFullScaleSineDbm0; }

double RmsToDbfs(double rms) {
  if (!(rms > 0.0)) return -std::numeric_limits<double>::infinity();
  // A full-scale sine's RMS is its peak over the square root of two.
  return 20.0 * std::log10(rms * std::sqrt(2.0) / kFullScale);
}
