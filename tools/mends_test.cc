// The mends of the published tables, on small tables written here.
#include "tools/mends.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tools/testdata.h"

namespace nvcdata {
namespace {

const std::string kFloristicHeader =
    "nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n";

// The rows of `table` as lines, sorted.
std::vector<std::string> lines(const CsvTable& table) {
  std::vector<std::string> out;
  for (const auto& row : table.rows()) {
    std::string line;
    for (const std::string& field : row) line += (line.empty() ? "" : ",") + field;
    out.push_back(line);
  }
  std::sort(out.begin(), out.end());
  return out;
}

Mends rowMends(const std::vector<std::string>& files) {
  Mends m;
  for (const std::string& text : files) m.rows.push_back(CsvTable::parse(text, "mend.csv"));
  m.taxa = CsvTable::parse("taxon,group,original_name,reason\n", "new_taxa.csv");
  return m;
}

TEST(MendsTest, RowFilesReplaceTheRowsOfTheirTaxaInTheirUnits) {
  struct Case {
    const char* what;
    std::string table;               // floristic rows
    std::vector<std::string> files;  // row files, applied in order
    std::vector<std::string> expected;
  };
  const std::string serotina =
      "nvc_code,taxon,original_name,constancy,absolute_frequency,"
      "min_domin,mean_domin,max_domin,in_floristic_tables\n";
  const std::vector<Case> cases = {
      {"a taxon the table lacks is added",
       "S4,Phragmites australis,5,9,6,8,10\n",
       {kFloristicHeader + "S4,Algae,1,30,5,7,8\n"},
       {"S4,Algae,1,30,5,7,8", "S4,Phragmites australis,5,9,6,8,10"}},
      {"rows held under another taxon give way, and both taxa come back",
       "SD14,Carex demissa,2,74,1,1,5\nSD14,Salix repens,5,9,1,1,9\n",
       {serotina + "SD14,Carex demissa,Carex demissa,1,25,4,1,6,missing\n"
                   "SD14,Carex viridula subsp. viridula,Carex serotina,2,74,1,1,5,held\n"},
       {"SD14,Carex demissa,1,25,4,1,6", "SD14,Carex viridula subsp. viridula,2,74,1,1,5",
        "SD14,Salix repens,5,9,1,1,9"}},
      {"a unit the file lists with one taxon loses the others it names; other units keep theirs",
       "H7,Carex demissa,1,34,2,1,3\nM9,Carex demissa,1,4,3,1,4\nM10,Carex demissa,3,9,1,1,4\n",
       {serotina + "H7,Carex viridula subsp. viridula,Carex serotina,1,34,2,1,3,held\n"
                   "M9,Carex demissa,Carex demissa,1,4,3,1,4,held\n"},
       {"H7,Carex viridula subsp. viridula,1,34,2,1,3", "M10,Carex demissa,3,9,1,1,4",
        "M9,Carex demissa,1,4,3,1,4"}},
      {"files apply in order",
       "S4,Phragmites australis,5,9,6,8,10\n",
       {kFloristicHeader + "S4,Algae,1,30,5,7,8\n", kFloristicHeader + "S4,Algae,2,3,1,1,1\n"},
       {"S4,Algae,2,3,1,1,1", "S4,Phragmites australis,5,9,6,8,10"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources src = smallSources();
    src.floristic = CsvTable::parse(kFloristicHeader + c.table, "floristic_tables.csv");
    EXPECT_EQ(c.expected, lines(mended(src, rowMends(c.files)).floristic));
  }
}

TEST(MendsTest, NewTaxaJoinTaxaAndTakeTheirOriginalNames) {
  Sources src = smallSources();
  Mends m = rowMends({});
  m.taxa = CsvTable::parse(
      "taxon,group,original_name,reason\n"
      "Lemna viridis,vascular,Lemna minima,the original name meant it\n"
      "Algae,alga,Algal mat,the rows lacked it\n",
      "new_taxa.csv");
  Sources out = mended(src, m);
  std::vector<std::string> taxa = lines(src.taxa);
  taxa.push_back("Algae,alga");
  taxa.push_back("Lemna viridis,vascular");
  std::sort(taxa.begin(), taxa.end());
  EXPECT_EQ(taxa, lines(out.taxa));
  EXPECT_EQ(
      (std::vector<std::string>{"Algal mat,Algae", "Fraxinus excelsior (c),Fraxinus excelsior (c)",
                                "Lemna minima,Lemna viridis"}),
      lines(out.name_lookup));
  EXPECT_EQ(lines(src.floristic), lines(out.floristic));
}

TEST(MendsTest, BadMendsAreRefused) {
  struct Case {
    const char* what;
    std::string rows;  // a row file
    std::string taxa;  // new_taxa.csv rows
  };
  const std::vector<Case> cases = {
      {"a unit without a table", kFloristicHeader + "S4,Algae,1,30,5,7,8\n", ""},
      {"a taxon taxa.csv holds", kFloristicHeader, "Lemna minor,vascular,Lemna minima,why\n"},
      {"no reason", kFloristicHeader, "Lemna viridis,vascular,Lemna minima,\n"},
      {"an unknown group", kFloristicHeader, "Lemna viridis,plant,Lemna minima,why\n"},
  };
  for (const Case& c : cases) {
    Mends m = rowMends({c.rows});
    m.taxa = CsvTable::parse("taxon,group,original_name,reason\n" + c.taxa, "new_taxa.csv");
    EXPECT_THROW(mended(smallSources(), m), SourceError) << c.what;
  }
}

}  // namespace
}  // namespace nvcdata
