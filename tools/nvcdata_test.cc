// The conversion and the file layouts, on small source tables written here.
#include "tools/nvcdata.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "tools/nvcwrite.h"
#include "tools/testdata.h"

namespace nvcdata {
namespace {

TEST(UnitCodeTest, TakenApartAndFormatted) {
  EXPECT_EQ("CG 2a ", nvcCodeField(parseUnitCode("CG2a")));
  EXPECT_EQ(" W 1  ", nvcCodeField(parseUnitCode("W1")));
  EXPECT_EQ(" A10  ", nvcCodeField(parseUnitCode("A10")));
  EXPECT_EQ("SM12b ", nvcCodeField(parseUnitCode("SM12b")));
  EXPECT_EQ("SD7", parseUnitCode("SD7e").community());
}

TEST(UnitCodeTest, MalformedCodesAreRefused) {
  for (const char* code : {"cg2", "A", "A2ab", "ABC1", "A123", "A2-"})
    EXPECT_THROW(parseUnitCode(code), SourceError) << code;
}

TEST(ClassCodeTest, ConstancyAndCover) {
  EXPECT_EQ(1, classCode(1, 1));
  EXPECT_EQ(27, classCode(3, 7));
  EXPECT_EQ(50, classCode(5, 10));
}

TEST(ConvertTest, CommunitiesNumberedByGroupNumberAndLetter) {
  ReferenceData data = convert(smallSources());
  std::vector<std::string> codes;
  for (const Community& c : data.communities) codes.push_back(c.code_text);
  EXPECT_EQ(
      (std::vector<std::string>{"A2", "A2a", "A10", "CG2", "CG2a", "CG2b", "SM12", "SM12a", "W1"}),
      codes);
}

TEST(ConvertTest, NamesOfCommunityAndSubcommunity) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ("Lemna minor community", data.communities[0].name);
  EXPECT_EQ("", data.communities[0].subname);
  EXPECT_EQ("Lemna minor community", data.communities[1].name);
  EXPECT_EQ("typical subcommunity", data.communities[1].subname);
  // SM12a has a table but no row of its own
  EXPECT_EQ("Rayed Aster tripolium stands", data.communities[7].name);
  EXPECT_EQ("subcommunity a", data.communities[7].subname);
}

TEST(ConvertTest, EunisByRelationshipThenFileOrder) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ("C1.22", data.communities[0].eunis_code);  // "is equal to" beats the first row
  EXPECT_EQ("Free-floating mesotrophic", data.communities[0].eunis_name);
  EXPECT_EQ("C1.22", data.communities[1].eunis_code);  // A2a takes A2's
  EXPECT_EQ("C1.69", data.communities[2].eunis_code);  // two "overlaps with": the first
  EXPECT_EQ("E1.27", data.communities[3].eunis_code);  // "is contained in" before "contains"
  EXPECT_EQ("E1.27", data.communities[5].eunis_code);
  EXPECT_EQ("", data.communities[8].eunis_code);  // W1 has none
  EXPECT_EQ("", data.communities[8].eunis_name);
}

TEST(ConvertTest, SpeciesAreBinomialsNumberedByGroup) {
  ReferenceData data = convert(smallSources());
  ASSERT_EQ(6u, data.species.size());
  std::vector<std::pair<int, std::string>> got;
  for (const Species& s : data.species) got.emplace_back(s.number, s.name);
  EXPECT_EQ((std::vector<std::pair<int, std::string>>{{1, "Betula pendula"},
                                                      {2, "Fraxinus excelsior"},
                                                      {3, "Lemna minor"},
                                                      {3001, "Hypnum cupressiforme"},
                                                      {4001, "Cladonia"},
                                                      {5001, "Fucus vesiculosus"}}),
            got);
}

TEST(ConvertTest, OneEntryPerSpeciesAndUnitWithHighestConstancyAndCover) {
  ReferenceData data = convert(smallSources());
  // Fraxinus in W1 (community 9): constancy 4 of (g), cover 9 of (c)
  ASSERT_EQ(1u, data.species[1].entries.size());
  EXPECT_EQ(9, data.species[1].entries[0].community);
  EXPECT_EQ(39, data.species[1].entries[0].class_code);
  // Hypnum in A10 (community 3): constancy 3, cover 2 of the variety
  ASSERT_EQ(1u, data.species[3].entries.size());
  EXPECT_EQ(22, data.species[3].entries[0].class_code);
  EXPECT_EQ(9u, data.entryCount());
}

TEST(ConvertTest, ConstancyOutsideItsRangeIsRefused) {
  Sources s = smallSources();
  s.floristic = CsvTable::parse(
      "nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n"
      "A2,Lemna minor,6,1,1,1,1\n",
      "floristic_tables.csv");
  EXPECT_THROW(convert(s), SourceError);
}

TEST(ConvertTest, TaxonWithoutGroupIsRefused) {
  Sources s = smallSources();
  s.taxa = CsvTable::parse("taxon,group\nLemna minor,vascular\n", "taxa.csv");
  EXPECT_THROW(convert(s), SourceError);
}

TEST(FormatTest, Specdict) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ(
      "   1 betu pend\n"
      "4001 clad     \n"
      "   2 frax exce\n"
      "5001 fucu vesi\n"
      "3001 hypn cupr\n"
      "   3 lemn mini\n"
      "   3 lemn mino\n",
      formatSpecdict(data));
}

TEST(FormatTest, Assoctab) {
  ReferenceData data = convert(smallSources());
  EXPECT_EQ(
      "    9    6\n"
      "  4 5  939  148  250  7 1  812  322  514  6 1\n"
      "    1    1    1\n"
      "    2    2    2\n"
      "    3    3    6\n"
      " 3001    7    7\n"
      " 4001    8    8\n"
      " 5001    9    9\n",
      formatAssoctab(data));
}

TEST(FormatTest, AssoctabEntriesFifteenToALine) {
  ReferenceData data;
  Species s;
  s.number = 12;
  for (int k = 1; k <= 16; ++k) s.entries.push_back({k * 50, 50});
  data.species.push_back(s);
  std::string text = formatAssoctab(data);
  std::string expected = "   16    1\n";
  for (int k = 1; k <= 15; ++k)
    expected += (k * 50 < 100 ? " " : "") + std::to_string(k * 50) + "50";
  expected += "\n80050\n   12    1   16\n";
  EXPECT_EQ(expected, text);
}

TEST(FormatTest, VersionIsOneLine) {
  EXPECT_EQ("tables of 2025, mended 2026\n", versionLine("tables of 2025, mended 2026\n"));
  for (const char* bad : {"", "\n", "no line end", "two\nlines\n", "carriage return\r\n"})
    EXPECT_THROW(versionLine(bad), std::runtime_error) << bad;
}

TEST(FormatTest, NvctypesRecordIsEightyColumns) {
  NvcRecord r{"CG 2a ", "Festuca ovina-Avenula", "Cirsium acaule", "E1.26",
              "Sub-Atl. semi-dry calc."};
  EXPECT_EQ(" CG 2a  Festuca ovina-Avenula   Cirsium acaule  E1.26   Sub-Atl. semi-dry calc. \n",
            formatNvctypes({r}));
  NvcRecord w{" W 1  ", "Salix", "", "", ""};
  EXPECT_EQ(81u, formatNvctypes({w}).size());
}

TEST(FormatTest, NvctypesFromConvertedData) {
  ReferenceData data = convert(smallSources());
  std::vector<NvcRecord> records = nvcRecords(data, Abbreviator({"Salix", "Galium"}));
  ASSERT_EQ(9u, records.size());
  EXPECT_EQ(" A 2a ", records[1].nvc_code);
  EXPECT_EQ("typical", records[1].subcommunity_name);
  EXPECT_EQ("", records[0].subcommunity_name);
  EXPECT_EQ(" W 1  ", records[8].nvc_code);
  EXPECT_EQ("S.ciner.-G.palus. woodl.", records[8].community_name);
}

TEST(FormatTest, TwoCommunitiesOfAGroupWithOneNameAreRefused) {
  ReferenceData data;
  Community a, b;
  a.code = parseUnitCode("S8");
  b.code = parseUnitCode("S20");
  a.name = b.name = "Scirpus lacustris swamp";
  data.communities = {a, b};
  EXPECT_THROW(nvcRecords(data, Abbreviator({})), std::runtime_error);
  b.code = parseUnitCode("A20");  // another group may
  data.communities = {a, b};
  EXPECT_EQ(2u, nvcRecords(data, Abbreviator({})).size());
}

TEST(HelpTest, PagesPaddedToTwentyThreeLinesAndSpecialKeysAppended) {
  ReferenceData data;
  Species a, b;
  a.name = "Rumex acetosella";
  a.key = "rume alla";
  b.name = "Rumex acetosa";
  b.key = "rume aosa";
  a.natural_key = b.natural_key = false;
  data.species = {a, b};
  std::string help = formatHelp("one\n%page\ntwo\nthree\n", data);
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = help.find('\n', from)) != std::string::npos; from = at + 1)
    lines.push_back(help.substr(from, at - from));
  ASSERT_EQ(23u + 23u + 9u, lines.size());  // the last page is not padded
  EXPECT_EQ("one", lines[0]);
  EXPECT_EQ("", lines[22]);
  EXPECT_EQ("two", lines[23]);
  EXPECT_EQ("SPECIAL NAME KEYS", lines[46].substr(0, 17));
  EXPECT_EQ("page 3", lines[46].substr(54));
  EXPECT_EQ("    shared     key        species", lines[52]);
  // the shared key once, then both species in name order
  EXPECT_EQ("    rume acet  rume aosa  Rumex acetosa", lines[53]);
  EXPECT_EQ("               rume alla  Rumex acetosella", lines[54]);
}

TEST(HelpTest, AGroupOfSpecialKeysIsNeverSplitBetweenPages) {
  ReferenceData data;
  // nine pairs: sixteen lines of a page hold eight of them
  for (char c = 'a'; c < 'a' + 9; ++c) {
    for (std::string epithet : {"alpha", "alphina"}) {
      Species s;
      s.name = std::string(1, static_cast<char>(c - 'a' + 'A')) + "enus " + epithet;
      s.key = std::string(1, c) + "enu " + (epithet == "alpha" ? "apha" : "aina");
      s.natural_key = false;
      data.species.push_back(s);
    }
  }
  std::string help = formatHelp("one\n", data);
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = help.find('\n', from)) != std::string::npos; from = at + 1)
    lines.push_back(help.substr(from, at - from));
  ASSERT_EQ(23u + 23u + 9u, lines.size());
  EXPECT_EQ("page 3", lines[46].substr(54));
  EXPECT_EQ(std::string(15, ' ') + "henu aina  Henus alphina", lines[45]);
  EXPECT_EQ("    ienu alph  ienu apha  Ienus alpha", lines[53]);
}

TEST(HelpTest, LongLineOrLongPageIsRefused) {
  ReferenceData data;
  EXPECT_THROW(formatHelp(std::string(61, 'x') + "\n", data), std::runtime_error);
  std::string page;
  for (int i = 0; i < 24; ++i) page += "line\n";
  EXPECT_THROW(formatHelp(page, data), std::runtime_error);
}

Sources withSynonyms(const std::string& rows) {
  Sources s = smallSources();
  s.synonyms = CsvTable::parse("name,taxon,reason\n" + rows, "synonyms.csv");
  return s;
}

TEST(SynonymTableTest, RowsAreKeyedForTheirTaxon) {
  ReferenceData data =
      convert(withSynonyms("Lemna minuscula,Lemna minor,older name\n"
                           "Fraxinus elatior,Fraxinus excelsior (c),older name\n"
                           "Fraxinus oxycarpa,Fraxinus excelsior,older name\n"));
  std::map<std::string, int> number;
  for (const DictRecord& r : data.dictionary) number[r.key] = data.species[r.species].number;
  EXPECT_EQ(3, number.at("lemn minu"));
  EXPECT_EQ(2, number.at("frax elat"));  // a taxon with its stratum suffix
  EXPECT_EQ(2, number.at("frax oxyc"));  // or without it
  EXPECT_EQ(3, number.at("lemn mini"));  // name_lookup.csv still counts
}

TEST(SynonymTableTest, AmbiguousRowIsNotKeyed) {
  // Lemna minuta and Lemna minutissima for two species: the key stands for neither
  ReferenceData data =
      convert(withSynonyms("Lemna minuta,Lemna minor,older name\n"
                           "Lemna minutissima,Fucus vesiculosus,test\n"));
  for (const DictRecord& r : data.dictionary) EXPECT_NE("lemn minu", r.key);
}

TEST(SynonymTableTest, BadRowsAreRefused) {
  EXPECT_THROW(convert(withSynonyms("Lemna minuscula,Lemna minuta,older name\n")), SourceError)
      << "no taxon of the tables";
  EXPECT_THROW(convert(withSynonyms("Lemna minuscula,Lemna minor,\n")), SourceError) << "no reason";
  EXPECT_THROW(convert(withSynonyms("Lemna minor agg.,Lemna minor,aggregate\n")), SourceError)
      << "a species of the tables";
  EXPECT_THROW(
      convert(withSynonyms("Lemna minuscula,Lemna minor,a\nLemna minuscula,Lemna minor,b\n")),
      SourceError)
      << "given twice";
}

TEST(SharedKeyTest, BothSpeciesGetSpecialKeysAndTheSharedKeyIsNotInTheDictionary) {
  Sources s = smallSources();
  s.floristic = CsvTable::parse(
      "nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n"
      "A2,Rumex acetosa,5,9,4,8,10\n"
      "A2a,Rumex acetosa,5,9,4,8,10\n"
      "A2,Rumex acetosella,1,1,1,1,1\n",
      "floristic_tables.csv");
  s.taxa = CsvTable::parse("taxon,group\nRumex acetosa,vascular\nRumex acetosella,vascular\n",
                           "taxa.csv");
  s.name_lookup =
      CsvTable::parse("original_name,taxon\nRumex acetosa agg.,Rumex acetosa\n", "name_lookup.csv");
  ReferenceData data = convert(s);
  EXPECT_EQ("rume aosa", data.species[0].key);
  EXPECT_EQ("rume alla", data.species[1].key);
  EXPECT_FALSE(data.species[0].natural_key);
  EXPECT_FALSE(data.species[1].natural_key);
  ASSERT_EQ(2u, data.dictionary.size());  // the synonym's key is the shared one
  EXPECT_EQ("rume alla", data.dictionary[0].key);
  EXPECT_EQ("rume aosa", data.dictionary[1].key);
}

TEST(FullNameTest, SpeciesTaxaOriginalNamesAndSynonyms) {
  ReferenceData data =
      convert(withSynonyms("Fraxinus elatior,Fraxinus excelsior (c),older name\n"));
  std::vector<FullName> expected = {
      {"Betula pendula", 0},
      {"Betula pendula x pubescens = B. x aurata", 0},
      {"Cladonia", 4},
      {"Fraxinus elatior", 1},
      {"Fraxinus excelsior", 1},
      {"Fucus vesiculosus", 5},
      {"Hypnum cupressiforme", 3},
      {"Hypnum cupressiforme var. lacunosum", 3},
      {"Lemna minima", 2},
      {"Lemna minor", 2},
  };
  EXPECT_EQ(expected, data.full_names);
}

TEST(FullNameTest, NameOfTwoSpeciesIsKeptForEach) {
  // name_lookup.csv gives Lemna minima to Lemna minor, the table to Fucus
  ReferenceData data = convert(withSynonyms("Lemna minima,Fucus vesiculosus,older name\n"));
  std::vector<FullName> lemnaMinima;
  for (const FullName& f : data.full_names)
    if (f.name == "Lemna minima") lemnaMinima.push_back(f);
  EXPECT_EQ((std::vector<FullName>{{"Lemna minima", 2}, {"Lemna minima", 5}}), lemnaMinima);
}

Sources withUksi(const std::string& rows) {
  Sources s = smallSources();
  s.uksi = CsvTable::parse("name,taxon,also_means\n" + rows, "uksi_synonyms.csv");
  return s;
}

TEST(UksiTableTest, NamesInAsciiWithoutThoseThatAlsoMeanAnotherTaxon) {
  const std::string rows =
      "Lemna minuscula,Lemna minor,\n"
      "Fraxinus oxycarpa,Fraxinus excelsior,\n"                   // the table has (c) and (g)
      "Hypnum ericetorum,Hypnum cupressiforme,\n"                 // two taxa of one species:
      "Hypnum ericetorum,Hypnum cupressiforme var. lacunosum,\n"  // the name once
      "Lemna minuta,Lemna minor,Lemna minuta\n"                   // also a taxon the tables lack,
      "Lemna minuta agg.,Lemna minor,\n"                          // and so is its form
      "Lichen madrepor\u00e6formis,Cladonia,\n"                   // "ae"
      "Cetraria aculeata \u03b2 hiascens,Cladonia,\n";            // Greek: left out
  ReferenceData data = convert(withUksi(rows));
  std::vector<FullName> expected = {
      {"Fraxinus oxycarpa", 1},
      {"Hypnum ericetorum", 3},
      {"Lemna minuscula", 2},
      {"Lichen madreporaeformis", 4},
  };
  EXPECT_EQ(expected, data.uksi_names);
  EXPECT_EQ(convert(smallSources()).full_names, data.full_names) << "the project's own names";
  EXPECT_EQ(convert(smallSources()).dictionary, data.dictionary) << "no UKSI name is keyed";
}

TEST(UksiTableTest, BadRowsAreRefused) {
  EXPECT_THROW(convert(withUksi("Lemna minuscula,Lemna minuta,\n")), SourceError)
      << "no taxon of the tables";
  EXPECT_THROW(convert(withUksi("Fraxinus oxycarpa,Fraxinus excelsior (c),\n")), SourceError)
      << "a taxon with its stratum suffix";
  EXPECT_THROW(convert(withUksi(" agg.,Lemna minor,\n")), SourceError) << "no name";
}

}  // namespace
}  // namespace nvcdata
