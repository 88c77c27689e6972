#include "tools/evaluate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "tools/testdata.h"
#include "engine/ranking.h"
#include "engine/scoring.h"

namespace nvceval {
namespace {

using nvcdata::CsvTable;
using nvcdata::Sources;

// The small tables with a floristic table of its own in place of theirs.
Sources withFloristic(const std::string& rows) {
  Sources s = nvcdata::smallSources();
  s.floristic = CsvTable::parse(
      "nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n" + rows,
      "floristic_tables.csv");
  return s;
}

TEST(DominPercentTest, TheTenValues) {
  const int expected[] = {0, 1, 4, 9, 16, 26, 39, 55, 75, 99};
  for (int d = 1; d <= 10; ++d) EXPECT_EQ(expected[d - 1], dominPercent(d)) << d;
}

TEST(DrawSamplesTest, SameSeedSameSamples) {
  Sources s = nvcdata::smallSources();
  nvcdata::ReferenceData data = nvcdata::convert(s);
  std::vector<PseudoSample> a = drawSamples(s, data, 30, 5), b = drawSamples(s, data, 30, 5),
                            c = drawSamples(s, data, 30, 6);
  ASSERT_EQ(9u * 30u, a.size());
  auto same = [](const std::vector<PseudoSample>& x, const std::vector<PseudoSample>& y) {
    for (std::size_t i = 0; i < x.size(); ++i)
      if (x[i].unit != y[i].unit || x[i].species != y[i].species) return false;
    return true;
  };
  EXPECT_TRUE(same(a, b));
  EXPECT_FALSE(same(a, c));
  EXPECT_EQ(1, a.front().unit);
  EXPECT_EQ(9, a.back().unit);
}

TEST(DrawSamplesTest, PresenceFollowsTheConstancyClass) {
  Sources s = withFloristic(
      "W1,Fraxinus excelsior (c),5,1,1,1,1\n"
      "W1,Lemna minor,1,1,1,1,1\n"
      "W1,Cladonia,3,1,1,1,1\n");
  nvcdata::ReferenceData data = nvcdata::convert(s);
  std::vector<PseudoSample> samples = drawSamples(s, data, 4000, 1);
  std::map<int, int> present;
  for (const PseudoSample& p : samples)
    for (const auto& [species, cover] : p.species) ++present[species];
  // 90, 10 and 50 %, raised a little by the redrawing of empty samples
  // (all three absent: 0.1 x 0.9 x 0.5 = 4.5 %)
  EXPECT_NEAR(94.2, 100.0 * present[1] / 4000, 2.0);  // Fraxinus, the first vascular species
  EXPECT_NEAR(10.5, 100.0 * present[2] / 4000, 2.0);
  EXPECT_NEAR(52.4, 100.0 * present[4001] / 4000, 2.0);
}

TEST(DrawSamplesTest, CoversComeFromTheDominRangeAndMergeUpToAHundred) {
  Sources s = withFloristic(
      "W1,Fraxinus excelsior (c),5,1,3,3,5\n"
      "W1,Fraxinus excelsior (g),5,1,10,10,10\n"
      "A2,Lemna minor,5,1,6,6,4\n");  // minimum above maximum: taken the other way round
  nvcdata::ReferenceData data = nvcdata::convert(s);
  std::set<int> w1Covers, a2Covers;
  for (const PseudoSample& p : drawSamples(s, data, 500, 3)) {
    ASSERT_EQ(1u, p.species.size());
    (p.unit == 2 ? w1Covers : a2Covers).insert(p.species[0].second);  // A2 is 1, W1 is 2
  }
  // (c) alone gives 4, 9 or 16, (g) alone 99, both together 100
  EXPECT_EQ((std::set<int>{4, 9, 16, 99, 100}), w1Covers);
  EXPECT_EQ((std::set<int>{9, 16, 26}), a2Covers);
}

class SmallTablesTest : public ::testing::Test {
 protected:
  Sources sources = nvcdata::smallSources();
  std::unique_ptr<veg::FileSystem> files = memoryFiles(nvcdata::convert(sources), sources);
  std::unique_ptr<engine::Tables> tables = loadTables(*files);
};

TEST_F(SmallTablesTest, ParentsAreTheCommunities) {
  std::vector<int> parent = parents(*tables);
  ASSERT_EQ(10u, parent.size());
  EXPECT_EQ((std::vector<int>{0, 1, 1, 3, 4, 4, 4, 7, 7, 9}), parent);
}

TEST_F(SmallTablesTest, TallyOfHandMadeSamples) {
  std::vector<PseudoSample> samples = {
      {9, {{2, 40}}},     // Fraxinus from W1: only W1 has it
      {6, {{5001, 0}}},   // Fucus from CG2b: only CG2b has it
      {3, {{2, 40}}},     // Fraxinus said to be from A10: W1 first, A10 scores 0
  };
  Tally t = tally(*tables, samples, 1);
  EXPECT_EQ(3, t.samples);
  EXPECT_EQ(2, t.unit_first);
  EXPECT_EQ(2, t.unit_top5);  // A10 is not counted among the zero scores
  EXPECT_EQ(2, t.community_first);
  EXPECT_EQ(2, t.community_top5);
}

TEST(LoadTablesTest, LoadingFailureIsReported) {
  Sources s = nvcdata::smallSources();
  std::unique_ptr<veg::FileSystem> none = directoryFiles("/nonexistent-directory");
  try {
    loadTables(*none);
    FAIL() << "loaded nothing";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string::npos, std::string(e.what()).find("file not found"));
  }
}

// The shipped files with the VEGMATCH loaders and engine.
class ShippedEngineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* dir = std::getenv("VEG_SOURCE_DIR");
    data_dir = std::string(dir ? dir : VEG_DEFAULT_SOURCE_DIR) + "/data";
    std::unique_ptr<veg::FileSystem> files = directoryFiles(data_dir);
    tables = loadTables(*files).release();
  }
  static void TearDownTestSuite() { delete tables; }
  static std::vector<std::string> lines(const std::string& name) {
    std::ifstream in(data_dir + "/" + name);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  static std::string data_dir;
  static engine::Tables* tables;
};
std::string ShippedEngineTest::data_dir;
engine::Tables* ShippedEngineTest::tables = nullptr;

TEST_F(ShippedEngineTest, LoadWithEveryUnitAndWoodlandFromW1) {
  std::vector<std::string> units = lines("NVCTYPES.txt");
  EXPECT_EQ(static_cast<int>(units.size()), tables->n_communities);
  EXPECT_EQ(static_cast<int>(lines("SPECDICT.txt").size()) + 2, tables->dict_size);
  int w1 = 0;
  for (std::size_t k = 0; k < units.size(); ++k)
    if (units[k].substr(1, 6) == " W 1  ") w1 = static_cast<int>(k + 1);
  EXPECT_EQ(w1, tables->woodland_start);
  EXPECT_EQ(" W 1  ", tables->cross_reference.nvc_code[tables->woodland_start]);
}

TEST_F(ShippedEngineTest, EveryDictionaryNameHasTableEntries) {
  for (int j = 3; j <= tables->dict_size; ++j) {
    EXPECT_GT(tables->entry_ranges.first_entry[j], 0) << tables->dictionary.species_name[j];
    EXPECT_GE(tables->entry_ranges.last_entry[j], tables->entry_ranges.first_entry[j]) << j;
  }
}

TEST_F(ShippedEngineTest, SampleOfW1ScoresAgainstAllUnits) {
  // the two species of constancy IV and V in W1's table
  auto sample = std::make_unique<engine::Sample>();
  sample->sample_size = 2;
  sample->sample_species[1] = 876;  // sali cine
  sample->sample_cover[1] = 75;
  sample->sample_species[2] = 427;  // gali palu
  sample->sample_cover[2] = 4;
  sample->sample_frequency[1] = sample->sample_frequency[2] = 1;
  engine::scoreCommunities(*sample, 1, *tables);
  int positive = 0;
  for (int k = 1; k <= tables->n_communities; ++k) {
    EXPECT_GE(tables->scores.fit_score[k], 0.0f);
    EXPECT_LE(tables->scores.fit_score[k], 1.0f);
    positive += tables->scores.fit_score[k] > 0;
  }
  EXPECT_GT(positive, 1);
  EXPECT_GT(tables->scores.fit_score[tables->woodland_start], 0.0f);
  std::array<short, engine::kMaxOutput + 1> top{};
  std::array<float, engine::kMaxOutput + 1> topScore{};
  engine::rankBest(tables->scores.fit_score, tables->n_communities, top, topScore, 5);
  std::vector<int> parent = parents(*tables);
  bool w1Family = false;
  for (int r = 1; r <= 5; ++r) w1Family = w1Family || parent[top[r]] == tables->woodland_start;
  EXPECT_TRUE(w1Family);
}

}  // namespace
}  // namespace nvceval
