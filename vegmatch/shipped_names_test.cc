// The name menu over the shipped dictionary data/SPECDICT.txt: the species
// pairs whose natural keys coincide are both reachable, and a bare shared
// key read from a datafile stands for no species.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>

#include "common/testing/fakes.h"
#include "common/testing/program.h"
#include "engine/names.h"
#include "engine/refdata.h"
#include "engine/testing/shared_keys.h"
#include "vegmatch/name_menu.h"

namespace vegmatch {
namespace {

using engine::testing::kSharedKeyPairs;


struct ShippedNamesTest : ::testing::Test {
  veg::testing::MemoryFileSystem fs;
  std::unique_ptr<engine::Tables> tables = std::make_unique<engine::Tables>();
  std::map<std::string, int> key_number;  // the dictionary's records

  ShippedNamesTest() {
    std::ifstream in(veg::testing::sourceFile("data/SPECDICT.txt"), std::ios::binary);
    std::vector<std::string> specdict;
    for (std::string line; std::getline(in, line);) {
      specdict.push_back(line);
      key_number[line.substr(5, 9)] = std::stoi(line.substr(0, 4));
    }
    fs.put("SPECDICT.txt", specdict);
    veg::testing::FakeConsole loading;
    engine::loadSpeciesDictionary(loading, fs, *tables);
  }
};

// The shared key of each pair brings up the menu, which offers both special
// keys.
TEST_F(ShippedNamesTest, EveryPairIsReachableThroughTheNameMenu) {
  for (const auto& pair : kSharedKeyPairs) {
    SCOPED_TRACE(pair[0]);
    int upper = 0, lower = 0;
    EXPECT_EQ(0, engine::bisectNames(tables->dictionary.species_name, tables->dict_size, pair[0],
                                     upper, lower));
    for (int member : {1, 3}) {
      // first the menu alone (RETURN deletes the line), to find the choice
      veg::testing::FakeConsole console({""});
      Io io(console, fs);
      RecapGrid grid;
      std::string key = pair[0];
      int names = tables->name_count;
      EXPECT_EQ(0, resolveUnknownName(io, key, tables->dictionary, names, tables->dict_size, 0, grid));
      int choice = 0;
      for (const std::string& line : console.output) {
        std::size_t at = line.find(" " + pair[member + 1]);
        if (at != std::string::npos && at >= 2) choice = std::stoi(line.substr(at - 2, 2));
      }
      ASSERT_GT(choice, 2) << pair[member + 1] << " not offered";
      // then the choice itself
      veg::testing::FakeConsole chooser({std::to_string(choice)});
      Io chosen(chooser, fs);
      key = pair[0];
      int entry = resolveUnknownName(chosen, key, tables->dictionary, names, tables->dict_size, 0, grid);
      ASSERT_GT(entry, 2);
      EXPECT_EQ(key_number.at(pair[member + 1]),
                tables->dictionary.species_number[static_cast<std::size_t>(entry)]);
      EXPECT_EQ(pair[member + 1], key);
      EXPECT_EQ(tables->name_count, names) << "no name added";
    }
  }
}

// A datafile line with the bare shared key: the name is not in the
// dictionary, rather than a wrong species.
TEST_F(ShippedNamesTest, BareSharedKeyInADatafileIsNotInTheDictionary) {
  veg::testing::FakeConsole console;
  Io io(console, fs);
  io.answers = fs.createNew("VEGMOUT.txt");
  RecapGrid grid;
  std::string key = "rume acet";
  int names = tables->name_count;
  int entry = resolveUnknownName(io, key, tables->dictionary, names, tables->dict_size, 4, grid);
  EXPECT_EQ(tables->name_count + 1, entry);  // added as a new name
  EXPECT_EQ("     *** Name not in dictionary ***  rume acet", fs.lines("VEGMOUT.txt").at(0));
}

}  // namespace
}  // namespace vegmatch
