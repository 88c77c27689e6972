// The CSV files beside the reference files, on the small source tables and
// attribute tables written here.
#include "tools/csvfiles.h"

#include <gtest/gtest.h>

#include "tools/testdata.h"

namespace nvcdata {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
    out.push_back(text.substr(from, at - from));
  EXPECT_EQ(text.size(), from) << "the last line ends in LF";
  return out;
}

Attributes attributes(const std::string& taxonValues, const std::string& unitValues,
                      const std::string& habitats, const std::string& richness) {
  return Attributes{
      CsvTable::parse("taxon,group,tvk,F,L,N,R,S\n" + taxonValues, "taxon_indicator_values.csv"),
      CsvTable::parse("nvc_code,indicator,mean,sd\n" + unitValues, "unit_indicator_values.csv"),
      CsvTable::parse("nvc_code,classification,habitat_code,habitat_name,relationship\n" + habitats,
                      "habitat_correspondences.csv"),
      CsvTable::parse(
          "nvc_code,num_samples,min_species,mean_species,max_species,species_count\n" + richness,
          "unit_richness.csv")};
}

TEST(UnitsCsvTest, OneRowPerCommunityWithNamesEunisRichnessAndMeans) {
  ReferenceData data = convert(smallSources());
  std::string units =
      formatUnits(data, attributes("",
                                   "A2,F,10.7778,1.0603\nA2,L,7,0.343\nA2,N,6.2222,1.0033\n"
                                   "A2,R,6.5556,0.7048\nA2,S,0.2778,0.5745\n",
                                   "", "A2,25,1,2,6,17\nA2a,14,,1,3,5\n"));
  std::vector<std::string> lines = linesOf(units);
  ASSERT_EQ(10u, lines.size());
  EXPECT_EQ(
      "number,nvc_code,community,subcommunity,fullname,eunis_code,eunis_name,eunis_relationship,"
      "num_samples,min_species,mean_species,max_species,species_count,"
      "F_mean,F_sd,L_mean,L_sd,N_mean,N_sd,R_mean,R_sd,S_mean,S_sd",
      lines[0]);
  // the chosen EUNIS correspondence, "is equal to", is the second row of A2's
  EXPECT_EQ(
      "1,A2,Lemna minor community,,Lemna minor community,C1.22,Free-floating mesotrophic,"
      "is equal to,25,1,2,6,17,10.7778,1.0603,7,0.343,6.2222,1.0033,6.5556,0.7048,0.2778,0.5745",
      lines[1]);
  // a subcommunity: its community's name and EUNIS; richness empty where the source has none
  EXPECT_EQ(
      "2,A2a,Lemna minor community,typical subcommunity,\"Lemna minor, typical\",C1.22,"
      "Free-floating mesotrophic,is equal to,14,,1,3,5,,,,,,,,,,",
      lines[2]);
  // SM12a has a table but no row of its own
  EXPECT_EQ(
      "8,SM12a,Rayed Aster tripolium stands,subcommunity a,\"x, subcommunity a\",A2.556,"
      "Rayed Aster,relationship uncertain,,,,,,,,,,,,,,,",
      lines[8]);
  EXPECT_EQ("9,W1,Salix cinerea-Galium palustre woodland,,x,,,,,,,,,,,,,,,,,,", lines[9]);
}

TEST(UnitsCsvTest, BadAttributesAreRefused) {
  ReferenceData data = convert(smallSources());
  EXPECT_THROW(formatUnits(data, attributes("", "A2,X,1,1\n", "", "")), SourceError)
      << "unknown indicator";
  EXPECT_THROW(formatUnits(data, attributes("", "A2,F,1,1\nA2,F,2,1\n", "", "")), SourceError)
      << "an indicator twice";
  EXPECT_THROW(formatUnits(data, attributes("", "", "", "A2,1,1,1,1,1\nA2,1,1,1,1,1\n")),
               SourceError)
      << "a unit twice";
}

TEST(HabitatsCsvTest, RowsOfNumberedCommunitiesInCommunityThenSourceOrder) {
  ReferenceData data = convert(smallSources());
  Attributes a = attributes("", "",
                            "A10,Phase 1,,\"Swamp, marginal\",\n"
                            "A2,Annex I,H3150,Natural eutrophic lakes,corresponds in part to\n"
                            "A6,EUNIS,C2.3,Rivers,contains\n"
                            "A2,BAP Broad,13,Standing open water,is contained in\n",
                            "");
  EXPECT_EQ((std::vector<std::size_t>{1, 3, 0}), habitatRows(data, a));  // A6 has no table
  EXPECT_EQ(
      "nvc_code,classification,habitat_code,habitat_name,relationship\n"
      "A2,Annex I,H3150,Natural eutrophic lakes,corresponds in part to\n"
      "A2,BAP Broad,13,Standing open water,is contained in\n"
      "A10,Phase 1,,\"Swamp, marginal\",\n",
      formatHabitats(data, a));
  EXPECT_THROW(habitatRows(data, attributes("", "", "A2,UKHab,g3,Grassland,contains\n", "")),
               SourceError);
}

// The small tables with a second variety of Hypnum cupressiforme in A10.
Sources withTwoVarieties() {
  Sources s = smallSources();
  std::string floristic =
      "nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n";
  std::string taxa = "taxon,group\n";
  for (const auto& row : s.floristic.rows()) {
    for (std::size_t i = 0; i < row.size(); ++i) floristic += (i ? "," : "") + row[i];
    floristic += "\n";
  }
  for (const auto& row : s.taxa.rows()) taxa += row[0] + "," + row[1] + "\n";
  s.floristic = CsvTable::parse(floristic + "A10,Hypnum cupressiforme var. resupinatum,1,1,1,1,1\n",
                                "floristic_tables.csv");
  s.taxa = CsvTable::parse(taxa + "Hypnum cupressiforme var. resupinatum,bryophyte\n", "taxa.csv");
  return s;
}

TEST(IndicatorsTest, OwnNameFirstThenAgreeingTaxaElseNone) {
  // species index: 0 Betula pendula, 1 Fraxinus excelsior, 3 Hypnum cupressiforme
  struct Case {
    const char* what;
    std::string rows;
    std::vector<SpeciesValues> values;
    int own, agreed;
    std::vector<std::size_t> conflicts;
  };
  const std::string hypnum = "Hypnum cupressiforme,bryophyte,T1,4,5,3,4,0\n";
  const std::string lacunosum = "Hypnum cupressiforme var. lacunosum,bryophyte,T2,3,6,3,4,0\n";
  const std::string resupinatum = "Hypnum cupressiforme var. resupinatum,bryophyte,T3,3,6,3,4,0\n";
  const std::vector<Case> cases = {
      {"the own name's taxon wins over a variety",
       hypnum + lacunosum,
       {{3, {4, 5, 3, 4, 0}}},
       1,
       0,
       {}},
      {"two varieties that agree", lacunosum + resupinatum, {{3, {3, 6, 3, 4, 0}}}, 0, 1, {}},
      {"two varieties that differ",
       lacunosum + "Hypnum cupressiforme var. resupinatum,bryophyte,T3,3,6,3,5,0\n",
       {},
       0,
       0,
       {3}},
      {"strata that agree are the own name",
       "Fraxinus excelsior (c),vascular,T4,5,4,7,7,0\nFraxinus excelsior "
       "(g),vascular,T4,5,4,7,7,0\n",
       {{1, {5, 4, 7, 7, 0}}},
       1,
       0,
       {}},
      {"strata that differ",
       "Fraxinus excelsior (c),vascular,T4,5,4,7,7,0\nFraxinus excelsior "
       "(g),vascular,T4,5,4,6,7,0\n",
       {},
       0,
       0,
       {1}},
      {"a hybrid alone gives its species' values",
       "Betula pendula x pubescens = B. x aurata (s),vascular,T5,6,6,4,4,0\n" + hypnum,
       {{0, {6, 6, 4, 4, 0}}, {3, {4, 5, 3, 4, 0}}},
       1,
       1,
       {}},
  };
  ReferenceData data = convert(withTwoVarieties());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SpeciesIndicators got = speciesIndicators(data, attributes(c.rows, "", "", ""));
    EXPECT_EQ(c.values, got.values);
    EXPECT_EQ(c.own, got.own);
    EXPECT_EQ(c.agreed, got.agreed);
    EXPECT_EQ(c.conflicts, got.conflicts);
  }
}

TEST(IndicatorsTest, WholeNumbersInRangeForTaxaOfTheTables) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ(1u,
            speciesIndicators(data, attributes("Lemna minor,vascular,T,12,9,9,9,0\n", "", "", ""))
                .values.size());
  for (const char* row : {"Lemna trisulca,vascular,T,11,7,6,7,0\n",  // no taxon of the tables
                          "Lemna minor,vascular,T,13,7,6,7,0\n",     // F above 12
                          "Lemna minor,vascular,T,11,0,6,7,0\n",     // L below 1
                          "Lemna minor,vascular,T,11,7,6,7,\n",      // S missing
                          "Lemna minor,vascular,T,11,7.5,6,7,0\n",   // not whole
                          "Lemna minor,vascular,T,11,7,6,7,0\nLemna minor,vascular,T,11,7,6,7,0\n"})
    EXPECT_THROW(speciesIndicators(data, attributes(row, "", "", "")), SourceError) << row;
}

TEST(IndicatorsTest, FormattedBySpeciesNumber) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ("species_number,F,L,N,R,S\n3,11,7,6,7,0\n3001,4,5,3,4,0\n",
            formatIndicators(data, {{2, {11, 7, 6, 7, 0}}, {3, {4, 5, 3, 4, 0}}}));
}

TEST(FloristicCsvTest, TaxaOfOneSpeciesMergedAsForTheClassCode) {
  struct Case {
    const char* what;
    std::string rows;
    std::vector<std::string> expected;
  };
  // species numbered among the species of the case's rows only: Fraxinus
  // excelsior 1 and Lemna minor 2 where both are there
  const std::vector<Case> cases = {
      {"strata: highest constancy and maximum, lowest minimum",
       "W1,Fraxinus excelsior (c),2,5,2,4,9\nW1,Fraxinus excelsior (g),4,9,1,1,3\n"
       "SM12,Lemna minor,1,1,1,1,1\n",
       {"SM12,2,1,1,1", "W1,1,4,1,9"}},
      {"a variety with its species",
       "A10,Hypnum cupressiforme var. lacunosum,1,1,3,1,2\nA10,Hypnum cupressiforme,3,4,1,1,1\n"
       "A2,Lemna minor,1,1,1,1,1\n",
       {"A2,1,1,1,1", "A10,3001,3,1,2"}},
      {"communities in order, within one by constancy descending, then species number",
       "A10,Lemna minor,1,1,1,1,1\nA2,Fucus vesiculosus,2,1,1,1,1\nA2,Lemna minor,2,1,1,1,3\n"
       "A2,Fraxinus excelsior (c),5,1,4,1,6\n",
       {"A2,1,5,4,6", "A2,2,2,1,3", "A2,5001,2,1,1", "A10,2,1,1,1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources s = smallSources();
    s.floristic = CsvTable::parse(
        "nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n" + c.rows,
        "floristic_tables.csv");
    ReferenceData data = convert(s);
    std::vector<std::string> expected = {"nvc_code,species_number,constancy,min_domin,max_domin"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(expected, linesOf(formatFloristic(data)));
    for (const Species& sp : data.species)
      for (const Entry& e : sp.entries)
        EXPECT_EQ(classCode(e.constancy, e.max_domin), e.class_code) << sp.name;
  }
}

}  // namespace
}  // namespace nvcdata
