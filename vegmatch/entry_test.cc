#include "vegmatch/entry.h"

#include <gtest/gtest.h>

#include "vegmatch/testing/fixture.h"

namespace vegmatch {
namespace {

using testing::Lines;
using testing::loadDictionary;
using testing::operator+;

const Lines kClear = {"", "", "", "", ""};
const Lines kNamePrompt = {"", "", "", "", "", " Now enter sample name (at most 8 characters)",
                           " (For frequency data, follow name by * max-freq)"};
const std::string kSpeciesPrompt = " Now enter species data, ending with blank line";
const Lines kContinue = {"", " Press <RETURN> if complete, or",
                         " continue typing to add more data to sample", ""};
const Lines kComplete = {"", " Sample complete;  calculating goodness of fit ..."};

// A row of the recap screen: three cells of 21 columns, four blanks apart.
std::string row(const std::string& a, const std::string& b = "", const std::string& c = "") {
  auto cell = [](const std::string& s) { return s + std::string(21 - s.size(), ' '); };
  return cell(a) + "    " + cell(b) + "    " + cell(c);
}

// A line as the bad-data message shows it: its 40 columns.
std::string col40(const std::string& s) { return s + std::string(40 - s.size(), ' '); }

// The sample line of a sample without frequency data, all species, with
// the given scale label and "Sp & c".
std::string plainSampleLine(const std::string& name8, const std::string& scale = "Cover%") {
  return " Sample " + name8 + "       Parameters = " + "  All sp" + "   " + scale + "   Sp & c";
}

// One merged entry as scoring receives it.
struct Merged {
  int species;
  int frequency;
  int cover;
  bool operator==(const Merged&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Merged& m) {
  return os << "{" << m.species << ", " << m.frequency << ", " << m.cover << "}";
}

std::vector<Merged> merged(const Sample& sample) {
  std::vector<Merged> out;
  for (int j = 1; j <= sample.sample_size; ++j) {
    out.push_back({sample.sample_species[j], sample.sample_frequency[j], sample.sample_cover[j]});
  }
  return out;
}

const testing::DictionaryNames kDictionary = {
    {"agro capi", 12},  {"anth odor", 30},   {"call vulg", 130}, {"clad port", 5000},
    {"desc flex", 200}, {"eric tetr", 210},  {"fest ovin", 271}, {"fest rubi", 272},
    {"fest rubr", 272}, {"holc lana", 400},  {"hylo sple", 3500}, {"junc squa", 450},
    {"moli caer", 500}, {"nard stri", 550},  {"poa  annu", 600}};

// One sample entry at a time on the fixture, with the dictionary above and
// the answers file open.
struct Session : testing::Fixture {
  Session() {
    loadDictionary(*tables, kDictionary);
    openAnswers();
  }
  void run() { enterSample(io, *tables, settings, buffers, grid, sample, switches); }
};

struct EntryTest : ::testing::Test, Session {};

// ------------------------------------------------- keyboard, whole screens

TEST_F(EntryTest, KeyboardSampleScreenRecordAndResult) {
  keyboard({"Q1", "Festuca rubra 25", "holcus lanatus* 12.5", "", ""});
  run();
  const std::string sample_line =
      " Sample Q1      " "       Parameters = " "  All sp" "   Cover%" "   Sp & c";
  Lines expected = kNamePrompt + Lines{"", sample_line, kSpeciesPrompt} + kClear +
                   Lines{" Recap for sample Q1      ", "", "", row(" fest rubr    25"),
                         row(" holc lana*   12.5"), "", "     Number of entries is     2"} +
                   kContinue + kComplete;
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    25", " holc lana*   12.5", ""}),
            record());
  EXPECT_EQ((Lines{"", sample_line}), answers());
  EXPECT_EQ("Q1      ", sample.sample_name);
  EXPECT_EQ(0.0f, sample.max_frequency);
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}, {400, 1, 13}}), merged(sample));
  EXPECT_EQ(1, settings.sample_count);
  EXPECT_EQ(0u, console.unread());
}

TEST_F(EntryTest, KeyboardFrequencySampleScreenAndRecord) {
  keyboard({"Q2 * 10", "Festuca rubra 3 25", "Holcus lanatus 12 5", "Holcus lanatus 10 2.5", "",
            ""});
  run();
  const std::string sample_line =
      " Sample Q2      " "* 10" "   Parameters = " "  All sp" "   Cover%" "   Sp & c";
  const std::string bad = "     *** Bad data - ignored ***   " + col40("Holcus lanatus 12 5");
  Lines expected = kNamePrompt + Lines{"", sample_line, kSpeciesPrompt, bad} + kClear +
                   Lines{" Recap for sample Q2      ", "", "", row(" fest rubr    3  25"),
                         row(" holc lana   10   2.5"), "", "     Number of entries is     2"} +
                   kContinue + kComplete;
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ((Lines{"Q2         * 10 COVR%", " fest rubr    3  25", " holc lana   10   2.5", ""}),
            record());
  // With keyboard input the bad-data notice stays on the screen.
  EXPECT_EQ((Lines{"", sample_line}), answers());
  EXPECT_EQ(10.0f, sample.max_frequency);
  EXPECT_EQ((std::vector<Merged>{{272, 3, 25}, {400, 10, 3}}), merged(sample));
}

TEST_F(EntryTest, UnknownNameMenuThenRunningDisplay) {
  keyboard({"Q1", "Festuca rubra 25", "Festuca rubx 5", "3", "", ""});
  run();
  Lines expected = kNamePrompt +
                   Lines{"", plainSampleLine("Q1      "), kSpeciesPrompt,
                         "     *** Name not in dictionary ***  fest rubx", "",
                         "     Select correct name from menu",
                         "     or accept as new name or delete entry", "       1 NEW NAME ",
                         "       2 DELETE   ", "       3 fest rubi", "       4 fest rubr", "",
                         " Type number of choice",
                         // The choice fest rubi, a synonym, is a new entry; the
                         // running display shows both.
                         " fest rubr    25", " fest rubi     5"} +
                   kClear;
  ASSERT_GE(console.output.size(), expected.size());
  EXPECT_EQ(expected, Lines(console.output.begin(), console.output.begin() + expected.size()));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    25", " fest rubi     5", ""}),
            record());
  // Two names of one species make one entry in the sample.
  EXPECT_EQ((std::vector<Merged>{{272, 1, 30}}), merged(sample));
  EXPECT_EQ(tables->dict_size, tables->name_count);
}

TEST_F(EntryTest, NewNameGetsTheNextNumberAndIsFoundLater) {
  keyboard({"Q1", "Newgenus species 5", "1", "", "", "Q2", "Newgenus species 7", "", ""});
  run();
  EXPECT_EQ(tables->dict_size + 1, tables->name_count);
  EXPECT_EQ("newg spec", tables->dictionary.species_name[tables->name_count]);
  EXPECT_EQ(9001, tables->dictionary.species_number[tables->name_count]);
  EXPECT_EQ(9001, settings.last_new_number);
  EXPECT_EQ((std::vector<Merged>{{9001, 1, 5}}), merged(sample));
  EXPECT_TRUE(shown(" newg spec     5"));  // the running display after the menu
  console.take();
  run();
  EXPECT_FALSE(shown("     *** Name not in dictionary ***  newg spec"));
  EXPECT_EQ((std::vector<Merged>{{9001, 1, 7}}), merged(sample));
  EXPECT_EQ(9001, settings.last_new_number);
}

TEST_F(EntryTest, MenuDeletionShowsTheRunningDisplayAgain) {
  keyboard({"Q1", "Festuca rubra 25", "Xyz abc 5", "", "", ""});
  run();
  Lines tail = {"       2 DELETE   ", "", " Type number of choice", " fest rubr    25", "", "", "",
                "", "", " Recap for sample Q1      "};
  auto it = std::search(console.output.begin(), console.output.end(), tail.begin(), tail.end());
  EXPECT_NE(console.output.end(), it);
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}}), merged(sample));
}

TEST_F(EntryTest, MenuDeletionOfTheFirstLineShowsNothingMore) {
  keyboard({"Q1", "Xyz abc 5", "", "", "Q2", "Festuca rubra 25", "", ""});
  run();
  // No running display after the menu; the blank line then finds no entries
  // and a new sample begins.
  Lines tail = Lines{" Type number of choice"} + kNamePrompt;
  auto it = std::search(console.output.begin(), console.output.end(), tail.begin(), tail.end());
  EXPECT_NE(console.output.end(), it);
  EXPECT_EQ(2, settings.sample_count);
  EXPECT_EQ((Lines{"Q1           COVR%", "", "Q2           COVR%", " fest rubr    25",
                   ""}),
            record());
}

// ------------------------------------------------------- species phase

TEST_F(EntryTest, BlankFirstSpeciesLineAbandonsTheSample) {
  keyboard({"Q1", "", "", "Festuca rubra 25", "", ""});
  run();
  EXPECT_EQ((Lines{"Q1           COVR%", "", "SAMPL  2     COVR%", " fest rubr    25", ""}),
            record());
  EXPECT_EQ(2, settings.sample_count);
  EXPECT_EQ("SAMPL  2", sample.sample_name);
  EXPECT_EQ(2, count(" Now enter sample name (at most 8 characters)"));
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}}), merged(sample));
}

TEST_F(EntryTest, ReenteredSpeciesKeepsItsPlaceWithTheLastValues) {
  keyboard({"Q1", "Festuca rubra 20", "Holcus lanatus 10", "FESTUCA RUBRA 30", "", ""});
  run();
  EXPECT_TRUE(shown("     Number of entries is     2"));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    30", " holc lana    10", ""}),
            record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 30}, {400, 1, 10}}), merged(sample));
}

TEST_F(EntryTest, MarkedAndUnmarkedAreTwoEntriesMergedIntoOne) {
  keyboard({"Q1", "Festuca rubra 30", "Festuca rubra* 50", "", ""});
  run();
  EXPECT_TRUE(shown(row(" fest rubr    30")));
  EXPECT_TRUE(shown(row(" fest rubr*   50")));
  EXPECT_TRUE(shown("     Number of entries is     2"));
  EXPECT_EQ((std::vector<Merged>{{272, 1, 80}}), merged(sample));
}

TEST_F(EntryTest, MergedCoverIsCappedAtHundred) {
  keyboard({"Q1", "Festuca rubra 60", "Festuca rubra** 50", "", ""});
  run();
  EXPECT_TRUE(shown(row(" fest rubr**  50")));
  EXPECT_EQ((std::vector<Merged>{{272, 1, 100}}), merged(sample));
}

TEST_F(EntryTest, NegativeValueDeletesTheEntry) {
  keyboard({"Q1", "Festuca rubra 20", "Holcus lanatus 10", "Festuca rubra -1", "", ""});
  run();
  EXPECT_TRUE(shown("     Number of entries is     1"));
  EXPECT_TRUE(shown(row(" holc lana    10")));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " holc lana    10", ""}), record());
  EXPECT_EQ((std::vector<Merged>{{400, 1, 10}}), merged(sample));
}

TEST_F(EntryTest, MinusOneTenthIsHeldAsZeroAndKept) {
  keyboard({"Q1", "Festuca rubra -0.1", "", ""});
  run();
  EXPECT_TRUE(shown("     Number of entries is     1"));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr     0", ""}), record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 0}}), merged(sample));
}

TEST_F(EntryTest, DeletingEveryEntryPassesTheSampleOver) {
  keyboard({"Q1", "Festuca rubra 20", "Festuca rubra -5", "", "Q2", "Holcus lanatus 5", "", ""});
  run();
  EXPECT_TRUE(shown("     Number of entries is     0"));
  EXPECT_EQ(2, settings.sample_count);
  EXPECT_EQ((Lines{"Q1           COVR%", "", "Q2           COVR%", " holc lana     5",
                   ""}),
            record());
  EXPECT_EQ("Q2      ", sample.sample_name);
}

TEST_F(EntryTest, ValueAboveTheLimitIsReportedAndKept) {
  keyboard({"Q1", "Festuca rubra 150", "", ""});
  run();
  EXPECT_TRUE(shown(" *** Cover value 150.0 greater than limit 100.0"));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr   150", ""}), record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 100}}), merged(sample));
}

// A value exactly at the limit of its scale is within it; a tenth more is
// warned of (and kept).
TEST(CoverLimitWarningTest, ExactlyAtTheLimitIsNoWarning) {
  struct Case {
    int scale;
    std::string at, above, warning;
  };
  const Case cases[] = {
      {1, "100", "100.1", " *** Cover value 100.1 greater than limit 100.0"},
      {2, "5", "5.1", " *** Cover value   5.1 greater than limit   5.0"},
      {3, "10", "10.1", " *** Cover value  10.1 greater than limit  10.0"},
  };
  for (const Case& c : cases) {
    Session s;
    s.settings.cover_scale = c.scale;
    s.keyboard({"Q1", "Festuca rubra " + c.at, "Holcus lanatus " + c.above, "", ""});
    s.run();
    Lines warnings;
    for (const std::string& line : s.console.output)
      if (line.rfind(" *** Cover value", 0) == 0) warnings.push_back(line);
    EXPECT_EQ(Lines{c.warning}, warnings) << c.scale;
    EXPECT_EQ(2, s.sample.sample_size) << c.scale;
  }
}

// Frequency samples with the maximum frequencies 1 and 100, typed and
// recorded: the frequency stands in its three columns.
TEST_F(EntryTest, FrequencySamplesWithMaximumOneAndHundred) {
  keyboard({"Q1*1", "Festuca rubra 1 25", "Holcus lanatus 2 5", "", "", "Q2*100",
            "Festuca rubra 100 25", "Holcus lanatus 7 5", "", ""});
  run();
  EXPECT_TRUE(shown("     *** Bad data - ignored ***   " + col40("Holcus lanatus 2 5")));
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}}), merged(sample));
  EXPECT_EQ(1.0f, sample.max_frequency);
  run();
  EXPECT_EQ((std::vector<Merged>{{272, 100, 25}, {400, 7, 5}}), merged(sample));
  EXPECT_EQ((Lines{"Q1         *  1 COVR%", " fest rubr    1  25", "", "Q2         *100 COVR%",
                   " fest rubr  100  25", " holc lana    7   5", ""}),
            record());
}

// Only a negative value deletes: an entry of 0 is counted, kept in the
// merge and recorded.
TEST_F(EntryTest, CoverOfZeroIsAnEntry) {
  keyboard({"Q1", "Festuca rubra 0", "Holcus lanatus 5", "", ""});
  run();
  EXPECT_TRUE(shown(row(" fest rubr     0")));
  EXPECT_TRUE(shown("     Number of entries is     2"));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr     0", " holc lana     5", ""}),
            record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 0}, {400, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, LimitFollowsTheScale) {
  settings.cover_scale = 3;
  keyboard({"Q1", "Festuca rubra 10", "Holcus lanatus 10.5", "", ""});
  run();
  EXPECT_EQ(1, count(" *** Cover value  10.5 greater than limit  10.0"));
  EXPECT_EQ((Lines{"Q1      " "     " "DOMIN", " fest rubr    10", " holc lana    10.5", ""}),
            record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 99}, {400, 1, 100}}), merged(sample));
}

TEST_F(EntryTest, BraunBlanquetOneIsKeptButGivesNoCover) {
  settings.cover_scale = 2;
  keyboard({"Q1", "Festuca rubra 1", "Holcus lanatus 2.5", "", ""});
  run();
  EXPECT_EQ((Lines{"Q1      " "     " "BR-BL", " fest rubr     1", " holc lana     2.5", ""}),
            record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 0}, {400, 1, 27}}), merged(sample));
}

TEST_F(EntryTest, ValueBeyondTheHeldTenthsIsBadData) {
  keyboard({"Q1", "Festuca rubra 3276.8", "Festuca rubra 1234567", "Holcus lanatus 5", "", ""});
  run();
  EXPECT_TRUE(shown("     *** Bad data - ignored ***   " + col40("Festuca rubra 3276.8")));
  EXPECT_TRUE(shown("     *** Bad data - ignored ***   " + col40("Festuca rubra 1234567")));
  EXPECT_EQ((std::vector<Merged>{{400, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, BadDataMessageShowsTheLineWithItsAsterisks) {
  keyboard({"Q1", "Festuca* rubra r", "Holcus lanatus 5", "", ""});
  run();
  EXPECT_TRUE(shown("     *** Bad data - ignored ***   " + col40("Festuca* rubra r")));
  EXPECT_EQ(1u, merged(sample).size());
}

TEST_F(EntryTest, TopFewRanksByPlaceAndSwitchesToPercentCover) {
  settings.analysis_type = 5;
  settings.cover_scale = 2;
  keyboard({"Q1", "agrostis capillaris 1", "anthoxanthum odoratum 2", "calluna vulgaris 3",
            "deschampsia flexuosa 4", "erica tetralix 5", "festuca ovina 1", "holcus lanatus 2",
            "juncus squarrosus 3", "Erica tetralix -1", "", ""});
  run();
  EXPECT_EQ(1, settings.cover_scale);
  EXPECT_EQ((std::vector<Merged>{{12, 1, 60},
                                 {30, 1, 50},
                                 {130, 1, 40},
                                 {200, 1, 30},
                                 {210, 1, 20},
                                 {271, 1, 10},
                                 {400, 1, 0},
                                 {450, 1, 0}}),
            merged(sample));
  // The header went out under the scale in force when the sample began; the
  // species lines carry the rank values, the deleted place included.
  EXPECT_EQ((Lines{"Q1           BR-BL", " agro capi    60", " anth odor    50",
                   " call vulg    40", " desc flex    30", " eric tetr    20", " fest ovin    10",
                   " holc lana     0", " junc squa     0", ""}),
            record());
}

TEST_F(EntryTest, SpeciesLimitDropsHighNumbersAndNewNamesInTheMerge) {
  switches.species_limit = 3000;
  keyboard({"Q1", "Hylocomium splendens 20", "Cladonia portentosa 5", "Newgenus x 5", "1",
            "Festuca rubra* 5", "", ""});
  switches.species_limit = 3000;
  run();
  EXPECT_TRUE(shown("     Number of entries is     4"));
  EXPECT_EQ((std::vector<Merged>{{272, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, SampleWithNothingUnderTheSpeciesLimitIsStillReturned) {
  keyboard({"Q1", "Hylocomium splendens 20", "", ""});
  switches.species_limit = 3000;
  run();
  EXPECT_EQ(0, sample.sample_size);
  EXPECT_EQ(1, settings.sample_count);
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " hylo sple    20", ""}), record());
}

TEST_F(EntryTest, FrequencyOfMergedEntriesIsTheLargest) {
  keyboard({"Q1*10", "Festuca rubra 3 20", "Festuca rubra* 7 20", "Festuca rubi 5 20", "", ""});
  run();
  EXPECT_EQ((std::vector<Merged>{{272, 7, 60}}), merged(sample));
}

// ------------------------------------------------------- closing phase

TEST_F(EntryTest, ContinueQuestionTakesMoreSpecies) {
  keyboard({"Q1", "Festuca rubra 25", "", "Holcus lanatus 10", "Agrostis capillaris 5", "", ""});
  run();
  EXPECT_EQ(2, count(" Recap for sample Q1      "));
  EXPECT_TRUE(shown("     Number of entries is     1"));
  EXPECT_TRUE(shown("     Number of entries is     3"));
  EXPECT_TRUE(shown(row(" agro capi     5")));
  EXPECT_EQ((Lines{"Q1           COVR%", " fest rubr    25", " holc lana    10",
                   " agro capi     5", ""}),
            record());
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}, {400, 1, 10}, {12, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, ContinueQuestionAnsweredWithAsterisksShowsTheRecapAgain) {
  keyboard({"Q1", "Festuca rubra 25", "", "***", ""});
  run();
  Lines expected = Lines{"     Number of entries is     1"} + kContinue + kClear +
                   Lines{" Recap for sample Q1      ", "", "", row(" fest rubr    25"), "",
                         "     Number of entries is     1"} +
                   kContinue + kComplete;
  ASSERT_GE(console.output.size(), expected.size());
  EXPECT_EQ(expected, Lines(console.output.end() - static_cast<long>(expected.size()),
                            console.output.end()));
  EXPECT_EQ(0u, console.unread());
}

TEST_F(EntryTest, ContinueQuestionCanDeleteAnEntry) {
  keyboard({"Q1", "Festuca rubra 25", "Holcus lanatus 10", "", "Festuca rubra -1", "", ""});
  run();
  EXPECT_TRUE(shown("     Number of entries is     2"));
  EXPECT_TRUE(shown("     Number of entries is     1"));
  EXPECT_EQ((std::vector<Merged>{{400, 1, 10}}), merged(sample));
}

TEST_F(EntryTest, ThreeHundredAndFirstEntryIsRefused) {
  std::vector<std::pair<std::string, short>> names;
  Lines typed = {"Big"};
  for (int i = 0; i < 301; ++i) {
    std::string genus = std::string("a") + static_cast<char>('a' + i / 26) +
                        static_cast<char>('a' + i % 26) + "x";
    names.emplace_back(genus + " " + "spec", static_cast<short>(1000 + i));
    typed.push_back(genus + " spec 1");
  }
  loadDictionary(*tables, names);
  typed.push_back("aaax spec 2");  // a re-entry still fits
  typed.push_back("Newgenus x 2");  // a new name is not even looked up
  for (int i = 0; i < 8; ++i) typed.push_back("");
  keyboard(typed);
  run();
  EXPECT_EQ(1, count("     *** Sample full - ignored ***   " + col40("alox spec 1")));
  EXPECT_EQ(1, count("     *** Sample full - ignored ***   " + col40("Newgenus x 2")));
  EXPECT_FALSE(shown("     *** Name not in dictionary ***  newg x   "));
  EXPECT_EQ(6, count(" Press <RETURN> for next screen of data"));
  EXPECT_TRUE(shown("     Number of entries is   300"));
  EXPECT_EQ(300, sample.sample_size);
  EXPECT_EQ((Merged{1000, 1, 2}), merged(sample)[0]);
  EXPECT_EQ((Merged{1299, 1, 1}), merged(sample)[299]);
  EXPECT_EQ(302u, record().size());
  EXPECT_EQ(tables->dict_size, tables->name_count);
  EXPECT_EQ(0u, console.unread());
}

// ------------------------------------------------- end of keyboard input

TEST_F(EntryTest, EndOfInputDuringSpeciesLinesFinishesTheBlock) {
  keyboard({"Q1", "Festuca rubra 25", "Holcus lanatus* 10", "Holcus lanatus* -1",
            "Agrostis capillaris 2.5"});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    25", " agro capi     2.5", ""}),
            record());
}

TEST_F(EntryTest, EndOfInputBeforeAnyEntryStillClosesTheBlock) {
  keyboard({"Q1"});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", ""}), record());
}

TEST_F(EntryTest, EndOfInputAtTheMenuFinishesTheBlock) {
  keyboard({"Q1", "Festuca rubra 25", "Festuca rubx 5"});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    25", ""}), record());
}

TEST_F(EntryTest, EndOfInputAtTheContinueQuestionFinishesTheBlock) {
  keyboard({"Q1*5", "Festuca rubra 2 25", ""});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"Q1         *  5 COVR%", " fest rubr    2  25", ""}), record());
}

TEST_F(EntryTest, EndOfInputAtTheNamePromptWritesNothing) {
  keyboard({"Q1", "Festuca rubra 25", "", ""});
  run();
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    25", ""}), record());
}

// ------------------------------------------------------------ datafile

TEST_F(EntryTest, DatafileSamplesAreReadWithoutDialogue) {
  datafile({"Q1           COVR%", " fest rubr    25", " holc lana*   12.5", "", "Q2",
            " agro capi     5"});
  run();
  EXPECT_EQ("Q1      ", sample.sample_name);
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}, {400, 1, 13}}), merged(sample));
  // The recap screen of datafile input is one empty line.
  EXPECT_EQ((Lines{"", plainSampleLine("Q1      "), ""}), console.take());
  EXPECT_EQ(0, console.reads);
  run();
  EXPECT_EQ("Q2      ", sample.sample_name);
  EXPECT_EQ((std::vector<Merged>{{12, 1, 5}}), merged(sample));
  EXPECT_EQ(kDatafileExhausted, settings.sample_count);
  // The last sample had no terminator; the next call ends the run.
  console.take();
  console.type({""});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ("*** Program finished  ***", console.output.at(4));
  EXPECT_EQ((Lines{"", plainSampleLine("Q1      "), "", plainSampleLine("Q2      ")}), answers());
  EXPECT_FALSE(fs.exists("SAMP.txt"));
}

TEST_F(EntryTest, DatafileUnknownNameIsAddedAndReported) {
  datafile({"Q1", " newg spec    10", " fest rubr    5", "", "Q2", " newg spec    20", "",
            "Q3", " othe name     1", ""});
  run();
  const std::string notice = "     *** Name not in dictionary ***  newg spec";
  EXPECT_TRUE(shown(notice));
  EXPECT_EQ((std::vector<Merged>{{9001, 1, 10}, {272, 1, 5}}), merged(sample));
  run();
  EXPECT_EQ(1, count(notice));
  EXPECT_EQ((std::vector<Merged>{{9001, 1, 20}}), merged(sample));
  run();
  EXPECT_EQ((std::vector<Merged>{{9002, 1, 1}}), merged(sample));
  EXPECT_EQ(9002, settings.last_new_number);
  Lines notices;
  for (const auto& line : answers()) {
    if (line.find("***") != std::string::npos) notices.push_back(line);
  }
  EXPECT_EQ((Lines{notice, "     *** Name not in dictionary ***  othe name"}), notices);
}

TEST_F(EntryTest, DatafileBadLineIsReportedInTheAnswersFile) {
  datafile({"Q1", " fest rubr   abc", " holc lana     5", ""});
  run();
  const std::string message = "     *** Bad data - ignored ***   " + col40(" fest rubr   abc");
  EXPECT_TRUE(shown(message));
  EXPECT_EQ((Lines{"", plainSampleLine("Q1      "), message}), answers());
  EXPECT_EQ((std::vector<Merged>{{400, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, DatafileFullDictionaryRefusesTheLine) {
  tables->name_count = kMaxNames;
  tables->dictionary.species_name[kMaxNames] = "last name";
  tables->dictionary.species_number[kMaxNames] = 9999;
  datafile({"Q1", " newg spec    10", " fest rubr     5", ""});
  run();
  Lines notices;
  for (const auto& line : answers()) {
    if (line.find("***") != std::string::npos) notices.push_back(line);
  }
  EXPECT_EQ((Lines{"     *** Name not in dictionary ***  newg spec",
                   "     *** Dictionary full - line ignored ***  newg spec"}),
            notices);
  EXPECT_EQ("last name", tables->dictionary.species_name[kMaxNames]);
  EXPECT_EQ(9000, settings.last_new_number);
  EXPECT_EQ((std::vector<Merged>{{272, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, DatafileSampleFullIsReportedInTheAnswersFile) {
  std::vector<std::pair<std::string, short>> names;
  Lines lines = {"Big"};
  for (int i = 0; i < 301; ++i) {
    std::string genus = std::string("a") + static_cast<char>('a' + i / 26) +
                        static_cast<char>('a' + i % 26) + "x";
    names.emplace_back(genus + " spec", static_cast<short>(1000 + i));
    lines.push_back(" " + genus + " spec     1");
  }
  loadDictionary(*tables, names);
  datafile(lines);
  run();
  const std::string message = "     *** Sample full - ignored ***   " + col40(" alox spec     1");
  EXPECT_TRUE(shown(message));
  EXPECT_EQ(message, answers().back());
  EXPECT_EQ(300, sample.sample_size);
}

TEST_F(EntryTest, DatafileHeaderAndTerminatorOnlyIsPassedOver) {
  datafile({"Q1", "", "Q2", " fest rubr    5", ""});
  run();
  EXPECT_EQ("Q2      ", sample.sample_name);
  EXPECT_EQ(2, settings.sample_count);
  EXPECT_EQ((std::vector<Merged>{{272, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, DatafileEndingAfterAHeaderEndsTheRun) {
  datafile({"Q1", " fest rubr    5", "", "Q2"});
  run();
  console.take();
  console.type({""});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"", plainSampleLine("Q2      "), "", "", "", "", "*** Program finished  ***", "", "", "Press <RETURN> to exit", "",
                   "", "*************************"}),
            console.output);
}

TEST_F(EntryTest, DatafileEndingAfterOnlyBadLinesEndsTheRun) {
  datafile({"Q1", " fest rubr    r"});
  console.type({""});
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_TRUE(shown("*** Program finished  ***"));
}

TEST_F(EntryTest, DatafileSampleWhoseEntriesAreAllDeletedIsStillReturned) {
  datafile({"Q1", " fest rubr   -5", "", "Q2", " holc lana     5", ""});
  run();
  EXPECT_EQ("Q1      ", sample.sample_name);
  EXPECT_EQ(0, sample.sample_size);
}

TEST_F(EntryTest, DatafileExtraEmptyLineReadsAsABlankHeader) {
  datafile({"Q1", " fest rubr    5", "", "", "Q2", " holc lana     5", ""});
  run();
  settings.sample_count = 2;  // the driver counts the sample it received
  run();
  EXPECT_EQ("SAMPL  2", sample.sample_name);
  EXPECT_TRUE(shown("     *** Name not in dictionary ***  q2       "));
  EXPECT_EQ((std::vector<Merged>{{9001, 1, 0}, {400, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, DatafileScaleLabelAsksForTheParametersBeforeTheSpecies) {
  datafile({"Q1      " "     " "BR-BL", " fest rubr     3", ""});
  console.type({"", "2", ""});
  run();
  EXPECT_EQ(2, settings.cover_scale);
  EXPECT_EQ(" Cover scale is set to COVR% but input data are BR-BL", console.output.at(0));
  EXPECT_EQ(plainSampleLine("Q1      ", "Br-Bla"), answers().at(1));
  EXPECT_EQ((std::vector<Merged>{{272, 1, 40}}), merged(sample));
}

TEST_F(EntryTest, DatafileLongLinesAreReadToColumnForty) {
  datafile({"Q1", " fest rubr    5" + std::string(25, ' ') + "99 ignored", ""});
  run();
  EXPECT_EQ((std::vector<Merged>{{272, 1, 5}}), merged(sample));
}

// ----------------------------------------------------------- round trip

TEST_F(EntryTest, KeyboardRecordReadsBackAsTheSameSamples) {
  keyboard({"Q1", "Festuca rubra 25", "Holcus lanatus* 12.5", "Agrostis capillaris** 0.5",
            "Festuca rubra 30", "Calluna vulgaris 20", "Calluna vulgaris -1",
            "Newgenus species 5", "1", "", "",
            "Q2 * 10", "Festuca rubra 3 25", "Holcus lanatus 10 2.5", "Molinia caerulea* 5 999.9",
            "Festuca rubra* 4 10", "", "",
            "", "Nardus stricta 1.5", "", ""});
  std::vector<Sample> typed;
  for (int i = 0; i < 3; ++i) {
    run();
    typed.push_back(sample);
    settings.sample_count++;
  }
  EXPECT_THROW(run(), veg::StopRun);
  EXPECT_EQ((Lines{"Q1           COVR%", " fest rubr    30", " holc lana*   12.5",
                   " agro capi**   0.5", " newg spec     5", "",
                   "Q2         * 10 COVR%", " fest rubr    3  25", " holc lana   10   2.5",
                   " moli caer*   5 999.9", " fest rubr*   4  10", "",
                   "SAMPL  3     COVR%", " nard stri     1.5", ""}),
            record());

  // A later run, with a fresh dictionary, reads the record as its datafile.
  Session later;
  later.datafile(record());
  std::vector<Sample> read;
  for (int i = 0; i < 3; ++i) {
    later.run();
    read.push_back(later.sample);
    later.settings.sample_count++;
  }
  later.console.type({""});
  EXPECT_THROW(later.run(), veg::StopRun);

  ASSERT_EQ(typed.size(), read.size());
  for (std::size_t s = 0; s < typed.size(); ++s) {
    EXPECT_EQ(typed[s].sample_name, read[s].sample_name) << s;
    EXPECT_EQ(typed[s].max_frequency, read[s].max_frequency) << s;
    EXPECT_EQ(merged(typed[s]), merged(read[s])) << s;
  }
  EXPECT_EQ((std::vector<Merged>{{272, 1, 30}, {400, 1, 13}, {12, 1, 1}, {9001, 1, 5}}),
            merged(typed[0]));
  EXPECT_EQ((std::vector<Merged>{{272, 4, 35}, {400, 10, 3}, {500, 5, 100}}), merged(typed[1]));
}

TEST_F(EntryTest, FrequencySampleValueOfThousandCannotBeReadBack) {
  keyboard({"Q1*10", "Festuca rubra 3 1000", "", ""});
  run();
  EXPECT_EQ(" fest rubr    31000", record().at(1));
  Session later;
  later.datafile(record());
  // The only line is bad, so the sample has no entries and the file ends.
  EXPECT_THROW(later.run(), veg::StopRun);
  EXPECT_TRUE(later.shown("     *** Bad data - ignored ***   " + col40(" fest rubr    31000")));
}

// Lines pasted from a spreadsheet: cells separated by tabs.
TEST_F(EntryTest, DatafileTabsSeparateWordsLikeBlanks) {
  datafile({"Q1", "Festuca\trubra\t25", "\tHolcus\tlanatus\t12.5", "\t\t", "Q2",
            "Agrostis capillaris\t5", ""});
  run();
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}, {400, 1, 13}}), merged(sample));
  EXPECT_FALSE(shown("     *** Name not in dictionary ***  fest     "));
  // the line of tabs ended the first sample
  run();
  EXPECT_EQ("Q2      ", sample.sample_name);
  EXPECT_EQ((std::vector<Merged>{{12, 1, 5}}), merged(sample));
}

TEST_F(EntryTest, KeyboardTabsSeparateWordsAndTheRecordHasBlanks) {
  keyboard({"Q1", "Festuca\trubra\t25", "", ""});
  run();
  EXPECT_EQ((std::vector<Merged>{{272, 1, 25}}), merged(sample));
  EXPECT_EQ((Lines{"Q1      " "     " "COVR%", " fest rubr    25", ""}), record());
}

}  // namespace
}  // namespace vegmatch
