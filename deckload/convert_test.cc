// DECKLOAD runs on the in-memory console and file system: the screen after
// the banner and the file dialog, and the sample file written.
#include "deckload/convert.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/fields.h"
#include "common/testing/fakes.h"

namespace deckload {
namespace {

using Lines = std::vector<std::string>;
using veg::padRight;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Lines blanks(int n) { return Lines(static_cast<std::size_t>(n), ""); }

Lines opening() {
  return blanks(4) + Lines{" Program DECKLOAD", "",
                           " Converts Cornell Condensed format to VEGMATCH format", "",
                           " Dimensioned for maximum 20000 samples 5000 species", "", "",
                           " Enter name of input datafile in Cornell format",
                           "      or press <RETURN> for default CORNELL.txt", "", "",
                           " Type name of output file (VEGMATCH format)",
                           "      or press <RETURN> for default SAMP.txt"};
}

Lines holdNotice() {
  return blanks(4) + Lines{"*** Program finished  ***", "", "", "Press <RETURN> to exit", "", "",
                           std::string(25, '*')};
}

const char kReference[] = "(i4,2x,7(i5,f5.1))";

// The format line: the format from column 1 and the count in columns 69-70.
std::string formatLine(const std::string& format, int count) {
  return padRight(format, 68) + veg::fmtInt(count, 2);
}

// A data line in the reference layout.
std::string data(int sample, std::vector<std::pair<int, std::string>> couplets = {}) {
  std::string line = veg::fmtInt(sample, 4);
  if (!couplets.empty()) line += "  ";
  for (const auto& [species, value] : couplets) line += veg::fmtInt(species, 5) + value;
  return line;
}

// A species line as DECKLOAD writes it: column 1 blank, the name in columns
// 2-10, two blanks, the value in columns 13-18.
std::string speciesLine(const std::string& name9, const std::string& value6) {
  return " " + name9 + "  " + value6;
}

// The screen lines of the header: lines 1 and 2 and the data format.
Lines headerLines(const std::string& title, const std::string& format_line,
                  const std::string& format) {
  return {padRight(title, 80), padRight(format_line, 80), " " + padRight(format, 30)};
}

struct DeckloadTest : ::testing::Test {
  veg::testing::FakeConsole console;
  veg::testing::MemoryFileSystem fs;

  /// Runs DECKLOAD on `cornell` with RETURN for both file names and then
  /// `keys`; returns the screen after the banner and the dialog.
  Lines run(const Lines& cornell, const Lines& keys = {""}) {
    fs.put("CORNELL.txt", cornell);
    console.type({"", ""});
    console.type(keys);
    EXPECT_EQ(0, runDeckload(console, fs));
    for (const std::string& line : console.output) EXPECT_LE(line.size(), 80u) << line;
    const Lines start = opening();
    EXPECT_EQ(start, Lines(console.output.begin(),
                           console.output.begin() +
                               static_cast<long>(std::min(start.size(), console.output.size()))));
    return Lines(console.output.begin() + static_cast<long>(start.size()), console.output.end());
  }

  /// The screen lines from the first one equal to `first` on, `n` of them.
  static Lines from(const Lines& screen, const std::string& first, std::size_t n) {
    auto it = std::find(screen.begin(), screen.end(), first);
    if (it == screen.end()) return {"no line \"" + first + "\""};
    const std::size_t left = static_cast<std::size_t>(screen.end() - it);
    return Lines(it, it + static_cast<long>(std::min(n, left)));
  }

  static bool has(const Lines& screen, const std::string& line) {
    return std::find(screen.begin(), screen.end(), line) != screen.end();
  }

  /// The screen ends with an error stop of these lines and `hold`; the
  /// sample file exists and is empty.
  void expectErrorStop(const Lines& screen, const Lines& message) {
    const Lines tail = blanks(2) + message + holdNotice();
    ASSERT_GE(screen.size(), tail.size());
    EXPECT_EQ(tail, Lines(screen.end() - static_cast<long>(tail.size()), screen.end()));
    EXPECT_TRUE(fs.exists("SAMP.txt"));
    EXPECT_EQ(Lines{}, fs.lines("SAMP.txt"));
    EXPECT_FALSE(has(screen, " End of data"));
  }
};

// ---- whole runs ----

TEST_F(DeckloadTest, TwoSamplesWithTheirNames) {
  const std::string line2 = formatLine(kReference, 3);
  const Lines screen = run({"TWO MEADOWS", line2,
                            data(1, {{1, " 25.0"}, {2, "  3.0"}, {3, "12.34"}}),
                            data(1, {{4, "   35"}}),
                            data(2, {{2, "  0.5"}, {0, "     "}, {3, " 3.25"}}), "   0",
                            "FestrubrAgrocapiRumeacetPlanlanc", "Q1      Q2"});
  const Lines expected =
      headerLines("TWO MEADOWS", line2, kReference) +
      Lines{"", " Number of couplets per line is  3",
            "   1      1 25.0    2  3.0    3 12.3", "   1      4  3.5    0  0.0    0  0.0",
            "   2      2  0.5    0  0.0    3  3.3", "   0      0  0.0    0  0.0    0  0.0", "",
            " Highest species number in data matrix is     4", "",
            " Highest sample number in data matrix is     2", " Q1      ", " Q2      ", "", "",
            " End of data"} +
      holdNotice();
  EXPECT_EQ(expected, screen);
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr    25.0", " Agro capi     3.0", " Rume acet    12.3",
                   " Plan lanc     3.5", "", "Q2      ", " Agro capi     0.5",
                   " Rume acet     3.3", ""}),
            fs.lines("SAMP.txt"));
  EXPECT_EQ(0u, console.unread());
}

TEST_F(DeckloadTest, FileOfOneLineGivesOneEmptyLine) {
  const Lines screen = run({"ONLY A TITLE"});
  EXPECT_EQ(Lines{padRight("ONLY A TITLE", 80)} + blanks(2) + Lines{" End of data"} + holdNotice(),
            screen);
  EXPECT_EQ(Lines{""}, fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, EmptyFileGivesOneEmptyLine) {
  const Lines screen = run({});
  EXPECT_EQ(blanks(2) + Lines{" End of data"} + holdNotice(), screen);
  EXPECT_EQ(Lines{""}, fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, SampleFileIsFlushedAtTheEnd) {
  run({"T", formatLine(kReference, 7), data(1, {{1, "  1.0"}}), "   0", "Festrubr", "Q1"});
  ASSERT_FALSE(fs.flushed->empty());
  EXPECT_EQ("SAMP.txt", fs.flushed->front());
}

// ---- header ----

TEST_F(DeckloadTest, Line3DisagreeingWithTheFormatLineCountGivesTheWarning) {
  const std::string line2 = formatLine(kReference, 7);
  const Lines screen = run({"T", line2, data(2, {{1, "  1.0"}}), "   0", "Festrubr", "Q1      Q2"});
  EXPECT_EQ((headerLines("T", line2, kReference) +
                Lines{"", " Beware - number of items seems to be   7",
                      " yet first number on next card is       2", "",
                      " Number of couplets per line is  7"}),
            Lines(screen.begin(), screen.begin() + 8));
}

TEST_F(DeckloadTest, NoCountAnywhereGivesOneCoupletWithTheNoticeAndItsWait) {
  const std::string line2 = "(i4,2x,i5,f5.1)";
  const Lines screen =
      run({"T", line2, data(1, {{1, "  1.0"}}), data(1, {{2, "  2.0"}}), "   0", "FestrubrAgrocapi",
           "Q1"},
          {"anything", ""});
  EXPECT_EQ((headerLines("T", line2, line2) +
                Lines{"", " Number of couplets per line is taken to be 1",
                      " If wrong, put desired number as card 3 of data",
                      " Press <RETURN> to continue",
                      // Data from line 3, no count line.
                      "   1      1  1.0", "   1      2  2.0", "   0      0  0.0"}),
            Lines(screen.begin(), screen.begin() + 10));
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr     1.0", " Agro capi     2.0", ""}),
            fs.lines("SAMP.txt"));
  EXPECT_EQ(0u, console.unread());
}

TEST_F(DeckloadTest, CountOnLine3AndDataFromLine4) {
  const std::string line2 = "    (I10,1X,5(I4,F5.0))";
  // 8 couplets with room for 5 on a line: every read takes two lines, the
  // end-of-data line's read too.
  const Lines screen = run({"DUNE", line2, "  8 ", "         1    1  1.0   2  4.0", "   3  2.0",
                            "         0", "", "Ach mil Agr sto Air pra", "S1"});
  EXPECT_EQ((headerLines("DUNE", line2, "(I10,1X,5(I4,F5.0))") +
                Lines{"", " Number of couplets per line is  8",
                      "         1    1   1.   2   4.   0   0.   0   0.   0   0.",
                      "   3   2.   0   0.   0   0.",
                      "         0    0   0.   0   0.   0   0.   0   0.   0   0.",
                      "   0   0.   0   0.   0   0.", "",
                      " Highest species number in data matrix is     3"}),
            Lines(screen.begin(), screen.begin() + 11));
  EXPECT_EQ((Lines{"S1      ", speciesLine("Ach  mil ", "   1.0"),
                   speciesLine("Agr  sto ", "   4.0"), speciesLine("Air  pra ", "   2.0"), ""}),
            fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, MoreCoupletsPerLineThanALineCanHoldAreRefused) {
  const Lines screen = run({"T", "(i4,2x,7(i5,f5.1))", "150", data(1, {{1, "  1.0"}}), "   0"});
  expectErrorStop(screen, {" *** ERROR *** Number of couplets per line is     150",
                           " A data line can hold at most 99 couplets"});
}

TEST_F(DeckloadTest, NinetyNineCoupletsPerLineAreRead) {
  Lines file = {"T", "(i4,2x,7(i5,f5.1))", "99", data(1, {{1, "  1.0"}})};
  for (int i = 0; i < 14; ++i) file.push_back("");
  file.push_back("   0");
  for (int i = 0; i < 14; ++i) file.push_back("");
  file.push_back("Festrubr");
  file.push_back("Q1");
  const Lines screen = run(file);
  EXPECT_TRUE(has(screen, " Number of couplets per line is 99"));
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr     1.0", ""}), fs.lines("SAMP.txt"));
}

// A format that cannot be used is refused before line 3, with the reason.
TEST_F(DeckloadTest, UnusableFormatIsRefusedWithItsReason) {
  for (const auto& [format, reason] :
       {std::pair{"(i4,2x,7(i5,f5))", "an F edit has no decimals"},
        std::pair{"(i4,2x,7(i5,f5.1)", "its parentheses do not close"},
        std::pair{"(i4,2x,7(i5,a8))", "it holds an edit other than I, F, X or a group"}}) {
    console = {};
    fs = {};
    const std::string line2 = formatLine(format, 7);
    const Lines screen = run({"T", line2, data(1, {{1, "  1.0"}}), "   0"});
    EXPECT_EQ(headerLines("T", line2, format), Lines(screen.begin(), screen.begin() + 3));
    expectErrorStop(screen, {" *** Error *** The data format on line 2 cannot be read:",
                             std::string("     ") + reason});
  }
}

TEST_F(DeckloadTest, Line4NotFittingTheFormatStopsAtTheTrialRead) {
  const Lines screen = run({"T", formatLine(kReference, 7), data(1, {{1, "  1.0"}}),
                            data(1, {{2, "  x.0"}}), "   0"});
  expectErrorStop(screen, {" *** Error *** Line     4 does not fit the data format",
                           "     expected a value (F5.1) in columns 12-16"});
}

// A format beyond the 30 characters of its field is read whole and shown
// whole: one that fills the 80 columns of the line is shown on two lines.
TEST_F(DeckloadTest, FormatLongerThanThirtyCharactersIsReadAndShownWhole) {
  const std::string format =
      "(i4,2x,7(i5,f5.1),3x,2(i3,f4.1),1x,3(i4,f5.1),2x,2(i3,f4.1),1x,2(i6,f7.2),3(1x))";
  const Lines screen = run({"WIDE", format, "  2", "   1      1 25.0    2  3.0", "   0",
                            "FestrubrAgrocapi", "Q1"});
  EXPECT_EQ((Lines{padRight("WIDE", 80), format, " " + format.substr(0, 79), " )", "",
                   " Number of couplets per line is  2", "   1      1 25.0    2  3.0"}),
            Lines(screen.begin(), screen.begin() + 7));
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr    25.0", " Agro capi     3.0", ""}),
            fs.lines("SAMP.txt"));
}

// A Cornell file in full format (one value per species, no couplets) and
// a file that is no Cornell file are told apart from a faulty one.
TEST_F(DeckloadTest, FullFormatFileIsRecognised) {
  const Lines screen = run({"BIRD DATA IN FULL FORMAT", "(I3,8F3.0)", "8",
                            "  1  1  1  3  1  0  1 20 66", "  2  0  0  2  0  9  0  1  0",
                            "  0  0  0  0  0  0  0  0  0",
                            "CARDINALROADRUNNBLUEBIRDPHOEBE TITMOUSEREDTAILSCHICKADEWAXWINGS",
                            "SAMPLE 1SAMPLE 2"});
  EXPECT_EQ(headerLines("BIRD DATA IN FULL FORMAT", "(I3,8F3.0)", "(I3,8F3.0)"),
            Lines(screen.begin(), screen.begin() + 3));
  expectErrorStop(screen,
                  {" *** Error *** This Cornell file is in full format: after the sample number",
                   "     its data format has one value per species, with no species numbers;",
                   "     deckload reads the condensed format: couplets of species number and value"});
}

TEST_F(DeckloadTest, FileThatIsNoCornellFileIsRecognised) {
  const std::string species = " Calluna vulgaris              60";
  const Lines screen = run({"HEATH1       COVR%", species, " Vaccinium myrtillus           20", ""});
  EXPECT_EQ(headerLines("HEATH1       COVR%", species, "Calluna vulgaris"),
            Lines(screen.begin(), screen.begin() + 3));
  expectErrorStop(screen,
                  {" *** Error *** Not a Cornell condensed file: line 2 holds no data format",
                   "     line 2 of a Cornell file is its data format, such as (i4,2x,7(i5,f5.1))"});
}

TEST_F(DeckloadTest, TrialReadAtTheEndOfTheFileIsAnError) {
  const Lines screen = run({"T", formatLine(kReference, 7), data(1, {{1, "  1.0"}})});
  expectErrorStop(screen, {" *** Error *** End of file at line     4",
                           "     expected a data line to try the format on"});
}

TEST_F(DeckloadTest, MissingLine3IsAnError) {
  const Lines screen = run({"T", formatLine(kReference, 7)});
  expectErrorStop(screen, {" *** Error *** End of file at line     3",
                           "     expected card 3: the couplet count or the first data line"});
}

// ---- first pass ----

TEST_F(DeckloadTest, EndOfDataLineIsShownAndABlankLineEndsTheData) {
  const Lines screen =
      run({"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}), "", "Festrubr", "Q1"});
  EXPECT_EQ((Lines{"   1      1  1.0", "   0      0  0.0", ""}),
            from(screen, "   1      1  1.0", 3));
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr     1.0", ""}), fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, ProgressLinesAtEveryTenthSampleAndNoWarning) {
  Lines file = {"T", formatLine(kReference, 1)};
  for (int m = 1; m <= 25; ++m) file.push_back(data(m, {{1, "  1.0"}}));
  file.push_back("   0");
  file.push_back("Festrubr");
  for (int c = 0; c < 3; ++c) file.push_back("");
  const Lines screen = run(file);
  EXPECT_EQ((Lines{"  10      1  1.0", " 10", "  11      1  1.0"}),
            from(screen, "  10      1  1.0", 3));
  EXPECT_EQ((Lines{"  20      1  1.0", " 20", "  21      1  1.0"}),
            from(screen, "  20      1  1.0", 3));
  for (const std::string& line : screen) EXPECT_EQ(std::string::npos, line.find("BEWARE"));
  // Sample names are missing: every sample is "No Name ".
  const Lines written = fs.lines("SAMP.txt");
  ASSERT_EQ(25u * 3, written.size());
  EXPECT_EQ("No Name ", written[0]);
  EXPECT_EQ("No Name ", written[72]);
}

TEST_F(DeckloadTest, NonSequentialSampleNumbersWarnAndPauseOnlyOnce) {
  const Lines screen = run({"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}),
                            data(2, {{1, "  2.0"}}), data(4, {{1, "  4.0"}}),
                            data(7, {{1, "  7.0"}}), "   0", "Festrubr", "A1      A2              A4"},
                           {"", ""});
  EXPECT_EQ((Lines{"   4      1  4.0", " *** BEWARE *** Non-sequential sample numbers     2     4",
                   "", " Press <RETURN> to continue", "   7      1  7.0",
                   " *** BEWARE *** Non-sequential sample numbers     4     7", "   0      0  0.0"}),
            from(screen, "   4      1  4.0", 7));
  EXPECT_EQ(0u, console.unread());
  // Sample 7 has no name slot with one line of names: "No Name ".
  EXPECT_EQ((Lines{"A1      ", " Fest rubr     1.0", "", "A2      ", " Fest rubr     2.0", "",
                   "A4      ", " Fest rubr     4.0", "", "No Name ", " Fest rubr     7.0", ""}),
            fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, FirstSampleNumberedFiveIsNonSequential) {
  const Lines screen = run({"T", formatLine(kReference, 1), data(5, {{1, "  1.0"}}), "   0",
                            "Festrubr", "A1      A2      A3      A4      A5"},
                           {"", ""});
  EXPECT_TRUE(has(screen, " *** BEWARE *** Non-sequential sample numbers     0     5"));
  EXPECT_EQ((Lines{"A5      ", " Fest rubr     1.0", ""}), fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, SampleNumberComingBackStartsAnotherSampleOfTheSameName) {
  const Lines screen = run({"T", formatLine(kReference, 2), data(1, {{1, "  1.0"}}),
                            data(2, {{2, "  2.0"}}), data(1, {{2, "  3.0"}, {1, "  4.0"}}),
                            "   0", "FestrubrAgrocapi", "A1      A2"},
                           {"", ""});
  EXPECT_TRUE(has(screen, " *** BEWARE *** Non-sequential sample numbers     2     1"));
  EXPECT_EQ((Lines{"A1      ", " Fest rubr     1.0", "", "A2      ", " Agro capi     2.0", "",
                   "A1      ", " Agro capi     3.0", " Fest rubr     4.0", ""}),
            fs.lines("SAMP.txt"));
  EXPECT_EQ((Lines{" A1      ", " A2      ", " A1      ", "", ""}),
            from(screen, " A1      ", 5));
}

TEST_F(DeckloadTest, SampleOverThreeLinesIsOneSampleAndEmptyCoupletsAreIgnored) {
  const Lines screen =
      run({"T", formatLine(kReference, 2), data(1, {{1, "  1.0"}, {2, "  2.0"}}),
           data(1, {{3, "  3.0"}, {1, "  1.5"}}), data(1, {{4, "  4.0"}}),
           data(2, {{0, "  9.0"}, {0, "     "}}), "   0", "S1      S2      S3      S4", "A1  A2"});
  EXPECT_FALSE(has(screen, " *** BEWARE *** Non-sequential sample numbers     1     2"));
  // A species that occurs twice is written twice; sample 2 has no species.
  EXPECT_EQ((Lines{"A1  A2  ", speciesLine("S1       ", "   1.0"),
                   speciesLine("S2       ", "   2.0"), speciesLine("S3       ", "   3.0"),
                   speciesLine("S1       ", "   1.5"), speciesLine("S4       ", "   4.0"), "",
                   "No Name ", ""}),
            fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, ValuesAreRoundedToOneDecimalOrAsterisks) {
  const std::string format = "(i4,2x,7(i5,f8.2))";
  run({"T", formatLine(format, 3), "   1      1   12.34    2 9999.95    3    0.25", "   0",
       "S1      S2      S3", "Q1"});
  EXPECT_EQ((Lines{"Q1      ", speciesLine("S1       ", "  12.3"),
                   speciesLine("S2       ", "******"), speciesLine("S3       ", "   0.3"), ""}),
            fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, SpeciesNumberAbove5000StopsTheRunEvenInAStartedSample) {
  const Lines screen = run({"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}),
                            data(1, {{5001, "  2.0"}}), "   0"});
  expectErrorStop(screen, {" *** ERROR ***  Species number  5001exceeds  5000",
                           " Program must be redimensioned and recompiled"});
  EXPECT_EQ("   1   5001  2.0", screen[screen.size() - holdNotice().size() - 5]);
}

TEST_F(DeckloadTest, SampleNumberAbove20000StopsTheRun) {
  const std::string format = "(i6,7(i5,f5.1))";
  const Lines screen =
      run({"T", formatLine(format, 1), "     1    1  1.0", " 20001    1  1.0", "     0"}, {"", ""});
  expectErrorStop(screen, {" *** ERROR ***  Sample number 20001exceeds 20000",
                           " Program must be redimensioned and recompiled"});
}

TEST_F(DeckloadTest, TooManyNameLinesNeededStopsTheRun) {
  // 400 species lines and 101 sample lines would be needed.
  const Lines screen = run({"T", formatLine(kReference, 1), data(1, {{4000, "  1.0"}}),
                            data(1001, {{1, "  1.0"}}), "   0"},
                           {"", ""});
  expectErrorStop(screen, {" *** ERROR *** Number of spp + samples is 5001 but cannot exceed 5000",
                           " Redimension and recompile"});
  const auto error = screen.end() - static_cast<long>(holdNotice().size()) - 4;
  EXPECT_EQ((Lines{"", " Highest species number in data matrix is  4000", "",
                   " Highest sample number in data matrix is  1001"}),
            Lines(error - 4, error));
}

TEST_F(DeckloadTest, FewerNameLinesThanSpeciesLinesStopsTheRun) {
  const Lines screen =
      run({"T", formatLine(kReference, 1), data(1, {{11, "  1.0"}}), "   0", "S1      S2"});
  expectErrorStop(screen, {" *** Not enough species names ***"});
}

// ---- faults mended ----

TEST_F(DeckloadTest, NegativeSampleNumberStopsTheRun) {
  const Lines screen = run({"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}),
                            data(1, {{1, "  1.0"}}), data(-3, {{1, "  1.0"}}), "   0"});
  expectErrorStop(screen, {" *** Error *** Negative sample number on line     5",
                           "     sample numbers run 1, 2, 3 ...; 0 ends the data"});
}

TEST_F(DeckloadTest, NegativeSpeciesNumberStopsTheRun) {
  const Lines screen = run({"T", formatLine(kReference, 2), data(1, {{1, "  1.0"}}),
                            data(1, {{1, "  1.0"}, {-2, "  1.0"}}), "   0"});
  expectErrorStop(screen, {" *** Error *** Negative species number on line     4",
                           "     species numbers run 1, 2, 3 ...; 0 is an empty couplet"});
}

TEST_F(DeckloadTest, DataLineNotFittingTheFormatNamesTheLineAndTheField) {
  const Lines screen =
      run({"T", formatLine(kReference, 2), data(1, {{1, "  1.0"}}), data(1, {{2, "  2.0"}}),
           data(1, {{3, "  3.0"}, {4, " 4,5 "}}), "   0", "S1      S2      S3      S4", "Q1"});
  expectErrorStop(screen, {" *** Error *** Line     5 does not fit the data format",
                           "     expected a value (F5.1) in columns 22-26"});
}

TEST_F(DeckloadTest, FormatRunningOutOfFieldsOnALaterLineIsAnError) {
  // The trial read needs 3 items; with 2 couplets the format has no field
  // for the second value.
  const Lines screen = run({"T", formatLine("(i4,2x,i5,f5.1,i5)", 2), data(1, {{1, "  1.0"}}),
                            data(1, {{2, "  2.0"}}), "   0"});
  expectErrorStop(screen, {" *** Error *** Line     4 does not fit the data format",
                           "     the format has I4 where a value is expected"});
}

TEST_F(DeckloadTest, FormatTakenUpAgainAtAGroupWithoutFieldsIsAnError) {
  const Lines screen = run({"T", formatLine("(i4,2x,i5,f5.1,2(1x))", 2), data(1, {{1, "  1.0"}}),
                            data(1, {{2, "  2.0"}}), "   0"});
  expectErrorStop(screen, {" *** Error *** Line     3 does not fit the data format",
                           "     the format has no I or F field left for the rest of the items"});
}

TEST_F(DeckloadTest, EndOfFileBeforeTheEndOfDataLineIsAnError) {
  const Lines screen =
      run({"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}), data(2, {{1, "  1.0"}})});
  expectErrorStop(screen, {" *** Error *** End of file at line     5",
                           "     expected a data line or the end-of-data card (sample number 0)"});
}

TEST_F(DeckloadTest, EndOfFileInsideAReadThatSpansLines) {
  const Lines screen = run({"T", formatLine(kReference, 8),
                            "   1      1  1.0    2  2.0    3  3.0    4  4.0    5  5.0    6  6.0"
                            "    7  7.0",
                            "    8    8", "   2"});
  expectErrorStop(screen, {" *** Error *** End of file at line     6",
                           "     expected the rest of the data read begun at line     5"});
}

TEST_F(DeckloadTest, MoreThan500NameLinesWithNamesAreRefused) {
  Lines file = {"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}), "   0"};
  for (int c = 1; c <= 501; ++c) file.push_back("Festrubr");
  const Lines screen = run(file);
  expectErrorStop(screen, {" *** ERROR *** More than 500 name cards in the file",
                           " Only 500 cards of species and sample names can be held"});
}

TEST_F(DeckloadTest, BlankLinesBeyond500AreIgnored) {
  Lines file = {"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}), "   0", "Festrubr", "Q1"};
  for (int c = 1; c <= 600; ++c) file.push_back("");
  run(file);
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr     1.0", ""}), fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, FailedWriteOfTheSampleFileIsReported) {
  fs.write_limit["SAMP.txt"] = 2;
  const Lines screen = run({"T", formatLine(kReference, 2), data(1, {{1, "  1.0"}, {2, "  2.0"}}),
                            "   0", "FestrubrAgrocapi", "Q1"});
  const Lines tail = blanks(2) +
                     Lines{"  *** ERROR *** Cannot write file SAMP.txt", " No space left on device",
                           " The file is incomplete"} +
                     holdNotice();
  ASSERT_GE(screen.size(), tail.size());
  EXPECT_EQ(tail, Lines(screen.end() - static_cast<long>(tail.size()), screen.end()));
  EXPECT_FALSE(has(screen, " End of data"));
}

TEST_F(DeckloadTest, EndOfKeyboardInputAtThePauseEndsTheRunWithAnEmptySampleFile) {
  fs.put("CORNELL.txt",
         {"T", formatLine(kReference, 1), data(2, {{1, "  1.0"}}), "   0", "Festrubr", "Q1 Q2"});
  console.type({"", ""});
  EXPECT_EQ(0, runDeckload(console, fs));
  EXPECT_EQ(" Press <RETURN> to continue", console.output.back());
  EXPECT_TRUE(fs.exists("SAMP.txt"));
  EXPECT_EQ(Lines{}, fs.lines("SAMP.txt"));
  EXPECT_EQ(Lines{"SAMP.txt"}, *fs.flushed);
}

TEST_F(DeckloadTest, EndOfKeyboardInputAtTheNoticeEndsTheRun) {
  fs.put("CORNELL.txt", {"T", "(i4,2x,i5,f5.1)", data(1, {{1, "  1.0"}}), "   0"});
  console.type({"", ""});
  EXPECT_EQ(0, runDeckload(console, fs));
  EXPECT_EQ(" Press <RETURN> to continue", console.output.back());
  EXPECT_EQ(Lines{}, fs.lines("SAMP.txt"));
}

TEST_F(DeckloadTest, EndOfKeyboardInputAtTheFileNameEndsTheRun) {
  console.type({"nosuchfile"});
  EXPECT_EQ(0, runDeckload(console, fs));
  EXPECT_EQ(" Type another name", console.output.back());
  EXPECT_FALSE(fs.exists("SAMP.txt"));
}

TEST_F(DeckloadTest, ReadErrorOfTheCornellFileIsReportedNotTakenForItsEnd) {
  fs.read_limit["CORNELL.txt"] = 4;
  const Lines screen =
      run({"T", formatLine(kReference, 1), data(1, {{1, "  1.0"}}), data(2, {{1, "  1.0"}}), "   0",
           "Festrubr", "Q1      Q2"});
  EXPECT_TRUE(has(screen, "  *** ERROR *** Cannot read file CORNELL.txt"));
  EXPECT_FALSE(has(screen, " End of data"));
  EXPECT_EQ(Lines{}, fs.lines("SAMP.txt"));
}

}  // namespace
}  // namespace deckload
