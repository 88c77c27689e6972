#include "vegfit/testing/world.h"

#include <stdexcept>

#include "common/testing/fakes.h"
#include "engine/scoring.h"
#include "engine/refdata.h"

namespace vegfit::testing {

Lines specdict() {
  return {"   2 agro capi", "   1 fest rubr", "   4 plan lanc", "   3 rume acet"};
}

Lines assoctab() {
  return {"    4    3", "  148  127  1 6  2 6", "    1    1    1", "    2    2    2",
          "    3    3    4"};
}

Lines nvctypes() {
  return {" CG 2a  Test grassland comm.    typical         E1.26   Semi-dry grassland",
          "  W 1   Test woodland           " + std::string(16, ' ') + "G1.41   Wet woodland"};
}

Lines names() {
  return {"   2 agro capi Agrostis capillaris", "   2 agro capi Agrostis tenuis",
          "   1 fest rubr Festuca arenaria",    "   1 fest rubr Festuca rubra",
          "   4 plan lanc Plantago lanceolata", "   3 rume acet Rumex acetosa"};
}

std::vector<std::pair<std::string, Lines>> worldFiles(bool with_names) {
  std::vector<std::pair<std::string, Lines>> files = {
      {"SPECDICT.txt", specdict()}, {"ASSOCTAB.txt", assoctab()}, {"NVCTYPES.txt", nvctypes()}};
  if (with_names) files.emplace_back("NAMES.txt", names());
  return files;
}

LoadedWorld::LoadedWorld(bool with_names, int species_limit) {
  veg::testing::MemoryFileSystem fs;
  veg::testing::FakeConsole console;
  for (auto& [name, lines] : worldFiles(false)) fs.put(name, lines);
  engine::loadSpeciesDictionary(console, fs, *tables);
  engine::loadAssociationTables(console, fs, species_limit, *tables);
  engine::loadCrossReference(console, fs, *tables);
  engine::prepareTables(*tables);
  std::string error;
  if (with_names && !parseNameTable(names(), index, error)) throw std::runtime_error(error);
  matcher = std::make_unique<NameMatcher>(index, *tables);
}

}  // namespace vegfit::testing
