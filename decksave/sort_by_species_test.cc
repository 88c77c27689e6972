#include "decksave/sort_by_species.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace decksave {
namespace {

struct Entries {
  std::vector<int> species{0};
  std::vector<float> values{0};
  void add(int s, float v) {
    species.push_back(s);
    values.push_back(v);
  }
  int count() const { return static_cast<int>(species.size()) - 1; }
  void sort() { sortBySpeciesNumber(species.data(), values.data(), count()); }
};

// The expectations below were worked through the heap steps by hand: the
// heap is built by insertion, then the top is swapped out and the last
// entry sifted down.
TEST(SortBySpeciesNumberTest, EqualSpeciesNumbersComeOutInTheHeapsOrder) {
  Entries e;
  e.add(2, 1.0f);
  e.add(1, 2.0f);
  e.add(2, 3.0f);
  e.sort();
  EXPECT_EQ((std::vector<int>{0, 1, 2, 2}), e.species);
  EXPECT_EQ((std::vector<float>{0, 2.0f, 3.0f, 1.0f}), e.values);
}

TEST(SortBySpeciesNumberTest, ThreeEqualNumbers) {
  Entries e;
  e.add(3, 1.0f);
  e.add(3, 2.0f);
  e.add(3, 3.0f);
  e.sort();
  EXPECT_EQ((std::vector<float>{0, 2.0f, 3.0f, 1.0f}), e.values);
}

TEST(SortBySpeciesNumberTest, FiveEntriesWithTwoPairs) {
  Entries e;
  e.add(5, 1.0f);
  e.add(3, 2.0f);
  e.add(5, 3.0f);
  e.add(1, 4.0f);
  e.add(3, 5.0f);
  e.sort();
  EXPECT_EQ((std::vector<int>{0, 1, 3, 3, 5, 5}), e.species);
  EXPECT_EQ((std::vector<float>{0, 4.0f, 5.0f, 2.0f, 3.0f, 1.0f}), e.values);
}

TEST(SortBySpeciesNumberTest, OneEntryAndNoneAreLeftAlone) {
  Entries one;
  one.add(7, 1.5f);
  one.sort();
  EXPECT_EQ((std::vector<int>{0, 7}), one.species);
  EXPECT_EQ((std::vector<float>{0, 1.5f}), one.values);
  Entries none;
  none.sort();
  EXPECT_EQ(std::vector<int>{0}, none.species);
}

TEST(SortBySpeciesNumberTest, AlreadySortedAndReversed) {
  Entries up, down;
  for (int i = 1; i <= 9; ++i) {
    up.add(i, static_cast<float>(i));
    down.add(10 - i, static_cast<float>(10 - i));
  }
  up.sort();
  down.sort();
  EXPECT_EQ(up.species, down.species);
  EXPECT_EQ(up.values, down.values);
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(static_cast<float>(up.species[i]), up.values[i]);
}

// Random samples against a reference sort: the species numbers come out in
// ascending order and every value stays with its own species number (the
// order among equal numbers is the heap's own, checked above).
TEST(SortBySpeciesNumberTest, RandomSamplesAgainstAReferenceSort) {
  std::mt19937 random(20260901);
  for (int trial = 0; trial < 500; ++trial) {
    const int n = 1 + static_cast<int>(random() % 80);
    const int range = trial % 2 == 0 ? 8 : 5000;  // many repeats or hardly any
    Entries e;
    std::vector<std::pair<int, float>> reference;
    for (int i = 1; i <= n; ++i) {
      const int s = 1 + static_cast<int>(random() % range);
      const float v = static_cast<float>(i);  // tags the entry
      e.add(s, v);
      reference.emplace_back(s, v);
    }
    e.sort();
    std::vector<int> keys;
    for (const auto& [s, v] : reference) keys.push_back(s);
    std::sort(keys.begin(), keys.end());
    std::vector<std::pair<int, float>> after;
    for (int i = 1; i <= n; ++i) {
      ASSERT_EQ(keys[i - 1], e.species[i]) << "trial " << trial << " place " << i;
      after.emplace_back(e.species[i], e.values[i]);
    }
    std::sort(reference.begin(), reference.end());
    std::sort(after.begin(), after.end());
    ASSERT_EQ(reference, after) << "trial " << trial;
  }
}

}  // namespace
}  // namespace decksave
