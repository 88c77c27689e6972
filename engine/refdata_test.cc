#include "engine/refdata.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "engine/testing/fixture.h"

namespace engine {
namespace {

using veg::StopRun;

struct RefdataTest : ::testing::Test, testing::Fixture {
  RefdataTest() { console.type({""}); }  // one RETURN for the end-of-program notice

  void loadAll(int species_limit = 10000) { loadReferenceFiles(species_limit); }

  // The screen lines after the progress line of the failing loader.
  std::vector<std::string> lastLines(std::size_t n) {
    return std::vector<std::string>(console.output.end() - static_cast<std::ptrdiff_t>(n),
                                    console.output.end());
  }

  static std::vector<std::string> holdNotice() {
    return {"", "", "", "", "*** Program finished  ***", "", "", "Press <RETURN> to exit", "", "",
            "*************************"};
  }
};

TEST_F(RefdataTest, DictionaryWithSynonymsSortsBySpeciesNumber) {
  fs.put("SPECDICT.txt", {"   7 aaaa bbbb", "   3 cccc dddd", "   7 eeee ffff", "", "   2 gg"});
  loadSpeciesDictionary(console, fs, *tables);
  EXPECT_EQ((std::vector<std::string>{"", "", "", " Reading in dictionary from file SPECDICT.txt"}),
            console.output);
  const Dictionary& d = tables->dictionary;
  EXPECT_EQ(7, tables->dict_size);
  EXPECT_EQ(7, tables->name_count);
  EXPECT_EQ("NEW NAME ", d.species_name[1]);
  EXPECT_EQ("DELETE   ", d.species_name[2]);
  EXPECT_EQ("aaaa bbbb", d.species_name[3]);
  EXPECT_EQ(0, d.species_number[6]);             // an empty line
  EXPECT_EQ("         ", d.species_name[6]);
  EXPECT_EQ("gg       ", d.species_name[7]);     // a short line is padded
  const short numbers[] = {0, 0, 0, 0, 2, 3, 7, 7};
  const short entries[] = {0, 1, 2, 6, 7, 4, 3, 5};
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(numbers[i], d.sorted_species_number[i]) << i;
    EXPECT_EQ(entries[i], d.sorted_entry[i]) << i;
  }
}

TEST_F(RefdataTest, EmptyDictionaryHoldsTheReservedEntriesOnly) {
  fs.put("SPECDICT.txt", {});
  loadSpeciesDictionary(console, fs, *tables);
  EXPECT_EQ(2, tables->dict_size);
}

TEST_F(RefdataTest, TablesLinkEverySynonymAndSkipHeaderColumnsElevenOn) {
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa", "   2 bbbb bbbb", "   2 bbbb bbbx", "3500 cccc cccc"});
  // 17 entries: one full record of 15 and one of 2, then the species records.
  std::string full;
  for (int i = 1; i <= 15; ++i) full += "  " + std::to_string(i % 9 + 1) + (i % 2 ? "45" : " 7");
  fs.put("ASSOCTAB.txt", {"   17    3 99999", full, "  312  850", "    1    1   10",
                          "    2   11   16", " 3500   17   17"});
  fs.put("NVCTYPES.txt", {"  A  1  first community", "  A  2", "  A  3", "  A  4", "  A  5",
                          "  A  6", "  A  7", "  A  8", "  A  9", "extra record is not read"});
  loadAll(3000);
  const Tables& t = *tables;
  EXPECT_EQ(9, t.n_communities);
  EXPECT_EQ(3, t.entries.entry_community[16]);
  EXPECT_EQ(12, t.entries.entry_class[16]);
  EXPECT_EQ(8, t.entries.entry_community[17]);
  EXPECT_EQ(50, t.entries.entry_class[17]);
  EXPECT_EQ(1, t.entry_ranges.first_entry[3]);
  EXPECT_EQ(10, t.entry_ranges.last_entry[3]);
  EXPECT_EQ(11, t.entry_ranges.first_entry[4]);  // both names of species 2
  EXPECT_EQ(16, t.entry_ranges.last_entry[4]);
  EXPECT_EQ(11, t.entry_ranges.first_entry[5]);
  EXPECT_EQ(16, t.entry_ranges.last_entry[5]);
  EXPECT_EQ(17, t.entry_ranges.first_entry[6]);  // above the species limit
  EXPECT_EQ(0, t.entry_ranges.last_entry[6]);
  EXPECT_EQ(" A  1 ", t.cross_reference.nvc_code[1]);
  EXPECT_EQ("first community         ", t.cross_reference.community_name[1]);
  EXPECT_EQ(std::string(16, ' '), t.cross_reference.subcommunity_name[1]);
  EXPECT_EQ(" A  9 ", t.cross_reference.nvc_code[9]);
  EXPECT_EQ(std::string(24, ' '), t.cross_reference.eunis_name[9]);
  EXPECT_EQ("", t.cross_reference.nvc_code[10]);
}

TEST_F(RefdataTest, DigitInColumnElevenOfTheHeaderIsNotRead) {
  // Columns 6-10 hold the one species record; the 7 in column 11 is not
  // part of the count.
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa"});
  fs.put("ASSOCTAB.txt", {"    1    17", "  145", "    1    1    1"});
  fs.put("NVCTYPES.txt", {" A  1"});
  loadAll();
  EXPECT_EQ(1, tables->entry_ranges.last_entry[3]);
  EXPECT_EQ(1, tables->n_communities);
}

TEST_F(RefdataTest, CrossReferenceFieldsByColumn) {
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa"});
  fs.put("ASSOCTAB.txt", {"    1    1", "  145", "    1    1    1"});
  std::string record = " CG 2a  Festuca ovina-Avenula grasslTrifolium repensE1.26    Subatlantic semi-dry grass";
  fs.put("NVCTYPES.txt", {record});
  loadAll();
  EXPECT_EQ("CG 2a ", tables->cross_reference.nvc_code[1]);
  EXPECT_EQ("Festuca ovina-Avenula gr", tables->cross_reference.community_name[1]);
  EXPECT_EQ("asslTrifolium re", tables->cross_reference.subcommunity_name[1]);
  EXPECT_EQ("pensE1.2", tables->cross_reference.eunis_code[1]);
  EXPECT_EQ("6    Subatlantic semi-dr", tables->cross_reference.eunis_name[1]);
}

TEST_F(RefdataTest, LaterSpeciesRecordReplacesEarlier) {
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa"});
  fs.put("ASSOCTAB.txt", {"    2    2", "  145  245", "    1    1    1", "    1    2    2"});
  fs.put("NVCTYPES.txt", {" A  1", " A  2"});
  loadAll();
  EXPECT_EQ(2, tables->entry_ranges.first_entry[3]);
  EXPECT_EQ(2, tables->entry_ranges.last_entry[3]);
}

TEST_F(RefdataTest, MissingFilesEndTheRun) {
  EXPECT_THROW(loadSpeciesDictionary(console, fs, *tables), StopRun);
  std::vector<std::string> expected = {"", "", "", " Reading in dictionary from file SPECDICT.txt",
                                       "  *** Error *** file not found"};
  for (auto& l : holdNotice()) expected.push_back(l);
  EXPECT_EQ(expected, console.output);

  fs.put("SPECDICT.txt", {"   1 aaaa aaaa"});
  for (const char* name : {"ASSOCTAB.txt", "NVCTYPES.txt"}) {
    console = veg::testing::FakeConsole({""});
    if (std::string(name) == "NVCTYPES.txt") fs.put("ASSOCTAB.txt", {"    0    0"});
    EXPECT_THROW(loadAll(), StopRun) << name;
    EXPECT_EQ("  *** Error *** file not found", console.output[console.output.size() - 12]) << name;
  }
}

TEST_F(RefdataTest, UnknownSpeciesNumberEndsTheRun) {
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa"});
  fs.put("ASSOCTAB.txt", {"    1    2", "  145", "    1    1    1", "  123    1    1"});
  EXPECT_THROW(loadAll(), StopRun);
  std::vector<std::string> expected = {"", "", " Unknown species number   123 in data"};
  for (auto& l : holdNotice()) expected.push_back(l);
  EXPECT_EQ(expected, lastLines(expected.size()));
  EXPECT_EQ(1, tables->entry_ranges.last_entry[3]);  // records before it were applied
}

// Every record the tables cannot hold ends the run with one line naming the
// file, the line and the fault.
const std::string kFifteenEntries =
    "  145  145  145  145  145  145  145  145  145  145  145  145  145  145  145";

struct BadFile {
  const char* dictionary;
  std::vector<std::string> tables;
  std::vector<std::string> types;
  std::string message;
};

TEST_F(RefdataTest, UnusableRecordsAreReportedWithFileAndLine) {
  const std::vector<BadFile> cases = {
      {"  x1 aaaa aaaa", {}, {}, "SPECDICT.txt line 1: species number \"  x1\" is not a number"},
      {"   1 aaaa aaaa", {"    1    1", "  163", "    1    1    1"}, {" A 1"},
       "ASSOCTAB.txt line 2: class code 63 outside 1..50"},
      {"   1 aaaa aaaa", {"    1    1", "  1 0", "    1    1    1"}, {" A 1"},
       "ASSOCTAB.txt line 2: class code 0 outside 1..50"},
      {"   1 aaaa aaaa", {"    1    1", "90145", "    1    1    1"}, {" A 1"},
       "ASSOCTAB.txt line 2: community number 901 outside 1..900"},
      {"   1 aaaa aaaa", {"    1    1", "    5", "    1    1    1"}, {" A 1"},
       "ASSOCTAB.txt line 2: community number 0 outside 1..900"},
      {"   1 aaaa aaaa", {"50001    1"}, {}, "ASSOCTAB.txt line 1: entry count 50001 outside 0..50000"},
      {"   1 aaaa aaaa", {"    2    1", "  145  145"}, {}, "ASSOCTAB.txt line 3: file ends before species record 1"},
      {"   1 aaaa aaaa", {"   16    1", kFifteenEntries}, {},
       "ASSOCTAB.txt line 3: file ends before table entry 16"},
      {"   1 aaaa aaaa", {}, {}, "ASSOCTAB.txt line 1: file ends before the header"},
      {"   1 aaaa aaaa", {"    1    1", "  1a5", "    1    1    1"}, {},
       "ASSOCTAB.txt line 2: class code \"a5\" is not a number"},
      {"   1 aaaa aaaa", {"    1    1", "  145", "    1    1    2"}, {},
       "ASSOCTAB.txt line 3: last entry 2 outside 1..1"},
      {"   1 aaaa aaaa", {"    1    1", "  145", "    1    0    1"}, {},
       "ASSOCTAB.txt line 3: first entry 0 outside 1..1"},
      {"   1 aaaa aaaa", {"    1    1", "  245", "    1    1    1"}, {" A 1"},
       "NVCTYPES.txt line 2: file ends before record of community 2"},
  };
  for (const BadFile& c : cases) {
    console = veg::testing::FakeConsole({""});
    tables = std::make_unique<Tables>();
    fs.put("SPECDICT.txt", {c.dictionary});
    fs.put("ASSOCTAB.txt", c.tables);
    fs.put("NVCTYPES.txt", c.types);
    EXPECT_THROW(loadAll(), StopRun) << c.message;
    ASSERT_GE(console.output.size(), 12u);
    EXPECT_EQ("  *** Error *** " + c.message, console.output[console.output.size() - 12]);
  }
}

// Every way loading can fail, each with the longest numbers and fields its
// file allows (six-digit line numbers, five-character fields, the largest
// community number): every screen line stays within 80 columns, and the
// failure line still names the file, the line and the fault.
TEST_F(RefdataTest, EveryLoadFailureFitsTheScreen) {
  using Lines = std::vector<std::string>;
  using File = std::optional<Lines>;  // none: the file is missing
  const Lines dictionary = {"   1 aaaa aaaa"};
  const std::string five = "  145  145  145  145  145";
  // 50000 entries (3333 full lines and one of five: lines 2-3335), then
  // 99999 species records (lines 3336-103334). `last_entries` stands in
  // for the line of the last five entries, `last_record` for the last
  // species record; when it is empty the file ends before it.
  auto big = [&](const std::string& last_entries, const std::string& last_record) {
    Lines lines = {"5000099999"};
    for (int i = 0; i < 3333; ++i) lines.push_back(kFifteenEntries);
    if (last_entries.empty()) return lines;
    lines.push_back(last_entries);
    for (int r = 1; r < 99999; ++r) lines.push_back("    1    1    1");
    if (!last_record.empty()) lines.push_back(last_record);
    return lines;
  };
  auto lastFive = [&](const std::string& first) { return first + five.substr(5); };
  Lines long_dictionary(2997, "   1 aaaa aaaa");
  long_dictionary.push_back("abcd aaaa aaaa");
  const Lines full_dictionary(kMaxDictRecords + 1, "   1 aaaa aaaa");
  const Lines community_900 = {"    1    1", "90045", "    1    1    1"};

  struct Case {
    File dictionary, tables, types;
    std::string line;  // the failure line as shown
  };
  const std::string e = "  *** Error *** ";
  const std::string tables_line = e + "ASSOCTAB.txt line ";
  const std::vector<Case> cases = {
      {{}, {}, {}, e + "file not found"},
      {dictionary, {}, {}, e + "file not found"},
      {dictionary, Lines{"    0    0"}, {}, e + "file not found"},
      {long_dictionary, {}, {}, e + "SPECDICT.txt line 2998: species number \"abcd\" is not a number"},
      {full_dictionary, {}, {}, e + "SPECDICT.txt line 2999: more than 2998 dictionary records"},
      {dictionary, Lines{}, {}, tables_line + "1: file ends before the header"},
      {dictionary, Lines{"abcde    1"}, {}, tables_line + "1: entry count \"abcde\" is not a number"},
      {dictionary, Lines{"    1abcde"}, {}, tables_line + "1: species count \"abcde\" is not a number"},
      {dictionary, Lines{"99999    1"}, {}, tables_line + "1: entry count 99999 outside 0..50000"},
      {dictionary, Lines{"-9999    1"}, {}, tables_line + "1: entry count -9999 outside 0..50000"},
      {dictionary, Lines{"    0-9999"}, {}, tables_line + "1: species count -9999 below 0"},
      {dictionary, big("", ""), {}, tables_line + "3335: file ends before table entry 49996"},
      {dictionary, big(lastFive("abc45"), ""), {},
       tables_line + "3335: community number \"abc\" is not a number"},
      {dictionary, big(lastFive("  1ab"), ""), {},
       tables_line + "3335: class code \"ab\" is not a number"},
      {dictionary, big(lastFive("99945"), ""), {},
       tables_line + "3335: community number 999 outside 1..900"},
      {dictionary, big(lastFive("-9945"), ""), {},
       tables_line + "3335: community number -99 outside 1..900"},
      {dictionary, big(lastFive("  1-9"), ""), {}, tables_line + "3335: class code -9 outside 1..50"},
      {dictionary, big(five, ""), {}, tables_line + "103334: file ends before species record 99999"},
      {dictionary, big(five, "abcde    1    1"), {},
       tables_line + "103334: species number \"abcde\" is not a number"},
      {dictionary, big(five, "    1abcde    1"), {},
       tables_line + "103334: first entry \"abcde\" is not a number"},
      {dictionary, big(five, "    1    1abcde"), {},
       tables_line + "103334: last entry \"abcde\" is not a number"},
      {dictionary, big(five, "    1-9999    1"), {},
       tables_line + "103334: first entry -9999 outside 1..50000"},
      {dictionary, big(five, "    1    199999"), {},
       tables_line + "103334: last entry 99999 outside 1..50000"},
      {dictionary, big(five, "-9999    1    1"), {}, " Unknown species number -9999 in data"},
      {dictionary, community_900, Lines(899, " A 1"),
       e + "NVCTYPES.txt line 900: file ends before record of community 900"},
  };
  for (const Case& c : cases) {
    console = veg::testing::FakeConsole({""});
    tables = std::make_unique<Tables>();
    fs = veg::testing::MemoryFileSystem();
    if (c.dictionary) fs.put("SPECDICT.txt", *c.dictionary);
    if (c.tables) fs.put("ASSOCTAB.txt", *c.tables);
    if (c.types) fs.put("NVCTYPES.txt", *c.types);
    EXPECT_THROW(loadAll(), StopRun) << c.line;
    ASSERT_GE(console.output.size(), 12u) << c.line;
    EXPECT_EQ(c.line, console.output[console.output.size() - 12]);
    for (const std::string& shown : console.output) EXPECT_LE(shown.size(), 80u) << shown;
  }
}

// A file read whole meets a read error where it was met line by line: a bad
// record before it is reported, and the error comes after the lines read.
TEST_F(RefdataTest, ReadErrorComesAfterTheLinesReadBeforeIt) {
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa", "  x1 bbbb bbbb", "   3 cccc cccc"});
  fs.read_limit["SPECDICT.txt"] = 2;
  EXPECT_THROW(loadSpeciesDictionary(console, fs, *tables), StopRun);
  EXPECT_EQ("  *** Error *** SPECDICT.txt line 2: species number \"  x1\" is not a number",
            console.output[console.output.size() - 12]);

  fs.put("SPECDICT.txt", {"   1 aaaa aaaa", "   2 bbbb bbbb", "   3 cccc cccc"});
  EXPECT_THROW(loadSpeciesDictionary(console, fs, *tables), veg::FileError);
}

TEST_F(RefdataTest, MoreThanTheDictionaryHoldsIsRefused) {
  std::vector<std::string> lines(kMaxDictRecords + 1, "   1 aaaa aaaa");
  fs.put("SPECDICT.txt", lines);
  EXPECT_THROW(loadSpeciesDictionary(console, fs, *tables), StopRun);
  EXPECT_EQ("  *** Error *** SPECDICT.txt line 2999: more than 2998 dictionary records",
            console.output[console.output.size() - 12]);
}

TEST_F(RefdataTest, EmptyRangeAndEmptyTablesAreAccepted) {
  fs.put("SPECDICT.txt", {"   1 aaaa aaaa", "   2 bbbb bbbb"});
  fs.put("ASSOCTAB.txt", {"    0    1", "    1    0    0"});
  fs.put("NVCTYPES.txt", {});
  loadAll();
  EXPECT_EQ(0, tables->n_communities);
  EXPECT_EQ(0, tables->entry_ranges.last_entry[3]);
}

}  // namespace
}  // namespace engine
