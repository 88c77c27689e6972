#include "vegmatch/recap.h"

#include <gtest/gtest.h>

#include "vegmatch/testing/fixture.h"

namespace vegmatch {
namespace {

using testing::Lines;

// A row of the recap screen: three cells of 21 columns, four blanks apart.
std::string row(const std::string& a, const std::string& b = "", const std::string& c = "") {
  auto cell = [](const std::string& s) { return s + std::string(21 - s.size(), ' '); };
  return cell(a) + "    " + cell(b) + "    " + cell(c);
}

struct RecapTest : ::testing::Test, testing::Fixture {
  Dictionary& dict = tables->dictionary;
  int& name_count = tables->name_count;
  int n = 0;

  RecapTest() {
    io.record = fs.createNew("SAMP.txt");
    testing::loadDictionary(*tables, {{"agro capi", 0}, {"fest rubr", 0}, {"holc lana", 0}});
  }
  // Appends an entry: dictionary entry, species code, value in tenths,
  // frequency.
  void add(int entry, int code, int tenths, int frequency = 1) {
    ++n;
    sample.sample_entry_name[n] = static_cast<short>(entry);
    sample.sample_species[n] = static_cast<short>(code);
    sample.sample_cover[n] = static_cast<short>(tenths);
    sample.sample_frequency[n] = static_cast<short>(frequency);
  }
  // Entries 1..count named agro capi with values 1, 2, 3, ...
  void addNumbered(int count) {
    for (int i = 1; i <= count; ++i) add(3, 1, 10 * i);
  }
  void run(int mode, int input_mode = kKeyboardInput, int max_frequency = 0) {
    recap(io, grid, mode, n, input_mode, sample, dict, name_count, max_frequency);
  }
};

TEST_F(RecapTest, FormatsTheFourLineForms) {
  add(4, 52, 250, 3);
  add(4, 52, 125, 3);
  EXPECT_EQ(" fest rubr    25", formatEntry(sample, 1, dict, name_count, 0));
  EXPECT_EQ(" fest rubr    12.5", formatEntry(sample, 2, dict, name_count, 0));
  EXPECT_EQ(" fest rubr    3  25", formatEntry(sample, 1, dict, name_count, 10));
  EXPECT_EQ(" fest rubr    3  12.5", formatEntry(sample, 2, dict, name_count, 10));
}

TEST_F(RecapTest, FrequencyFieldAtTheEndsOfTheRange) {
  // A maximum frequency of 1 still shows the frequency; 100 fills its three
  // columns.
  add(4, 52, 250, 1);
  add(4, 52, 250, 100);
  EXPECT_EQ(" fest rubr    1  25", formatEntry(sample, 1, dict, name_count, 1));
  EXPECT_EQ(" fest rubr  100  25", formatEntry(sample, 2, dict, name_count, 100));
}

TEST_F(RecapTest, HalfHasItsLeadingZeroAndWideValuesFit) {
  add(4, 52, 5);
  add(4, 52, 0);
  add(4, 52, 32767);
  add(4, 52, 32760, 100);
  EXPECT_EQ(" fest rubr     0.5", formatEntry(sample, 1, dict, name_count, 0));
  EXPECT_EQ(" fest rubr     0", formatEntry(sample, 2, dict, name_count, 0));
  EXPECT_EQ(" fest rubr  3276.7", formatEntry(sample, 3, dict, name_count, 0));
  EXPECT_EQ(" fest rubr  1003276", formatEntry(sample, 4, dict, name_count, 100));
}

TEST_F(RecapTest, MarksFollowTheSpeciesCode) {
  add(4, 52, 10);
  add(4, 10052, 10);
  add(4, 20052, 10);
  add(4, 10000, 10);
  add(4, 20000, 10);
  EXPECT_EQ(" fest rubr     1", formatEntry(sample, 1, dict, name_count, 0));
  EXPECT_EQ(" fest rubr*    1", formatEntry(sample, 2, dict, name_count, 0));
  EXPECT_EQ(" fest rubr**   1", formatEntry(sample, 3, dict, name_count, 0));
  EXPECT_EQ(" fest rubr     1", formatEntry(sample, 4, dict, name_count, 0));
  EXPECT_EQ(" fest rubr*    1", formatEntry(sample, 5, dict, name_count, 0));
}

TEST_F(RecapTest, EntryNameOutsideTheDictionaryShowsBlanks) {
  add(6, 52, 10);
  add(0, 52, 10);
  EXPECT_EQ("              1", formatEntry(sample, 1, dict, name_count, 0).substr(1));
  EXPECT_EQ("               1", formatEntry(sample, 2, dict, name_count, 0));
}

TEST_F(RecapTest, RunningDisplayShowsTheLastTen) {
  addNumbered(12);
  sample.sample_cover[5] = -10;
  run(kRecapRunning);
  Lines expected = {" agro capi     3", " agro capi     4", " agro capi     6", " agro capi     7",
                    " agro capi     8", " agro capi     9", " agro capi    10", " agro capi    11",
                    " agro capi    12"};
  EXPECT_EQ(expected, console.output);
  EXPECT_TRUE(record().empty());
}

TEST_F(RecapTest, RunningDisplayOfFewEntriesStartsAtTheFirst) {
  add(4, 52, 250);
  add(5, 10080, 125);
  run(kRecapRunning);
  EXPECT_EQ((Lines{" fest rubr    25", " holc lana*   12.5"}), console.output);
}

TEST_F(RecapTest, ScreenOfSevenEntriesRunsDownTheFirstColumn) {
  addNumbered(7);
  run(kRecapScreen);
  Lines expected = {""};
  for (int i = 1; i <= 7; ++i) {
    expected.push_back(row(" agro capi     " + std::to_string(i)));
  }
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ(71u, console.output[1].size());
}

TEST_F(RecapTest, FortyFiveEntriesFillOneScreenWithoutPrompt) {
  addNumbered(45);
  run(kRecapScreen);
  ASSERT_EQ(16u, console.output.size());
  EXPECT_EQ("", console.output[0]);
  EXPECT_EQ(row(" agro capi     1", " agro capi    16", " agro capi    31"), console.output[1]);
  EXPECT_EQ(row(" agro capi    15", " agro capi    30", " agro capi    45"), console.output[15]);
  EXPECT_EQ(0, console.reads);
}

TEST_F(RecapTest, FortySixthEntryGoesToASecondScreen) {
  addNumbered(46);
  console.type({"anything"});
  run(kRecapScreen);
  ASSERT_EQ(20u, console.output.size());
  EXPECT_EQ("", console.output[0]);
  EXPECT_EQ(row(" agro capi     1", " agro capi    16", " agro capi    31"), console.output[1]);
  EXPECT_EQ(row(" agro capi    15", " agro capi    30", " agro capi    45"), console.output[15]);
  EXPECT_EQ("", console.output[16]);
  EXPECT_EQ(" Press <RETURN> for next screen of data", console.output[17]);
  EXPECT_EQ("", console.output[18]);
  EXPECT_EQ(row(" agro capi    46"), console.output[19]);
  EXPECT_EQ(1, console.reads);
}

TEST_F(RecapTest, EndOfInputBetweenScreensStopsTheRun) {
  addNumbered(46);
  EXPECT_THROW(run(kRecapScreen), veg::StopRun);
}

TEST_F(RecapTest, DeletedEntriesLeaveNoGap) {
  add(3, 1, 10);
  add(4, 52, -10);
  add(5, 80, 30);
  run(kRecapScreen);
  EXPECT_EQ((Lines{"", row(" agro capi     1"), row(" holc lana     3")}), console.output);
  console.take();
  run(kRecapRecord);
  EXPECT_EQ((Lines{" agro capi     1", " holc lana     3"}), record());
  EXPECT_TRUE(console.output.empty());
}

// A cover of 0 is an entry like any other (only a negative one is passed
// over): it takes its cell, its running-display line and its record line.
TEST_F(RecapTest, CoverOfZeroIsShownAndRecorded) {
  add(3, 1, 0);
  add(4, 52, 10);
  run(kRecapScreen);
  EXPECT_EQ((Lines{"", row(" agro capi     0"), row(" fest rubr     1")}), console.take());
  run(kRecapRunning);
  EXPECT_EQ((Lines{" agro capi     0", " fest rubr     1"}), console.take());
  run(kRecapRecord);
  EXPECT_EQ((Lines{" agro capi     0", " fest rubr     1"}), record());
}

TEST_F(RecapTest, DeletedEntriesDoNotCountTowardsAScreen) {
  addNumbered(46);
  sample.sample_cover[2] = -1;
  run(kRecapScreen);
  ASSERT_EQ(16u, console.output.size());
  EXPECT_EQ(row(" agro capi     1", " agro capi    17", " agro capi    32"), console.output[1]);
  EXPECT_EQ(row(" agro capi    16", " agro capi    31", " agro capi    46"), console.output[15]);
}

TEST_F(RecapTest, ScreenWithNothingToShowIsOneEmptyLine) {
  add(3, 1, -10);
  run(kRecapScreen);
  EXPECT_EQ(Lines{""}, console.output);
}

TEST_F(RecapTest, RecordKeepsBothAsterisksAndFrequencies) {
  add(4, 20052, 125, 4);
  add(5, 80, 30, 10);
  run(kRecapRecord, 0, 10);
  EXPECT_EQ((Lines{" fest rubr**  4  12.5", " holc lana   10   3"}), record());
}

TEST_F(RecapTest, DatafileInputShowsAndWritesNoEntry) {
  addNumbered(3);
  run(kRecapRunning, kDatafileInput);
  run(kRecapRecord, kDatafileInput);
  EXPECT_TRUE(console.output.empty());
  EXPECT_TRUE(record().empty());
  run(kRecapScreen, kDatafileInput);
  EXPECT_EQ(Lines{""}, console.output);
}

}  // namespace
}  // namespace vegmatch
