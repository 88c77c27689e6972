// vegfit and vegmatch on the same sample files with the same parameters:
// vegmatch run unattended on a datafile (its answers file read back from
// its fixed columns), vegfit run on the same file, and every figure of
// every sample compared: the sample's name, the rank order, the NVC codes,
// the texts, the fit and the four coefficients, digit for digit.
#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/csv.h"
#include "common/testing/program.h"

namespace {

using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::putShippedData;
using veg::testing::RunLimits;
using veg::testing::sourceFile;
using Lines = std::vector<std::string>;

// One reported community of one sample, as both programs give it.
struct Fit {
  std::string sample, nvc_code, community, subcommunity, eunis_code;
  int fit = 0, community_composition_fit = 0, sample_composition_fit = 0,
      community_cover_fit = 0, sample_cover_fit = 0;
  bool operator==(const Fit&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fit& f) {
  return out << "[" << f.sample << "] " << f.nvc_code << " " << f.fit << " |"
             << f.community_composition_fit << " " << f.sample_composition_fit << " "
             << f.community_cover_fit << " " << f.sample_cover_fit << " | " << f.community << " / "
             << f.subcommunity << " / " << f.eunis_code;
}

std::string trimmed(const std::string& s) {
  const std::size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::string withoutTrailingBlanks(const std::string& s) {
  const std::size_t b = s.find_last_not_of(' ');
  return b == std::string::npos ? "" : s.substr(0, b + 1);
}

std::string withoutBlanks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ') out += c;
  return out;
}

// vegmatch's answers file: per sample the sample line (" Sample ", the
// name in columns 9-16) and then its table lines of 78 columns: EUNIS code
// 2-9, NVC code 10-15, fit 16-18, a blank and a bar, the coefficients in
// 21-23, 24-27, 28-31 and 32-35, a bar and a blank, the community 38-61 and
// the subcommunity 63-78. Anything else (a notice) fails the comparison.
std::vector<Fit> answersFile(const Lines& lines, Lines& notices) {
  std::vector<Fit> fits;
  std::string sample;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (line.rfind(" Sample ", 0) == 0) {
      sample = withoutTrailingBlanks(line.substr(8, 8));
      continue;
    }
    if (line.size() != 78 || line.substr(18, 2) != " |" || line.substr(35, 2) != "| ") {
      notices.push_back(line);
      continue;
    }
    Fit f;
    f.sample = sample;
    f.eunis_code = trimmed(line.substr(1, 8));
    f.nvc_code = withoutBlanks(line.substr(9, 6));
    f.fit = std::stoi(line.substr(15, 3));
    f.community_composition_fit = std::stoi(line.substr(20, 3));
    f.sample_composition_fit = std::stoi(line.substr(23, 4));
    f.community_cover_fit = std::stoi(line.substr(27, 4));
    f.sample_cover_fit = std::stoi(line.substr(31, 4));
    f.community = trimmed(line.substr(37, 24));
    f.subcommunity = trimmed(line.substr(62, 16));
    fits.push_back(f);
  }
  return fits;
}

// vegfit's CSV output, by the names of its header row.
std::vector<Fit> csvOutput(const Lines& lines) {
  std::vector<Fit> fits;
  std::vector<std::string> fields;
  std::map<std::string, std::size_t> column;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t pos = 0;
    EXPECT_TRUE(veg::splitRecord(lines[i], pos, fields)) << lines[i];
    if (i == 0) {
      for (std::size_t c = 0; c < fields.size(); ++c) column[fields[c]] = c;
      continue;
    }
    auto field = [&](const char* name) -> const std::string& { return fields.at(column.at(name)); };
    auto number = [&](const char* name) { return std::stoi(field(name)); };
    // A sample without a result has one row that says so.
    if (field("status") != "ok") continue;
    Fit f{field("sample"),
          field("nvc_code"),
          field("community"),
          field("subcommunity"),
          field("eunis_code"),
          number("fit"),
          number("community_composition_fit"),
          number("sample_composition_fit"),
          number("community_cover_fit"),
          number("sample_cover_fit")};
    fits.push_back(f);
    // Ranks count from 1 within every sample.
    std::size_t rank = 1;
    for (std::size_t k = fits.size() - 1; k > 0 && fits[k - 1].sample == f.sample; --k) ++rank;
    EXPECT_EQ(std::to_string(rank), field("rank")) << lines[i];
  }
  return fits;
}

struct Parameters {
  int species_groups = 0;  // vegmatch's answer: 0 all, 1 no lichens, 2 vascular only
  int cover_scale = 1;
  int analysis_type = 1;
  int top = 5;
};

const char* const kGroups[] = {"all", "no-lichens", "vascular"};
const char* const kScales[] = {"", "percent", "braun-blanquet", "domin"};

class AgreementTest : public ::testing::Test {
 protected:
  void SetUp() override { putShippedData(run); }

  // Runs both programs on `file` (vegfit on `csv` instead when given: the
  // same samples as a CSV file) and compares what they report; `samples` is
  // the number of samples of the file.
  // vegfit's warnings are `warnings`; with `unknown_names` vegmatch's
  // answers file reports names its dictionary lacks, and vegfit warns of
  // them.
  void compare(const std::string& file, const Parameters& p, std::size_t samples,
               const std::string& csv = "", const Lines& warnings = {},
               bool unknown_names = false) {
    SCOPED_TRACE(file + ": groups " + std::to_string(p.species_groups) + ", scale " +
                 std::to_string(p.cover_scale) + ", type " + std::to_string(p.analysis_type) +
                 ", top " + std::to_string(p.top));
    // Title, help offer, answers file, datafile input and its name, species
    // groups, scale, analysis type, number of communities.
    Lines input = {"", "", "", "1", file, std::to_string(p.species_groups),
                   std::to_string(p.cover_scale), std::to_string(p.analysis_type),
                   std::to_string(p.top)};
    // Analysis type 5 sets the scale to % cover after each sample: the next
    // sample's scale label then asks for the parameters again.
    if (p.analysis_type == 5 && p.cover_scale != 1) {
      for (std::size_t s = 1; s < samples; ++s)
        input.insert(input.end(), {"", std::to_string(p.cover_scale), ""});
    }
    run.run(builtProgram("vegmatch/vegmatch"), input);
    Lines notices;
    const std::vector<Fit> reported = answersFile(run.lines("VEGMOUT.txt"), notices);
    std::remove((run.dir + "/VEGMOUT.txt").c_str());
    // Every line read; every name in the dictionary unless told otherwise.
    if (unknown_names) {
      for (const std::string& notice : notices)
        EXPECT_EQ(0u, notice.find("     *** Name not in dictionary ***  ")) << notice;
    } else {
      EXPECT_EQ(Lines{}, notices);
    }
    ASSERT_EQ(samples * static_cast<std::size_t>(p.top), reported.size());
    // vegfit lists the communities with a fit, those whose codes vegmatch
    // shows (it blanks the texts of a community scoring below 0.0001).
    std::vector<Fit> expected;
    for (const Fit& f : reported)
      if (!f.nvc_code.empty()) expected.push_back(f);

    ASSERT_EQ(0, run.run(builtProgram("vegfit/vegfit"),
                         {"--groups", kGroups[p.species_groups], "--scale", kScales[p.cover_scale],
                          "--type", std::to_string(p.analysis_type), "--top",
                          std::to_string(p.top), csv.empty() ? file : csv},
                         {}, RunLimits{}));
    if (unknown_names) {
      for (const std::string& line : run.errors)
        EXPECT_NE(std::string::npos, line.find("counted as a species of no community")) << line;
    } else {
      EXPECT_EQ(warnings, run.errors);
    }
    const std::vector<Fit> actual = csvOutput(run.screen);
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], actual[i]) << "row " << i + 1;
  }

  ProgramRun run;
};

constexpr std::size_t kQuadrats = 13;  // in data/examples/quadrats.txt

TEST_F(AgreementTest, ExampleQuadratsEveryAnalysisType) {
  run.copy(sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  for (int type = 1; type <= 5; ++type) compare("quadrats.txt", {0, 1, type, 5}, kQuadrats);
}

TEST_F(AgreementTest, ExampleQuadratsAnyNumberOfCommunities) {
  run.copy(sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  for (int top : {1, 2, 12, 99}) compare("quadrats.txt", {0, 1, 1, top}, kQuadrats);
}

TEST_F(AgreementTest, ExampleQuadratsEverySpeciesGroup) {
  // Without lichens, and vascular plants only: the heath's Cladonia and
  // the mosses drop out, in the tables and in the samples alike.
  run.copy(sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  for (int groups : {1, 2})
    for (int type : {1, 3}) compare("quadrats.txt", {groups, 1, type, 5}, kQuadrats);
}

// Domin values, some with a decimal, marks (the same species marked and
// unmarked merges), a sample without a name (named by its number), a
// species twice (the second line replaces the first).
const Lines kDominFile = {
    "CHALK1       DOMIN",
    " Festuca ovina               7",
    " Bromopsis erecta            6",
    " Carex flacca                5",
    " Sanguisorba minor           5",
    " Lotus corniculatus          4",
    " Thymus polytrichus          4",
    " Koeleria macrantha          4",
    " Helianthemum nummularium    5",
    " Briza media                 3",
    " Plantago lanceolata         3",
    "",
    "MIRE1        DOMIN",
    " Sphagnum papillosum         7",
    " Eriophorum vaginatum        6.5",
    " Calluna vulgaris            5",
    " Erica tetralix              4",
    " Narthecium ossifragum       3",
    " Drosera rotundifolia        2",
    " Calluna vulgaris*           2",
    "",
    "             DOMIN",
    " Quercus robur               8",
    " Corylus avellana            6",
    " Hyacinthoides non-scripta   7",
    " Rubus fruticosus            5",
    " Pteridium aquilinum         4",
    " Lonicera periclymenum       4",
    " Anemone nemorosa            3",
    " Rubus fruticosus            6",
    "",
    "PASTURE2     DOMIN",
    " Lolium perenne              8",
    " Trifolium repens            6",
    " Cynosurus cristatus         5",
    " Holcus lanatus              5",
    " Dactylis glomerata          4",
    " Ranunculus acris            3",
    " Poa trivialis               4",
    "",
};

TEST_F(AgreementTest, DominFileEveryAnalysisType) {
  run.put("domin.txt", kDominFile);
  // vegfit says that the second line of a species replaces the first.
  const Lines twice = {"domin.txt:30: warning: 'Rubus fruticosus' is a species of sample "
                       "'SAMPL  3' given before (lines 26 and 30): the later cover stands"};
  for (int type = 1; type <= 5; ++type) compare("domin.txt", {0, 3, type, 5}, 4, "", twice);
  compare("domin.txt", {2, 3, 1, 10}, 4, "", twice);
}

// Names the dictionary lacks: a binomial, genus-only names as recorders
// write mosses (Pellia, Lophocolea), one of them in two samples and in two
// spellings of one key, a marked one; vegmatch counts each as a species of
// no community, and so does vegfit.
const Lines kUnknownNamesFile = {
    "WOOD3        COVR%",
    " Quercus robur               40",
    " Hyacinthoides non-scripta   20",
    " Xyzzy plugh                 10",
    " Pellia                       2",
    " Rubus fruticosus            15",
    " Lophocolea                   1",
    "",
    "FLUSH1       COVR%",
    " Juncus effusus              30",
    " Sphagnum palustre           25",
    " PELLIA                       5",
    " Pellia*                      1",
    " Molinia caerulea            20",
    "",
    "ODD1         COVR%",
    " Xyzzy plugh                 50",
    "",
};

TEST_F(AgreementTest, UnknownNamesCountAlike) {
  run.put("unknown.txt", kUnknownNamesFile);
  for (int type = 1; type <= 5; ++type)
    compare("unknown.txt", {0, 1, type, 5}, 3, "", {}, true);
  compare("unknown.txt", {2, 1, 1, 5}, 3, "", {}, true);  // vascular only: they drop out
}

// Braun-Blanquet values 1 to 5, a half step, and a plus (present, cover 0).
const Lines kBraunBlanquetFile = {
    "HEATH2       BR-BL",
    " Calluna vulgaris    4",
    " Erica cinerea       2",
    " Vaccinium myrtillus 2.5",
    " Deschampsia flexuosa 1",
    " Potentilla erecta   +",
    " Hypnum jutlandicum  2",
    " Cladonia portentosa 1",
    "",
    "FEN1         BR-BL",
    " Phragmites australis 3",
    " Juncus effusus      2",
    " Molinia caerulea    3",
    " Filipendula ulmaria 2",
    " Galium palustre     1",
    "",
};

TEST_F(AgreementTest, BraunBlanquetFileEveryAnalysisType) {
  run.put("bb.txt", kBraunBlanquetFile);
  for (int type = 1; type <= 5; ++type) compare("bb.txt", {0, 2, type, 5}, 2);
  compare("bb.txt", {1, 2, 2, 3}, 2);
}

// Frequency data: a maximum frequency in the header, and per line the
// frequency before the value (a lone number after the name is the
// frequency, its value 0).
const Lines kFrequencyFile = {
    "STAND1     *  5 COVR%",
    " Festuca ovina         5  20",
    " Agrostis capillaris   4  15",
    " Thymus polytrichus    3   2",
    " Galium saxatile       2   3.5",
    " Potentilla erecta     1   1",
    " Campanula rotundifolia 2",
    "",
    "STAND2     * 10 COVR%",
    " Calluna vulgaris     10  45",
    " Vaccinium myrtillus   8  12",
    " Deschampsia flexuosa  6   4",
    " Pleurozium schreberi  3   6",
    " Empetrum nigrum       1   1",
    "",
};

TEST_F(AgreementTest, FrequencyFileEveryAnalysisType) {
  run.put("freq.txt", kFrequencyFile);
  for (int type = 1; type <= 5; ++type) compare("freq.txt", {0, 1, type, 5}, 2);
  compare("freq.txt", {2, 1, 1, 7}, 2);
}

// The samples of a sample file written as the rows of a CSV file, with the
// frequency columns when the samples have frequency data: the name words,
// and the numbers after them.
Lines asCsv(const Lines& file, bool frequencies) {
  Lines csv = {frequencies ? "sample,species,frequency,cover,max_frequency"
                           : "sample,species,cover"};
  std::string sample, max_frequency;
  bool header = true;
  for (const std::string& line : file) {
    if (header) {
      sample = trimmed(line.substr(0, std::min<std::size_t>(8, line.find('*'))));
      if (line.find('*') != std::string::npos) max_frequency = trimmed(line.substr(12, 3));
      header = false;
      continue;
    }
    if (trimmed(line).empty()) {
      header = true;
      continue;
    }
    std::istringstream words(line);
    std::string genus, epithet, first, second;
    words >> genus >> epithet >> first >> second;
    if (frequencies) {
      csv.push_back(sample + "," + genus + " " + epithet + "," + first + "," + second + "," +
                    max_frequency);
    } else {
      csv.push_back(sample + "," + genus + " " + epithet + "," + first);
    }
  }
  return csv;
}

TEST_F(AgreementTest, CsvOfTheSameSamplesAgrees) {
  run.copy(sourceFile("data/examples/quadrats.txt"), "quadrats.txt");
  run.put("quadrats.csv", asCsv(run.lines("quadrats.txt"), false));
  for (int type : {1, 5}) compare("quadrats.txt", {0, 1, type, 5}, kQuadrats, "quadrats.csv");
  run.put("freq.txt", kFrequencyFile);
  run.put("freq.csv", asCsv(kFrequencyFile, true));
  // Campanula rotundifolia has a frequency and no cover: present only.
  compare("freq.txt", {0, 1, 1, 5}, 2, "freq.csv",
          {"vegfit: 1 row gives no cover (blank, NA, p, x or present): counted as present with "
           "a cover of 0; --type 2 scores species composition only"});
}

}  // namespace
