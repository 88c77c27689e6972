// The built vegmatch under faults: keyboard input that ends at any prompt, a
// run killed at a random moment, a full disk, a working directory where
// nothing can be created, and names that are directories. Whatever happens,
// the run ends normally, nothing finished is lost and nothing is overwritten.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/testing/program.h"

namespace vegmatch {
namespace {

using Lines = std::vector<std::string>;
using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::putShippedData;
using veg::testing::RunLimits;
using veg::testing::sourceFile;

const std::string kProgram = "vegmatch/vegmatch";

RunLimits timeLimit(double seconds) {
  RunLimits limits;
  limits.time_limit_seconds = seconds;
  return limits;
}
RunLimits killAfter(double seconds) {
  RunLimits limits;
  limits.kill_after_seconds = seconds;
  return limits;
}
RunLimits fileSizeLimit(long kib) {
  RunLimits limits;
  limits.file_size_limit_kib = kib;
  return limits;
}
RunLimits workingDir(const std::string& dir) {
  RunLimits limits;
  limits.working_dir = dir;
  return limits;
}

bool contains(const Lines& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

/// True when `part` is what a file that later became `whole` can hold after
/// an interruption: whole lines of `whole`, the last possibly cut short.
bool isInterruptedPrefix(const Lines& part, const Lines& whole) {
  if (part.size() > whole.size()) return false;
  for (std::size_t i = 0; i < part.size(); ++i) {
    const bool last = i + 1 == part.size();
    if (last ? whole[i].compare(0, part[i].size(), part[i]) != 0 : part[i] != whole[i]) {
      return false;
    }
  }
  return true;
}

/// A datafile of `count` samples of 20 species each, drawn from the keys of
/// the shipped dictionary.
Lines bigDatafile(int count) {
  std::ifstream in(sourceFile("data/SPECDICT.txt"));
  Lines keys;
  for (std::string line; std::getline(in, line);) {
    if (line.size() >= 14 && line[5] != ' ' && line[10] != ' ') keys.push_back(line.substr(5, 9));
  }
  std::mt19937 random(7);
  Lines out;
  for (int s = 1; s <= count; ++s) {
    out.push_back("S" + std::to_string(s));
    for (int i = 0; i < 20; ++i) {
      out.push_back(" " + keys[random() % keys.size()] + "  " +
                    std::to_string(1 + random() % 60));
    }
    out.push_back("");
  }
  return out;
}

// Title, help offer, answers file, datafile source, its name, species
// groups, scale, analysis type, number of communities, and RETURN at hold.
const Lines kDatafileRun = {"", "", "", "1", "field.txt", "", "", "", "", ""};

TEST(VegmatchFaultTest, EndOfInputAtEveryPromptEndsTheRunNormally) {
  // A keyboard session through help, two samples, a reset and the exit.
  const Lines session = {"",     "H",  "",   "",    "",   "",     "",  "",     "",
                         "",     "",   "",   "",    "",   "",     "",  "Q1",   "fest rubr 25",
                         "call vulg 50", "", "",    "r",  "2",    "2", "Q2",   "agro capi 3",
                         "",     "",   "e",  ""};
  ProgramRun whole;
  putShippedData(whole);
  ASSERT_EQ(0, whole.run(builtProgram(kProgram), session));
  const Lines answers = whole.lines("VEGMOUT.txt");
  ASSERT_FALSE(answers.empty());

  for (std::size_t k = 0; k < session.size(); ++k) {
    ProgramRun run;
    putShippedData(run);
    const Lines input(session.begin(), session.begin() + static_cast<long>(k));
    ASSERT_EQ(0, run.run(builtProgram(kProgram), input, timeLimit(10)))
        << "input ended after " << k << " lines";
    EXPECT_FALSE(run.exists(".stderr")) << k;
    EXPECT_TRUE(isInterruptedPrefix(run.lines("VEGMOUT.txt"), answers)) << k;
    const Lines record = run.lines("SAMP.txt");
    if (!record.empty()) {
      EXPECT_EQ("", record.back()) << "record block left open at " << k;
    }
  }
}

TEST(VegmatchFaultTest, RunKilledAtARandomMomentKeepsEveryFinishedSample) {
  const Lines datafile = bigDatafile(6000);
  ProgramRun whole;
  putShippedData(whole);
  whole.put("field.txt", datafile);
  // The length of a whole run sets the range of moments to kill at.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(0, whole.run(builtProgram(kProgram), kDatafileRun));
  const double length =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const Lines answers = whole.lines("VEGMOUT.txt");
  ASSERT_GT(answers.size(), 6000u * 6);

  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 3; ++attempt) {
    ProgramRun run;
    putShippedData(run);
    run.put("field.txt", datafile);
    const double after = length * std::uniform_real_distribution<double>(0.1, 0.9)(random);
    // On a busy machine the kill may come too late; the run has then ended
    // normally and its file is whole.
    const int status = run.run(builtProgram(kProgram), kDatafileRun, killAfter(after));
    EXPECT_TRUE(status == -1 || status == 0) << status;
    const Lines kept = run.lines("VEGMOUT.txt");
    EXPECT_TRUE(isInterruptedPrefix(kept, answers))
        << "killed after " << after << " s of " << length << " s, " << kept.size() << " lines";
  }
}

TEST(VegmatchFaultTest, FullDiskIsReportedWithTheFileName) {
  ProgramRun run;
  putShippedData(run);
  run.put("field.txt", bigDatafile(400));
  ASSERT_EQ(0, run.run(builtProgram(kProgram), kDatafileRun, fileSizeLimit(8)));
  EXPECT_TRUE(contains(run.screen, "  *** ERROR *** Cannot write file VEGMOUT.txt")) ;
  EXPECT_TRUE(contains(run.screen, " File too large"));
  EXPECT_TRUE(contains(run.screen, " The file is incomplete"));
  EXPECT_EQ("*************************", run.screen.back());
  EXPECT_LE(std::filesystem::file_size(run.dir + "/VEGMOUT.txt"), 8192u);
}

// A keyboard session of `count` samples of `species` names each, taken in
// turn from the keys of the shipped dictionary, covers 1 to 50.
Lines keyboardSession(int count, int species) {
  std::ifstream in(sourceFile("data/SPECDICT.txt"));
  Lines keys;
  for (std::string line; std::getline(in, line);) {
    if (line.size() >= 14 && line[5] != ' ' && line[10] != ' ') keys.push_back(line.substr(5, 9));
  }
  Lines session(9, "");  // the set-up: every default
  std::size_t k = 0;
  for (int s = 1; s <= count; ++s) {
    session.push_back("Q" + std::to_string(s));
    for (int i = 0; i < species; ++i, ++k) {
      session.push_back(keys[k % keys.size()] + " " + std::to_string(1 + k % 50));
    }
    // The end of the sample, RETURN at its recap and after its answers.
    session.insert(session.end(), {"", "", ""});
  }
  session.insert(session.end(), {"e", ""});
  return session;
}

// Under a file-size limit of 4 KiB, samples of 28 species make the answers
// file meet the limit first, in the sample whose record block takes the
// record-of-entry file past it too: both files are named, the record file,
// the only copy of the typed samples, as well as the answers file.
TEST(VegmatchFaultTest, EveryFileThatCannotBeWrittenWholeIsNamed) {
  ProgramRun run;
  putShippedData(run);
  ASSERT_EQ(0, run.run(builtProgram(kProgram), keyboardSession(20, 28), fileSizeLimit(4)));
  const auto answers =
      std::find(run.screen.begin(), run.screen.end(), "  *** ERROR *** Cannot write file VEGMOUT.txt");
  const auto record =
      std::find(run.screen.begin(), run.screen.end(), "  *** ERROR *** Cannot write file SAMP.txt");
  ASSERT_NE(run.screen.end(), answers);
  ASSERT_NE(run.screen.end(), record);
  EXPECT_LT(answers, record);
  EXPECT_EQ(" The file is incomplete", *(record + 2));
  EXPECT_EQ(1, std::count(run.screen.begin(), run.screen.end(),
                          "  *** ERROR *** Cannot write file VEGMOUT.txt"));
  EXPECT_EQ("*************************", run.screen.back());
  EXPECT_EQ(4096u, std::filesystem::file_size(run.dir + "/SAMP.txt"));
  EXPECT_EQ(4096u, std::filesystem::file_size(run.dir + "/VEGMOUT.txt"));
}

// Names longer than 20 characters are used whole in each file question of
// the set-up, never the file of their first 20 characters.
TEST(VegmatchFaultTest, LongFileNamesAreUsedWhole) {
  const std::string answers = "answers-of-the-upland-survey.txt";
  const std::string datafile = "quadrats-of-the-upland-survey.txt";
  const std::string record = "record-of-the-upland-survey.txt";
  ProgramRun run;
  putShippedData(run);
  run.put(datafile, {"Q1", " fest rubr  25", ""});
  run.put(datafile.substr(0, 20), {"NOTTHIS", " call vulg  25", ""});
  ASSERT_EQ(0, run.run(builtProgram(kProgram),
                       {"", "", answers, "1", datafile, "", "", "", "", ""}));
  const Lines written = run.lines(answers);
  ASSERT_GE(written.size(), 2u);
  EXPECT_EQ(" Sample Q1", written[1].substr(0, 10));
  EXPECT_FALSE(run.exists(answers.substr(0, 20)));

  ASSERT_EQ(0, run.run(builtProgram(kProgram),
                       {"", "", "", "0", record, "", "", "", "", "Q2", "fest rubr 25", "", "",
                        "e", ""}));
  EXPECT_EQ((Lines{"Q2           COVR%", " fest rubr    25", ""}), run.lines(record));
  EXPECT_FALSE(run.exists(record.substr(0, 20)));
}

TEST(VegmatchFaultTest, WorkingDirectoryWhereNothingCanBeCreated) {
  ProgramRun run;
  // Root may write anywhere on a writable file system, but not in /proc.
  std::string where = "/proc";
  if (geteuid() != 0) {
    where = run.dir + "/locked";
    std::filesystem::create_directory(where);
    std::filesystem::permissions(where, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_exec);
  }
  ASSERT_EQ(0, run.run(builtProgram(kProgram), Lines(4, ""), workingDir(where)));
  EXPECT_TRUE(contains(run.screen,
                       "  *** ERROR *** Cannot create VEGMOUT.txt or any numbered variant of it"));
  EXPECT_EQ("*************************", run.screen.back());
  std::filesystem::permissions(where, std::filesystem::perms::owner_all);
}

TEST(VegmatchFaultTest, NamesThatAreDirectoriesAreAnsweredWithTheReason) {
  ProgramRun run;
  putShippedData(run);
  std::filesystem::create_directory(run.dir + "/field.txt");
  run.put("real.txt", {"Q1", " fest rubr  25", ""});
  Lines input = {"", "", "", "1", "field.txt", "real.txt", "", "", "", "", ""};
  ASSERT_EQ(0, run.run(builtProgram(kProgram), input));
  const auto at = std::find(run.screen.begin(), run.screen.end(),
                            "  *** ERROR *** That name is a directory, not a file");
  ASSERT_NE(run.screen.end(), at);
  EXPECT_EQ(" Type another name", *(at + 1));
  const Lines answers = run.lines("VEGMOUT.txt");
  ASSERT_GE(answers.size(), 2u);
  EXPECT_EQ(" Sample Q1", answers[1].substr(0, 10));

  ProgramRun broken;
  putShippedData(broken);
  std::filesystem::remove(broken.dir + "/SPECDICT.txt");
  std::filesystem::create_directory(broken.dir + "/SPECDICT.txt");
  ASSERT_EQ(0, broken.run(builtProgram(kProgram), Lines(10, "")));
  EXPECT_TRUE(contains(broken.screen, "  *** Error *** file not found"));
  EXPECT_FALSE(contains(broken.screen, " Unknown species number     1 in data"));
}

}  // namespace
}  // namespace vegmatch
