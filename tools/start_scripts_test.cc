// The README's commands against the start scripts. The folder the start
// command builds in is the first one each start script searches, the
// converters' build command builds there too, and no command switches the
// tests off in the folder the test command runs them from. Then both
// scripts run in a copy of the tree whose only build is a build-run/ as
// those commands leave it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/testing/program.h"

namespace {

namespace fs = std::filesystem;
using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::sourceFile;
using Lines = std::vector<std::string>;

std::string textOf(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The command lines of README.md: its lines indented by four blanks.
Lines readmeCommands() {
  std::ifstream in(sourceFile("README.md"));
  Lines commands;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("    ", 0) == 0 && line.find_first_not_of(' ') != std::string::npos) {
      commands.push_back(line.substr(line.find_first_not_of(' ')));
    }
  }
  return commands;
}

// The word after the first `flag` of `command`; empty when there is none.
std::string wordAfter(const std::string& command, const std::string& flag) {
  const std::size_t at = command.find(flag + " ");
  if (at == std::string::npos) return "";
  const std::size_t start = at + flag.size() + 1;
  return command.substr(start, command.find(' ', start) - start);
}

// The first command holding every one of `parts`.
std::string commandWith(const Lines& commands, const Lines& parts) {
  for (const std::string& command : commands) {
    bool all = true;
    for (const std::string& part : parts) all = all && command.find(part) != std::string::npos;
    if (all) return command;
  }
  return "";
}

TEST(StartScriptsTest, ReadmeCommandsBuildWhereTheScriptsAndTheTestsLook) {
  const Lines commands = readmeCommands();
  const std::string start = commandWith(commands, {"cmake -S", "tools/start-vegmatch.sh"});
  ASSERT_NE("", start);
  const std::string folder = wordAfter(start, "-B");
  EXPECT_EQ("build-run", folder);
  EXPECT_NE("", commandWith(commands, {"cmake --build " + folder, "--target", "deckload"}));
  for (const char* script : {"tools/start-vegmatch.sh", "tools/start-deckload.sh"}) {
    const std::string text = textOf(sourceFile(script));
    const std::size_t first = text.find("\"$top/" + folder + "\"");
    EXPECT_NE(std::string::npos, first) << script;
    EXPECT_LT(first, text.find("\"$top/build\"")) << script;
  }

  const std::string tests = commandWith(commands, {"ctest --test-dir"});
  const std::string test_folder = wordAfter(tests, "--test-dir");
  EXPECT_EQ("build", test_folder);
  for (const std::string& command : commands) {
    if (command.find("-DVEG_TESTS=OFF") != std::string::npos) {
      EXPECT_NE(test_folder, wordAfter(command, "-B")) << command;
    }
  }
}

TEST(StartScriptsTest, ScriptsStartWhatTheStartCommandBuilds) {
  ProgramRun tree;
  const std::string top = tree.dir;
  for (const char* folder : {"tools", "data", "build-run/vegmatch", "build-run/deckload"}) {
    fs::create_directories(top + "/" + folder);
  }
  for (const char* script : {"start-vegmatch.sh", "start-deckload.sh"}) {
    fs::copy_file(sourceFile(std::string("tools/") + script), top + "/tools/" + script);
  }
  for (const char* name :
       {"SPECDICT.txt", "ASSOCTAB.txt", "NVCTYPES.txt", "HELP.txt", "VERSION.txt"}) {
    fs::copy_file(sourceFile(std::string("data/") + name), top + "/data/" + name);
  }
  for (const char* program : {"vegmatch/vegmatch", "deckload/deckload"}) {
    fs::create_symlink(builtProgram(program), top + "/build-run/" + program);
  }
  tree.put("meadow.cornell",
           {"MEADOW", "(i4,2x,7(i5,f5.1))" + std::string(50, ' ') + " 7",
            "   1      1 25.0    2  3.0", "   0", "FestrubrAgrocapi", "Q1"});

  ASSERT_EQ(0, tree.run(top + "/tools/start-deckload.sh", {top + "/meadow.cornell"},
                        {"meadow.cornell", "", ""}, veg::testing::RunLimits{}));
  EXPECT_EQ(Lines{}, tree.errors);
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr    25.0", " Agro capi     3.0", ""}),
            tree.lines("run/SAMP.txt"));

  ASSERT_EQ(0, tree.run(top + "/tools/start-vegmatch.sh",
                        {"", "", "", "1", "SAMP.txt", "", "", "", "", ""}));
  EXPECT_EQ(Lines{}, tree.errors);
  const Lines answers = tree.lines("run/VEGMOUT.txt");
  ASSERT_GE(answers.size(), 2u);
  EXPECT_EQ(" Sample Q1", answers[1].substr(0, 10));
}

}  // namespace
