// The CSV files written beside the reference files, for programs that tell
// more about a community or a species than the fixed-column files of
// VEGMATCH hold: UNITS.csv (the communities with their names, EUNIS
// correspondence, species richness and mean indicator values), HABITATS.csv
// (their habitat correspondences), INDICATORS.csv (the Hill-Ellenberg values
// of the species) and FLORISTIC.csv (the floristic table of each community
// as ASSOCTAB.txt holds it). All UTF-8, LF line ends, a header row, fields
// quoted only where they must be (appendCsvField); the columns are told in
// docs/reference-files.md.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/nvcdata.h"

namespace nvcdata {

/// The attribute tables of the units and taxa, as copied into data/source.
struct Attributes {
  CsvTable taxon_values;  // taxon_indicator_values.csv: taxon, group, tvk, F, L, N, R, S
  CsvTable unit_values;   // unit_indicator_values.csv: nvc_code, indicator, mean, sd
  CsvTable habitats;      // habitat_correspondences.csv: nvc_code, classification, habitat_code,
                          // habitat_name, relationship
  CsvTable richness;      // unit_richness.csv: nvc_code, num_samples, min_species,
                          // mean_species, max_species, species_count
  /// Reads the four files from `dir`; throws SourceError.
  static Attributes read(const std::string& dir);
};

/// UNITS.csv: one row per community number, in community order. Throws
/// SourceError for an indicator other than F, L, N, R, S, or a unit given
/// twice in one table.
std::string formatUnits(const ReferenceData& data, const Attributes& attributes);

/// The rows of habitat_correspondences.csv that HABITATS.csv holds, as
/// indices into the table: those of units with a community number, in
/// community order, within a unit in the table's order. Throws SourceError
/// for an unknown classification.
std::vector<std::size_t> habitatRows(const ReferenceData& data, const Attributes& attributes);

/// HABITATS.csv: the rows of habitatRows, in its order.
std::string formatHabitats(const ReferenceData& data, const Attributes& attributes);

/// The Hill-Ellenberg values of one species: F, L, N, R, S.
struct SpeciesValues {
  std::size_t species = 0;  // index into the species list
  std::array<int, 5> values{};
  bool operator==(const SpeciesValues&) const = default;
};

/// The values of every species that has them, in species order, and how
/// they were chosen. A species takes the values of its own name's taxon
/// (its binomial, with or without a stratum suffix) when that has values;
/// otherwise those of its taxa with values when they all agree; otherwise
/// none (a conflict).
struct SpeciesIndicators {
  std::vector<SpeciesValues> values;
  int own = 0;                         // species with values of their own name's taxon
  int agreed = 0;                      // species whose other taxa with values agree
  std::vector<std::size_t> conflicts;  // species left without values
};

/// Throws SourceError for a taxon no species of the tables has, a value that
/// is no whole number or lies outside its range (F 1-12, L, N, R 1-9, S
/// 0-9), or a taxon given twice.
SpeciesIndicators speciesIndicators(const ReferenceData& data, const Attributes& attributes);

/// INDICATORS.csv: one row per species with values, ascending number.
std::string formatIndicators(const ReferenceData& data, const std::vector<SpeciesValues>& values);

/// FLORISTIC.csv: one row per entry of the association table (community,
/// species), with the merged figures of the species' taxa; in community
/// order, within a community by constancy descending, then species number.
std::string formatFloristic(const ReferenceData& data);

}  // namespace nvcdata
