#include "vegfit/attributes.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"
#include "vegfit/testing/world.h"

namespace vegfit {
namespace {

using testing::Lines;

// The world's attribute files as testing/world.h describes them.
TEST(AttributesTest, TheWorldsFilesRead) {
  testing::LoadedWorld world;
  world.loadAttributes();
  const Attributes& a = world.attributes;
  EXPECT_EQ("Test data 1", a.version());

  const UnitInfo& grassland = a.unit(1);
  EXPECT_EQ("CG2a", grassland.nvc_code);
  EXPECT_EQ("Test grassland community", grassland.community_name);
  EXPECT_EQ("Typical subcommunity", grassland.subcommunity_name);
  EXPECT_EQ("Test grassland community, Typical subcommunity", grassland.full_name);
  EXPECT_EQ("is equal to", grassland.eunis_relationship);
  EXPECT_EQ((std::array{40, 12, 20, 31}), (std::array{*grassland.plots, *grassland.min_species,
                                                      *grassland.mean_species, *grassland.max_species}));
  EXPECT_DOUBLE_EQ(3.5, grassland.indicators[2]->mean);
  EXPECT_DOUBLE_EQ(1.25, grassland.indicators[2]->sd);
  // The subcommunity has no habitat rows of its own: CG2's, in file order.
  EXPECT_EQ("CG2", grassland.habitats_of);
  ASSERT_EQ(3u, grassland.habitats.size());
  EXPECT_EQ(Classification::kAnnexI, grassland.habitats[0].classification);
  EXPECT_EQ("H6210", grassland.habitats[0].code);
  EXPECT_EQ("", grassland.habitats[1].code);  // Priority Habitats have no codes
  EXPECT_EQ("Lowland calcareous grassland", grassland.habitats[1].name);
  EXPECT_EQ("is contained in", grassland.habitats[2].relationship);

  const UnitInfo& woodland = a.unit(2);
  EXPECT_EQ("W1", woodland.habitats_of);
  ASSERT_EQ(3u, woodland.habitats.size());
  EXPECT_EQ("Broadleaved, mixed and yew woodland", woodland.habitats[0].name);
  EXPECT_EQ(10, *woodland.plots);
  EXPECT_FALSE(woodland.min_species);  // empty: not known
  EXPECT_FALSE(woodland.indicators[0]);

  const TableEntry* agrostis = a.entry(1, 2);
  ASSERT_NE(nullptr, agrostis);
  EXPECT_EQ((std::array{3, 2, 7}), (std::array<int, 3>{agrostis->constancy, agrostis->min_domin,
                                                       agrostis->max_domin}));
  EXPECT_EQ(nullptr, a.entry(2, 1));  // the woodland lacks Festuca rubra
  EXPECT_EQ((IndicatorValues{-1, -1, -1, -1, -1}), a.indicators(1));
}

// A bad line fails the load with the file, the line, the value and what
// is accepted; a missing file is named and leaves its figures unknown.
TEST(AttributesTest, BadLinesAndMissingFiles) {
  struct Case {
    const char* file;
    Lines lines;
    const char* error;
  };
  const Case cases[] = {
      {"INDICATORS.csv", {"species_number,F,L,N,R,S", "1,5,7,4,5,0", "2,13,7,4,5,0"},
       "INDICATORS.csv line 3: F '13' is not a whole number from 0 to 12"},
      {"INDICATORS.csv", {"species_number,F,L,N,R"},
       "INDICATORS.csv: the header row lacks the column S"},
      {"UNITS.csv", {testing::unitsCsv()[0], "3,W2,,,,,,,,,,,,,,,,,,,,,"},
       "UNITS.csv line 2: number '3' is not a whole number from 1 to 2"},
      {"UNITS.csv", {testing::unitsCsv()[0], "2,W2,,,,,,,,,,,,,,,,,,,,,"},
       "UNITS.csv line 2: nvc_code 'W2' is not the code of community 2 in NVCTYPES.txt, W1"},
      {"FLORISTIC.csv", {"nvc_code,species_number,constancy,min_domin,max_domin", "W1,3,1,6,4"},
       "FLORISTIC.csv line 2: max_domin '4' is not a whole number from 6 to 10"},
      {"FLORISTIC.csv", {"nvc_code,species_number,constancy,min_domin,max_domin", "W9,3,1,1,4"},
       "FLORISTIC.csv line 2: nvc_code 'W9' is not the code of a community in NVCTYPES.txt"},
      {"HABITATS.csv", {"nvc_code,classification,habitat_code,habitat_name,relationship", "W1,UKHab,,x,y"},
       "HABITATS.csv line 2: classification 'UKHab' is not Annex I, BAP Priority, BAP Broad, "
       "Phase 1, EUNIS, NPMS Broad or NPMS Fine"},
  };
  testing::LoadedWorld world;
  for (const Case& c : cases) {
    veg::testing::MemoryFileSystem fs;
    for (auto& [name, lines] : testing::worldFiles()) fs.put(name, name == c.file ? c.lines : lines);
    Attributes a;
    std::vector<std::string> missing;
    std::string error;
    EXPECT_FALSE(a.load(fs, *world.tables, missing, error)) << c.error;
    EXPECT_EQ(c.error, error);
  }

  veg::testing::MemoryFileSystem fs;
  fs.put("UNITS.csv", testing::unitsCsv());
  Attributes a;
  std::vector<std::string> missing;
  std::string error;
  ASSERT_TRUE(a.load(fs, *world.tables, missing, error)) << error;
  EXPECT_EQ((std::vector<std::string>{"VERSION.txt", "HABITATS.csv", "INDICATORS.csv", "FLORISTIC.csv"}),
            missing);
  EXPECT_EQ("Test woodland", a.unit(2).community_name);
  EXPECT_TRUE(a.unit(2).habitats.empty());
  EXPECT_FALSE(a.hasTables());
}

TEST(AttributesTest, ConstancyClassesAndDominValues) {
  // Quadrats holding a species of 5 or 3: class I up to 20 %, ... V above 80 %.
  const std::array<std::array<int, 3>, 8> classes = {
      {{1, 5, 1}, {2, 5, 2}, {3, 5, 3}, {4, 5, 4}, {5, 5, 5}, {1, 3, 2}, {2, 3, 4}, {0, 3, 0}}};
  for (const auto& [holding, quadrats, expected] : classes)
    EXPECT_EQ(expected, constancyClass(holding, quadrats)) << holding << " of " << quadrats;
  const std::array<std::pair<double, int>, 12> domin = {{{0, 0},
                                                         {0.5, 1},
                                                         {1, 3},
                                                         {3.9, 3},
                                                         {4, 4},
                                                         {10, 4},
                                                         {11, 5},
                                                         {26, 6},
                                                         {34, 7},
                                                         {51, 8},
                                                         {76, 9},
                                                         {91, 10}}};
  for (const auto& [percent, expected] : domin) EXPECT_EQ(expected, dominOf(percent)) << percent;
}

}  // namespace
}  // namespace vegfit
