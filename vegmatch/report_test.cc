#include "vegmatch/report.h"

#include <gtest/gtest.h>

#include "vegmatch/testing/fixture.h"

namespace vegmatch {
namespace {

struct ReportTest : ::testing::Test, testing::Fixture {
  std::array<short, kMaxOutput + 1> top{};

  void SetUp() override {
    openAnswers();
    tables->n_communities = 3;
    community(1, "CG 2a ", "Festuca-Avenula grassl. ", "Dicranum scopar.", "E1.26   ",
              "Subatlantic semi-dry gra", {0.7f, 0.98f, 0.65f, 1.0f, 0.72f});
    community(2, " W 1  ", "Salix cinerea-Galium pal", "                ", "G1.41   ",
              "Alder swamp woods not on", {0.5f, 0.4f, 0.3f, 0.2f, 0.1f});
    community(3, " A 2  ", "Lemna minor community   ", "                ", "C1.32   ",
              "Free-floating veg. eutro", {0.00009f, 0.5f, 0.5f, 0.5f, 0.5f});
    top[1] = 1, top[2] = 2, top[3] = 3;
  }

  void community(int k, const char* code, const char* name, const char* sub, const char* eunis,
                 const char* eunis_name, std::array<float, 5> values) {
    tables->cross_reference.nvc_code[k] = code;
    tables->cross_reference.community_name[k] = name;
    tables->cross_reference.subcommunity_name[k] = sub;
    tables->cross_reference.eunis_code[k] = eunis;
    tables->cross_reference.eunis_name[k] = eunis_name;
    tables->scores.fit_score[k] = values[0];
    tables->scores.community_composition_fit[k] = values[1];
    tables->scores.sample_composition_fit[k] = values[2];
    tables->scores.community_cover_fit[k] = values[3];
    tables->scores.sample_cover_fit[k] = values[4];
  }
};

const char kLine1[] =
    " E1.26   CG 2a  70 | 98  65 100  72| Festuca-Avenula grassl.  Dicranum scopar.";
const char kLine2[] =
    " G1.41    W 1   50 | 40  30  20  10| Salix cinerea-Galium pal                 ";
const char kLine3[] =
    "                 0 | 50  50  50  50|                                          ";

TEST_F(ReportTest, TableLineColumns) {
  EXPECT_EQ(kLine1, tableLine(*tables, 1, 1));
  EXPECT_EQ(78u, tableLine(*tables, 1, 1).size());
  EXPECT_EQ(kLine2, tableLine(*tables, 2, 1));
}

TEST_F(ReportTest, CommunityBelowTheThresholdShowsNoTexts) {
  EXPECT_EQ(kLine3, tableLine(*tables, 3, 1));
}

TEST_F(ReportTest, FitOfExactlyTheThresholdShowsTheTexts) {
  // Only a fit strictly below 0.0001 hides the code and names.
  tables->scores.fit_score[3] = 0.0001f;
  EXPECT_EQ(" C1.32    A 2    0 | 50  50  50  50| Lemna minor community    " + std::string(16, ' '),
            tableLine(*tables, 3, 1));
}

TEST_F(ReportTest, UnusedColumnsAreZeroedByAnalysisType) {
  // Columns: fit | community composition, sample composition, community
  // cover, sample cover.
  EXPECT_EQ(" 70 | 98  65   0   0|", tableLine(*tables, 1, 2).substr(15, 21));
  EXPECT_EQ(" 70 |  0  65 100  72|", tableLine(*tables, 1, 3).substr(15, 21));
  EXPECT_EQ(" 70 |  0  65   0   0|", tableLine(*tables, 1, 4).substr(15, 21));
  EXPECT_EQ(" 70 |  0  65 100  72|", tableLine(*tables, 1, 5).substr(15, 21));
}

TEST_F(ReportTest, DatafileRunWritesTheAnswersFileOnly) {
  writeAnswers(io, *tables, top, 3, 0, "Q1      ", settings);
  EXPECT_TRUE(console.output.empty());
  EXPECT_EQ((std::vector<std::string>{kLine1, kLine2, kLine3}), fs.lines("VEGMOUT.txt"));
}

std::vector<std::string> choice() {
  return {"", "", "", "", "", " Press <RETURN> to continue", "   or type r to reset parameters",
          "   or type e to exit"};
}

TEST_F(ReportTest, KeyboardRunShowsAnswerBlockTableAndChoice) {
  console.type({"x", ""});
  writeAnswers(io, *tables, top, 2, 1, "Q1      ", settings);
  std::vector<std::string> expected = {"", "", "", "", "", "", "",
      " NVC type of Q1       is CG 2a  with goodness of fit  70 - good     ",
      " NVC Community: Festuca-Avenula grassl.    Subcommunity: Dicranum scopar.",
      " EUNIS        : Subatlantic semi-dry gra   E1.26   ",
      "", "", "", "", " Analysis of top 2 possibilities", "", kLine1, kLine2};
  for (int i = 0; i < 2; ++i)
    for (const auto& l : choice()) expected.push_back(l);
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ((std::vector<std::string>{kLine1, kLine2}), fs.lines("VEGMOUT.txt"));
}

TEST_F(ReportTest, OnlyFilledPlacesAreReported) {
  console.type({""});
  writeAnswers(io, *tables, top, 10, 1, "Q1      ", settings);
  EXPECT_EQ(" Analysis of top 3 possibilities", console.output[14]);
  EXPECT_EQ(3u, fs.lines("VEGMOUT.txt").size());
}

TEST_F(ReportTest, BestCommunityBelowThresholdShowsFixedTextsOnly) {
  top[1] = 3;
  console.type({""});
  writeAnswers(io, *tables, top, 1, 1, "SAMPL  1", settings);
  EXPECT_EQ(" NVC type of SAMPL  1 is        with goodness of fit   0 - very poor", console.output[7]);
  EXPECT_EQ(" NVC Community:                            Subcommunity:                 ",
            console.output[8]);
  EXPECT_EQ(" EUNIS        :" + std::string(36, ' '), console.output[9]);
}

TEST_F(ReportTest, GradeBoundaries) {
  const std::pair<float, const char*> cases[] = {
      {0.49f, " 49 - very poor"}, {0.5f, " 50 - poor     "}, {0.59f, " 59 - poor     "},
      {0.6f, " 60 - fair     "},  {0.69f, " 69 - fair     "}, {0.7f, " 70 - good     "},
      {0.79f, " 79 - good     "}, {0.8f, " 80 - very good"}, {1.0f, "100 - very good"}};
  for (auto [fit, text] : cases) {
    console.output.clear();
    console.type({""});
    tables->scores.fit_score[1] = fit;
    writeAnswers(io, *tables, top, 1, 1, "Q1      ", settings);
    EXPECT_EQ(text, console.output[7].substr(53)) << fit;
  }
}

TEST_F(ReportTest, ResetAsksForTheParametersAgain) {
  console.type({"Reset", "2", "4"});
  writeAnswers(io, *tables, top, 1, 1, "Q1      ", settings);
  EXPECT_EQ(2, settings.cover_scale);
  EXPECT_EQ(4, settings.analysis_type);
  EXPECT_EQ(0u, console.unread());
}

TEST_F(ReportTest, ExitEndsTheRunAfterTheNotice) {
  console.type({"E", ""});
  EXPECT_THROW(writeAnswers(io, *tables, top, 1, 1, "Q1      ", settings), veg::StopRun);
  EXPECT_EQ("*************************", console.output.back());
  EXPECT_EQ(1u, fs.lines("VEGMOUT.txt").size());
}

TEST_F(ReportTest, FilesAreFlushedBeforeTheQuestion) {
  io.record = fs.createNew("SAMP.txt");
  // No reply: the run stops at the question, after the flush.
  EXPECT_THROW(writeAnswers(io, *tables, top, 1, 1, "Q1      ", settings), veg::StopRun);
  EXPECT_EQ((std::vector<std::string>{"VEGMOUT.txt", "SAMP.txt"}), *fs.flushed);
}

TEST_F(ReportTest, BlankFirstCharacterContinues) {
  console.type({" e"});
  writeAnswers(io, *tables, top, 1, 1, "Q1      ", settings);
  EXPECT_EQ(0u, console.unread());
}

}  // namespace
}  // namespace vegmatch
