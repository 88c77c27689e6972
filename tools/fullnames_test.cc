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
      "1102 poly vare Polypodium vulgare\n"
      " 849 rume aosa Rumex acetosa\n",
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
      " 871 sali alba Salix alba\n"
      " 871 sali alba Salix fragilis\n"
      " 876 sali frag Salix fragilis\n",
      formatNames(data));
}

TEST(FormatNamesTest, FromConvertedSources) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ(
      "   1 betu pend Betula pendula\n"
      "   1 betu pend Betula pendula x pubescens = B. x aurata\n"
      "4001 clad      Cladonia\n"
      "   2 frax exce Fraxinus excelsior\n"
      "5001 fucu vesi Fucus vesiculosus\n"
      "3001 hypn cupr Hypnum cupressiforme\n"
      "3001 hypn cupr Hypnum cupressiforme var. lacunosum\n"
      "   3 lemn mino Lemna minima\n"
      "   3 lemn mino Lemna minor\n",
      formatNames(data));
}

}  // namespace
}  // namespace nvcdata
