#include "common/converter_files.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

using Lines = std::vector<std::string>;

struct ConverterFilesTest : ::testing::Test {
  veg::testing::FakeConsole console;
  veg::testing::MemoryFileSystem fs;
  std::unique_ptr<veg::TextFile> input, output;
};

TEST_F(ConverterFilesTest, DeckloadDefaultsOpenCornellAndCreateSamp) {
  fs.put("CORNELL.txt", {"TITLE"});
  console.type({"", ""});
  askConverterFiles(console, fs, kDeckloadFileTexts, input, output);
  ASSERT_TRUE(input);
  ASSERT_TRUE(output);
  EXPECT_EQ((Lines{"", "", " Enter name of input datafile in Cornell format",
                   "      or press <RETURN> for default CORNELL.txt", "", "",
                   " Type name of output file (VEGMATCH format)",
                   "      or press <RETURN> for default SAMP.txt"}),
            console.output);
  EXPECT_TRUE(fs.exists("SAMP.txt"));
}

TEST_F(ConverterFilesTest, DecksaveRetriesWithoutThePromptAndNumbersTheDefault) {
  fs.put("SAMP.txt", {"Q1"});
  fs.put("CORNELL.txt", {"keep"});
  console.type({"nofile", "", "SAMP.txt", ""});
  askConverterFiles(console, fs, kDecksaveFileTexts, input, output);
  EXPECT_EQ(
      (Lines{
          "", "", " Enter name of input datafile in VEGMATCH format",
          "      or press <RETURN> for default SAMP.txt", "", "  *** ERROR *** File does not exist",
          " Type another name", "", "", " Type name of output file (Cornell Condensed)",
          "      or press <RETURN> for default CORNELL.txt", "",
          "  *** ERROR *** File already exists", " Type another name, not SAMP.txt            "}),
      console.output);
  EXPECT_TRUE(fs.exists("CORNELL01.txt"));
  EXPECT_EQ(Lines{"keep"}, fs.lines("CORNELL.txt"));
}

TEST_F(ConverterFilesTest, EndOfInputStopsTheDialog) {
  console.type({"missing"});
  EXPECT_THROW(askConverterFiles(console, fs, kDeckloadFileTexts, input, output), veg::StopRun);
}

}  // namespace
}  // namespace veg
