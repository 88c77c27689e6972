// The shared tables of VEGMATCH. Each block is a plain struct, owned by the
// program (see Tables below) and passed by reference to the routines that use
// it. Arrays are 1-based: element 0 is never used, so species numbers,
// community numbers and class codes index them directly.
#pragma once

#include <array>
#include <string>

namespace vegmatch {

constexpr int kMaxNames = 3000;  // dictionary entries, reserved ones included
constexpr int kMaxDictRecords = kMaxNames - 2;
constexpr int kMaxTableEntries = 50000;  // association-table entries
constexpr int kMaxCommunities = 900;
constexpr int kClassCodes = 50;
constexpr int kConstancyClasses = 5;
constexpr int kDominValues = 10;
constexpr int kMaxCover = 100;  // percent
constexpr int kMaxSampleEntries = 300;
constexpr int kMaxOutput = 99;  // communities in a report
constexpr int kHelpLines = 23;
constexpr int kNewNumberBase = 9000;       // last_new_number at the start of a run
constexpr int kDatafileExhausted = 10000;  // sample_count marking the end of the datafile
constexpr int kSpeciesPlaces = 32768;      // species numbers 0..32767, all a short holds

/// Species dictionary: entries 1 and 2 are "NEW NAME " and "DELETE   ".
struct calc1 {
  std::array<short, kMaxNames + 1> species_number{};
  std::array<short, kMaxNames + 1> sorted_species_number{};
  std::array<short, kMaxNames + 1> sorted_entry{};
  std::array<std::string, kMaxNames + 1> species_name;  // 9-character keys
};

/// Species-to-entries links, indexed by dictionary entry; 0 = none.
struct ccalc1 {
  std::array<int, kMaxNames + 1> first_entry{};
  std::array<int, kMaxNames + 1> last_entry{};
};

/// Association-table entries: community number of entry e.
struct dat1 {
  std::array<short, kMaxTableEntries + 1> entry_community{};
};

/// Association-table entries: class code of entry e.
struct dat3 {
  std::array<short, kMaxTableEntries + 1> entry_class{};
};

/// Counts per constancy class g and community k, indexed [g][k]: one row of
/// communities per class, so that scoring runs down a class at a time.
using ClassCounts = std::array<std::array<short, kMaxCommunities + 1>, kConstancyClasses + 1>;
using PerCommunity = std::array<float, kMaxCommunities + 1>;
using Texts = std::array<std::string, kMaxCommunities + 1>;

/// Class counts of the tables and of the sample, and the help page buffer.
struct calc2 {
  ClassCounts table_class_count{};
  ClassCounts sample_class_count{};
  std::array<std::string, kHelpLines + 1> help_line;  // 60 characters each
};

/// Scores and the first cross-reference texts.
struct calc3 {
  PerCommunity fit_score{};
  PerCommunity community_composition_fit{};
  PerCommunity sample_composition_fit{};
  Texts nvc_code;        // 6 characters
  Texts community_name;  // 24 characters
};

/// The remaining cross-reference texts.
struct calc4 {
  Texts subcommunity_name;  // 16 characters
  Texts eunis_code;         // 8 characters
  Texts eunis_name;         // 24 characters
};

/// Normalisers of the composition and cover coefficients.
struct calc5 {
  PerCommunity composition_norm{};
  PerCommunity mean_constancy{};
  PerCommunity mean_cover_constancy{};
  PerCommunity sample_cover_fit{};
};

/// Cover totals.
struct calc6 {
  PerCommunity cover_norm{};
  PerCommunity community_cover_fit{};
};

/// Class-code conversion tables.
struct convrt {
  std::array<float, kConstancyClasses + 1> constancy_weight{};
  std::array<short, kClassCodes + 1> class_constancy{};
  std::array<float, kClassCodes + 1> class_mean_cover{};
  std::array<float, kClassCodes + 1> class_woodland_weight{};
  std::array<float, kClassCodes + 1> class_cover_weight{};
};

/// Run parameters.
struct few {
  int analysis_type = 1;  // 1..5
  int cover_scale = 1;    // 1..3
  int last_new_number = kNewNumberBase;
  int sample_count = 1;
};

/// The four 40-character line buffers of sample entry.
struct cards {
  std::string input_line = std::string(40, ' ');
  std::string saved_line = std::string(40, ' ');
  std::string name_work = std::string(40, ' ');
  std::string field_work = std::string(40, ' ');
};

/// Recap grid (rows 1..15 of 3 cells of 21 characters) and the menu row.
struct captab {
  std::array<std::array<std::string, 4>, 21> recap_cell;
  std::array<std::string, 5> menu_choice;
};

/// The reference tables and everything derived from them at start-up; filled
/// once, then only `name_count` and the dictionary grow (names added during
/// sample entry). One object per run, owned by the driver.
struct Tables {
  vegmatch::calc1 calc1;
  vegmatch::ccalc1 ccalc1;
  vegmatch::dat1 dat1;
  vegmatch::dat3 dat3;
  vegmatch::calc2 calc2;
  vegmatch::calc3 calc3;
  vegmatch::calc4 calc4;
  vegmatch::calc5 calc5;
  vegmatch::calc6 calc6;
  vegmatch::convrt convrt;
  int dict_size = 0;
  int name_count = 0;
  int n_communities = 0;
  int woodland_start = 0;
  std::array<short, kDominValues + 1> domin_percent{};
  std::array<float, kMaxCover + 1> cover_power{};
  /// The place of each species number in the sorted index, as ibin finds
  /// it (0: not there), for every number a short can hold: filled by
  /// prepare, so that scoring looks a species up in one step.
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

}  // namespace vegmatch
