#include "tools/namekey.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace nvcdata {
namespace {

TEST(SpeciesOfTest, StratumSuffixIsRemoved) {
  EXPECT_EQ("Fraxinus excelsior", speciesOf("Fraxinus excelsior (c)"));
  EXPECT_EQ("Fraxinus excelsior", speciesOf("Fraxinus excelsior (g)"));
  EXPECT_EQ("Larix", speciesOf("Larix (c)"));
  // only the three stratum suffixes are taken off
  EXPECT_EQ("Hieracium peleterianum (pil)", stripStratum("Hieracium peleterianum (pil)"));
}

TEST(SpeciesOfTest, InfraspecificNamesBelongToTheirBinomial) {
  EXPECT_EQ("Empetrum nigrum", speciesOf("Empetrum nigrum subsp. hermaphroditum"));
  EXPECT_EQ("Rubus fruticosus", speciesOf("Rubus fruticosus agg."));
  EXPECT_EQ("Hypnum cupressiforme", speciesOf("Hypnum cupressiforme var. lacunosum"));
  EXPECT_EQ("Betula pendula", speciesOf("Betula pendula x pubescens = B. x aurata (s)"));
  EXPECT_EQ("Salix fragilis", speciesOf("Salix fragilis sens. lat. (c)"));
}

TEST(SpeciesOfTest, GenusOnlyNameIsItsOwnSpecies) {
  EXPECT_EQ("Cladonia", speciesOf("Cladonia"));
  EXPECT_EQ("Fucales", speciesOf("Fucales"));
}

TEST(NaturalKeyTest, FourAndFourLettersInLowerCase) {
  EXPECT_EQ("fest rubr", naturalKey("Festuca rubra"));
  EXPECT_EQ("fest rubr", naturalKey("FESTUCA RUBRA agg."));
  EXPECT_EQ("poa  annu", naturalKey("Poa annua"));
  EXPECT_EQ("clad     ", naturalKey("Cladonia"));
  EXPECT_EQ("arct uva-", naturalKey("Arctostaphylos uva-ursi"));
  EXPECT_EQ("sali frag", naturalKey("Salix fragilis (s)"));
  EXPECT_EQ("lari     ", naturalKey("Larix (c)"));
}

TEST(NaturalKeyTest, SecondWordStartingWithDigitIsNoEpithet) {
  // typed, such a word would be read as a number
  EXPECT_EQ("fest     ", naturalKey("Festuca 5x"));
}

TEST(AssignKeysTest, DistinctKeysStayNatural) {
  std::vector<std::string> keys = assignKeys({{"Festuca rubra", 3}, {"Festuca ovina", 2}});
  EXPECT_EQ("fest rubr", keys[0]);
  EXPECT_EQ("fest ovin", keys[1]);
}

TEST(AssignKeysTest, MoreEntriesKeepTheNaturalKey) {
  std::vector<std::string> keys = assignKeys({{"Rumex acetosella", 58}, {"Rumex acetosa", 244}});
  EXPECT_EQ("rume acea", keys[0]);  // acetosella: first three letters and the last
  EXPECT_EQ("rume acet", keys[1]);
}

TEST(AssignKeysTest, TieGoesToTheNameThatSortsFirst) {
  std::vector<std::string> keys = assignKeys({{"Carex paniculata", 7}, {"Carex panicea", 7}});
  EXPECT_EQ("care pana", keys[0]);
  EXPECT_EQ("care pani", keys[1]);
}

TEST(AssignKeysTest, SameEpithetInTwoGenera) {
  std::vector<std::string> keys =
      assignKeys({{"Plagiothecium undulatum", 40}, {"Plagiomnium undulatum", 10}});
  EXPECT_EQ("plag undu", keys[0]);
  EXPECT_EQ("plag undm", keys[1]);
}

TEST(AssignKeysTest, GenusOnlyNameTakesTheRestOfTheGenus) {
  std::vector<std::string> keys = assignKeys({{"Cladonia", 60}, {"Cladophora", 4}});
  EXPECT_EQ("clad     ", keys[0]);
  EXPECT_EQ("clad opho", keys[1]);
}

TEST(AssignKeysTest, FirstCandidateTakenByAnotherNaturalKey) {
  // myrsinites gives "myrs" again; the second candidate is the first two
  // letters and the last two
  std::vector<std::string> keys = assignKeys({{"Salix myrsinites", 1}, {"Salix myrsinifolia", 5}});
  EXPECT_EQ("sali myes", keys[0]);
  EXPECT_EQ("sali myrs", keys[1]);
}

TEST(AssignKeysTest, CandidateHeldByAnotherSpeciesNaturalKeyIsSkipped) {
  // acetosella would become "acea", the natural key of the third species
  std::vector<std::string> keys =
      assignKeys({{"Rumex acetosa", 9}, {"Rumex acetosella", 2}, {"Rumex aceaxx", 1}});
  EXPECT_EQ("rume acet", keys[0]);
  EXPECT_EQ("rume acla", keys[1]);
  EXPECT_EQ("rume acea", keys[2]);
}

TEST(AssignKeysTest, ThreeSpeciesOnOneKeyGetThreeKeys) {
  std::vector<std::string> keys =
      assignKeys({{"Carex acuta", 5}, {"Carex acutiformis", 9}, {"Carex acutata", 1}});
  EXPECT_EQ("care acut", keys[1]);
  EXPECT_EQ("care acua", keys[0]);
  // acutata: "acua" is taken by acuta, "acta" is free
  EXPECT_EQ("care acta", keys[2]);
}

TEST(AssignKeysTest, DigitsAsLastResort) {
  // xyzzz loses "xyzz" to xyzz, and both letter candidates are "xyzz" again
  std::vector<std::string> keys = assignKeys({{"Abc xyz", 3}, {"Abc xyzz", 2}, {"Abc xyzzz", 1}});
  EXPECT_EQ("abc  xyz ", keys[0]);
  EXPECT_EQ("abc  xyzz", keys[1]);
  EXPECT_EQ("abc  xyz2", keys[2]);
}

TEST(BuildDictionaryTest, SortedWithSynonyms) {
  std::vector<std::string> keys = {"fest rubr", "aven flex"};
  std::vector<DictRecord> dict =
      buildDictionary(keys, {{"Deschampsia flexuosa", 1}, {"Festuca rubra", 0}});
  ASSERT_EQ(3u, dict.size());
  EXPECT_EQ((DictRecord{"aven flex", 1}), dict[0]);
  EXPECT_EQ((DictRecord{"desc flex", 1}), dict[1]);
  EXPECT_EQ((DictRecord{"fest rubr", 0}), dict[2]);  // the species' own key once
}

TEST(BuildDictionaryTest, SynonymOnAnotherSpeciesKeyIsLeftOut) {
  // Festuca ovina/rubra (vegetative) is the genus Festuca, but its key is
  // that of Festuca ovina
  std::vector<std::string> keys = {"fest ovin", "fest     "};
  std::vector<DictRecord> dict = buildDictionary(keys, {{"Festuca ovina/rubra (vegetative)", 1}});
  ASSERT_EQ(2u, dict.size());
  EXPECT_EQ((DictRecord{"fest     ", 1}), dict[0]);
  EXPECT_EQ((DictRecord{"fest ovin", 0}), dict[1]);
}

TEST(BuildDictionaryTest, SynonymKeyOfTwoSpeciesIsLeftOut) {
  std::vector<std::string> keys = {"pers amph", "bist offi", "pers lapa"};
  std::vector<DictRecord> dict = buildDictionary(
      keys, {{"Polygonum amphibium", 0}, {"Polygonum amphicarpum", 1}, {"Polygonum nodosum", 2}});
  ASSERT_EQ(4u, dict.size());
  EXPECT_EQ("bist offi", dict[0].key);
  EXPECT_EQ("pers amph", dict[1].key);
  EXPECT_EQ("pers lapa", dict[2].key);
  EXPECT_EQ((DictRecord{"poly nodo", 2}), dict[3]);
}

TEST(BuildDictionaryTest, SynonymsOfOneSpeciesSharingAKeyGiveOneRecord) {
  std::vector<std::string> keys = {"pota gram"};
  std::vector<DictRecord> dict =
      buildDictionary(keys, {{"Potamogeton x nitens", 0}, {"Potamogeton x zizii", 0}});
  ASSERT_EQ(2u, dict.size());
  EXPECT_EQ((DictRecord{"pota x   ", 0}), dict[1]);
}

}  // namespace
}  // namespace nvcdata
