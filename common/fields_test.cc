#include "common/fields.h"

#include <gtest/gtest.h>

namespace veg {
namespace {

TEST(FieldsTest, IntegersAreRightJustifiedOrAsterisks) {
  EXPECT_EQ("   123", fmtInt(123, 6));
  EXPECT_EQ("  5", fmtInt(5, 3));
  EXPECT_EQ("100", fmtInt(100, 3));
  EXPECT_EQ("***", fmtInt(1000, 3));
  EXPECT_EQ("**", fmtInt(-10, 2));
  EXPECT_EQ(" -1", fmtInt(-1, 3));
}

TEST(FieldsTest, RealsRoundWithDigitBeforePoint) {
  EXPECT_EQ("   0.5", fmtReal(0.5, 6, 1));
  EXPECT_EQ("  12.5", fmtReal(12.5f, 6, 1));
  EXPECT_EQ(" 150.0", fmtReal(150, 6, 1));
  EXPECT_EQ("   0.0", fmtReal(0.04, 6, 1));
  EXPECT_EQ("  -2.5", fmtReal(-2.5, 6, 1));
  EXPECT_EQ("******", fmtReal(123456.0, 6, 1));
  EXPECT_EQ("3276.7", fmtReal(3276.7, 6, 1));
}

TEST(FieldsTest, ExactHalfwayRoundsAwayFromZero) {
  // 0.25 and 0.75 are exact binary values lying halfway between tenths.
  EXPECT_EQ("   0.3", fmtReal(0.25, 6, 1));
  EXPECT_EQ("   0.8", fmtReal(0.75, 6, 1));
  EXPECT_EQ("  -0.3", fmtReal(-0.25, 6, 1));
  EXPECT_EQ("  3", fmtReal(2.5, 3, 0));
}

TEST(FieldsTest, TextsAreRightJustifiedWhenShortAndCutWhenLong) {
  EXPECT_EQ("  All sp", fmtText("All sp", 8));
  EXPECT_EQ("Sp & c", fmtText("Sp & cov", 6));
  EXPECT_EQ("Top fe", fmtText("Top few ", 6));
  EXPECT_EQ("abc  ", padRight("abc", 5));
  EXPECT_EQ("ab", padRight("abc", 2));
}

TEST(FieldsTest, ColumnsBeyondTheLineReadAsBlanks) {
  EXPECT_EQ("cde", column("abcdef", 3, 3));
  EXPECT_EQ("ef  ", column("abcdef", 5, 4));
  EXPECT_EQ("   ", column("ab", 10, 3));
}

// The view holds what the line has of the columns; assigned, they are
// padded as column() pads them.
TEST(FieldsTest, ColumnViewsAndAssignedColumns) {
  const struct {
    std::string_view line;
    int first, width;
    std::string_view view;
    std::string assigned;
  } cases[] = {
      {"abcdef", 2, 3, "bcd", "bcd"},
      {"abcdef", 5, 4, "ef", "ef  "},
      {"ab", 3, 2, "", "  "},
      {"ab", 10, 3, "", "   "},
      {"", 1, 1, "", " "},
  };
  std::string to = "a longer text than any field";
  for (const auto& c : cases) {
    EXPECT_EQ(c.view, columnView(c.line, c.first, c.width)) << c.line << c.first;
    assignColumn(to, c.line, c.first, c.width);
    EXPECT_EQ(c.assigned, to) << c.line << c.first;
  }
}

TEST(FieldsTest, IntegerFieldsIgnoreBlanksAndStopAtComma) {
  long long v = -99;
  EXPECT_TRUE(readIntField("  12", v));
  EXPECT_EQ(12, v);
  EXPECT_TRUE(readIntField("1 2 ", v));
  EXPECT_EQ(12, v);
  EXPECT_TRUE(readIntField("     ", v));
  EXPECT_EQ(0, v);
  EXPECT_TRUE(readIntField("  -7", v));
  EXPECT_EQ(-7, v);
  EXPECT_TRUE(readIntField(" +", v));
  EXPECT_EQ(0, v);
  EXPECT_TRUE(readIntField("2,5", v));
  EXPECT_EQ(2, v);
  EXPECT_TRUE(readIntField(",5", v));
  EXPECT_EQ(0, v);
  EXPECT_FALSE(readIntField("7a", v));
  EXPECT_FALSE(readIntField("5.", v));
  EXPECT_FALSE(readIntField("--5", v));
  EXPECT_FALSE(readIntField("99999999999", v));
  // A sign parted from its digits, the largest number held, a tab.
  EXPECT_TRUE(readIntField(" - 5", v));
  EXPECT_EQ(-5, v);
  EXPECT_TRUE(readIntField("+ 1 2,x", v));
  EXPECT_EQ(12, v);
  EXPECT_TRUE(readIntField("2147483647", v));
  EXPECT_EQ(2147483647, v);
  EXPECT_FALSE(readIntField("2147483648", v));
  EXPECT_FALSE(readIntField("\t1", v));
}

TEST(FieldsTest, RealFieldsTakePointsAndExponents) {
  double v = -99;
  EXPECT_TRUE(readRealField("   2.5", v));
  EXPECT_DOUBLE_EQ(2.5, v);
  EXPECT_TRUE(readRealField("   25.", v));
  EXPECT_DOUBLE_EQ(25, v);
  EXPECT_TRUE(readRealField("   .5", v));
  EXPECT_DOUBLE_EQ(0.5, v);
  EXPECT_TRUE(readRealField(" 1.5e1", v));
  EXPECT_DOUBLE_EQ(15, v);
  EXPECT_TRUE(readRealField(" 1.5D2", v));
  EXPECT_DOUBLE_EQ(150, v);
  EXPECT_TRUE(readRealField("  1.5-1", v));
  EXPECT_DOUBLE_EQ(0.15, v);
  EXPECT_TRUE(readRealField("  -1.5", v));
  EXPECT_DOUBLE_EQ(-1.5, v);
  EXPECT_TRUE(readRealField(" 2.5,7", v));
  EXPECT_DOUBLE_EQ(2.5, v);
  EXPECT_FALSE(readRealField("  agg.", v));
  EXPECT_FALSE(readRealField(" 1.2.3", v));
  EXPECT_FALSE(readRealField("  1.5e", v));
}

}  // namespace
}  // namespace veg
