#include "engine/entries.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(CoverPercentTest, ZeroIsZeroOnEveryScale) {
  for (int scale = 1; scale <= 3; ++scale) {
    int percent = 55;
    coverPercent(0.0f, scale, percent);
    EXPECT_EQ(0, percent) << scale;
  }
}

TEST(CoverPercentTest, PercentCoverRoundsHalfUpAndCapsAtHundred) {
  int percent = -1;
  coverPercent(0.4f, 1, percent);
  EXPECT_EQ(0, percent);
  coverPercent(0.5f, 1, percent);
  EXPECT_EQ(1, percent);
  coverPercent(12.5f, 1, percent);
  EXPECT_EQ(13, percent);
  coverPercent(99.4f, 1, percent);
  EXPECT_EQ(99, percent);
  coverPercent(150.0f, 1, percent);
  EXPECT_EQ(100, percent);
  coverPercent(3276.7f, 1, percent);
  EXPECT_EQ(100, percent);
}

TEST(CoverPercentTest, BraunBlanquetWholePoints) {
  const int expected[] = {0, 15, 40, 65, 90};
  for (int v = 1; v <= 5; ++v) {
    int percent = -1;
    coverPercent(static_cast<float>(v), 2, percent);
    EXPECT_EQ(expected[v - 1], percent) << v;
  }
}

TEST(CoverPercentTest, BraunBlanquetBetweenPoints) {
  int percent = -1;
  coverPercent(1.5f, 2, percent);
  EXPECT_EQ(7, percent);
  coverPercent(2.5f, 2, percent);
  EXPECT_EQ(27, percent);
  coverPercent(0.5f, 2, percent);
  EXPECT_EQ(0, percent);
  coverPercent(6.0f, 2, percent);
  EXPECT_EQ(100, percent);
}

TEST(CoverPercentTest, DominWholePoints) {
  const int expected[] = {0, 1, 4, 9, 16, 26, 39, 55, 75, 99};
  for (int v = 1; v <= 10; ++v) {
    int percent = -1;
    coverPercent(static_cast<float>(v), 3, percent);
    EXPECT_EQ(expected[v - 1], percent) << v;
  }
}

TEST(CoverPercentTest, DominAboveTenCapsAtHundred) {
  int percent = -1;
  coverPercent(11.0f, 3, percent);
  EXPECT_EQ(100, percent);
  coverPercent(0.5f, 3, percent);
  EXPECT_EQ(0, percent);
}

TEST(CoverPercentTest, OtherScaleLeavesThePercentAlone) {
  int percent = 42;
  coverPercent(5.0f, 4, percent);
  EXPECT_EQ(42, percent);
  coverPercent(5.0f, 0, percent);
  EXPECT_EQ(42, percent);
}

TEST(CoverLimitTest, OneLimitPerScale) {
  EXPECT_EQ(100.0f, coverLimit(1));
  EXPECT_EQ(5.0f, coverLimit(2));
  EXPECT_EQ(10.0f, coverLimit(3));
}

}  // namespace
}  // namespace engine
