// The conversion of the public NVC source tables into the reference data of
// VEGMATCH: communities, species, association-table entries and dictionary.
//
// Communities are the units that have a floristic table, numbered group by
// group in byte order of the group codes (A, CG, H, M, MC, MG, OV, S, SD, SM,
// U, W), within a group by number, each community directly followed by its
// subcommunities in letter order. Species are numbered by group: vascular
// plants from 1, bryophytes from 3001, lichens from 4001, algae from 5001,
// each group in byte order of the species names.
#pragma once

#include <string>
#include <vector>

#include "common/csv.h"
#include "tools/namekey.h"

namespace nvcdata {

using veg::CsvTable;
using veg::SourceError;

/// The five public source tables, as copied into data/source, the hand-kept
/// table of synonyms and the synonyms of the UK Species Inventory.
struct Sources {
  CsvTable floristic;    // floristic_tables.csv
  CsvTable units;        // units.csv
  CsvTable taxa;         // taxa.csv
  CsvTable name_lookup;  // name_lookup.csv
  CsvTable eunis;        // eunis_correspondence.csv
  CsvTable synonyms;     // synonyms.csv: name, taxon, reason
  CsvTable uksi;         // uksi_synonyms.csv: name, taxon, also_means (and more)
  /// Reads the seven files from `dir` as published; throws SourceError.
  static Sources readPublished(const std::string& dir);
  /// The seven files of `dir` with the mends of `dir`/mends applied
  /// (tools/mends.h): what the builder converts. Throws SourceError.
  static Sources read(const std::string& dir);
};

/// An NVC unit code taken apart: "CG2a" is group "CG", number 2, letter 'a';
/// a community has letter ' '.
struct UnitCode {
  std::string group;
  int number = 0;
  char letter = ' ';
  std::string community() const { return group + std::to_string(number); }
};

/// Takes `code` apart; throws SourceError unless it is capitals, digits and
/// at most one small letter.
UnitCode parseUnitCode(const std::string& code);

/// The 6-column NVC code field: group right-justified in columns 1-2, number
/// right-justified in 3-4, letter in 5, blank in 6 ("CG 2a ", " W 1  ").
std::string nvcCodeField(const UnitCode& code);

/// Where two EUNIS correspondences of one community compete, the lower rank
/// of relationship wins: "is equal to" 0, "is contained in" 1, "overlaps
/// with" 2, "contains" 3, "relationship uncertain" 4; -1 for anything else.
int relationshipRank(const std::string& relationship);

enum class Group { kVascular, kBryophyte, kLichen, kAlga };

/// The group named in taxa.csv; throws SourceError for an unknown name.
Group parseGroup(const std::string& name);
/// The first species number of a group (1, 3001, 4001, 5001).
int firstNumber(Group group);
/// The largest species number a group may reach (3000, 4000, 5000, 9000).
int lastNumber(Group group);

struct Community {
  UnitCode code;
  std::string code_text;   // as in the source, "CG2a"
  std::string name;        // published community name
  std::string subname;     // published subcommunity name; empty for a community
  /// units.csv's full name; for a subcommunity without a row of its own, its
  /// community's full name followed by ", subcommunity e" (its letter).
  std::string fullname;
  std::string eunis_code;  // chosen correspondence; empty when none
  std::string eunis_name;
  std::string eunis_relationship;
};

/// A species in a community. Where several taxa of the species have rows in
/// the unit's table, their figures are merged: the highest constancy, the
/// lowest minimum and the highest maximum Domin cover.
struct Entry {
  int community = 0;  // 1-based community number
  int class_code = 0;
  int constancy = 0;  // the table's figures, merged
  int min_domin = 0;
  int max_domin = 0;
};

struct Species {
  std::string name;  // binomial, or genus for a genus-only name
  Group group = Group::kVascular;
  int number = 0;
  std::vector<Entry> entries;  // in community order
  std::string key;             // its dictionary key
  bool natural_key = true;     // false when its natural key is shared with another species
};

/// A full name that stands for a species: the species name itself, a taxon
/// name of the tables, an original name of name_lookup.csv, a synonym of
/// synonyms.csv, or a UKSI synonym of uksi_synonyms.csv; stratum suffixes
/// removed.
struct FullName {
  std::string name;
  std::size_t species = 0;  // index into the species list
  bool operator==(const FullName&) const = default;
};

struct ReferenceData {
  std::vector<Community> communities;  // community k at index k-1
  std::vector<Species> species;        // ascending species number
  std::vector<DictRecord> dictionary;  // ascending key
  /// The project's own full names (all but the UKSI synonyms), in byte order
  /// of name and species, each (name, species) once; a name that stands for
  /// two species is there for each.
  std::vector<FullName> full_names;
  /// The UKSI synonyms in ASCII, in the same order: the rows of
  /// uksi_synonyms.csv but those of a name that also stands for a taxon the
  /// tables lack (any row of its matching form with also_means) and those
  /// of a name that cannot be written in ASCII (Greek letters).
  std::vector<FullName> uksi_names;
  std::size_t entryCount() const;
};

/// Alternatives to the shipped conversion, for the evaluation tool to compare;
/// the defaults are what nvcbuild ships.
struct ConvertOptions {
  /// Cover of the class code: the maximum Domin cover of the table (shipped),
  /// the table's mean_domin column, or the midpoint of minimum and maximum
  /// (rounded up).
  enum class Cover { kMaximum, kMean, kMidpoint } cover = Cover::kMaximum;
  /// Entries of a lower constancy class are left out (1: none left out).
  int min_constancy = 1;
};

/// Converts the source tables; throws SourceError for data it cannot hold,
/// for a row of synonyms.csv that names no taxon of the tables, names a
/// species of the tables as its synonym, gives no reason or repeats a name,
/// and for a row of uksi_synonyms.csv without a name or whose taxon (written
/// without its stratum suffix) is no taxon of the tables.
ReferenceData convert(const Sources& src, const ConvertOptions& options = {});

/// 10 x (constancy - 1) + Domin cover, for constancy 1..5 and cover 1..10.
int classCode(int constancy, int domin);

}  // namespace nvcdata
