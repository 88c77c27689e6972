// The example sample files of data/examples, run unattended through the
// built vegmatch with the shipped reference files, as the README shows.
#include <gtest/gtest.h>

#include <map>

#include "common/testing/program.h"

namespace {

using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::putShippedData;
using veg::testing::sourceFile;
using Lines = std::vector<std::string>;

// A run in datafile mode with every default: title, help offer, answers
// file, input source 1 (datafile), its name, species groups, scale,
// analysis type, number of communities (5).
Lines datafileRun(const std::string& datafile) { return {"", "", "", "1", datafile, "", "", "", ""}; }

// The habitat group each quadrat of quadrats.txt was put together from.
const std::vector<std::pair<std::string, std::string>> kQuadrats = {
    {"HEATH1", "H"},  {"WETHEATH", "M"}, {"BOG1", "M"},    {"DOWNLAND", "CG"}, {"PASTURE", "MG"},
    {"ACIDGRAS", "U"}, {"OAKWOOD", "W"},  {"ASHWOOD", "W"}, {"SALTMRSH", "SM"}, {"DUNE1", "SD"},
    {"REEDBED", "S"}, {"CLIFFTOP", "MC"}, {"POND1", "A"},
};

std::string trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

TEST(ExampleTest, EveryQuadratIsIdentifiedInItsHabitatGroup) {
  ProgramRun run;
  putShippedData(run);
  run.copy(sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileRun("quadrats.txt")));

  // The file holds the quadrats, in order, each block a header and species.
  Lines headers;
  bool blockStart = true;
  for (const std::string& line : run.lines("quadrats.txt")) {
    if (blockStart) headers.push_back(trim(line.substr(0, 8)));
    blockStart = line.empty();
  }
  Lines names;
  for (const auto& [name, group] : kQuadrats) names.push_back(name);
  ASSERT_EQ(names, headers);

  // Per sample the answers hold an empty line, the sample line and five
  // table lines; a table line has the NVC code in columns 10-15 and the fit
  // in 16-18, and no line is a notice of a name not in the dictionary.
  Lines answers = run.lines("VEGMOUT.txt");
  ASSERT_EQ(kQuadrats.size() * 7, answers.size());
  for (std::size_t s = 0; s < kQuadrats.size(); ++s) {
    const auto& [name, group] = kQuadrats[s];
    SCOPED_TRACE(name);
    EXPECT_EQ("", answers[s * 7]);
    EXPECT_EQ(" Sample " + name + std::string(8 - name.size(), ' '), answers[s * 7 + 1].substr(0, 16));
    const std::string& best = answers[s * 7 + 2];
    ASSERT_EQ(78u, best.size()) << best;
    std::string code = best.substr(9, 6);
    EXPECT_EQ(group, trim(code.substr(0, 2))) << best;
    EXPECT_GE(std::stoi(best.substr(15, 3)), 60) << "a fit of fair or better: " << best;
  }
  for (const std::string& line : answers) EXPECT_EQ(std::string::npos, line.find("***")) << line;
  EXPECT_EQ("*************************", run.screen.back());
}

// The same quadrats as a Cornell condensed file (species names of four and
// four letters): deckload turns it into a sample file with no warning, and
// vegmatch identifies every quadrat in its habitat group again.
TEST(ExampleTest, CornellExampleConvertsAndIsIdentified) {
  ProgramRun run;
  putShippedData(run);
  run.copy(sourceFile("data/examples/quadrats.cornell"), "CORNELL.txt");
  ASSERT_EQ(0, run.run(builtProgram("deckload/deckload"), {"", "", ""}));
  for (const std::string& line : run.screen) {
    EXPECT_EQ(std::string::npos, line.find("BEWARE")) << line;
    EXPECT_EQ(std::string::npos, line.find("rror")) << line;
  }
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileRun("SAMP.txt")));
  Lines answers = run.lines("VEGMOUT.txt");
  ASSERT_EQ(kQuadrats.size() * 7, answers.size());
  for (std::size_t s = 0; s < kQuadrats.size(); ++s) {
    const auto& [name, group] = kQuadrats[s];
    EXPECT_EQ(" Sample " + name + std::string(8 - name.size(), ' '),
              answers[s * 7 + 1].substr(0, 16));
    EXPECT_EQ(group, trim(answers[s * 7 + 2].substr(9, 2))) << answers[s * 7 + 2];
  }
  for (const std::string& line : answers) EXPECT_EQ(std::string::npos, line.find("***")) << line;
}

// The same quadrat with the cells of a spreadsheet: name, epithet and cover
// separated by tabs.
TEST(ExampleTest, TabSeparatedLinesGiveTheSameResult) {
  ProgramRun run;
  putShippedData(run);
  run.put("plain.txt", {"Q1           COVR%", " Calluna vulgaris 60", " Vaccinium myrtillus 20",
                        " Deschampsia flexuosa 5", " Pleurozium schreberi 8", ""});
  run.put("tabbed.txt", {"Q1           COVR%", "Calluna\tvulgaris\t60", "Vaccinium\tmyrtillus\t20",
                         "Deschampsia\tflexuosa\t5", "Pleurozium\tschreberi\t8", ""});
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileRun("plain.txt")));
  Lines plain = run.lines("VEGMOUT.txt");
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), datafileRun("tabbed.txt")));
  EXPECT_EQ(7u, plain.size());
  EXPECT_EQ(plain, run.lines("VEGMOUT01.txt"));
}

// A datafile whose scale label names another scale than the one in force
// stops at the parameter question; piped input then needs the answers.
TEST(ExampleTest, ScaleLabelOfAnotherScaleAsksForTheParameters) {
  ProgramRun run;
  putShippedData(run);
  run.put("mixed.txt", {"Q1           DOMIN", " Calluna vulgaris 9", "", "Q2           COVR%",
                        " Calluna vulgaris 60", ""});
  // Domin chosen at the set-up: Q1 runs, Q2 stops at the question.
  Lines input = datafileRun("mixed.txt");
  input[6] = "3";
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), input));
  Lines answers = run.lines("VEGMOUT.txt");
  ASSERT_EQ(7u, answers.size());
  EXPECT_EQ(" Sample Q1      ", answers[1].substr(0, 16));
  bool asked = false;
  for (const std::string& line : run.screen)
    asked = asked || line == " Cover scale is set to DOMIN but input data are COVR%";
  EXPECT_TRUE(asked);

  // With RETURN, % cover (1) and the analysis type kept, both samples run.
  input.insert(input.end(), {"", "1", ""});
  ASSERT_EQ(0, run.run(builtProgram("vegmatch/vegmatch"), input));
  Lines both = run.lines("VEGMOUT01.txt");
  ASSERT_EQ(14u, both.size());
  EXPECT_EQ(" Sample Q2      ", both[8].substr(0, 16));
}

}  // namespace
