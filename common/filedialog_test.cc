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

TEST_F(FileDialogTest, ShortNamesAreHeldInTwentyColumnsLongerOnesWhole) {
  console.type({"a-rather-long-file-name.txt", "x", "exactly-twenty-chars  ", "  lead  "});
  EXPECT_EQ("a-rather-long-file-name.txt", askFileName(console));
  EXPECT_EQ("x                   ", askFileName(console));
  EXPECT_EQ("exactly-twenty-chars", askFileName(console));
  EXPECT_EQ("  lead              ", askFileName(console));
}

// A name beyond 20 characters opens and creates the file of that whole
// name, never one of its first 20 characters; it is echoed whole.
TEST_F(FileDialogTest, LongNamesAreUsedWhole) {
  const std::string in = "survey-2026-upland-plots.txt";
  const std::string out = "survey-2026-upland-plots.cornell";
  fs.put(in, {"Q1"});
  fs.put(in.substr(0, 20), {"the wrong file"});
  fs.put(out, {"keep"});
  console.type({in, out, out + "2"});
  auto file = askExistingFile(console, fs, {.default_name = "SAMP.txt"}, name);
  ASSERT_TRUE(file);
  EXPECT_EQ(in, name);
  std::string line;
  ASSERT_TRUE(file->readLine(line));
  EXPECT_EQ("Q1", line);
  ASSERT_TRUE(askNewFile(console, fs, {.default_name = "CORNELL.txt"}, name));
  EXPECT_EQ(out + "2", name);
  EXPECT_EQ((Lines{"", "  *** ERROR *** File already exists", " Type another name, not " + out}),
            console.output);
  EXPECT_EQ(Lines{"keep"}, fs.lines(out));
  EXPECT_EQ(Lines{"the wrong file"}, fs.lines(in.substr(0, 20)));
}

// Each name that cannot be used is answered with its reason, on both
// questions; 255 characters are a name, 256 are not.
TEST_F(FileDialogTest, NamesThatCannotBeUsedAreAnsweredWithTheReason) {
  const std::string longest(255, 'n');
  const std::string too_long(256, 'n');
  fs.directories.insert("plots");
  fs.devices.insert("zero");
  fs.uncreatable.insert("nodir/x.txt");
  fs.put(longest, {});
  console.type({too_long, "plots", "zero", "missing", longest});
  ASSERT_TRUE(askExistingFile(console, fs, {.default_name = "SAMP.txt"}, name));
  EXPECT_EQ(longest, name);
  const Lines retry = {" Type another name"};
  EXPECT_EQ((Lines{"", "  *** ERROR *** File name longer than 255 characters", retry[0], "",
                   "  *** ERROR *** That name is a directory, not a file", retry[0], "",
                   "  *** ERROR *** That name is a device or a pipe, not a file", retry[0], "",
                   "  *** ERROR *** File does not exist", retry[0]}),
            console.take());

  console.type({too_long, "plots", "zero", "nodir/x.txt", "new.txt"});
  ASSERT_TRUE(askNewFile(console, fs, {.default_name = "SAMP.txt", .repeat_rejected = false},
                         name));
  EXPECT_EQ("new.txt             ", name);
  EXPECT_EQ((Lines{"", "  *** ERROR *** File name longer than 255 characters", retry[0], "",
                   "  *** ERROR *** That name is a directory, not a file", retry[0], "",
                   "  *** ERROR *** That name is a device or a pipe, not a file", retry[0], "",
                   "  *** ERROR *** File cannot be created (no such folder, or no permission)",
                   retry[0]}),
            console.take());
  EXPECT_FALSE(fs.exists(too_long));
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
