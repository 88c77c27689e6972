// End-to-end runs of the built vegfit program in a temporary directory:
// command lines, files and standard input as a script would give them, and
// standard output, standard error, the files written and the exit status
// compared line by line with what the program is meant to do. Most runs use
// the small hand-written reference data of the tests (testing/world.h), so
// that every figure can be worked by hand; the rest use the shipped data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/testing/program.h"
#include "vegfit/html.h"
#include "vegfit/testing/html_check.h"
#include "vegfit/testing/world.h"

namespace vegfit {
namespace {

using testing::Lines;
using veg::testing::builtProgram;
using veg::testing::firstDifference;
using veg::testing::ProgramRun;
using veg::testing::RunLimits;

const std::string kHeader = testing::resultsHeader();
const std::string kGrassland = "CG2a,Test grassland comm.,typical,E1.26,Semi-dry grassland";
const std::string kWoodland = "W1,Test woodland,,G1.41,Wet woodland";
// The columns after the status, of the world's attribute files
// (testing/world.h): names, habitats (CG2a's are CG2's), richness, the
// sample's indicator means (the world's species have no values: none of 0
// species), the community's means and sds, no deviations.
const std::string kNoSampleIndicators = ",0" + std::string(10, ',');
const std::string kGrasslandMore =
    ",Test grassland community,Typical subcommunity,Sub-Atlantic semi-dry calcareous grassland,"
    "is equal to,H6210,"
    "Lowland calcareous grassland,,B31,,,,CG2,40,12,20,31" +
    kNoSampleIndicators + ",5.00,1.00,7.00,0.50,3.50,1.25,7.00,0.80,0.00,0.00,,,,,";
const std::string kWoodlandMore =
    ",Test woodland,,Wet woodland of Salix,corresponds in part to,H91E0,,1,,,"
    "Woodland,,W1,10,,," +
    kNoSampleIndicators + std::string(15, ',');
const std::string kNoUnitMore = std::string(16, ',') + kNoSampleIndicators + std::string(15, ',');

// The worked example of the scoring: the class V species at 25 %, the
// class III species at 3 % and a species in no table at 10 %, which fits
// the grassland at 79 % (98, 65, 100 and 72 for the four coefficients).
const Lines kWorkedCsv = {"sample,species,cover", "Q1,Festuca rubra,25",
                          "Q1,Agrostis capillaris,3", "Q1,Plantago lanceolata,10"};
// The woodland shares no species with it: no row.
const Lines kWorkedRows = {kHeader, "Q1,1," + kGrassland + ",79,good,98,65,100,72,3,0,ok" + kGrasslandMore};

struct VegfitRun : ::testing::Test {
  ProgramRun run;

  void SetUp() override {
    std::filesystem::create_directory(run.dir + "/data");
    for (const auto& [name, lines] : testing::worldFiles()) run.put("data/" + name, lines);
  }
  // vegfit with the world's reference data.
  int vegfit(Lines args, const Lines& input = {}) {
    args.insert(args.begin(), {"--data", "data"});
    return run.run(builtProgram("vegfit/vegfit"), args, input, RunLimits{});
  }
  // vegfit as a user runs it, finding the shipped data by itself.
  int shipped(const Lines& args, const Lines& input = {}) {
    return run.run(builtProgram("vegfit/vegfit"), args, input, RunLimits{});
  }
};

#define EXPECT_LINES(expected, actual) \
  EXPECT_EQ("", firstDifference(expected, actual)) << "in " #actual

// ---- Output: CSV rows of the worked example, other scales and types.

TEST_F(VegfitRun, CsvFileToCsvRows) {
  run.put("q.csv", kWorkedCsv);
  EXPECT_EQ(0, vegfit({"q.csv"}));
  // Five communities asked for, one with a fit: one row.
  EXPECT_LINES(kWorkedRows, run.screen);
  EXPECT_LINES(Lines{}, run.errors);
}

TEST_F(VegfitRun, TopLimitsTheRowsOfEverySample) {
  run.put("q.csv", {"sample,species,cover", "Q1,Festuca rubra,25", "Q1,Agrostis capillaris,3",
                    "Q1,Plantago lanceolata,10", "Q2,Rumex acetosa,5"});
  EXPECT_EQ(0, vegfit({"--top", "1", "q.csv"}));
  // Rumex acetosa alone fills the woodland's one class I species.
  EXPECT_LINES((Lines{kHeader, kWorkedRows[1], "Q2,1," + kWoodland + ",100,very good,100,100,100,100,1,0,ok" + kWoodlandMore}),
               run.screen);
  // In the grassland it scores above 0.0001 though it prints as 0: the
  // texts are shown.
  // Q1 fits the grassland only: one row.
  EXPECT_EQ(0, vegfit({"--top", "2", "q.csv"}));
  ASSERT_EQ(4u, run.screen.size());
  EXPECT_EQ("Q2,2," + kGrassland + ",0,very poor,1,16,0,14,1,0,ok" + kGrasslandMore, run.screen[3]);
}

TEST_F(VegfitRun, CoverScales) {
  // Domin 7, 3 and 5 are 39, 4 and 16 %; Braun-Blanquet 3, 1 and 2 are 40,
  // 0 and 15 %.
  run.put("domin.csv", {"sample,species,cover", "D1,Festuca rubra,7", "D1,Agrostis capillaris,3",
                        "D1,Plantago lanceolata,5"});
  run.put("bb.csv", {"sample,species,cover", "B1,Festuca rubra,3", "B1,Agrostis capillaris,1",
                     "B1,Plantago lanceolata,2"});
  EXPECT_EQ(0, vegfit({"--scale", "domin", "--top", "1", "domin.csv"}));
  EXPECT_LINES((Lines{kHeader, "D1,1," + kGrassland + ",79,good,98,65,100,72,3,0,ok" + kGrasslandMore}), run.screen);
  EXPECT_EQ(0, vegfit({"--scale", "braun-blanquet", "--top", "1", "bb.csv"}));
  EXPECT_LINES((Lines{kHeader, "B1,1," + kGrassland + ",80,very good,98,65,100,75,3,0,ok" + kGrasslandMore}),
               run.screen);
  // Read on % cover instead: 7 %, 3 % and 5 %.
  EXPECT_EQ(0, vegfit({"--top", "1", "domin.csv"}));
  EXPECT_LINES((Lines{kHeader, "D1,1," + kGrassland + ",56,poor,98,65,43,61,3,0,ok" + kGrasslandMore}), run.screen);
}

TEST_F(VegfitRun, AnalysisTypesWeighAndZeroTheirColumns) {
  run.put("q.csv", kWorkedCsv);
  const std::vector<std::pair<std::string, std::string>> types = {
      {"2", "75,good,98,65,0,0"},         // composition only
      {"3", "82,very good,0,65,100,72"},  // cover only
      {"4", "65,fair,0,65,0,0"},          // the sample's composition alone
      // Covers by place: 60, 50 and 40 %; no adjustment.
      {"5", "81,very good,0,65,100,62"},
  };
  for (const auto& [type, figures] : types) {
    SCOPED_TRACE("type " + type);
    EXPECT_EQ(0, vegfit({"--type", type, "--top", "1", "q.csv"}));
    EXPECT_LINES((Lines{kHeader, "Q1,1," + kGrassland + "," + figures + ",3,0,ok" + kGrasslandMore}), run.screen);
  }
}

TEST_F(VegfitRun, JsonCheckedFieldByField) {
  Lines csv = kWorkedCsv;
  csv.push_back("Q2,Xyzzy plugh,5");
  run.put("q.csv", csv);
  EXPECT_EQ(0, vegfit({"--format", "json", "q.csv"}));
  std::string text;
  for (const std::string& line : run.screen) text += line + "\n";
  const nlohmann::ordered_json rows = nlohmann::ordered_json::parse(text);
  ASSERT_TRUE(rows.is_array());
  ASSERT_EQ(2u, rows.size());
  const nlohmann::ordered_json first = nlohmann::ordered_json::parse(R"({
    "sample": "Q1", "rank": 1, "nvc_code": "CG2a", "community": "Test grassland comm.",
    "subcommunity": "typical", "eunis_code": "E1.26", "eunis_name": "Semi-dry grassland",
    "fit": 79, "grade": "good", "community_composition_fit": 98,
    "sample_composition_fit": 65, "community_cover_fit": 100, "sample_cover_fit": 72,
    "species": 3, "unmatched": 0, "status": "ok",
    "community_name": "Test grassland community", "subcommunity_name": "Typical subcommunity",
    "full_name": "Test grassland community, Typical subcommunity",
    "eunis_full_name": "Sub-Atlantic semi-dry calcareous grassland",
    "eunis_relationship": "is equal to",
    "habitats": {"of": "CG2", "inherited": true,
      "annex_i": [{"code": "H6210", "name": "Semi-natural dry grasslands on calcareous substrates",
                   "relationship": "corresponds in part to"}],
      "priority_habitat": [{"code": null, "name": "Lowland calcareous grassland",
                            "relationship": "is contained in"}],
      "broad_habitat": [],
      "phase_1": [{"code": "B31", "name": "Calcareous grassland - unimproved",
                   "relationship": "is contained in"}],
      "eunis_habitats": [], "npms_broad": [], "npms_fine": []},
    "richness": {"sample": 3, "unit_plots": 40, "unit_min": 12, "unit_mean": 20, "unit_max": 31},
    "indicators": {"species": 0,
      "F": {"sample": null, "sample_weighted": null, "unit_mean": 5, "unit_sd": 1, "deviation": null},
      "L": {"sample": null, "sample_weighted": null, "unit_mean": 7, "unit_sd": 0.5, "deviation": null},
      "N": {"sample": null, "sample_weighted": null, "unit_mean": 3.5, "unit_sd": 1.25, "deviation": null},
      "R": {"sample": null, "sample_weighted": null, "unit_mean": 7, "unit_sd": 0.8, "deviation": null},
      "S": {"sample": null, "sample_weighted": null, "unit_mean": 0, "unit_sd": 0, "deviation": null}}})");
  // Q2's only name matches no species: one object without a result.
  const nlohmann::ordered_json none = nlohmann::ordered_json::parse(
      R"({"sample": null, "sample_weighted": null, "unit_mean": null, "unit_sd": null, "deviation": null})");
  nlohmann::ordered_json second = nlohmann::ordered_json::parse(R"({
    "sample": "Q2", "rank": null, "nvc_code": null, "community": null, "subcommunity": null,
    "eunis_code": null, "eunis_name": null, "fit": null, "grade": null,
    "community_composition_fit": null, "sample_composition_fit": null,
    "community_cover_fit": null, "sample_cover_fit": null, "species": 1, "unmatched": 1,
    "status": "no species matched", "community_name": null, "subcommunity_name": null,
    "full_name": null, "eunis_full_name": null, "eunis_relationship": null, "habitats": null,
    "richness": {"sample": 1, "unit_plots": null, "unit_min": null, "unit_mean": null,
                 "unit_max": null},
    "indicators": {"species": 0}})");
  for (const char* letter : {"F", "L", "N", "R", "S"}) second["indicators"][letter] = none;
  // Field by field, in the order of the CSV columns.
  for (const auto& [row, expected] : {std::pair{rows[0], first}, std::pair{rows[1], second}}) {
    std::vector<std::string> keys;
    for (auto it = row.begin(); it != row.end(); ++it) keys.push_back(it.key());
    std::vector<std::string> expected_keys;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
      expected_keys.push_back(it.key());
      EXPECT_EQ(it.value(), row[it.key()]) << it.key();
    }
    EXPECT_EQ(expected_keys, keys);
  }
  EXPECT_EQ(1u, run.errors.size());  // the warning of Xyzzy plugh
}

TEST_F(VegfitRun, ExplainListsMissingConstantsAndSpeciesNotInTheTable) {
  // Without Festuca rubra (class V) the grassland is still the best.
  run.put("q.csv", {"sample,species,cover", "Q1,Agrostis capillaris,30",
                    "Q1,Plantago lanceolata,10", "Q2,Festuca rubra,25",
                    "Q2,Agrostis capillaris,3"});
  EXPECT_EQ(0, vegfit({"--explain", "--top", "2", "q.csv"}));
  // Each species of the sample with its cover, constancy and Domin range
  // in the table (testing/world.h), or absent.
  EXPECT_LINES((Lines{std::string(kHeader) + ",missing_constants,not_in_table,species_account",
                      "Q1,1," + kGrassland + ",8,very poor,21,33,8,40,2,0,ok" + kGrasslandMore +
                          ",Festuca rubra (V 5-8),Plantago lanceolata,"
                          "Agrostis capillaris 30%: III 2-7; Plantago lanceolata 10%: absent",
                      // Nothing missing, nothing outside the table.
                      "Q2,1," + kGrassland + ",99,very good,98,97,100,100,2,0,ok" + kGrasslandMore +
                          ",,,Festuca rubra 25%: V 5-8; Agrostis capillaris 3%: III 2-7"}),
               run.screen);

  EXPECT_EQ(0, vegfit({"--explain", "--top", "1", "--format", "json", "q.csv"}));
  std::string text;
  for (const std::string& line : run.screen) text += line + "\n";
  const nlohmann::json rows = nlohmann::json::parse(text);
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(nlohmann::json::parse(R"([{"species": "Festuca rubra", "constancy": "V",
                                          "min_domin": 5, "max_domin": 8}])"),
            rows[0]["missing_constants"]);
  EXPECT_EQ(nlohmann::json::parse(R"([
              {"species": "Agrostis capillaris", "cover": 30, "constancy": "III",
               "min_domin": 2, "max_domin": 7},
              {"species": "Plantago lanceolata", "cover": 10, "constancy": null,
               "min_domin": null, "max_domin": null}])"),
            rows[0]["species_account"]);
  EXPECT_EQ(nlohmann::json::parse(R"(["Plantago lanceolata"])"), rows[0]["not_in_table"]);
  EXPECT_EQ(nlohmann::json::array(), rows[1]["missing_constants"]);
  EXPECT_EQ(nlohmann::json::array(), rows[1]["not_in_table"]);
}

// ---- Names: full names, synonyms, case, blanks, qualifiers; unmatched.

TEST_F(VegfitRun, NamesInTheFormsOfSpreadsheets) {
  // Letter case and extra blanks, "agg.", a synonym with a layer suffix,
  // "s.l.": the worked example again, with its own names shown.
  run.put("q.csv", {"sample,species,cover", "Q1,  FESTUCA   rubra agg. ,25",
                    "Q1,Agrostis tenuis (c),3", "Q1,plantago Lanceolata s.l.,10"});
  EXPECT_EQ(0, vegfit({"q.csv"}));
  EXPECT_LINES(kWorkedRows, run.screen);
  EXPECT_LINES(Lines{}, run.errors);
  // Festuca arenaria is another name of Festuca rubra; "sens. lat." and
  // "(s)" name no other species; "Plantago lanceolatum" differs only after
  // the fourth letter of its epithet and is found by its name key.
  run.put("r.csv", {"sample,species,cover", "Q1,Festuca arenaria sens. lat.,25",
                    "Q1,agrostis capillaris (s),3", "Q1,Plantago lanceolatum,10"});
  EXPECT_EQ(0, vegfit({"r.csv"}));
  EXPECT_LINES(kWorkedRows, run.screen);
  EXPECT_LINES(Lines{}, run.errors);
}

TEST_F(VegfitRun, TwoNamesOfOneSpeciesAddUp) {
  // 15 % as Festuca rubra and 10 % as Festuca arenaria: one species of 25 %.
  run.put("q.csv", {"sample,species,cover", "Q1,Festuca rubra,15", "Q1,Festuca arenaria,10",
                    "Q1,Agrostis capillaris,3", "Q1,Plantago lanceolata,10"});
  EXPECT_EQ(0, vegfit({"--top", "1", "q.csv"}));
  EXPECT_LINES((Lines{kHeader, kWorkedRows[1]}), run.screen);
}

// A name that matches nothing counts as vegmatch counts it, a species of
// no community: in Plantago lanceolata's place (a species of no table) it
// gives the worked example's figures.
TEST_F(VegfitRun, UnmatchedNamesCountAsSpeciesOfNoCommunity) {
  run.put("q.csv", {"sample,species,cover", "Q1,Festuca rubra,25", "Q1,Agrostis capillaris,3",
                    "Q1,Xyzzy plugh,10", "Q2,Rumex acetosa,5", "Q3,Xyzzy plugh,4",
                    "Q4,Fetsuca rubra,25"});
  EXPECT_EQ(0, vegfit({"--top", "1", "q.csv"}));
  EXPECT_LINES((Lines{"q.csv:4: warning: no species named 'Xyzzy plugh' (also on 1 more line), "
                      "counted as a species of no community; no close names",
                      "q.csv:7: warning: no species named 'Fetsuca rubra', counted as a "
                      "species of no community; close names: Festuca rubra"}),
               run.errors);
  EXPECT_LINES((Lines{kHeader, "Q1,1," + kGrassland + ",79,good,98,65,100,72,3,1,ok" + kGrasslandMore,
                      "Q2,1," + kWoodland + ",100,very good,100,100,100,100,1,0,ok" + kWoodlandMore,
                      std::string("Q3,,,,,,,,,,,,,1,1,no species matched") + kNoUnitMore,
                      std::string("Q4,,,,,,,,,,,,,1,1,no species matched") + kNoUnitMore}),
               run.screen);
}

TEST_F(VegfitRun, DropUnmatchedLeavesThemOut) {
  run.put("q.csv", {"sample,species,cover", "Q1,Fetsuca rubra,25", "Q1,Agrostis capillaris,3",
                    "Q1,Plantago lanceolata,10", "Q1,Quercus robur,1", "Q2,Quercus robur,4",
                    "Q2,Rumex acetosa,5"});
  EXPECT_EQ(0, vegfit({"--drop-unmatched", "--top", "1", "q.csv"}));
  EXPECT_LINES((Lines{"q.csv:2: warning: no species named 'Fetsuca rubra', left out of its "
                      "sample; close names: Festuca rubra",
                      "q.csv:5: warning: no species named 'Quercus robur' (also on 1 more line), "
                      "left out of its sample; no close names"}),
               run.errors);
  // Q1 is scored on its two other species; the unmatched column counts the
  // lines left out.
  EXPECT_LINES((Lines{kHeader, "Q1,1," + kGrassland + ",6,very poor,21,33,4,16,2,2,ok" + kGrasslandMore,
                      "Q2,1," + kWoodland + ",100,very good,100,100,100,100,1,1,ok" + kWoodlandMore}),
               run.screen);
}

// A short name is offered the names within two edits of it only.
TEST_F(VegfitRun, CloseNamesOfAShortName) {
  run.put("q.csv", {"sample,species,cover", "Q1,Lar,5", "Q1,Calluna vulgaris,50"});
  EXPECT_EQ(0, shipped({"q.csv"}));
  EXPECT_LINES(Lines{"q.csv:2: warning: no species named 'Lar', counted as a species of no "
                     "community; close names: Larix"},
               run.errors);
}

TEST_F(VegfitRun, AtMostThreeCloseNamesFromTheShippedNames) {
  run.put("q.csv", {"sample,species,cover", "Q1,Calluna vulgaris,50", "Q1,Shpagnum palustre,20"});
  EXPECT_EQ(0, shipped({"--top", "1", "q.csv"}));
  ASSERT_EQ(1u, run.errors.size());
  const std::string& line = run.errors[0];
  const std::string start =
      "q.csv:3: warning: no species named 'Shpagnum palustre', counted as a species of no "
      "community; close names: Sphagnum palustre";
  EXPECT_EQ(start, line.substr(0, start.size()));
  int commas = 0;
  for (char c : line.substr(start.size())) commas += c == ',';
  EXPECT_LE(commas, 2) << line;
  ASSERT_EQ(2u, run.screen.size());
  // Two species scored, one name unmatched; the attribute columns follow.
  EXPECT_NE(std::string::npos, run.screen[1].find(",2,1,ok,")) << run.screen[1];
}

// ---- Input: sample files, standard input, grouping.

TEST_F(VegfitRun, SampleFileWithScaleLabelsAndFrequencies) {
  run.put("samp.txt", {
                          "D1           DOMIN",  // read on the Domin scale
                          " Festuca rubra     7",
                          " agro capi         3",
                          " Plantago lanceolata 5",
                          "",
                          // Maximum frequency 4: frequency, then value.
                          "F1         *  4 COVR%",
                          " fest rubr     4  25",
                          " agro capi     2   3",
                          "",
                          "",  // an empty header: a sample named by its number
                          " Rumex acetosa 5",
                      });
  EXPECT_EQ(0, vegfit({"--top", "1", "samp.txt"}));
  EXPECT_LINES((Lines{kHeader, "D1,1," + kGrassland + ",79,good,98,65,100,72,3,0,ok" + kGrasslandMore,
                      "F1,1," + kGrassland + ",99,very good,98,100,100,100,2,0,ok" + kGrasslandMore,
                      "SAMPL  3,1," + kWoodland + ",100,very good,100,100,100,100,1,0,ok" + kWoodlandMore}),
               run.screen);
  EXPECT_LINES(Lines{}, run.errors);
}

TEST_F(VegfitRun, DashReadsStandardInputOfEitherKind) {
  EXPECT_EQ(0, vegfit({"-"}, kWorkedCsv));
  EXPECT_LINES(kWorkedRows, run.screen);
  EXPECT_EQ(0, vegfit({"-"}, {"Q1           COVR%", " Festuca rubra 25", " Agrostis capillaris 3",
                              " Plantago lanceolata 10", ""}));
  EXPECT_LINES(kWorkedRows, run.screen);
}

// Standard input is CSV whatever the order of its columns.
TEST_F(VegfitRun, StandardInputCsvWithItsColumnsInAnyOrder) {
  EXPECT_EQ(0, vegfit({"-"}, {"cover,sample,species", "25,Q1,Festuca rubra",
                              "3,Q1,Agrostis capillaris", "10,Q1,Plantago lanceolata"}));
  EXPECT_LINES(kWorkedRows, run.screen);
  EXPECT_EQ(0, vegfit({"--top", "1", "-"}, {"frequency,sample,species,cover",
                                            "1,Q1,Festuca rubra,25"}));
  ASSERT_EQ(2u, run.screen.size());
  EXPECT_EQ("Q1,1,CG2a,", run.screen[1].substr(0, 10));
}

// Each file's unmatched names are reported with that file.
TEST_F(VegfitRun, WarningsOfEachFileNameThatFile) {
  run.put("a.csv", {"sample,species,cover", "A,Xyzzy plugh,5", "A,Rumex acetosa,5"});
  run.put("b.csv", {"sample,species,cover", "B,Rumex acetosa,5"});
  EXPECT_EQ(0, vegfit({"a.csv", "b.csv"}));
  EXPECT_LINES(Lines{"a.csv:2: warning: no species named 'Xyzzy plugh', counted as a species "
                     "of no community; no close names"},
               run.errors);
}

// The explanation of a stand: its species by the names written, those of
// no species included.
TEST_F(VegfitRun, ExplainAStand) {
  run.put("q.csv", {"site,sample,species,cover", "G,1,Agrostis capillaris,30",
                    "G,1,Plantago lanceolata,10", "G,2,Xyzzy plugh,5",
                    "G,2,Agrostis capillaris,20"});
  EXPECT_EQ(0, vegfit({"--group-by", "site", "--explain", "--top", "1", "q.csv"}));
  ASSERT_EQ(2u, run.screen.size());
  EXPECT_EQ(0u, run.screen[1].find("G,1,CG2a,"));
  // Agrostis capillaris at 30 and 20 % in the stand's two quadrats: 25 %.
  const std::string tail = ",3,1,ok" + kGrasslandMore +
                           ",Festuca rubra (V 5-8),Plantago lanceolata; Xyzzy plugh,"
                           "Agrostis capillaris 25%: III 2-7; Plantago lanceolata 10%: absent; "
                           "Xyzzy plugh 5%: absent";
  EXPECT_EQ(tail, run.screen[1].substr(run.screen[1].size() - tail.size()));
}

TEST_F(VegfitRun, SeveralFilesInTheOrderGiven) {
  run.put("a.csv", {"sample,species,cover", "A,Rumex acetosa,5"});
  run.put("b.txt", {"B", " Festuca rubra 25", " Agrostis capillaris 3", " Plantago lanceolata 10"});
  EXPECT_EQ(0, vegfit({"--top", "1", "b.txt", "a.csv"}));
  // With two input files, each sample's file comes first.
  EXPECT_LINES((Lines{std::string("file,") + kHeader,
                      "b.txt,B,1," + kGrassland + ",79,good,98,65,100,72,3,0,ok" + kGrasslandMore,
                      "a.csv,A,1," + kWoodland + ",100,very good,100,100,100,100,1,0,ok" + kWoodlandMore}),
               run.screen);
}

TEST_F(VegfitRun, GroupByComposesOneSamplePerGroup) {
  // Stand G: two quadrats; Festuca rubra in both (20 and 30 %, mean 25),
  // Agrostis capillaris in one (4 %). Stand H: one quadrat. Frequencies
  // 2 and 1 of a maximum of 2.
  run.put("q.csv", {"site,sample,species,cover", "G,1,Festuca rubra,20",
                    "G,1,Agrostis capillaris,4", "H,1,Rumex acetosa,5", "G,2,Festuca rubra,30"});
  EXPECT_EQ(0, vegfit({"--group-by", "site", "--top", "1", "q.csv"}));
  EXPECT_LINES((Lines{kHeader, "G,1," + kGrassland + ",99,very good,98,100,100,100,2,0,ok" + kGrasslandMore,
                      "H,1," + kWoodland + ",100,very good,100,100,100,100,1,0,ok" + kWoodlandMore}),
               run.screen);
  EXPECT_LINES(Lines{}, run.errors);
}

// ---- What a fit means: indicator values, the stand table, the schema.

// Hill-Ellenberg values of three of the four species (Rumex acetosa has
// none), for a sample of Festuca rubra 40 %, Agrostis capillaris 20 %,
// Rumex acetosa 10 % and Plantago lanceolata present without a cover.
const Lines kIndicators = {"species_number,F,L,N,R,S", "1,5,7,4,5,0", "2,4,6,2,3,0",
                           "4,6,8,6,6,1"};
const Lines kIndicatorSample = {"sample,species,cover", "Q1,Festuca rubra,40",
                                "Q1,Agrostis capillaris,20", "Q1,Rumex acetosa,10",
                                "Q1,Plantago lanceolata,"};

TEST_F(VegfitRun, IndicatorMeansBesideTheCommunitys) {
  run.put("data/INDICATORS.csv", kIndicators);
  run.put("q.csv", kIndicatorSample);
  EXPECT_EQ(0, vegfit({"--top", "1", "q.csv"}));
  ASSERT_EQ(2u, run.screen.size());
  // Three species with values. Unweighted: F (5+4+6)/3 = 5, L 21/3 = 7,
  // N 12/3 = 4, R 14/3 = 4.67, S 1/3 = 0.33. Weighted by cover (40, 20 and
  // Plantago's 0): F (200+80)/60 = 4.67, L 400/60 = 6.67, N 200/60 = 3.33,
  // R 260/60 = 4.33, S 0. Against the grassland's means and sds: F
  // (5-5)/1 = 0, L 0, N 0.5/1.25 = 0.4, R (4.667-7)/0.8 = -2.92; S has sd
  // 0: none.
  const std::string figures =
      ",3,5.00,7.00,4.00,4.67,0.33,4.67,6.67,3.33,4.33,0.00,"
      "5.00,1.00,7.00,0.50,3.50,1.25,7.00,0.80,0.00,0.00,0.00,0.00,0.40,-2.92,";
  EXPECT_EQ(figures, run.screen[1].substr(run.screen[1].size() - figures.size()));

  EXPECT_EQ(0, vegfit({"--top", "1", "--format", "json", "q.csv"}));
  std::string text;
  for (const std::string& line : run.screen) text += line + "\n";
  const nlohmann::json row = nlohmann::json::parse(text)[0];
  EXPECT_EQ(3, row["indicators"]["species"]);
  EXPECT_EQ(nlohmann::json::parse(R"({"sample": 4.67, "sample_weighted": 4.33, "unit_mean": 7,
                                      "unit_sd": 0.8, "deviation": -2.92})"),
            row["indicators"]["R"]);
  EXPECT_TRUE(row["indicators"]["S"]["deviation"].is_null());
  EXPECT_EQ(nlohmann::json::parse(R"({"sample": 4, "unit_plots": 40, "unit_min": 12,
                                      "unit_mean": 20, "unit_max": 31})"),
            row["richness"]);
}

// A stand of three quadrats: Festuca rubra in all three (20, 40, 30 %),
// Agrostis capillaris in two (10, 2 %), Plantago lanceolata in one (5 %).
const Lines kThreeQuadrats = {"site,sample,species,cover",     "G,1,Festuca rubra,20",
                              "G,1,Agrostis capillaris,10",    "G,2,Festuca rubra,40",
                              "G,2,Plantago lanceolata,5",     "G,3,Festuca rubra,30",
                              "G,3,Agrostis capillaris,2"};

TEST_F(VegfitRun, StandTableBesideTheBestCommunitys) {
  run.put("q.csv", kThreeQuadrats);
  EXPECT_EQ(0, vegfit({"--group-by", "site", "--top", "1", "q.csv"}));
  ASSERT_EQ(2u, run.screen.size());
  const std::string fit = run.screen[1].substr(run.screen[1].find(kGrassland) + kGrassland.size() + 1);
  const std::string g = "G,3,CG2a," + fit.substr(0, fit.find(',')) + ",";

  EXPECT_EQ(0, vegfit({"--group-by", "site", "--table", "q.csv"}));
  // The grassland's species by constancy (V, III, I), then the stand's
  // other one. Stand constancy: 3 of 3 V, 2 of 3 (67 %) IV, 1 of 3 (33 %)
  // II; mean cover where present; Domin 2 % 3, 5 % and 10 % 4, 20 % 5,
  // 40 % 7.
  EXPECT_LINES((Lines{"sample,quadrats,nvc_code,fit,species,stand_quadrats,stand_constancy,"
                      "stand_min_cover,stand_mean_cover,stand_max_cover,stand_min_domin,"
                      "stand_max_domin,unit_constancy,unit_min_domin,unit_max_domin",
                      g + "Festuca rubra,3,V,20,30.00,40,5,7,V,5,8",
                      g + "Agrostis capillaris,2,IV,2,6.00,10,3,4,III,2,7",
                      g + "Rumex acetosa,,,,,,,,I,1,6",
                      g + "Plantago lanceolata,1,II,5,5.00,5,4,4,,,"}),
               run.screen);
  EXPECT_LINES(Lines{}, run.errors);

  EXPECT_EQ(0, vegfit({"--group-by", "site", "--table", "--format", "json", "q.csv"}));
  std::string text;
  for (const std::string& line : run.screen) text += line + "\n";
  const nlohmann::json stand = nlohmann::json::parse(text)[0];
  EXPECT_EQ(3, stand["quadrats"]);
  EXPECT_EQ("CG2a", stand["nvc_code"]);
  ASSERT_EQ(4u, stand["species"].size());
  EXPECT_EQ(nlohmann::json::parse(R"({"species": "Agrostis capillaris",
      "stand": {"quadrats": 2, "constancy": "IV", "min_cover": 2, "mean_cover": 6.0,
                "max_cover": 10, "min_domin": 3, "max_domin": 4},
      "unit": {"constancy": "III", "min_domin": 2, "max_domin": 7}})"),
            stand["species"][1]);
  EXPECT_TRUE(stand["species"][2]["stand"].is_null());
  EXPECT_TRUE(stand["species"][3]["unit"].is_null());
}

// The JSON output of results, explanations, a sample without a result and
// stand tables against the schema docs/vegfit-output.schema.json.
TEST_F(VegfitRun, JsonOutputFollowsTheSchema) {
  run.put("data/INDICATORS.csv", kIndicators);
  Lines csv = kIndicatorSample;
  csv.push_back("Q2,Xyzzy plugh,5");
  run.put("q.csv", csv);
  run.put("s.csv", kThreeQuadrats);
  const std::vector<std::pair<Lines, std::string>> runs = {
      {{"--format", "json", "--explain", "all", "-o", "rows.json", "q.csv"}, "rows.json"},
      {{"--format", "json", "--group-by", "site", "--explain", "-o", "stands.json", "s.csv"},
       "stands.json"},
      {{"--format", "json", "--group-by", "site", "--table", "-o", "table.json", "s.csv"},
       "table.json"}};
  for (const auto& [args, file] : runs) {
    ASSERT_EQ(0, vegfit(args)) << file;
    const std::string command = "/usr/bin/python3 " + veg::testing::sourceFile("tools/validate_json.py") +
                                " " + veg::testing::sourceFile("docs/vegfit-output.schema.json") +
                                " " + run.dir + "/" + file;
    EXPECT_EQ(0, std::system(command.c_str())) << command;
  }
  // The validator tells a faulty file: a fit that is a text.
  run.put("bad.json", {R"([{"sample": "Q1", "rank": 1, "fit": "79"}])"});
  const std::string bad = "/usr/bin/python3 " + veg::testing::sourceFile("tools/validate_json.py") + " " +
                          veg::testing::sourceFile("docs/vegfit-output.schema.json") + " " +
                          run.dir + "/bad.json >/dev/null 2>&1";
  EXPECT_NE(0, std::system(bad.c_str()));
}

// ---- The HTML report.

std::string fileText(const ProgramRun& run, const std::string& name) {
  std::string text;
  for (const std::string& line : run.lines(name)) text += line + "\n";
  return text;
}

// The worked example, a sample named as markup that only the woodland's
// Rumex acetosa fits, one named "&amp;" of Agrostis under its old name,
// and one of a name of no species.
TEST_F(VegfitRun, HtmlReportOfEverySample) {
  setenv("SOURCE_DATE_EPOCH", "86400", 1);  // the report's date: 1970-01-02
  run.put("data/INDICATORS.csv", kIndicators);
  Lines csv = kWorkedCsv;
  for (const char* more : {"<script>alert(1)</script>,Rumex acetosa,5", "&amp;,Agrostis tenuis,5",
                           "Q4,Xyzzy plugh,5"})
    csv.push_back(more);
  run.put("q.csv", csv);
  ASSERT_EQ(0, vegfit({"--top", "1", "q.csv"}));
  const Lines csv_errors = run.errors;
  ASSERT_EQ(0, vegfit({"--format", "html", "-o", "report.html", "q.csv"}));
  unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_LINES(csv_errors, run.errors);  // standard error as for CSV
  EXPECT_EQ((Lines{".stderr", "data", "q.csv", "report.html"}), run.files());  // no report.html.partial
  const std::string html = fileText(run, "report.html");
  EXPECT_EQ("", testing::nestingFault(html));
  EXPECT_EQ(std::string::npos, html.find("<script>"));
  std::vector<std::string> shown = {
      "<title>NVC report: q.csv</title>", "<dd>q.csv</dd>", "<dd>Test data 1</dd>",
      "<dd>1970-01-02</dd>", "<dd>4 samples, 1 without a result</dd>",
      "<tr><th>Communities per sample<td>5",
      // The notes: the sample without a result, the names.
      "<li>Q4: no species matched</li>",
      "<li><i>Xyzzy plugh</i>: counted as a species of no community</li>",
      "<li><i>Agrostis tenuis</i> as <i>Agrostis capillaris</i> (a synonym)</li>",
      // The overview.
      "<td><a href=\"#s1\">Q1</a><td>CG2a<td>Test grassland community, Typical subcommunity<td>79"
      "<td>good<td>H6210<td>Lowland calcareous grassland",
      "<td><a href=\"#s2\">&lt;script&gt;alert(1)&lt;/script&gt;</a><td>W1<td>Test woodland<td>100"
      "<td>very good<td>H91E0<td><tr>",
      "<td><a href=\"#s3\">&amp;amp;</a><td>CG2a",
      "<td><a href=\"#s4\">Q4</a><td><td colspan=\"5\">no result: no species matched",
      "<desc>CG 2: CG2a 2; W 1: W1 1.</desc>",
      "<h2>Sample &lt;script&gt;alert(1)&lt;/script&gt;</h2>",
      // Q1's page: 79 % (98, 65, 100, 72) in the grassland of 12 to 31
      // species per plot, 20 on average; a scale of 40 species, 4 px each.
      "<p>Best fit <b>CG2a</b>: 79, good. 3 species scored.</p>",
      "<path class=\"bar\" d=\"M60 28h158M280 28h49M336 28h32.5M392 28h50M448 28h36\"/>"
      "<path class=\"rng\" d=\"M568 28h76\"/><path class=\"mn\" d=\"M600 23v10\"/>"
      "<path class=\"sm\" d=\"M532 20v16\"/>",
      "<tr><td>CG2a<td>Test grassland community, Typical subcommunity<td>79<td>good<td>98<td>65"
      "<td>100<td>72<td>12-31 (20)",
      "<tr><td>Festuca rubra<td>25<td>V 5-8<tr><td>Agrostis capillaris<td>3<td>III 2-7"
      "<tr><td>Plantago lanceolata<td>10<td></tbody>",
      // Its indicator values (as IndicatorMeansBesideTheCommunitys works them,
      // Rumex acetosa aside): F 5, L 7, N 4, R 4.67, S 0.33; x = 40 + 20 v.
      "<tr><th>sample<td>5.00<td>7.00<td>4.00<td>4.67<td>0.33",
      "<tr><th class=\"u1\">CG2a<td>5.00 \xC2\xB1 1.00<td>7.00 \xC2\xB1 0.50<td>3.50 \xC2\xB1 1.25"
      "<td>7.00 \xC2\xB1 0.80<td>0.00 \xC2\xB1 0.00",
      "<path class=\"u1\" d=\"M120 17h40M140 15v4M170 27h20M180 25v4M85 37h50M110 35v4M164 47h32"
      "M180 45v4M40 57h0M40 55v4\"/><path class=\"sm\" d=\"M140 13v8M180 23v8M120 33v8M133 43v8"
      "M47 53v8\"/>",
      // "&amp;" lacks the grassland's constant.
      "<tr><td>Agrostis capillaris<td>5<td>III 2-7</tbody><tbody class=\"mc\">",
      "<tr><td>Festuca rubra<td>\xE2\x80\x93<td>V 5-8</tbody>",
      "<p>1 species scored, 1 name matching no species. No result: no species matched.</p>"};
  // Every message of standard error is in the notes.
  for (const std::string& line : run.errors) shown.push_back(escaped(line));
  for (const std::string& part : shown) EXPECT_NE(std::string::npos, html.find(part)) << part;

  // The report file is refused when it exists, and replaced with --force.
  EXPECT_EQ(1, vegfit({"--format", "html", "-o", "report.html", "q.csv"}));
  EXPECT_LINES(Lines{"report.html: exists; --force replaces it"}, run.errors);
  EXPECT_EQ(0, vegfit({"--format", "html", "-o", "report.html", "--force", "--top", "1", "q.csv"}));
  EXPECT_EQ((Lines{".stderr", "data", "q.csv", "report.html"}), run.files());
}

TEST_F(VegfitRun, HtmlReportOfStands) {
  run.put("s.csv", kThreeQuadrats);
  ASSERT_EQ(0, vegfit({"--format", "html", "--group-by", "site", "s.csv"}));
  std::string html;
  for (const std::string& line : run.screen) html += line + "\n";
  EXPECT_EQ("", testing::nestingFault(html));
  for (const char* part :
       {"<dd>1 stand of 3 quadrats</dd>", "<h2>Stand G</h2>",
        "<tr><th>Stands composed by<td>the columns site",
        "<caption>The stand&#39;s constancy table beside the table of CG2a</caption>",
        // Agrostis capillaris in 2 of 3 quadrats (10 and 2 %): IV, Domin 3-4.
        "<tr><td>Agrostis capillaris<td>2<td>IV<td>2-6.00-10<td>3-4<td>III<td>2-7",
        "<tr><td>Rumex acetosa<td colspan=\"4\" class=\"ms\">not in the stand<td>I<td>1-6"})
    EXPECT_NE(std::string::npos, html.find(part)) << part;
}

// ---- Exit statuses, messages and the output file.

TEST_F(VegfitRun, UsageErrorsExitWithTwo) {
  run.put("q.csv", kWorkedCsv);
  run.put("samp.txt", {"Q1", " Festuca rubra 25"});
  const std::vector<std::pair<Lines, std::string>> cases = {
      {{"--bogus", "q.csv"}, "vegfit: unknown option '--bogus'"},
      {{"-x", "q.csv"}, "vegfit: unknown option '-x'"},
      {{"--type", "6", "q.csv"}, "vegfit: --type takes a number from 1 to 5, not '6'"},
      {{"--top", "0", "q.csv"}, "vegfit: --top takes a number from 1 to 99, not '0'"},
      {{"--top", "100", "q.csv"}, "vegfit: --top takes a number from 1 to 99, not '100'"},
      {{"--scale", "bb", "q.csv"},
       "vegfit: --scale takes percent, braun-blanquet or domin, not 'bb'"},
      {{"--format", "xml", "q.csv"}, "vegfit: --format takes csv, json or html, not 'xml'"},
      {{"--groups", "mosses", "q.csv"},
       "vegfit: --groups takes all, no-lichens or vascular, not 'mosses'"},
      {{"q.csv", "--top"}, "vegfit: option '--top' needs a value"},
      {{}, "vegfit: no input file"},
      {{"--group-by", "site", "samp.txt"},
       "vegfit: --group-by needs CSV input; samp.txt is a sample file"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(message);
    EXPECT_EQ(2, vegfit(args));
    EXPECT_LINES((Lines{message, "Try 'vegfit --help' for more information."}),
                 run.errors);
    EXPECT_LINES(Lines{}, run.screen);
  }
}

TEST_F(VegfitRun, BadInputExitsWithOneNamingFileAndLineAndWritesNothing) {
  run.put("q.csv", {"sample,species,cover", "Q1,Festuca rubra,25", "Q1,Agrostis capillaris,abc",
                    "Q1,Plantago lanceolata", "Q2,Rumex acetosa,-3"});
  EXPECT_EQ(1, vegfit({"q.csv"}));
  const std::string forms =
      " is not a value of the percent scale; it takes a number from 0 to 100, with or without "
      "%, a range such as 2-4 (its middle), <1 (the lowest value), or NA, p, x, present or a "
      "blank for present without a cover";
  EXPECT_LINES((Lines{"q.csv:3: cover 'abc'" + forms, "q.csv:4: 2 fields, the header row has 3",
                      "q.csv:5: cover '-3'" + forms,
                      "vegfit: nothing written: the input has 3 errors"}),
               run.errors);
  EXPECT_LINES(Lines{}, run.screen);

  // The same with -o: no file is left behind.
  EXPECT_EQ(1, vegfit({"-o", "out.csv", "q.csv"}));
  EXPECT_FALSE(run.exists("out.csv"));

  // A sample file: "r" is no number.
  run.put("samp.txt", {"Q1", " Festuca rubra 25", " Festuca rubra r"});
  EXPECT_EQ(1, vegfit({"samp.txt"}));
  EXPECT_LINES((Lines{"samp.txt:3: species line 'Festuca rubra r' does not read as name, value",
                      "vegfit: nothing written: the input has 1 error"}),
               run.errors);
}

TEST_F(VegfitRun, MissingFilesAndReferenceData) {
  EXPECT_EQ(1, vegfit({"none.csv"}));
  EXPECT_LINES((Lines{"none.csv: cannot open the file",
                      "vegfit: nothing written: the input has 1 error"}),
               run.errors);
  run.put("q.csv", kWorkedCsv);
  EXPECT_EQ(1, run.run(builtProgram("vegfit/vegfit"), {"--data", "nowhere", "q.csv"}, {},
                       RunLimits{}));
  EXPECT_LINES(Lines{"vegfit: cannot load the reference data in nowhere: SPECDICT.txt: "
                     "*** Error *** file not found"},
               run.errors);
  EXPECT_LINES(Lines{}, run.screen);
  // Every file the reference data needs, the names table included.
  std::filesystem::remove(run.dir + "/data/NAMES.txt");
  EXPECT_EQ(1, vegfit({"q.csv"}));
  EXPECT_LINES(Lines{"vegfit: cannot load the reference data in data: NAMES.txt is missing (the "
                     "table of full names beside SPECDICT.txt)"},
               run.errors);
  run.put("data/NAMES.txt", {""});
  EXPECT_EQ(1, vegfit({"q.csv"}));
  EXPECT_LINES(Lines{"vegfit: data/NAMES.txt holds no names"}, run.errors);
  run.put("data/NAMES.txt", testing::names());
  // The tables name a species the dictionary does not hold.
  Lines tables = testing::assoctab();
  tables[4] = "   77    3    4";
  run.put("data/ASSOCTAB.txt", tables);
  EXPECT_EQ(1, vegfit({"q.csv"}));
  EXPECT_LINES(Lines{"vegfit: cannot load the reference data in data: ASSOCTAB.txt: "
                     "Unknown species number    77 in data"},
               run.errors);
}

TEST_F(VegfitRun, OutputFileRefusedWhenItExistsUnlessForced) {
  run.put("q.csv", kWorkedCsv);
  EXPECT_EQ(0, vegfit({"-o", "out.csv", "q.csv"}));
  EXPECT_LINES(Lines{}, run.screen);
  EXPECT_LINES(kWorkedRows, run.lines("out.csv"));

  run.put("out.csv", {"keep me"});
  EXPECT_EQ(1, vegfit({"--output", "out.csv", "q.csv"}));
  EXPECT_LINES(Lines{"out.csv: exists; --force replaces it"}, run.errors);
  EXPECT_LINES(Lines{"keep me"}, run.lines("out.csv"));

  EXPECT_EQ(0, vegfit({"-o", "out.csv", "--force", "--top", "1", "q.csv"}));
  EXPECT_LINES((Lines{kHeader, kWorkedRows[1]}), run.lines("out.csv"));
  EXPECT_LINES(Lines{}, run.errors);

  // "-" is standard output.
  EXPECT_EQ(0, vegfit({"-o", "-", "q.csv"}));
  EXPECT_LINES(kWorkedRows, run.screen);

  // Options after the file names are options, and the input is the file
  // named, never the output.
  EXPECT_EQ(0, vegfit({"q.csv", "--force", "-o", "out.csv", "--top", "1"}));
  EXPECT_LINES((Lines{kHeader, kWorkedRows[1]}), run.lines("out.csv"));
  EXPECT_EQ(1, vegfit({"--force", "./out.csv", "-o", "out.csv"}));
  EXPECT_LINES(Lines{"out.csv: is an input file; the output must go to another file"},
               run.errors);
  EXPECT_LINES((Lines{kHeader, kWorkedRows[1]}), run.lines("out.csv"));
}

TEST_F(VegfitRun, OutputThatCannotBeWrittenIsReported) {
  run.put("q.csv", kWorkedCsv);
  std::filesystem::create_directory(run.dir + "/out.csv");
  EXPECT_EQ(1, vegfit({"-o", "out.csv", "--force", "q.csv"}));
  EXPECT_LINES(Lines{"out.csv: cannot be created"}, run.errors);
  // A full disk part of the way: the run says so, and leaves no file that
  // could be taken for the whole output.
  Lines many = {"sample,species,cover"};
  for (int s = 0; s < 3000; ++s) many.push_back("S" + std::to_string(s) + ",Festuca rubra,25");
  run.put("many.csv", many);
  RunLimits limits;
  limits.file_size_limit_kib = 8;
  // Rows written while reading, rows written at the end (--explain,
  // --group-by), and rows written to big.csv itself when a big.csv.partial
  // is left from another run: none leaves a big.csv behind.
  const struct {
    Lines options;
    bool partial_left;
  } cases[] = {{{}, false}, {{"--explain"}, false}, {{"--group-by", "sample"}, false}, {{}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.options) +
                 (c.partial_left ? " with a partial left" : ""));
    if (c.partial_left) run.put("big.csv.partial", {"left from another run"});
    Lines args = {"--data", "data", "-o", "big.csv", "many.csv"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(1, run.run(builtProgram("vegfit/vegfit"), args, {}, limits));
    ASSERT_FALSE(run.errors.empty());
    EXPECT_EQ("big.csv: cannot be written: File too large; nothing written", run.errors.back());
    EXPECT_FALSE(std::filesystem::exists(run.dir + "/big.csv"));
    EXPECT_EQ(run.lines("big.csv.partial"),
              c.partial_left ? Lines{"left from another run"} : Lines{});
  }
}

TEST_F(VegfitRun, HelpAndVersionExitWithZero) {
  EXPECT_EQ(0, vegfit({"--help"}));
  ASSERT_FALSE(run.screen.empty());
  EXPECT_EQ("Usage: vegfit [options] FILE...", run.screen[0]);
  for (const std::string& line : run.screen) EXPECT_LE(line.size(), 80u) << line;
  EXPECT_LINES(Lines{}, run.errors);
  const Lines help = run.screen;
  EXPECT_EQ(0, vegfit({"-h"}));
  EXPECT_EQ(help, run.screen);
  EXPECT_EQ(0, vegfit({"--version"}));
  ASSERT_EQ(2u, run.screen.size());
  EXPECT_EQ("vegfit ", run.screen[0].substr(0, 7));
  EXPECT_EQ("reference data: Test data 1", run.screen[1]);
}

// ---- The shipped data, found without --data.

TEST_F(VegfitRun, ShippedExampleIdentifiedWithoutBeingToldWhereTheDataIs) {
  run.copy(veg::testing::sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  EXPECT_EQ(0, shipped({"--top", "1", "quadrats.txt"}));
  ASSERT_EQ(14u, run.screen.size());  // the header and thirteen quadrats
  EXPECT_EQ("HEATH1,1,H", run.screen[1].substr(0, 10));
  EXPECT_EQ("OAKWOOD,1,W", run.screen[7].substr(0, 11));
  EXPECT_LINES(Lines{}, run.errors);
}

}  // namespace
}  // namespace vegfit
