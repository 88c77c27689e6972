#include "cornell/reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cornell/format.h"

namespace cornell {
namespace {

using Lines = std::vector<std::string>;

// ---- card 2: the data format and the couplet count ----

TEST(DataFormatTest, FormatInColumnOne) {
  const std::string card2 = "(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7";
  EXPECT_EQ("(i4,2x,7(i5,f5.1))            ", dataFormatOf(card2));
  EXPECT_TRUE(compileFormat(dataFormatOf(card2)).ok);
}

TEST(DataFormatTest, FormatStartingInColumnFiveAfterFourBlanks) {
  const std::string card2 = "    (I10,1X,5(I4,F5.0))";
  EXPECT_EQ("(I10,1X,5(I4,F5.0))           ", dataFormatOf(card2));
  EXPECT_TRUE(compileFormat(dataFormatOf(card2)).ok);
}

TEST(DataFormatTest, BlankColumnsOneToTwentyTakeColumnsTwentyOneToFifty) {
  // After 24 blanks, ending in column 48.
  const std::string card2 = std::string(24, ' ') + "(i4,2x,7(i5,f5.1))" + "   extra";
  EXPECT_EQ("    (i4,2x,7(i5,f5.1))   extr", dataFormatOf(card2).substr(0, 29));
  EXPECT_EQ(30u, dataFormatOf(card2).size());
  EXPECT_TRUE(compileFormat(dataFormatOf(card2)).ok);
  // The same format starting in column 35 would end after column 50.
  const std::string late = std::string(34, ' ') + "(i4,2x,7(i5,f5.1))";
  EXPECT_FALSE(compileFormat(dataFormatOf(late)).ok);
}

TEST(DataFormatTest, FormatLongerThanThirtyCharactersIsCutAndCannotBeUsed) {
  const std::string card2 = "(i4,2x,7(i5,f5.1),3x,2(i3,f4.1))";
  EXPECT_EQ("(i4,2x,7(i5,f5.1),3x,2(i3,f4.1", dataFormatOf(card2));
  EXPECT_FALSE(compileFormat(dataFormatOf(card2)).ok);
}

TEST(Card2CountTest, ColumnsSixtyNineAndSeventy) {
  const std::string before(68, ' ');
  EXPECT_EQ(7, card2Count(before + "7 "));
  EXPECT_EQ(7, card2Count(before + " 7"));
  EXPECT_EQ(7, card2Count(before + "07"));
  EXPECT_EQ(7, card2Count(before + "7"));  // a line that ends in column 69
  EXPECT_EQ(12, card2Count(before + "12 and more"));
  EXPECT_EQ(0, card2Count(before + "  "));
  EXPECT_EQ(0, card2Count("(i4,2x,7(i5,f5.1))"));
  EXPECT_EQ(0, card2Count(before + "ab"));
  EXPECT_EQ(-1, card2Count(before + "-1"));
}

// ---- card 3 ----

TEST(Card3NumberTest, FirstNumberOnTheCard) {
  EXPECT_EQ(8, card3Number("8"));
  EXPECT_EQ(5, card3Number("  5 "));
  EXPECT_EQ(1, card3Number("   1      4  0.19   7  0.57"));
  EXPECT_EQ(5, card3Number(" 5,3"));
  EXPECT_EQ(-2, card3Number("-2"));
  EXPECT_EQ(12, card3Number("+12 7"));
}

TEST(Card3NumberTest, NoReadableIntegerIsZero) {
  EXPECT_EQ(0, card3Number(""));
  EXPECT_EQ(0, card3Number("    "));
  EXPECT_EQ(0, card3Number("Ach mil Agr sto"));
  EXPECT_EQ(0, card3Number("5.0"));
  EXPECT_EQ(0, card3Number(",5"));
  EXPECT_EQ(0, card3Number("-"));
  EXPECT_EQ(0, card3Number("99999999999999999999"));
}

// ---- the header rule ----

TEST(HeaderRuleTest, PositiveCard2CountDecides) {
  Header h = headerRule(7, 1);
  EXPECT_EQ(7, h.couplets);
  EXPECT_EQ(2, h.cards_before_data);
  EXPECT_EQ(Header::kNone, h.message);
  // 7 in columns 69-70 and a card 3 beginning with 2: the warning, data
  // from card 3.
  h = headerRule(7, 2);
  EXPECT_EQ(7, h.couplets);
  EXPECT_EQ(2, h.cards_before_data);
  EXPECT_EQ(Header::kWarning, h.message);
}

TEST(HeaderRuleTest, Card3CountWhenCard2GivesNone) {
  const Header h = headerRule(0, 8);
  EXPECT_EQ(8, h.couplets);
  EXPECT_EQ(3, h.cards_before_data);
  EXPECT_EQ(Header::kNone, h.message);
  // Any count is passed on: the caller refuses what a line cannot hold.
  EXPECT_EQ(150, headerRule(0, 150).couplets);
}

TEST(HeaderRuleTest, OtherwiseOneCoupletWithTheNotice) {
  for (auto [c2, c3] : {std::pair{0, 1LL}, {0, 0LL}, {0, -4LL}, {-1, 8LL}, {-3, 1LL}}) {
    const Header h = headerRule(c2, c3);
    EXPECT_EQ(1, h.couplets) << c2 << " " << c3;
    EXPECT_EQ(2, h.cards_before_data);
    EXPECT_EQ(Header::kNotice, h.message);
  }
}

// ---- names ----

std::unique_ptr<com1> cards(const Lines& lines) {
  auto names = std::make_unique<com1>();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    storeNameCard(*names, static_cast<int>(k) + 1, lines[k]);
  }
  return names;
}

// A card of `n` names: prefix and the number 1..n, 8 columns each.
std::string card(const std::string& prefix, int first, int n) {
  std::string line;
  for (int i = 0; i < n; ++i) {
    std::string name = prefix + std::to_string(first + i);
    name.resize(8, ' ');
    line += name;
  }
  return line;
}

TEST(NameCardTest, TenNamesOfEightColumns) {
  auto names = cards({"Ach mil Agr sto Air pra Alo gen Ant odo Bel per Bro hor Che alb Cir arv Ele "
                      "pal too long"});
  EXPECT_EQ("Ach mil ", nameOn(*names, 1, 1));
  EXPECT_EQ("Ele pal ", nameOn(*names, 1, 10));
  auto short_card = cards({"Ach mil"});
  EXPECT_EQ("Ach mil ", nameOn(*short_card, 1, 1));
  EXPECT_TRUE(nameBlank(*short_card, 1, 2));
  EXPECT_FALSE(cardBlank(*short_card, 1));
  EXPECT_TRUE(cardBlank(*cards({""}), 1));
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
  Lines cards;
  int s, m;
  Blocks expected;
};

void expectBlocks(const BlockCase& c) {
  auto names = cards(c.cards);
  const Blocks b = locateBlocks(*names, static_cast<int>(c.cards.size()), c.s, c.m);
  EXPECT_EQ(c.expected.species_first, b.species_first);
  EXPECT_EQ(c.expected.species_last, b.species_last);
  EXPECT_EQ(c.expected.sample_first, b.sample_first);
  EXPECT_EQ(c.expected.sample_last, b.sample_last);
}

TEST(LocateBlocksTest, ExactCards) {
  // 25 species on 3 cards, 12 samples on 2.
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 5), card("Q", 1, 10),
                 card("Q", 11, 2)},
                25, 12, {1, 3, 4, 5}});
}

TEST(LocateBlocksTest, MissingSampleCards) {
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 5), card("Q", 1, 10)},
                25, 25, {1, 3, 4, 4}});
  // No sample cards at all.
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 5)}, 25, 25, {1, 3, 4, 3}});
}

TEST(LocateBlocksTest, SurplusCardsAfterAShortSpeciesCard) {
  // 25 species: the tenth name of card 3 is blank and card 4 begins with a
  // name, so the species block ends at card 3 whatever follows.
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 5), card("Q", 1, 10),
                 card("Q", 11, 2), card("X", 1, 10), ""},
                25, 12, {1, 3, 4, 5}});
}

TEST(LocateBlocksTest, SurplusBlankCardsOnly) {
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 10), card("Q", 1, 10), "",
                 ""},
                30, 10, {1, 3, 4, 4}});
}

TEST(LocateBlocksTest, SurplusSpeciesCardEndsWhereATenthNameIsBlank) {
  // 30 species in the data, but 35 names on 4 cards; then one sample card
  // and trailing blank cards.
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 10), card("S", 31, 5),
                 card("Q", 1, 10)},
                30, 10, {1, 4, 5, 5}});
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 10), card("S", 31, 5),
                 card("Q", 1, 10), "", ""},
                30, 10, {1, 4, 5, 5}});
}

TEST(LocateBlocksTest, NoCardEndsTheBlockSoTheSampleBlockEndsAtTheLastName) {
  // Card 4 is full: no tenth name is blank; the species block is cards 1 to
  // L - NM with L the last non-blank card.
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 10), card("S", 31, 10),
                 card("Q", 1, 10), ""},
                30, 10, {1, 4, 5, 5}});
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 10), card("S", 31, 10),
                 card("S", 41, 10), card("Q", 1, 10), card("Q", 11, 10)},
                30, 12, {1, 5, 6, 7}});
}

TEST(LocateBlocksTest, BlankCardAfterAShortSpeciesCardIsTakenAsSpecies) {
  // Card 4 is blank, so the first rule does not hold; card 4 ends with a
  // blank tenth name and card 5 begins with one: species block 1 to 4.
  expectBlocks({{card("S", 1, 10), card("S", 11, 10), card("S", 21, 5), "", card("Q", 1, 10)},
                25, 10, {1, 4, 5, 5}});
}

TEST(NameTablesTest, ElevenSpeciesOnTwoCards) {
  auto names = cards({card("Sp", 1, 10), card("Sp", 11, 1), "Q1      Q2      Q3"});
  const Blocks b = locateBlocks(*names, 3, 11, 3);
  EXPECT_EQ(2, b.species_last);
  auto species = std::make_unique<com2>();
  auto samples = std::make_unique<com3>();
  buildNameTables(*names, b, 3, *species, *samples);
  EXPECT_EQ("Sp1      ", species->species_name[1].view());
  EXPECT_EQ("Sp10     ", species->species_name[10].view());
  EXPECT_EQ("Sp11     ", species->species_name[11].view());
  EXPECT_EQ("No Name  ", species->species_name[12].view());  // blank slot on card 2
  EXPECT_EQ("Q1      ", samples->sample_name[1].view());
  EXPECT_EQ("Q3      ", samples->sample_name[3].view());
}

TEST(NameTablesTest, SamplesWithoutANameAreNoName) {
  // Sample block of one card for 25 samples, with a blank slot.
  auto names = cards({card("S", 1, 3), "Q1              Q3"});
  const Blocks b = locateBlocks(*names, 2, 3, 25);
  auto species = std::make_unique<com2>();
  auto samples = std::make_unique<com3>();
  buildNameTables(*names, b, 25, *species, *samples);
  EXPECT_EQ("Q1      ", samples->sample_name[1].view());
  EXPECT_EQ("No Name ", samples->sample_name[2].view());
  EXPECT_EQ("Q3      ", samples->sample_name[3].view());
  EXPECT_EQ("No Name ", samples->sample_name[4].view());
  EXPECT_EQ("No Name ", samples->sample_name[25].view());
}

}  // namespace
}  // namespace cornell
