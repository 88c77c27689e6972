#include "vegfit/reader.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"
#include "vegfit/testing/world.h"
#include "engine/entries.h"
#include "engine/sample_file.h"

namespace vegfit {
namespace {

using testing::Lines;

TEST(InputKindTest, CsvByNameOrByHeader) {
  EXPECT_TRUE(isCsvName("quadrats.csv"));
  EXPECT_TRUE(isCsvName("dir/Q.CSV"));
  EXPECT_FALSE(isCsvName("SAMP.txt"));
  EXPECT_FALSE(isCsvName(".csv"));
  EXPECT_TRUE(isCsvHeader("sample,species,cover"));
  EXPECT_TRUE(isCsvHeader("\xEF\xBB\xBF" "Site,Sample , Species,Cover,frequency"));
  EXPECT_FALSE(isCsvHeader("sample,species"));
  EXPECT_FALSE(isCsvHeader("Q1       COVR%"));
}

struct ReaderTest : ::testing::Test {
  testing::LoadedWorld world;
  veg::testing::MemoryFileSystem fs;
  veg::testing::FakeConsole console;
  Diagnostics messages{console};
  SampleSet set;
  ReadSettings settings;

  void readCsv(const Lines& lines, const std::string& name = "q.csv") {
    fs.put(name, lines);
    InputReader reader(*world.matcher, set, messages, settings);
    reader.readCsv(*fs.openExisting(name), name);
    set.order();
  }
  void readSamples(const Lines& lines, const std::string& name = "SAMP.txt") {
    fs.put(name, lines);
    InputReader reader(*world.matcher, set, messages, settings);
    reader.readSampleFile(*fs.openExisting(name), name);
    set.order();
  }
  // The lines of sample i as (code, frequency, tenths).
  std::vector<std::array<int, 3>> linesOf(std::size_t i) const {
    std::vector<std::array<int, 3>> out;
    const SampleInfo& s = set.samples[i];
    for (std::size_t l = s.first; l < s.first + s.count; ++l)
      out.push_back({set.lines[l].code, set.lines[l].frequency, set.lines[l].tenths});
    return out;
  }
  using Entries = std::vector<std::array<int, 3>>;
};

TEST_F(ReaderTest, CsvRowsBecomeSamples) {
  readCsv({"sample,species,cover", "Q1,Festuca rubra,25", "Q1,Agrostis capillaris,3",
           "Q2,Plantago lanceolata,2.5", "Q1,Rumex acetosa,10"});
  // Q1's rows are one sample, with a warning: they are not together.
  EXPECT_EQ(Lines{"q.csv:2: warning: the rows of sample 'Q1' are not together (lines 2-3, 5); "
                  "they are read as one sample. If several columns name a sample, give them "
                  "all with --sample-column (columns: sample)"},
            console.output);
  ASSERT_EQ(2u, set.samples.size());
  EXPECT_EQ("Q1", set.samples[0].name);
  EXPECT_EQ("Q2", set.samples[1].name);
  EXPECT_EQ("q.csv:2", set.where(set.samples[0]));
  EXPECT_EQ("q.csv:4", set.where(set.samples[1]));
  // Q1's rows come together, in the order of the file.
  EXPECT_EQ((Entries{{1, 1, 250}, {2, 1, 30}, {3, 1, 100}}), linesOf(0));
  EXPECT_EQ((Entries{{4, 1, 25}}), linesOf(1));
  EXPECT_EQ(0, set.samples[0].max_frequency);
  EXPECT_EQ(1, set.samples[0].cover_scale);
  EXPECT_EQ(0, set.samples[0].unmatched);
}

TEST_F(ReaderTest, HeaderInAnyOrderAndCaseWithOtherColumns) {
  settings.cover_scale = 3;
  readCsv({"\xEF\xBB\xBF" "Date,COVER , Species,Sample,Notes", "2024-06-01,5,Festuca rubra,Q1,",
           "2024-06-01,7,Agrostis capillaris,Q1,\"grazed, wet\""});
  EXPECT_TRUE(console.output.empty());
  ASSERT_EQ(1u, set.samples.size());
  EXPECT_EQ(3, set.samples[0].cover_scale);
  EXPECT_EQ((Entries{{1, 1, 50}, {2, 1, 70}}), linesOf(0));
}

TEST_F(ReaderTest, QuotedFieldsBlankRowsAndLineEnds) {
  readCsv({"sample,species,cover", "\"Q 1, north\",\"Festuca rubra\",\"25\"", "", ",,",
           "\"Q 1, north\", Agrostis capillaris ,3\r", "\"Q2", "(two lines)\",Rumex acetosa,1"});
  EXPECT_TRUE(console.output.empty()) << console.output[0];
  ASSERT_EQ(2u, set.samples.size());
  EXPECT_EQ("Q 1, north", set.samples[0].name);
  EXPECT_EQ((Entries{{1, 1, 250}, {2, 1, 30}}), linesOf(0));
  EXPECT_EQ("Q2\n(two lines)", set.samples[1].name);
  EXPECT_EQ("q.csv:6", set.where(set.samples[1]));
}

TEST_F(ReaderTest, FaultyRowsNamedByFileAndLine) {
  readCsv({"sample,species,cover", "Q1,Festuca rubra", ",Festuca rubra,5", "Q1,,5",
           "Q1,Festuca rubra,r", "Q1,Festuca rubra,-5", "Q1,Festuca rubra,2,5", "Q1,Festuca rubra,5",
           "\"Q2,Rumex acetosa,1"});
  const std::string forms =
      " is not a value of the percent scale; it takes a number from 0 to 100, with or without "
      "%, a range such as 2-4 (its middle), <1 (the lowest value), or NA, p, x, present or a "
      "blank for present without a cover";
  EXPECT_EQ((Lines{"q.csv:2: 2 fields, the header row has 3", "q.csv:3: no sample name",
                   "q.csv:4: no species name", "q.csv:5: cover 'r'" + forms,
                   "q.csv:6: cover '-5'" + forms,
                   "q.csv:7: 4 fields, the header row has 3",
                   "q.csv:9: quote not closed before the end of the file"}),
            console.output);
  EXPECT_EQ(7, messages.errors());
}

TEST_F(ReaderTest, HeaderWithoutTheColumnsNeeded) {
  readCsv({"site,plant,cover", "Q1,Festuca rubra,5"});
  EXPECT_EQ((Lines{"q.csv:1: the header row has no column for the sample (sample, quadrat, "
                   "plot, releve or sample id; or name it with --sample-column)",
                   "q.csv:1: the header row has no column for the species (species, taxon, "
                   "species name or scientific name; or name it with --species-column)"}),
            console.output);
  console.output.clear();
  settings.species_column = "Plant name";
  readCsv({"quadrat;plant;cover", "Q1;Festuca rubra;5"}, "semi.csv");
  EXPECT_EQ(Lines{"semi.csv:1: the header row has no column 'Plant name' given by "
                  "--species-column"},
            console.output);
  console.output.clear();
  readCsv({"", ""}, "empty.csv");
  EXPECT_EQ(Lines{"empty.csv: no header row"}, console.output);
  EXPECT_TRUE(set.samples.empty());
}

// Exports as spreadsheets write them: other words for the columns, in any
// case, with blanks, underscores and accents; comma, semicolon or tab (with
// a decimal comma); Windows-1252; a cover column named after its scale.
TEST_F(ReaderTest, HeadersAndSeparatorsAsSpreadsheetsWriteThem) {
  struct Case {
    Lines csv;
    int scale;
    int tenths;
  };
  const Case cases[] = {
      {{"Quadrat,Taxon,Cover", "Q1,Festuca rubra,25"}, 1, 250},
      {{"Relev\xC3\xA9;Species name;Percent cover", "Q1;Festuca rubra;2,5"}, 1, 25},
      {{"Plot\tScientific name\tDomin", "Q1\tFestuca rubra\t7"}, 3, 70},
      {{"Relev\xE9,Name,Abundance", "Q1,Festuca rubra,25"}, 1, 250},  // Windows-1252
      {{"SAMPLE_ID,TAXON_NAME,BRAUN-BLANQUET", "Q1,Festuca rubra,2a"}, 2, 16},
      {{"plot,species,BB", "Q1,Festuca rubra,r"}, 2, 1},
      {{"quadrat,species,Cover (%)", "Q1,Festuca rubra,5-10%"}, 1, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv[0]);
    set = SampleSet();
    readCsv(c.csv);
    EXPECT_EQ(Lines{}, console.output);
    ASSERT_EQ(1u, set.samples.size());
    EXPECT_EQ(c.scale, set.samples[0].cover_scale);
    EXPECT_EQ((Entries{{1, 1, c.tenths}}), linesOf(0));
  }
}

// A quadrat id that repeats across sites and years: the key columns name
// the visits apart; without them the rows are one sample, and the species
// met again are said.
TEST_F(ReaderTest, SamplesNamedBySeveralColumns) {
  const Lines csv = {"Site,Year,Quadrat,Species,Cover", "A,2014,1,Festuca rubra,25",
                     "A,2014,1,Agrostis capillaris,3", "A,2015,1,Festuca rubra,10",
                     "B,2014,1,Festuca rubra,5"};
  settings.sample_columns = {"Site", "year", "QUADRAT"};
  readCsv(csv);
  EXPECT_EQ(Lines{}, console.output);
  ASSERT_EQ(3u, set.samples.size());
  EXPECT_EQ("A/2014/1", set.samples[0].name);
  EXPECT_EQ("A/2015/1", set.samples[1].name);
  EXPECT_EQ("B/2014/1", set.samples[2].name);
  EXPECT_EQ((Entries{{1, 1, 250}, {2, 1, 30}}), linesOf(0));

  settings.sample_columns.clear();
  set = SampleSet();
  readCsv(csv);
  ASSERT_EQ(1u, set.samples.size());
  EXPECT_EQ((Lines{"q.csv:4: warning: 'Festuca rubra' is a species of sample '1' given before "
                   "(lines 2 and 4): the later cover stands",
                   "q.csv:5: warning: 'Festuca rubra' is a species of sample '1' given before "
                   "(lines 2 and 5): the later cover stands"}),
            console.output);
}

// Two names of one species add up, as in sample entry; a name given twice
// keeps the later cover; present-only rows are counted.
TEST_F(ReaderTest, RepeatedSpeciesAndPresenceOnly) {
  fs.put("q.csv", {"sample,species,cover", "Q1,Festuca rubra,40", "Q1,Festuca arenaria,5",
                   "Q1,Agrostis capillaris,NA", "Q1,Rumex acetosa,", "Q1,Plantago lanceolata,p"});
  InputReader reader(*world.matcher, set, messages, settings);
  reader.readCsv(*fs.openExisting("q.csv"), "q.csv");
  EXPECT_EQ(Lines{"q.csv:3: warning: 'Festuca arenaria' is a species of sample 'Q1' given "
                  "before (lines 2 and 3): the covers are added, up to 100 %"},
            console.output);
  EXPECT_EQ(3, reader.presenceOnly());
}

// A name of two species is left out, with its candidates; an infraspecific
// name without a row of its own is scored as its species, with a note.
TEST_F(ReaderTest, AmbiguousAndInfraspecificNamesAreSaid) {
  world.index.add("Carex inflata", 1);
  world.index.add("Carex inflata", 3);
  readCsv({"sample,species,cover", "Q1,Carex inflata,5", "Q1,Festuca rubra subsp. juncea,25"});
  EXPECT_EQ((Lines{"q.csv:2: warning: the name 'Carex inflata' stands for Festuca rubra or "
                   "Rumex acetosa; left out of its sample: write the name of the one meant",
                   "q.csv:3: warning: 'Festuca rubra subsp. juncea' has no row of its own: "
                   "scored as Festuca rubra"}),
            console.output);
  EXPECT_EQ(1, set.samples[0].unmatched);
  EXPECT_EQ((Entries{{1, 1, 250}}), linesOf(0));
}

TEST_F(ReaderTest, FrequencyColumnWithoutMaximumTakesTheLargest) {
  readCsv({"sample,species,cover,frequency", "S1,Festuca rubra,25,8", "S1,Agrostis capillaris,3,",
           "S1,Rumex acetosa,1,3"});
  EXPECT_TRUE(console.output.empty());
  EXPECT_EQ(8, set.samples[0].max_frequency);
  EXPECT_EQ((Entries{{1, 8, 250}, {2, 1, 30}, {3, 3, 10}}), linesOf(0));
}

TEST_F(ReaderTest, MaximumFrequencyColumn) {
  readCsv({"sample,species,cover,frequency,max_frequency", "S1,Festuca rubra,25,8,10",
           "S1,Agrostis capillaris,3,11,10", "S1,Rumex acetosa,1,3,12", "S1,Rumex acetosa,1,3,",
           "S2,Festuca rubra,1,101,", "S1,Plantago lanceolata,1,2,10"});
  EXPECT_EQ((Lines{"q.csv:3: frequency 11 is above the maximum frequency 10",
                   "q.csv:4: max_frequency 12 of sample 'S1' was 10 before",
                   "q.csv:5: max_frequency '' is not a whole number from 1 to 100",
                   "q.csv:6: frequency '101' is not a whole number from 0 to 100"}),
            console.output);
  EXPECT_EQ(10, set.samples[0].max_frequency);
  EXPECT_EQ((Entries{{1, 8, 250}, {4, 2, 10}}), linesOf(0));
}

TEST_F(ReaderTest, UnmatchedNamesReportedOnceWithCloseNames) {
  readCsv({"sample,species,cover", "Q1,Festuca rubar,25", "Q1,Agrostis capillaris,3",
           "Q2,Festuca rubar,1", "Q2,Quercus robur,1", "Q3,Festuca rubar,1"});
  EXPECT_EQ((Lines{"q.csv:2: warning: no species named 'Festuca rubar' (also on 2 more lines), "
                   "counted as a species of no community; close names: Festuca rubra",
                   "q.csv:5: warning: no species named 'Quercus robur', counted as a species of "
                   "no community; no close names"}),
            console.output);
  EXPECT_EQ(0, messages.errors());
  ASSERT_EQ(3u, set.samples.size());
  EXPECT_EQ(1, set.samples[0].unmatched);
  EXPECT_EQ(2, set.samples[1].unmatched);
  // Their lines stay, with species number 0 (numbered when scored).
  EXPECT_EQ((Entries{{0, 1, 250}, {2, 1, 30}}), linesOf(0));
  EXPECT_EQ((Entries{{0, 1, 10}, {0, 1, 10}}), linesOf(1));
  // --drop-unmatched leaves them out.
  console.output.clear();
  settings.drop_unmatched = true;
  set = SampleSet();
  readCsv({"sample,species,cover", "Q1,Festuca rubar,25", "Q1,Agrostis capillaris,3"});
  EXPECT_EQ((Entries{{2, 1, 30}}), linesOf(0));
  EXPECT_EQ(1u, console.output.size());
  EXPECT_NE(std::string::npos, console.output[0].find("left out of its sample"));
}

TEST_F(ReaderTest, CoverAboveTheScaleIsKeptWithAWarning) {
  settings.cover_scale = 2;
  readCsv({"sample,species,cover", "Q1,Festuca rubra,5", "Q1,Agrostis capillaris,6"});
  EXPECT_EQ((Lines{"q.csv:3: warning: cover 6.0 is above 5.0, the largest value of the scale"}),
            console.output);
  EXPECT_EQ((Entries{{1, 1, 50}, {2, 1, 60}}), linesOf(0));
}

TEST_F(ReaderTest, GroupsTellQuadratsOfTheSameNameApart) {
  settings.group_by = {"Site"};
  readCsv({"site,sample,species,cover", "A,Q1,Festuca rubra,5", "B,Q1,Festuca rubra,7",
           "A,Q2,Rumex acetosa,1", "A,Q1,Agrostis capillaris,2", "B,,Rumex acetosa,1",
           ",Q3,Rumex acetosa,1"});
  EXPECT_EQ((Lines{"q.csv:6: no sample name", "q.csv:7: no value in the column 'Site'",
                   "q.csv:2: warning: the rows of sample 'Q1' are not together (lines 2, 5); "
                   "they are read as one sample. If several columns name a sample, give them "
                   "all with --sample-column (columns: site, sample)"}),
            console.output);
  ASSERT_EQ(3u, set.samples.size());
  EXPECT_EQ((std::vector<std::string>{"A", "B"}), set.group_names);
  EXPECT_EQ(0, set.samples[0].group);
  EXPECT_EQ(1, set.samples[1].group);
  EXPECT_EQ(0, set.samples[2].group);
  EXPECT_EQ((Entries{{1, 1, 50}, {2, 1, 20}}), linesOf(0));
  EXPECT_EQ((Entries{{1, 1, 70}}), linesOf(1));
}

TEST_F(ReaderTest, GroupingNeedsItsColumnAndNoFrequencies) {
  settings.group_by = {"site"};
  readCsv({"sample,species,cover,frequency", "Q1,Festuca rubra,5,1"});
  EXPECT_EQ((Lines{"q.csv:1: the header row has no column 'site' to group by",
                   "q.csv:1: --group-by composes the frequencies; the input may not give them"}),
            console.output);
}

TEST_F(ReaderTest, SampleFileBlocksAsVegmatchReadsThem) {
  readSamples({engine::headerLine("Q1", 0, 1), " fest rubr    25", " Agrostis capillaris 3.5",
               "", "Q0", "", engine::headerLine("Q2", 10, 1), " fest rubr   4  25",
               " rume acet* 2  10", "", "", " plan lanc  1"});
  EXPECT_TRUE(console.output.empty()) << console.output[0];
  ASSERT_EQ(3u, set.samples.size());
  EXPECT_EQ("Q1", set.samples[0].name);
  EXPECT_EQ(0, set.samples[0].max_frequency);
  EXPECT_EQ((Entries{{1, 1, 250}, {2, 1, 35}}), linesOf(0));
  EXPECT_EQ("Q2", set.samples[1].name);
  EXPECT_EQ(10, set.samples[1].max_frequency);
  // A mark adds 10000 to the species code.
  EXPECT_EQ((Entries{{1, 4, 250}, {10003, 2, 100}}), linesOf(1));
  // Q0 has no species and is passed over, but counted; the empty line after
  // Q2's terminator is the header of a nameless sample, named after the
  // sample count, whose last line ends the file.
  EXPECT_EQ("SAMPL  4", set.samples[2].name);
  EXPECT_EQ("SAMP.txt:11", set.where(set.samples[2]));
  EXPECT_EQ((Entries{{4, 1, 10}}), linesOf(2));
}

TEST_F(ReaderTest, ScaleLabelSetsTheScaleOfItsSample) {
  readSamples({engine::headerLine("Q1", 0, 3), " fest rubr     5", "", "Q2", " fest rubr     5"});
  EXPECT_TRUE(console.output.empty());
  EXPECT_EQ(3, set.samples[0].cover_scale);
  EXPECT_EQ(1, set.samples[1].cover_scale);
  settings.scale_given = true;
  settings.cover_scale = 2;
  readSamples({engine::headerLine("Q3", 0, 3), " fest rubr     5"}, "B.txt");
  EXPECT_EQ((Lines{"B.txt:1: warning: the sample is labelled DOMIN and is read on that scale, "
                   "not on the --scale given"}),
            console.output);
  EXPECT_EQ(3, set.samples[2].cover_scale);
}

TEST_F(ReaderTest, SampleFileFaults) {
  readSamples({"Q1      *150", " fest rubr    25", "", "Q2        * 5", " fest rubr 12 25",
               " fest rubr  3 r", " Festuca rubra agg. 5", " Quercus robur 5"});
  auto unreadable = [](const std::string& at, const std::string& line) {
    return "SAMP.txt:" + at + ": species line '" + line +
           "' does not read as name, frequency, value";
  };
  EXPECT_EQ((Lines{"SAMP.txt:1: maximum frequency 150 is above 100",
                   unreadable("5", "fest rubr 12 25"), unreadable("6", "fest rubr  3 r"),
                   unreadable("7", "Festuca rubra agg. 5"),
                   std::string("SAMP.txt:8: warning: no species named 'Quercus robur', ") +
                       "counted as a species of no community; no close names"}),
            console.output);
  EXPECT_EQ(4, messages.errors());
}

TEST_F(ReaderTest, TabsSeparateWordsOfASampleFileLine) {
  readSamples({"Q1", "Festuca\trubra\t25"});
  EXPECT_TRUE(console.output.empty()) << console.output[0];
  EXPECT_EQ((Entries{{1, 1, 250}}), linesOf(0));
}

TEST_F(ReaderTest, StandardInputOfEitherKind) {
  fs.put("in1", {"sample,species,cover", "Q1,Festuca rubra,25"});
  fs.put("in2", {"Q2", " fest rubr 25"});
  InputReader reader(*world.matcher, set, messages, settings);
  EXPECT_TRUE(reader.readEither(*fs.openExisting("in1"), "standard input"));
  EXPECT_FALSE(reader.readEither(*fs.openExisting("in2"), "standard input"));
  set.order();
  ASSERT_EQ(2u, set.samples.size());
  EXPECT_EQ("Q1", set.samples[0].name);
  EXPECT_EQ("Q2", set.samples[1].name);
  EXPECT_EQ("standard input:1", set.where(set.samples[1]));
}

TEST_F(ReaderTest, ScatteredRowsAreGatheredInOrder) {
  readCsv({"sample,species,cover", "Q1,Festuca rubra,1", "Q2,Festuca rubra,2",
           "Q1,Agrostis capillaris,3", "Q2,Rumex acetosa,4", "Q1,Rumex acetosa,5"});
  ASSERT_EQ(2u, set.samples.size());
  EXPECT_EQ((Entries{{1, 1, 10}, {2, 1, 30}, {3, 1, 50}}), linesOf(0));
  EXPECT_EQ((Entries{{1, 1, 20}, {3, 1, 40}}), linesOf(1));
  EXPECT_FALSE(set.scattered());  // order() has put them together
}

// Thousands of samples, each met again after all the others: every later
// row still finds its sample, under its name and in its group, however the
// table of samples has grown meanwhile.
TEST_F(ReaderTest, ManySamplesMetAgainAfterAllTheOthers) {
  constexpr int kSamples = 3000;
  Lines lines = {"plot,sample,species,cover"};
  for (int i = 0; i < kSamples; ++i)
    lines.push_back("P" + std::to_string(i % 2) + ",Q" + std::to_string(i) + ",Festuca rubra,1");
  for (int i = kSamples - 1; i >= 0; --i)
    lines.push_back("P" + std::to_string(i % 2) + ",Q" + std::to_string(i) + ",Rumex acetosa,2");
  // The same name in the other plot is a sample of its own.
  lines.push_back("P1,Q0,Agrostis capillaris,3");
  settings.group_by = {"plot"};
  readCsv(lines);
  // Each sample is warned of once; the first 50 warnings are shown.
  ASSERT_EQ(50u, console.output.size());
  EXPECT_EQ(0u, console.output[0].find("q.csv:2: warning: the rows of sample 'Q0' are not "
                                       "together (lines 2, 6001)"));
  ASSERT_EQ(static_cast<std::size_t>(kSamples) + 1, set.samples.size());
  for (int i = 0; i < kSamples; ++i) {
    const std::size_t s = static_cast<std::size_t>(i);
    ASSERT_EQ("Q" + std::to_string(i), set.samples[s].name);
    ASSERT_EQ((Entries{{1, 1, 10}, {3, 1, 20}}), linesOf(s)) << i;
  }
  EXPECT_EQ("Q0", set.samples[kSamples].name);
  EXPECT_EQ((Entries{{2, 1, 30}}), linesOf(kSamples));
  EXPECT_NE(set.samples[0].group, set.samples[kSamples].group);
}

TEST_F(ReaderTest, SamplesHandedOnAsTheyAreReadWhole) {
  fs.put("q.csv", {"sample,species,cover", "Q1,Festuca rubra,1", "Q2,Festuca rubra,2",
                   "Q3,Festuca rubra,3"});
  InputReader reader(*world.matcher, set, messages, settings);
  std::vector<std::size_t> whole;
  reader.on_samples = [&](std::size_t n) { whole.push_back(n); };
  reader.readCsv(*fs.openExisting("q.csv"), "q.csv");
  EXPECT_EQ((std::vector<std::size_t>{0, 1, 2, 3}), whole);
}

}  // namespace
}  // namespace vegfit
