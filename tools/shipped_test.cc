// The committed data/*.txt files, checked against the source tables in
// data/source. The expectations come from the tables and the rules, worked
// out here independently of the builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "common/csv.h"
#include "engine/testing/shared_keys.h"

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
  std::string genus = b.substr(0, blank),
              epithet = blank == std::string::npos ? "" : b.substr(blank + 1);
  std::string key = (genus.substr(0, 4) + "    ").substr(0, 4) + " " +
                    (epithet.substr(0, 4) + "    ").substr(0, 4);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

CsvTable readSource(const std::string& file) {
  return CsvTable::read(sourceDir() + "/data/source/" + file);
}

// The floristic table with the row files of data/source/mends applied as
// ATTRIBUTION.md tells: in each unit a file lists, the rows of the taxa the
// file names give way to the file's rows.
CsvTable mendedFloristic(const CsvTable& published) {
  std::vector<std::vector<std::string>> rows = published.rows();
  for (const char* file : {"mends/algae_rows.csv", "mends/carex_serotina_rows.csv"}) {
    CsvTable mend = readSource(file);
    std::set<std::string> units, taxa;
    for (const auto& row : mend.rows()) {
      units.insert(row[mend.column("nvc_code")]);
      taxa.insert(row[mend.column("taxon")]);
    }
    std::erase_if(rows, [&](const std::vector<std::string>& row) {
      return units.count(row[published.column("nvc_code")]) &&
             taxa.count(row[published.column("taxon")]);
    });
    for (const auto& row : mend.rows()) {
      std::vector<std::string> added;
      for (const std::string& column : published.header())
        added.push_back(row[mend.column(column)]);
      rows.push_back(added);
    }
  }
  return published.withRows(rows);
}

// taxa.csv with the new taxa of the mends, and name_lookup.csv with their
// original names pointing at them.
void addNewTaxa(CsvTable& taxa, CsvTable& lookup) {
  CsvTable added = readSource("mends/new_taxa.csv");
  std::vector<std::vector<std::string>> taxaRows = taxa.rows(), lookupRows = lookup.rows();
  for (const auto& row : added.rows()) {
    taxaRows.push_back({row[added.column("taxon")], row[added.column("group")]});
    bool found = false;
    for (auto& l : lookupRows) {
      if (l[0] == row[added.column("original_name")]) {
        l[1] = row[added.column("taxon")];
        found = true;
      }
    }
    if (!found)
      lookupRows.push_back({row[added.column("original_name")], row[added.column("taxon")]});
  }
  taxa = taxa.withRows(taxaRows);
  lookup = lookup.withRows(lookupRows);
}

struct Shipped {
  std::vector<std::string> specdict, assoctab, nvctypes, help;
  std::map<std::string, int> keyNumber;            // SPECDICT
  int entries = 0, speciesRecords = 0;             // ASSOCTAB header
  std::vector<std::pair<int, int>> entry;          // community, class; index 0 unused
  std::map<int, std::pair<int, int>> range;        // species number -> first, last
  std::map<std::string, int> community;            // "CG2a" -> community number
  std::map<std::string, std::string> specialKey;   // species name -> key, from HELP.txt
  std::map<std::string, std::string> sharedKeyOf;  // species name -> the key it shares
  std::vector<std::string> names;                  // NAMES.txt
  CsvTable floristic, units, taxa, name_lookup, eunis, synonyms, uksi;

  // The source tables as the builder converts them, with the mends applied.
  Shipped()
      : floristic(mendedFloristic(readSource("floristic_tables.csv"))),
        units(readSource("units.csv")),
        taxa(readSource("taxa.csv")),
        name_lookup(readSource("name_lookup.csv")),
        eunis(readSource("eunis_correspondence.csv")),
        synonyms(readSource("synonyms.csv")),
        uksi(readSource("uksi_synonyms.csv")) {
    addNewTaxa(taxa, name_lookup);
    std::string data = sourceDir() + "/data/";
    specdict = readLines(data + "SPECDICT.txt");
    assoctab = readLines(data + "ASSOCTAB.txt");
    nvctypes = readLines(data + "NVCTYPES.txt");
    help = readLines(data + "HELP.txt");
    names = readLines(data + "NAMES.txt");
    for (const std::string& line : specdict)
      keyNumber[line.substr(5, 9)] = number(line.substr(0, 4));
    entries = number(assoctab[0].substr(0, 5));
    speciesRecords = number(assoctab[0].substr(5, 5));
    entry.emplace_back(0, 0);
    std::size_t line = 1;
    for (; static_cast<int>(entry.size()) <= entries; ++line)
      for (std::size_t col = 0; col + 5 <= assoctab[line].size(); col += 5)
        entry.emplace_back(number(assoctab[line].substr(col, 3)),
                           number(assoctab[line].substr(col + 3, 2)));
    for (; line < assoctab.size(); ++line)
      range[number(assoctab[line].substr(0, 5))] = {number(assoctab[line].substr(5, 5)),
                                                    number(assoctab[line].substr(10, 5))};
    for (std::size_t k = 0; k < nvctypes.size(); ++k)
      community[codeOf(nvctypes[k])] = static_cast<int>(k + 1);
    // Lines of the special-key pages: the shared key in columns 5-13 (blank
    // after a group's first line), the key in 16-24, the name from 27.
    bool inList = false;
    std::string shared;
    for (const std::string& l : help) {
      if (l.rfind("SPECIAL NAME KEYS", 0) == 0) inList = true;
      if (!inList || l.size() <= 26 || l.rfind("    ", 0) != 0 ||
          l.find("shared") != std::string::npos)
        continue;
      if (l.substr(4, 9) != std::string(9, ' ')) shared = l.substr(4, 9);
      specialKey[l.substr(26)] = l.substr(15, 9);
      sharedKeyOf[l.substr(26)] = shared;
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
  int entryCount(int species) const {
    return range.at(species).second - range.at(species).first + 1;
  }
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
  const std::vector<std::string> groups = {"A",  "CG", "H",  "M",  "MC", "MG",
                                           "OV", "S",  "SD", "SM", "U",  "W"};
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
  for (std::size_t k = w1 - 1; k < s.nvctypes.size(); ++k)
    EXPECT_EQ(" W", s.nvctypes[k].substr(1, 2));
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
    std::string owner = r[5] == ' ' ? trim(r.substr(1, 2))
                                    : Shipped::codeOf(r).substr(0, Shipped::codeOf(r).size() - 1);
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
  // 1561 species of the published tables, Algae and Carex viridula of the mends
  EXPECT_EQ(1563u, species.size());
  EXPECT_LE(s.entries, 50000);
}

TEST_F(ShippedTest, AssoctabLayout) {
  ASSERT_EQ(static_cast<std::size_t>(1 + (s.entries + 14) / 15 + s.speciesRecords),
            s.assoctab.size());
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
  EXPECT_EQ(50, s.classOf("Lemna gibba", "A1"));              // V, Domin 10
  EXPECT_EQ(13, s.classOf("Lemna minor", "A1"));              // II, 3
  EXPECT_EQ(50, s.classOf("Salix cinerea", "W1"));            // (s) V, 10
  EXPECT_EQ(40, s.classOf("Fraxinus excelsior", "W8"));       // (c) IV 10, (s) III 8, (g) II 4
  EXPECT_EQ(28, s.classOf("Fraxinus excelsior", "W7"));       // (c) III 7, (s) II 8, (g) I 3
  EXPECT_EQ(28, s.classOf("Acer campestre", "W8"));           // (c) II 8, (s) III 7, (g) I 4
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
  for (const auto& row : s.taxa.rows())
    group[binomial(row[s.taxa.column("taxon")])] = row[s.taxa.column("group")];
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

using engine::testing::kSharedKeyPairs;


// Species numbers as the numbering rule gives them: by group (vascular from
// 1, bryophytes from 3001, lichens from 4001, algae from 5001), within a
// group in byte order of the names.
std::map<std::string, int> expectedNumbers(const CsvTable& taxa) {
  std::map<std::string, std::map<std::string, int>> byGroup;
  for (const auto& row : taxa.rows())
    byGroup[row[taxa.column("group")]][binomial(row[taxa.column("taxon")])] = 0;
  const std::map<std::string, int> first = {
      {"vascular", 1}, {"bryophyte", 3001}, {"lichen", 4001}, {"alga", 5001}};
  std::map<std::string, int> out;
  for (auto& [group, species] : byGroup) {
    int n = first.at(group);
    for (auto& [name, number] : species) out[name] = n++;
  }
  return out;
}

TEST_F(ShippedTest, SharedNaturalKeysStandForNoSpecies) {
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  std::map<std::string, std::vector<std::string>> sharing;
  for (const auto& [name, n] : number) sharing[natural(name)].push_back(name);
  std::set<std::string> shared;
  for (const auto& [key, species] : sharing)
    if (species.size() > 1) shared.insert(key);
  EXPECT_EQ(14u, shared.size());
  for (const auto& pair : kSharedKeyPairs) {
    SCOPED_TRACE(pair[1]);
    EXPECT_TRUE(shared.count(pair[0]));
    EXPECT_EQ(0u, s.keyNumber.count(pair[0])) << "the shared key stands for a species";
    EXPECT_EQ(number.at(pair[1]), s.keyNumber.at(pair[2]));
    EXPECT_EQ(number.at(pair[3]), s.keyNumber.at(pair[4]));
    EXPECT_EQ(pair[2], s.specialKey.at(pair[1]));
    EXPECT_EQ(pair[4], s.specialKey.at(pair[3]));
    EXPECT_EQ(pair[0], s.sharedKeyOf.at(pair[1]));
    EXPECT_EQ(pair[0], s.sharedKeyOf.at(pair[3]));
  }
}

TEST_F(ShippedTest, NoNaturalKeyOfASpeciesStandsForAnotherSpecies) {
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  for (const auto& [name, n] : number) {
    auto it = s.keyNumber.find(natural(name));
    if (it != s.keyNumber.end()) {
      EXPECT_EQ(n, it->second) << name << " typed finds another species";
    }
  }
  // nor does the key of a synonym, unless it is a species' own key
  std::map<std::string, int> ownKey;
  for (const auto& [name, n] : number) ownKey[s.keyOf(name)] = n;
  for (const CsvTable* table : {&s.name_lookup, &s.synonyms}) {
    std::size_t nameColumn = table->column(table == &s.name_lookup ? "original_name" : "name");
    for (const auto& row : table->rows()) {
      std::string key = natural(row[nameColumn]);
      auto it = s.keyNumber.find(key);
      if (it == s.keyNumber.end()) continue;
      int expected =
          ownKey.count(key) ? ownKey.at(key) : number.at(binomial(row[table->column("taxon")]));
      EXPECT_EQ(expected, it->second) << row[nameColumn];
    }
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
  EXPECT_EQ(28u, s.specialKey.size());
  for (const auto& [name, key] : s.specialKey) {
    std::string n = natural(name);
    EXPECT_NE(n, key) << name;
    EXPECT_EQ(n.substr(0, 5), key.substr(0, 5)) << "genus part kept: " << name;
    // the name menu of the shared key offers keys of its first and sixth
    // characters, or of its genus part when the sixth is blank
    if (n[5] != ' ') {
      EXPECT_EQ(n[5], key[5]) << name;
    }
  }
}

// The matching form of a full name: lower case, single blanks, no stratum
// suffix and none of the qualifiers agg., s.l., s. lat., sens. lat.
std::string matching(const std::string& name) {
  std::vector<std::string> words;
  std::string w;
  for (char c : name + " ") {
    if (c != ' ' && c != '\t') {
      w += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!w.empty()) {
      words.push_back(w);
      w.clear();
    }
  }
  if (!words.empty() && (words.back() == "(c)" || words.back() == "(s)" || words.back() == "(g)"))
    words.pop_back();
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "agg." || words[i] == "s.l." || words[i] == "s.lat." || words[i] == "s.str.")
      continue;
    if (i + 1 < words.size() && (words[i] == "s." || words[i] == "sens.") &&
        (words[i + 1] == "lat." || words[i + 1] == "str.")) {
      ++i;
      continue;
    }
    if (i + 1 < words.size() && words[i] == "sensu" &&
        (words[i + 1] == "lato" || words[i + 1] == "stricto")) {
      ++i;
      continue;
    }
    out += (out.empty() ? "" : " ") + words[i];
  }
  return out;
}

int number_of(const std::string& record) { return std::stoi(record.substr(0, 4)); }

// One record of NAMES.txt: the species number and key.
using Record = std::pair<int, std::string>;

class NamesTableTest : public ShippedTest {
 protected:
  // NAMES.txt: number in columns 1-4, key in 6-14, the name from 16; per
  // matching form its records. The records are in order of the forms, those
  // of one form in ascending number, all with the same name.
  std::map<std::string, std::vector<Record>> table() const {
    std::map<std::string, std::vector<Record>> out;
    std::map<std::string, std::string> nameOf;
    std::pair<std::string, int> previous;
    for (const std::string& line : s.names) {
      EXPECT_GE(line.size(), 16u) << line;
      EXPECT_TRUE(line[4] == ' ' || line[4] == '*') << line;
      EXPECT_EQ(' ', line[14]) << line;
      for (char c : line) EXPECT_TRUE(c >= ' ' && c <= '~') << line;
      std::string form = matching(line.substr(15));
      std::pair<std::string, int> place(form, number(line.substr(0, 4)));
      EXPECT_LT(previous, place) << "out of order: " << line;
      previous = place;
      auto name = nameOf.emplace(form, line.substr(15)).first;
      EXPECT_EQ(name->second, line.substr(15)) << "two names of one form: " << line;
      out[form].emplace_back(place.second, line.substr(5, 9));
    }
    return out;
  }
  // The one record of a form; fails unless there is exactly one.
  static Record only(const std::map<std::string, std::vector<Record>>& names,
                     const std::string& form) {
    auto it = names.find(form);
    if (it == names.end() || it->second.size() != 1) {
      ADD_FAILURE() << form << ": " << (it == names.end() ? 0 : it->second.size()) << " records";
      return {};
    }
    return it->second[0];
  }
};

// Every species has one record marked as its own name: the record of its
// binomial's form, under its number; no other record is marked.
TEST_F(NamesTableTest, EachSpeciesOwnNameIsMarked) {
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  std::map<std::string, int> marked;  // form -> number
  for (const std::string& line : s.names) {
    if (line[4] == '*') {
      EXPECT_TRUE(marked.emplace(matching(line.substr(15)), number_of(line)).second) << line;
    }
  }
  std::map<std::string, int> expected;
  for (const auto& [species, n] : number) expected[matching(species)] = n;
  EXPECT_EQ(expected, marked);
}

TEST_F(NamesTableTest, EveryTaxonOfTheTablesWithItsNumberAndKey) {
  auto names = table();
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  for (const auto& row : s.taxa.rows()) {
    std::string taxon = row[s.taxa.column("taxon")];
    std::string species = binomial(taxon);
    SCOPED_TRACE(taxon);
    Record r = only(names, matching(taxon));  // never ambiguous
    EXPECT_EQ(number.at(species), r.first);
    EXPECT_EQ(s.keyOf(species), r.second);
    EXPECT_EQ(number.at(species), s.keyNumber.at(r.second));
  }
}

TEST_F(NamesTableTest, SharedKeySpeciesByTheirFullNames) {
  auto names = table();
  EXPECT_EQ(Record(s.keyNumber.at("rume alla"), "rume alla"), only(names, "rumex acetosella"));
  EXPECT_EQ(Record(s.keyNumber.at("rume aosa"), "rume aosa"), only(names, "rumex acetosa"));
  EXPECT_EQ("poly vare",
            only(names, "polypodium vulgare").second);  // also "Polypodium vulgare sens. lat."
}

// The hand-kept synonyms: at least 80 rows of name, table taxon and reason.
TEST_F(NamesTableTest, EverySynonymRowResolvesToItsTaxon) {
  auto names = table();
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  std::set<std::string> taxa;
  for (const auto& row : s.floristic.rows()) {
    taxa.insert(row[s.floristic.column("taxon")]);
    taxa.insert(matching(row[s.floristic.column("taxon")]));
  }
  EXPECT_GE(s.synonyms.rows().size(), 80u);
  for (const auto& row : s.synonyms.rows()) {
    std::string name = row[s.synonyms.column("name")], taxon = row[s.synonyms.column("taxon")];
    SCOPED_TRACE(name);
    EXPECT_FALSE(row[s.synonyms.column("reason")].empty());
    EXPECT_TRUE(taxa.count(taxon) || taxa.count(matching(taxon)))
        << taxon << " is no taxon of the tables";
    int expected = number.at(binomial(taxon));
    ASSERT_TRUE(s.keyNumber.count(natural(name))) << natural(name) << " not keyed";
    EXPECT_EQ(expected, s.keyNumber.at(natural(name)));
    EXPECT_EQ(expected, only(names, matching(name)).first);
  }
}

TEST_F(NamesTableTest, NamesUsersTypeToday) {
  const std::vector<std::pair<std::string, std::string>> typed = {
      {"Thymus polytrichus", "Thymus drucei"},
      {"Persicaria bistorta", "Bistorta officinalis"},
      {"Trichophorum germanicum", "Trichophorum cespitosum"},
      {"Sphagnum denticulatum", "Sphagnum auriculatum"},
      {"Taraxacum officinale", "Taraxacum"},
      {"Festuca arundinacea", "Schedonorus arundinaceus"},
      {"Rhytidiadelphus triquetrus", "Hylocomiadelphus triquetrus"},
      {"Scleropodium purum", "Pseudoscleropodium purum"},
      {"Calliergon cuspidatum", "Calliergonella cuspidata"},
      {"Avenula pratensis", "Helictochloa pratensis"},
      {"Ranunculus ficaria", "Ficaria verna"},
  };
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  auto names = table();
  for (const auto& [name, taxon] : typed) {
    EXPECT_EQ(number.at(taxon), s.keyNumber.at(natural(name))) << name;
    EXPECT_EQ(number.at(taxon), only(names, matching(name)).first) << name;
  }
}

// The UKSI synonyms, row by row: a name of one species of the tables joins
// for that species, a name of two or more is listed under each, a name the
// table held before keeps its species, and a name that also stands for a
// taxon the tables lack is not there. Names that are not ASCII are the next
// test's.
TEST_F(NamesTableTest, EveryUksiRowByTheRule) {
  auto names = table();
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  const CsvTable& u = s.uksi;
  std::size_t uName = u.column("name"), uTaxon = u.column("taxon"),
              uAmbiguous = u.column("ambiguous"), uHeld = u.column("in_names_txt"),
              uHeldTaxon = u.column("names_txt_taxon"), uAlso = u.column("also_means");
  std::map<std::string, std::set<int>> numbers;  // of a name's taxa
  std::set<std::string> alsoMeans, ambiguous;
  for (const auto& row : u.rows()) {
    numbers[row[uName]].insert(number.at(binomial(row[uTaxon])));
    if (!row[uAlso].empty()) alsoMeans.insert(row[uName]);
    if (row[uAmbiguous] == "yes") ambiguous.insert(row[uName]);
  }
  std::set<std::string> joined, listed;  // names without and with ambiguity
  for (const auto& row : u.rows()) {
    const std::string& name = row[uName];
    SCOPED_TRACE(name);
    bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; });
    auto it = names.find(matching(name));
    if (row[uHeld] == "yes") {
      // the project's own keying: each of " | "-joined taxa has the number
      std::string held = row[uHeldTaxon] + " | ";
      for (std::size_t from = 0, bar; (bar = held.find(" | ", from)) != std::string::npos;
           from = bar + 3)
        EXPECT_EQ(number.at(binomial(held.substr(from, bar - from))),
                  only(names, matching(name)).first);
    } else if (alsoMeans.count(name)) {
      EXPECT_TRUE(it == names.end()) << "keyed though it also stands for a taxon the tables lack";
    } else if (ascii) {
      ASSERT_TRUE(it != names.end());
      std::set<int> got;
      for (const Record& r : it->second) {
        got.insert(r.first);
        EXPECT_EQ(r.first, s.keyNumber.at(r.second)) << "the key of its species";
      }
      EXPECT_EQ(numbers.at(name), got);
      EXPECT_EQ(ambiguous.count(name) == 1, got.size() > 1) << "the ambiguous column disagrees";
      (got.size() > 1 ? listed : joined).insert(name);
    }
  }
  // 2 884 rows of one taxon not yet held and without also_means, of 2 883
  // names (Vicia angustifolia stands for Vicia sativa and its subspecies
  // nigra; Carex oederi and "Carex serotina auct., non Mérat" are rows kept
  // for the restored Carex viridula subsp. viridula), less the twelve that
  // are not ASCII (eight join in ASCII, four with Greek letters do not); 45
  // rows of 22 ambiguous names not yet held, less Hypericum quadrangulum's
  // two with also_means
  EXPECT_EQ(2871u, joined.size());
  EXPECT_EQ(21u, listed.size());
}

TEST_F(NamesTableTest, UksiNamesByExample) {
  auto names = table();
  std::map<std::string, int> number = expectedNumbers(s.taxa);
  const std::vector<std::pair<std::string, std::vector<std::string>>> examples = {
      {"Hypnum cupressiforme var. ericetorum", {"Hypnum jutlandicum"}},
      {"Carex inflata", {"Carex rostrata", "Carex vesicaria"}},
      {"Festuca elatior", {"Schedonorus arundinaceus", "Schedonorus pratensis"}},
      {"Polypodium rhaeticum",
       {"Athyrium distentifolium", "Athyrium filix-femina", "Cystopteris fragilis"}},
      // held before, as the project keys them: Carex serotina is the NVC's
      // name of Carex viridula subsp. viridula, whatever UKSI says
      {"Carex serotina", {"Carex viridula"}},
      {"Thymus serpyllum", {"Thymus serpyllum"}},
      // UKSI's misapplied sense of Carex serotina, and an older name
      {"Carex serotina auct., non Merat", {"Carex demissa"}},
      {"Carex oederi", {"Carex viridula"}},
      // also a taxon the tables lack
      {"Betula alba", {}},
      {"Hypericum quadrangulum", {}},
      // accented letters in ASCII; Greek letters left out, not dropped
      {"Lichen madreporaeformis", {"Pycnothelia papillaria"}},
      {"Usnea compacta sensu auct. brit., non (Rasanen) Motyka", {"Usnea subfloridana"}},
      {"Cetraria aculeata hiascens", {}},
  };
  for (const auto& [name, taxa] : examples) {
    SCOPED_TRACE(name);
    std::vector<Record> expected;
    for (const std::string& taxon : taxa) expected.emplace_back(number.at(taxon), s.keyOf(taxon));
    std::sort(expected.begin(), expected.end());
    auto it = names.find(matching(name));
    EXPECT_EQ(expected, it == names.end() ? std::vector<Record>{} : it->second);
  }
}

TEST_F(NamesTableTest, OnlyUksiNamesAreAmbiguous) {
  std::set<std::string> ambiguous;
  for (const auto& row : s.uksi.rows())
    if (row[s.uksi.column("ambiguous")] == "yes")
      ambiguous.insert(matching(row[s.uksi.column("name")]));
  std::size_t forms = 0, records = 0;
  for (const auto& [form, of] : table()) {
    if (of.size() < 2) continue;
    EXPECT_TRUE(ambiguous.count(form)) << form;
    ++forms;
    records += of.size();
  }
  // the 21 names of the test above, 20 of two species and one of three
  EXPECT_EQ(21u, forms);
  EXPECT_EQ(43u, records);
  // the 2 055 records of the project's own names (2 051 and Algae, Algal
  // mat, Carex viridula and its subspecies viridula of the mends), the
  // 2 871 + 8 names that join, the 43 records
  EXPECT_EQ(4977u, s.names.size());
}

TEST_F(ShippedTest, MendedRowsAreInTheTables) {
  EXPECT_EQ(5001, s.numberOf("Algae"));  // first of the algae in byte order
  const struct {
    const char* species;
    const char* unit;
    int class_code;  // 10 x (constancy - 1) + maximum Domin cover
  } rows[] = {
      {"Algae", "S4", 8},               // I, 5-8
      {"Algae", "SM13c", 39},           // IV, 3-9
      {"Algae", "SM12a", 6},            // I, 6
      {"Carex demissa", "SD14", 6},     // I, 4-6, lost in the published table
      {"Carex viridula", "SD14", 15},   // II, 1-5, held there as Carex demissa
      {"Carex demissa", "SD14a", 6},    // I, 6
      {"Carex viridula", "SD14a", 25},  // III, 1-5
      {"Carex demissa", "M9a", 14},     // II, 3-4
      {"Carex viridula", "M9a", 4},     // I, 3-4, lost in the published table
      {"Carex demissa", "H7", 0},       // Carex serotina's row only
      {"Carex viridula", "H7", 3},      // I, 2-3
      {"Carex demissa", "M10", 29},     // not mended: III, 1-9
  };
  for (const auto& r : rows)
    EXPECT_EQ(r.class_code, s.classOf(r.species, r.unit)) << r.species << " in " << r.unit;
}

// The CSV files beside the reference files.
class ReferenceCsvTest : public ShippedTest {
 protected:
  static std::vector<std::string> data(const std::string& file) {
    return readLines(sourceDir() + "/data/" + file);
  }
  // The line of `file` whose second field is `code` (UNITS.csv).
  static std::string unitLine(const std::vector<std::string>& lines, const std::string& code) {
    for (const std::string& line : lines)
      if (line.find("," + code + ",") == line.find(',')) return line;
    return "";
  }
};

// Every entry of the association table once, with the figures of its taxa
// merged: the highest constancy and maximum, the lowest minimum.
TEST_F(ReferenceCsvTest, FloristicAgreesWithTheTablesAndAssoctab) {
  std::map<std::pair<std::string, int>, std::array<int, 3>> merged;  // unit, number
  const CsvTable& f = s.floristic;
  for (const auto& row : f.rows()) {
    std::array<int, 3> figures = {number(row[f.column("constancy")]),
                                  number(row[f.column("min_domin")]),
                                  number(row[f.column("max_domin")])};
    auto [it, fresh] = merged.emplace(
        std::make_pair(row[f.column("nvc_code")], s.numberOf(binomial(row[f.column("taxon")]))),
        figures);
    if (!fresh) {
      it->second[0] = std::max(it->second[0], figures[0]);
      it->second[1] = std::min(it->second[1], figures[1]);
      it->second[2] = std::max(it->second[2], figures[2]);
    }
  }
  std::vector<std::string> lines = data("FLORISTIC.csv");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("nvc_code,species_number,constancy,min_domin,max_domin", lines[0]);
  // the mended rows by hand
  for (const std::string& line :
       {std::string("S4,5001,1,5,8"),
        "SD14," + std::to_string(s.numberOf("Carex demissa")) + ",1,4,6",
        "SD14," + std::to_string(s.numberOf("Carex viridula")) + ",2,1,5"})
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), line)) << line;
  CsvTable table = CsvTable::read(sourceDir() + "/data/FLORISTIC.csv");
  EXPECT_EQ(static_cast<std::size_t>(s.entries), table.rows().size());
  std::tuple<int, int, int> previous{0, 0, 0};
  for (const auto& row : table.rows()) {
    SCOPED_TRACE(row[0] + " " + row[1]);
    int species = number(row[1]), constancy = number(row[2]), maxDomin = number(row[4]);
    int community = s.community.at(row[0]);
    EXPECT_EQ((std::array<int, 3>{constancy, number(row[3]), maxDomin}),
              merged.at({row[0], species}));
    int code = 0;  // ASSOCTAB's class code
    for (int e = s.range.at(species).first; e <= s.range.at(species).second; ++e)
      if (s.entry[e].first == community) code = s.entry[e].second;
    EXPECT_EQ(10 * (constancy - 1) + maxDomin, code);
    std::tuple<int, int, int> place{community, -constancy, species};
    EXPECT_LT(previous, place) << "out of order";
    previous = place;
  }
}

TEST_F(ReferenceCsvTest, IndicatorValuesOfSpeciesByHand) {
  const std::vector<std::pair<std::string, std::string>> species = {
      {"Calluna vulgaris", "6,7,2,2,0"},
      {"Fraxinus excelsior", "6,5,6,7,0"},    // its three strata agree
      {"Gentianella amarella", "4,8,2,8,0"},  // its own name, not subsp. anglica's F 3
      {"Hypnum cupressiforme", "4,7,2,6,0"},  // var. lacunosum's; s.l. has none
      {"Carex demissa", "8,8,2,4,0"},
      {"Carex viridula", ""},  // the source has none for subsp. viridula
      {"Algae", ""},
  };
  std::map<int, std::string> values;
  std::vector<std::string> lines = data("INDICATORS.csv");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("species_number,F,L,N,R,S", lines[0]);
  int previous = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    int n = number(lines[i].substr(0, lines[i].find(',')));
    EXPECT_GT(n, previous) << lines[i];
    previous = n;
    values[n] = lines[i].substr(lines[i].find(',') + 1);
  }
  for (const auto& [name, expected] : species)
    EXPECT_EQ(expected, values.count(s.numberOf(name)) ? values.at(s.numberOf(name)) : "") << name;
  // of the 1 563 species, 1 378 by their own name's taxon and 36 by the one
  // taxon (or agreeing taxa) with values; no two taxa of a species disagree
  EXPECT_EQ(1414u, values.size());
}

TEST_F(ReferenceCsvTest, UnitsRowsByHand) {
  std::vector<std::string> lines = data("UNITS.csv");
  ASSERT_EQ(s.nvctypes.size() + 1, lines.size());
  EXPECT_EQ(
      "number,nvc_code,community,subcommunity,fullname,eunis_code,eunis_name,eunis_relationship,"
      "num_samples,min_species,mean_species,max_species,species_count,"
      "F_mean,F_sd,L_mean,L_sd,N_mean,N_sd,R_mean,R_sd,S_mean,S_sd",
      lines[0]);
  for (std::size_t k = 1; k < lines.size(); ++k)
    EXPECT_EQ(std::to_string(k) + "," + Shipped::codeOf(s.nvctypes[k - 1]) + ",",
              lines[k].substr(0, lines[k].find(',', lines[k].find(',') + 1) + 1));
  auto numbered = [&](const std::string& code, const std::string& rest) {
    return std::to_string(s.community.at(code)) + "," + code + "," + rest;
  };
  // "is contained in" before "contains" for E2.11
  EXPECT_EQ(numbered("MG5",
                     "Cynosurus cristatus-Centaurea nigra grassland,,"
                     "Cynosurus cristatus-Centaurea nigra grassland,E2.11,Unbroken pastures,"
                     "is contained in,194,12,23,38,82,5.2625,1.1555,7.1125,0.5952,4.1625,1.3728,"
                     "6.1,1.0013,0.1375,0.3813"),
            unitLine(lines, "MG5"));
  EXPECT_EQ(
      numbered("MG5a",
               "Cynosurus cristatus-Centaurea nigra grassland,Lathyrus pratensis subcommunity,"
               "\"Cynosurus cristatus-Centaurea nigra grassland, Lathyrus pratensis "
               "subcommunity\",E2.11,Unbroken pastures,is contained in,137,13,22,32,81,"
               "5.2658,1.1625,7.1139,0.5989,4.1899,1.3594,6.1266,0.9788,0.1392,0.3834"),
      unitLine(lines, "MG5a"));
  // no row in units.csv nor in unit_richness.csv
  EXPECT_EQ(numbered("SD7e",
                     "Ammophila arenaria-Festuca rubra semi-fixed dune community,subcommunity e,"
                     "\"Ammophila arenaria-Festuca rubra semi-fixed dune community, subcommunity "
                     "e\",B1.32,White dunes,is contained in,,,,,,4.5231,1.0913,7.5692,0.9009,"
                     "4.0615,1.5194,6.1231,0.8387,0.5846,0.9983"),
            unitLine(lines, "SD7e"));
  // the source has no minimum and maximum there
  EXPECT_NE(std::string::npos, unitLine(lines, "OV12a").find(",13,,18,,29,"));
}

TEST_F(ReferenceCsvTest, HabitatRowsOfCommunitiesWithATable) {
  std::vector<std::string> lines = data("HABITATS.csv");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("nvc_code,classification,habitat_code,habitat_name,relationship", lines[0]);
  // 3 400 rows less the 67 of A6, M30, M36, S23, SM2, SM3, SM4, SM5 and SM27
  EXPECT_EQ(3333u + 1, lines.size());
  std::map<std::string, int> rows;
  int previous = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string code = lines[i].substr(0, lines[i].find(','));
    ++rows[code];
    EXPECT_LE(previous, s.community.at(code)) << lines[i];
    previous = s.community.at(code);
  }
  EXPECT_EQ(277u, rows.size()) << "every community with a table has a row";
  EXPECT_EQ(23, rows["MG5"]);  // Annex I 3, BAP Priority 9, BAP Broad 2, Phase 1 6, EUNIS,
                               // NPMS Broad and Fine 1 each
  EXPECT_EQ(29, rows["U4"]);
  EXPECT_EQ(0u, rows.count("A6"));
  // read from the community's side, where UNITS.csv keeps NVCTYPES.txt's choice
  // among eunis_correspondence.csv's two directions ("is contained in")
  EXPECT_EQ("MG5,EUNIS,E2.11,Unbroken pastures,contains",
            *std::find_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("MG5,EUNIS,", 0) == 0; }));
}

TEST_F(ReferenceCsvTest, VersionIsTheKeptLine) {
  std::vector<std::string> version = data("VERSION.txt");
  ASSERT_EQ(1u, version.size());
  EXPECT_EQ(readLines(sourceDir() + "/data/source/version.txt"), version);
  EXPECT_NE(std::string::npos, version[0].find("ff8d67f"));
}

}  // namespace
}  // namespace nvcdata
