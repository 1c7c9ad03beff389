#include "synth/signal_level.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SignalLevelTest, ConvertsBetweenPercentDbfsAndDbm0) {
  const struct {
    double percent;
    double dbfs;
    double dbm0;
  } rows[] = {
      {100.0, 0.0, 3.14},
      {50.0, -6.0206, -2.8806},
      {10.0, -20.0, -16.86},
      {1.0, -40.0, -36.86},
  };
  for (const auto& row : rows) {
    EXPECT_NEAR(PercentToDbfs(row.percent), row.dbfs, 1e-4) << row.percent;
    EXPECT_NEAR(DbfsToPercent(row.dbfs), row.percent, 1e-3) << row.percent;
    EXPECT_NEAR(DbfsToDbm0(row.dbfs), row.dbm0, 1e-4) << row.percent;
    EXPECT_NEAR(Dbm0ToDbfs(row.dbm0), row.dbfs, 1e-4) << row.percent;
  }
}

TEST(SignalLevelTest, AFullScaleSineMeasuredByItsRmsIsZeroDbfs) {
  EXPECT_NEAR(RmsToDbfs(32767.0 / std::sqrt(2.0)), 0.0, 1e-9);
  EXPECT_NEAR(RmsToDbfs(32767.0 / std::sqrt(2.0) / 10.0), -20.0, 1e-9);
}

TEST(SignalLevelTest, SilenceHasNoFiniteLevel) {
  for (double nothing : {0.0, -5.0, std::nan("")}) {
    EXPECT_TRUE(std::isinf(PercentToDbfs(nothing)));
    EXPECT_TRUE(std::isinf(RmsToDbfs(nothing)));
  }
}

}  // namespace
