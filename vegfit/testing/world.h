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

/// The files of the world as (name, lines), NAMES.txt with them.
std::vector<std::pair<std::string, Lines>> worldFiles(bool with_names = true);

/// The world loaded as vegfit loads it: the tables prepared for scoring,
/// the names table, and a matcher over both.
struct LoadedWorld {
  explicit LoadedWorld(bool with_names = true, int species_limit = 10000);
  std::unique_ptr<engine::Tables> tables = std::make_unique<engine::Tables>();
  NameIndex index;
  std::unique_ptr<NameMatcher> matcher;
};

}  // namespace vegfit::testing
