// End-to-end runs of the built deckload program in a temporary directory,
// with scripted keyboard input: the screen and the sample file are compared
// line by line with what the program is meant to write; the sample file is
// then given to the built vegmatch; and two real Cornell files convert.
#include <gtest/gtest.h>

#include "common/fields.h"
#include "common/testing/program.h"

namespace {

using veg::fmtInt;
using veg::padRight;
using veg::testing::builtProgram;
using veg::testing::firstDifference;
using veg::testing::ProgramRun;
using veg::testing::holdNotice;
using veg::testing::sourceFile;
using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Lines blanks(int n) { return Lines(static_cast<std::size_t>(n), ""); }

const std::string kDeckload = "deckload/deckload";

Lines banner() {
  return blanks(4) + Lines{" Program DECKLOAD", "",
                           " Converts Cornell Condensed format to VEGMATCH format", "",
                           " Dimensioned for maximum 20000 samples 5000 species"};
}

Lines inputQuestion() {
  return {"", "", " Enter name of input datafile in Cornell format",
          "      or press <RETURN> for default CORNELL.txt"};
}

Lines outputQuestion() {
  return {"", "", " Type name of output file (VEGMATCH format)",
          "      or press <RETURN> for default SAMP.txt"};
}

std::string speciesLine(const std::string& name9, const std::string& value6) {
  return " " + name9 + "  " + value6;
}

bool contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Lines as another program writes them: CR LF line ends.
Lines crlf(Lines lines) {
  for (std::string& line : lines) line += '\r';
  return lines;
}

// The format in columns 21-38, the couplet count 4 in columns 69-70.
const std::string kFormatLine = std::string(20, ' ') + padRight("(i5,2x,4(i4,f5.2))", 48) + " 4";

std::string data(int sample, const Lines& couplets) {
  std::string line = fmtInt(sample, 5);
  if (!couplets.empty()) line += "  ";
  for (const std::string& couplet : couplets) line += couplet;
  return line;
}

TEST(DeckloadRunTest, HandWrittenFileWithCrLfEndsAndTypedNames) {
  ProgramRun run;
  run.put("SAMP.txt", {"keep"});
  run.put("field.cep",
          crlf({"FIELD SURVEY 2026", kFormatLine,
                data(1, {"   125.50", "   2 0.75", "   3  125"}),
                data(2, {"   2  3.5", "   41.0E1"}), data(0, {}),
                "FestrubrAgrocapiRumeacetPlanlanc", "PLOT A  PLOT B"}));
  // A missing name, the real one, RETURN for the output (SAMP.txt is taken,
  // so SAMP01.txt), RETURN at the end.
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"missing.cep", "field.cep", "", ""}));

  const Lines expected =
      banner() + inputQuestion() +
      Lines{"", "  *** ERROR *** File does not exist", " Type another name"} + outputQuestion() +
      Lines{padRight("FIELD SURVEY 2026", 80), padRight(kFormatLine, 80),
            " (i5,2x,4(i4,f5.2))            ", "", " Number of couplets per line is  4",
            "    1     125.50   2 0.75   3 1.25   0 0.00",
            "    2     2 3.50   410.00   0 0.00   0 0.00",
            "    0     0 0.00   0 0.00   0 0.00   0 0.00", "",
            " Highest species number in data matrix is     4", "",
            " Highest sample number in data matrix is     2", " PLOT A  ", " PLOT B  ", "", "",
            " End of data"} +
      holdNotice();
  EXPECT_EQ("", firstDifference(expected, run.screen));
  // 0.75 and 1.25 lie halfway: they round away from zero.
  EXPECT_EQ("", firstDifference({"PLOT A  ", speciesLine("Fest rubr", "  25.5"),
                                 speciesLine("Agro capi", "   0.8"),
                                 speciesLine("Rume acet", "   1.3"), "", "PLOT B  ",
                                 speciesLine("Agro capi", "   3.5"),
                                 speciesLine("Plan lanc", "  10.0"), ""},
                                run.lines("SAMP01.txt")));
  EXPECT_EQ(Lines{"keep"}, run.lines("SAMP.txt"));
}

TEST(DeckloadRunTest, ErrorStopLeavesTheSampleFileEmpty) {
  ProgramRun run;
  run.put("CORNELL.txt", {"T", kFormatLine, data(1, {"   1 2.50"}), data(1, {"   2 2.50"}),
                          data(2, {"   3 x.50"}), data(0, {}), "S1      S2      S3", "Q1      Q2"});
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"", "", ""}));
  const Lines tail = Lines{"", "", " *** Error *** Line     5 does not fit the data format",
                           "     expected a value (F5.2) in columns 12-16"} +
                     holdNotice();
  ASSERT_GE(run.screen.size(), tail.size());
  EXPECT_EQ(tail, Lines(run.screen.end() - static_cast<long>(tail.size()), run.screen.end()));
  EXPECT_TRUE(run.exists("SAMP.txt"));
  EXPECT_EQ(Lines{}, run.lines("SAMP.txt"));
}

TEST(DeckloadRunTest, EndOfKeyboardInputAtThePauseEndsNormally) {
  ProgramRun run;
  run.put("CORNELL.txt", {"T", kFormatLine, data(3, {"   1 2.50"}), data(0, {}), "S1", "Q1 Q2 Q3"});
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"", ""}));
  ASSERT_FALSE(run.screen.empty());
  EXPECT_EQ(" Press <RETURN> to continue", run.screen.back());
  EXPECT_TRUE(run.exists("SAMP.txt"));
  EXPECT_EQ(Lines{}, run.lines("SAMP.txt"));
}

// The sample file that deckload writes is read by vegmatch as the samples
// meant: a heath of the constant species of H10a, a dune of SD6's Ammophila
// with some Festuca, and a willow carr of W1's constants.
TEST(DeckloadRunTest, VegmatchIdentifiesTheConvertedSamples) {
  ProgramRun run;
  for (const char* file : {"SPECDICT.txt", "ASSOCTAB.txt", "NVCTYPES.txt"}) {
    run.copy(sourceFile(std::string("data/") + file), file);
  }
  run.put("CORNELL.txt",
          {"THREE SAMPLES FOR VEGMATCH", padRight("(i4,2x,7(i5,f5.1))", 68) + " 7",
           "   1      1 60.0    2 30.0    3  5.0", "   2      4 70.0    5  7.5",
           "   3      6 80.0    7  5.0", "   0",
           "CallvulgEriccinePoteerecAmmoarenFestrubrSalicineGalipalu", "HEATH   DUNE    CARR"});
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"", "", ""}));
  EXPECT_EQ("", firstDifference({"HEATH   ", speciesLine("Call vulg", "  60.0"),
                                 speciesLine("Eric cine", "  30.0"),
                                 speciesLine("Pote erec", "   5.0"), "", "DUNE    ",
                                 speciesLine("Ammo aren", "  70.0"),
                                 speciesLine("Fest rubr", "   7.5"), "", "CARR    ",
                                 speciesLine("Sali cine", "  80.0"),
                                 speciesLine("Gali palu", "   5.0"), ""},
                                run.lines("SAMP.txt")));

  // Title, help offer, answers file, datafile input, its name, species
  // groups, scale, analysis type, number of communities.
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"),
                       {"", "", "", "1", "SAMP.txt", "", "", "", "", ""}));
  const Lines answers = run.lines("VEGMOUT.txt");
  const char* names[] = {"HEATH", "DUNE", "CARR"};
  const char* best[] = {" H10", "SD 6", " W 1"};  // columns 10-13: the NVC code
  std::size_t at = 0;
  for (int s = 0; s < 3; ++s) {
    const std::string sample =
        " Sample " + padRight(names[s], 8) + "       Parameters =   All sp   Cover%   Sp & c";
    auto it = std::find(answers.begin() + static_cast<long>(at), answers.end(), sample);
    ASSERT_NE(answers.end(), it) << sample;
    ASSERT_NE(answers.end(), it + 1);
    EXPECT_EQ(best[s], (it + 1)->substr(9, 4)) << *(it + 1);
    at = static_cast<std::size_t>(it - answers.begin()) + 1;
  }
  // Every name was found in the dictionary and every line read.
  for (const std::string& line : answers) {
    EXPECT_EQ(std::string::npos, line.find("***")) << line;
  }
}

// ---- real files written by other programs ----

TEST(DeckloadRunTest, DuneMeadowFileConverts) {
  ProgramRun run;
  run.copy(sourceFile("deckload/testdata/dune.cornell"), "dune.cornell");
  // The file name, RETURN for SAMP.txt, RETURN at the one pause and at the end.
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"dune.cornell", "", "", ""}));
  const Lines& screen = run.screen;
  for (const std::string& line : screen) EXPECT_LE(line.size(), 80u) << line;
  // The format starts in column 2; the count 5 comes from line 3.
  EXPECT_TRUE(contains(screen, " (I10,1X,5(I4,F5.0))           "));
  EXPECT_TRUE(contains(screen, " Number of couplets per line is  5"));
  EXPECT_TRUE(contains(screen, " *** BEWARE *** Non-sequential sample numbers    17    20"));
  EXPECT_TRUE(contains(screen, " *** BEWARE *** Non-sequential sample numbers    21    28"));
  EXPECT_TRUE(contains(screen, " Highest species number in data matrix is    30"));
  EXPECT_TRUE(contains(screen, " Highest sample number in data matrix is    30"));
  EXPECT_TRUE(contains(screen, " End of data"));

  const Lines samples = run.lines("SAMP.txt");
  // Sample 1: species 1, 11, 17, 19 and 20 of the first two name lines.
  EXPECT_EQ("", firstDifference({"1       ", speciesLine("Ach  mil ", "   1.0"),
                                 speciesLine("Ely  rep ", "   4.0"),
                                 speciesLine("Lol  per ", "   7.0"),
                                 speciesLine("Poa  pra ", "   4.0"),
                                 speciesLine("Poa  tri ", "   2.0"), ""},
                                Lines(samples.begin(), samples.begin() + 7)));
  // Samples 20 and 21 take slots 10 of line 5 and 1 of line 6; 28 to 30 the
  // last three slots of line 6.
  for (const char* name : {"EXTRASAM", " PAS 17 ", "18      ", "19      ", "20      "}) {
    EXPECT_TRUE(contains(samples, name)) << name;
  }
  // Sample 30 ends the file: species 2, 10, 14, 16, 22 and 25, 29, 30.
  EXPECT_EQ("", firstDifference({"20      ", speciesLine("Agr  sto ", "   5.0"),
                                 speciesLine("Ele  pal ", "   4.0"),
                                 speciesLine("Jun  art ", "   4.0"),
                                 speciesLine("Leo  aut ", "   2.0"),
                                 speciesLine("Ran  fla ", "   4.0"),
                                 speciesLine("Sal  rep ", "   5.0"),
                                 speciesLine("Bra  rut ", "   4.0"),
                                 speciesLine("Cal  cus ", "   3.0"), ""},
                                Lines(samples.end() - 10, samples.end())));
  // 22 samples (17, 20, 21, 28, 29, 30): name lines are 8 columns long.
  EXPECT_EQ(22, std::count_if(samples.begin(), samples.end(),
                              [](const std::string& line) { return line.size() == 8; }));
}

TEST(DeckloadRunTest, DiatomTrainingSetWithCrLfConverts) {
  ProgramRun run;
  run.copy(sourceFile("deckload/testdata/swap167.cornell"), "swap.cep");
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"swap.cep", "", ""}));
  const Lines& screen = run.screen;
  for (const std::string& line : screen) EXPECT_LE(line.size(), 80u) << line;
  EXPECT_TRUE(contains(screen, " (i4,3x,7(i4,f6.2))            "));
  EXPECT_TRUE(contains(screen, " Number of couplets per line is  7"));
  EXPECT_TRUE(contains(screen, " Highest species number in data matrix is   277"));
  EXPECT_TRUE(contains(screen, " Highest sample number in data matrix is   167"));
  for (const std::string& line : screen) EXPECT_EQ(std::string::npos, line.find("BEWARE"));

  const Lines samples = run.lines("SAMP.txt");
  // Sample 1 is the first name of the first sample line, its species 4 the
  // fourth name of the first species line; 0.19 and 0.57 round to one
  // decimal, 3.25 (species 107, line 11) rounds away from zero.
  ASSERT_GT(samples.size(), 17u);
  EXPECT_EQ("    1.21", samples[0]);
  EXPECT_EQ(speciesLine("  AC 013A", "   0.2"), samples[1]);
  EXPECT_EQ(speciesLine("  AC 014C", "   0.6"), samples[2]);
  EXPECT_EQ(speciesLine("  EU 004A", "   2.3"), samples[15]);
  EXPECT_EQ(speciesLine("  EU 009A", "   3.3"), samples[16]);
  // The last sample: the seventh name of the seventeenth sample line.
  EXPECT_TRUE(contains(samples, "   YGAD1"));
  EXPECT_EQ("", samples.back());
  EXPECT_EQ(167, std::count_if(samples.begin(), samples.end(), [](const std::string& line) {
              return line.size() == 8;
            }));
}

}  // namespace
