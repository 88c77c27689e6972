#include "decksave/species_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/testing/fakes.h"

namespace decksave {
namespace {

SpeciesName name9(const std::string& text) {
  SpeciesName name;
  for (int i = 0; i < kNameLength; ++i) name[i] = text.at(i);
  return name;
}

struct SpeciesDictionaryTest : ::testing::Test {
  veg::testing::FakeConsole console;
  std::unique_ptr<SpeciesDictionary> dictionary = std::make_unique<SpeciesDictionary>();
  int count = 0;

  int look(const std::string& text, int capacity = kDictionarySize) {
    int number = -1;
    findOrAddSpecies(console, *dictionary, capacity, count, name9(text), number);
    return number;
  }
};

TEST_F(SpeciesDictionaryTest, NumbersFollowTheFirstOccurrence) {
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(2, look("agro capi"));
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(3, look("plan lanc"));
  EXPECT_EQ(2, look("agro capi"));
  EXPECT_EQ(3, count);
  EXPECT_EQ(name9("fest rubr"), dictionary->species_name[1]);
  EXPECT_EQ(name9("agro capi"), dictionary->species_name[2]);
  EXPECT_EQ(name9("plan lanc"), dictionary->species_name[3]);
  EXPECT_TRUE(console.output.empty());
}

TEST_F(SpeciesDictionaryTest, ComparisonIsExactOverAllNineCharacters) {
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(2, look("Fest rubr"));
  EXPECT_EQ(3, look("fest rub "));
  EXPECT_EQ(4, look("festxrubr"));
  EXPECT_EQ(5, look("         "));
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(5, count);
}

TEST_F(SpeciesDictionaryTest, FullDictionaryStopsWithItsLineAndStoresNothing) {
  EXPECT_EQ(1, look("fest rubr", 2));
  EXPECT_EQ(2, look("agro capi", 2));
  EXPECT_EQ(2, look("agro capi", 2));  // a known name is still found
  int number = -1;
  EXPECT_THROW(findOrAddSpecies(console, *dictionary, 2, count, name9("quer robu"), number),
               veg::StopRun);
  EXPECT_EQ(std::vector<std::string>{" Dictionary now full.  Item quer robuNumber      2"},
            console.output);
  EXPECT_EQ(name9("agro capi"), dictionary->species_name[2]);
  EXPECT_EQ(SpeciesName{}, dictionary->species_name[3]);
}

TEST_F(SpeciesDictionaryTest, TheWholeCapacityCanBeFilled) {
  char text[16];
  for (int i = 1; i <= kDictionarySize; ++i) {
    std::snprintf(text, sizeof text, "n%04d    ", i);
    ASSERT_EQ(i, look(text));
  }
  EXPECT_EQ(1234, look("n1234    "));
  EXPECT_THROW(look("one more "), veg::StopRun);
  EXPECT_EQ(" Dictionary now full.  Item one more Number   5000", console.output.back());
}

TEST_F(SpeciesDictionaryTest, ACountSetBackForgetsTheLaterNames) {
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(2, look("agro capi"));
  EXPECT_EQ(3, look("plan lanc"));
  count = 1;
  EXPECT_EQ(2, look("plan lanc"));  // entry 3 is no longer in the dictionary
  EXPECT_EQ(3, look("agro capi"));
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(2, look("plan lanc"));
  EXPECT_EQ(3, count);
}

// Names that share their first letters, so that many fall close together in
// the index: every one keeps the number of its first occurrence.
TEST_F(SpeciesDictionaryTest, ManySimilarNamesAgainstAStraightScan) {
  std::vector<std::string> seen;
  char text[16];
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 1500; i += 1 + round) {
      std::snprintf(text, sizeof text, "aaaa %04d", (i * 7919) % 1500);
      const std::string name = text;
      auto at = std::find(seen.begin(), seen.end(), name);
      const int expected = at == seen.end() ? static_cast<int>(seen.size()) + 1
                                            : static_cast<int>(at - seen.begin()) + 1;
      if (at == seen.end()) seen.push_back(name);
      ASSERT_EQ(expected, look(name)) << name;
    }
  }
  EXPECT_EQ(static_cast<int>(seen.size()), count);
}

}  // namespace
}  // namespace decksave
