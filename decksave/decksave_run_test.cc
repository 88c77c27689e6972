// End-to-end runs of the built decksave program in a temporary directory,
// with scripted keyboard input; the screen and the Cornell file are compared
// line by line with what the program is meant to write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/program.h"

namespace {

using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::holdNotice;
using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::string kProgram = "decksave/decksave";
const std::string kFormatLine = "(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7";

Lines banner() {
  return {"",
          "",
          "",
          "",
          " Program DECKSAVE",
          " Converts from VEGMATCH format to Cornell condensed format",
          "",
          ""};
}

Lines inputQuestion() {
  return {"", "", " Enter name of input datafile in VEGMATCH format",
          "      or press <RETURN> for default SAMP.txt"};
}

Lines outputQuestion() {
  return {"", "", " Type name of output file (Cornell Condensed)",
          "      or press <RETURN> for default CORNELL.txt"};
}

// A record-of-entry file as VEGMATCH writes it: header lines with the scale
// label, marks, whole values in columns 13-16 and others in 13-18, an
// empty sample.
Lines recordFile() {
  return {"Heath 1      DOMIN",
          " call vulg     8",
          " eric cine*    5",
          " vacc myrt**   3",
          "",
          "Bare         DOMIN",
          "",
          "Heath 2      COVR%",
          " eric cine    12.5",
          " call vulg    40",
          " moli caer     0.5",
          " call vulg     1",
          ""};
}

TEST(DecksaveRunTest, RecordFileWithTypedNamesAndATakenDefault) {
  ProgramRun run;
  run.put("heath.txt", recordFile());
  run.put("CORNELL.txt", {"an earlier file"});
  ASSERT_EQ(0, run.run(builtProgram(kProgram), {"heath", "heath.txt", "heath.txt", "", ""}));

  Lines expected =
      banner() + inputQuestion() +
      Lines{"", "  *** ERROR *** File does not exist", " Type another name"} + outputQuestion() +
      Lines{"", "  *** ERROR *** File already exists",
            " Type another name, not heath.txt           "} +
      Lines{"NO TITLE", kFormatLine, " Heath 1 ", " Bare    ", " Heath 2 "} + holdNotice();
  EXPECT_EQ("", veg::testing::firstDifference(expected, run.screen));

  // Species 1 call vulg, 2 eric cine, 3 vacc myrt, 4 moli caer. Heath 2
  // holds 2, 1 (40), 4, 1 (1.0): the heap built by insertion is 4, 1 (40),
  // 2, 1 (1.0); taking the top off three times leaves 1 (40) before 1 (1.0).
  EXPECT_EQ("", veg::testing::firstDifference(
                    Lines{"NO TITLE", kFormatLine, "   1      1  8.0    2  5.0    3  3.0", "   2",
                          "   3      1 40.0    1  1.0    2 12.5    4  0.5", "   0",
                          "callvulgericcinevaccmyrtmolicaer", "Heath 1 Bare    Heath 2 "},
                    run.lines("CORNELL01.txt")));
  EXPECT_EQ(Lines{"an earlier file"}, run.lines("CORNELL.txt"));
  EXPECT_EQ((Lines{"CORNELL.txt", "CORNELL01.txt", "heath.txt"}), run.files());
}

TEST(DecksaveRunTest, CarriageReturnLineEndsAndNoFinalTerminator) {
  ProgramRun run;
  run.put("SAMP.txt", {"Q1\r", " fest rubr    25\r", "\r", "Q2\r", " agro capi     3.5\r"});
  ASSERT_EQ(0, run.run(builtProgram(kProgram), {"", "", ""}));
  EXPECT_EQ((Lines{"NO TITLE", kFormatLine, "   1      1 25.0", "   2      2  3.5", "   0",
                   "festrubragrocapi", "Q1      Q2      "}),
            run.lines("CORNELL.txt"));
}

TEST(DecksaveRunTest, BadDataIsLeftOutWithItsLineNumberAndText) {
  ProgramRun run;
  run.put("SAMP.txt", {"Q1", " fest rubr    25", "", "Q2", " agro capi    3.5O", " fest rubr 2"});
  ASSERT_EQ(0, run.run(builtProgram(kProgram), {"", "", ""}));
  const Lines report = {
      " *** Bad data on line 5 - left out, as vegmatch leaves it out:", " agro capi    3.5O", "",
      " *** 1 line of bad data left out; the Cornell file holds the rest",
      "     a species line is genus, epithet and value, such as  Festuca rubra 12.5"};
  Lines expected = banner() + inputQuestion() + outputQuestion() +
                   Lines{"NO TITLE", kFormatLine, " Q1      ", " Q2      "} + report + holdNotice();
  EXPECT_EQ("", veg::testing::firstDifference(expected, run.screen));
  EXPECT_EQ((Lines{"NO TITLE", kFormatLine, "   1      1 25.0", "   2      1  2.0", "   0",
                   "festrubr", "Q1      Q2      "}),
            run.lines("CORNELL.txt"));
}

// The hand-written file of the report: "Poa annua 30" is what vegmatch
// reads, name key poa annu and 30 %, not "Poa nnua" with 0.0.
TEST(DecksaveRunTest, HandWrittenSpeciesLineConvertsAsVegmatchReadsIt) {
  ProgramRun run;
  run.put("t2.txt", {"T2", " Poa annua 30", ""});
  ASSERT_EQ(0, run.run(builtProgram(kProgram), {"t2.txt", "", ""}));
  EXPECT_EQ("", veg::testing::firstDifference(
                    banner() + inputQuestion() + outputQuestion() +
                        Lines{"NO TITLE", kFormatLine, " T2      "} + holdNotice(),
                    run.screen));
  EXPECT_EQ((Lines{"NO TITLE", kFormatLine, "   1      1 30.0", "   0", "poa annu", "T2      "}),
            run.lines("CORNELL.txt"));
}

TEST(DecksaveRunTest, EndOfInputAtEveryPromptIsANormalEnd) {
  for (std::size_t keys = 0; keys <= 2; ++keys) {
    ProgramRun run;
    run.put("SAMP.txt", {"Q1", " fest rubr     1"});
    ASSERT_EQ(0, run.run(builtProgram(kProgram), Lines(keys, ""))) << keys;
    EXPECT_EQ(keys == 2, run.exists("CORNELL.txt")) << keys;
  }
  ProgramRun run;
  run.put("SAMP.txt", {"Q1", " fest rubr     1"});
  ASSERT_EQ(0, run.run(builtProgram(kProgram), {"", ""}));
  EXPECT_EQ((Lines{"NO TITLE", kFormatLine, "   1      1  1.0", "   0", "festrubr", "Q1      "}),
            run.lines("CORNELL.txt"));
  EXPECT_EQ(holdNotice(), Lines(run.screen.end() - 11, run.screen.end()));
}

// A file-size limit of 4 KiB: the Cornell file cannot be written whole, and
// the run says so instead of ending as if it had been.
TEST(DecksaveRunTest, FileSizeLimitIsReportedWithTheFileName) {
  ProgramRun run;
  Lines samples;
  for (int s = 1; s <= 200; ++s) {
    samples.push_back("S" + std::to_string(s));
    for (int i = 0; i < 10; ++i) samples.push_back(" fest rubr    25");
    samples.push_back("");
  }
  run.put("SAMP.txt", samples);
  run.put("limited",
          {"#!/bin/sh", "ulimit -f 4 || exit 99", "exec '" + builtProgram(kProgram) + "'"});
  ASSERT_EQ(0, std::system(("chmod +x '" + run.dir + "/limited'").c_str()));
  ASSERT_EQ(0, run.run(run.dir + "/limited", {"", "", ""}));
  const Lines tail = Lines{"", "", "  *** ERROR *** Cannot write file CORNELL.txt",
                           " File too large", " The file is incomplete"} +
                     holdNotice();
  ASSERT_GE(run.screen.size(), tail.size());
  EXPECT_EQ(tail, Lines(run.screen.end() - tail.size(), run.screen.end()));
  const Lines cornell = run.lines("CORNELL.txt");
  ASSERT_FALSE(cornell.empty());
  EXPECT_EQ("NO TITLE", cornell[0]);
  EXPECT_NE("   0", cornell.back());
}

}  // namespace
