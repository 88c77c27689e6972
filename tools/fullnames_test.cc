#include "tools/fullnames.h"

#include <gtest/gtest.h>

#include "tools/testdata.h"

namespace nvcdata {
namespace {

TEST(MatchFormTest, CaseBlanksQualifiersAndStrata) {
  EXPECT_EQ("polypodium vulgare", matchForm("Polypodium vulgare"));
  EXPECT_EQ("polypodium vulgare", matchForm("  POLYPODIUM   vulgare  "));
  EXPECT_EQ("polypodium vulgare", matchForm("Polypodium vulgare sens. lat."));
  EXPECT_EQ("polypodium vulgare", matchForm("Polypodium vulgare agg."));
  EXPECT_EQ("sphagnum fuscum", matchForm("Sphagnum fuscum s.l."));
  EXPECT_EQ("cladonia arbuscula", matchForm("Cladonia arbuscula s. lat."));
  EXPECT_EQ("trichostomum brachydontium", matchForm("Trichostomum brachydontium sensu lato"));
  EXPECT_EQ("campylium stellatum", matchForm("Campylium stellatum s.str."));
  EXPECT_EQ("fraxinus excelsior", matchForm("Fraxinus excelsior (c)"));
  EXPECT_EQ("salix fragilis", matchForm("Salix fragilis sens. lat. (s)"));
  EXPECT_EQ("fraxinus excelsior", matchForm("Fraxinus\texcelsior (g)"));
}

TEST(MatchFormTest, OtherWordsStay) {
  EXPECT_EQ("empetrum nigrum subsp. nigrum", matchForm("Empetrum nigrum subsp. nigrum"));
  EXPECT_EQ("hypericum perforatum sensu stace", matchForm("Hypericum perforatum sensu Stace"));
  EXPECT_EQ("isoetes lacustris", matchForm("Isoëtes lacustris"));
  // a bracketed remark that is no stratum suffix stays
  EXPECT_EQ("hieracium peleterianum (pil)", matchForm("Hieracium peleterianum (pil)"));
}

TEST(FormatNamesTest, OneLinePerFormWithNumberAndKey) {
  ReferenceData data;
  Species a, b;
  a.name = "Rumex acetosa";
  a.number = 849;
  a.key = "rume aosa";
  b.name = "Polypodium vulgare";
  b.number = 1102;
  b.key = "poly vare";
  data.species = {a, b};
  data.full_names = {
      {"Polypodium vulgare", 1}, {"Polypodium vulgare sens. lat.", 1}, {"Rumex acetosa", 0}};
  EXPECT_EQ(
      "1102*poly vare Polypodium vulgare\n"
      " 849*rume aosa Rumex acetosa\n",
      formatNames(data));
}

TEST(FormatNamesTest, FormOfTwoSpeciesIsListedUnderEach) {
  ReferenceData data;
  Species a, b;
  a.name = "Salix fragilis";
  a.number = 876;
  a.key = "sali frag";
  b.name = "Salix alba";
  b.number = 871;
  b.key = "sali alba";
  data.species = {a, b};
  data.full_names = {{"Salix alba", 1}, {"Salix fragilis", 1}, {"Salix fragilis agg.", 0}};
  EXPECT_EQ(
      " 871*sali alba Salix alba\n"
      " 871 sali alba Salix fragilis\n"
      " 876*sali frag Salix fragilis\n",
      formatNames(data));
}

// Species numbers and keys as in the shipped tables.
Species species(const std::string& name, int number, const std::string& key) {
  Species s;
  s.name = name;
  s.number = number;
  s.key = key;
  return s;
}

TEST(FormatNamesTest, UksiNamesJoinWhereTheProjectHasNoneAndTheAmbiguousUnderEach) {
  ReferenceData data;
  data.species = {species("Carex demissa", 175, "care demi"),
                  species("Carex rostrata", 208, "care rost"),
                  species("Carex vesicaria", 214, "care vesi"),
                  species("Salix alba", 871, "sali alba"),
                  species("Salix fragilis", 876, "sali frag"),
                  species("Thymus drucei", 1006, "thym druc"),
                  species("Thymus serpyllum", 1008, "thym serp"),
                  species("Hypnum jutlandicum", 3150, "hypn jutl")};
  data.full_names = {
      {"Carex serotina", 0},  // the project's keying of a name
      {"Salix fragilis", 3},  // a name of two species ...
      {"Salix fragilis", 4},
      {"Salix fragilis sens. lat.", 4},  // ... whose form one name holds
      {"Thymus serpyllum", 6},
      {"Vaccinium serpyllum", 5},  // of two species ...
      {"Vaccinium serpyllum", 6},
  };
  data.uksi_names = {
      {"Carex inflata", 1},  // two taxa of the tables
      {"Carex inflata", 2},
      {"Carex serotina", 0},  // held by the project already
      {"Hypnum cupressiforme var. ericetorum", 7},
      {"Salix fragilis agg.", 3},           // held by the project for another species
      {"Thymus serpyllum agg.", 5},         // the project's Thymus serpyllum stays
      {"Thymus serpyllum sensu auct.", 5},  // another form: joins
      {"Vaccinium serpyllum s.l.", 1},      // ... and one more
  };
  EXPECT_EQ(
      " 208 care rost Carex inflata\n"
      " 214 care vesi Carex inflata\n"
      " 175 care demi Carex serotina\n"
      "3150 hypn jutl Hypnum cupressiforme var. ericetorum\n"
      " 876*sali frag Salix fragilis sens. lat.\n"
      "1008*thym serp Thymus serpyllum\n"
      "1006 thym druc Thymus serpyllum sensu auct.\n"
      " 208 care rost Vaccinium serpyllum\n"
      "1006 thym druc Vaccinium serpyllum\n"
      "1008 thym serp Vaccinium serpyllum\n",
      formatNames(data));
}

TEST(FormatNamesTest, FromConvertedSources) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ(
      "   1*betu pend Betula pendula\n"
      "   1 betu pend Betula pendula x pubescens = B. x aurata\n"
      "4001*clad      Cladonia\n"
      "   2*frax exce Fraxinus excelsior\n"
      "5001*fucu vesi Fucus vesiculosus\n"
      "3001*hypn cupr Hypnum cupressiforme\n"
      "3001 hypn cupr Hypnum cupressiforme var. lacunosum\n"
      "   3 lemn mino Lemna minima\n"
      "   3*lemn mino Lemna minor\n",
      formatNames(data));
}

}  // namespace
}  // namespace nvcdata
