#include "engine/ranking.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace engine {
namespace {

TEST(RankBestTest, TiesKeepTheLowerCommunityFirst) {
  PerCommunity scores{};
  scores[1] = 0.5f, scores[2] = 0.8f, scores[3] = 0.8f, scores[4] = 0.1f;
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  rankBest(scores, 4, top, best, 2);
  EXPECT_EQ(2, top[1]);
  EXPECT_EQ(3, top[2]);
  EXPECT_EQ(0.8f, best[2]);
}

TEST(RankBestTest, UnfilledPlacesHoldCommunityOneAndPlaceholder) {
  PerCommunity scores{};
  scores[1] = 0.2f, scores[2] = 0.9f, scores[3] = 0.4f;
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  rankBest(scores, 3, top, best, 5);
  EXPECT_EQ((std::array<short, 5>{2, 3, 1, 1, 1}), (std::array<short, 5>{top[1], top[2], top[3], top[4], top[5]}));
  EXPECT_EQ(0.2f, best[3]);
  EXPECT_EQ(-1e10f, best[4]);
  EXPECT_EQ(-1e10f, best[5]);
}

TEST(RankBestTest, AllZeroScoresRankInCommunityOrder) {
  PerCommunity scores{};
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  rankBest(scores, 8, top, best, 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(i, top[i]);
    EXPECT_EQ(0.0f, best[i]);
  }
}

TEST(RankBestTest, KeepsTheBestInDescendingOrder) {
  PerCommunity scores{};
  const float values[] = {0, 0.3f, 0.1f, 0.9f, 0.5f, 0.7f, 0.2f};
  for (int k = 1; k <= 6; ++k) scores[k] = values[k];
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  rankBest(scores, 6, top, best, 3);
  EXPECT_EQ(3, top[1]);
  EXPECT_EQ(5, top[2]);
  EXPECT_EQ(4, top[3]);
}

// Communities are ranked eight at a time with the last ones one by one: the
// best at the edges of a group, in the last ones, tied across groups and
// with the rest all equal rank as they would one by one; a score that is
// not a number is never placed.
TEST(RankBestTest, RanksAcrossGroupsOfEightAndTheLastFew) {
  PerCommunity scores{};
  const int n = 859;  // 107 groups of eight and three more
  for (int k = 1; k <= n; ++k) scores[k] = 0.1f;
  scores[8] = 0.5f;
  scores[9] = 0.9f;
  scores[16] = 0.9f;
  scores[400] = std::numeric_limits<float>::quiet_NaN();
  scores[500] = 0.7f;
  scores[857] = 0.95f;
  scores[859] = 0.5f;
  std::array<short, kMaxOutput + 1> top{};
  std::array<float, kMaxOutput + 1> best{};
  rankBest(scores, n, top, best, 7);
  EXPECT_EQ((std::vector<short>{857, 9, 16, 500, 8, 859, 1}),
            std::vector<short>(top.begin() + 1, top.begin() + 8));
  EXPECT_EQ((std::vector<float>{0.95f, 0.9f, 0.9f, 0.7f, 0.5f, 0.5f, 0.1f}),
            std::vector<float>(best.begin() + 1, best.begin() + 8));
}

// The best of each block of eight groups is found first, and the r-th
// greatest of those bounds the r best from below: a score equal to it is
// still placed, ties with it keep the lower community first, a block of
// scores that are not numbers bounds nothing, and a block with nothing
// above the last place is passed over. Every other score is 0.1.
TEST(RankBestTest, BlocksOfGroupsRankAsOneByOne) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    int n, r;
    std::vector<std::pair<int, float>> scores;
    std::vector<short> top;
    bool first_block_not_numbers = false;
  };
  const Case cases[] = {
      // Three blocks each best at 0.5, a second 0.5 in the first.
      {856, 3, {{10, 0.5f}, {20, 0.5f}, {70, 0.5f}, {130, 0.5f}}, {10, 20, 70}},
      // The r-th block's best equals a score of a block before it.
      {856, 2, {{5, 0.3f}, {6, 0.6f}, {200, 0.3f}, {300, 0.2f}}, {6, 5}},
      // The best all in one block, the blocks after it passed over.
      {856, 4, {{65, 0.9f}, {66, 0.8f}, {100, 0.7f}, {128, 0.6f}}, {65, 66, 100, 128}},
      // Fewer blocks than places; communities after the last whole group.
      {83, 3, {{81, 0.9f}, {83, 0.7f}, {2, 0.8f}}, {81, 2, 83}},
      // A block all not numbers, and the best of the rest one by one.
      {256, 3, {{129, 0.4f}, {256, 0.5f}}, {256, 129, 65}, true},
  };
  for (const Case& c : cases) {
    PerCommunity scores{};
    for (int k = 1; k <= c.n; ++k) scores[k] = 0.1f;
    if (c.first_block_not_numbers)
      for (int k = 1; k <= 64; ++k) scores[k] = nan;
    for (const auto& [k, score] : c.scores) scores[k] = score;
    std::array<short, kMaxOutput + 1> top{};
    std::array<float, kMaxOutput + 1> best{};
    rankBest(scores, c.n, top, best, c.r);
    EXPECT_EQ(c.top, std::vector<short>(top.begin() + 1, top.begin() + 1 + c.r)) << c.n << " " << c.r;
  }
}

}  // namespace
}  // namespace engine
