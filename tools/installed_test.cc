// The programs as an installation lays them out (PREFIX/bin and
// PREFIX/share/vegsuite/data), run from a working directory without
// reference files: where each program finds its data, and the command line
// of the three interactive ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/testing/program.h"

namespace {

namespace fs = std::filesystem;
using veg::testing::builtProgram;
using veg::testing::firstDifference;
using veg::testing::ProgramRun;
using veg::testing::putShippedData;
using veg::testing::RunLimits;
using veg::testing::sourceFile;
using Lines = std::vector<std::string>;

const Lines kReferenceFiles = {"SPECDICT.txt",   "ASSOCTAB.txt", "NVCTYPES.txt", "HELP.txt",
                               "VERSION.txt",    "NAMES.txt",    "UNITS.csv",    "HABITATS.csv",
                               "INDICATORS.csv", "FLORISTIC.csv"};

void writeLines(const fs::path& path, const Lines& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << '\n';
}

std::string firstLineOf(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// A prefix in the run's directory holding the four built programs in bin/
// and the shipped data in share/vegsuite/data, and an empty working
// directory beside it.
struct Installation {
  ProgramRun run;
  fs::path prefix, data, work;
  RunLimits in_work;

  Installation() {
    prefix = fs::canonical(run.dir) / "prefix";
    data = prefix / "share/vegsuite/data";
    work = fs::canonical(run.dir) / "work";
    fs::create_directories(prefix / "bin");
    fs::create_directories(data);
    fs::create_directories(work);
    for (const char* program :
         {"vegmatch/vegmatch", "deckload/deckload", "decksave/decksave", "vegfit/vegfit"}) {
      fs::copy_file(builtProgram(program), prefix / "bin" / fs::path(program).filename());
    }
    for (const std::string& name : kReferenceFiles)
      fs::copy_file(sourceFile("data/" + name), data / name);
    in_work.working_dir = work.string();
  }
  std::string program(const std::string& name) const { return (prefix / "bin" / name).string(); }
  Lines workFiles() const {
    Lines names;
    for (const auto& entry : fs::directory_iterator(work))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// Title, help, the end of its one page, then a datafile run of quadrats.txt
// with every default.
const Lines kHelpThenDatafile = {"", "H", "", "", "1", "quadrats.txt", "", "", "", ""};

TEST(InstalledTest, VegmatchReadsTheInstalledCopyOfEveryReferenceFileTheWorkingDirectoryLacks) {
  Installation installed;
  writeLines(installed.data / "HELP.txt", {"HELP OF THE INSTALLATION"});
  fs::copy_file(sourceFile("data/examples/quadrats.txt"), installed.work / "quadrats.txt");
  ASSERT_EQ(0, installed.run.run(installed.program("vegmatch"), {}, kHelpThenDatafile,
                                 installed.in_work));
  const Lines screen = installed.run.screen;
  EXPECT_NE(std::find(screen.begin(), screen.end(),
                      std::string(10, ' ') + "HELP OF THE INSTALLATION" + std::string(36, ' ')),
            screen.end());
  // Nothing was copied into the working directory, nothing of the prefix changed.
  EXPECT_EQ(installed.workFiles(), (Lines{"VEGMOUT.txt", "quadrats.txt"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(installed.data), fs::directory_iterator()),
            static_cast<long>(kReferenceFiles.size()));
  const Lines answers = installed.run.lines("work/VEGMOUT.txt");
  EXPECT_EQ(answers.size(), 13u * 7);

  // The same run with every shipped file in the working directory answers
  // the same, but for the help, which is the working directory's.
  ProgramRun local;
  putShippedData(local);
  local.put("HELP.txt", {"HELP OF THE WORKING DIRECTORY"});
  // The sample file with CRLF line ends, as a Windows editor leaves it.
  Lines crlf = installed.run.lines("work/quadrats.txt");
  for (std::string& line : crlf) line += '\r';
  local.put("quadrats.txt", crlf);
  ASSERT_EQ(0, local.run(installed.program("vegmatch"), kHelpThenDatafile));
  EXPECT_EQ("", firstDifference(answers, local.lines("VEGMOUT.txt")));
  EXPECT_NE(
      std::find(local.screen.begin(), local.screen.end(),
                std::string(10, ' ') + "HELP OF THE WORKING DIRECTORY" + std::string(31, ' ')),
      local.screen.end());
  Lines without_help = screen, local_without_help = local.screen;
  std::erase_if(without_help,
                [](const std::string& l) { return l.find("HELP OF") != std::string::npos; });
  std::erase_if(local_without_help,
                [](const std::string& l) { return l.find("HELP OF") != std::string::npos; });
  EXPECT_EQ("", firstDifference(without_help, local_without_help));
}

TEST(InstalledTest, InteractiveProgramsTakeOnlyVersionOrHelp) {
  Installation installed;
  const std::string data_version = firstLineOf(sourceFile("data/VERSION.txt"));
  const std::string installed_data = (installed.prefix / "bin/../share/vegsuite/data").string();
  const struct {
    const char* program;
    Lines args;
    int status;
    Lines screen, errors;
  } cases[] = {
      {"vegmatch",
       {"--version"},
       0,
       {"vegmatch 1.0.0 (VEGMATCH suite, VEGMATCH Version 2)",
        "reference data: " + data_version + " (" + installed_data + ")"},
       {}},
      {"deckload", {"--version"}, 0, {"deckload 1.0.0 (VEGMATCH suite)"}, {}},
      {"decksave", {"--version"}, 0, {"decksave 1.0.0 (VEGMATCH suite)"}, {}},
      {"decksave",
       {"--help"},
       0,
       {"usage: decksave [--version | --help]",
        "Without arguments decksave starts and asks for everything it needs; see man decksave."},
       {}},
      {"vegmatch",
       {"quadrats.txt"},
       2,
       {},
       {"vegmatch: unknown argument: quadrats.txt", "usage: vegmatch [--version | --help]"}},
      {"deckload",
       {"-v"},
       2,
       {},
       {"deckload: unknown argument: -v", "usage: deckload [--version | --help]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + (c.args.empty() ? "" : c.args[0]));
    EXPECT_EQ(c.status,
              installed.run.run(installed.program(c.program), c.args, {}, installed.in_work));
    EXPECT_EQ(c.screen, installed.run.screen);
    EXPECT_EQ(c.errors, installed.run.errors);
  }
  EXPECT_EQ(installed.workFiles(), Lines{});
  // In a working directory of its own the tables are that directory's.
  fs::copy_file(sourceFile("data/ASSOCTAB.txt"), installed.work / "ASSOCTAB.txt");
  installed.run.run(installed.program("vegmatch"), {"--version"}, {}, installed.in_work);
  EXPECT_EQ(installed.run.screen.back(), "reference data: version not known (working directory)");
}

// vegfit's data: --data DIR, else a data directory beside the program,
// else the installed copy; each told apart by its VERSION.txt.
TEST(InstalledTest, VegfitFindsItsDataInOrder) {
  Installation installed;
  writeLines(installed.data / "VERSION.txt", {"THE INSTALLED COPY"});
  const auto versionLine = [&](const Lines& args) {
    installed.run.run(installed.program("vegfit"), args, {}, installed.in_work);
    return installed.run.screen.size() == 2 ? installed.run.screen[1] : "(no version)";
  };
  EXPECT_EQ(versionLine({"--version"}), "reference data: THE INSTALLED COPY");

  fs::copy_file(sourceFile("data/examples/quadrats.txt"), installed.work / "quadrats.txt");
  ASSERT_EQ(0, installed.run.run(installed.program("vegfit"), {"--top", "1", "quadrats.txt"}, {},
                                 installed.in_work));
  EXPECT_EQ(installed.run.screen.size(), 1u + 13);

  fs::create_directories(installed.prefix / "bin/data");
  for (const char* name : {"SPECDICT.txt", "VERSION.txt"})
    fs::copy(installed.data / name, installed.prefix / "bin/data");
  writeLines(installed.prefix / "bin/data/VERSION.txt", {"BESIDE THE PROGRAM"});
  EXPECT_EQ(versionLine({"--version"}), "reference data: BESIDE THE PROGRAM");

  const fs::path given = installed.work / "given";
  fs::create_directories(given);
  fs::copy(installed.data / "SPECDICT.txt", given);
  writeLines(given / "VERSION.txt", {"GIVEN BY --data"});
  EXPECT_EQ(versionLine({"--data", given.string(), "--version"}),
            "reference data: GIVEN BY --data");
}

}  // namespace
