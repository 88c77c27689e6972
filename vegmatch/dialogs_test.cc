#include "vegmatch/dialogs.h"

#include <gtest/gtest.h>

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

TEST(GetnumTest, EmptyReplyKeepsTheValueEvenOutsideTheLimits) {
  FakeConsole console({""});
  int value = 120;
  getnum(console, value, 1, 99);
  EXPECT_EQ(120, value);
  EXPECT_EQ(prompt("120"), console.output);
}

TEST(GetnumTest, TwoLeadingBlanksCountAsEmpty) {
  FakeConsole console({"  42"});
  int value = 5;
  getnum(console, value, 1, 99);
  EXPECT_EQ(5, value);
}

TEST(GetnumTest, OnlyTheFirstTwoCharactersCount) {
  FakeConsole console({"123", "100"});
  int value = 5;
  getnum(console, value, 1, 99);
  EXPECT_EQ(12, value);
  getnum(console, value, 1, 99);
  EXPECT_EQ(10, value);
}

TEST(GetnumTest, DigitWithBlanksAroundIt) {
  for (const char* reply : {"7", " 7", "7 ", "+7", "7,5"}) {
    FakeConsole console({reply});
    int value = 5;
    getnum(console, value, 1, 99);
    EXPECT_EQ(7, value) << reply;
  }
}

TEST(GetnumTest, InadmissibleRepliesAreRefusedWithTheLimits) {
  FakeConsole console({"0", "7x", "x", "5.", "-1", "3"});
  int value = 5;
  getnum(console, value, 1, 99);
  EXPECT_EQ(3, value);
  const std::string limits = "     1    99";
  EXPECT_EQ(join({refused("  5", limits), refused("  5", limits), refused("  5", limits),
                  refused("  5", limits), refused("  5", limits), prompt("  5")}),
            console.output);
}

TEST(GetnumTest, LoneSignReadsAsZero) {
  for (const char* reply : {"+", "-", ",5"}) {
    FakeConsole console({reply});
    int value = 1;
    getnum(console, value, 0, 2);
    EXPECT_EQ(0, value) << reply;
  }
}

TEST(GetnumTest, EndOfInputStopsTheProgram) {
  FakeConsole console({"0"});
  int value = 5;
  EXPECT_THROW(getnum(console, value, 1, 99), veg::StopRun);
  EXPECT_EQ(5, value);
}

TEST(ResetTest, ShowsBothQuestionsAndKeepsValuesOnReturn) {
  FakeConsole console({"", ""});
  few settings;
  reset(console, settings);
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

TEST(ResetTest, RefusedScaleIsAskedAgainWithoutTheTexts) {
  FakeConsole console({"4", "3", "5"});
  few settings;
  reset(console, settings);
  EXPECT_EQ(3, settings.cover_scale);
  EXPECT_EQ(5, settings.analysis_type);
  std::vector<std::string> scale_part(console.output.begin() + 7, console.output.begin() + 13);
  EXPECT_EQ(join({refused("  1", "     1     3"), prompt("  1")}), scale_part);
}

}  // namespace
}  // namespace vegmatch
