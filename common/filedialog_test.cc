#include "common/filedialog.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

using Lines = std::vector<std::string>;

struct FileDialogTest : ::testing::Test {
  testing::FakeConsole console;
  testing::MemoryFileSystem fs;
  std::string name;
};

TEST_F(FileDialogTest, NameIsHeldInTwentyColumns) {
  console.type({"a-rather-long-file-name.txt", "x"});
  EXPECT_EQ("a-rather-long-file-n", askFileName(console));
  EXPECT_EQ("x                   ", askFileName(console));
}

TEST_F(FileDialogTest, BlankReplyOpensTheDefaultAndRetriesMayTakeItAgain) {
  fs.put("CORNELL.txt", {"title"});
  console.type({"nothing.txt", ""});
  auto file = askExistingFile(console, fs, {.default_name = "CORNELL.txt"}, name);
  ASSERT_TRUE(file);
  EXPECT_EQ("CORNELL.txt         ", name);
  EXPECT_EQ((Lines{"", "  *** ERROR *** File does not exist", " Type another name"}),
            console.output);
}

TEST_F(FileDialogTest, WithoutDefaultOnRetryABlankReplyFailsAgain) {
  fs.put("SAMP.txt", {});
  fs.put("mine.txt", {});
  console.type({"missing", "", "mine.txt"});
  auto file = askExistingFile(
      console, fs, {.default_name = "SAMP.txt", .default_on_retry = false}, name);
  ASSERT_TRUE(file);
  EXPECT_EQ("mine.txt            ", name);
  EXPECT_EQ(6u, console.output.size());
}

TEST_F(FileDialogTest, ExistingFileQuestionEndsAtEndOfInput) {
  console.type({"missing"});
  EXPECT_THROW(askExistingFile(console, fs, {.default_name = "X.txt"}, name), StopRun);
}

TEST_F(FileDialogTest, NewFileRefusesATakenNameAndRepeatsIt) {
  fs.put("old.txt", {"keep me"});
  console.type({"old.txt", "new.txt"});
  auto file = askNewFile(console, fs, {.default_name = "SAMP.txt"}, name);
  ASSERT_TRUE(file);
  EXPECT_EQ("new.txt             ", name);
  EXPECT_EQ((Lines{"", "  *** ERROR *** File already exists",
                   " Type another name, not old.txt             "}),
            console.output);
  EXPECT_EQ(Lines{"keep me"}, fs.lines("old.txt"));
}

TEST_F(FileDialogTest, NewFileBlankReplyTakesTheFirstFreeNumberedDefault) {
  fs.put("SAMP.txt", {"keep me"});
  console.type({"SAMP.txt", ""});
  auto file = askNewFile(console, fs, {.default_name = "SAMP.txt"}, name);
  ASSERT_TRUE(file);
  EXPECT_EQ("SAMP01.txt          ", name);
  EXPECT_TRUE(fs.exists("SAMP01.txt"));
  EXPECT_EQ(Lines{"keep me"}, fs.lines("SAMP.txt"));
}

TEST_F(FileDialogTest, NewFileWithoutDefaultOnRetryNamesNoRejectedName) {
  fs.put("taken", {});
  console.type({"taken", "", "free"});
  auto file = askNewFile(
      console, fs,
      {.default_name = "SAMP.txt", .default_on_retry = false, .repeat_rejected = false}, name);
  ASSERT_TRUE(file);
  EXPECT_EQ("free                ", name);
  EXPECT_FALSE(fs.exists("SAMP.txt"));
  EXPECT_EQ((Lines{"", "  *** ERROR *** File already exists", " Type another name", "",
                   "  *** ERROR *** File already exists", " Type another name"}),
            console.output);
}

TEST_F(FileDialogTest, NewFileStopsWhenNoVariantOfTheDefaultCanBeCreated) {
  fs.uncreatable.insert("SAMP.txt");
  for (int i = 1; i <= 98; ++i) {
    fs.uncreatable.insert("SAMP" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".txt");
  }
  console.type({"", ""});
  EXPECT_THROW(askNewFile(console, fs, {.default_name = "SAMP.txt"}, name), StopRun);
  ASSERT_GE(console.output.size(), 2u);
  EXPECT_EQ("  *** ERROR *** Cannot create SAMP.txt or any numbered variant of it",
            console.output[1]);
  EXPECT_EQ(0u, console.unread());
}

}  // namespace
}  // namespace veg
