#include "cornell/reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/fields.h"
#include "cornell/format.h"

namespace cornell {
namespace {

using Lines = std::vector<std::string>;

// ---- the format line: the data format and the couplet count ----

TEST(DataFormatTest, FormatInColumnOne) {
  const std::string format_line = "(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7";
  EXPECT_EQ("(i4,2x,7(i5,f5.1))            ", dataFormatOf(format_line));
  EXPECT_TRUE(compileFormat(dataFormatOf(format_line)).ok);
}

TEST(DataFormatTest, FormatStartingInColumnFiveAfterFourBlanks) {
  const std::string format_line = "    (I10,1X,5(I4,F5.0))";
  EXPECT_EQ("(I10,1X,5(I4,F5.0))           ", dataFormatOf(format_line));
  EXPECT_TRUE(compileFormat(dataFormatOf(format_line)).ok);
}

TEST(DataFormatTest, BlankColumnsOneToTwentyTakeColumnsTwentyOneToFifty) {
  // After 24 blanks, ending in column 48.
  const std::string format_line = std::string(24, ' ') + "(i4,2x,7(i5,f5.1))" + "   extra";
  EXPECT_EQ("    (i4,2x,7(i5,f5.1))   extr", dataFormatOf(format_line).substr(0, 29));
  EXPECT_EQ(30u, dataFormatOf(format_line).size());
  EXPECT_TRUE(compileFormat(dataFormatOf(format_line)).ok);
  // The same format starting in column 35 ends after column 50: it is
  // taken to its closing parenthesis, not cut at column 50.
  const std::string late = std::string(34, ' ') + "(i4,2x,7(i5,f5.1))   extra";
  EXPECT_EQ(std::string(14, ' ') + "(i4,2x,7(i5,f5.1))", dataFormatOf(late));
  EXPECT_TRUE(compileFormat(dataFormatOf(late)).ok);
}

TEST(DataFormatTest, FormatLongerThanThirtyCharactersIsTakenWhole) {
  const std::string whole = "(i4,2x,7(i5,f5.1),3x,2(i3,f4.1))";
  EXPECT_EQ(whole, dataFormatOf(whole + "    " + std::string(30, ' ') + " 9"));
  EXPECT_TRUE(compileFormat(dataFormatOf(whole)).ok);
  // Unclosed: up to its last character before the couplet count.
  const std::string open = "(i4,2x,7(i5,f5.1),3x,2(i3,f4.1)";
  EXPECT_EQ(open, dataFormatOf(veg::padRight(open, 68) + " 9"));
  EXPECT_EQ("its parentheses do not close", compileFormat(dataFormatOf(open)).error);
  // A format may run to column 80, over the columns of the couplet count.
  const std::string wide =
      "(i4,2x,7(i5,f5.1),3x,2(i3,f4.1),1x,3(i4,f5.1),2x,2(i3,f4.1),1x,2(i6,f7.2),3(1x))";
  EXPECT_EQ(wide, dataFormatOf(wide));
  // A line 2 that is no format keeps its 30 characters.
  EXPECT_EQ(veg::padRight("Calluna vulgaris", 30),
            dataFormatOf("  Calluna vulgaris              60"));
}

TEST(FormatLineCountTest, ColumnsSixtyNineAndSeventy) {
  const std::string before(68, ' ');
  EXPECT_EQ(7, formatLineCount(before + "7 "));
  EXPECT_EQ(7, formatLineCount(before + " 7"));
  EXPECT_EQ(7, formatLineCount(before + "07"));
  EXPECT_EQ(7, formatLineCount(before + "7"));  // a line that ends in column 69
  EXPECT_EQ(12, formatLineCount(before + "12 and more"));
  EXPECT_EQ(0, formatLineCount(before + "  "));
  EXPECT_EQ(0, formatLineCount("(i4,2x,7(i5,f5.1))"));
  EXPECT_EQ(0, formatLineCount(before + "ab"));
  EXPECT_EQ(-1, formatLineCount(before + "-1"));
}

// ---- line 3 ----

TEST(Line3NumberTest, FirstNumberOnTheLine) {
  EXPECT_EQ(8, line3Number("8"));
  EXPECT_EQ(5, line3Number("  5 "));
  EXPECT_EQ(1, line3Number("   1      4  0.19   7  0.57"));
  EXPECT_EQ(5, line3Number(" 5,3"));
  EXPECT_EQ(-2, line3Number("-2"));
  EXPECT_EQ(12, line3Number("+12 7"));
}

TEST(Line3NumberTest, NoReadableIntegerIsZero) {
  EXPECT_EQ(0, line3Number(""));
  EXPECT_EQ(0, line3Number("    "));
  EXPECT_EQ(0, line3Number("Ach mil Agr sto"));
  EXPECT_EQ(0, line3Number("5.0"));
  EXPECT_EQ(0, line3Number(",5"));
  EXPECT_EQ(0, line3Number("-"));
  EXPECT_EQ(0, line3Number("99999999999999999999"));
}

// ---- the header rule ----

TEST(HeaderRuleTest, PositiveFormatLineCountDecides) {
  Header h = headerRule(7, 1);
  EXPECT_EQ(7, h.couplets);
  EXPECT_EQ(2, h.lines_before_data);
  EXPECT_EQ(Header::kNone, h.message);
  // 7 in columns 69-70 and a line 3 beginning with 2: the warning, data
  // from line 3.
  h = headerRule(7, 2);
  EXPECT_EQ(7, h.couplets);
  EXPECT_EQ(2, h.lines_before_data);
  EXPECT_EQ(Header::kWarning, h.message);
}

TEST(HeaderRuleTest, Line3CountWhenTheFormatLineGivesNone) {
  const Header h = headerRule(0, 8);
  EXPECT_EQ(8, h.couplets);
  EXPECT_EQ(3, h.lines_before_data);
  EXPECT_EQ(Header::kNone, h.message);
  // Any count is passed on: the caller refuses what a line cannot hold.
  EXPECT_EQ(150, headerRule(0, 150).couplets);
}

TEST(HeaderRuleTest, OtherwiseOneCoupletWithTheNotice) {
  for (auto [count, number] : {std::pair{0, 1LL}, {0, 0LL}, {0, -4LL}, {-1, 8LL}, {-3, 1LL}}) {
    const Header h = headerRule(count, number);
    EXPECT_EQ(1, h.couplets) << count << " " << number;
    EXPECT_EQ(2, h.lines_before_data);
    EXPECT_EQ(Header::kNotice, h.message);
  }
}

// ---- names ----

std::unique_ptr<NameLines> nameLines(const Lines& lines) {
  auto names = std::make_unique<NameLines>();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    storeNameLine(*names, static_cast<int>(k) + 1, lines[k]);
  }
  return names;
}

// A name line of `n` names: prefix and the number 1..n, 8 columns each.
std::string line(const std::string& prefix, int first, int n) {
  std::string line;
  for (int i = 0; i < n; ++i) {
    std::string name = prefix + std::to_string(first + i);
    name.resize(8, ' ');
    line += name;
  }
  return line;
}

TEST(NameLineTest, TenNamesOfEightColumns) {
  auto names = nameLines({"Ach mil Agr sto Air pra Alo gen Ant odo Bel per Bro hor Che alb Cir arv "
                          "Ele pal too long"});
  EXPECT_EQ("Ach mil ", nameOn(*names, 1, 1));
  EXPECT_EQ("Ele pal ", nameOn(*names, 1, 10));
  auto short_line = nameLines({"Ach mil"});
  EXPECT_EQ("Ach mil ", nameOn(*short_line, 1, 1));
  EXPECT_TRUE(nameBlank(*short_line, 1, 2));
  EXPECT_FALSE(lineBlank(*short_line, 1));
  EXPECT_TRUE(lineBlank(*nameLines({""}), 1));
}

TEST(NameMappingTest, SpeciesAndSampleNames) {
  EXPECT_EQ("Fest rubr", speciesName("Festrubr"));
  EXPECT_EQ("Ach  mil ", speciesName("Ach mil "));
  EXPECT_EQ("AC00 1A  ", speciesName("AC001A"));
  EXPECT_EQ("No Name  ", speciesName("        "));
  EXPECT_EQ("Q1      ", sampleName("Q1      "));
  EXPECT_EQ(" PAS 17 ", sampleName(" PAS 17 "));
  EXPECT_EQ("No Name ", sampleName("        "));
}

struct BlockCase {
  Lines lines;
  int s, m;
  Blocks expected;
};

void expectBlocks(const BlockCase& c) {
  auto names = nameLines(c.lines);
  const Blocks b = locateBlocks(*names, static_cast<int>(c.lines.size()), c.s, c.m);
  EXPECT_EQ(c.expected.species_first, b.species_first);
  EXPECT_EQ(c.expected.species_last, b.species_last);
  EXPECT_EQ(c.expected.sample_first, b.sample_first);
  EXPECT_EQ(c.expected.sample_last, b.sample_last);
}

TEST(LocateBlocksTest, ExactLines) {
  // 25 species on 3 lines, 12 samples on 2.
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 5), line("Q", 1, 10),
                 line("Q", 11, 2)},
                25, 12, {1, 3, 4, 5}});
}

TEST(LocateBlocksTest, MissingSampleLines) {
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 5), line("Q", 1, 10)},
                25, 25, {1, 3, 4, 4}});
  // No sample lines at all.
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 5)}, 25, 25, {1, 3, 4, 3}});
}

TEST(LocateBlocksTest, SurplusLinesAfterAShortSpeciesLine) {
  // 25 species: the tenth name of line 3 is blank and line 4 begins with a
  // name, so the species block ends at line 3 whatever follows.
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 5), line("Q", 1, 10),
                 line("Q", 11, 2), line("X", 1, 10), ""},
                25, 12, {1, 3, 4, 5}});
}

TEST(LocateBlocksTest, SurplusBlankLinesOnly) {
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 10), line("Q", 1, 10), "",
                 ""},
                30, 10, {1, 3, 4, 4}});
}

TEST(LocateBlocksTest, SurplusSpeciesLineEndsWhereATenthNameIsBlank) {
  // 30 species in the data, but 35 names on 4 lines; then one sample line
  // and trailing blank lines.
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 10), line("S", 31, 5),
                 line("Q", 1, 10)},
                30, 10, {1, 4, 5, 5}});
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 10), line("S", 31, 5),
                 line("Q", 1, 10), "", ""},
                30, 10, {1, 4, 5, 5}});
}

TEST(LocateBlocksTest, NoLineEndsTheBlockSoTheSampleBlockEndsAtTheLastName) {
  // Line 4 is full: no tenth name is blank; the species block is lines 1 to
  // L - NM with L the last non-blank line.
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 10), line("S", 31, 10),
                 line("Q", 1, 10), ""},
                30, 10, {1, 4, 5, 5}});
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 10), line("S", 31, 10),
                 line("S", 41, 10), line("Q", 1, 10), line("Q", 11, 10)},
                30, 12, {1, 5, 6, 7}});
}

TEST(LocateBlocksTest, BlankLineAfterAShortSpeciesLineIsTakenAsSpecies) {
  // Line 4 is blank, so the first rule does not hold; line 4 ends with a
  // blank tenth name and line 5 begins with one: species block 1 to 4.
  expectBlocks({{line("S", 1, 10), line("S", 11, 10), line("S", 21, 5), "", line("Q", 1, 10)},
                25, 10, {1, 4, 5, 5}});
}

TEST(NameTablesTest, ElevenSpeciesOnTwoLines) {
  auto names = nameLines({line("Sp", 1, 10), line("Sp", 11, 1), "Q1      Q2      Q3"});
  const Blocks b = locateBlocks(*names, 3, 11, 3);
  EXPECT_EQ(2, b.species_last);
  auto species = std::make_unique<SpeciesNameTable>();
  auto samples = std::make_unique<SampleNameTable>();
  buildNameTables(*names, b, 3, *species, *samples);
  EXPECT_EQ("Sp1      ", species->species_name[1].view());
  EXPECT_EQ("Sp10     ", species->species_name[10].view());
  EXPECT_EQ("Sp11     ", species->species_name[11].view());
  EXPECT_EQ("No Name  ", species->species_name[12].view());  // blank slot on line 2
  EXPECT_EQ("Q1      ", samples->sample_name[1].view());
  EXPECT_EQ("Q3      ", samples->sample_name[3].view());
}

TEST(NameTablesTest, SamplesWithoutANameAreNoName) {
  // Sample block of one line for 25 samples, with a blank slot.
  auto names = nameLines({line("S", 1, 3), "Q1              Q3"});
  const Blocks b = locateBlocks(*names, 2, 3, 25);
  auto species = std::make_unique<SpeciesNameTable>();
  auto samples = std::make_unique<SampleNameTable>();
  buildNameTables(*names, b, 25, *species, *samples);
  EXPECT_EQ("Q1      ", samples->sample_name[1].view());
  EXPECT_EQ("No Name ", samples->sample_name[2].view());
  EXPECT_EQ("Q3      ", samples->sample_name[3].view());
  EXPECT_EQ("No Name ", samples->sample_name[4].view());
  EXPECT_EQ("No Name ", samples->sample_name[25].view());
}

}  // namespace
}  // namespace cornell
