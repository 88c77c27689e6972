#include "engine/parser.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

struct Parsed {
  std::string key;
  int marks = 0;
  int frequency = -99;
  float value = -99;
  bool bad = true;
};

// One line through the entry loop's order: lineColumns, removeMarks, parseSpeciesLine.
Parsed parse(const std::string& line, int max_frequency = 0) {
  Parsed p;
  std::string input = lineColumns(line);
  p.marks = removeMarks(input);
  std::string field_work(40, '#');
  parseSpeciesLine(input, field_work, p.key, max_frequency, p.frequency, p.value, p.bad);
  return p;
}

// A line whose last non-blank character stands in column `last`.
std::string endingAt(const std::string& words, int last) {
  return std::string(static_cast<std::size_t>(last) - words.size(), ' ') + words;
}

TEST(LowerAsciiTest, FoldsOnlyTheLettersAToZ) {
  EXPECT_EQ('a', lowerAscii('A'));
  EXPECT_EQ('z', lowerAscii('Z'));
  EXPECT_EQ('q', lowerAscii('q'));
  EXPECT_EQ('@', lowerAscii('@'));
  EXPECT_EQ('[', lowerAscii('['));
  EXPECT_EQ('5', lowerAscii('5'));
  EXPECT_EQ(' ', lowerAscii(' '));
}

TEST(RemoveMarksTest, BlanksEveryAsteriskAndCountsAtMostTwo) {
  std::string line = lineColumns("Fest*uca ru*bra *5");
  EXPECT_EQ(2, removeMarks(line));
  EXPECT_EQ(lineColumns("Fest uca ru bra  5"), line);

  line = lineColumns("*Festuca rubra 5");
  EXPECT_EQ(1, removeMarks(line));
  EXPECT_EQ(lineColumns(" Festuca rubra 5"), line);

  line = lineColumns("Festuca rubra 5");
  EXPECT_EQ(0, removeMarks(line));
}

TEST(RemoveMarksTest, LooksOnlyAtTheFirstFortyColumns) {
  std::string line = std::string(40, ' ') + "**";
  EXPECT_EQ(0, removeMarks(line));
  EXPECT_EQ(std::string(40, ' ') + "**", line);
}

TEST(LineColumnsTest, PadsAndCutsToFortyColumns) {
  EXPECT_EQ("ab" + std::string(38, ' '), lineColumns("ab"));
  EXPECT_EQ(std::string(40, 'x'), lineColumns(std::string(50, 'x')));
}

TEST(ParseSpeciesLineTest, GenusEpithetAndValue) {
  Parsed p = parse("Festuca rubra 25");
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_EQ(1, p.frequency);
  EXPECT_EQ(0, p.marks);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, CapitalsGiveTheSameKey) {
  Parsed p = parse("FESTUCA RUBRA 25");
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, ShortWordsAreBlankPadded) {
  Parsed p = parse("   Poa an   7");
  EXPECT_EQ("poa  an  ", p.key);
  EXPECT_EQ(7.0f, p.value);
}

TEST(ParseSpeciesLineTest, NumberAfterGenusMeansNoEpithet) {
  Parsed p = parse("Festuca 25");
  EXPECT_EQ("fest     ", p.key);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, LonePlusAfterGenusIsTheSecondNameWord) {
  Parsed p = parse("Festuca +");
  EXPECT_EQ("fest +   ", p.key);
  EXPECT_EQ(0.0f, p.value);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, LonePlusAsValueReadsAsZero) {
  Parsed p = parse("Festuca rubra +");
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(0.0f, p.value);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, LetterAsValueIsBad) { EXPECT_TRUE(parse("Festuca rubra r").bad); }

TEST(ParseSpeciesLineTest, CommaEndsTheNumber) {
  Parsed p = parse("Festuca rubra 2,5");
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(2.0f, p.value);
}

TEST(ParseSpeciesLineTest, DecimalPointGivesARealValue) {
  EXPECT_EQ(2.5f, parse("Festuca rubra 2.5").value);
  EXPECT_EQ(25.0f, parse("Festuca rubra 25.").value);
  EXPECT_EQ(0.5f, parse("Festuca rubra .5").value);
  EXPECT_EQ(15.0f, parse("Festuca rubra 1.5e1").value);
  EXPECT_FALSE(parse("Festuca rubra 1.5e1").bad);
}

TEST(ParseSpeciesLineTest, ExponentWithoutPointIsBad) { EXPECT_TRUE(parse("Festuca rubra 1e1").bad); }

TEST(ParseSpeciesLineTest, ThirdNameWordIsTakenAsTheValue) {
  EXPECT_TRUE(parse("Festuca rubra agg. 5").bad);
  // Whatever follows the value word is ignored.
  Parsed p = parse("Festuca rubra 5 agg.");
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(5.0f, p.value);
}

TEST(ParseSpeciesLineTest, MarkedLineParsesAsWithoutTheMark) {
  Parsed p = parse("Festuca rubra* 5");
  EXPECT_EQ(1, p.marks);
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(5.0f, p.value);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, AsteriskInsideAWordSplitsIt) {
  Parsed p = parse("Festuca*rubra 5");
  EXPECT_EQ(1, p.marks);
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(5.0f, p.value);
}

TEST(ParseSpeciesLineTest, NegativeValueIsReadNormally) {
  Parsed p = parse("Festuca rubra -5");
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(-5.0f, p.value);
}

TEST(ParseSpeciesLineTest, BlankLineGivesBlankKey) {
  Parsed p = parse("");
  EXPECT_EQ("         ", p.key);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(0.0f, p.value);

  p = parse("  ***  * ");
  EXPECT_EQ("         ", p.key);
  EXPECT_EQ(2, p.marks);
}

// Lines pasted from a spreadsheet have tabs between the cells; a tab
// separates words exactly as a blank does.
TEST(ParseSpeciesLineTest, TabSeparatesWordsLikeABlank) {
  Parsed p = parse("Festuca\trubra 5");
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(5.0f, p.value);
  EXPECT_FALSE(p.bad);

  p = parse("\tFestuca\t\trubra\t12.5\t");
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(12.5f, p.value);
  EXPECT_FALSE(p.bad);

  // no epithet: the number after the tab is the value
  p = parse("Festuca\t25");
  EXPECT_EQ("fest     ", p.key);
  EXPECT_EQ(25.0f, p.value);
}

TEST(ParseSpeciesLineTest, TabBeforeTheFrequencyAndTheValue) {
  Parsed p = parse("Festuca\trubra\t3\t25", 10);
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(3, p.frequency);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_FALSE(p.bad);
  EXPECT_TRUE(parse("Festuca\trubra\t12\t25", 10).bad);
}

TEST(ParseSpeciesLineTest, LineOfTabsAndBlanksGivesBlankKey) {
  Parsed p = parse("\t \t\t");
  EXPECT_EQ("         ", p.key);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(0.0f, p.value);
}

TEST(ParseSpeciesLineTest, TabAfterTheValueWordEndsItBeforeColumnForty) {
  // the value word ends in column 39, a tab stands in column 40
  Parsed p = parse(endingAt("Festuca rubra 25", 39) + "\t");
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(25.0f, p.value);
  // a tab inside the forty columns is a character of the line, not a column
  // stop: the words still have to end before column 40
  EXPECT_TRUE(parse(endingAt("Festuca\trubra\t25", 40)).bad);
}

TEST(ParseSpeciesLineTest, NameWithoutValueReadsZero) {
  Parsed p = parse("Festuca rubra");
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(0.0f, p.value);
  EXPECT_FALSE(p.bad);
}

TEST(ParseSpeciesLineTest, ValueWordMustEndBeforeColumnForty) {
  Parsed p = parse(endingAt("Festuca rubra 25", 39));
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_TRUE(parse(endingAt("Festuca rubra 25", 40)).bad);
  // Columns from 41 on are never read, so a value word running past column
  // 40 is cut there and reaches it.
  EXPECT_TRUE(parse(endingAt("Festuca rubra 25", 41)).bad);
}

TEST(ParseSpeciesLineTest, NameWordsMayRunToColumnForty) {
  Parsed p = parse(endingAt("Festuca rubra", 40));
  EXPECT_FALSE(p.bad);
  EXPECT_EQ("fest rubr", p.key);
  EXPECT_EQ(0.0f, p.value);
}

TEST(ParseSpeciesLineTest, ValueWordOfMoreThanSixCharactersIsBad) {
  EXPECT_TRUE(parse("Festuca rubra 12.3456").bad);
  EXPECT_TRUE(parse("Festuca rubra 0000005").bad);
  Parsed p = parse("Festuca rubra 000005");
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(5.0f, p.value);
}

TEST(ParseSpeciesLineTest, ValueMustFitTheHeldTenths) {
  EXPECT_FALSE(parse("Festuca rubra 3276.7").bad);
  EXPECT_TRUE(parse("Festuca rubra 3276.8").bad);
  EXPECT_TRUE(parse("Festuca rubra 9999").bad);
  EXPECT_FALSE(parse("Festuca rubra -3276.").bad);
  EXPECT_TRUE(parse("Festuca rubra -3277").bad);
  EXPECT_TRUE(parse("Festuca rubra 1.e+39").bad);
}

TEST(ParseSpeciesLineTest, FrequencyComesBeforeTheValue) {
  Parsed p = parse("Festuca rubra 3 25", 10);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(3, p.frequency);
  EXPECT_EQ(25.0f, p.value);
}

TEST(ParseSpeciesLineTest, SingleNumberIsTheFrequency) {
  Parsed p = parse("Festuca rubra 3", 10);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(3, p.frequency);
  EXPECT_EQ(0.0f, p.value);

  p = parse("Festuca 3 25", 10);
  EXPECT_EQ("fest     ", p.key);
  EXPECT_EQ(3, p.frequency);
  EXPECT_EQ(25.0f, p.value);
}

TEST(ParseSpeciesLineTest, FrequencyAboveMaximumIsBad) {
  EXPECT_TRUE(parse("Festuca rubra 12 25", 10).bad);
  EXPECT_FALSE(parse("Festuca rubra 10 25", 10).bad);
}

// "-1" as the one number after the name is a frequency of -1: bad data,
// not a weight of -1 in the scoring; "-0" reads as 0 and stands.
TEST(ParseSpeciesLineTest, NegativeFrequencyIsBad) {
  EXPECT_TRUE(parse("Plantago lanceolata -1", 4).bad);
  EXPECT_TRUE(parse("Plantago lanceolata -3 25", 4).bad);
  Parsed p = parse("Plantago lanceolata -0 25", 4);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(0, p.frequency);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_FALSE(parse("Plantago lanceolata 0 25", 4).bad);
}

TEST(ParseSpeciesLineTest, FrequencyWordOfFourCharactersIsBad) {
  EXPECT_TRUE(parse("Festuca rubra 1000 25", 10).bad);
  EXPECT_TRUE(parse("Festuca rubra 0001 25", 10).bad);
}

// The ends of the frequency range: a maximum of 1 still means frequency
// data, and a maximum of 100 takes a three-character frequency word.
TEST(ParseSpeciesLineTest, FrequenciesAtTheEndsOfTheirRange) {
  Parsed p = parse("Festuca rubra 1 25", 1);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(1, p.frequency);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_TRUE(parse("Festuca rubra 2 25", 1).bad);
  p = parse("Festuca rubra 100 25", 100);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(100, p.frequency);
  EXPECT_EQ(25.0f, p.value);
  EXPECT_TRUE(parse("Festuca rubra 101 25", 100).bad);
}

TEST(ParseSpeciesLineTest, UnreadableFrequencyIsBad) {
  EXPECT_TRUE(parse("Festuca rubra agg 3 25", 10).bad);
  EXPECT_TRUE(parse("Festuca rubra 2.5 25", 10).bad);
}

TEST(ParseSpeciesLineTest, FrequencyWordReachingColumnFortyIsNotRead) {
  Parsed p = parse(endingAt("Festuca rubra 99", 40), 10);
  EXPECT_FALSE(p.bad);
  EXPECT_EQ(1, p.frequency);
  EXPECT_EQ(0.0f, p.value);
}

TEST(ParseSpeciesLineTest, NumbersAreOnlyFrequenciesWhenTheSampleHasThem) {
  Parsed p = parse("Festuca rubra 3 25", 0);
  EXPECT_EQ(1, p.frequency);
  EXPECT_EQ(3.0f, p.value);
}

TEST(HeldTenthsTest, TenTimesPlusAThousandthTruncated) {
  short t = -1;
  ASSERT_TRUE(heldTenths(12.55f, t));
  EXPECT_EQ(125, t);
  ASSERT_TRUE(heldTenths(-0.1f, t));
  EXPECT_EQ(0, t);
  ASSERT_TRUE(heldTenths(25.0f, t));
  EXPECT_EQ(250, t);
  ASSERT_TRUE(heldTenths(0.3f, t));
  EXPECT_EQ(3, t);
  ASSERT_TRUE(heldTenths(-1.0f, t));
  EXPECT_EQ(-9, t);
  ASSERT_TRUE(heldTenths(3276.7f, t));
  EXPECT_EQ(32767, t);
  t = 7;
  EXPECT_FALSE(heldTenths(3276.8f, t));
  EXPECT_EQ(7, t);
}

}  // namespace
}  // namespace engine
