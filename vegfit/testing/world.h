// The small reference data of the vegfit tests, written by hand: the world
// of the worked example of the scoring. Community 1 (CG2a, a grassland)
// holds Festuca rubra in class V with Domin 8, Agrostis capillaris in class
// III with Domin 7 and Rumex acetosa in class I with Domin 6; community 2
// (W1, the first woodland) holds Rumex acetosa only. Plantago lanceolata is
// in the dictionary but in no table.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vegfit/attributes.h"
#include "vegfit/names.h"
#include "engine/tables.h"

namespace vegfit::testing {

using Lines = std::vector<std::string>;

/// SPECDICT.txt, ASSOCTAB.txt, NVCTYPES.txt.
Lines specdict();
Lines assoctab();
Lines nvctypes();
/// NAMES.txt: the four species, Agrostis capillaris also under its old name
/// Agrostis tenuis, Festuca rubra first under a synonym that sorts before it
/// (Festuca arenaria), so that its own name must be told from the key.
Lines names();

/// The attribute files of the world. UNITS.csv: the grassland with its full
/// names, richness (40 plots of 12 to 31 species, 20 on average) and mean
/// indicator values F 5 (sd 1), L 7 (0.5), N 3.5 (1.25), R 7 (0.8), S 0
/// (0); the woodland with names and 10 plots only. HABITATS.csv: three rows
/// of community CG2 (Annex I H6210, the Priority Habitat "Lowland
/// calcareous grassland" without a code, Phase 1 B31), which its
/// subcommunity CG2a takes, and three of W1 (Broad Habitat 1, Annex I
/// H91E0, NPMS Broad "Woodland"). FLORISTIC.csv: the tables with their
/// Domin ranges: Festuca rubra V 5-8, Agrostis capillaris III 2-7, Rumex
/// acetosa I 1-6 in the grassland, Rumex acetosa I 4-6 in the woodland.
/// INDICATORS.csv: no species with values (tests add their own).
/// VERSION.txt: "Test data 1".
Lines unitsCsv();
Lines habitatsCsv();
Lines floristicCsv();
Lines indicatorsCsv();

/// The CSV header row of result rows, without the file and explanation
/// columns, as written by hand from the documented columns.
std::string resultsHeader();

/// The files of the world as (name, lines), NAMES.txt and the attribute
/// files with them.
std::vector<std::pair<std::string, Lines>> worldFiles(bool with_names = true);

/// The world loaded as vegfit loads it: the tables prepared for scoring,
/// the names table, and a matcher over both.
struct LoadedWorld {
  explicit LoadedWorld(bool with_names = true, int species_limit = 10000);
  std::unique_ptr<engine::Tables> tables = std::make_unique<engine::Tables>();
  NameIndex index;
  std::unique_ptr<NameMatcher> matcher;
  /// The attribute files, once loadAttributes has read them.
  Attributes attributes;
  /// Reads the world's attribute files, INDICATORS.csv as `indicators`.
  void loadAttributes(const Lines& indicators = indicatorsCsv());
};

}  // namespace vegfit::testing
