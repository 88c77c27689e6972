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

std::string resultsHeader() {
  return
    "sample,rank,nvc_code,community,subcommunity,eunis_code,eunis_name,fit,grade,"
    "community_composition_fit,sample_composition_fit,community_cover_fit,sample_cover_fit,"
    "species,unmatched,status,community_name,subcommunity_name,eunis_full_name,"
    "eunis_relationship,annex_i,priority_habitat,broad_habitat,phase_1,eunis_habitats,npms_broad,"
    "npms_fine,habitats_of,unit_plots,unit_min_species,unit_mean_species,unit_max_species,"
    "indicator_species,F,L,N,R,S,F_weighted,L_weighted,N_weighted,R_weighted,S_weighted,"
    "unit_F_mean,unit_F_sd,unit_L_mean,unit_L_sd,unit_N_mean,unit_N_sd,unit_R_mean,unit_R_sd,"
    "unit_S_mean,unit_S_sd,F_deviation,L_deviation,N_deviation,R_deviation,S_deviation";
}

Lines unitsCsv() {
  return {"number,nvc_code,community,subcommunity,fullname,eunis_code,eunis_name,"
          "eunis_relationship,num_samples,min_species,mean_species,max_species,species_count,"
          "F_mean,F_sd,L_mean,L_sd,N_mean,N_sd,R_mean,R_sd,S_mean,S_sd",
          "1,CG2a,Test grassland community,Typical subcommunity,\"Test grassland community, "
          "Typical subcommunity\",E1.26,Sub-Atlantic semi-dry calcareous grassland,is equal to,"
          "40,12,20,31,60,5,1,7,0.5,3.5,1.25,7,0.8,0,0",
          "2,W1,Test woodland,,Test woodland,G1.41,Wet woodland of Salix,corresponds in part to,"
          "10,,,,,,,,,,,,,,"};
}

Lines habitatsCsv() {
  const std::string annex_i =
      "CG2,Annex I,H6210,Semi-natural dry grasslands on calcareous substrates,"
      "corresponds in part to";
  return {"nvc_code,classification,habitat_code,habitat_name,relationship", annex_i,
          "CG2,BAP Priority,,Lowland calcareous grassland,is contained in",
          "CG2,Phase 1,B31,Calcareous grassland - unimproved,is contained in",
          "W1,BAP Broad,1,\"Broadleaved, mixed and yew woodland\",is contained in",
          "W1,Annex I,H91E0,Alluvial forests,corresponds in part to",
          "W1,NPMS Broad,,Woodland,is contained in"};
}

Lines floristicCsv() {
  return {"nvc_code,species_number,constancy,min_domin,max_domin", "CG2a,1,5,5,8", "CG2a,2,3,2,7",
          "CG2a,3,1,1,6", "W1,3,1,4,6"};
}

Lines indicatorsCsv() { return {"species_number,F,L,N,R,S"}; }

std::vector<std::pair<std::string, Lines>> worldFiles(bool with_names) {
  std::vector<std::pair<std::string, Lines>> files = {
      {"SPECDICT.txt", specdict()}, {"ASSOCTAB.txt", assoctab()}, {"NVCTYPES.txt", nvctypes()}};
  if (with_names) {
    files.emplace_back("NAMES.txt", names());
    files.emplace_back("UNITS.csv", unitsCsv());
    files.emplace_back("HABITATS.csv", habitatsCsv());
    files.emplace_back("FLORISTIC.csv", floristicCsv());
    files.emplace_back("INDICATORS.csv", indicatorsCsv());
    files.emplace_back("VERSION.txt", Lines{"Test data 1"});
  }
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

void LoadedWorld::loadAttributes(const Lines& indicators) {
  veg::testing::MemoryFileSystem fs;
  for (auto& [name, lines] : worldFiles(true)) fs.put(name, name == "INDICATORS.csv" ? indicators : lines);
  std::vector<std::string> missing;
  std::string error;
  if (!attributes.load(fs, *tables, missing, error) || !missing.empty())
    throw std::runtime_error("the world's attribute files: " + error);
}

}  // namespace vegfit::testing
