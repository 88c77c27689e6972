#include "vegmatch/fit.h"

#include <gtest/gtest.h>

#include <memory>

#include "vegmatch/testing/fixture.h"

namespace vegmatch {
namespace {

// The class table: mean cover, woodland weight and cover weight of telling
// class codes.
TEST(LookupTest, ClassTableRows) {
  auto tables = std::make_unique<Tables>();
  lookup(tables->domin_percent, tables->cover_power, tables->convrt);
  const convrt& c = tables->convrt;
  const short domin[] = {0, 0, 1, 4, 9, 16, 26, 39, 55, 75, 99};
  for (int d = 1; d <= 10; ++d) EXPECT_EQ(domin[d], tables->domin_percent[d]) << d;

  struct Row { int m; int g; float mean; float woodland; float weight; };
  const Row rows[] = {
      {1, 1, 1e-6f, 0.0144f, 0.0000316228f}, {5, 1, 1e-6f, 0.0144f, 0.0000316228f},
      {6, 1, 2.3636f, 0.0144f, 1.9063f},  {9, 1, 6.8182f, 0.12f, 4.2194f},
      {10, 1, 9.0f, 1.0f, 5.1962f},       {25, 3, 2.2857f, 0.25f, 1.8589f},
      {27, 3, 5.5714f, 0.5f, 3.6264f},    {44, 5, 3.0f, 0.9025f, 2.2795f},
      {45, 5, 5.3333f, 0.95f, 3.5095f},   {50, 5, 33.0f, 1.0f, 13.7685f},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.g, c.class_constancy[r.m]) << r.m;
    EXPECT_NEAR(r.mean, c.class_mean_cover[r.m], 1e-4 * r.mean) << r.m;
    EXPECT_NEAR(r.woodland, c.class_woodland_weight[r.m], 1e-6) << r.m;
    EXPECT_NEAR(r.weight, c.class_cover_weight[r.m], 2e-4 * r.weight) << r.m;
  }
  EXPECT_EQ(3.0f, c.class_mean_cover[44]);  // exactly 9/3, not replaced
  EXPECT_EQ(1e-6f, c.class_mean_cover[5]);  // 16/11 is below 2
  EXPECT_EQ(1.0f, tables->cover_power[1]);
  EXPECT_NEAR(1.6818f, tables->cover_power[2], 1e-4);
  EXPECT_NEAR(31.6228f, tables->cover_power[100], 1e-4);
}

TEST(CoeffsTest, WeightsByAnalysisType) {
  float w[4];
  struct Case { int type; float w1, w2, w3, w4; };
  const Case cases[] = {{1, .25f, .25f, .25f, .25f}, {2, .5f, .5f, 0, 0}, {3, 0, 0, .5f, .5f},
                        {4, 0, 1, 0, 0},             {5, 0, .25f, .5f, .25f},
                        {0, 0, .25f, .5f, .25f},     {6, 0, .25f, .5f, .25f}};
  for (const Case& c : cases) {
    coeffs(c.type, w[0], w[1], w[2], w[3]);
    EXPECT_EQ(c.w1, w[0]) << c.type;
    EXPECT_EQ(c.w2, w[1]) << c.type;
    EXPECT_EQ(c.w3, w[2]) << c.type;
    EXPECT_EQ(c.w4, w[3]) << c.type;
  }
}

TEST(PercentTest, TimesTheSinglePrecisionHundredPointOne) {
  EXPECT_EQ(70, percent(0.7f));
  EXPECT_EQ(50, percent(0.5f));
  EXPECT_EQ(100, percent(1.0f));
  EXPECT_EQ(0, percent(0.0f));
  EXPECT_EQ(75, percent(0.75859f));
  EXPECT_EQ(9, percent(0.0999f));  // 0.0999 x 100.1 = 9.99999
}

// A small world of reference files: the dictionary given, the communities
// given as (community, class code) per species, loaded and prepared.
struct World : testing::Fixture {
  void load(const testing::Lines& dictionary,
            const std::vector<std::vector<std::pair<int, int>>>& species_entries,
            const testing::Lines& codes, int species_limit = 10000,
            const std::vector<int>& numbers = {}) {
    putReferenceFiles(dictionary, testing::assocTable(species_entries, numbers),
                      testing::crossReference(codes));
    loadReferenceFiles(species_limit);
    prepare(*tables);
  }

  // A sample of (species number, cover percent) entries.
  Sample sampleOf(const std::vector<std::pair<int, int>>& species_cover, float max_frequency = 0,
                  const std::vector<int>& frequency = {}) {
    Sample s;
    s.sample_size = static_cast<int>(species_cover.size());
    for (int i = 1; i <= s.sample_size; ++i) {
      s.sample_species[i] = static_cast<short>(species_cover[i - 1].first);
      s.sample_cover[i] = static_cast<short>(species_cover[i - 1].second);
      s.sample_frequency[i] = static_cast<short>(frequency.empty() ? 1 : frequency[i - 1]);
    }
    s.max_frequency = max_frequency;
    return s;
  }

  std::vector<int> columns(int k) const {
    const Tables& t = *tables;
    return {percent(t.calc3.fit_score[k]), percent(t.calc3.community_composition_fit[k]),
            percent(t.calc3.sample_composition_fit[k]), percent(t.calc6.community_cover_fit[k]),
            percent(t.calc5.sample_cover_fit[k])};
  }
};

const std::vector<std::string> kDictionary = {"   1 aaaa aaaa", "   2 bbbb bbbb", "   3 cccc cccc",
                                              "   4 dddd dddd"};

// The worked example: a community with one species each of class V (Domin
// 8), III (Domin 7) and I (Domin 6); the sample holds the first two and a
// species unknown to the tables.
struct WorkedExampleTest : ::testing::Test {
  World world;
  void SetUp() override {
    world.load(kDictionary, {{{1, 48}}, {{1, 27}}, {{1, 6}}}, {" A 1  "});
  }
};

TEST_F(WorkedExampleTest, StartUpTotals) {
  const Tables& t = *world.tables;
  EXPECT_EQ(1, t.n_communities);
  EXPECT_EQ(2, t.woodland_start);  // no community coded W1
  EXPECT_NEAR(1.166901f, t.calc5.composition_norm[1], 1e-6);
  EXPECT_NEAR(0.743249f, t.calc5.mean_constancy[1], 1e-6);
  EXPECT_NEAR(16.41906f, t.calc6.cover_norm[1], 2e-4);
  EXPECT_NEAR(0.853833f, t.calc5.mean_cover_constancy[1], 1e-5);
  EXPECT_EQ(1, t.calc2.table_class_count[5][1]);
  EXPECT_EQ(0, t.calc2.table_class_count[4][1]);
  EXPECT_EQ(1, t.calc2.table_class_count[3][1]);
  EXPECT_EQ(1, t.calc2.table_class_count[1][1]);
}

TEST_F(WorkedExampleTest, CompositionOnly) {
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  score(s, 2, *world.tables);
  EXPECT_NEAR(0.75859f, world.tables->calc3.fit_score[1], 2e-5);
  EXPECT_NEAR(0.98766f, world.tables->calc3.community_composition_fit[1], 1e-5);
  EXPECT_NEAR(0.65030f, world.tables->calc3.sample_composition_fit[1], 1e-5);
  EXPECT_EQ(75, world.columns(1)[0]);
  EXPECT_EQ(98, world.columns(1)[1]);
  EXPECT_EQ(65, world.columns(1)[2]);
}

TEST_F(WorkedExampleTest, MixedCompositionAndCover) {
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  score(s, 1, *world.tables);
  EXPECT_NEAR(0.79038f, world.tables->calc3.fit_score[1], 2e-5);
  EXPECT_NEAR(0.72177f, world.tables->calc5.sample_cover_fit[1], 1e-5);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

TEST_F(WorkedExampleTest, NewNamesCountLikeUnknownSpecies) {
  // A name added during the run (9001) is not in the sorted index.
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {9001, 10}});
  score(s, 1, *world.tables);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

TEST_F(WorkedExampleTest, TypeFourIsSampleCompositionUnadjusted) {
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  score(s, 4, *world.tables);
  EXPECT_NEAR(0.65030f, world.tables->calc3.fit_score[1], 1e-5);
}

TEST_F(WorkedExampleTest, ScoresDoNotCarryOverBetweenSamples) {
  score(world.sampleOf({{1, 100}, {2, 100}, {3, 100}}), 1, *world.tables);
  score(world.sampleOf({{1, 25}, {2, 3}, {4, 10}}), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

TEST(ScoreTest, CommunityWithoutSharedSpeciesScoresZero) {
  World world;
  world.load(kDictionary, {{{1, 48}}, {{2, 27}}, {{1, 6}}}, {" A 1  ", " A 2  "});
  score(world.sampleOf({{2, 50}}), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), world.columns(1));
  EXPECT_GT(world.tables->calc3.fit_score[2], 0.5f);
}

// A community that no entry names (community 2, below the largest number),
// and one whose only species lies above the species-group limit (community
// 4), have nothing to measure the sample against: like community 3, which
// shares no species with the sample, they score 0 on all four coefficients
// under every analysis type, and take their places among the zero scores in
// community order.
TEST(ScoreTest, CommunityWithoutCountedSpeciesScoresZero) {
  World world;
  world.load({"   1 aaaa aaaa", "   2 bbbb bbbb", "3500 cccc cccc"},
             {{{1, 45}}, {{3, 25}}, {{4, 45}}}, {" A 1  ", " X 0  ", " A 3  ", " A 4  "},
             3000, {1, 2, 3500});
  ASSERT_EQ(4, world.tables->n_communities);
  for (int type = 1; type <= 5; ++type) {
    score(world.sampleOf({{1, 10}}), type, *world.tables);
    const Tables& t = *world.tables;
    for (int k : {2, 3, 4}) {
      EXPECT_EQ(0.0f, t.calc3.fit_score[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.calc3.community_composition_fit[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.calc3.sample_composition_fit[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.calc6.community_cover_fit[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.calc5.sample_cover_fit[k]) << type << " " << k;
    }
    EXPECT_GT(t.calc3.fit_score[1], 0.1f) << type;
    std::array<short, kMaxOutput + 1> top{};
    std::array<float, kMaxOutput + 1> best{};
    topn(t.calc3.fit_score, t.n_communities, top, best, 4);
    EXPECT_EQ((std::vector<short>{1, 2, 3, 4}), std::vector<short>(top.begin() + 1, top.begin() + 5))
        << type;
  }
}

TEST(ScoreTest, ExcessOfAClassCarriesIntoTheNextOnly) {
  // Two class V species, both in the sample: P = 2, Q = 1.9; 0.1 carries
  // into class IV (empty) and no further, so class III gains nothing.
  World world;
  world.load(kDictionary, {{{1, 45}}, {{1, 45}}, {{1, 25}}}, {" A 1  "});
  score(world.sampleOf({{1, 10}, {2, 10}}), 2, *world.tables);
  const Tables& t = *world.tables;
  float norm = 1e-6f + 0.9025f + 0.9025f + 0.25f;
  EXPECT_NEAR(1.9f * 0.95f / norm, t.calc3.community_composition_fit[1], 1e-6);
}

TEST(ScoreTest, FrequenciesWeightSpeciesAndScaleShares) {
  World world;
  world.load(kDictionary, {{{1, 45}}, {{1, 25}}, {{1, 25}}}, {" A 1  "});
  score(world.sampleOf({{1, 10}, {2, 10}, {4, 10}}, 20, {20, 10, 20}), 2, *world.tables);
  const Tables& t = *world.tables;
  // Class V: P = 20/20 = 1, Q = 0.95, carry 0.05; class IV: P = 0, Q = 0;
  // class III: P = 10/20 = 0.5, Q = 2 x 0.5 = 1.
  float f1 = (0.95f * 0.95f + 0.5f * 0.5f) / (1e-6f + 0.9025f + 0.25f + 0.25f);
  EXPECT_NEAR(f1, t.calc3.community_composition_fit[1], 1e-6);
  float weight_sum = (1e-6f + 50) / 20;
  float f2 = (1e-6f + 0.95f + 0.25f) / (weight_sum * t.calc5.mean_constancy[1]);
  EXPECT_NEAR(f2, t.calc3.sample_composition_fit[1], 1e-6);
}

TEST(ScoreTest, WoodlandCommunitiesWeighCoverByWoodlandWeight) {
  World world;
  // Communities 1 (A1) and 2 (W1) with the same single species of class
  // code 10 (constancy I, Domin 10): woodland weight 1.0 against 0.0144.
  world.load(kDictionary, {{{1, 10}, {2, 10}}}, {" A 1  ", " W 1  "});
  const Tables& t = *world.tables;
  EXPECT_EQ(2, t.woodland_start);
  const float mean = t.convrt.class_mean_cover[10];
  EXPECT_NEAR(1e-6f + mean * 0.12f * 0.12f * 0.12f, t.calc6.cover_norm[1], 1e-6);
  EXPECT_NEAR(1e-6f + mean * 0.12f * 1.0f, t.calc6.cover_norm[2], 1e-6);
}

TEST(ScoreTest, LastCommunityCodedW1StartsTheWoodland) {
  World world;
  world.load(kDictionary, {{{1, 10}, {2, 10}, {3, 10}}}, {" W 1  ", " A 1  ", " W 1  "});
  EXPECT_EQ(3, world.tables->woodland_start);
}

TEST(ScoreTest, SpeciesAboveTheLimitCountNowhere) {
  World world;
  world.load({"   1 aaaa aaaa", "3500 bbbb bbbb"}, {{{1, 45}}, {{1, 45}}}, {" A 1  "}, 3000,
             {1, 3500});
  EXPECT_EQ(1, world.tables->calc2.table_class_count[5][1]);
  EXPECT_EQ(2, world.tables->ccalc1.first_entry[4]);
  EXPECT_EQ(0, world.tables->ccalc1.last_entry[4]);
}

TEST(ScoreTest, UnknownSpeciesWithFullDictionaryAddsNothing) {
  World world;
  std::vector<std::string> dictionary;
  for (int i = 1; i <= kMaxDictRecords; ++i) {
    char line[20];
    std::snprintf(line, sizeof line, "%4d k%03d %04d", i, i / 100, i);
    dictionary.push_back(line);
  }
  world.load(dictionary, {{{1, 45}}}, {" A 1  "});
  ASSERT_EQ(kMaxNames, world.tables->dict_size);
  score(world.sampleOf({{1, 10}, {9001, 10}}), 1, *world.tables);
  EXPECT_EQ(1, world.tables->calc2.sample_class_count[5][1]);
}

TEST(TopnTest, TiesKeepTheLowerCommunityFirst) {
  PerCommunity scores{};
  scores[1] = 0.5f, scores[2] = 0.8f, scores[3] = 0.8f, scores[4] = 0.1f;
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  topn(scores, 4, top, best, 2);
  EXPECT_EQ(2, top[1]);
  EXPECT_EQ(3, top[2]);
  EXPECT_EQ(0.8f, best[2]);
}

TEST(TopnTest, UnfilledPlacesHoldCommunityOneAndPlaceholder) {
  PerCommunity scores{};
  scores[1] = 0.2f, scores[2] = 0.9f, scores[3] = 0.4f;
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  topn(scores, 3, top, best, 5);
  EXPECT_EQ((std::array<short, 5>{2, 3, 1, 1, 1}), (std::array<short, 5>{top[1], top[2], top[3], top[4], top[5]}));
  EXPECT_EQ(0.2f, best[3]);
  EXPECT_EQ(-1e10f, best[4]);
  EXPECT_EQ(-1e10f, best[5]);
}

TEST(TopnTest, AllZeroScoresRankInCommunityOrder) {
  PerCommunity scores{};
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  topn(scores, 8, top, best, 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(i, top[i]);
    EXPECT_EQ(0.0f, best[i]);
  }
}

TEST(TopnTest, KeepsTheBestInDescendingOrder) {
  PerCommunity scores{};
  const float values[] = {0, 0.3f, 0.1f, 0.9f, 0.5f, 0.7f, 0.2f};
  for (int k = 1; k <= 6; ++k) scores[k] = values[k];
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  topn(scores, 6, top, best, 3);
  EXPECT_EQ(3, top[1]);
  EXPECT_EQ(5, top[2]);
  EXPECT_EQ(4, top[3]);
}

TEST(Isort2Test, EqualKeysInCompanionOrder) {
  short keys[] = {0, 7, 0, 7, 0};
  short comp[] = {0, 1, 2, 3, 4};
  isort2(keys, comp, 4);
  EXPECT_EQ((std::vector<short>{0, 0, 7, 7}), std::vector<short>(keys + 1, keys + 5));
  EXPECT_EQ((std::vector<short>{2, 4, 1, 3}), std::vector<short>(comp + 1, comp + 5));
}

TEST(Isort2Test, SortsAPermutationCarryingCompanions) {
  std::vector<short> keys = {0};
  std::vector<short> comp = {0};
  for (int i = 1; i <= 200; ++i) {
    keys.push_back(static_cast<short>((i * 7919) % 61 - 30));
    comp.push_back(static_cast<short>(i));
  }
  std::vector<short> original = keys;
  isort2(keys.data(), comp.data(), 200);
  for (int i = 1; i <= 200; ++i) {
    EXPECT_EQ(original[comp[i]], keys[i]);
    if (i > 1) {
      EXPECT_LE(keys[i - 1], keys[i]);
      if (keys[i - 1] == keys[i]) {
        EXPECT_LT(comp[i - 1], comp[i]);
      }
    }
  }
}

TEST(IbinTest, FindsTheLowestPosition) {
  const short sorted[] = {0, 0, 0, 5, 5, 5, 9};
  EXPECT_EQ(3, ibin(sorted, 6, 5));
  EXPECT_EQ(1, ibin(sorted, 6, 0));
  EXPECT_EQ(6, ibin(sorted, 6, 9));
  EXPECT_EQ(0, ibin(sorted, 6, 4));
  EXPECT_EQ(0, ibin(sorted, 6, 10));
  EXPECT_EQ(0, ibin(sorted, 6, -1));
  const short one[] = {0, 42};
  EXPECT_EQ(1, ibin(one, 1, 42));
  EXPECT_EQ(0, ibin(one, 1, 41));
}

}  // namespace
}  // namespace vegmatch
