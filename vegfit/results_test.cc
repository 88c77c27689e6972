#include "vegfit/results.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "common/testing/fakes.h"
#include "vegfit/reader.h"
#include "vegfit/scoring.h"
#include "vegfit/testing/world.h"

namespace vegfit {
namespace {

using testing::Lines;

const std::string kHeader = testing::resultsHeader();
// The 42 attribute fields after the status of a row that has none: 16 of
// names, habitats and richness, 11 of the sample's indicator means, 10 of
// the community's, 5 deviations.
const std::string kNoAttributes(42, ',');
// Scored without attribute files: the same, but the sample has 0 species
// with indicator values.
const std::string kScoredWithoutAttributes = std::string(16, ',') + ",0" + std::string(25, ',');

TEST(RowTest, CsvHeaderNamesTheColumns) {
  EXPECT_EQ(kHeader, csvHeader({}));
  EXPECT_EQ(std::string(kHeader) + ",missing_constants,not_in_table,species_account",
            csvHeader({false, true}));
  EXPECT_EQ(std::string("file,") + kHeader, csvHeader({true, false}));
}

Row sampleRow(const CommunityText& community) {
  Row row;
  row.sample = "Q1, north";
  row.rank = 2;
  row.community = &community;
  row.fit = 79;
  row.community_composition_fit = 98;
  row.sample_composition_fit = 65;
  row.community_cover_fit = 100;
  row.sample_cover_fit = 72;
  row.grade = "good";
  row.species = 3;
  row.unmatched = 1;
  return row;
}

CommunityText community() {
  CommunityText t{"CG2a", "Festuca-Avenula grassl.", "typical", "E1.26", "Semi-dry, \"basic\"", ""};
  t.csv = ",CG2a,Festuca-Avenula grassl.,typical,E1.26,\"Semi-dry, \"\"basic\"\"\"";
  return t;
}

TEST(RowTest, CsvRowQuotesWhatNeedsIt) {
  const CommunityText t = community();
  std::string out;
  appendCsvRow(out, sampleRow(t), {});
  EXPECT_EQ(
      "\"Q1, north\",2,CG2a,Festuca-Avenula grassl.,typical,E1.26,\"Semi-dry, \"\"basic\"\"\","
      "79,good,98,65,100,72,3,1,ok" +
          kNoAttributes,
      out);
}

TEST(RowTest, CommunityTooPoorToShowLeavesItsTextsEmpty) {
  Row row = sampleRow(community());
  row.community = nullptr;
  row.fit = 0;
  std::string out;
  appendCsvRow(out, row, {});
  EXPECT_EQ("\"Q1, north\",2,,,,,,0,good,98,65,100,72,3,1,ok" + kNoAttributes, out);
}

TEST(RowTest, ExplanationColumns) {
  const CommunityText t = community();
  Row row = sampleRow(t);
  row.explained = true;
  row.missing = {{"Festuca ovina", {5}}, {"Agrostis capillaris", {4}}};
  row.not_in_table = {"Plantago lanceolata", "Bellis perennis"};
  std::string out;
  appendCsvRow(out, row, {false, true});
  // Blanks and semicolons need no quotes in CSV; only commas, quotes and
  // line ends do.
  EXPECT_EQ(kNoAttributes +
                ",Festuca ovina (V); Agrostis capillaris (IV),Plantago lanceolata; Bellis perennis,",
            out.substr(out.find(",3,1,ok") + 7));
  row.explained = false;  // a row below rank 1
  out.clear();
  appendCsvRow(out, row, {false, true});
  EXPECT_EQ(",3,1,ok" + kNoAttributes + ",,,", out.substr(out.find(",3,1,ok")));
}

TEST(RowTest, JsonObjectWithTheSameNames) {
  const CommunityText t = community();
  Row row = sampleRow(t);
  row.explained = true;
  row.missing = {{"Festuca ovina", {5}}};
  row.not_in_table = {"Plantago lanceolata"};
  std::string out;
  appendJsonRow(out, row, {false, true});
  const nlohmann::ordered_json j = nlohmann::ordered_json::parse(out);
  std::vector<std::string> keys;
  for (auto it = j.begin(); it != j.end(); ++it) keys.push_back(it.key());
  EXPECT_EQ((std::vector<std::string>{"sample", "rank", "nvc_code", "community", "subcommunity",
                                      "eunis_code", "eunis_name", "fit", "grade",
                                      "community_composition_fit", "sample_composition_fit",
                                      "community_cover_fit", "sample_cover_fit", "species",
                                      "unmatched", "status", "community_name",
                                      "subcommunity_name", "full_name", "eunis_full_name",
                                      "eunis_relationship", "habitats", "richness", "indicators",
                                      "missing_constants", "not_in_table", "species_account"}),
            keys);
  EXPECT_EQ("Q1, north", j["sample"]);
  EXPECT_EQ(2, j["rank"]);
  EXPECT_EQ("Semi-dry, \"basic\"", j["eunis_name"]);
  EXPECT_EQ(79, j["fit"]);
  EXPECT_EQ(72, j["sample_cover_fit"]);
  EXPECT_EQ(nlohmann::ordered_json::parse(
                R"([{"species":"Festuca ovina","constancy":"V","min_domin":null,"max_domin":null}])"),
            j["missing_constants"]);
  EXPECT_EQ(nlohmann::ordered_json::parse(R"(["Plantago lanceolata"])"), j["not_in_table"]);

  row.community = nullptr;
  row.explained = false;
  out.clear();
  appendJsonRow(out, row, {false, true});
  const nlohmann::json blank = nlohmann::json::parse(out);
  EXPECT_TRUE(blank["nvc_code"].is_null());
  EXPECT_TRUE(blank["eunis_name"].is_null());
  EXPECT_FALSE(blank.contains("missing_constants"));
}

// A sample without a result: one row that says why, with its counts and
// no rank, code or fit; with several input files the file comes first.
TEST(RowTest, RowWithoutAResult) {
  Row row = sampleRow(community());
  row.result = false;
  row.status = kStatusNoSpecies;
  row.file = "b.csv";
  std::string out;
  appendCsvRow(out, row, {true, false});
  EXPECT_EQ("b.csv,\"Q1, north\",,,,,,,,,,,,,3,1,no species matched" + kNoAttributes, out);
  out.clear();
  appendJsonRow(out, row, {true, false});
  const nlohmann::ordered_json j = nlohmann::ordered_json::parse(out);
  EXPECT_EQ("b.csv", j["file"]);
  for (const char* key : {"rank", "nvc_code", "fit", "grade", "sample_cover_fit"})
    EXPECT_TRUE(j[key].is_null()) << key;
  EXPECT_EQ(3, j["species"]);
  EXPECT_EQ("no species matched", j["status"]);
}

TEST(RowTest, JsonKeepsNamesThatAreNotUtf8) {
  const CommunityText t = community();
  Row row = sampleRow(t);
  row.sample = "Q\xE9";  // Latin-1, not UTF-8
  std::string out;
  appendJsonRow(out, row, {});
  nlohmann::json parsed;
  EXPECT_NO_THROW(parsed = nlohmann::json::parse(out));
  // The byte that is not UTF-8 becomes the replacement character U+FFFD.
  EXPECT_EQ("Q\xEF\xBF\xBD", parsed["sample"]);
}

// Scoring the world's samples, read from CSV as vegfit reads them.
struct ScorerTest : ::testing::Test {
  testing::LoadedWorld world;
  veg::testing::MemoryFileSystem fs;
  veg::testing::FakeConsole console;
  Diagnostics messages{console};
  SampleSet set;
  Options options;

  void read(const Lines& csv) {
    fs.put("q.csv", csv);
    ReadSettings settings;
    InputReader reader(*world.matcher, set, messages, settings);
    reader.readCsv(*fs.openExisting("q.csv"), "q.csv");
    set.order();
  }
  Lines rows(std::size_t sample = 0) {
    Reference reference(*world.tables, *world.matcher);
    Scorer scorer(reference, options);
    std::string out;
    scorer.score(set, sample, out);
    return veg::testing::splitLines(out);
  }
};

// The worked example: the class V species at 25 %, the class III species at
// 3 %, and a species no table holds at 10 %.
const Lines kWorkedExample = {"sample,species,cover", "Q1,Festuca rubra,25",
                              "Q1,Agrostis capillaris,3", "Q1,Plantago lanceolata,10"};
const char kGrassland[] = "CG2a,Test grassland comm.,typical,E1.26,Semi-dry grassland";

TEST_F(ScorerTest, WorkedExampleMixedCompositionAndCover) {
  read(kWorkedExample);
  options.top = 2;
  // Community 2 (the woodland) shares no species: it scores 0 and gives no
  // row.
  EXPECT_EQ((Lines{std::string("Q1,1,") + kGrassland + ",79,good,98,65,100,72,3,0,ok" + kScoredWithoutAttributes}),
            rows());
}

TEST_F(ScorerTest, WorkedExampleOtherAnalysisTypes) {
  read(kWorkedExample);
  options.top = 1;
  options.analysis_type = 2;  // composition only: the cover columns are 0
  EXPECT_EQ(Lines{std::string("Q1,1,") + kGrassland + ",75,good,98,65,0,0,3,0,ok" + kScoredWithoutAttributes}, rows());
  options.analysis_type = 3;  // cover only: 0.5 x (0.92259 + 0.72177)
  EXPECT_EQ(Lines{std::string("Q1,1,") + kGrassland + ",82,very good,0,65,100,72,3,0,ok" + kScoredWithoutAttributes}, rows());
  options.analysis_type = 4;  // the sample's composition alone
  EXPECT_EQ(Lines{std::string("Q1,1,") + kGrassland + ",65,fair,0,65,0,0,3,0,ok" + kScoredWithoutAttributes}, rows());
}

TEST_F(ScorerTest, TopBeyondTheCommunitiesWithAFitGivesOneRowEach) {
  read(kWorkedExample);
  options.top = 99;
  EXPECT_EQ(1u, rows().size());  // the woodland has no fit
}

// Samples without a result: every name unmatched, or only species that no
// community holds.
TEST_F(ScorerTest, SampleWithoutAResultGetsOneRowSayingWhy) {
  read({"sample,species,cover", "Q1,Xyzzy plugh,5", "Q2,Plantago lanceolata,10"});
  EXPECT_EQ(Lines{"Q1,,,,,,,,,,,,,1,1,no species matched" + kScoredWithoutAttributes}, rows(0));
  EXPECT_EQ(Lines{"Q2,,,,,,,,,,,,,1,0,no community fits" + kScoredWithoutAttributes}, rows(1));
}

TEST_F(ScorerTest, ExplanationOfTheBestCommunity) {
  // Q1 shares nothing with the woodland (Rumex acetosa would make it the
  // best: its class I share alone fills the woodland's composition).
  read({"sample,species,cover", "Q1,Agrostis tenuis,30", "Q1,Plantago lanceolata,10",
        "Q1,Quercus robur,1", "Q2,Festuca arenaria,25", "Q2,Agrostis capillaris,3"});
  options.top = 2;
  options.explain = true;
  const Lines q1 = rows(0);
  ASSERT_EQ(1u, q1.size());  // the woodland, sharing nothing, gives no row
  // Festuca rubra, of constancy V, is missing; Plantago lanceolata is in no
  // table; Agrostis (class III) is neither; Quercus robur is unmatched, a
  // species of no table as written.
  EXPECT_EQ(0u, q1[0].find("Q1,1,CG2a,"));
  // Without the floristic table file a place is its class code's:
  // constancy and largest Domin value.
  EXPECT_EQ(",3,1,ok" + kScoredWithoutAttributes +
                ",Festuca rubra (V up to 8),Plantago lanceolata; Quercus robur,"
                "Agrostis capillaris 30%: III up to 7; Plantago lanceolata 10%: absent; "
                "Quercus robur 1%: absent",
            q1[0].substr(q1[0].find(",3,1,ok")));
  const Lines q2 = rows(1);
  EXPECT_EQ(",2,0,ok" + kScoredWithoutAttributes +
                ",,,Festuca rubra 25%: V up to 8; Agrostis capillaris 3%: III up to 7",
            q2[0].substr(q2[0].find(",2,0,ok")));
}

TEST_F(ScorerTest, SpeciesGroupsLeaveOutWhatTheyExclude) {
  read(kWorkedExample);
  options.top = 1;
  options.species_limit = 3;  // species numbered above 3 take no part
  const Lines r = rows();
  EXPECT_EQ(",2,0,ok" + kScoredWithoutAttributes, r[0].substr(r[0].find(",2,0,ok")));
}

TEST_F(ScorerTest, JsonRowsEachEndedByAComma) {
  read(kWorkedExample);
  options.top = 2;
  options.format = Format::kJson;
  const Lines r = rows();
  ASSERT_EQ(1u, r.size());  // the woodland has no fit
  for (const std::string& line : r) {
    EXPECT_EQ("  {", line.substr(0, 3));
    EXPECT_EQ("},", line.substr(line.size() - 2));
  }
  const nlohmann::json first = nlohmann::json::parse(r[0].substr(0, r[0].size() - 1));
  EXPECT_EQ("CG2a", first["nvc_code"]);
  EXPECT_EQ(79, first["fit"]);
}

TEST(ReferenceTest, ConstantSpeciesAndTheTablesThatHoldThem) {
  testing::LoadedWorld world;
  Reference reference(*world.tables, *world.matcher);
  auto [begin, end] = reference.constants(1);
  ASSERT_EQ(1, end - begin);
  EXPECT_EQ(1, begin->species_number);
  EXPECT_EQ(5, begin->constancy);
  auto [begin2, end2] = reference.constants(2);
  EXPECT_EQ(begin2, end2);
  EXPECT_TRUE(reference.holds(1, 1));
  EXPECT_TRUE(reference.holds(2, 3));
  EXPECT_FALSE(reference.holds(2, 1));
  EXPECT_FALSE(reference.holds(1, 4));
  EXPECT_EQ("W1", reference.text(2).nvc_code);
  EXPECT_EQ("", reference.text(2).subcommunity);
  EXPECT_EQ("Festuca rubra", reference.speciesName(1));
}

TEST(ReferenceTest, WithoutNamesTableNamesAsWrittenOrKeys) {
  testing::LoadedWorld world(false);
  Reference reference(*world.tables, *world.matcher);
  EXPECT_EQ("Festuca rubra", reference.speciesName(1, "Festuca rubra"));
  EXPECT_EQ("fest rubr", reference.speciesName(1));
}

// The pool: whatever the number of threads, the rows come in input order.
struct PoolTest : ScorerTest {
  std::vector<std::string> run(unsigned threads, bool early) {
    Reference reference(*world.tables, *world.matcher);
    ScoringPool pool(reference, options, threads);
    auto shared = std::make_shared<SampleSet>(std::move(set));
    if (early) pool.startHelpers();
    pool.add(shared, 0, shared->samples.size() / 2);
    pool.add(shared, shared->samples.size() / 2, shared->samples.size());
    pool.startHelpers();
    const std::string name = "out" + std::to_string(++runs);
    auto out = fs.createNew(name);
    pool.finish(*out);
    set = std::move(*shared);
    return fs.lines(name);
  }
  int runs = 0;  // each run writes a file of its own
  void manySamples(int n) {
    Lines csv = {"sample,species,cover"};
    const char* species[] = {"Festuca rubra", "Agrostis capillaris", "Rumex acetosa",
                             "Plantago lanceolata"};
    for (int s = 0; s < n; ++s)
      for (int i = 0; i <= s % 4; ++i)
        csv.push_back("S" + std::to_string(s) + "," + species[(s + i) % 4] + "," +
                      std::to_string(1 + (s * 7 + i * 13) % 90));
    read(csv);
  }
};

TEST_F(PoolTest, SameRowsInOrderWithAnyNumberOfThreads) {
  manySamples(1000);
  options.top = 2;
  const std::vector<std::string> one = run(1, false);
  // A sample of Festuca rubra alone (every fourth) fits the grassland only:
  // one row; the others fit both communities: two.
  ASSERT_EQ(1750u, one.size());
  EXPECT_EQ(0u, one[0].find("S0,1,"));
  EXPECT_EQ(0u, one[1749].find("S999,2,"));
  EXPECT_EQ(one, run(3, false));
  EXPECT_EQ(one, run(4, true));
}

// More batches than threads, handed over while reading, run again and
// again: the pool's end of work is reached every time with every row.
TEST_F(PoolTest, ManyBatchesOnSeveralThreadsAgainAndAgain) {
  manySamples(1300);
  const std::vector<std::string> one = run(1, false);
  ASSERT_FALSE(one.empty());
  for (int again = 0; again < 20; ++again) ASSERT_EQ(one, run(4, true)) << again;
}

TEST_F(PoolTest, JsonArrayWithoutATrailingComma) {
  manySamples(600);
  options.format = Format::kJson;
  options.top = 1;
  Reference reference(*world.tables, *world.matcher);
  ScoringPool pool(reference, options, 2);
  auto shared = std::make_shared<SampleSet>(std::move(set));
  pool.add(shared, 0, shared->samples.size());
  pool.startHelpers();
  auto out = fs.createNew("out.json");
  out->writeLine("[");
  pool.finish(*out);
  out->writeLine("]");
  std::string text;
  for (const std::string& line : fs.lines("out.json")) text += line + "\n";
  const nlohmann::json j = nlohmann::json::parse(text);
  ASSERT_EQ(600u, j.size());
  EXPECT_EQ("S599", j[599]["sample"]);
}

TEST_F(PoolTest, AbandonedBatchesWriteNothing) {
  manySamples(600);
  Reference reference(*world.tables, *world.matcher);
  ScoringPool pool(reference, options, 2);
  auto shared = std::make_shared<SampleSet>(std::move(set));
  pool.startHelpers();
  pool.add(shared, 0, shared->samples.size());
  pool.abandon();
  auto out = fs.createNew("out.csv");
  pool.finish(*out);
  EXPECT_TRUE(fs.lines("out.csv").empty());
}

}  // namespace
}  // namespace vegfit
