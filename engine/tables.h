// The tables of the engine: the reference data, what is derived from it at
// start-up, and one sample as scoring takes it. Each is a plain struct, owned
// by the program (see Tables below) and passed by reference to the routines
// that use it. Arrays are 1-based: element 0 is never used, so species
// numbers, community numbers and class codes index them directly.
#pragma once

#include <array>
#include <string>

namespace engine {

constexpr int kMaxNames = 3000;  // dictionary entries, reserved ones included
constexpr int kMaxDictRecords = kMaxNames - 2;
constexpr int kMaxTableEntries = 50000;  // association-table entries
constexpr int kMaxCommunities = 900;
constexpr int kClassCodes = 50;
constexpr int kConstancyClasses = 5;
constexpr int kDominValues = 10;
constexpr int kMaxCover = 100;  // percent
constexpr int kMaxSampleEntries = 300;
constexpr int kMaxOutput = 99;        // communities in a report
constexpr int kNewNumberBase = 9000;  // the last new species number at the start of a run

constexpr int kSpeciesPlaces = 32768;  // species numbers 0..32767, all a short holds

/// Species dictionary: entries 1 and 2 are "NEW NAME " and "DELETE   ".
struct Dictionary {
  std::array<short, kMaxNames + 1> species_number{};
  std::array<short, kMaxNames + 1> sorted_species_number{};
  std::array<short, kMaxNames + 1> sorted_entry{};
  std::array<std::string, kMaxNames + 1> species_name;  // 9-character keys
};

/// The association-table entries of each dictionary entry, first to last
/// (indexed by dictionary entry; 0 = none).
struct EntryRanges {
  std::array<int, kMaxNames + 1> first_entry{};
  std::array<int, kMaxNames + 1> last_entry{};
};

/// Association-table entries: the community number and the class code of
/// entry e.
struct TableEntries {
  std::array<short, kMaxTableEntries + 1> entry_community{};
  std::array<short, kMaxTableEntries + 1> entry_class{};
};

/// Counts per constancy class g and community k, indexed [g][k]: one row of
/// communities per class, so that scoring runs down a class at a time.
using ClassCounts = std::array<std::array<short, kMaxCommunities + 1>, kConstancyClasses + 1>;
using PerCommunity = std::array<float, kMaxCommunities + 1>;
using Texts = std::array<std::string, kMaxCommunities + 1>;

/// Class counts of the tables (built once) and of the sample being scored.
/// `weighted_table_count` holds each table count times the weight of its
/// class, as scoring compares it with the sample's (built once with them).
struct CommunityClassCounts {
  ClassCounts table_class_count{};
  ClassCounts sample_class_count{};
  std::array<PerCommunity, kConstancyClasses + 1> weighted_table_count{};
};

/// One sample's results per community: the four partial coefficients, in
/// the order they are weighted and printed, and the goodness of fit. Each
/// lies in 0..1.
struct Scores {
  PerCommunity fit_score{};
  PerCommunity community_composition_fit{};
  PerCommunity sample_composition_fit{};
  PerCommunity community_cover_fit{};
  PerCommunity sample_cover_fit{};
};

/// The normalisers of the coefficients, per community: built once from the
/// tables.
struct CommunityNorms {
  PerCommunity composition_norm{};
  PerCommunity mean_constancy{};
  PerCommunity mean_cover_constancy{};
  PerCommunity cover_norm{};
};

/// The community cross-reference: NVC code, names and EUNIS habitat.
struct CrossReference {
  Texts nvc_code;           // 6 characters
  Texts community_name;     // 24 characters
  Texts subcommunity_name;  // 16 characters
  Texts eunis_code;         // 8 characters
  Texts eunis_name;         // 24 characters
};

/// What a class code (1..50) stands for: its constancy class, mean cover and
/// weights; and the weight of each constancy class.
struct ConversionTables {
  std::array<float, kConstancyClasses + 1> constancy_weight{};
  std::array<short, kClassCodes + 1> class_constancy{};
  std::array<float, kClassCodes + 1> class_mean_cover{};
  std::array<float, kClassCodes + 1> class_woodland_weight{};
  std::array<float, kClassCodes + 1> class_cover_weight{};
};

/// The reference tables and everything derived from them at start-up; filled
/// once, then only `name_count` and the dictionary grow (names added during
/// sample entry), and `scores` and the sample's class counts are rewritten
/// for every sample. One object per run, owned by the program.
struct Tables {
  Dictionary dictionary;
  EntryRanges entry_ranges;
  TableEntries entries;
  CommunityClassCounts class_counts;
  Scores scores;
  CommunityNorms norms;
  CrossReference cross_reference;
  ConversionTables conversion;
  int dict_size = 0;
  int name_count = 0;
  int n_communities = 0;
  int woodland_start = 0;
  std::array<short, kDominValues + 1> domin_percent{};
  std::array<float, kMaxCover + 1> cover_power{};
  /// The place of each species number in the sorted index, as
  /// findFirstSorted finds it (0: not there), for every number a short can
  /// hold: filled by prepareTables, so that scoring looks a species up in
  /// one step.
  std::array<short, kSpeciesPlaces> species_place{};
};

/// One sample as sample entry hands it to scoring: entries 1..sample_size.
struct Sample {
  std::string sample_name = std::string(8, ' ');
  std::array<short, kMaxSampleEntries + 1> sample_species{};
  std::array<short, kMaxSampleEntries + 1> sample_frequency{};
  std::array<short, kMaxSampleEntries + 1> sample_cover{};
  std::array<short, kMaxSampleEntries + 1> sample_entry_name{};
  int sample_size = 0;
  /// The sample's maximum frequency, 0 for a sample without frequency data:
  /// set once by the header phase and read from here by everything else.
  float max_frequency = 0;

  /// The maximum frequency as the species lines and the recap use it, a
  /// whole number 0..100.
  int maxFrequency() const { return static_cast<int>(max_frequency); }
};

}  // namespace engine
