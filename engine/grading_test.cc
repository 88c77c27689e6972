#include "engine/grading.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(PrintedPercentTest, TimesTheSinglePrecisionHundredPointOne) {
  EXPECT_EQ(70, printedPercent(0.7f));
  EXPECT_EQ(50, printedPercent(0.5f));
  EXPECT_EQ(100, printedPercent(1.0f));
  EXPECT_EQ(0, printedPercent(0.0f));
  EXPECT_EQ(75, printedPercent(0.75859f));
  EXPECT_EQ(9, printedPercent(0.0999f));  // 0.0999 x 100.1 = 9.99999
}

}  // namespace
}  // namespace engine
