// Species and their dictionary keys.
//
// A species is the binomial of a taxon name: its first two words, after the
// stratum suffix "(c)", "(s)" or "(g)" is removed; subspecies, varieties,
// aggregates and hybrids ("Betula pendula x pubescens = B. x aurata") thus
// belong to the binomial they are named after, and a genus-only name
// ("Cladonia") is a species of its own.
//
// The natural key of a name is the 9-character key that typing the name
// gives: the first four characters of the first word, a blank and the first
// four of the second, folded to lower case and blank-padded.
//
// Where the natural keys of several species coincide, the species with the
// most association-table entries keeps the key (on a tie the one whose name
// sorts first) and every other one gets a special key. A special key keeps
// the genus part and takes as its epithet part the first of these that no
// species holds as its natural key and no other species has been given:
//   1. the first three letters of the epithet and its last letter
//      (Rumex acetosella: "rume acea");
//   2. the first two letters of the epithet and its last two;
//   3. the first three letters of the epithet and a digit 2..9.
// A genus-only name takes the fifth to eighth letters of the genus instead
// (Cladophora: "clad opho"), then the first three of them and a digit.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace nvcdata {

constexpr std::size_t kKeyWidth = 9;

/// `name` without a trailing stratum suffix "(c)", "(s)" or "(g)".
std::string stripStratum(const std::string& name);

/// The species a taxon name belongs to: the first two words of the name
/// without its stratum suffix (one word for a genus-only name).
std::string speciesOf(const std::string& taxon);

/// The key that typing `name` gives (stratum suffix removed first): first
/// four characters of word 1, blank, first four of word 2, in lower case;
/// a second word that begins with a digit is not a name word.
std::string naturalKey(const std::string& name);

/// One species competing for keys: its name and its number of table entries.
struct KeyClaim {
  std::string name;
  int entries = 0;
};

/// The key of every species (same order as `species`): the natural key, or
/// a special key by the rule above. Throws std::runtime_error when no
/// candidate is free.
std::vector<std::string> assignKeys(const std::vector<KeyClaim>& species);

/// A different original name of a species, to be offered as a synonym.
struct Synonym {
  std::string original_name;
  std::size_t species;  // index into the species list
};

/// One record of the dictionary file.
struct DictRecord {
  std::string key;
  std::size_t species;  // index into the species list
  bool operator==(const DictRecord&) const = default;
};

/// The dictionary: the key of every species (`keys`, from assignKeys), and
/// the natural key of every synonym that differs from its species' key,
/// unless that key belongs to another species or would stand for synonyms of
/// two species. Sorted by key in byte order, each key once.
std::vector<DictRecord> buildDictionary(const std::vector<std::string>& keys,
                                        const std::vector<Synonym>& synonyms);

}  // namespace nvcdata
