// Species names as users write them in spreadsheets: full Latin names, in
// any case, with qualifiers and stratum suffixes, matched against the full
// taxon names and synonyms of the reference data, then by the 4+4 name key
// of the species dictionary.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/tables.h"

namespace vegfit {

/// `name` in the form in which names are compared: A-Z folded to a-z, tabs
/// and runs of blanks made one blank, no leading or trailing blanks, and
/// without the qualifiers "agg.", "s.l.", "s.lat.", "s. lat.", "sens. lat.",
/// "sensu lato", "s.str.", "sens. str.", "sensu stricto" and the stratum
/// suffixes "(c)", "(s)" and "(g)" (canopy, shrub and ground layer), which
/// name no other species.
std::string normalName(std::string_view name);

/// The 4+4 name key of a name, as the species line parser forms it from its
/// first two words (in normal form).
std::string nameKey(std::string_view name);

/// `name` as it is shown: blanks made single, stratum suffixes dropped,
/// letter case and qualifiers kept ("Rubus fruticosus agg.").
std::string shownForm(std::string_view name);

/// The edit distance of two names (insertions, deletions and replacements
/// of one character), or `limit` + 1 when it is larger than `limit`.
int editDistance(std::string_view a, std::string_view b, int limit);

/// Hashing for maps with std::string keys that are searched with
/// std::string_view (no string made for a look-up). Eight bytes at a time:
/// names are looked up once for every input line.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, s.data() + i, 8);
      h = (h ^ word) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, s.data() + i, s.size() - i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};

/// Numbers (0, 1, ...) of things found again by their hash: an
/// open-addressing table of numbers and hashes, the things themselves
/// being compared where the caller holds them, so that nothing is copied
/// for a look-up. Met once for every line of a large input.
class HashIndex {
 public:
  /// The number whose hash is `hash` and for which `same` holds, or -1.
  template <class Same>
  int find(std::size_t hash, Same same) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i].number >= 0; i = (i + 1) & mask)
      if (slots_[i].hash == hash && same(slots_[i].number)) return slots_[i].number;
    return -1;
  }
  /// Adds `number`, not there yet, under `hash`.
  void add(std::size_t hash, int number) {
    if (2 * (used_ + 1) > slots_.size()) grow();
    place(hash, number);
    ++used_;
  }

 private:
  struct Slot {
    std::size_t hash = 0;
    int number = -1;  // -1: free
  };
  void place(std::size_t hash, int number) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].number >= 0) i = (i + 1) & mask;
    slots_[i] = {hash, number};
  }
  void grow() {
    std::vector<Slot> old(2 * slots_.size());
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.number >= 0) place(slot.hash, slot.number);
  }

  std::vector<Slot> slots_ = std::vector<Slot>(1024);  // a power of 2 long
  std::size_t used_ = 0;
};

/// The full names and synonyms of the reference data, each standing for a
/// species number.
class NameIndex {
 public:
  /// A species number for names that stand for two species.
  static constexpr int kAmbiguous = -1;

  /// Adds `name` for species `species_number`. The name shown for a number
  /// is the first added as its `own` name, or else the first added. A name
  /// that is already there for another number afterwards stands for
  /// neither.
  void add(std::string_view name, int species_number, bool own = false);

  /// The species number of a name in normal form (normalName), 0 when the
  /// index does not hold it, kAmbiguous when it stands for two species.
  int find(std::string_view normal) const;
  /// The species an ambiguous name in normal form may stand for, in the
  /// order they were added; empty for any other name.
  std::vector<int> candidates(std::string_view normal) const;
  /// The place (1, 2, ...) of a name in normal form among the names of the
  /// index, 0 when it is not there.
  int place(std::string_view normal) const;
  /// The name shown for a species number; empty when the index has none.
  const std::string& shownName(int species_number) const;

  /// Up to `count` names of the index close to `normal` (edit distance at
  /// most a third of its length, and at least 2), closest first, each in
  /// its shown form.
  std::vector<std::string> closeNames(std::string_view normal, std::size_t count) const;

  bool empty() const { return names_.empty(); }
  std::size_t size() const { return names_.size(); }

 private:
  struct Entry {
    std::string normal;
    std::string shown;
    int species_number;
    std::vector<int> candidates;  // of an ambiguous name
  };
  std::vector<Entry> names_;
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> place_;  // 1-based
  struct Shown {
    std::string name;
    bool own;
  };
  std::unordered_map<int, Shown> shown_;
};

/// Fills `index` from the lines of NAMES.txt, the names table of the
/// reference data: each line the species number in columns 1-4, "*" in
/// column 5 on the species' own name, the species' dictionary key in
/// columns 6-14 and a name from column 16. A species is shown by its own
/// name; in a table without marks, by its first name whose natural key is
/// its dictionary key. False, with `error` naming the line, for a line that does not read.
bool parseNameTable(const std::vector<std::string>& lines, NameIndex& index, std::string& error);

/// `name` without the authority words a botanical name may carry after
/// its epithets: words after the first that begin with a capital letter or
/// "(" (with what the parenthesis holds), and "ex", "&", "et", "auct." and
/// "non" ("Festuca rubra L." "Festuca rubra", "Arrhenatherum elatius (L.)
/// P.Beauv. ex J.Presl & C.Presl" "Arrhenatherum elatius").
std::string withoutAuthority(std::string_view name);

/// The species of an infraspecific name in normal form: the words before
/// its rank ("subsp.", "ssp.", "var.", "f."), or empty for a name without
/// one ("festuca ovina subsp. hirtula" "festuca ovina").
std::string speciesOfInfraspecific(std::string_view normal);

/// What a name in the input stands for.
struct Match {
  int species_number = 0;   // 0: no species
  short identity = 0;       // the entry as sample entry keeps it apart
  bool by_key = false;      // found by its name key, not by its full name
  bool ambiguous = false;   // stands for two or more species; scored as none
  bool as_species = false;  // an infraspecific name scored as its species
  int unmatched_as = -1;    // no species: the first spelling with its name key
};

/// Matches the names of the input against the names table and the
/// species dictionary, remembering every spelling it has seen, so that a
/// name met again costs one hash look-up.
class NameMatcher {
 public:
  NameMatcher(const NameIndex& index, const engine::Tables& tables);

  /// The number of a spelling (0, 1, ...), matched the first time it is met.
  int spelling(std::string_view name);
  const Match& match(int spelling) const { return matches_[static_cast<std::size_t>(spelling)]; }
  const std::string& text(int spelling) const { return texts_[static_cast<std::size_t>(spelling)]; }
  /// The spellings seen so far: numbers 0 up to this.
  int spellings() const { return static_cast<int>(texts_.size()); }

  /// The name shown for a species: its name in the names table, or else
  /// `fallback`.
  std::string shownName(int species_number, std::string_view fallback) const;
  /// Up to three names of the reference data close to an unmatched name:
  /// from the names table, or from the dictionary keys when there is none.
  std::vector<std::string> closeNames(std::string_view name) const;
  /// The shown names of the species an ambiguous spelling may stand for.
  std::vector<std::string> candidates(int spelling) const;

 private:
  Match resolve(const std::string& written) const;
  Match resolveNormal(const std::string& normal) const;

  const NameIndex& index_;
  const engine::Tables& tables_;
  // The spellings seen, by number, and a table of them: every input line
  // looks its name up here.
  std::vector<Match> matches_;
  std::vector<std::string> texts_;
  HashIndex spellings_;
  // The first unmatched spelling of each name key.
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> unmatched_keys_;
};

}  // namespace vegfit
