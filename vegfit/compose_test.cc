#include "vegfit/compose.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"
#include "vegfit/reader.h"
#include "vegfit/testing/world.h"

namespace vegfit {
namespace {

using testing::Lines;
using Entries = std::vector<std::array<int, 3>>;

struct ComposeTest : ::testing::Test {
  testing::LoadedWorld world;
  veg::testing::MemoryFileSystem fs;
  veg::testing::FakeConsole console;
  Diagnostics messages{console};
  SampleSet quadrats;
  ReadSettings settings;

  SampleSet composed(const Lines& csv) {
    settings.group_by = {"site"};
    fs.put("q.csv", csv);
    InputReader reader(*world.matcher, quadrats, messages, settings);
    reader.readCsv(*fs.openExisting("q.csv"), "q.csv");
    quadrats.order();
    return compose(quadrats, 10000, messages);
  }
  // (species number, frequency, tenths) of the lines of sample i.
  static Entries linesOf(const SampleSet& set, std::size_t i) {
    Entries out;
    const SampleInfo& s = set.samples[i];
    for (std::size_t l = s.first; l < s.first + s.count; ++l)
      out.push_back({set.lines[l].code, set.lines[l].frequency, set.lines[l].tenths});
    return out;
  }
};

TEST_F(ComposeTest, OneSamplePerGroupWithFrequencyData) {
  SampleSet set = composed({"site,sample,species,cover", "A,Q1,Festuca rubra,20",
                            "A,Q1,Agrostis capillaris,10", "B,Q1,Rumex acetosa,3",
                            "A,Q2,Festuca rubra,40", "A,Q3,Plantago lanceolata,5",
                            "A,Q3,Quercus robur,5"});
  ASSERT_EQ(2u, set.samples.size());
  const SampleInfo& a = set.samples[0];
  EXPECT_EQ("A", a.name);
  EXPECT_EQ(3, a.max_frequency);  // quadrats in the group
  EXPECT_EQ(1, a.cover_scale);
  EXPECT_EQ(1, a.unmatched);
  EXPECT_EQ("q.csv:2", set.where(a));
  // Festuca rubra in two quadrats, mean cover (20 + 40) / 2; the others in
  // one each; in the order of first appearance; Quercus robur, matching no
  // species, as a species of no community (numbered when scored).
  EXPECT_EQ((Entries{{1, 2, 300}, {2, 1, 100}, {4, 1, 50}, {0, 1, 50}}), linesOf(set, 0));
  EXPECT_EQ("B", set.samples[1].name);
  EXPECT_EQ(1, set.samples[1].max_frequency);
  EXPECT_EQ((Entries{{3, 1, 30}}), linesOf(set, 1));
}

TEST_F(ComposeTest, CoversTurnedToPercentBeforeTheMean) {
  settings.cover_scale = 3;  // Domin: 5 is 16 %, 8 is 55 %
  SampleSet set = composed({"site,sample,species,cover", "A,Q1,Festuca rubra,5",
                            "A,Q2,Festuca rubra,8", "A,Q2,Festuca rubra,8"});
  // Q2's second line replaces its first, as in sample entry.
  EXPECT_EQ((Entries{{1, 2, 355}}), linesOf(set, 0));
  EXPECT_EQ(1, set.samples[0].cover_scale);
}

TEST_F(ComposeTest, AQuadratWithoutMatchedNamesStillCounts) {
  SampleSet set = composed({"site,sample,species,cover", "A,Q1,Festuca rubra,20",
                            "A,Q2,Quercus robur,40"});
  EXPECT_EQ(2, set.samples[0].max_frequency);
  EXPECT_EQ((Entries{{1, 1, 200}, {0, 1, 400}}), linesOf(set, 0));
}

// A stand of 101 quadrats: frequencies scaled to a maximum of 100, rounded
// half up, at least 1: 101 quadrats give 100, 50 give 49.5 and so 50, one
// gives 0.99 and so 1.
TEST_F(ComposeTest, StandsOfMoreThanAHundredQuadratsAreScaled) {
  Lines csv = {"site,sample,species,cover"};
  for (int q = 1; q <= 101; ++q) {
    csv.push_back("A,Q" + std::to_string(q) + ",Festuca rubra,1");
    if (q <= 50) csv.push_back("A,Q" + std::to_string(q) + ",Agrostis capillaris,2");
  }
  csv.push_back("A,Q101,Rumex acetosa,3");
  SampleSet set = composed(csv);
  EXPECT_TRUE(console.output.empty());
  ASSERT_EQ(1u, set.samples.size());
  EXPECT_EQ(100, set.samples[0].max_frequency);
  EXPECT_EQ(101, set.samples[0].scaled_from);
  EXPECT_EQ((Entries{{1, 100, 10}, {2, 50, 20}, {3, 1, 30}}), linesOf(set, 0));
}

}  // namespace
}  // namespace vegfit
