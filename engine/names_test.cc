#include "engine/names.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/testing/fixture.h"

namespace engine {
namespace {

struct NamesTest : ::testing::Test {
  std::unique_ptr<Tables> tables = std::make_unique<Tables>();
  Dictionary& dict = tables->dictionary;
  int& dict_size = tables->dict_size;
  int& name_count = tables->name_count;

  // The two reserved entries, then `names` (already in ascending order).
  void load(const testing::DictionaryNames& names) {
    testing::loadDictionary(dict, dict_size, name_count, names);
  }
  void addDuringRun(const std::string& name, short number) {
    testing::addDuringRun(dict, name_count, name, number);
  }
  void loadSmall() { load(testing::kSmallDictionary); }
};

TEST_F(NamesTest, BisectNamesFindsEveryLoadedKey) {
  loadSmall();
  for (int i = 3; i <= dict_size; ++i) {
    int upper = 0, lower = 0;
    EXPECT_EQ(i, bisectNames(dict.species_name, dict_size, dict.species_name[i], upper, lower)) << i;
  }
}

TEST_F(NamesTest, BisectNamesMissingKeyGivesZeroAndBracketingBounds) {
  loadSmall();
  int upper = 0, lower = 0;
  EXPECT_EQ(0, bisectNames(dict.species_name, dict_size, "fest rubx", upper, lower));
  EXPECT_EQ(6, lower);  // fest rubr
  EXPECT_EQ(7, upper);  // fila
  EXPECT_EQ(0, bisectNames(dict.species_name, dict_size, "zzzz zzzz", upper, lower));
  EXPECT_EQ(9, lower);
  EXPECT_EQ(10, upper);
  EXPECT_EQ(0, bisectNames(dict.species_name, dict_size, "aaaa aaaa", upper, lower));
  EXPECT_EQ(2, lower);
  EXPECT_EQ(3, upper);
}

// Names shorter than eight characters, one with a byte 0, names sharing
// their first eight: each is found, and keys between them are bracketed,
// as comparing the texts orders them.
TEST_F(NamesTest, BisectNamesOrdersAsTheTextsWhateverTheirLength) {
  load({{"ab", 1},                  // 3
        {std::string("ab\0", 3), 2},  // 4
        {"abc", 3},                 // 5
        {"abcdefgh1", 4},           // 6
        {"abcdefgh2", 5},           // 7
        {"abcdefgh20", 6},          // 8
        {"abcdefghi", 7}});         // 9
  int upper = 0, lower = 0;
  for (int i = 3; i <= dict_size; ++i)
    EXPECT_EQ(i, bisectNames(dict.species_name, dict_size, dict.species_name[i], upper, lower)) << i;
  const struct {
    std::string key;
    int lower, upper;
  } missing[] = {{"a", 2, 3}, {"abcdefgh", 5, 6}, {"abcdefgh15", 6, 7}, {"abcdefgh3", 8, 9}};
  for (const auto& m : missing) {
    EXPECT_EQ(0, bisectNames(dict.species_name, dict_size, m.key, upper, lower)) << m.key;
    EXPECT_EQ(m.lower, lower) << m.key;
    EXPECT_EQ(m.upper, upper) << m.key;
  }
}

TEST_F(NamesTest, BisectNamesOverAnEmptyDictionaryTouchesOnlyTheReservedEntries) {
  load({});
  int upper = 0, lower = 0;
  EXPECT_EQ(0, bisectNames(dict.species_name, dict_size, "fest rubr", upper, lower));
  EXPECT_EQ(1, lower);
  EXPECT_EQ(2, upper);
}

TEST_F(NamesTest, BisectNamesNeverSearchesBeyondN) {
  loadSmall();
  int upper = 0, lower = 0;
  EXPECT_EQ(0, bisectNames(dict.species_name, 5, "holc lana", upper, lower));
  EXPECT_EQ(5, upper);
  EXPECT_EQ(0, bisectNames(dict.species_name, 0, "holc lana", upper, lower));
}

TEST_F(NamesTest, FindNameScansTheNamesAddedDuringTheRun) {
  loadSmall();
  addDuringRun("zebr xxxx", 9001);
  addDuringRun("abcd efgh", 9002);
  EXPECT_EQ(6, findName(dict, dict_size, name_count, "fest rubr"));
  EXPECT_EQ(12, findName(dict, dict_size, name_count, "abcd efgh"));
  EXPECT_EQ(0, findName(dict, dict_size, name_count, "abcd efgi"));
  EXPECT_EQ(0, findName(dict, dict_size, 11, "abcd efgh"));
}

}  // namespace
}  // namespace engine
