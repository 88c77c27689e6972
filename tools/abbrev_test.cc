#include "tools/abbrev.h"

#include <gtest/gtest.h>

namespace nvcdata {
namespace {

const std::set<std::string> kGenera = {
    "Calluna", "Festuca", "Agrostis", "Rumex",  "Carex",   "Quercus", "Betula",
    "Salix",   "Juncus",  "Poa",      "Lolium", "Ranunculus", "Alnus", "Fraxinus",
    "Lysimachia", "Salicornia", "Typha", "Erica", "Ulex", "Hydrocharis",
};

class AbbreviateTest : public ::testing::Test {
 protected:
  Abbreviator abbreviator{kGenera};
  std::string rule(const std::string& name, std::size_t width) {
    return abbreviator.abbreviateByRule(name, width);
  }
};

TEST_F(AbbreviateTest, FittingNameIsKept) {
  EXPECT_EQ("Lemna gibba community", rule("Lemna gibba community", 24));
  EXPECT_EQ("Carex elata swamp", rule("Carex elata swamp", 24));
}

TEST_F(AbbreviateTest, SubcommunityWordIsDropped) {
  EXPECT_EQ("typical", rule("typical subcommunity", 16));
  EXPECT_EQ("Festuca rubra", rule("Festuca rubra subcommunity", 16));
}

TEST_F(AbbreviateTest, CommonWordsFirst) {
  EXPECT_EQ("Potamogeton natans comm.", rule("Potamogeton natans community", 24));
  EXPECT_EQ("Bromus erectus grassland", rule("Bromus erectus grassland", 24));
  EXPECT_EQ("Glyceria maxima veg.", rule("Glyceria maxima vegetation", 20));
}

TEST_F(AbbreviateTest, InfraspecificPartsGoBeforeInitials) {
  EXPECT_EQ("Ranunculus fluitans comm.", rule("Ranunculus fluitans ssp. x community", 25));
  EXPECT_EQ("Rubus frutic. comm.", rule("Rubus fruticosus agg. community", 19));
}

TEST_F(AbbreviateTest, GenusInitialThenNoBlank) {
  EXPECT_EQ("F. ovina grassl.", rule("Festuca ovina grassland", 16));
  EXPECT_EQ("C.vulgaris-F.ovina heath", rule("Calluna vulgaris-Festuca ovina heath", 24));
}

TEST_F(AbbreviateTest, LongestWordsCutToStemsEndingInConsonant) {
  // capillaris is cut first, then the other long words in turn
  EXPECT_EQ("F.ovina-A.capil. grassl.", rule("Festuca ovina-Agrostis capillaris grassland", 24));
}

TEST_F(AbbreviateTest, SmallWordsGoBeforeStemsAreCut) {
  EXPECT_EQ("Raised bog seeps soaks", rule("Raised bog seeps and soaks", 22));
}

TEST_F(AbbreviateTest, ManySpeciesDropTheHabitatWord) {
  EXPECT_EQ("A.glut.-F.excel.-L.nemo.",
            rule("Alnus glutinosa-Fraxinus excelsior-Lysimachia nemorum woodland", 24));
}

TEST_F(AbbreviateTest, EnglishWordAfterGenusIsNoEpithet) {
  // "salt-marsh" is not cut to an initial's epithet
  EXPECT_EQ("Annu. Sali. saltm. comm.", rule("Annual Salicornia salt-marsh community", 24));
}

TEST_F(AbbreviateTest, HyphenBetweenLowerCaseWordsJoinsOneWord) {
  // "morsus-ranae" is one epithet, not two names
  EXPECT_EQ("H. morsus-ranae comm.", rule("Hydrocharis morsus-ranae community", 24));
}

TEST_F(AbbreviateTest, SquareBracketsAndSpacedHyphens) {
  EXPECT_EQ("Agrostis-Festuca grassland", rule("Agrostis - Festuca grassland", 30));
  EXPECT_EQ("Atlantic Quercus petraea woods", rule("Atlantic [Quercus petraea] woods", 30));
}

TEST_F(AbbreviateTest, NonAsciiLettersBecomeAscii) {
  EXPECT_EQ("Isoetes lacustris", toAscii("Iso\xc3\xabtes lacustris"));
  EXPECT_EQ("Isoetes lacustris comm.", rule("Iso\xc3\xabtes lacustris community", 24));
}

TEST(ToAsciiTest, LigaturesKeepBothLettersAndOtherScriptsAreDropped) {
  struct Case {
    const char* text;
    const char* ascii;
    bool whole;  // nothing dropped
  };
  const Case cases[] = {
      {"Lichen madrepor\u00e6formis", "Lichen madreporaeformis", true},
      {"\xc3\x86gopodium", "Aegopodium", true},
      {"C\xc5\x93locaulon", "Coelocaulon", true},
      {"non (R\xc3\xa4s\xc3\xa4nen) Motyka", "non (Rasanen) Motyka", true},
      {"Festuca ovina \xe2\x80\x93 agg.", "Festuca ovina - agg.", true},
      {"Cetraria aculeata \xce\xb2 hiascens", "Cetraria aculeata  hiascens", false},
      {"Lemna \xe2\x80\xa2 minor", "Lemna  minor", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.ascii, toAscii(c.text)) << c.text;
    EXPECT_EQ(c.whole, turnsToAscii(c.text)) << c.text;
  }
}

TEST_F(AbbreviateTest, EveryResultFitsItsField) {
  for (std::size_t width : {8u, 16u, 24u}) {
    for (const char* name :
         {"Transitional low-marsh vegetation with Puccinellia maritima, annual Salicornia species",
          "Weed communities of recently abandoned urban and suburban constructions",
          "Festuca ovina-Agrostis capillaris-Rumex acetosella grassland", "Supercalifragilistic"}) {
      std::string out = rule(name, width);
      EXPECT_LE(out.size(), width) << name;
      EXPECT_FALSE(out.empty()) << name;
      EXPECT_NE(' ', out.back()) << name;
    }
  }
}

TEST_F(AbbreviateTest, LastResortDropsWholeWordsFromTheEnd) {
  EXPECT_EQ("Weed comms. recent.",
            rule("Weed communities of recently abandoned urban and suburban constructions", 24));
}

TEST_F(AbbreviateTest, OverrideTableWins) {
  EXPECT_EQ("C.vulg.-J.communis heath",
            abbreviator.abbreviate("Calluna vulgaris-Juniperus communis ssp. nana heath", 24));
  // only for the width it was written for
  EXPECT_NE("C.vulg.-J.communis heath",
            abbreviator.abbreviate("Calluna vulgaris-Juniperus communis ssp. nana heath", 30));
}

}  // namespace
}  // namespace nvcdata
