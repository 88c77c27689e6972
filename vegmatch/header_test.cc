#include "vegmatch/header.h"

#include <gtest/gtest.h>

#include "vegmatch/testing/fixture.h"

namespace vegmatch {
namespace {

using testing::Lines;

const Lines kPrompt = {"", "", "", "", "", " Now enter sample name (at most 8 characters)",
                       " (For frequency data, follow name by * max-freq)"};

struct HeaderTest : ::testing::Test, testing::Fixture {
  std::string name;
  int max_frequency = -1;
  bool bad = true;

  HeaderTest() { openAnswers(); }
  void nameLine(const std::string& line, int input_mode = kKeyboardInput) {
    buffers.input_line = line + std::string(40 - line.size(), ' ');
    readNameLine(io, buffers, name, max_frequency, bad, input_mode, settings);
  }
  void phase() { headerPhase(io, buffers, settings, sample, switches); }
};

TEST(SampleLineTest, MaximumFrequenciesOneAndHundred) {
  RunSettings settings;
  EXPECT_EQ(" Sample Q1      " "*  1" "   Parameters = " "  All sp" "   Cover%" "   Sp & c",
            sampleLine("Q1      ", 1, 10000, settings));
  EXPECT_EQ(" Sample Q1      " "*100" "   Parameters = " "  All sp" "   Cover%" "   Sp & c",
            sampleLine("Q1      ", 100, 10000, settings));
}

TEST(SampleLineTest, WithoutFrequencyData) {
  RunSettings settings;
  EXPECT_EQ(" Sample Q1      " "       Parameters = " "  All sp" "   Cover%" "   Sp & c",
            sampleLine("Q1      ", 0, 10000, settings));
}

TEST(SampleLineTest, WithFrequencyData) {
  RunSettings settings;
  settings.cover_scale = 3;
  settings.analysis_type = 2;
  EXPECT_EQ(" Sample Q1      " "* 50" "   Parameters = " "  Nobryo" "   Domin " "   Spp on",
            sampleLine("Q1      ", 50, 3000, settings));
}

TEST(SampleLineTest, LabelsOfEverySetting) {
  RunSettings settings;
  settings.cover_scale = 2;
  settings.analysis_type = 5;
  EXPECT_EQ(" Sample A       " "       Parameters = " "  Nolich" "   Br-Bla" "   Top fe",
            sampleLine("A       ", 0, 4000, settings));
  settings.analysis_type = 3;
  EXPECT_EQ("Cov on", sampleLine("A", 0, 4000, settings).substr(56));
  settings.analysis_type = 4;
  EXPECT_EQ("Incmp ", sampleLine("A", 0, 4000, settings).substr(56));
  // Only the three limits of the set-up dialog have a label.
  EXPECT_EQ("        ", sampleLine("A", 0, 5000, settings).substr(36, 8));
}

TEST_F(HeaderTest, EmptyNameLineTakesTheDefaultName) {
  keyboard();
  nameLine("");
  EXPECT_FALSE(bad);
  EXPECT_EQ("SAMPL  1", name);
  EXPECT_EQ(0, max_frequency);
  EXPECT_EQ(Lines{"SAMPL  1     COVR%"}, record());
  EXPECT_TRUE(console.output.empty());
}

TEST_F(HeaderTest, DefaultNameCarriesTheSampleCount) {
  keyboard();
  settings.sample_count = 42;
  nameLine("   *");
  EXPECT_EQ("SAMPL 42", name);
  settings.sample_count = 1000;
  nameLine("");
  EXPECT_EQ("SAMPL***", name);
}

TEST_F(HeaderTest, OnlyEightCharactersMakeTheName) {
  keyboard();
  nameLine("ABCDEFGHIJ");
  EXPECT_EQ("ABCDEFGH", name);
}

TEST_F(HeaderTest, LeadingBlanksAndCaseAreKept) {
  keyboard();
  nameLine("  Quad 1");
  EXPECT_EQ("  Quad 1", name);
  EXPECT_EQ(Lines{"  Quad 1     COVR%"}, record());
}

TEST_F(HeaderTest, AsteriskIntroducesTheMaximumFrequency) {
  keyboard();
  nameLine("Q1 * 50");
  EXPECT_FALSE(bad);
  EXPECT_EQ("Q1      ", name);
  EXPECT_EQ(50, max_frequency);
  EXPECT_EQ(Lines{"Q1         * 50 COVR%"}, record());
}

TEST_F(HeaderTest, AsteriskCutsTheName) {
  keyboard();
  nameLine("Quad*10");
  EXPECT_EQ("Quad    ", name);
  EXPECT_EQ(10, max_frequency);
}

TEST_F(HeaderTest, MaximumFrequencyAboveHundredIsRefused) {
  keyboard();
  nameLine("Q1 *150");
  EXPECT_TRUE(bad);
  EXPECT_EQ(Lines{" *** Maximum frequency may not exceed 100 ***"}, console.output);
  EXPECT_TRUE(record().empty());
}

TEST_F(HeaderTest, MaximumFrequenciesFromOneToHundredAreAccepted) {
  keyboard();
  nameLine("Q1*1");
  EXPECT_FALSE(bad);
  EXPECT_EQ(1, max_frequency);
  nameLine("Q2 * 100");
  EXPECT_FALSE(bad);
  EXPECT_EQ(100, max_frequency);
  nameLine("Q3 * 101");
  EXPECT_TRUE(bad);
  EXPECT_EQ((Lines{"Q1         *  1 COVR%", "Q2         *100 COVR%"}), record());
}

// The name buffer is blanked for every name line: a short name after a
// long one keeps nothing of it.
TEST_F(HeaderTest, ShortNameAfterALongOne) {
  keyboard();
  nameLine("LONGNAME");
  EXPECT_EQ("LONGNAME", name);
  nameLine("AB*5");
  EXPECT_EQ("AB      ", name);
  nameLine("LONGNAME");
  nameLine("*");
  EXPECT_EQ("SAMPL  1", name);
  nameLine("Q1");
  EXPECT_EQ("Q1      ", name);
  EXPECT_EQ((Lines{"LONGNAME     COVR%", "AB         *  5 COVR%", "LONGNAME     COVR%",
                   "SAMPL  1     COVR%", "Q1           COVR%"}),
            record());
}

TEST_F(HeaderTest, SignsAndCommasCountAsZeroDigits) {
  keyboard();
  nameLine("Q1*1-5");
  EXPECT_TRUE(bad);
  nameLine("Q1*1,");
  EXPECT_FALSE(bad);
  EXPECT_EQ(10, max_frequency);
  nameLine("Q1*+7");
  EXPECT_EQ(7, max_frequency);
}

TEST_F(HeaderTest, OtherCharacterEndsTheFrequencyWord) {
  keyboard();
  nameLine("Q1* 7x9");
  EXPECT_EQ(7, max_frequency);
  nameLine("Q1* 7 9");
  EXPECT_EQ(7, max_frequency);
}

TEST_F(HeaderTest, LongDigitStringsStayLarge) {
  keyboard();
  nameLine("Q1*100000000000");
  EXPECT_TRUE(bad);
  nameLine("Q1*0000000000100");
  EXPECT_FALSE(bad);
  EXPECT_EQ(100, max_frequency);
}

TEST_F(HeaderTest, AsteriskWithoutNumberMeansNoFrequencyData) {
  keyboard();
  nameLine("Q1*");
  EXPECT_FALSE(bad);
  EXPECT_EQ(0, max_frequency);
  EXPECT_EQ(Lines{"Q1      " "     " "COVR%"}, record());
}

TEST_F(HeaderTest, MatchingScaleLabelIsAccepted) {
  datafile({});
  nameLine("Q1         * 10 COVR%", kDatafileInput);
  EXPECT_EQ(10, max_frequency);
  EXPECT_EQ("Q1      ", name);
  EXPECT_TRUE(console.output.empty());
  settings.cover_scale = 3;
  nameLine("Q2      " "     " "DOMIN", kDatafileInput);
  EXPECT_TRUE(console.output.empty());
}

TEST_F(HeaderTest, DeckloadHeaderHasNoLabel) {
  datafile({});
  nameLine("No Name ", kDatafileInput);
  EXPECT_EQ("No Name ", name);
  EXPECT_EQ(0, max_frequency);
  EXPECT_TRUE(console.output.empty());
}

TEST_F(HeaderTest, OtherScaleLabelAsksForTheParametersAgain) {
  datafile({});
  console.type({"", "2", ""});
  nameLine("Q1      " "     " "BR-BL", kDatafileInput);
  ASSERT_GE(console.output.size(), 3u);
  EXPECT_EQ(" Cover scale is set to COVR% but input data are BR-BL", console.output[0]);
  EXPECT_EQ(" Press <RETURN> to continue", console.output[1]);
  EXPECT_EQ("", console.output[2]);
  EXPECT_EQ(" Set cover-abundance scale for samples", console.output[4]);
  EXPECT_EQ(2, settings.cover_scale);
  EXPECT_EQ(1, settings.analysis_type);
  EXPECT_EQ(0u, console.unread());
  EXPECT_EQ("Q1      ", name);
}

TEST_F(HeaderTest, ScaleLabelAfterTheFrequencyIsCheckedToo) {
  keyboard();
  settings.cover_scale = 2;
  console.type({"", "", ""});
  nameLine("Q1         *  5 DOMIN");
  EXPECT_EQ(" Cover scale is set to BR-BL but input data are DOMIN", console.output[0]);
  // RETURN kept the scale: the header goes out with the scale in force.
  EXPECT_EQ(Lines{"Q1         *  5 BR-BL"}, record());
}

TEST_F(HeaderTest, EndOfInputInTheScaleDialogStops) {
  datafile({});
  EXPECT_THROW(nameLine("Q1      " "     " "DOMIN", kDatafileInput), veg::StopRun);
}

TEST_F(HeaderTest, PhaseAsksAgainAfterAFrequencyAboveHundred) {
  keyboard();
  console.type({"Q1*150", "Q1*15"});
  phase();
  Lines expected = kPrompt;
  expected.push_back(" *** Maximum frequency may not exceed 100 ***");
  expected.insert(expected.end(), kPrompt.begin(), kPrompt.end());
  expected.push_back("");
  expected.push_back(" Sample Q1      * 15   Parameters =   All sp   Cover%   Sp & c");
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ((Lines{"", " Sample Q1      * 15   Parameters =   All sp   Cover%   Sp & c"}),
            answers());
  EXPECT_EQ(Lines{"Q1         * 15 COVR%"}, record());
  EXPECT_EQ("Q1      ", sample.sample_name);
  EXPECT_EQ(15.0f, sample.max_frequency);
}

TEST_F(HeaderTest, PhaseReadsTheDatafileWithoutDialogue) {
  datafile({"Plot 7   extra text beyond", "next"});
  phase();
  Lines expected = {"", " Sample Plot 7         Parameters =   All sp   Cover%   Sp & c"};
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ(expected, answers());
  EXPECT_EQ("Plot 7  ", sample.sample_name);
  EXPECT_EQ(0.0f, sample.max_frequency);
  EXPECT_EQ(0, console.reads);
}

TEST_F(HeaderTest, PhaseReadsABadDatafileHeaderWithoutFrequencies) {
  datafile({"Q1 *200"});
  phase();
  EXPECT_EQ((Lines{" *** Maximum frequency may not exceed 100 ***", "",
                   " Sample Q1             Parameters =   All sp   Cover%   Sp & c"}),
            console.output);
  EXPECT_EQ(0.0f, sample.max_frequency);
}

TEST_F(HeaderTest, PhaseEndsTheRunAtTheEndOfTheDatafile) {
  datafile({});
  console.type({""});
  EXPECT_THROW(phase(), veg::StopRun);
  EXPECT_EQ("*** Program finished  ***", console.output.at(4));
  EXPECT_EQ(1, console.reads);
  EXPECT_TRUE(answers().empty());
}

TEST_F(HeaderTest, PhaseEndsTheRunWhenTheCountMarksTheFileExhausted) {
  datafile({"Q1"});
  settings.sample_count = 10000;
  console.type({""});
  EXPECT_THROW(phase(), veg::StopRun);
  EXPECT_EQ("*** Program finished  ***", console.output.at(4));
  EXPECT_TRUE(answers().empty());
}

TEST_F(HeaderTest, PhaseReadsTheNinethousandNineHundredNinetyNinthSample) {
  datafile({"Q1"});
  settings.sample_count = 9999;
  phase();
  EXPECT_EQ("Q1      ", sample.sample_name);
  EXPECT_EQ(0.0f, sample.max_frequency);
}

TEST_F(HeaderTest, EndOfKeyboardInputAtTheNamePromptStops) {
  keyboard();
  EXPECT_THROW(phase(), veg::StopRun);
  EXPECT_TRUE(record().empty());
}

}  // namespace
}  // namespace vegmatch
