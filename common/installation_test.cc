#include "common/installation.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

using testing::MemoryFileSystem;

constexpr char kInstalled[] = "/opt/suite/bin/../share/vegsuite/data";

// The first line of what opening `name` through `fs` reads, or "(none)".
std::string firstLineOf(FileSystem& fs, const std::string& name) {
  auto file = fs.openExisting(name);
  std::string line = "(none)";
  if (file) file->readLine(line);
  return line;
}

TEST(InstalledDataTest, InstalledDirectoryIsBesideTheProgramsDirectory) {
  EXPECT_EQ(installedDataDirectory("/opt/suite/bin"), kInstalled);
  EXPECT_EQ(installedDataDirectory(""), "");
}

TEST(InstalledDataTest, WorkingDirectoryWinsAndOnlyReferenceFilesFallBack) {
  MemoryFileSystem disk;
  const std::string installed = std::string(kInstalled) + "/";
  disk.put("HELP.txt", {"help of the working directory"});
  disk.put(installed + "HELP.txt", {"installed help"});
  disk.put(installed + "SPECDICT.txt", {"installed dictionary"});
  disk.put(installed + "SAMP.txt", {"not a reference file"});
  disk.put(installed + "NVCTYPES.txt", {"installed types"});
  disk.directories.insert("NVCTYPES.txt");
  InstalledDataFileSystem fs(disk, kInstalled);

  const struct {
    const char* name;
    const char* first_line;
  } cases[] = {
      {"HELP.txt", "help of the working directory"},
      {"SPECDICT.txt", "installed dictionary"},
      {"ASSOCTAB.txt", "(none)"},  // in neither place
      {"SAMP.txt", "(none)"},      // a sample file is the working directory's alone
      {"NVCTYPES.txt", "(none)"},  // there, but a directory: the user's to mend
      {"specdict.txt", "(none)"},
  };
  for (const auto& c : cases) EXPECT_EQ(firstLineOf(fs, c.name), c.first_line) << c.name;
  EXPECT_EQ(fs.kindOf("SPECDICT.txt"), FileKind::kRegular);
  EXPECT_EQ(fs.kindOf("SAMP.txt"), FileKind::kMissing);

  // Writes stay in the working directory.
  auto created = fs.createNew("SPECDICT.txt");
  ASSERT_TRUE(created);
  created->writeLine("new");
  created.reset();
  EXPECT_EQ(disk.lines("SPECDICT.txt"), std::vector<std::string>{"new"});
  EXPECT_EQ(disk.lines(installed + "SPECDICT.txt"),
            std::vector<std::string>{"installed dictionary"});
}

TEST(InstalledDataTest, ReferenceDataLineSaysWhichTablesAreRead) {
  const std::string installed = std::string(kInstalled) + "/";
  MemoryFileSystem disk;
  InstalledDataFileSystem fs(disk, kInstalled);
  EXPECT_EQ(
      fs.referenceDataLine(),
      std::string("reference data: none found (no ASSOCTAB.txt in the working directory or ") +
          kInstalled + ")");
  disk.put(installed + "ASSOCTAB.txt", {"tables"});
  disk.put(installed + "VERSION.txt", {"NVC tables of 2026  "});
  EXPECT_EQ(fs.referenceDataLine(),
            std::string("reference data: NVC tables of 2026 (") + kInstalled + ")");
  // Tables in the working directory are its own, even without a VERSION.txt.
  disk.put("ASSOCTAB.txt", {"tables"});
  EXPECT_EQ(fs.referenceDataLine(), "reference data: version not known (working directory)");
}

TEST(CommandLineTest, OnlyVersionAndHelpAreAnswered) {
  const std::string usage = "usage: decksave [--version | --help]";
  const struct {
    std::vector<std::string> args;
    std::optional<int> status;
    std::vector<std::string> out, errors;
  } cases[] = {
      {{}, std::nullopt, {}, {}},
      {{"--version"}, 0, {"decksave 9.9.9", "second line"}, {}},
      {{"--help"},
       0,
       {usage,
        "Without arguments decksave starts and asks for everything it needs; see man decksave."},
       {}},
      {{"SAMP.txt"}, 2, {}, {"decksave: unknown argument: SAMP.txt", usage}},
      {{"-version"}, 2, {}, {"decksave: unknown argument: -version", usage}},
      {{"--version", "x"}, 2, {}, {"decksave: unknown argument: x", usage}},
  };
  for (const auto& c : cases) {
    MemoryFileSystem disk;
    auto out = disk.createNew("out");
    auto errors = disk.createNew("errors");
    const auto version = [] { return std::vector<std::string>{"decksave 9.9.9", "second line"}; };
    EXPECT_EQ(answerCommandLine("decksave", c.args, version, *out, *errors), c.status);
    out.reset();
    errors.reset();
    EXPECT_EQ(disk.lines("out"), c.out);
    EXPECT_EQ(disk.lines("errors"), c.errors);
  }
}

}  // namespace
}  // namespace veg
