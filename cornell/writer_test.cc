#include "cornell/writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/fakes.h"

namespace cornell {
namespace {

using Lines = std::vector<std::string>;

Name shortName(const std::string& text) {
  Name name;
  for (int i = 0; i < kNameWidth; ++i) name[i] = text.at(i);
  return name;
}

TEST(CornellLinesTest, TitleFormatAndEndOfDataLines) {
  EXPECT_EQ("NO TITLE", std::string(kTitleLine));
  const std::string line = formatLine();
  EXPECT_EQ(70u, line.size());
  EXPECT_EQ("(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7", line);
  EXPECT_EQ("   0", endOfDataLine());
}

TEST(CornellDataLineTest, CoupletsOfTenColumnsAfterTheSampleNumber) {
  const int species[] = {1, 12, 345};
  const float values[] = {25.0f, 3.0f, 10.5f};
  std::string line;
  dataLine(line, 7, species, values, 3);
  EXPECT_EQ(
      "   7"    // columns 1-4
      "  "      // 5-6
      "    1"   // 7-11
      " 25.0"   // 12-16
      "   12"   // 17-21
      "  3.0"   // 22-26
      "  345"   // 27-31
      " 10.5",  // 32-36
      line);
}

TEST(CornellDataLineTest, ValueFieldLimits) {
  const int species[] = {1, 2, 3, 4, 5, 6, 7};
  const float values[] = {1000.0f, 999.9f, 0.5f, 1.2f, -100.0f, -99.9f, 0.0f};
  std::string line;
  dataLine(line, 1, species, values, 7);
  EXPECT_EQ(
      "   1  "
      "    1*****"
      "    2999.9"
      "    3  0.5"
      "    4  1.2"
      "    5*****"
      "    6-99.9"
      "    7  0.0",
      line);
  EXPECT_EQ(76u, line.size());
}

TEST(CornellDataLineTest, SampleWithoutSpeciesIsItsNumberAlone) {
  std::string line = "leftover";
  dataLine(line, 12, nullptr, nullptr, 0);
  EXPECT_EQ("  12", line);
}

TEST(CornellWriteSampleTest, FifteenCoupletsTakeLinesOfSevenSevenAndOne) {
  veg::testing::MemoryFileSystem fs;
  auto out = fs.createNew("C");
  int species[16];
  float values[16];
  for (int i = 1; i <= 15; ++i) {
    species[i] = i;
    values[i] = static_cast<float>(i);
  }
  std::string line;
  writeSample(*out, line, 3, species, values, 15);
  EXPECT_EQ((Lines{"   3      1  1.0    2  2.0    3  3.0    4  4.0    5  5.0    6  6.0    7  7.0",
                   "   3      8  8.0    9  9.0   10 10.0   11 11.0   12 12.0   13 13.0   14 14.0",
                   "   3     15 15.0"}),
            fs.lines("C"));
}

TEST(CornellWriteSampleTest, EmptySampleGivesOneLine) {
  veg::testing::MemoryFileSystem fs;
  auto out = fs.createNew("C");
  std::string line;
  writeSample(*out, line, 2, nullptr, nullptr, 0);
  EXPECT_EQ(Lines{"   2"}, fs.lines("C"));
}

TEST(CornellNameLinesTest, TenNamesToALineAndTheRestOnTheLast) {
  veg::testing::MemoryFileSystem fs;
  auto out = fs.createNew("C");
  std::vector<Name> names(12);
  for (int i = 1; i <= 11; ++i) names[i] = shortName("name" + std::to_string(100 + i) + " ");
  std::string line;
  writeNameLines(*out, line, names.data(), 11);
  EXPECT_EQ((Lines{"name101 name102 name103 name104 name105 name106 name107 name108 name109 "
                   "name110 ",
                   "name111 "}),
            fs.lines("C"));
}

TEST(CornellNameLinesTest, NoNamesGiveOneEmptyLine) {
  veg::testing::MemoryFileSystem fs;
  auto out = fs.createNew("C");
  std::string line;
  writeNameLines(*out, line, nullptr, 0);
  EXPECT_EQ(Lines{""}, fs.lines("C"));
}

TEST(CornellNameLinesTest, ExactlyTenNamesMakeOneFullLine) {
  veg::testing::MemoryFileSystem fs;
  auto out = fs.createNew("C");
  std::vector<Name> names(11, shortName("Q1      "));
  std::string line;
  writeNameLines(*out, line, names.data(), 10);
  const Lines lines = fs.lines("C");
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(80u, lines[0].size());
}

}  // namespace
}  // namespace cornell
