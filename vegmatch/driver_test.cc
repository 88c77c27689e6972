// End-to-end runs of the built vegmatch program in a temporary directory,
// with scripted keyboard input; the screen and every file written are
// compared line by line with what the program is meant to show.
#include <gtest/gtest.h>

#include "common/fields.h"
#include "common/testing/program.h"

namespace {

using veg::padRight;
using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::holdNotice;
using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Lines blanks(int n) { return Lines(n, ""); }

// The worked-example world: community 1 (CG2a) holds fest rubr in class V
// with Domin 8, agro capi in class III with Domin 7 and rume acet in class
// I with Domin 6; community 2 (W1) holds rume acet only; plan lanc is in
// the dictionary but in no table.
void putReferenceFiles(const ProgramRun& run) {
  run.put("SPECDICT.txt", {"   2 agro capi", "   1 fest rubr", "   4 plan lanc", "   3 rume acet"});
  run.put("ASSOCTAB.txt", {"    4    3", "  148  127  1 6  2 6", "    1    1    1",
                           "    2    2    2", "    3    3    4"});
  run.put("NVCTYPES.txt",
          {" CG 2a  Test grassland comm.    typical         E1.26   Semi-dry grassland",
           "  W 1   Test woodland           " + std::string(16, ' ') + "G1.41   Wet woodland"});
}

const std::string kProgram = "vegmatch/vegmatch";

Lines title() {
  const std::string indent(17, ' ');
  return blanks(10) +
         Lines{std::string(30, ' ') + "VEGMATCH  Version 2", "",
               std::string(19, ' ') + "A program to identify types of vegetation",
               std::string(24, ' ') + "by measuring goodness-of-fit to ",
               std::string(31, ' ') + "association tables", "", "",
               indent + "VEGMATCH suite for the British NVC, 2026",
               indent + "with the converters DECKLOAD and DECKSAVE",
               indent + "C++ edition, revised 2026", ""} +
         blanks(5) + Lines{" Press <RETURN> to continue", "", ""} +
         Lines{indent + "Association tables: the NVC floristic tables,",
               indent + "unit names and taxon lookup published with",
               indent + "RMAVIS (LGPL-3.0), derived from the NVC",
               indent + "database of the Joint Nature Conservation",
               indent + "Committee (JNCC).", indent + "EUNIS cross-reference: JNCC habitat",
               indent + "correspondences table (2008)."} +
         blanks(5) + Lines{" Press <RETURN> to continue, or type H for help"};
}

Lines askNumber(int value) {
  return {" Existing value is" + veg::fmtInt(value, 3),
          " Press <RETURN> to retain it, or type new value"};
}

Lines setupOpening() {
  return blanks(17) + Lines{" Enter files and parameters to run VEGMATCH"} + blanks(9) +
         Lines{" Type name of output file for answers or press <RETURN> for default"};
}

Lines sourceQuestion() {
  return Lines{"", "", " Type 0 for input of stand data from keyboard",
               " Type 1 for input from existing datafile"} +
         askNumber(0);
}

Lines recordQuestion() {
  return {"", "", " Enter name of file with record of data entry",
          "      or press <RETURN> for default SAMP.txt"};
}

Lines groupsQuestion() {
  return Lines{"", "", " Type 0 for all species to be included in analysis",
               " Type 1 for vascular plants + bryos (excluding lichens & algae)",
               " Type 2 to include only vascular plants"} +
         askNumber(0);
}

Lines resetDialog(int scale, int analysis) {
  const std::string indent(12, ' ');
  return Lines{"", "", " Set cover-abundance scale for samples",
               " Possible values of scale parameter are", indent + "1= % cover",
               indent + "2= Braun-Blanquet scale", indent + "3= Domin scale"} +
         askNumber(scale) +
         Lines{"", "", " Set parameter to determine type of analysis",
               " Possible values of analysis parameter are",
               indent + "1= Mixed composition and cover", indent + "2= Species composition only",
               indent + "3= Species cover only", indent + "4= Incomplete species list only",
               indent + "5= Top few spp, descndng abndnce, no quant"} +
         askNumber(analysis);
}

Lines outputQuestionAndLoading() {
  return blanks(5) + Lines{" Enter number of fitted communities to be output"} + askNumber(5) +
         blanks(3) + Lines{" Reading in dictionary from file SPECDICT.txt", "", "",
                           " Reading in association tables from file ASSOCTAB.txt", "", "",
                           " Reading cross-reference from file NVCTYPES.txt"};
}

Lines namePrompt() {
  return blanks(5) + Lines{" Now enter sample name (at most 8 characters)",
                           " (For frequency data, follow name by * max-freq)"};
}

std::string sampleLine(const std::string& name, const std::string& analysis) {
  return " Sample " + padRight(name, 8) + "       Parameters =   All sp   Cover%   " + analysis;
}

// The three species of the worked example as the recap shows them.
Lines recap(const std::string& name) {
  const std::string gap(4 + 21 + 4 + 21, ' ');
  return blanks(5) + Lines{" Recap for sample " + padRight(name, 8), "", ""} +
         Lines{padRight(" fest rubr    25", 21) + gap, padRight(" agro capi     3", 21) + gap,
               padRight(" plan lanc    10", 21) + gap} +
         Lines{"", "     Number of entries is     3", "", " Press <RETURN> if complete, or",
               " continue typing to add more data to sample", "", "",
               " Sample complete;  calculating goodness of fit ..."};
}

const std::string kBlankNames = " " + std::string(24, ' ') + " " + std::string(16, ' ');
const std::string kWorkedType1 =
    " E1.26   CG 2a  79 | 98  65 100  72| Test grassland comm.     typical         ";
const std::string kWorkedType2 =
    " E1.26   CG 2a  75 | 98  65   0   0| Test grassland comm.     typical         ";
const std::string kUnmatched = "                 0 |  0   0   0   0|" + kBlankNames;

Lines report(const std::string& name, int fit, const std::string& grade, const Lines& table) {
  return blanks(7) +
         Lines{" NVC type of " + padRight(name, 8) + " is CG 2a  with goodness of fit " +
                   veg::fmtInt(fit, 3) + " - " + grade,
               " NVC Community: Test grassland comm.       Subcommunity: typical         ",
               " EUNIS        : Semi-dry grassland         E1.26   "} +
         blanks(4) + Lines{" Analysis of top 2 possibilities", ""} + table;
}

Lines choice() {
  return blanks(5) + Lines{" Press <RETURN> to continue", "   or type r to reset parameters",
                           "   or type e to exit"};
}

Lines workedSpecies() {
  return {"festuca rubra 25", "Agrostis capillaris 3", "plantago lanceolata 10", ""};
}

TEST(VegmatchRunTest, KeyboardRunWithHelpTakenNamesTwoSamplesResetAndExit) {
  ProgramRun run;
  putReferenceFiles(run);
  run.put("HELP.txt", {"How to type a sample", "Second line of help"});
  run.put("VEGMOUT.txt", {"an earlier run"});
  run.put("taken.txt", {"kept"});
  Lines input = {"", "h", "", "VEGMOUT.txt", "", "", "taken.txt", "rec.txt", "", "", "", "",
                 "Q1"};
  input = input + workedSpecies() + Lines{"", "r", "", "2", ""} + workedSpecies() +
          Lines{"", "x", "e", ""};
  ASSERT_EQ(0, run.run(builtProgram(kProgram), input));

  Lines help_page;
  help_page.push_back(std::string(10, ' ') + padRight("How to type a sample", 60));
  help_page.push_back(std::string(10, ' ') + padRight("Second line of help", 60));
  for (int i = 3; i <= 23; ++i) help_page.push_back(std::string(70, ' '));
  help_page.push_back(" Press <RETURN> to continue");

  Lines expected =
      title() + help_page + setupOpening() +
      Lines{"", "  *** ERROR *** File already exists", " Type another name, not VEGMOUT.txt         "} +
      sourceQuestion() + recordQuestion() +
      Lines{"", "  *** ERROR *** File already exists", " Type another name"} + groupsQuestion() +
      resetDialog(1, 1) + outputQuestionAndLoading() + namePrompt() +
      Lines{"", sampleLine("Q1", "Sp & c"), " Now enter species data, ending with blank line"} +
      recap("Q1") + report("Q1", 79, "good     ", {kWorkedType1, kUnmatched}) + choice() +
      resetDialog(1, 1) + namePrompt() +
      Lines{"", sampleLine("SAMPL  2", "Spp on"), " Now enter species data, ending with blank line"} +
      recap("SAMPL  2") + report("SAMPL  2", 75, "good     ", {kWorkedType2, kUnmatched}) +
      choice() + choice() + holdNotice();
  EXPECT_EQ("", veg::testing::firstDifference(expected, run.screen));

  EXPECT_EQ((Lines{"", sampleLine("Q1", "Sp & c"), kWorkedType1, kUnmatched, "",
                   sampleLine("SAMPL  2", "Spp on"), kWorkedType2, kUnmatched}),
            run.lines("VEGMOUT01.txt"));
  const Lines block = {" fest rubr    25", " agro capi     3", " plan lanc    10", ""};
  EXPECT_EQ(Lines{"Q1           COVR%"} + block + Lines{"SAMPL  2     COVR%"} + block,
            run.lines("rec.txt"));
  EXPECT_EQ(Lines{"an earlier run"}, run.lines("VEGMOUT.txt"));
  EXPECT_EQ(Lines{"kept"}, run.lines("taken.txt"));
  EXPECT_EQ((Lines{"ASSOCTAB.txt", "HELP.txt", "NVCTYPES.txt", "SPECDICT.txt", "VEGMOUT.txt",
                   "VEGMOUT01.txt", "rec.txt", "taken.txt"}),
            run.files());
}

TEST(VegmatchRunTest, EndOfKeyboardInputMidSampleKeepsWhatWasTyped) {
  ProgramRun run;
  putReferenceFiles(run);
  Lines input = {"", "", "", "", "", "", "", "", "", "Q1", "festuca rubra 25", "agro capi 3"};
  ASSERT_EQ(0, run.run(builtProgram(kProgram), input));
  EXPECT_EQ((Lines{"Q1           COVR%", " fest rubr    25", " agro capi     3", ""}),
            run.lines("SAMP.txt"));
  EXPECT_EQ((Lines{"", sampleLine("Q1", "Sp & c")}), run.lines("VEGMOUT.txt"));
  EXPECT_EQ(" Now enter species data, ending with blank line", run.screen.back());
}

TEST(VegmatchRunTest, DefaultNamesAreNumberedUsingGaps) {
  ProgramRun run;
  putReferenceFiles(run);
  run.put("VEGMOUT.txt", {});
  run.put("SAMP.txt", {});
  run.put("SAMP01.txt", {});
  run.put("SAMP03.txt", {});
  ASSERT_EQ(0, run.run(builtProgram(kProgram), blanks(9)));
  EXPECT_TRUE(run.exists("VEGMOUT01.txt"));
  EXPECT_TRUE(run.exists("SAMP02.txt"));
  EXPECT_FALSE(run.exists("VEGMOUT02.txt"));
  EXPECT_FALSE(run.exists("SAMP04.txt"));
  EXPECT_EQ(Lines{}, run.lines("SAMP.txt"));
}

TEST(VegmatchRunTest, MissingReferenceFileEndsTheRunAfterItsProgressLine) {
  ProgramRun run;
  putReferenceFiles(run);
  std::remove((run.dir + "/ASSOCTAB.txt").c_str());
  ASSERT_EQ(0, run.run(builtProgram(kProgram), blanks(10)));
  Lines tail = Lines{" Reading in dictionary from file SPECDICT.txt", "", "",
                     " Reading in association tables from file ASSOCTAB.txt",
                     "  *** Error *** file not found"} +
               holdNotice();
  ASSERT_GE(run.screen.size(), tail.size());
  EXPECT_EQ(tail, Lines(run.screen.end() - tail.size(), run.screen.end()));
  EXPECT_EQ(Lines{}, run.lines("VEGMOUT.txt"));
}

TEST(VegmatchRunTest, MissingHelpFileIsReportedAndTheRunGoesOn) {
  ProgramRun run;
  putReferenceFiles(run);
  Lines input = {"", "H", "", "", "", "", "", "", ""};
  ASSERT_EQ(0, run.run(builtProgram(kProgram), input));
  Lines expected = title() + Lines{"  *** File HELP.txt is not available ***"} + setupOpening();
  EXPECT_EQ(expected, Lines(run.screen.begin(), run.screen.begin() + expected.size()));
}

// A datafile of several samples: an empty one, one with frequency data, bad
// lines, an unknown name, and a last sample without its terminator.
TEST(VegmatchRunTest, DatafileRunReportsEverySampleUnattended) {
  ProgramRun run;
  putReferenceFiles(run);
  run.put("field.txt", {
      "Q1           COVR%", " fest rubr    25", " agro capi     3", " plan lanc    10", "",
      "EMPTY", "",
      "FREQ     *  4 COVR%", " fest rubr  4  25", " agro capi  2   3", " rume acet  9   1",
      " agro capi xx", "",
      "NEW", " fest rubr r", " quer robu 50", " fest rubr 25", " agro capi 3", " plan lanc 10"});
  // Title, help offer, answers file, datafile source, its name, species
  // groups, scale, analysis type, number of communities.
  Lines input = {"", "", "", "1", "field.txt", "", "", "", ""};
  ASSERT_EQ(0, run.run(builtProgram(kProgram), input));

  // FREQ: rume acet's frequency 9 is above the maximum 4 and agro capi's
  // line has no number: both are bad. fest rubr (class V) with frequency 4
  // of 4 gives P = 1 and agro capi (class III) 2 of 4 gives P = 0.5.
  // Community 1: F1 = (0.9025 + 0.25) / 1.166901 = 0.98766; F2 =
  // (0.95 + 0.25) / ((6/4) x 0.743249) = 1.07636, clamped to 1. Cover: fest
  // rubr 25 % capped at 18.3333 x 0.9025 x frequency 4 = 66.18333, agro capi
  // 3 x 0.25 x 2 = 1.5; F3 = 67.68333 / (4 x 16.41906), clamped to 1;
  // F4 = (11.18034 x 0.95 + 2.27951 x 0.5) / (13.46085 x 0.853833) =
  // 1.0233, clamped to 1. Adjusted: F1 = 0.98766 x 1 x 1, F2 = F1; F3 = 1,
  // F4 = 1; score 0.25 x (2 x 0.98766 + 2) = 0.99383.
  const std::string freq_line =
      " E1.26   CG 2a  99 | 98 100 100 100| Test grassland comm.     typical         ";
  // NEW: fest rubr r is bad data; quer robu is added as species 9001 with
  // 50 %. Four sample species: F2 = 1.450001 / (4.000001 x 0.743249) =
  // 0.48772, adjusted F1 = 0.98766 x 0.48772 x 1.51228 = 0.72846. Cover sum
  // 0.001 + 18.80302 + 11.18034 + 2.27951 + 5.62341 = 37.88728, F4 =
  // 11.76108 / (37.88728 x 0.853833) = 0.36356, adjusted F3 = 0.59495.
  // Score 0.25 x (0.72846 + 0.48772 + 0.59495 + 0.36356) = 0.54367.
  const std::string new_line =
      " E1.26   CG 2a  54 | 98  48 100  36| Test grassland comm.     typical         ";
  Lines expected = {"", sampleLine("Q1", "Sp & c"), kWorkedType1, kUnmatched,
                    "", sampleLine("EMPTY", "Sp & c"),
                    "", " Sample FREQ    *  4   Parameters =   All sp   Cover%   Sp & c",
                    "     *** Bad data - ignored ***    rume acet  9   1" + std::string(23, ' '),
                    "     *** Bad data - ignored ***    agro capi xx" + std::string(27, ' '),
                    freq_line, kUnmatched,
                    "", sampleLine("NEW", "Sp & c"),
                    "     *** Bad data - ignored ***    fest rubr r" + std::string(28, ' '),
                    "     *** Name not in dictionary ***  quer robu",
                    new_line, kUnmatched};
  EXPECT_EQ("", veg::testing::firstDifference(expected, run.lines("VEGMOUT.txt")));

  // Nothing of the reports reaches the screen; the run ends at the end of
  // the datafile with the end-of-program notice.
  for (const std::string& line : run.screen) EXPECT_NE(kWorkedType1, line);
  Lines tail = holdNotice();
  EXPECT_EQ(tail, Lines(run.screen.end() - tail.size(), run.screen.end()));
  EXPECT_FALSE(run.exists("SAMP.txt"));
}

// Whole reports to the last digit: six samples typed in a row, with covers
// below 100 (several above their class mean cover), a synonym, and every
// analysis type (reset after each report from the second on). Community 1
// (CG2a) holds fest rubr (species 1, also named fest nigr) in class V,
// Domin 8 (mean cover 18.3333), agro capi (2) in class III, Domin 7
// (5.5714), and rume acet (3) in class I, Domin 6 (2.3636); community 2
// (W1, woodland) holds rume acet alone; plan lanc (4) is in no table.
//
// Start-up totals. Community 1, the worked example: composition_norm
// 1.166901, mean_constancy 0.743249, cover_norm 16.41906,
// mean_cover_constancy 0.853833; fest rubr and fest nigr count once.
// Community 2: t = 0.12, woodland weight t x t = 0.0144 (g + d = 7):
// composition_norm 1e-6 + 0.0144 = 0.014401, mean_constancy 0.014401 /
// 0.120001 = 0.120007, cover_norm 1e-6 + 2.3636 x 0.12 x 0.0144 =
// 0.0040854, mean_cover_constancy (0.228753 x 0.12) / (1e-6 + 0.228753) =
// 0.119999. Matched cover is w x min(cover, mean) x t x t in community 1
// (0.9025, 0.25, 0.0144 by class) and x 0.0144 in community 2.
//
// Cover weights x = c^0.75: 1 -> 1, 2 -> 1.68179, 3 -> 2.27951, 4 ->
// 2.82843, 5 -> 3.34370, 8 -> 4.75683, 10 -> 5.62341, 14 -> 7.23762, 40 ->
// 15.90541, 50 -> 18.80302, 60 -> 21.55825.
//
// A1, type 1: fest rubr 10, agro capi 8 (counted up to 5.5714), plan lanc
//   5. C1: F1 = (0.9025 + 0.25) / 1.166901 = 0.98766; F2 = 1.450001 /
//   (3.000001 x 0.743249) = 0.65030; F3 = (10 x 0.9025 + 5.5714 x 0.25) /
//   16.41906 = 0.63450; F4 = (5.62341 x 0.95 + 4.75683 x 0.5) / (13.72494 x
//   0.853833) = 0.65883. Adjusted: F1 = 0.98766 x 0.65030 x 1.34970 =
//   0.86688, F2 stays; F3 = 0.63450 x 0.65883 x 1.34117 = 0.56064, and F4
//   is cut to it. Score 0.25 x (0.86688 + 0.65030 + 2 x 0.56064) = 0.65962.
//   C2 shares nothing: 0.
// B2, type 1: fest rubr 3 alone. F1 = 0.9025 / 1.166901 = 0.77342; F2 =
//   0.950001 / (1.000001 x 0.743249) = 1.278, clamped to 1; F3 = 3 x
//   0.9025 / 16.41906 = 0.16490; F4 = 2.16553 / (2.28051 x 0.853833) =
//   1.112, clamped to 1. Adjusted F1 = 0.77342 and F2 is cut to it; F3 =
//   0.16490 and F4 is cut to it. Score 0.25 x 2 x (0.77342 + 0.16490) =
//   0.46916.
// C3, type 2: fest rubr 10 and fest nigr 4 merge into species 1 at 14 %;
//   rume acet 2. C1: class V P = 1, Q = 0.95, its carry 0.05 is used up in
//   class IV (Q = 0); class I P = 1, Q = 0.12: F1 = (0.9025 + 0.0144) /
//   1.166901 = 0.78576; F2 = 1.070001 / (2.000001 x 0.743249) = 0.71981;
//   adjusted F1 = 0.78576 x 0.71981 x 1.28019 = 0.72407; score 0.5 x
//   (0.72407 + 0.71981) = 0.72194. C2: F1 = 0.12 x 0.12 / 0.014401 =
//   0.99993; F2 = 0.120001 / (2.000001 x 0.120007) = 0.49997; adjusted F1
//   = 0.99993 x 0.49997 x 1.50003 = 0.74992; score 0.62495. The cover
//   columns are zeroed by type 2.
// D4, type 3: agro capi 4, rume acet 3. C2: F3 = 2.3636 x 0.0144 /
//   0.0040854 = 8.3, clamped to 1; F4 = 2.27951 x 0.12 / (5.10894 x
//   0.119999) = 0.44618; adjusted F3 = 1 x 0.44618 x 1.55382 = 0.69329, F4
//   stays; score 0.5 x (0.69329 + 0.44618) = 0.56973; F2 0.49997 as in C3.
//   C1: F1 = (0.5 x 0.5 + 0.12 x 0.12) / 1.166901 = 0.22658 (zeroed by
//   type 3); F2 = 0.620001 / (2.000001 x 0.743249) = 0.41709; F3 = (4 x
//   0.25 + 2.3636 x 0.0144) / 16.41906 = 0.06298; F4 = (2.82843 x 0.5 +
//   2.27951 x 0.12) / (5.10894 x 0.853833) = 0.38691; adjusted F3 =
//   0.06298 x 0.38691 x 1.61309 = 0.03931, and F4 is cut to it: score
//   0.03931, ranked second.
// E5, type 4, unadjusted, score = F2: fest rubr 10, plan lanc 5, rume acet
//   1. C1: F2 = 1.070001 / (3.000001 x 0.743249) = 0.47988 (F1 0.78576 and
//   the cover columns zeroed). C2: F2 = 0.120001 / (3.000001 x 0.120007) =
//   0.33332.
// F6, type 5, unadjusted: the covers are 60, 50 and 40 % by place (rume
//   acet, fest rubr, agro capi), each above its class mean, so F3 = 1 in
//   both communities. C1: F2 = 1.570001 / (3.000001 x 0.743249) = 0.70412;
//   F4 = (21.55825 x 0.12 + 18.80302 x 0.95 + 15.90541 x 0.5) / (56.26768 x
//   0.853833) = 28.40256 / 48.04320 = 0.59119; score 0.25 x 0.70412 + 0.5 +
//   0.25 x 0.59119 = 0.82383. C2: F2 = 0.120001 / (3.000001 x 0.120007) =
//   0.33332; F4 = 2.58699 / (56.26768 x 0.119999) = 0.38314; score 0.25 x
//   0.33332 + 0.5 + 0.25 x 0.38314 = 0.67911.
TEST(VegmatchRunTest, WholeReportsOfEveryAnalysisTypeToTheLastDigit) {
  ProgramRun run;
  run.put("SPECDICT.txt", {"   2 agro capi", "   1 fest nigr", "   1 fest rubr", "   4 plan lanc",
                           "   3 rume acet"});
  run.put("ASSOCTAB.txt", {"    4    3", "  148  127  1 6  2 6", "    1    1    1",
                           "    2    2    2", "    3    3    4"});
  run.put("NVCTYPES.txt",
          {" CG 2a  Test grassland comm.    typical         E1.26   Semi-dry grassland",
           "  W 1   Test woodland           " + std::string(16, ' ') + "G1.41   Wet woodland"});
  Lines input = blanks(9) +
                Lines{"A1", "festuca rubra 10", "agrostis capillaris 8", "plantago lanceolata 5",
                      "", "", ""} +
                Lines{"B2", "festuca rubra 3", "", "", "r", "", "2"} +
                Lines{"C3", "festuca rubra 10", "festuca nigrescens 4", "rumex acetosa 2", "", "",
                      "r", "", "3"} +
                Lines{"D4", "agrostis capillaris 4", "rumex acetosa 3", "", "", "r", "", "4"} +
                Lines{"E5", "festuca rubra 10", "plantago lanceolata 5", "rumex acetosa 1", "",
                      "", "r", "", "5"} +
                Lines{"F6", "rumex acetosa 1", "festuca rubra 1", "agrostis capillaris 1", "", "",
                      "e", ""};
  ASSERT_EQ(0, run.run(builtProgram(kProgram), input));

  const std::string grassland = "| Test grassland comm.     typical         ";
  const std::string woodland = "| Test woodland            " + std::string(16, ' ');
  const Lines expected = {
      "", sampleLine("A1", "Sp & c"),
      " E1.26   CG 2a  66 | 98  65  63  65" + grassland, kUnmatched,
      "", sampleLine("B2", "Sp & c"),
      " E1.26   CG 2a  46 | 77 100  16 100" + grassland, kUnmatched,
      "", sampleLine("C3", "Spp on"),
      " E1.26   CG 2a  72 | 78  72   0   0" + grassland,
      " G1.41    W 1   62 |100  50   0   0" + woodland,
      "", sampleLine("D4", "Cov on"),
      " G1.41    W 1   57 |  0  50 100  44" + woodland,
      " E1.26   CG 2a   3 |  0  41   6  38" + grassland,
      "", sampleLine("E5", "Incmp "),
      " E1.26   CG 2a  48 |  0  48   0   0" + grassland,
      " G1.41    W 1   33 |  0  33   0   0" + woodland,
      "", sampleLine("F6", "Top fe"),
      " E1.26   CG 2a  82 |  0  70 100  59" + grassland,
      " G1.41    W 1   67 |  0  33 100  38" + woodland};
  EXPECT_EQ("", veg::testing::firstDifference(expected, run.lines("VEGMOUT.txt")));
  // The record keeps both names of species 1, and under type 5 the values
  // by place.
  EXPECT_EQ("", veg::testing::firstDifference(
                    {"A1           COVR%", " fest rubr    10", " agro capi     8",
                     " plan lanc     5", "", "B2           COVR%", " fest rubr     3", "",
                     "C3           COVR%", " fest rubr    10", " fest nigr     4",
                     " rume acet     2", "", "D4           COVR%", " agro capi     4",
                     " rume acet     3", "", "E5           COVR%", " fest rubr    10",
                     " plan lanc     5", " rume acet     1", "", "F6           COVR%",
                     " rume acet    60", " fest rubr    50", " agro capi    40", ""},
                    run.lines("SAMP.txt")));
}

// Community 2 is a placeholder that no association-table entry names; it
// ranks among the zero scores in its place, not as a repeated line.
TEST(VegmatchRunTest, CommunityWithoutEntriesRanksAmongTheZeroScores) {
  ProgramRun run;
  run.put("SPECDICT.txt", {"   2 agro capi", "   1 fest rubr", "   4 plan lanc", "   3 rume acet"});
  run.put("ASSOCTAB.txt", {"    4    3", "  148  127  1 6  3 6", "    1    1    1",
                           "    2    2    2", "    3    3    4"});
  run.put("NVCTYPES.txt",
          {" CG 2a  Test grassland comm.    typical         E1.26   Semi-dry grassland",
           " X 0    Placeholder", "  W 1   Test woodland           " + std::string(16, ' ') +
                                       "G1.41   Wet woodland"});
  run.put("field.txt", {"Q1", " fest rubr    25", " agro capi     3", " plan lanc    10", ""});
  // Title, help offer, answers file, datafile source, its name, species
  // groups, scale, analysis type, three communities.
  ASSERT_EQ(0, run.run(builtProgram(kProgram), {"", "", "", "1", "field.txt", "", "", "", "3"}));
  EXPECT_EQ("", veg::testing::firstDifference(
                    {"", sampleLine("Q1", "Sp & c"), kWorkedType1, kUnmatched, kUnmatched},
                    run.lines("VEGMOUT.txt")));
}

}  // namespace
