// What is known about the communities and species beyond the tables that
// scoring uses: the units' full names, habitat correspondences, species
// richness and Hill-Ellenberg indicator values, the floristic tables'
// constancy and cover ranges, and the reference data's version. They are
// read from the files the builder writes beside the reference files
// (UNITS.csv, HABITATS.csv, INDICATORS.csv, FLORISTIC.csv, VERSION.txt);
// docs/reference-files.md gives their layout.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"
#include "engine/tables.h"

namespace vegfit {

/// The five Hill-Ellenberg indicators: wetness, light, fertility,
/// reaction, salinity.
inline constexpr int kIndicators = 5;
inline constexpr std::array<char, kIndicators> kIndicatorLetters = {'F', 'L', 'N', 'R', 'S'};

/// The classifications a community's habitats are given in, in the order
/// the output shows them.
enum class Classification { kAnnexI, kBapPriority, kBapBroad, kPhase1, kEunis, kNpmsBroad, kNpmsFine };
inline constexpr int kClassifications = 7;

struct ClassificationName {
  std::string_view source;  // as the habitat file writes it: "Annex I"
  std::string_view key;     // the output's column and field name: "annex_i"
};
inline constexpr std::array<ClassificationName, kClassifications> kClassificationNames = {{
    {"Annex I", "annex_i"},
    {"BAP Priority", "priority_habitat"},
    {"BAP Broad", "broad_habitat"},
    {"Phase 1", "phase_1"},
    {"EUNIS", "eunis_habitats"},
    {"NPMS Broad", "npms_broad"},
    {"NPMS Fine", "npms_fine"},
}};

struct Habitat {
  Classification classification;
  std::string code;  // empty where the classification or habitat has none
  std::string name;
  std::string relationship;  // read "community, relationship, habitat"
};

/// A unit's mean indicator value and its standard deviation.
struct UnitIndicator {
  double mean = 0;
  double sd = 0;
};

/// What is known of one community (a unit with a table).
struct UnitInfo {
  std::string nvc_code;           // "MG5a"
  std::string community_name;     // "Centaurea nigra-Cynosurus cristatus grassland"
  std::string subcommunity_name;  // "Lathyrus pratensis subcommunity"; empty for a community
  std::string full_name;          // the two together, as the NVC writes them
  std::string eunis_code, eunis_name, eunis_relationship;
  std::optional<int> plots;  // samples behind the table
  std::optional<int> min_species, mean_species, max_species;
  std::array<std::optional<UnitIndicator>, kIndicators> indicators;
  /// The unit whose habitat rows apply: its own code, its community's for a
  /// subcommunity without rows of its own, empty when none is known.
  std::string habitats_of;
  std::vector<Habitat> habitats;  // in the habitat file's order
};

/// One species in one community's floristic table.
struct TableEntry {
  short species_number = 0;
  signed char constancy = 0;  // 1..5 for classes I..V
  signed char min_domin = 0;  // 1..10
  signed char max_domin = 0;
};

/// Indicator values of a species: 0..12, or -1 where it has none.
using IndicatorValues = std::array<signed char, kIndicators>;

class Attributes {
 public:
  /// Reads the files from `files` (a directory's files) for the communities
  /// of `tables`. A file that is missing leaves its figures unknown and is
  /// named in `missing`; a file that cannot be read or holds a bad line
  /// makes the load fail, with `error` naming the file, the line, the
  /// value and what is accepted.
  bool load(veg::FileSystem& files, const engine::Tables& tables, std::vector<std::string>& missing,
            std::string& error);

  /// Community k (1-based); a community the files do not describe has
  /// only its code.
  const UnitInfo& unit(int k) const { return units_[static_cast<std::size_t>(k)]; }
  /// The values of a species number; all -1 for a species without any.
  const IndicatorValues& indicators(int species_number) const;
  /// Community k's table, by ascending species number.
  std::pair<const TableEntry*, const TableEntry*> table(int k) const;
  /// The entry of a species in community k's table, or null.
  const TableEntry* entry(int k, int species_number) const;
  /// The communities described: those of the tables once loaded, else 0.
  int unitCount() const { return units_.empty() ? 0 : static_cast<int>(units_.size()) - 1; }
  /// True when the floristic table file was read.
  bool hasTables() const { return !table_first_.empty(); }
  /// The reference data's version, empty when unknown.
  const std::string& version() const { return version_; }

 private:
  bool loadUnits(const std::string& text, const engine::Tables& tables, std::string& error);
  bool loadHabitats(const std::string& text, std::string& error);
  bool loadIndicators(const std::string& text, std::string& error);
  bool loadTables(const std::string& text, std::string& error);
  int community(std::string_view nvc_code) const;

  std::vector<UnitInfo> units_;  // by community number, 0 unused
  std::vector<IndicatorValues> indicators_;
  std::vector<TableEntry> entries_;
  std::vector<std::size_t> table_first_;  // per community, into entries_
  std::string version_;
  std::map<std::string, std::vector<Habitat>, std::less<>> habitats_by_code_;  // while loading
  std::map<std::string, int, std::less<>> by_code_;  // community numbers by code
};

/// The file names.
inline constexpr char kUnitsFile[] = "UNITS.csv";
inline constexpr char kHabitatsFile[] = "HABITATS.csv";
inline constexpr char kIndicatorsFile[] = "INDICATORS.csv";
inline constexpr char kFloristicFile[] = "FLORISTIC.csv";
inline constexpr char kVersionFile[] = "VERSION.txt";

/// The constancy class of a species held by `holding` of `quadrats`
/// quadrats: I up to 20 %, II up to 40 %, III up to 60 %, IV up to 80 %,
/// V above; 0 for none.
int constancyClass(int holding, int quadrats);
/// "I".."V" for 1..5, "" otherwise.
std::string_view constancyNumeral(int constancy);

/// The Domin value of a percent cover: 10 above 90 %, 9 above 75 %, 8
/// above 50 %, 7 above 33 %, 6 above 25 %, 5 above 10 %, 4 from 4 %, 3
/// below 4 %, 2 and 1 for few individuals, which a percentage cannot tell:
/// below 1 % is 1 here; 0 for no cover.
int dominOf(double percent);

}  // namespace vegfit
