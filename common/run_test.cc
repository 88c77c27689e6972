#include "common/run.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

using Lines = std::vector<std::string>;

const Lines kHold = {"", "", "", "", "*** Program finished  ***", "", "", "Press <RETURN> to exit",
                     "", "", "*************************"};

TEST(RunProgramTest, NormalStopRunsFinish) {
  testing::FakeConsole console;
  int finished = 0;
  EXPECT_EQ(0, runProgram(console, [] { throw StopRun{}; }, [&] { ++finished; }));
  EXPECT_EQ(1, finished);
  EXPECT_TRUE(console.output.empty());
}

TEST(RunProgramTest, FailedWriteIsReportedWithTheFileNameThenHold) {
  testing::FakeConsole console({""});
  testing::MemoryFileSystem fs;
  fs.write_limit["VEGMOUT.txt"] = 1;
  auto file = fs.createNew("VEGMOUT.txt");
  int finished = 0;
  EXPECT_EQ(0, runProgram(
                   console,
                   [&] {
                     file->writeLine("first");
                     file->writeLine("second");
                   },
                   [&] { ++finished; }));
  Lines expected = {"", "", "  *** ERROR *** Cannot write file VEGMOUT.txt",
                    " No space left on device", " The file is incomplete"};
  expected.insert(expected.end(), kHold.begin(), kHold.end());
  EXPECT_EQ(expected, console.output);
  // The other files are still pushed to disk after the failure.
  EXPECT_EQ(1, finished);
  EXPECT_EQ(Lines{"first"}, fs.lines("VEGMOUT.txt"));
}

// The answers file fails first: the record file is still flushed, and when
// that fails too it is named as well, each file once, before one `hold`.
TEST(RunProgramTest, EveryFileThatFailsIsNamedOnce) {
  testing::FakeConsole console({""});
  const FileError answers{"ANS.txt", true, "File too large"};
  const FileError record{"SAMP.txt", true, "File too large"};
  std::vector<std::string> steps;
  EXPECT_EQ(0, runProgram(
                   console, [&] { throw answers; },
                   {[&] {
                      steps.push_back("answers");
                      throw answers;
                    },
                    [&] {
                      steps.push_back("record");
                      throw record;
                    }}));
  EXPECT_EQ((std::vector<std::string>{"answers", "record"}), steps);
  Lines expected = {"",
                    "",
                    "  *** ERROR *** Cannot write file ANS.txt",
                    " File too large",
                    " The file is incomplete",
                    "",
                    "",
                    "  *** ERROR *** Cannot write file SAMP.txt",
                    " File too large",
                    " The file is incomplete"};
  expected.insert(expected.end(), kHold.begin(), kHold.end());
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ(0u, console.unread());
}

TEST(RunProgramTest, FailedFinishIsReportedAndEndOfInputAtHoldIsANormalEnd) {
  testing::FakeConsole console;
  EXPECT_EQ(0, runProgram(
                   console, [] {}, [] { throw FileError{"SAMP.txt", false, "Is a directory"}; }));
  ASSERT_GE(console.output.size(), 4u);
  EXPECT_EQ("  *** ERROR *** Cannot read file SAMP.txt", console.output[2]);
  EXPECT_EQ(" Is a directory", console.output[3]);
}

TEST(RunProgramTest, ReportLinesStayWithinEightyColumns) {
  testing::FakeConsole console;
  reportFileError(console, {std::string(100, 'n'), true, std::string(100, 'r')});
  for (const auto& line : console.output) EXPECT_LE(line.size(), 80u) << line;
}

TEST(MemoryFileSystemTest, ReadLimitFailsLikeAReadError) {
  testing::MemoryFileSystem fs;
  fs.put("SAMP.txt", {"a", "b"});
  fs.read_limit["SAMP.txt"] = 1;
  auto file = fs.openExisting("SAMP.txt");
  std::string line;
  ASSERT_TRUE(file->readLine(line));
  EXPECT_THROW(file->readLine(line), FileError);
}

}  // namespace
}  // namespace veg
