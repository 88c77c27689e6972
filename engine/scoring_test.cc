#include "engine/grading.h"
#include "engine/ranking.h"
#include "engine/scoring.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "engine/testing/fixture.h"

namespace engine {
namespace {

// The class table: mean cover, woodland weight and cover weight of telling
// class codes.
TEST(ConversionTablesTest, ClassTableRows) {
  auto tables = std::make_unique<Tables>();
  buildConversionTables(tables->domin_percent, tables->cover_power, tables->conversion);
  const ConversionTables& c = tables->conversion;
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

TEST(AnalysisWeightsTest, WeightsByAnalysisType) {
  float w[4];
  struct Case { int type; float w1, w2, w3, w4; };
  const Case cases[] = {{1, .25f, .25f, .25f, .25f}, {2, .5f, .5f, 0, 0}, {3, 0, 0, .5f, .5f},
                        {4, 0, 1, 0, 0},             {5, 0, .25f, .5f, .25f},
                        {0, 0, .25f, .5f, .25f},     {6, 0, .25f, .5f, .25f}};
  for (const Case& c : cases) {
    analysisWeights(c.type, w[0], w[1], w[2], w[3]);
    EXPECT_EQ(c.w1, w[0]) << c.type;
    EXPECT_EQ(c.w2, w[1]) << c.type;
    EXPECT_EQ(c.w3, w[2]) << c.type;
    EXPECT_EQ(c.w4, w[3]) << c.type;
  }
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
    prepareTables(*tables);
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
    return {printedPercent(t.scores.fit_score[k]), printedPercent(t.scores.community_composition_fit[k]),
            printedPercent(t.scores.sample_composition_fit[k]), printedPercent(t.scores.community_cover_fit[k]),
            printedPercent(t.scores.sample_cover_fit[k])};
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
  EXPECT_NEAR(1.166901f, t.norms.composition_norm[1], 1e-6);
  EXPECT_NEAR(0.743249f, t.norms.mean_constancy[1], 1e-6);
  EXPECT_NEAR(16.41906f, t.norms.cover_norm[1], 2e-4);
  EXPECT_NEAR(0.853833f, t.norms.mean_cover_constancy[1], 1e-5);
  EXPECT_EQ(1, t.class_counts.table_class_count[5][1]);
  EXPECT_EQ(0, t.class_counts.table_class_count[4][1]);
  EXPECT_EQ(1, t.class_counts.table_class_count[3][1]);
  EXPECT_EQ(1, t.class_counts.table_class_count[1][1]);
  // Each class's count times the weight of the class: one species each in
  // V, III and I, none in IV and II.
  const float weighted[] = {0, 0.12f, 0, 0.5f, 0, 0.95f};
  for (int g = 1; g <= kConstancyClasses; ++g)
    EXPECT_EQ(weighted[g], t.class_counts.weighted_table_count[g][1]) << g;
}

TEST_F(WorkedExampleTest, CompositionOnly) {
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  scoreCommunities(s, 2, *world.tables);
  EXPECT_NEAR(0.75859f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_NEAR(0.98766f, world.tables->scores.community_composition_fit[1], 1e-5);
  EXPECT_NEAR(0.65030f, world.tables->scores.sample_composition_fit[1], 1e-5);
  EXPECT_EQ(75, world.columns(1)[0]);
  EXPECT_EQ(98, world.columns(1)[1]);
  EXPECT_EQ(65, world.columns(1)[2]);
}

TEST_F(WorkedExampleTest, MixedCompositionAndCover) {
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  scoreCommunities(s, 1, *world.tables);
  EXPECT_NEAR(0.79038f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_NEAR(0.72177f, world.tables->scores.sample_cover_fit[1], 1e-5);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

TEST_F(WorkedExampleTest, NewNamesCountLikeUnknownSpecies) {
  // A name added during the run (9001) is not in the sorted index.
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {9001, 10}});
  scoreCommunities(s, 1, *world.tables);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

TEST_F(WorkedExampleTest, TypeFourIsSampleCompositionUnadjusted) {
  Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  scoreCommunities(s, 4, *world.tables);
  EXPECT_NEAR(0.65030f, world.tables->scores.fit_score[1], 1e-5);
}

TEST_F(WorkedExampleTest, ScoresDoNotCarryOverBetweenSamples) {
  scoreCommunities(world.sampleOf({{1, 100}, {2, 100}, {3, 100}}), 1, *world.tables);
  scoreCommunities(world.sampleOf({{1, 25}, {2, 3}, {4, 10}}), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

// Whole coefficient sets with covers below 100. The sample holds species 1
// (class V, mean cover 18.3333) at 10 %, species 2 (class III, mean cover
// 5.5714) at 8 %, above its mean, and species 4 (in no table) at 5 %:
//   F1 = (0.9025 + 0.25) / 1.166901 = 0.98766 and F2 = 1.450001 /
//   (3.000001 x 0.743249) = 0.65030, as in the worked example;
//   F3 = (10 x 0.9025 + 5.5714 x 0.25) / 16.41906 = 10.41786 / 16.41906 =
//   0.63450 (species 2 counts only up to its mean cover: with all of its 8 %
//   F3 would be 11.025 / 16.41906 = 0.67148);
//   F4 = (10^0.75 x 0.95 + 8^0.75 x 0.5) / ((0.001 + 5.62341 + 4.75683 +
//   3.34370) x 0.853833) = 7.72066 / 11.71878 = 0.65883.
// Adjusted for types 1 to 3: F1 = 0.98766 x 0.65030 x 1.34970 = 0.86688,
// F2 = 0.65030 stays below it; F3 = 0.63450 x 0.65883 x 1.34117 = 0.56064,
// and F4 = 0.65883 is cut to that.
struct BelowMeanTest : WorkedExampleTest {
  Sample below(const std::vector<int>& frequency = {}) {
    return world.sampleOf({{1, 10}, {2, 8}, {4, 5}}, 0, frequency);
  }
};

TEST_F(BelowMeanTest, EveryAnalysisType) {
  struct Case {
    int type;
    float fit;
    int fit_percent;
  };
  const Case cases[] = {
      {1, 0.65962f, 66},  // 0.25 x (0.86688 + 0.65030 + 0.56064 + 0.56064)
      {2, 0.75859f, 75},  // 0.5 x (0.86688 + 0.65030)
      {3, 0.56064f, 56},  // 0.5 x (0.56064 + 0.56064); unadjusted it would be 0.64667
      {4, 0.65030f, 65},  // F2, unadjusted
      {5, 0.64453f, 64},  // 0.25 x 0.65030 + 0.5 x 0.63450 + 0.25 x 0.65883, unadjusted
  };
  for (const Case& c : cases) {
    scoreCommunities(below(), c.type, *world.tables);
    EXPECT_NEAR(c.fit, world.tables->scores.fit_score[1], 2e-5) << c.type;
    // The stored coefficients are those before the adjustment.
    EXPECT_EQ((std::vector<int>{c.fit_percent, 98, 65, 63, 65}), world.columns(1)) << c.type;
  }
}

TEST_F(BelowMeanTest, CoverCountsUpToTheClassMeanCover) {
  scoreCommunities(below(), 1, *world.tables);
  EXPECT_NEAR(0.63450f, world.tables->scores.community_cover_fit[1], 1e-5);
}

TEST_F(BelowMeanTest, SampleCoverCoefficientIsCutToTheAdjustedCommunityCover) {
  // Without the cut the score would be 0.25 x (0.86688 + 0.65030 + 0.56064 +
  // 0.65883) = 0.68416.
  scoreCommunities(below(), 1, *world.tables);
  EXPECT_NEAR(0.65962f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_NEAR(0.65883f, world.tables->scores.sample_cover_fit[1], 1e-5);
}

TEST_F(BelowMeanTest, FrequenciesOfASampleWithoutFrequencyDataWeighNothing) {
  // Every species weighs 1 when the maximum frequency is 0, whatever its
  // frequency entry holds.
  scoreCommunities(below({4, 2, 7}), 1, *world.tables);
  EXPECT_NEAR(0.65962f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_EQ((std::vector<int>{66, 98, 65, 63, 65}), world.columns(1));
  EXPECT_EQ(1, world.tables->class_counts.sample_class_count[5][1]);
}

TEST_F(BelowMeanTest, TwoSamplesInARowScoreAsIfEachWereAlone) {
  // The first sample fills every per-sample total; none of it may reach the
  // second, whose cover coefficient is well below its clamp.
  scoreCommunities(world.sampleOf({{1, 100}, {2, 100}, {3, 100}, {4, 100}}, 20, {20, 20, 20, 20}), 1,
        *world.tables);
  scoreCommunities(below(), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{66, 98, 65, 63, 65}), world.columns(1));
  scoreCommunities(below(), 3, *world.tables);
  EXPECT_EQ((std::vector<int>{56, 98, 65, 63, 65}), world.columns(1));
}

// A sample of species 1 alone at 3 %: F1 = 0.9025 / 1.166901 = 0.77342; F2
// = 0.950001 / (1.000001 x 0.743249) = 1.278, clamped to 1; F3 = 3 x 0.9025
// / 16.41906 = 0.16490; F4 = 3^0.75 x 0.95 / (2.28051 x 0.853833) = 1.112,
// clamped to 1. The adjustment leaves F1 and F3 as they are and cuts F2 to
// F1 and F4 to F3: score 0.25 x 2 x (0.77342 + 0.16490) = 0.46916. Without
// the cut of F2 it would be 0.52581, without that of F4 0.67794. Types 4
// and 5 make no adjustment: type 4 scores F2 = 1, type 5 0.25 x 1 + 0.5 x
// 0.16490 + 0.25 x 1 = 0.58245 (adjusted it would be 0.31703).
TEST_F(WorkedExampleTest, AdjustmentCutsEachSampleCoefficientToItsCommunityOne) {
  scoreCommunities(world.sampleOf({{1, 3}}), 1, *world.tables);
  EXPECT_NEAR(0.46916f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_EQ((std::vector<int>{46, 77, 100, 16, 100}), world.columns(1));
  scoreCommunities(world.sampleOf({{1, 3}}), 4, *world.tables);
  EXPECT_EQ(1.0f, world.tables->scores.fit_score[1]);
  scoreCommunities(world.sampleOf({{1, 3}}), 5, *world.tables);
  EXPECT_NEAR(0.58245f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_EQ((std::vector<int>{58, 77, 100, 16, 100}), world.columns(1));
}

// Frequency data, maximum 4: species 1 at 10 % with frequency 4, species 2
// at 3 % with frequency 2, species 4 at 5 % with frequency 1.
//   sample_weight_sum = (1e-6 + 7) / 4 = 1.75; class V P = 1, Q = 0.95;
//   class III P = 0.5, Q = 0.5: F1 = (0.9025 + 0.25) / 1.166901 = 0.98766,
//   F2 = 1.200001 / (1.75 x 0.743249) = 0.92259;
//   F3 = (4 x 10 x 0.9025 + 2 x 3 x 0.25) / (4 x 16.41906) = 37.6 /
//   65.67624 = 0.57251 (divided by the cover norm alone it would clamp to 1);
//   F4 = (5.62341 x 0.95 + 2.27951 x 0.5) / (11.24762 x 0.853833) = 0.67496.
// Adjusted: F1 = 0.98766 x 0.92259 x 1.07741 = 0.98174, F2 stays; F3 =
// 0.57251 x 0.67496 x 1.32504 = 0.51202, and F4 is cut to it. Score 0.25 x
// (0.98174 + 0.92259 + 2 x 0.51202) = 0.73209.
TEST_F(WorkedExampleTest, CommunityCoverIsDividedByMaximumFrequencyTimesCoverNorm) {
  scoreCommunities(world.sampleOf({{1, 10}, {2, 3}, {4, 5}}, 4, {4, 2, 1}), 1, *world.tables);
  EXPECT_NEAR(0.57251f, world.tables->scores.community_cover_fit[1], 1e-5);
  EXPECT_NEAR(0.73209f, world.tables->scores.fit_score[1], 2e-5);
  EXPECT_EQ((std::vector<int>{73, 98, 92, 57, 67}), world.columns(1));
}

// Covers outside 0..100 never reach scoring from sample entry; scoring
// still takes them as 100 and 0. Species 1 at 10 % and species 2 at 100 %:
// F2 = 1.450001 / (2.000001 x 0.743249) = 0.97545; F3 = (10 x 0.9025 +
// 5.5714 x 0.25) / 16.41906 = 0.63450; F4 = (5.62341 x 0.95 + 31.62278 x
// 0.5) / (37.24719 x 0.853833) = 21.15363 / 31.80283 = 0.66515; score 0.25
// x (0.98766 x 0.97545 x 1.02455 + 0.97545 + 2 x 0.63450 x 0.66515 x
// 1.33485) = 0.77231. Species 2 at 0 %: F3 = 9.025 / 16.41906 = 0.54967,
// F4 = (5.34224 + 1e-6 x 0.5) / (5.62441 x 0.853833) = 1.112, clamped.
TEST_F(WorkedExampleTest, CoversBeyondTheScaleCountAsItsEnds) {
  for (int cover : {100, 150, 3000}) {
    scoreCommunities(world.sampleOf({{1, 10}, {2, cover}}), 1, *world.tables);
    EXPECT_NEAR(0.66515f, world.tables->scores.sample_cover_fit[1], 1e-5) << cover;
    EXPECT_EQ((std::vector<int>{77, 98, 97, 63, 66}), world.columns(1)) << cover;
  }
  for (int cover : {0, -5}) {
    scoreCommunities(world.sampleOf({{1, 10}, {2, cover}}), 1, *world.tables);
    EXPECT_NEAR(0.54967f, world.tables->scores.community_cover_fit[1], 1e-5) << cover;
    EXPECT_EQ((std::vector<int>{76, 98, 97, 55, 100}), world.columns(1)) << cover;
  }
}

// A cover of 0 weighs x = 1e-6 on the sample side and matches no cover:
// species 1 alone at 0 % gives F3 = 0 and F4 = 1e-6 x 0.95 / ((0.001 +
// 1e-6) x 0.853833) = 0.0011115.
TEST_F(WorkedExampleTest, CoverOfZeroWeighsOneMillionth) {
  scoreCommunities(world.sampleOf({{1, 0}}), 1, *world.tables);
  EXPECT_EQ(0.0f, world.tables->scores.community_cover_fit[1]);
  EXPECT_NEAR(0.0011115f, world.tables->scores.sample_cover_fit[1], 2e-7);
}

// A sample species numbered 0 (a dictionary name with number 0) has no table
// entries: it counts like species 4 of the worked example.
TEST_F(WorkedExampleTest, SampleSpeciesNumberZeroIsASpeciesWithoutEntries) {
  scoreCommunities(world.sampleOf({{1, 25}, {2, 3}, {0, 10}}), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

// The worked community with species 1 under two names: the start-up totals
// count it once, so they are those of the worked example (a count per name
// would give class V two species and composition_norm 2.069401).
TEST(ScoreTest, SynonymsCountOncePerSpeciesNumber) {
  World world;
  world.load({"   1 aaaa aaaa", "   1 aaaa bbbb", "   2 bbbb bbbb", "   3 cccc cccc"},
             {{{1, 48}}, {{1, 27}}, {{1, 6}}}, {" A 1  "});
  const Tables& t = *world.tables;
  EXPECT_EQ(1, t.class_counts.table_class_count[5][1]);
  EXPECT_NEAR(1.166901f, t.norms.composition_norm[1], 1e-6);
  EXPECT_NEAR(0.743249f, t.norms.mean_constancy[1], 1e-6);
  EXPECT_NEAR(16.41906f, t.norms.cover_norm[1], 2e-4);
  EXPECT_NEAR(0.853833f, t.norms.mean_cover_constancy[1], 1e-5);
  scoreCommunities(world.sampleOf({{1, 25}, {2, 3}, {9001, 10}}), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{79, 98, 65, 100, 72}), world.columns(1));
}

// A species record for number 0 links the two reserved entries, which
// count in no community total: community 1 holds species 1 alone, class
// V, composition_norm 1e-6 + 0.9025.
TEST(ScoreTest, SpeciesRecordNumberZeroCountsInNoTotal) {
  World world;
  world.load(kDictionary, {{{1, 45}}, {{1, 45}}}, {" A 1  "}, 10000, {0, 1});
  const Tables& t = *world.tables;
  EXPECT_EQ(1, t.entry_ranges.first_entry[1]);
  EXPECT_EQ(1, t.entry_ranges.last_entry[2]);
  EXPECT_EQ(1, t.class_counts.table_class_count[5][1]);
  EXPECT_NEAR(0.902501f, t.norms.composition_norm[1], 1e-6);
}

// A community whose only entries are those of a species record for number
// 0 has no counted species, so it scores 0 throughout, even for a sample
// species numbered 0 (which reaches those entries through the reserved
// entry first in the sorted index); left alone its cover coefficients would
// divide by a mean cover constancy of 0.
TEST(ScoreTest, CommunityOfSpeciesNumberZeroOnlyScoresZero) {
  World world;
  world.load(kDictionary, {{{1, 45}}, {{2, 45}}}, {" A 1  ", " A 2  "}, 10000, {1, 0});
  for (int type = 1; type <= 5; ++type) {
    scoreCommunities(world.sampleOf({{0, 10}, {1, 10}}), type, *world.tables);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), world.columns(2)) << type;
    EXPECT_EQ(0.0f, world.tables->scores.fit_score[2]) << type;
    EXPECT_GT(world.tables->scores.fit_score[1], 0.1f) << type;
  }
}

TEST(ScoreTest, CommunityWithoutSharedSpeciesScoresZero) {
  World world;
  world.load(kDictionary, {{{1, 48}}, {{2, 27}}, {{1, 6}}}, {" A 1  ", " A 2  "});
  scoreCommunities(world.sampleOf({{2, 50}}), 1, *world.tables);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), world.columns(1));
  EXPECT_GT(world.tables->scores.fit_score[2], 0.5f);
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
             {{{1, 45}}, {{3, 25}}, {{4, 45}}}, {" A 1  ", " X 0  ", " A 3  ", " A 4  "}, 3000,
             {1, 2, 3500});
  ASSERT_EQ(4, world.tables->n_communities);
  for (int type = 1; type <= 5; ++type) {
    scoreCommunities(world.sampleOf({{1, 10}}), type, *world.tables);
    const Tables& t = *world.tables;
    for (int k : {2, 3, 4}) {
      EXPECT_EQ(0.0f, t.scores.fit_score[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.scores.community_composition_fit[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.scores.sample_composition_fit[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.scores.community_cover_fit[k]) << type << " " << k;
      EXPECT_EQ(0.0f, t.scores.sample_cover_fit[k]) << type << " " << k;
    }
    EXPECT_GT(t.scores.fit_score[1], 0.1f) << type;
    std::array<short, kMaxOutput + 1> top{};
    std::array<float, kMaxOutput + 1> best{};
    rankBest(t.scores.fit_score, t.n_communities, top, best, 4);
    EXPECT_EQ((std::vector<short>{1, 2, 3, 4}),
              std::vector<short>(top.begin() + 1, top.begin() + 5))
        << type;
  }
}

// Where a community stands in the table changes nothing: 21 copies of the
// worked example's community, less communities 10 and 20, which no entry
// names, all score the worked example's figures to the last bit, under every
// analysis type, and the two empty ones 0 between them.
TEST(ScoreTest, EveryPlaceOfTheCommunityTableScoresAlike) {
  World world;
  std::vector<std::pair<int, int>> first, second, third;
  std::vector<std::string> codes;
  for (int k = 1; k <= 21; ++k) {
    codes.push_back(" A" + std::to_string(k) + (k < 10 ? "  " : " "));
    if (k == 10 || k == 20) continue;
    first.emplace_back(k, 48);
    second.emplace_back(k, 27);
    third.emplace_back(k, 6);
  }
  world.load(kDictionary, {first, second, third}, codes);
  ASSERT_EQ(21, world.tables->n_communities);
  const Sample s = world.sampleOf({{1, 25}, {2, 3}, {4, 10}});
  scoreCommunities(s, 1, *world.tables);
  for (int k = 1; k <= 21; ++k) {
    const bool listed = k != 10 && k != 20;
    const std::vector<int> expected =
        listed ? std::vector<int>{79, 98, 65, 100, 72} : std::vector<int>{0, 0, 0, 0, 0};
    EXPECT_EQ(expected, world.columns(k)) << k;
  }
  for (int type = 1; type <= 5; ++type) {
    scoreCommunities(s, type, *world.tables);
    const Tables& t = *world.tables;
    for (int k = 2; k <= 21; ++k) {
      const bool listed = k != 10 && k != 20;
      EXPECT_EQ(listed ? t.scores.fit_score[1] : 0.0f, t.scores.fit_score[k]) << type << " " << k;
      EXPECT_EQ(listed ? t.scores.sample_cover_fit[1] : 0.0f, t.scores.sample_cover_fit[k])
          << type << " " << k;
    }
  }
  scoreCommunities(s, 2, *world.tables);
  EXPECT_EQ(75, world.columns(17)[0]);
  EXPECT_EQ(75, world.columns(21)[0]);
}

TEST(ScoreTest, ExcessOfAClassCarriesIntoTheNextOnly) {
  // Two class V species, both in the sample: P = 2, Q = 1.9; 0.1 carries
  // into class IV (empty) and no further, so class III gains nothing.
  World world;
  world.load(kDictionary, {{{1, 45}}, {{1, 45}}, {{1, 25}}}, {" A 1  "});
  scoreCommunities(world.sampleOf({{1, 10}, {2, 10}}), 2, *world.tables);
  const Tables& t = *world.tables;
  float norm = 1e-6f + 0.9025f + 0.9025f + 0.25f;
  EXPECT_NEAR(1.9f * 0.95f / norm, t.scores.community_composition_fit[1], 1e-6);
}

TEST(ScoreTest, CarryIsUsedInTheNextClass) {
  // Two class V species and one class IV species; the sample holds the two
  // of class V: P = 2, Q = 1.9, class V adds 1.9 x 0.95 = 1.805 and carries
  // 0.1 into class IV, where min(0 + 0.1, 0.75) x 0.75 = 0.075 is added.
  // F1 = 1.88 / (1e-6 + 2 x 0.9025 + 0.5625) = 1.88 / 2.367501 = 0.79409
  // (without the carry 0.76240).
  World world;
  world.load(kDictionary, {{{1, 45}}, {{1, 45}}, {{1, 35}}}, {" A 1  "});
  scoreCommunities(world.sampleOf({{1, 10}, {2, 10}}), 2, *world.tables);
  EXPECT_NEAR(0.79409f, world.tables->scores.community_composition_fit[1], 1e-5);
  EXPECT_EQ(79, world.columns(1)[1]);
}

TEST(ScoreTest, FrequenciesWeightSpeciesAndScaleShares) {
  World world;
  world.load(kDictionary, {{{1, 45}}, {{1, 25}}, {{1, 25}}}, {" A 1  "});
  scoreCommunities(world.sampleOf({{1, 10}, {2, 10}, {4, 10}}, 20, {20, 10, 20}), 2, *world.tables);
  const Tables& t = *world.tables;
  // Class V: P = 20/20 = 1, Q = 0.95, carry 0.05; class IV: P = 0, Q = 0;
  // class III: P = 10/20 = 0.5, Q = 2 x 0.5 = 1.
  float f1 = (0.95f * 0.95f + 0.5f * 0.5f) / (1e-6f + 0.9025f + 0.25f + 0.25f);
  EXPECT_NEAR(f1, t.scores.community_composition_fit[1], 1e-6);
  float weight_sum = (1e-6f + 50) / 20;
  float f2 = (1e-6f + 0.95f + 0.25f) / (weight_sum * t.norms.mean_constancy[1]);
  EXPECT_NEAR(f2, t.scores.sample_composition_fit[1], 1e-6);
}

TEST(ScoreTest, WoodlandCommunitiesWeighCoverByWoodlandWeight) {
  World world;
  // Communities 1 (A1) and 2 (W1) with the same single species of class
  // code 10 (constancy I, Domin 10): woodland weight 1.0 against 0.0144.
  world.load(kDictionary, {{{1, 10}, {2, 10}}}, {" A 1  ", " W 1  "});
  const Tables& t = *world.tables;
  EXPECT_EQ(2, t.woodland_start);
  const float mean = t.conversion.class_mean_cover[10];
  EXPECT_NEAR(1e-6f + mean * 0.12f * 0.12f * 0.12f, t.norms.cover_norm[1], 1e-6);
  EXPECT_NEAR(1e-6f + mean * 0.12f * 1.0f, t.norms.cover_norm[2], 1e-6);
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
  EXPECT_EQ(1, world.tables->class_counts.table_class_count[5][1]);
  EXPECT_EQ(2, world.tables->entry_ranges.first_entry[4]);
  EXPECT_EQ(0, world.tables->entry_ranges.last_entry[4]);
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
  scoreCommunities(world.sampleOf({{1, 10}, {9001, 10}}), 1, *world.tables);
  EXPECT_EQ(1, world.tables->class_counts.sample_class_count[5][1]);
}

}  // namespace
}  // namespace engine
