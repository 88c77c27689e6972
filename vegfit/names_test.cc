#include "vegfit/names.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/testing/fakes.h"
#include "vegfit/testing/world.h"
#include "engine/refdata.h"

namespace vegfit {
namespace {

TEST(NormalNameTest, CaseBlanksAndTabs) {
  EXPECT_EQ("festuca rubra", normalName("Festuca rubra"));
  EXPECT_EQ("festuca rubra", normalName("  FESTUCA\t  Rubra  "));
  EXPECT_EQ("cladonia", normalName("Cladonia"));
  EXPECT_EQ("", normalName("   "));
}

TEST(NormalNameTest, QualifiersAndStrataNameNoOtherSpecies) {
  EXPECT_EQ("rubus fruticosus", normalName("Rubus fruticosus agg."));
  EXPECT_EQ("rubus fruticosus", normalName("Rubus fruticosus AGG."));
  EXPECT_EQ("polypodium vulgare", normalName("Polypodium vulgare s.l."));
  EXPECT_EQ("polypodium vulgare", normalName("Polypodium  vulgare sens. lat."));
  EXPECT_EQ("polypodium vulgare", normalName("Polypodium vulgare sensu lato"));
  EXPECT_EQ("polypodium vulgare", normalName("Polypodium vulgare s. lat."));
  EXPECT_EQ("campylium stellatum", normalName("Campylium stellatum s.str."));
  EXPECT_EQ("acer campestre", normalName("Acer campestre (c)"));
  EXPECT_EQ("acer campestre", normalName("Acer campestre (S)"));
  EXPECT_EQ("acer campestre", normalName("Acer campestre(g)"));
  // Only whole words are qualifiers: "sens." alone, or "lat" without its
  // point, is part of the name.
  EXPECT_EQ("x sens.", normalName("X sens."));
  EXPECT_EQ("x sens. lat", normalName("X sens. lat"));
}

TEST(NormalNameTest, ShownFormKeepsCaseAndQualifiers) {
  EXPECT_EQ("Rubus fruticosus agg.", shownForm(" Rubus  fruticosus agg. "));
  EXPECT_EQ("Acer campestre", shownForm("Acer campestre (c)"));
}

TEST(NameKeyTest, FourLettersOfGenusAndEpithet) {
  EXPECT_EQ("fest rubr", nameKey("Festuca rubra"));
  EXPECT_EQ("fest rubr", nameKey("FESTUCA RUBRA agg."));
  EXPECT_EQ("clad     ", nameKey("Cladonia"));
  EXPECT_EQ("poa  annu", nameKey("Poa annua"));
  EXPECT_EQ("fest rubr", nameKey("Festuca rubra subsp. commutata"));
}

TEST(EditDistanceTest, CountsEditsUpToTheLimit) {
  EXPECT_EQ(0, editDistance("festuca rubra", "festuca rubra", 3));
  EXPECT_EQ(2, editDistance("festuca rubar", "festuca rubra", 3));  // a swap is two
  EXPECT_EQ(1, editDistance("festuca rubr", "festuca rubra", 3));
  EXPECT_EQ(1, editDistance("festuca rubro", "festuca rubra", 3));
  EXPECT_EQ(3, editDistance("", "abc", 5));
  EXPECT_EQ(4, editDistance("abcdefgh", "xyz", 3));  // beyond the limit: limit + 1
}

TEST(NameIndexTest, NamesStandForTheirSpecies) {
  NameIndex index;
  index.add("Festuca rubra", 403);
  index.add("Festuca rubra agg.", 403);  // the same matching form
  index.add("Thymus drucei", 1006, true);
  index.add("Thymus polytrichus", 1006);
  EXPECT_EQ(403, index.find("festuca rubra"));
  EXPECT_EQ(1006, index.find("thymus polytrichus"));
  EXPECT_EQ(0, index.find("thymus vulgaris"));
  EXPECT_EQ(3u, index.size());
  EXPECT_EQ("Festuca rubra", index.shownName(403));
  EXPECT_EQ("Thymus drucei", index.shownName(1006));
  EXPECT_EQ("", index.shownName(1));
}

TEST(NameIndexTest, OwnNameShownWhereverItStands) {
  NameIndex index;
  index.add("Acrocladium cuspidatum", 3051);
  index.add("Calliergonella cuspidata", 3051, true);
  index.add("Calliergon cuspidatum", 3051, true);
  EXPECT_EQ("Calliergonella cuspidata", index.shownName(3051));
}

TEST(NameIndexTest, NameOfTwoSpeciesStandsForNeither) {
  NameIndex index;
  index.add("Cetraria islandica", 4001);
  index.add("Cetraria islandica", 4002);
  EXPECT_EQ(NameIndex::kAmbiguous, index.find("cetraria islandica"));
}

TEST(NameIndexTest, CloseNamesClosestFirstAtMostThree) {
  NameIndex index;
  for (const char* name : {"Festuca rubra", "Festuca ovina", "Festuca rubra agg.", "Festuca arundinacea",
                           "Festuca rupicola", "Luzula campestris"})
    index.add(name, 1);
  EXPECT_EQ(std::vector<std::string>{"Festuca rubra"}, index.closeNames("festuca rubar", 3));
  // rupicola is one edit away, rubra four (the limit for 16 characters is
  // a third of them, 5).
  EXPECT_EQ((std::vector<std::string>{"Festuca rupicola", "Festuca rubra"}),
            index.closeNames("festuca rubicola", 3));
  // ovina one edit, rubra four (o, v, n replaced, r put in): within the limit of 4.
  EXPECT_EQ((std::vector<std::string>{"Festuca ovina", "Festuca rubra"}),
            index.closeNames("festuca ovna", 3));
  EXPECT_TRUE(index.closeNames("quercus robur", 3).empty());
  EXPECT_EQ(1u, index.closeNames("festuca rubar", 1).size());
}

TEST(NameTableTest, ReadsTheLayoutOfNamesTxt) {
  NameIndex index;
  std::string error;
  ASSERT_TRUE(parseNameTable(testing::names(), index, error)) << error;
  EXPECT_EQ(2, index.find("agrostis tenuis"));
  EXPECT_EQ(1, index.find("festuca arenaria"));
  // Festuca arenaria comes first, but only Festuca rubra gives the key
  // "fest rubr" naturally: that is the species' own name.
  EXPECT_EQ("Festuca rubra", index.shownName(1));
  EXPECT_EQ("Agrostis capillaris", index.shownName(2));
}

// Species numbers run from 1 to 9000, the last number a dictionary holds
// before the names sample entry adds.
TEST(NameTableTest, SpeciesNumbersUpToNineThousand) {
  NameIndex index;
  std::string error;
  EXPECT_TRUE(parseNameTable({"9000 abcd efgh Abcd efgh"}, index, error)) << error;
  EXPECT_EQ(9000, index.find("abcd efgh"));
  EXPECT_FALSE(parseNameTable({"9001 abcd efgi Abcd efgi"}, index, error));
  EXPECT_EQ("line 1 is not a species number and a name", error);
  EXPECT_FALSE(parseNameTable({"   0 abcd efgi Abcd efgi"}, index, error));
}

// The mark of a species' own name wins over the order of the names.
TEST(NameTableTest, MarkedOwnNameIsShown) {
  NameIndex index;
  std::string error;
  ASSERT_TRUE(parseNameTable({" 510 dact macu Dactylorchis maculata subsp. ericetorum",
                              " 510*dact macu Dactylorhiza maculata"},
                             index, error));
  EXPECT_EQ("Dactylorhiza maculata", index.shownName(510));
}

TEST(NameTableTest, LineThatDoesNotReadIsNamed) {
  NameIndex index;
  std::string error;
  EXPECT_FALSE(parseNameTable({"   1 fest rubr Festuca rubra", "  x1 agro capi Agrostis"}, index,
                              error));
  EXPECT_EQ("line 2 is not a species number and a name", error);
  EXPECT_FALSE(parseNameTable({"   1 fest rubr"}, index, error));
  EXPECT_TRUE(parseNameTable({"", "   1 fest rubr Festuca rubra"}, index, error));
}

// The matcher over the world's dictionary and names table.
struct MatcherTest : ::testing::Test {
  std::unique_ptr<engine::Tables> tables = std::make_unique<engine::Tables>();
  NameIndex index;
  std::unique_ptr<NameMatcher> matcher;

  void SetUp() override { load(true); }
  void load(bool with_names) {
    veg::testing::MemoryFileSystem fs;
    veg::testing::FakeConsole console;
    for (auto& [name, lines] : testing::worldFiles(with_names)) fs.put(name, lines);
    engine::loadSpeciesDictionary(console, fs, *tables);
    engine::loadAssociationTables(console, fs, 10000, *tables);
    index = NameIndex();
    std::string error;
    if (with_names) {
      ASSERT_TRUE(parseNameTable(testing::names(), index, error));
    }
    matcher = std::make_unique<NameMatcher>(index, *tables);
  }
  Match match(const std::string& name) { return matcher->match(matcher->spelling(name)); }
  int entryOf(const std::string& key) {
    for (int j = 1; j <= tables->dict_size; ++j)
      if (tables->dictionary.species_name[static_cast<std::size_t>(j)] == key) return j;
    return 0;
  }
};

TEST_F(MatcherTest, FullNamesSynonymsCaseAndQualifiers) {
  for (const char* name : {"Festuca rubra", "festuca RUBRA", "Festuca  rubra agg.",
                           "Festuca rubra s.l.", "Festuca rubra sens. lat.", "Festuca rubra (c)",
                           "Festuca arenaria"}) {
    EXPECT_EQ(1, match(name).species_number) << name;
    EXPECT_FALSE(match(name).by_key) << name;
  }
  EXPECT_EQ(2, match("Agrostis tenuis").species_number);
  EXPECT_EQ(3, match("Rumex acetosa").species_number);
}

TEST_F(MatcherTest, ThenTheNameKey) {
  Match m = match("Plantago lanceolatum");  // no full name, but its key
  EXPECT_EQ(4, m.species_number);
  EXPECT_TRUE(m.by_key);
  EXPECT_EQ(4, match("plan lanc").species_number);
}

// Names as floras write them: authorities dropped where the name with them
// matches nothing; infraspecific names without a row of their own as their
// species (said so); capitals alone mark no authority in a name written in
// capitals.
TEST_F(MatcherTest, AuthoritiesAndInfraspecificNames) {
  const std::pair<const char*, int> as_written[] = {
      {"Rumex acetosa L.", 3},
      {"Festuca rubra L. agg.", 1},
      {"Agrostis capillaris (L.) Huds.", 2},
      {"Agrostis tenuis Sibth. ex Hoffm. & Rchb.", 2},
      {"Plantago lanceolata Mérat", 4},
      {"FESTUCA RUBRA", 1}};
  for (const auto& [name, number] : as_written) {
    EXPECT_EQ(number, match(name).species_number) << name;
    EXPECT_FALSE(match(name).as_species) << name;
  }
  for (const char* name : {"Plantago lanceolata subsp. lanceolata",
                           "Festuca rubra var. juncea (Hack.) Richt.", "Rumex acetosa ssp. x"}) {
    EXPECT_NE(0, match(name).species_number) << name;
    EXPECT_TRUE(match(name).as_species) << name;
  }
  EXPECT_EQ(0, match("FESTUCA RUBBRA").species_number);  // not the genus alone
}

TEST(NameIndexTest, AmbiguousNamesKeepTheirCandidates) {
  NameIndex index;
  index.add("Carex inflata", 3);
  index.add("Carex inflata", 5);
  index.add("Carex inflata", 3);
  EXPECT_EQ((std::vector<int>{3, 5}), index.candidates("carex inflata"));
  EXPECT_TRUE(index.candidates("carex nigra").empty());
}

TEST_F(MatcherTest, UnmatchedNames) {
  EXPECT_EQ(0, match("Festuca rubar").species_number);
  EXPECT_EQ(0, match("Quercus robur").species_number);
  EXPECT_EQ(0, match("   ").species_number);
  EXPECT_EQ((std::vector<std::string>{"Festuca rubra"}), matcher->closeNames("Festuca rubar"));
}

TEST_F(MatcherTest, LinesOfOneSpeciesAreOneEntryWhereTheKeyAgrees) {
  // Written as its full name or as its key, the same dictionary entry, as
  // in sample entry (so that a second line replaces the first); a synonym
  // whose key is another is an entry of its own.
  const int entry = entryOf("fest rubr");
  EXPECT_EQ(entry, match("Festuca rubra").identity);
  EXPECT_EQ(entry, match("fest rubr").identity);
  EXPECT_NE(entry, match("Festuca arenaria").identity);
  EXPECT_EQ(match("Festuca arenaria").identity, match("FESTUCA ARENARIA").identity);
  EXPECT_GT(match("Festuca arenaria").identity, engine::kMaxNames);
}

TEST_F(MatcherTest, SpellingsAreRememberedOnce) {
  const int a = matcher->spelling("Festuca rubra");
  const int b = matcher->spelling("Agrostis tenuis");
  EXPECT_NE(a, b);
  EXPECT_EQ(a, matcher->spelling("Festuca rubra"));
  EXPECT_EQ("Agrostis tenuis", matcher->text(b));
  // Many spellings: the table grows and every one is still found.
  std::vector<int> ids;
  for (int i = 0; i < 3000; ++i) ids.push_back(matcher->spelling("Name " + std::to_string(i)));
  for (int i = 0; i < 3000; ++i) EXPECT_EQ(ids[static_cast<std::size_t>(i)], matcher->spelling("Name " + std::to_string(i)));
  EXPECT_EQ(a, matcher->spelling("Festuca rubra"));
}

TEST_F(MatcherTest, WithoutNamesTableKeysAndKeySuggestions) {
  load(false);
  EXPECT_EQ(1, match("Festuca rubra").species_number);
  EXPECT_TRUE(match("Festuca rubra").by_key);
  EXPECT_EQ(0, match("Agrostis tenuis").species_number);
  EXPECT_EQ((std::vector<std::string>{"fest rubr"}), matcher->closeNames("Festuca rubar"));
  EXPECT_EQ("Festuca rubra", matcher->shownName(1, "Festuca rubra"));
}

}  // namespace
}  // namespace vegfit
