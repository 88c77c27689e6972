#include "tools/namekey.h"

#include <gtest/gtest.h>

#include <set>
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
  std::vector<std::string> keys = assignKeys({"Festuca rubra", "Festuca ovina"});
  EXPECT_EQ("fest rubr", keys[0]);
  EXPECT_EQ("fest ovin", keys[1]);
  EXPECT_TRUE(sharedKeys({"Festuca rubra", "Festuca ovina"}).empty());
}

TEST(AssignKeysTest, SharedKeyStandsForNeitherSpecies) {
  // Epithets that differ: their first letter and last three letters.
  std::vector<std::string> keys = assignKeys({"Rumex acetosella", "Rumex acetosa"});
  EXPECT_EQ("rume alla", keys[0]);
  EXPECT_EQ("rume aosa", keys[1]);
  EXPECT_EQ(std::set<std::string>{"rume acet"}, sharedKeys({"Rumex acetosella", "Rumex acetosa"}));
}

TEST(AssignKeysTest, SpecialKeysKeepTheFirstAndSixthCharacters) {
  // so that the name menu of the shared key offers both
  for (const auto& pair :
       std::vector<std::vector<std::string>>{{"Carex paniculata", "Carex panicea"},
                                             {"Juncus acutus", "Juncus acutiflorus"},
                                             {"Polypodium vulgare", "Polygala vulgaris"},
                                             {"Salix myrsinites", "Salix myrsinifolia"}}) {
    std::vector<std::string> keys = assignKeys(pair);
    std::string natural = naturalKey(pair[0]);
    EXPECT_NE(keys[0], keys[1]);
    for (const std::string& key : keys) {
      EXPECT_NE(natural, key);
      EXPECT_EQ(natural.substr(0, 6), key.substr(0, 6)) << key;
    }
  }
  EXPECT_EQ((std::vector<std::string>{"care pata", "care pcea"}),
            assignKeys({"Carex paniculata", "Carex panicea"}));
  EXPECT_EQ((std::vector<std::string>{"poly vare", "poly vris"}),
            assignKeys({"Polypodium vulgare", "Polygala vulgaris"}));
}

TEST(AssignKeysTest, SameEpithetInTwoGenera) {
  // undulatum twice: the letter at which the genera part
  std::vector<std::string> keys = assignKeys({"Plagiothecium undulatum", "Plagiomnium undulatum"});
  EXPECT_EQ("plag undt", keys[0]);
  EXPECT_EQ("plag undm", keys[1]);
}

TEST(AssignKeysTest, GenusOnlyNamesTakeTheRestOfTheGenus) {
  std::vector<std::string> keys = assignKeys({"Cladonia", "Cladophora"});
  EXPECT_EQ("clad onia", keys[0]);
  EXPECT_EQ("clad opho", keys[1]);
}

TEST(AssignKeysTest, CandidateThatIsAnotherSpeciesNaturalKeyIsSkipped) {
  // acetosella would become "alla", the natural key of the third species
  std::vector<std::string> keys = assignKeys({"Rumex acetosa", "Rumex acetosella", "Rumex allaxx"});
  EXPECT_EQ("rume aosa", keys[0]);
  EXPECT_EQ("rume ace2", keys[1]);
  EXPECT_EQ("rume alla", keys[2]);
}

TEST(AssignKeysTest, ThreeSpeciesOnOneKeyGetThreeKeys) {
  std::vector<std::string> keys = assignKeys({"Carex acuta", "Carex acutiformis", "Carex acututa"});
  EXPECT_EQ("care auta", keys[0]);
  EXPECT_EQ("care amis", keys[1]);
  // acututa: "auta" is given to acuta already
  EXPECT_EQ("care acu2", keys[2]);
}

TEST(AssignKeysTest, DigitsAsLastResort) {
  // xyzz and xyzzz share "xyzz"; the ending rule gives xyzz that key again
  std::vector<std::string> keys = assignKeys({"Abc xyz", "Abc xyzz", "Abc xyzzz"});
  EXPECT_EQ("abc  xyz ", keys[0]);
  EXPECT_EQ("abc  xyz2", keys[1]);
  EXPECT_EQ("abc  xzzz", keys[2]);
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

TEST(BuildDictionaryTest, SynonymOnASharedKeyIsLeftOut) {
  // "rume acet" stands for neither Rumex acetosa nor Rumex acetosella
  std::vector<std::string> keys = {"rume aosa", "rume alla"};
  std::vector<DictRecord> dict = buildDictionary(keys, {{"Rumex acetosa agg.", 0}}, {"rume acet"});
  ASSERT_EQ(2u, dict.size());
  EXPECT_EQ("rume alla", dict[0].key);
  EXPECT_EQ("rume aosa", dict[1].key);
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
