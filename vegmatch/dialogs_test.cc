#include "vegmatch/dialogs.h"

#include <gtest/gtest.h>

#include "common/fields.h"
#include "common/testing/fakes.h"

namespace vegmatch {
namespace {

using veg::testing::FakeConsole;

const std::string kRetain = " Press <RETURN> to retain it, or type new value";

std::vector<std::string> prompt(const std::string& shown) {
  return {" Existing value is" + shown, kRetain};
}

std::vector<std::string> refused(const std::string& shown, const std::string& limits) {
  return {" Existing value is" + shown, kRetain, " * Inadmissible entry *", "   Limits are  " + limits};
}

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(AskNumberTest, EmptyReplyKeepsTheValueEvenOutsideTheLimits) {
  FakeConsole console({""});
  int value = 120;
  askNumber(console, value, 1, 99);
  EXPECT_EQ(120, value);
  EXPECT_EQ(prompt("120"), console.output);
}

TEST(AskNumberTest, TwoLeadingBlanksCountAsEmpty) {
  FakeConsole console({"  42"});
  int value = 5;
  askNumber(console, value, 1, 99);
  EXPECT_EQ(5, value);
}

TEST(AskNumberTest, OnlyTheFirstTwoCharactersCount) {
  FakeConsole console({"123", "100"});
  int value = 5;
  askNumber(console, value, 1, 99);
  EXPECT_EQ(12, value);
  askNumber(console, value, 1, 99);
  EXPECT_EQ(10, value);
}

TEST(AskNumberTest, DigitWithBlanksAroundIt) {
  for (const char* reply : {"7", " 7", "7 ", "+7", "7,5"}) {
    FakeConsole console({reply});
    int value = 5;
    askNumber(console, value, 1, 99);
    EXPECT_EQ(7, value) << reply;
  }
}

TEST(AskNumberTest, InadmissibleRepliesAreRefusedWithTheLimits) {
  FakeConsole console({"0", "7x", "x", "5.", "-1", "3"});
  int value = 5;
  askNumber(console, value, 1, 99);
  EXPECT_EQ(3, value);
  const std::string limits = "     1    99";
  EXPECT_EQ(join({refused("  5", limits), refused("  5", limits), refused("  5", limits),
                  refused("  5", limits), refused("  5", limits), prompt("  5")}),
            console.output);
}

TEST(AskNumberTest, LoneSignReadsAsZero) {
  for (const char* reply : {"+", "-", ",5"}) {
    FakeConsole console({reply});
    int value = 1;
    askNumber(console, value, 0, 2);
    EXPECT_EQ(0, value) << reply;
  }
}

TEST(AskNumberTest, EndOfInputStopsTheProgram) {
  FakeConsole console({"0"});
  int value = 5;
  EXPECT_THROW(askNumber(console, value, 1, 99), veg::StopRun);
  EXPECT_EQ(5, value);
}

TEST(AskAnalysisParametersTest, ShowsBothQuestionsAndKeepsValuesOnReturn) {
  FakeConsole console({"", ""});
  RunSettings settings;
  askAnalysisParameters(console, settings);
  const std::string indent(12, ' ');
  std::vector<std::string> expected = join(
      {{"", "", " Set cover-abundance scale for samples", " Possible values of scale parameter are",
        indent + "1= % cover", indent + "2= Braun-Blanquet scale", indent + "3= Domin scale"},
       prompt("  1"),
       {"", "", " Set parameter to determine type of analysis",
        " Possible values of analysis parameter are", indent + "1= Mixed composition and cover",
        indent + "2= Species composition only", indent + "3= Species cover only",
        indent + "4= Incomplete species list only",
        indent + "5= Top few spp, descndng abndnce, no quant"},
       prompt("  1")});
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ(1, settings.cover_scale);
  EXPECT_EQ(1, settings.analysis_type);
}

TEST(AskAnalysisParametersTest, RefusedScaleIsAskedAgainWithoutTheTexts) {
  FakeConsole console({"4", "3", "5"});
  RunSettings settings;
  askAnalysisParameters(console, settings);
  EXPECT_EQ(3, settings.cover_scale);
  EXPECT_EQ(5, settings.analysis_type);
  std::vector<std::string> scale_part(console.output.begin() + 7, console.output.begin() + 13);
  EXPECT_EQ(join({refused("  1", "     1     3"), prompt("  1")}), scale_part);
}

struct SetUpRunTest : ::testing::Test {
  FakeConsole console;
  veg::testing::MemoryFileSystem fs;
  Io io{console, fs};

  static std::vector<std::string> opening() {
    std::vector<std::string> lines(17, "");
    lines.push_back(" Enter files and parameters to run VEGMATCH");
    lines.insert(lines.end(), 9, "");
    lines.push_back(" Type name of output file for answers or press <RETURN> for default");
    return lines;
  }
  static std::vector<std::string> source() {
    return join({{"", "", " Type 0 for input of stand data from keyboard",
                  " Type 1 for input from existing datafile"},
                 prompt("  0")});
  }
  static std::vector<std::string> groups() {
    return join({{"", "", " Type 0 for all species to be included in analysis",
                  " Type 1 for vascular plants + bryos (excluding lichens & algae)",
                  " Type 2 to include only vascular plants"},
                 prompt("  0")});
  }
};

TEST_F(SetUpRunTest, ReturnToEveryQuestionTakesTheDefaults) {
  fs.put("VEGMOUT.txt", {"old answers"});
  console.type({"", "", "", ""});
  Switches sw = setUpRun(io);
  EXPECT_EQ(0, sw.input_mode);
  EXPECT_EQ(1, sw.record_entry);
  EXPECT_EQ(10000, sw.species_limit);
  EXPECT_EQ((std::vector<std::string>{"VEGMOUT01.txt", "SAMP.txt"}), fs.created);
  EXPECT_EQ(std::vector<std::string>{"old answers"}, fs.lines("VEGMOUT.txt"));
  io.answer("new");
  io.recordLine("rec");
  EXPECT_EQ(std::vector<std::string>{"new"}, fs.lines("VEGMOUT01.txt"));
  EXPECT_EQ(std::vector<std::string>{"rec"}, fs.lines("SAMP.txt"));
  EXPECT_EQ(join({opening(), source(),
                  {"", "", " Enter name of file with record of data entry",
                   "      or press <RETURN> for default SAMP.txt"},
                  groups()}),
            console.output);
}

TEST_F(SetUpRunTest, TakenAnswersNameIsRefusedThenReturnTakesTheDefault) {
  fs.put("mine.txt", {});
  console.type({"mine.txt", "", "1", "", "2"});
  fs.put("SAMP.txt", {"Q1"});
  Switches sw = setUpRun(io);
  EXPECT_EQ(4, sw.input_mode);
  EXPECT_EQ(0, sw.record_entry);
  EXPECT_EQ(3000, sw.species_limit);
  EXPECT_EQ(std::vector<std::string>{"VEGMOUT.txt"}, fs.created);
  ASSERT_TRUE(io.datafile);
  EXPECT_FALSE(io.record);
  std::vector<std::string> expected = opening();
  expected.insert(expected.end(), {"", "  *** ERROR *** File already exists",
                                   " Type another name, not mine.txt            "});
  EXPECT_EQ(expected, std::vector<std::string>(console.output.begin(),
                                               console.output.begin() + expected.size()));
}

TEST_F(SetUpRunTest, MissingDatafileIsAskedAgainAndReturnDoesNotMeanDefault) {
  fs.put("SAMP.txt", {});
  console.type({"", "1", "nosuch.txt", "", " SAMP.txt", "SAMP.txt", "1"});
  Switches sw = setUpRun(io);
  EXPECT_EQ(4000, sw.species_limit);
  EXPECT_EQ(std::vector<std::string>{"SAMP.txt"}, fs.opened);
  const std::vector<std::string> refusal = {"", "  *** ERROR *** File does not exist",
                                            " Type another name"};
  std::vector<std::string> expected = join(
      {opening(), source(),
       {"", "", " Enter name of existing datafile", "      or press <RETURN> for default SAMP.txt"},
       refusal, refusal, refusal, groups()});
  EXPECT_EQ(expected, console.output);
}

TEST_F(SetUpRunTest, TakenRecordNameIsRefusedWithoutEchoAndReturnIsRefused) {
  fs.put("rec.txt", {});
  console.type({"", "", "rec.txt", "", "rec2.txt", ""});
  setUpRun(io);
  EXPECT_EQ((std::vector<std::string>{"VEGMOUT.txt", "rec2.txt"}), fs.created);
  const std::vector<std::string> refusal = {"", "  *** ERROR *** File already exists",
                                            " Type another name"};
  EXPECT_EQ(join({opening(), source(),
                  {"", "", " Enter name of file with record of data entry",
                   "      or press <RETURN> for default SAMP.txt"},
                  refusal, refusal, groups()}),
            console.output);
}

TEST_F(SetUpRunTest, NoFreeAnswersNameEndsTheRun) {
  fs.put("VEGMOUT.txt", {});
  for (int i = 1; i <= 98; ++i)
    fs.uncreatable.insert((i < 10 ? "VEGMOUT0" : "VEGMOUT") + std::to_string(i) + ".txt");
  console.type({"", ""});
  EXPECT_THROW(setUpRun(io), veg::StopRun);
  EXPECT_FALSE(io.answers);
  EXPECT_EQ("  *** ERROR *** Cannot create VEGMOUT.txt or any numbered variant of it",
            console.output[console.output.size() - 12]);
}

// The species-group reply runs from 0 to 2: each of them gives its limit,
// and -1 and 3 are refused with those limits.
TEST_F(SetUpRunTest, SpeciesGroupRepliesZeroToTwo) {
  const int limits[] = {10000, 4000, 3000};
  for (int reply = 0; reply <= 2; ++reply) {
    FakeConsole keyboard({"", "", "", std::to_string(reply)});
    veg::testing::MemoryFileSystem files;
    Io run_io(keyboard, files);
    EXPECT_EQ(limits[reply], setUpRun(run_io).species_limit) << reply;
  }
  console.type({"", "", "", "3", "-1", "2"});
  EXPECT_EQ(3000, setUpRun(io).species_limit);
  const std::vector<std::string> tail =
      join({groups(),
            {" * Inadmissible entry *", "   Limits are       0     2"},
            prompt("  0"),
            {" * Inadmissible entry *", "   Limits are       0     2"},
            prompt("  0")});
  ASSERT_GE(console.output.size(), tail.size());
  EXPECT_EQ(tail,
            std::vector<std::string>(console.output.end() - tail.size(), console.output.end()));
}

struct TitleScreensTest : ::testing::Test {
  FakeConsole console;
  veg::testing::MemoryFileSystem fs;
  std::unique_ptr<HelpPage> pages = std::make_unique<HelpPage>();

  std::vector<std::string> page(std::vector<std::string> text) {
    std::vector<std::string> out;
    for (int i = 0; i < kHelpLines; ++i)
      out.push_back(std::string(10, ' ') +
                    veg::padRight(i < static_cast<int>(text.size()) ? text[i] : "", 60));
    out.push_back(" Press <RETURN> to continue");
    return out;
  }
};

TEST_F(TitleScreensTest, TitleBlockAndOfferRepeatedUntilAnswered) {
  console.type({"", "x", "h"});
  showTitleScreens(console, fs, *pages, kHelpLines);
  const auto& out = console.output;
  ASSERT_GE(out.size(), 16u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ("", out[i]);
  EXPECT_EQ("                              VEGMATCH  Version 2", out[10]);
  EXPECT_EQ("", out[11]);
  EXPECT_EQ("                   A program to identify types of vegetation", out[12]);
  EXPECT_EQ("                        by measuring goodness-of-fit to ", out[13]);
  EXPECT_EQ("                               association tables", out[14]);
  for (int i = 17; i < 20; ++i) EXPECT_EQ(std::string(17, ' '), out[i].substr(0, 17)) << i;
  const std::string offer = " Press <RETURN> to continue, or type H for help";
  EXPECT_EQ(" Press <RETURN> to continue", out[26]);
  EXPECT_EQ((std::vector<std::string>{offer, offer, "  *** File HELP.txt is not available ***"}),
            std::vector<std::string>(out.end() - 3, out.end()));
  EXPECT_EQ(0u, console.unread());
}

TEST_F(TitleScreensTest, ReturnAtTheOfferSkipsHelp) {
  fs.put("HELP.txt", {"text"});
  console.type({"", ""});
  showTitleScreens(console, fs, *pages, kHelpLines);
  EXPECT_EQ(" Press <RETURN> to continue, or type H for help", console.output.back());
}

TEST_F(TitleScreensTest, HelpPagesOfTwentyThreeLines) {
  std::vector<std::string> text;
  for (int i = 1; i <= 30; ++i) text.push_back("line " + std::to_string(i));
  text[0] = std::string(70, 'x');  // cut at column 60
  fs.put("HELP.txt", text);
  console.type({"", ""});
  showHelpPages(console, fs, *pages, kHelpLines);
  std::vector<std::string> first(text.begin(), text.begin() + 23);
  first[0] = std::string(60, 'x');
  EXPECT_EQ(join({page(first), page({text.begin() + 23, text.end()})}), console.output);
}

TEST_F(TitleScreensTest, ExactlyOnePageIsFollowedByABlankPage) {
  std::vector<std::string> text(23, "help");
  fs.put("HELP.txt", text);
  console.type({"", ""});
  showHelpPages(console, fs, *pages, kHelpLines);
  EXPECT_EQ(join({page(text), page({})}), console.output);
}

TEST_F(TitleScreensTest, EmptyHelpShowsOneBlankPage) {
  fs.put("HELP.txt", {});
  console.type({""});
  showHelpPages(console, fs, *pages, kHelpLines);
  EXPECT_EQ(page({}), console.output);
}

}  // namespace
}  // namespace vegmatch
