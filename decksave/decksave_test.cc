// The DECKSAVE run on the in-memory console and file system: the screen and
// the Cornell file written, for whole sample files, and every way the run
// can stop.
#include "decksave/decksave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/testing/fakes.h"
#include "common/testing/program.h"

namespace decksave {
namespace {

using Lines = std::vector<std::string>;
using veg::testing::holdNotice;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::string kFormatLine = "(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7";

Lines opening() {
  return {"",
          "",
          "",
          "",
          " Program DECKSAVE",
          " Converts from VEGMATCH format to Cornell condensed format",
          "",
          "",
          "",
          "",
          " Enter name of input datafile in VEGMATCH format",
          "      or press <RETURN> for default SAMP.txt",
          "",
          "",
          " Type name of output file (Cornell Condensed)",
          "      or press <RETURN> for default CORNELL.txt",
          "NO TITLE",
          kFormatLine};
}

Lines header() { return {"NO TITLE", kFormatLine}; }

std::string number4(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", n);
  return text;
}

struct DecksaveTest : ::testing::Test {
  veg::testing::FakeConsole console;
  veg::testing::MemoryFileSystem fs;

  // Converts SAMP.txt into CORNELL.txt with the default names.
  void run(const Lines& sample_file, Lines keys = {"", "", ""}) {
    fs.put("SAMP.txt", sample_file);
    console.type(std::move(keys));
    EXPECT_EQ(0, runDecksave(console, fs));
    for (const std::string& line : console.output) EXPECT_LE(line.size(), 80u) << line;
  }
  Lines cornell() const { return fs.lines("CORNELL.txt"); }
  bool flushedCornell() const {
    for (const std::string& name : *fs.flushed)
      if (name == "CORNELL.txt") return true;
    return false;
  }
};

TEST_F(DecksaveTest, TwoSamplesOfThreeAndNineSpecies) {
  run({"Q1           COVR%", " fest rubr    25", " agro capi     3", " plan lanc    10.5", "",
       "Q2           COVR%", " rume acet     1", " fest rubr    50", " anth odor     2",
       " holc lana    12.5", " lotu corn     4", " trif repe     7", " plan lanc     1",
       " cyno cris     8", " dact glom     5", ""});
  EXPECT_EQ((opening() + Lines{" Q1      ", " Q2      "} + holdNotice()), console.output);
  // Species 1 fest rubr, 2 agro capi, 3 plan lanc, 4 rume acet, 5 anth odor,
  // 6 holc lana, 7 lotu corn, 8 trif repe, 9 cyno cris, 10 dact glom.
  EXPECT_EQ((header() +
             Lines{"   1      1 25.0    2  3.0    3 10.5",
                   "   2      1 50.0    3  1.0    4  1.0    5  2.0    6 12.5    7  4.0    8  7.0",
                   "   2      9  8.0   10  5.0", "   0",
                   "festrubragrocapiplanlancrumeacetanthodorholclanalotucorntrifrepecynocris"
                   "dactglom",
                   "Q1      Q2      "}),
            cornell());
  EXPECT_TRUE(flushedCornell());
  EXPECT_EQ(0u, console.unread());
}

TEST_F(DecksaveTest, EmptySampleFile) {
  run({});
  EXPECT_EQ(opening() + holdNotice(), console.output);
  EXPECT_EQ((header() + Lines{"   0", "", ""}), cornell());
}

TEST_F(DecksaveTest, FileOfBlankLinesOnlyIsAnEmptySampleFile) {
  run({"", "", "        "});
  EXPECT_EQ((header() + Lines{"   0", "", ""}), cornell());
}

TEST_F(DecksaveTest, BlankLinesAreSkippedAndEmptySamplesKeepTheirNumber) {
  run({"", "", "A", "", "   ", "", "B", " fest rubr    25", "", "", "C", " agro capi     3",
       " fest rubr     2"});
  EXPECT_EQ((opening() + Lines{" A       ", " B       ", " C       "} + holdNotice()),
            console.output);
  // A ends at once; C at the end of the file, without its terminator.
  EXPECT_EQ((header() + Lines{"   1", "   2      1 25.0", "   3      1  2.0    2  3.0", "   0",
                              "festrubragrocapi", "A       B       C       "}),
            cornell());
}

// Every line is what vegmatch takes it for: a name line with a blank name
// is a sample of vegmatch's default name, a word alone a species with no
// value, a hand-written line its name key and value, and in a sample with
// frequency data the number after the name the frequency.
TEST_F(DecksaveTest, LinesAreTakenAsVegmatchTakesThem) {
  run({"        junk", " fest rubr    25", "X", "", "T2", " Poa annua 30", "Calluna\tvulgaris\t5",
       "", "F3 * 4       DOMIN", " call vulg    3   7", "Poa annua 4 2", ""});
  EXPECT_EQ((opening() +
             Lines{" SAMPL  1", " T2      ", " F3      ",
                   "     frequency data: the Cornell file takes the cover values only"} +
             holdNotice()),
            console.output);
  // Species 1 fest rubr, 2 x, 3 poa annu, 4 call vulg.
  EXPECT_EQ((header() + Lines{"   1      1 25.0    2  0.0", "   2      3 30.0    4  5.0",
                              "   3      3  2.0    4  7.0", "   0",
                              "festrubrx       poa annucallvulg", "SAMPL  1T2      F3      "}),
            cornell());
}

TEST_F(DecksaveTest, NamesKeepTheirFirstNumberAndLetterCaseCounts) {
  run({"S1", " fest rubr     1", " Fest rubr     2", " abcdefghi     3", "", "S2",
       " Fest rubr     7", " fest rubr     5", " Fest rubr     8", ""});
  // S2 holds species 2, 1, 2: the heap puts the second Fest rubr (8.0)
  // before the first (7.0). abcdefghi is one word: its name key is abcd.
  EXPECT_EQ((header() + Lines{"   1      1  1.0    2  2.0    3  3.0",
                              "   2      1  5.0    2  8.0    2  7.0", "   0",
                              "festrubrFestrubrabcd    ", "S1      S2      "}),
            cornell());
}

TEST_F(DecksaveTest, ValuesThatDoNotFitAreFiveAsterisks) {
  run({"Big", " fest rubr  1000.0", " agro capi   999.9", " plan lanc     0.5"});
  EXPECT_EQ("   1      1*****    2999.9    3  0.5", cornell()[2]);
}

TEST_F(DecksaveTest, SampleNamesAreColumnsOneToEight) {
  run({"  lead    COVR%", " fest rubr     1", "", "LONGNAME99", ""});
  EXPECT_EQ((opening() + Lines{"   lead  ", " LONGNAME"} + holdNotice()), console.output);
  EXPECT_EQ("  lead  LONGNAME", cornell().back());
}

TEST_F(DecksaveTest, ElevenSpeciesGiveTwoNameLinesAndElevenSamplesTwoSampleLines) {
  Lines file;
  for (int s = 1; s <= 11; ++s) {
    file.push_back("S" + number4(s));
    file.push_back(" " + number4(s) + " sp      1");
    file.push_back("");
  }
  run(file);
  const Lines c = cornell();
  ASSERT_EQ(2u + 11 + 1 + 2 + 2, c.size());
  EXPECT_EQ("  11     11  1.0", c[12]);
  EXPECT_EQ("   0", c[13]);
  EXPECT_EQ("0001sp  0002sp  0003sp  0004sp  0005sp  0006sp  0007sp  0008sp  0009sp  0010sp  ",
            c[14]);
  EXPECT_EQ("0011sp  ", c[15]);
  EXPECT_EQ("S0011   ", c[17]);
}

// A line vegmatch would ignore as bad data is left out with its number and
// text, never read as a value of 0; the rest of the file is converted.
TEST_F(DecksaveTest, BadDataIsLeftOutWithItsLineAndTheRestConverted) {
  run({"Q1", " fest rubr    25", "", "Q2", " agro capi     3", " plan lanc   1x5",
       " rume acet     1", " Poa annua 3O", ""},
      {"", "", ""});
  EXPECT_EQ((opening() +
             Lines{" Q1      ", " Q2      ",
                   " *** Bad data on line 6 - left out, as vegmatch leaves it out:",
                   " plan lanc   1x5",
                   " *** Bad data on line 8 - left out, as vegmatch leaves it out:",
                   " Poa annua 3O", "",
                   " *** 2 lines of bad data left out; the Cornell file holds the rest",
                   "     a species line is genus, epithet and value, such as  Festuca rubra 12.5"} +
             holdNotice()),
            console.output);
  EXPECT_EQ((header() + Lines{"   1      1 25.0", "   2      2  3.0    3  1.0", "   0",
                              "festrubragrocapirumeacet", "Q1      Q2      "}),
            cornell());
  EXPECT_TRUE(flushedCornell());
  EXPECT_EQ(0u, console.unread());
}

TEST_F(DecksaveTest, UnreadableLineLongerThanTheScreenIsCut) {
  const std::string line = " fest rubr    2x" + std::string(100, 'z');
  run({"Q1", line});
  const Lines& out = console.output;
  EXPECT_NE(out.end(), std::find(out.begin(), out.end(), line.substr(0, 80)));
}

TEST_F(DecksaveTest, MoreThan5000SamplesStopAfterTheFirst5000) {
  Lines file;
  for (int s = 1; s <= 5001; ++s) {
    file.push_back("S" + number4(s));
    file.push_back("");
  }
  run(file);
  const Lines c = cornell();
  ASSERT_EQ(5002u, c.size());
  EXPECT_EQ("   1", c[2]);
  EXPECT_EQ("5000", c.back());
  const Lines tail = Lines{" S5000   ",
                           "",
                           "",
                           " *** ERROR *** More than 5000 samples",
                           " Sample S5001    on line 10001 and all after it are not converted",
                           " The Cornell file is incomplete: data of the first 5000 samples only"} +
                     holdNotice();
  ASSERT_GE(console.output.size(), tail.size());
  EXPECT_EQ(tail, Lines(console.output.end() - tail.size(), console.output.end()));
  EXPECT_TRUE(flushedCornell());
}

TEST_F(DecksaveTest, ASampleTakes5000SpeciesLinesButNotMore) {
  Lines file = {"Full"};
  for (int i = 1; i <= 5000; ++i) file.push_back(" fest rubr     1");
  file.push_back("");
  file.push_back("Over");
  for (int i = 1; i <= 5001; ++i) file.push_back(" fest rubr     1");
  run(file);
  const Lines c = cornell();
  // 5000 couplets: 714 lines of 7 and one of 2.
  ASSERT_EQ(2u + 715, c.size());
  EXPECT_EQ("   1      1  1.0    1  1.0", c.back());
  const Lines tail = Lines{" Over    ",
                           "",
                           "",
                           " *** ERROR *** Sample Over     has more than 5000 species lines",
                           " (line 10004 of the input file)",
                           " The Cornell file holds the samples before this one"} +
                     holdNotice();
  ASSERT_GE(console.output.size(), tail.size());
  EXPECT_EQ(tail, Lines(console.output.end() - tail.size(), console.output.end()));
}

TEST_F(DecksaveTest, FullDictionaryStopsAtOnceWithTheCornellFileFlushed) {
  Lines file = {"Q1"};
  for (int i = 1; i <= 5000; ++i) file.push_back(" " + number4(i) + " sp       1");
  file.push_back("");
  file.push_back("Q2");
  file.push_back(" 0001 sp       2");
  file.push_back(" xtra xtra     2");
  file.push_back(" 0002 sp       2");
  run(file, {"", "", ""});
  EXPECT_EQ((opening() +
             Lines{" Q1      ", " Q2      ", " Dictionary now full.  Item xtra xtraNumber   5000"}),
            console.output);
  const Lines c = cornell();
  ASSERT_EQ(2u + 715, c.size());
  EXPECT_EQ("   1   4999  1.0 5000  1.0", c.back());
  EXPECT_TRUE(flushedCornell());
  EXPECT_EQ(1u, console.unread());  // no `hold`
}

TEST_F(DecksaveTest, EndOfInputAtTheInputPromptEndsTheRun) {
  run({"Q1"}, {});
  const Lines all = opening();
  EXPECT_EQ(Lines(all.begin(), all.begin() + 12), console.output);
  EXPECT_TRUE(fs.created.empty());
}

TEST_F(DecksaveTest, EndOfInputAtTheOutputPromptEndsTheRun) {
  run({"Q1"}, {""});
  const Lines all = opening();
  EXPECT_EQ(Lines(all.begin(), all.end() - 2), console.output);
  EXPECT_TRUE(fs.created.empty());
}

TEST_F(DecksaveTest, EndOfInputAtHoldLeavesTheWholeFile) {
  run({"Q1", " fest rubr     1"}, {"", ""});
  EXPECT_EQ((opening() + Lines{" Q1      "} + holdNotice()), console.output);
  EXPECT_EQ((header() + Lines{"   1      1  1.0", "   0", "festrubr", "Q1      "}), cornell());
  EXPECT_TRUE(flushedCornell());
}

TEST_F(DecksaveTest, FailedWriteOfTheCornellFileIsReported) {
  fs.write_limit["CORNELL.txt"] = 3;
  run({"Q1", " fest rubr     1", "", "Q2", " fest rubr     2", ""});
  EXPECT_EQ(
      (opening() +
       Lines{" Q1      ", " Q2      ", "", "", "  *** ERROR *** Cannot write file CORNELL.txt",
             " No space left on device", " The file is incomplete"} +
       holdNotice()),
      console.output);
  EXPECT_EQ((header() + Lines{"   1      1  1.0"}), cornell());
}

TEST_F(DecksaveTest, FailedReadOfTheSampleFileIsReported) {
  fs.read_limit["SAMP.txt"] = 2;
  run({"Q1", " fest rubr     1", " agro capi     2", ""});
  EXPECT_EQ((opening() +
             Lines{" Q1      ", "", "", "  *** ERROR *** Cannot read file SAMP.txt",
                   " Input/output error"} +
             holdNotice()),
            console.output);
  EXPECT_EQ(header(), cornell());
}

TEST_F(DecksaveTest, TypedNamesAndATakenDefault) {
  fs.put("field.txt", {"Q1", " fest rubr     1"});
  fs.put("CORNELL.txt", {"older"});
  console.type({"missing.txt", "field.txt", "", ""});
  EXPECT_EQ(0, runDecksave(console, fs));
  EXPECT_EQ((Lines{"older"}), fs.lines("CORNELL.txt"));
  EXPECT_EQ((header() + Lines{"   1      1  1.0", "   0", "festrubr", "Q1      "}),
            fs.lines("CORNELL01.txt"));
}

}  // namespace
}  // namespace decksave
