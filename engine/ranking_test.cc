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

}  // namespace
}  // namespace engine
