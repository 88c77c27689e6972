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
// Where the natural keys of two or more species coincide, the key stands for
// none of them: typed, it brings up the name menu, which offers every key
// with the same first and sixth characters. Each of those species gets a
// special key that keeps the genus part and the first letter of the
// epithet, so the menu offers it, and that tells the species apart:
//   1. species whose epithets differ take as epithet part the first letter
//      of the epithet and its last three letters (Rumex acetosa "rume aosa",
//      Rumex acetosella "rume alla");
//   2. species with the same epithet in two genera take its first three
//      letters and the first letter in which their genus differs from the
//      other's (Plagiomnium undulatum "plag undm", Plagiothecium undulatum
//      "plag undt");
//   3. genus-only names take the fifth to eighth letters of the genus
//      (Cladonia "clad onia", Cladophora "clad opho"); the menu of a genus
//      typed alone offers every key of the genus part.
// A key that is another species' natural key or is already given is passed
// over for the first free of: the first three letters of the epithet (of
// the genus' rest) and a digit 2..9.
#pragma once

#include <map>
#include <set>
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

/// The natural keys that two or more of `names` share; they stand for none
/// of those species.
std::set<std::string> sharedKeys(const std::vector<std::string>& names);

/// The key of every species of `names` (same order): its natural key, or a
/// special key by the rule above where the natural key is shared. Throws
/// std::runtime_error when no candidate is free.
std::vector<std::string> assignKeys(const std::vector<std::string>& names);

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
/// unless that key belongs to another species, is one of the `shared` keys
/// (which stand for no species) or would stand for synonyms of two species.
/// Sorted by key in byte order, each key once.
std::vector<DictRecord> buildDictionary(const std::vector<std::string>& keys,
                                        const std::vector<Synonym>& synonyms,
                                        const std::set<std::string>& shared = {});

}  // namespace nvcdata
