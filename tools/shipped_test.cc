// The committed data/*.txt files, checked against the source tables in
// data/source. The expectations come from the tables and the rules, worked
// out here independently of the builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "common/csv.h"

namespace nvcdata {
namespace {

using veg::CsvTable;

std::string sourceDir() {
  const char* dir = std::getenv("VEG_SOURCE_DIR");
  return dir ? dir : VEG_DEFAULT_SOURCE_DIR;
}

std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int number(const std::string& field) { return std::stoi(field); }

std::string trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s;
}

// The species of a taxon: its first two words, a stratum suffix removed.
std::string binomial(const std::string& taxon) {
  std::vector<std::string> words;
  std::string w;
  for (char c : taxon + " ") {
    if (c != ' ') {
      w += c;
    } else if (!w.empty()) {
      words.push_back(w);
      w.clear();
    }
  }
  if (words.back() == "(c)" || words.back() == "(s)" || words.back() == "(g)") words.pop_back();
  return words.size() == 1 ? words[0] : words[0] + " " + words[1];
}

std::string natural(const std::string& name) {
  std::string b = binomial(name);
  std::size_t blank = b.find(' ');
  std::string genus = b.substr(0, blank), epithet = blank == std::string::npos ? "" : b.substr(blank + 1);
  std::string key = (genus.substr(0, 4) + "    ").substr(0, 4) + " " + (epithet.substr(0, 4) + "    ").substr(0, 4);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

struct Shipped {
  std::vector<std::string> specdict, assoctab, nvctypes, help;
  std::map<std::string, int> keyNumber;                // SPECDICT
  int entries = 0, speciesRecords = 0;                 // ASSOCTAB header
  std::vector<std::pair<int, int>> entry;              // community, class; index 0 unused
  std::map<int, std::pair<int, int>> range;            // species number -> first, last
  std::map<std::string, int> community;                // "CG2a" -> community number
  std::map<std::string, std::string> specialKey;       // species name -> key, from HELP.txt
  CsvTable floristic, units, taxa, lookup, eunis;

  Shipped()
      : floristic(CsvTable::read(sourceDir() + "/data/source/floristic_tables.csv")),
        units(CsvTable::read(sourceDir() + "/data/source/units.csv")),
        taxa(CsvTable::read(sourceDir() + "/data/source/taxa.csv")),
        lookup(CsvTable::read(sourceDir() + "/data/source/name_lookup.csv")),
        eunis(CsvTable::read(sourceDir() + "/data/source/eunis_correspondence.csv")) {
    std::string data = sourceDir() + "/data/";
    specdict = readLines(data + "SPECDICT.txt");
    assoctab = readLines(data + "ASSOCTAB.txt");
    nvctypes = readLines(data + "NVCTYPES.txt");
    help = readLines(data + "HELP.txt");
    for (const std::string& line : specdict) keyNumber[line.substr(5, 9)] = number(line.substr(0, 4));
    entries = number(assoctab[0].substr(0, 5));
    speciesRecords = number(assoctab[0].substr(5, 5));
    entry.emplace_back(0, 0);
    std::size_t line = 1;
    for (; static_cast<int>(entry.size()) <= entries; ++line)
      for (std::size_t col = 0; col + 5 <= assoctab[line].size(); col += 5)
        entry.emplace_back(number(assoctab[line].substr(col, 3)), number(assoctab[line].substr(col + 3, 2)));
    for (; line < assoctab.size(); ++line)
      range[number(assoctab[line].substr(0, 5))] = {number(assoctab[line].substr(5, 5)),
                                                    number(assoctab[line].substr(10, 5))};
    for (std::size_t k = 0; k < nvctypes.size(); ++k)
      community[codeOf(nvctypes[k])] = static_cast<int>(k + 1);
    bool inList = false;
    for (const std::string& l : help) {
      if (l.rfind("SPECIAL NAME KEYS", 0) == 0) inList = true;
      if (inList && l.size() > 17 && l.rfind("    ", 0) == 0) specialKey[trim(l.substr(17))] = l.substr(4, 9);
    }
  }

  // "CG 2a " back to "CG2a".
  static std::string codeOf(const std::string& record) {
    return trim(record.substr(1, 2)) + trim(record.substr(3, 2)) + trim(record.substr(5, 1));
  }
  std::string keyOf(const std::string& species) const {
    auto it = specialKey.find(species);
    return it != specialKey.end() ? it->second : natural(species);
  }
  int numberOf(const std::string& species) const { return keyNumber.at(keyOf(species)); }
  int entryCount(int species) const { return range.at(species).second - range.at(species).first + 1; }
  // The class code of a species in a unit, 0 when it has no entry there.
  int classOf(const std::string& species, const std::string& unit) const {
    auto [first, last] = range.at(numberOf(species));
    for (int e = first; e <= last; ++e)
      if (entry[e].first == community.at(unit)) return entry[e].second;
    return 0;
  }
  std::string record(const std::string& unit) const { return nvctypes[community.at(unit) - 1]; }
};

class ShippedTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { shipped = new Shipped(); }
  static void TearDownTestSuite() { delete shipped; }
  static Shipped* shipped;
  const Shipped& s = *shipped;
};
Shipped* ShippedTest::shipped = nullptr;

TEST_F(ShippedTest, OneEightyColumnRecordPerUnitWithATable) {
  std::set<std::string> withTable;
  for (const auto& row : s.floristic.rows()) withTable.insert(row[s.floristic.column("nvc_code")]);
  EXPECT_EQ(856u, withTable.size());
  ASSERT_EQ(856u, s.nvctypes.size());
  std::set<std::string> listed;
  for (const std::string& r : s.nvctypes) {
    EXPECT_EQ(80u, r.size()) << r;
    EXPECT_EQ(' ', r[0]);
    EXPECT_EQ(' ', r[7]);
    EXPECT_EQ(' ', r[6]);
    listed.insert(Shipped::codeOf(r));
  }
  EXPECT_EQ(withTable, listed);
}

TEST_F(ShippedTest, NumberedByGroupThenNumberWithSubcommunitiesAfterTheirCommunity) {
  const std::vector<std::string> groups = {"A", "CG", "H", "M", "MC", "MG", "OV", "S", "SD", "SM", "U", "W"};
  std::size_t group = 0;
  int lastNumber = 0;
  char lastLetter = ' ';
  for (const std::string& r : s.nvctypes) {
    std::string g = trim(r.substr(1, 2));
    int n = number(r.substr(3, 2));
    char letter = r[5];
    if (g != groups[group]) {
      ASSERT_LT(group + 1, groups.size());
      ++group;
      ASSERT_EQ(groups[group], g) << r;
      lastNumber = 0;
    }
    if (n != lastNumber) {
      EXPECT_GT(n, lastNumber) << r;
      EXPECT_EQ(' ', letter) << "subcommunity before its community: " << r;
    } else {
      EXPECT_GT(letter, lastLetter) << r;
    }
    lastNumber = n;
    lastLetter = letter;
  }
  EXPECT_EQ(groups.size() - 1, group);
}

TEST_F(ShippedTest, CodeFieldLayout) {
  EXPECT_EQ(" A 1  ", s.nvctypes[0].substr(1, 6));
  EXPECT_EQ("CG 2a ", s.record("CG2a").substr(1, 6));
  EXPECT_EQ(" A10  ", s.record("A10").substr(1, 6));
  EXPECT_EQ("SM12b ", s.record("SM12b").substr(1, 6));
}

TEST_F(ShippedTest, WoodlandStartsAtW1AndRunsToTheEnd) {
  int nonWoodland = 0;
  std::set<std::string> codes;
  for (const auto& row : s.floristic.rows()) codes.insert(row[s.floristic.column("nvc_code")]);
  for (const std::string& c : codes) nonWoodland += c[0] != 'W';
  int w1 = 0;
  for (std::size_t k = 0; k < s.nvctypes.size(); ++k) {
    if (s.nvctypes[k].substr(1, 6) == " W 1  ") {
      EXPECT_EQ(0, w1) << "two records coded W1";
      w1 = static_cast<int>(k + 1);
    }
  }
  EXPECT_EQ(nonWoodland + 1, w1);
  for (std::size_t k = w1 - 1; k < s.nvctypes.size(); ++k) EXPECT_EQ(" W", s.nvctypes[k].substr(1, 2));
}

TEST_F(ShippedTest, NamesOfCommunitiesAndSubcommunities) {
  std::map<std::string, std::string> communityName;
  for (const std::string& r : s.nvctypes) {
    std::string code = Shipped::codeOf(r), name = r.substr(8, 24), sub = r.substr(32, 16);
    for (char c : r) EXPECT_TRUE(c >= ' ' && c <= '~') << r;
    EXPECT_NE(' ', name[0]) << r;
    if (r[5] == ' ') {
      EXPECT_EQ(std::string(16, ' '), sub) << r;
      communityName[code] = name;
    } else {
      EXPECT_NE(' ', sub[0]) << r;
      EXPECT_EQ(communityName.at(code.substr(0, code.size() - 1)), name) << r;
    }
  }
}

TEST_F(ShippedTest, NoTwoCommunitiesOfAGroupNorSubcommunitiesOfACommunityShareAName) {
  std::set<std::string> seen;
  for (const std::string& r : s.nvctypes) {
    std::string owner = r[5] == ' ' ? trim(r.substr(1, 2)) : Shipped::codeOf(r).substr(0, Shipped::codeOf(r).size() - 1);
    std::string name = r[5] == ' ' ? r.substr(8, 24) : r.substr(32, 16);
    EXPECT_TRUE(seen.insert(owner + (r[5] == ' ' ? "|c|" : "|s|") + name).second) << r;
  }
}

TEST_F(ShippedTest, UnitsWithoutARowAreNamedAfterTheirCommunity) {
  EXPECT_EQ(s.record("SD7").substr(8, 24), s.record("SD7e").substr(8, 24));
  EXPECT_EQ("subcommunity e  ", s.record("SD7e").substr(32, 16));
  EXPECT_EQ("subcommunity a  ", s.record("SM12a").substr(32, 16));
  EXPECT_EQ("subcommunity b  ", s.record("SM12b").substr(32, 16));
}

TEST_F(ShippedTest, EunisChosenByRelationshipThenFileOrder) {
  EXPECT_EQ("F9.2    ", s.record("W1").substr(48, 8));    // its only one, "relationship uncertain"
  EXPECT_EQ("C1.69   ", s.record("A10").substr(48, 8));   // five "overlaps with": the first
  EXPECT_EQ("A2.545  ", s.record("SM14").substr(48, 8));  // "is equal to", second in the file
  EXPECT_EQ("C3.21   ", s.record("S4").substr(48, 8));    // first "is contained in", third row
  EXPECT_EQ("Salix carr and fen scrub", s.record("W1").substr(56, 24));
  EXPECT_EQ(s.record("A2").substr(48, 32), s.record("A2a").substr(48, 32));
  EXPECT_EQ(s.record("W8").substr(48, 32), s.record("W8g").substr(48, 32));
}

TEST_F(ShippedTest, CommunitiesWithoutEunisAreBlank) {
  const std::set<std::string> without = {"H17", "M7", "MG2", "MG3", "OV32", "OV35", "OV38", "U19"};
  for (const std::string& r : s.nvctypes) {
    std::string code = Shipped::codeOf(r);
    std::string community = r[5] == ' ' ? code : code.substr(0, code.size() - 1);
    if (without.count(community))
      EXPECT_EQ(std::string(32, ' '), r.substr(48, 32)) << r;
    else
      EXPECT_NE(' ', r[48]) << r;
  }
}

TEST_F(ShippedTest, AssoctabHoldsOneEntryPerSpeciesAndUnit) {
  std::set<std::pair<std::string, std::string>> pairs;
  std::set<std::string> species;
  for (const auto& row : s.floristic.rows()) {
    std::string b = binomial(row[s.floristic.column("taxon")]);
    pairs.emplace(row[s.floristic.column("nvc_code")], b);
    species.insert(b);
  }
  EXPECT_EQ(static_cast<int>(pairs.size()), s.entries);
  EXPECT_EQ(static_cast<int>(species.size()), s.speciesRecords);
  EXPECT_EQ(1561u, species.size());
  EXPECT_LE(s.entries, 50000);
}

TEST_F(ShippedTest, AssoctabLayout) {
  ASSERT_EQ(static_cast<std::size_t>(1 + (s.entries + 14) / 15 + s.speciesRecords), s.assoctab.size());
  for (int line = 1; line <= s.entries / 15; ++line) EXPECT_EQ(75u, s.assoctab[line].size());
  int expectedFirst = 1, lastNumber = 0;
  for (const auto& [species, r] : s.range) {
    EXPECT_GT(species, lastNumber);
    EXPECT_EQ(expectedFirst, r.first) << species;
    EXPECT_LE(r.first, r.second) << species;
    int lastCommunity = 0;
    for (int e = r.first; e <= r.second; ++e) {
      EXPECT_GT(s.entry[e].first, lastCommunity) << "species " << species;
      EXPECT_LE(s.entry[e].first, 856);
      EXPECT_GE(s.entry[e].second, 1);
      EXPECT_LE(s.entry[e].second, 50);
      lastCommunity = s.entry[e].first;
    }
    expectedFirst = r.second + 1;
    lastNumber = species;
  }
  EXPECT_EQ(s.entries + 1, expectedFirst);
}

TEST_F(ShippedTest, ClassCodesOfSomeTableRows) {
  EXPECT_EQ(50, s.classOf("Lemna gibba", "A1"));         // V, Domin 10
  EXPECT_EQ(13, s.classOf("Lemna minor", "A1"));         // II, 3
  EXPECT_EQ(50, s.classOf("Salix cinerea", "W1"));       // (s) V, 10
  EXPECT_EQ(40, s.classOf("Fraxinus excelsior", "W8"));  // (c) IV 10, (s) III 8, (g) II 4
  EXPECT_EQ(28, s.classOf("Fraxinus excelsior", "W7"));  // (c) III 7, (s) II 8, (g) I 3
  EXPECT_EQ(28, s.classOf("Acer campestre", "W8"));      // (c) II 8, (s) III 7, (g) I 4
  EXPECT_EQ(15, s.classOf("Alchemilla filicaulis", "CG12"));  // II 4 and subsp. vestita I 5
  EXPECT_EQ(0, s.classOf("Lemna gibba", "W1"));
}

TEST_F(ShippedTest, EveryTableRowHasItsEntry) {
  std::map<std::pair<std::string, std::string>, std::pair<int, int>> best;  // constancy, cover
  const CsvTable& f = s.floristic;
  for (const auto& row : f.rows()) {
    auto& b = best[{row[f.column("nvc_code")], binomial(row[f.column("taxon")])}];
    b.first = std::max(b.first, number(row[f.column("constancy")]));
    b.second = std::max(b.second, number(row[f.column("max_domin")]));
  }
  for (const auto& [where, b] : best)
    ASSERT_EQ(10 * (b.first - 1) + b.second, s.classOf(where.second, where.first))
        << where.second << " in " << where.first;
}

TEST_F(ShippedTest, SpeciesNumbersByGroup) {
  std::map<std::string, std::string> group;
  for (const auto& row : s.taxa.rows()) group[binomial(row[s.taxa.column("taxon")])] = row[s.taxa.column("group")];
  for (const auto& [species, g] : group) {
    int n = s.numberOf(species);
    if (g == "vascular") {
      EXPECT_TRUE(n >= 1 && n <= 3000) << species << " " << n;
    } else if (g == "bryophyte") {
      EXPECT_TRUE(n >= 3001 && n <= 4000) << species << " " << n;
    } else {
      EXPECT_TRUE(n >= 4001 && n <= 9000) << species << " " << n;
    }
  }
}

TEST_F(ShippedTest, DictionaryLayoutAndOrder) {
  EXPECT_LE(s.specdict.size(), 2998u);
  std::string previous = "NEW NAME ";
  for (const std::string& line : s.specdict) {
    ASSERT_EQ(14u, line.size()) << line;
    EXPECT_EQ(' ', line[4]) << line;
    EXPECT_GT(line.substr(5, 9), previous) << "not ascending after " << previous;
    previous = line.substr(5, 9);
  }
}

TEST_F(ShippedTest, DictionaryAndTablesNameTheSameSpecies) {
  std::set<int> inDictionary;
  for (const auto& [key, n] : s.keyNumber) inDictionary.insert(n);
  std::set<int> inTables;
  for (const auto& [n, r] : s.range) inTables.insert(n);
  EXPECT_EQ(inTables, inDictionary);
}

TEST_F(ShippedTest, SharedKeysGoToTheSpeciesWithMoreEntries) {
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"Rumex acetosa", "Rumex acetosella"},    {"Carex acuta", "Carex acutiformis"},
      {"Carex panicea", "Carex paniculata"},    {"Carex distans", "Carex disticha"},
      {"Juncus acutiflorus", "Juncus acutus"},  {"Reseda lutea", "Reseda luteola"},
      {"Cladonia", "Cladophora"},               {"Polygala vulgaris", "Polypodium vulgare"},
      {"Salix myrsinifolia", "Salix myrsinites"}, {"Sagina saginoides", "Sagittaria sagittifolia"},
  };
  std::map<std::string, std::set<std::string>> units;
  for (const auto& row : s.floristic.rows())
    units[binomial(row[s.floristic.column("taxon")])].insert(row[s.floristic.column("nvc_code")]);
  for (const auto& [a, b] : pairs) {
    ASSERT_EQ(natural(a), natural(b));
    EXPECT_NE(s.numberOf(a), s.numberOf(b)) << a;
    EXPECT_EQ(1u, s.specialKey.count(a) + s.specialKey.count(b)) << a << " / " << b;
    std::size_t most = std::max(units[a].size(), units[b].size());
    EXPECT_EQ(static_cast<int>(most), s.entryCount(s.keyNumber.at(natural(a)))) << a;
  }
  EXPECT_EQ(s.numberOf("Rumex acetosella"), s.keyNumber.at("rume acea"));
}

TEST_F(ShippedTest, SynonymsPointToTheirSpeciesOrAreLeftOut) {
  EXPECT_EQ(s.numberOf("Avenella flexuosa"), s.keyNumber.at("desc flex"));
  EXPECT_EQ(s.numberOf("Jacobaea vulgaris"), s.keyNumber.at("sene jaco"));
  // Festuca ovina/rubra (vegetative) is the genus Festuca; its key stays Festuca ovina's
  EXPECT_NE(s.numberOf("Festuca"), s.keyNumber.at("fest ovin"));
  std::set<std::string> currentKeys;
  for (const auto& row : s.taxa.rows()) currentKeys.insert(s.keyOf(binomial(row[s.taxa.column("taxon")])));
  for (const auto& row : s.lookup.rows()) {
    std::string original = row[s.lookup.column("original_name")], taxon = row[s.lookup.column("taxon")];
    std::string key = natural(original);
    if (original == taxon || currentKeys.count(key) || !s.keyNumber.count(key)) continue;
    EXPECT_EQ(s.numberOf(binomial(taxon)), s.keyNumber.at(key)) << original;
  }
}

TEST_F(ShippedTest, HelpPages) {
  EXPECT_NE(0u, s.help.size() % 23) << "a blank page would follow the last";
  for (std::size_t k = 0; k < s.help.size(); ++k) {
    EXPECT_LE(s.help[k].size(), 60u) << "line " << k + 1;
    if (k % 23 == 0) {
      std::string number = "page " + std::to_string(k / 23 + 1);
      ASSERT_EQ(60u, s.help[k].size()) << "page title " << s.help[k];
      EXPECT_EQ(number, s.help[k].substr(60 - number.size())) << s.help[k];
    }
  }
  EXPECT_EQ(14u, s.specialKey.size());
  for (const auto& [name, key] : s.specialKey) {
    EXPECT_NE(natural(name), key) << name;
    EXPECT_EQ(natural(name).substr(0, 5), key.substr(0, 5)) << "genus part kept: " << name;
  }
}

}  // namespace
}  // namespace nvcdata
