// Round trips between the three programs, run end to end with the built
// binaries in one temporary directory: samples typed into vegmatch, its
// record file converted by decksave into a Cornell condensed file, that file
// converted back by deckload, and both sample files identified by vegmatch.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/testing/program.h"

namespace {

using veg::testing::builtProgram;
using veg::testing::firstDifference;
using veg::testing::ProgramRun;
using veg::testing::sourceFile;
using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::string kFormatLine = "(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7";

void putReferenceFiles(const ProgramRun& run) {
  for (const char* name : {"SPECDICT.txt", "ASSOCTAB.txt", "NVCTYPES.txt"}) {
    run.copy(sourceFile(std::string("data/") + name), name);
  }
}

// Title, help offer, answers file, source, record file or datafile name,
// species groups, scale (% cover), analysis type, number of communities.
Lines keyboardSetUp() { return Lines(9, ""); }
Lines datafileSetUp(const std::string& name) { return {"", "", "", "1", name, "", "", "", ""}; }

// Every line of deckload's screen that would tell of a doubt about the file.
Lines warnings(const Lines& screen) {
  Lines found;
  for (const std::string& line : screen) {
    for (const char* word : {"Beware", "BEWARE", "ERROR", "Error", "Not enough", "taken to be"}) {
      if (line.find(word) != std::string::npos) {
        found.push_back(line);
        break;
      }
    }
  }
  return found;
}

Lines sampleLines(const Lines& answers) {
  Lines found;
  for (const std::string& line : answers) {
    if (line.rfind(" Sample ", 0) == 0) found.push_back(line);
  }
  return found;
}

std::string sampleLine(const std::string& name8) {
  return " Sample " + name8 + "       Parameters =   All sp   Cover%   Sp & c";
}

TEST(RoundTripTest, TypedSamplesThroughDecksaveAndDeckloadComeBackTheSame) {
  ProgramRun run;
  putReferenceFiles(run);

  // 1. vegmatch, keyboard entry, % cover, no frequency data, no marks.
  Lines typed =
      keyboardSetUp() +
      Lines{"Heath1",
            "Calluna vulgaris 60",
            "Erica cinerea 12.5",
            "Vaccinium myrtillus 5",
            "Deschampsia flexuosa 0.5",
            "",
            "",
            ""} +
      Lines{"Grass",
            "Festuca rubra 25",
            "Agrostis capillaris 30",
            "Cynosurus cristatus 7.5",
            "Trifolium repens 10",
            "Holcus lanatus 4",
            "Anthoxanthum odoratum 3",
            "Plantago lanceolata 2",
            "Lolium perenne 1",
            "",
            "",
            ""} +
      Lines{
          "Mix", "Plantago lanceolata 15", "Calluna vulgaris 2.5", "Festuca rubra 40", "", "", "e",
          ""};
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), typed));
  const Lines record = {"Heath1       COVR%",
                        " call vulg    60",
                        " eric cine    12.5",
                        " vacc myrt     5",
                        " desc flex     0.5",
                        "",
                        "Grass        COVR%",
                        " fest rubr    25",
                        " agro capi    30",
                        " cyno cris     7.5",
                        " trif repe    10",
                        " holc lana     4",
                        " anth odor     3",
                        " plan lanc     2",
                        " loli pere     1",
                        "",
                        "Mix          COVR%",
                        " plan lanc    15",
                        " call vulg     2.5",
                        " fest rubr    40",
                        ""};
  ASSERT_EQ("", firstDifference(record, run.lines("SAMP.txt")));

  // 2. decksave: species numbered by first occurrence, each sample sorted.
  ASSERT_EQ(0, run.run(builtProgram("decksave/decksave"), {"", "", ""}));
  const Lines cornell = {
      "NO TITLE",
      kFormatLine,
      "   1      1 60.0    2 12.5    3  5.0    4  0.5",
      "   2      5 25.0    6 30.0    7  7.5    8 10.0    9  4.0   10  3.0   11  2.0",
      "   2     12  1.0",
      "   3      1  2.5    5 40.0   11 15.0",
      "   0",
      "callvulgericcinevaccmyrtdescflexfestrubragrocapicynocristrifrepeholclanaanthodor",
      "planlanclolipere",
      "Heath1  Grass   Mix     "};
  ASSERT_EQ("", firstDifference(cornell, run.lines("CORNELL.txt")));

  // 3. deckload into a new sample file (SAMP.txt is taken: SAMP01.txt): the
  // same samples, names and values, in species-number order, one decimal.
  ASSERT_EQ(0, run.run(builtProgram("deckload/deckload"), {"", "", "", ""}));
  EXPECT_EQ(Lines{}, warnings(run.screen));
  const Lines back = {"Heath1  ",
                      " call vulg    60.0",
                      " eric cine    12.5",
                      " vacc myrt     5.0",
                      " desc flex     0.5",
                      "",
                      "Grass   ",
                      " fest rubr    25.0",
                      " agro capi    30.0",
                      " cyno cris     7.5",
                      " trif repe    10.0",
                      " holc lana     4.0",
                      " anth odor     3.0",
                      " plan lanc     2.0",
                      " loli pere     1.0",
                      "",
                      "Mix     ",
                      " call vulg     2.5",
                      " fest rubr    40.0",
                      " plan lanc    15.0",
                      ""};
  ASSERT_EQ("", firstDifference(back, run.lines("SAMP01.txt")));

  // 4. vegmatch identifies both sample files as it identified the typed
  // samples: the three answers files are the same line for line.
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileSetUp("SAMP.txt")));
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileSetUp("SAMP01.txt")));
  const Lines typed_answers = run.lines("VEGMOUT.txt");
  EXPECT_EQ((Lines{sampleLine("Heath1  "), sampleLine("Grass   "), sampleLine("Mix     ")}),
            sampleLines(typed_answers));
  EXPECT_EQ(3u * (2 + 5), typed_answers.size());  // empty line, sample line, 5 communities
  EXPECT_EQ("", firstDifference(typed_answers, run.lines("VEGMOUT01.txt")));
  EXPECT_EQ("", firstDifference(typed_answers, run.lines("VEGMOUT02.txt")));
}

TEST(RoundTripTest, DecksaveFileIsReadByDeckloadWithoutWarning) {
  ProgramRun run;
  run.put("SAMP.txt", {"S1           COVR%",
                       " call vulg    60",
                       " eric cine    12.5",
                       " vacc myrt     5",
                       " desc flex     0.5",
                       " fest rubr    25",
                       " agro capi    30",
                       " cyno cris     7.5",
                       " trif repe    10",
                       " holc lana     4",
                       " anth odor     3",
                       " plan lanc     2",
                       " abcdefghi     1",
                       "",
                       "S2           COVR%",
                       "",
                       "S3",
                       " fest rubr*   20",
                       " call vulg     1.5",
                       " fest rubr    20.5",
                       "",
                       "",
                       "S4",
                       " nard stri     4",
                       "",
                       "S5",
                       " nard stri     5",
                       "",
                       "S6",
                       " nard stri     6",
                       "",
                       "S7",
                       " nard stri     7",
                       "",
                       "S8",
                       " nard stri     8",
                       "",
                       "S9",
                       " nard stri     9",
                       "",
                       "S10",
                       " nard stri    10",
                       "",
                       "S11",
                       " nard stri    11",
                       "",
                       "S12",
                       " nard stri    12"});
  ASSERT_EQ(0, run.run(builtProgram("decksave/decksave"), {"", "", ""}));
  // Species 1 call vulg ... 12 abcd, 13 nard stri. S3 holds 5, 1, 5:
  // the heap puts the second fest rubr (20.5) before the first (20.0).
  const Lines cornell = {
      "NO TITLE",
      kFormatLine,
      "   1      1 60.0    2 12.5    3  5.0    4  0.5    5 25.0    6 30.0    7  7.5",
      "   1      8 10.0    9  4.0   10  3.0   11  2.0   12  1.0",
      "   2",
      "   3      1  1.5    5 20.5    5 20.0",
      "   4     13  4.0",
      "   5     13  5.0",
      "   6     13  6.0",
      "   7     13  7.0",
      "   8     13  8.0",
      "   9     13  9.0",
      "  10     13 10.0",
      "  11     13 11.0",
      "  12     13 12.0",
      "   0",
      "callvulgericcinevaccmyrtdescflexfestrubragrocapicynocristrifrepeholclanaanthodor",
      "planlancabcd    nardstri",
      "S1      S2      S3      S4      S5      S6      S7      S8      S9      S10     ",
      "S11     S12     "};
  ASSERT_EQ("", firstDifference(cornell, run.lines("CORNELL.txt")));

  ASSERT_EQ(0, run.run(builtProgram("deckload/deckload"), {"", "back.txt", "", ""}));
  EXPECT_EQ(Lines{}, warnings(run.screen));
  // abcdefghi is one word: vegmatch keys it abcd, and so does the Cornell
  // file.
  Lines back = {"S1      ",
                " call vulg    60.0",
                " eric cine    12.5",
                " vacc myrt     5.0",
                " desc flex     0.5",
                " fest rubr    25.0",
                " agro capi    30.0",
                " cyno cris     7.5",
                " trif repe    10.0",
                " holc lana     4.0",
                " anth odor     3.0",
                " plan lanc     2.0",
                " abcd          1.0",
                "",
                "S2      ",
                "",
                "S3      ",
                " call vulg     1.5",
                " fest rubr    20.5",
                " fest rubr    20.0",
                ""};
  for (int s = 4; s <= 12; ++s) {
    std::string name = "S" + std::to_string(s);
    name.resize(8, ' ');
    std::string value = std::to_string(s) + ".0";
    back = back + Lines{name, " nard stri  " + std::string(6 - value.size(), ' ') + value, ""};
  }
  EXPECT_EQ("", firstDifference(back, run.lines("back.txt")));
}

// The example quadrats, a hand-written sample file of full Latin names,
// through decksave and deckload: nothing is left out or misread, the names
// come back as their name keys, and vegmatch scores the returned file as it
// scores the example.
TEST(RoundTripTest, ExampleQuadratsComeBackAndScoreTheSame) {
  ProgramRun run;
  putReferenceFiles(run);
  run.copy(sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  ASSERT_EQ(0, run.run(builtProgram("decksave/decksave"), {"quadrats.txt", "q.cornell", ""}));
  const Lines names = {" HEATH1  ", " WETHEATH", " BOG1    ", " DOWNLAND", " PASTURE ",
                       " ACIDGRAS", " OAKWOOD ", " ASHWOOD ", " SALTMRSH", " DUNE1   ",
                       " REEDBED ", " CLIFFTOP", " POND1   "};
  const auto first = std::find(run.screen.begin(), run.screen.end(), kFormatLine);
  ASSERT_NE(run.screen.end(), first);
  EXPECT_EQ(names, Lines(first + 1, first + 1 + static_cast<long>(names.size())));
  EXPECT_EQ("", *(first + 1 + static_cast<long>(names.size())));  // then the hold notice
  const Lines cornell = run.lines("q.cornell");
  ASSERT_GE(cornell.size(), 3u);
  EXPECT_EQ("   1      1 60.0    2 20.0    3  5.0    4  5.0    5 10.0    6  8.0    7  3.0",
            cornell[2]);

  ASSERT_EQ(0, run.run(builtProgram("deckload/deckload"), {"q.cornell", "back.txt", "", ""}));
  EXPECT_EQ(Lines{}, warnings(run.screen));
  const Lines back = run.lines("back.txt");
  ASSERT_GE(back.size(), 12u);
  EXPECT_EQ((Lines{"HEATH1  ", " call vulg    60.0", " vacc myrt    20.0", " desc flex     5.0",
                   " empe nigr     5.0", " hypn jutl    10.0", " pleu schr     8.0",
                   " dicr scop     3.0", " gali saxa     2.0", " pote erec     1.0",
                   " clad port     2.0", ""}),
            Lines(back.begin(), back.begin() + 12));

  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileSetUp("quadrats.txt")));
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileSetUp("back.txt")));
  const Lines example = run.lines("VEGMOUT.txt");
  EXPECT_EQ(13u * (2 + 5), example.size());
  EXPECT_EQ("", firstDifference(example, run.lines("VEGMOUT01.txt")));
}

// The Cornell file keeps no cover scale: Domin samples come back without
// their label, and score as before when vegmatch is told the scale (3, the
// seventh line of the set-up), as the README says; on the default % cover
// they would not.
TEST(RoundTripTest, DominSamplesScoreTheSameWhenTheScaleIsGiven) {
  ProgramRun run;
  putReferenceFiles(run);
  run.put("SAMP.txt", {"Heath 1      DOMIN", " call vulg     8", " eric cine     5",
                       " vacc myrt     3", "", "Heath 2      DOMIN", " call vulg     9",
                       " moli caer     4", ""});
  ASSERT_EQ(0, run.run(builtProgram("decksave/decksave"), {"", "", ""}));
  ASSERT_EQ(0, run.run(builtProgram("deckload/deckload"), {"", "", ""}));
  EXPECT_EQ((Lines{"Heath 1 ", " call vulg     8.0", " eric cine     5.0", " vacc myrt     3.0",
                   "", "Heath 2 ", " call vulg     9.0", " moli caer     4.0", ""}),
            run.lines("SAMP01.txt"));

  const Lines domin = {"", "", "", "1", "SAMP.txt", "", "3", "", ""};
  Lines back_domin = domin;
  back_domin[4] = "SAMP01.txt";
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), domin));
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), back_domin));
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileSetUp("SAMP01.txt")));
  const Lines answers = run.lines("VEGMOUT.txt");
  EXPECT_EQ(2u * (2 + 5), answers.size());
  EXPECT_EQ(" Sample Heath 1        Parameters =   All sp   Domin    Sp & c", answers[1]);
  EXPECT_EQ("", firstDifference(answers, run.lines("VEGMOUT01.txt")));
  const Lines percent = run.lines("VEGMOUT02.txt");
  ASSERT_EQ(answers.size(), percent.size());
  EXPECT_EQ(" Sample Heath 1        Parameters =   All sp   Cover%   Sp & c", percent[1]);
  EXPECT_NE(Lines(answers.begin() + 2, answers.begin() + 7),
            Lines(percent.begin() + 2, percent.begin() + 7));
}

}  // namespace
