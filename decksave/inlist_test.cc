#include "decksave/inlist.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/testing/fakes.h"

namespace decksave {
namespace {

SpeciesName name9(const std::string& text) {
  SpeciesName name;
  for (int i = 0; i < kNameLength; ++i) name[i] = text.at(i);
  return name;
}

struct InlistTest : ::testing::Test {
  veg::testing::FakeConsole console;
  std::unique_ptr<dict1> dictionary = std::make_unique<dict1>();
  int count = 0;

  int look(const std::string& text, int capacity = kDictionarySize) {
    int number = -1;
    inlist(console, *dictionary, capacity, count, name9(text), number);
    return number;
  }
};

TEST_F(InlistTest, NumbersFollowTheFirstOccurrence) {
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

TEST_F(InlistTest, ComparisonIsExactOverAllNineCharacters) {
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(2, look("Fest rubr"));
  EXPECT_EQ(3, look("fest rub "));
  EXPECT_EQ(4, look("festxrubr"));
  EXPECT_EQ(5, look("         "));
  EXPECT_EQ(1, look("fest rubr"));
  EXPECT_EQ(5, count);
}

TEST_F(InlistTest, FullDictionaryStopsWithItsLineAndStoresNothing) {
  EXPECT_EQ(1, look("fest rubr", 2));
  EXPECT_EQ(2, look("agro capi", 2));
  EXPECT_EQ(2, look("agro capi", 2));  // a known name is still found
  int number = -1;
  EXPECT_THROW(inlist(console, *dictionary, 2, count, name9("quer robu"), number), veg::StopRun);
  EXPECT_EQ(
      std::vector<std::string>{" Dictionary now full.  Item quer robuNumber      2"},
      console.output);
  EXPECT_EQ(name9("agro capi"), dictionary->species_name[2]);
  EXPECT_EQ(SpeciesName{}, dictionary->species_name[3]);
}

TEST_F(InlistTest, TheWholeCapacityCanBeFilled) {
  char text[16];
  for (int i = 1; i <= kDictionarySize; ++i) {
    std::snprintf(text, sizeof text, "n%04d    ", i);
    ASSERT_EQ(i, look(text));
  }
  EXPECT_EQ(1234, look("n1234    "));
  EXPECT_THROW(look("one more "), veg::StopRun);
  EXPECT_EQ(" Dictionary now full.  Item one more Number   5000", console.output.back());
}

}  // namespace
}  // namespace decksave
