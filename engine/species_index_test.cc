#include "engine/species_index.h"

#include <gtest/gtest.h>

#include <vector>

namespace engine {
namespace {

TEST(SortWithCompanionTest, EqualKeysInCompanionOrder) {
  short keys[] = {0, 7, 0, 7, 0};
  short comp[] = {0, 1, 2, 3, 4};
  sortWithCompanion(keys, comp, 4);
  EXPECT_EQ((std::vector<short>{0, 0, 7, 7}), std::vector<short>(keys + 1, keys + 5));
  EXPECT_EQ((std::vector<short>{2, 4, 1, 3}), std::vector<short>(comp + 1, comp + 5));
}

TEST(SortWithCompanionTest, SortsAPermutationCarryingCompanions) {
  std::vector<short> keys = {0};
  std::vector<short> comp = {0};
  for (int i = 1; i <= 200; ++i) {
    keys.push_back(static_cast<short>((i * 7919) % 61 - 30));
    comp.push_back(static_cast<short>(i));
  }
  std::vector<short> original = keys;
  sortWithCompanion(keys.data(), comp.data(), 200);
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

TEST(SortWithCompanionTest, ExtremeKeysAndNegativeCompanions) {
  short keys[] = {0, 32767, -32768, 0, -32768, 0};
  short comp[] = {0, 1, 5, -3, 2, -32768};
  sortWithCompanion(keys, comp, 5);
  EXPECT_EQ((std::vector<short>{-32768, -32768, 0, 0, 32767}), std::vector<short>(keys + 1, keys + 6));
  EXPECT_EQ((std::vector<short>{2, 5, -32768, -3, 1}), std::vector<short>(comp + 1, comp + 6));
}

TEST(FindFirstSortedTest, FindsTheLowestPosition) {
  const short sorted[] = {0, 0, 0, 5, 5, 5, 9};
  EXPECT_EQ(3, findFirstSorted(sorted, 6, 5));
  EXPECT_EQ(1, findFirstSorted(sorted, 6, 0));
  EXPECT_EQ(6, findFirstSorted(sorted, 6, 9));
  EXPECT_EQ(0, findFirstSorted(sorted, 6, 4));
  EXPECT_EQ(0, findFirstSorted(sorted, 6, 10));
  EXPECT_EQ(0, findFirstSorted(sorted, 6, -1));
  const short one[] = {0, 42};
  EXPECT_EQ(1, findFirstSorted(one, 1, 42));
  EXPECT_EQ(0, findFirstSorted(one, 1, 41));
}

}  // namespace
}  // namespace engine
