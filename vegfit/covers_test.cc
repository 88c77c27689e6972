#include "vegfit/covers.h"

#include <gtest/gtest.h>

namespace vegfit {
namespace {

struct Case {
  const char* text;
  int scale;  // 1 percent, 2 Braun-Blanquet, 3 Domin
  short tenths;
};

// Values as sample entry holds them, in tenths of the scale's own value.
TEST(ReadCoverTest, FormsOfEachScale) {
  const Case cases[] = {
      // numbers, as before: whole, decimal, "+" as 0 on the percent scale
      {"25", 1, 250}, {" 25 ", 1, 250}, {"2.5", 1, 25}, {"12.55", 1, 125}, {"0.04", 1, 0},
      {".5", 1, 5}, {"25.", 1, 250}, {"+", 1, 0}, {"3276.7", 1, 32767}, {"0", 1, 0},
      // percent: a sign, a range as its middle, "<1" the lowest value held
      {"10%", 1, 100}, {"10 %", 1, 100}, {"5-10", 1, 75}, {"5-10%", 1, 75}, {"5%-10%", 1, 75},
      {"<1", 1, 1},
      // Braun-Blanquet letters: r 0.1, + 0.5, 2m as 1, 2a 1.6, 2b 2.2
      {"r", 2, 1}, {"R", 2, 1}, {"+", 2, 5}, {"1", 2, 10}, {"2m", 2, 10}, {"2a", 2, 16},
      {"2B", 2, 22}, {"3", 2, 30}, {"5", 2, 50}, {"<1", 2, 1}, {"2-3", 2, 25},
      // Domin: + 0.5, the numbers 1 to 10, "<1" as +
      {"+", 3, 5}, {"10", 3, 100}, {"<1", 3, 5}, {"4-6", 3, 50}};
  for (const Case& c : cases) {
    float value = -1;
    short tenths = -1;
    EXPECT_EQ(CoverKind::kValue, readCover(c.text, c.scale, false, value, tenths))
        << c.text << " on " << c.scale;
    EXPECT_EQ(c.tenths, tenths) << c.text << " on " << c.scale;
  }
}

TEST(ReadCoverTest, DecimalCommaOnlyWhereTheSeparatorAllows) {
  float value = 0;
  short tenths = 0;
  EXPECT_EQ(CoverKind::kValue, readCover("2,5", 1, true, value, tenths));
  EXPECT_EQ(25, tenths);
  EXPECT_EQ(CoverKind::kValue, readCover("2,5-7,5", 1, true, value, tenths));
  EXPECT_EQ(50, tenths);
  EXPECT_EQ(CoverKind::kBad, readCover("2,5", 1, false, value, tenths));
}

TEST(ReadCoverTest, PresenceWithoutACover) {
  for (const char* text : {"", "  ", "NA", "na", "p", "X", "present", "Present"}) {
    float value = -1;
    short tenths = -1;
    EXPECT_EQ(CoverKind::kPresence, readCover(text, 2, false, value, tenths)) << text;
    EXPECT_EQ(0, tenths) << text;
  }
}

TEST(ReadCoverTest, RefusedForms) {
  const Case bad[] = {{"r", 1, 0},     {"2a", 1, 0},   {"-5", 1, 0},     {"1e3", 1, 0},
                      {"3276.8", 1, 0}, {"10000", 1, 0}, {"1.2.3", 1, 0}, {".", 1, 0},
                      {"2 5", 1, 0},   {"10-5", 1, 0}, {"5%", 2, 0},     {"r", 3, 0},
                      {"2c", 2, 0},    {"<2", 1, 0},   {"abundant", 3, 0}};
  for (const Case& c : bad) {
    float value = 0;
    short tenths = 0;
    EXPECT_EQ(CoverKind::kBad, readCover(c.text, c.scale, false, value, tenths))
        << c.text << " on " << c.scale;
  }
}

TEST(ReadCoverTest, TheMessageListsWhatEachScaleTakes) {
  EXPECT_NE(std::string::npos, acceptedCovers(1).find("with or without %"));
  EXPECT_NE(std::string::npos, acceptedCovers(2).find("r, +, 1, 2m, 2a, 2, 2b, 3, 4, 5"));
  EXPECT_NE(std::string::npos, acceptedCovers(3).find("+, 1 to 10"));
  for (int scale = 1; scale <= 3; ++scale)
    EXPECT_NE(std::string::npos, acceptedCovers(scale).find("NA, p, x, present"));
}

}  // namespace
}  // namespace vegfit
