#include "engine/sample_file.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(HeaderLineTest, PlainAndFrequencyForms) {
  EXPECT_EQ("Q1      " "     " "COVR%", headerLine("Q1      ", 0, 1));
  EXPECT_EQ("Q1      " "   *" " 50" " " "BR-BL", headerLine("Q1      ", 50, 2));
  EXPECT_EQ("SAMPL  1" "   *" "100" " " "DOMIN", headerLine("SAMPL  1", 100, 3));
  EXPECT_EQ(18u, headerLine("Q1", 0, 3).size());
  EXPECT_EQ(21u, headerLine("Q1", 7, 3).size());
}

TEST(HeaderLineTest, MaximumFrequenciesOneAndHundred) {
  EXPECT_EQ("Q1      " "   *" "  1" " " "COVR%", headerLine("Q1      ", 1, 1));
  EXPECT_EQ("Q1      " "   *" "100" " " "COVR%", headerLine("Q1      ", 100, 1));
}

}  // namespace
}  // namespace engine
