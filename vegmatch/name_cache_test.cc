#include "vegmatch/name_cache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vegmatch {
namespace {

using engine::Dictionary;
using engine::kMaxNames;

struct NameCacheTest : ::testing::Test {
  std::unique_ptr<Dictionary> dict = std::make_unique<Dictionary>();
  NameCache cache;

  // Entries 1 and 2 reserved, then `names`; returns the dictionary size.
  int put(const std::vector<std::string>& names) {
    dict->species_name[1] = "NEW NAME ";
    dict->species_name[2] = "DELETE   ";
    int i = 2;
    for (const std::string& name : names) dict->species_name[static_cast<std::size_t>(++i)] = name;
    return i;
  }
};

// Each key gives the entry findName gives, the first time and again: a
// name of the dictionary, an unknown key, a key of another width.
TEST_F(NameCacheTest, KeysAreFoundAsFindNameFindsThem) {
  const int n = put({"aaaa bbbb", "cccc dddd", "eeee ffff"});
  const struct {
    std::string key;
    int entry;
  } cases[] = {{"cccc dddd", 4}, {"zzzz zzzz", 0}, {"aaaa bbbb", 3},
               {"eeee ffff", 5}, {"cccc", 0},      {"DELETE   ", 2}};
  for (int twice = 0; twice < 2; ++twice) {
    for (const auto& c : cases) EXPECT_EQ(c.entry, cache.findName(*dict, n, n, c.key)) << c.key;
  }
}

// A name added during the run is found, but not kept: once its entry
// holds another name, the key is unknown again.
TEST_F(NameCacheTest, NamesAddedDuringTheRunAreNotKept) {
  const int n = put({"aaaa bbbb"});
  dict->species_name[4] = "gggg hhhh";
  EXPECT_EQ(4, cache.findName(*dict, n, n + 1, "gggg hhhh"));
  dict->species_name[4] = "iiii jjjj";
  EXPECT_EQ(0, cache.findName(*dict, n, n + 1, "gggg hhhh"));
  EXPECT_EQ(4, cache.findName(*dict, n, n + 1, "iiii jjjj"));
}

// Out of order, the bisection passes a name over; so does the cache.
TEST_F(NameCacheTest, NamesTheBisectionMissesStayMissed) {
  const int n = put({"zzzz zzzz", "aaaa bbbb"});
  EXPECT_EQ(0, cache.findName(*dict, n, n, "aaaa bbbb"));
  EXPECT_EQ(0, cache.findName(*dict, n, n, "aaaa bbbb"));
}

// A full dictionary: every name is found at its entry, also beyond the
// names the cache keeps.
TEST_F(NameCacheTest, EveryNameOfAFullDictionaryIsFound) {
  std::vector<std::string> names;
  for (int i = 3; i <= kMaxNames; ++i) names.push_back("n" + std::to_string(10000 + i).substr(1) + " xxx");
  const int n = put(names);
  ASSERT_EQ(kMaxNames, n);
  for (int twice = 0; twice < 2; ++twice) {
    for (int i = 3; i <= n; ++i) {
      EXPECT_EQ(i, cache.findName(*dict, n, n, names[static_cast<std::size_t>(i - 3)])) << i;
    }
  }
}

}  // namespace
}  // namespace vegmatch
