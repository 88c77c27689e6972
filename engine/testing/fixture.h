// The set-up shared by the engine's unit tests: the fake console and file
// system, the tables and a sample, and builders of the reference files and
// of the dictionary.
#pragma once

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/testing/fakes.h"
#include "engine/tables.h"
#include "engine/refdata.h"

namespace engine::testing {

using Lines = std::vector<std::string>;

inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

using DictionaryNames = std::vector<std::pair<std::string, short>>;

/// Fills the dictionary without the file: the two reserved entries, then
/// `names` (in ascending order, to be searched) with their species numbers;
/// dict_size and name_count count them all. The sorted species index is
/// not built.
inline void loadDictionary(Dictionary& dict, int& dict_size, int& name_count,
                           const DictionaryNames& names) {
  dict.species_name[1] = "NEW NAME ";
  dict.species_name[2] = "DELETE   ";
  int i = 2;
  for (const auto& [name, number] : names) {
    ++i;
    dict.species_name[static_cast<std::size_t>(i)] = name;
    dict.species_number[static_cast<std::size_t>(i)] = number;
  }
  dict_size = name_count = i;
}

/// A small dictionary in ascending order: entries 3 to 10.
inline const DictionaryNames kSmallDictionary = {
    {"agro capi", 1},   // 3
    {"fagu     ", 50},  // 4
    {"fest ovin", 51},  // 5
    {"fest rubr", 52},  // 6
    {"fila     ", 60},  // 7
    {"fili ulma", 61},  // 8
    {"frag rese", 70},  // 9
    {"holc lana", 80}}; // 10

/// Adds `name` as a name added during a run, after the loaded entries.
inline void addDuringRun(Dictionary& dict, int& name_count, const std::string& name, short number) {
  ++name_count;
  dict.species_name[static_cast<std::size_t>(name_count)] = name;
  dict.species_number[static_cast<std::size_t>(name_count)] = number;
}

inline void loadDictionary(Tables& tables, const DictionaryNames& names) {
  loadDictionary(tables.dictionary, tables.dict_size, tables.name_count, names);
}

/// ASSOCTAB.txt for species records s = 1, 2, ... (numbered numbers[s - 1],
/// or s when `numbers` is empty), species s having the entries
/// species_entries[s - 1], each a (community number, class code) pair.
inline Lines assocTable(const std::vector<std::vector<std::pair<int, int>>>& species_entries,
                        const std::vector<int>& numbers = {}) {
  Lines assoc;
  Lines records;
  std::string line;
  int e = 0;
  for (std::size_t s = 0; s < species_entries.size(); ++s) {
    const int first = e + 1;
    for (auto [k, m] : species_entries[s]) {
      char entry[32];
      std::snprintf(entry, sizeof entry, "%3d%2d", k, m);
      line += entry;
      if (++e % 15 == 0) assoc.push_back(std::exchange(line, ""));
    }
    char record[48];
    std::snprintf(record, sizeof record, "%5d%5d%5d",
                  numbers.empty() ? static_cast<int>(s + 1) : numbers[s], first, e);
    records.push_back(record);
  }
  if (!line.empty()) assoc.push_back(line);
  char header[32];
  std::snprintf(header, sizeof header, "%5d%5zu", e, records.size());
  assoc.insert(assoc.begin(), header);
  return assoc + records;
}

/// NVCTYPES.txt with one record per code: a blank, the 6-character code, a
/// blank and the community name "Community".
inline Lines crossReference(const Lines& codes) {
  Lines types;
  for (const std::string& code : codes) types.push_back(" " + code + "  Community");
  return types;
}

/// Everything a unit test of the engine works on. Nothing is open until a
/// test asks for it.
struct Fixture {
  veg::testing::FakeConsole console;
  veg::testing::MemoryFileSystem fs;
  std::unique_ptr<Tables> tables = std::make_unique<Tables>();
  Sample sample;

  /// Puts SPECDICT.txt, ASSOCTAB.txt and NVCTYPES.txt in place.
  void putReferenceFiles(const Lines& dictionary, const Lines& assoc, const Lines& types) {
    fs.put("SPECDICT.txt", dictionary);
    fs.put("ASSOCTAB.txt", assoc);
    fs.put("NVCTYPES.txt", types);
  }
  /// Runs the three loaders, in the run's order, into `tables`.
  void loadReferenceFiles(int species_limit = 10000) {
    loadSpeciesDictionary(console, fs, *tables);
    loadAssociationTables(console, fs, species_limit, *tables);
    loadCrossReference(console, fs, *tables);
  }

  /// Whether `line` is among the screen lines, and how often.
  bool shown(const std::string& line) const { return count(line) > 0; }
  int count(const std::string& line) const {
    return static_cast<int>(std::count(console.output.begin(), console.output.end(), line));
  }
};

}  // namespace engine::testing
