// Whole runs on random keyboard input and random datafiles: whatever is
// typed or read, a run ends normally when its input ends, with no crash, no
// hang and no line longer than the layouts allow. (The sanitizer build of
// the tests turns any memory fault here into a failure.)
#include <gtest/gtest.h>

#include <random>

#include "common/testing/fakes.h"
#include "vegmatch/driver.h"

namespace vegmatch {
namespace {

using veg::testing::FakeConsole;
using veg::testing::MemoryFileSystem;

void putReferenceFiles(MemoryFileSystem& fs) {
  fs.put("SPECDICT.txt", {"   2 agro capi", "   1 fest rubr", "   4 plan lanc", "   3 rume acet"});
  fs.put("ASSOCTAB.txt", {"    4    3", "  148  127  1 6  2 6", "    1    1    1",
                          "    2    2    2", "    3    3    4"});
  fs.put("NVCTYPES.txt", {" CG 2a  Test grassland comm.", "  W 1   Test woodland"});
}

// A line made of pieces that mean something somewhere: names, numbers,
// asterisks, signs, letters of the choices, and noise.
std::string randomLine(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      "festuca", "rubra", "agro", "capi", "quer", "robu", "zzz", "f", "*", "**", "*50",
      "* 150", "25", "3.5", "-1", "-0.1", "+", "r", "e", "h", "1", "2", "5", "0", "99",
      "100", "1000", "3276.8", "12345678", ".", "1e3", ",", "COVR%", "BR-BL", "DOMIN",
      "SAMP.txt", "x.txt", "\t", "  ", "", "\xff\xfe", "reset"};
  std::string line;
  int words = static_cast<int>(random() % 7);
  for (int i = 0; i < words; ++i) {
    if (i > 0 && random() % 4 != 0) line += ' ';
    line += pieces[random() % pieces.size()];
  }
  if (random() % 10 == 0) line += std::string(random() % 60, ' ') + "tail";
  return line;
}

std::vector<std::string> randomLines(std::mt19937& random, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(randomLine(random));
  return lines;
}

TEST(RobustnessTest, RandomKeyboardSessionsEndNormally) {
  std::mt19937 random(20261208);
  int reports = 0;
  for (int run = 0; run < 300; ++run) {
    MemoryFileSystem fs;
    putReferenceFiles(fs);
    // Mostly defaults through the set-up, so that most runs reach samples.
    std::vector<std::string> input(random() % 3 == 0 ? 0 : 9, "");
    // Empty lines often, as they close samples and answer questions.
    for (auto& line : randomLines(random, 5 + static_cast<int>(random() % 200)))
      input.push_back(random() % 3 == 0 ? "" : line);
    FakeConsole console(input);
    EXPECT_EQ(0, runVegmatch(console, fs));
    // A run ends when the input ends, or earlier through the end-of-program
    // notice (the exit choice, a missing reference file).
    if (console.unread() > 0) {
      ASSERT_FALSE(console.output.empty());
      EXPECT_EQ("*************************", console.output.back()) << run;
    }
    for (const std::string& line : console.output) ASSERT_LE(line.size(), 80u) << line;
    for (const std::string& line : fs.lines("VEGMOUT.txt")) reports += line.size() == 78;
  }
  // The random sessions do reach the report, not just the set-up.
  EXPECT_GT(reports, 30);
}

TEST(RobustnessTest, RandomDatafilesAreReadToTheEnd) {
  std::mt19937 random(42);
  int reports = 0;
  for (int run = 0; run < 300; ++run) {
    MemoryFileSystem fs;
    putReferenceFiles(fs);
    fs.put("SAMP.txt", randomLines(random, static_cast<int>(random() % 300)));
    std::vector<std::string> input = {"", "", "", "1", "", "", "", "", "5"};
    for (auto& line : randomLines(random, 20)) input.push_back(line);
    FakeConsole console(input);
    EXPECT_EQ(0, runVegmatch(console, fs));
    for (const std::string& line : fs.lines("VEGMOUT.txt")) {
      ASSERT_LE(line.size(), 80u) << line;
      reports += line.size() == 78;
    }
  }
  EXPECT_GT(reports, 100);
}

}  // namespace
}  // namespace vegmatch
