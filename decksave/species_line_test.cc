#include "decksave/species_line.h"

#include <gtest/gtest.h>

#include <string>

namespace decksave {
namespace {

struct Read {
  bool ok;
  std::string name;
  float value;
};

Read read(const std::string& line) {
  SpeciesName name;
  float value = -7;
  const bool ok = readFixedColumns(line, name, value);
  return {ok, std::string(name.data(), name.size()), value};
}

float valueOf(const std::string& line) {
  const Read r = read(line);
  EXPECT_TRUE(r.ok) << line;
  return r.value;
}

// ---- readFixedColumns: the columns of the fixed layout ----

TEST(SpeciesLineTest, NameIsColumnsTwoToTen) {
  EXPECT_EQ("fest rubr", read(" fest rubr    25").name);
  EXPECT_EQ("fest rubr", read("Xfest rubr    25").name);  // column 1 ignored
  EXPECT_EQ("fest     ", read(" fest").name);
  EXPECT_EQ("Fest Rubr", read(" Fest Rubr").name);
  EXPECT_EQ("         ", read("").name);
}

TEST(SpeciesLineTest, ValuesAsTheWritersLayThemOut) {
  EXPECT_EQ(25.0f, valueOf(" fest rubr    25"));    // whole: columns 13-16
  EXPECT_EQ(12.5f, valueOf(" fest rubr    12.5"));  // one decimal: columns 13-18
  EXPECT_EQ(0.5f, valueOf(" fest rubr     0.5"));
  EXPECT_EQ(12.5f, valueOf(" fest rubr*   12.5"));  // marked
}

TEST(SpeciesLineTest, ColumnsThirteenToSixteenAndSeventeenToEighteenAreReadApart) {
  // `columns` is what stands in columns 13-18.
  auto value = [](const std::string& columns) {
    EXPECT_EQ(6u, columns.size());
    return valueOf(" fest rubr  " + columns);
  };
  // 12 right-justified in columns 13-18 stands in columns 17-18: 1.2.
  EXPECT_FLOAT_EQ(1.2f, value("    12"));
  EXPECT_EQ(12.5f, value("  12.5"));
  EXPECT_EQ(1000.0f, value("1000.0"));
  EXPECT_EQ(0.5f, value("    .5"));  // point in column 17
  EXPECT_EQ(0.5f, value("     5"));  // blank and 5
  EXPECT_EQ(0.5f, value("    5 "));  // 5 and blank
  EXPECT_EQ(5.0f, value("    5."));  // the point decides
  EXPECT_FLOAT_EQ(3.5f, value("    35"));
  EXPECT_EQ(12.0f, value("  12  "));
  EXPECT_FLOAT_EQ(1248.9f, value("123999"));  // 1239 + 9.9
}

TEST(SpeciesLineTest, BlanksReadAsZero) {
  EXPECT_EQ(0.0f, valueOf(" fest rubr"));
  EXPECT_EQ(0.0f, valueOf(" fest rubr        "));
  EXPECT_EQ(0.0f, valueOf(""));
  EXPECT_EQ(25.0f, valueOf(" fest rubr   2 5"));  // blanks inside are ignored
}

TEST(SpeciesLineTest, MarkAndColumnsAfterEighteenAreIgnored) {
  EXPECT_EQ(12.5f, valueOf(" fest rubr*   12.5"));
  EXPECT_EQ(12.5f, valueOf(" fest rubr**  12.5"));
  EXPECT_EQ(12.5f, valueOf(" fest rubr    12.5 anything"));
  EXPECT_EQ(7.0f, valueOf(" fest rubr     7  xyz"));  // columns 19 on
}

TEST(SpeciesLineTest, FrequencyLinesGiveTheWrongValueTheLayoutImplies) {
  // Frequency 4 in columns 13-15, cover 25 in columns 16-19: columns 13-16
  // read 4, columns 17-18 " 2" read 0.2.
  EXPECT_FLOAT_EQ(4.2f, valueOf(" fest rubr    4  25"));
}

TEST(SpeciesLineTest, SignsAndCommas) {
  EXPECT_EQ(-2.5f, valueOf(" fest rubr    -2.5"));
  EXPECT_EQ(-0.5f, valueOf(" fest rubr    -0.5"));
  EXPECT_EQ(-3.0f, valueOf(" fest rubr    -3"));
  EXPECT_EQ(3.0f, valueOf(" fest rubr    +3"));
  EXPECT_EQ(12.0f, valueOf(" fest rubr  12,9"));  // a comma ends the field
}

TEST(SpeciesLineTest, CharactersThatCannotBeReadAreRefused) {
  EXPECT_FALSE(read(" fest rubr  12a5").ok);
  EXPECT_FALSE(read(" fest rubr  x").ok);       // column 13
  EXPECT_FALSE(read(" fest rubr      1x").ok);  // column 18
  EXPECT_FALSE(read(" fest rubr    1e").ok);    // no exponents
  EXPECT_FALSE(read(" fest rubr  1.5").ok);     // a point in columns 13-16
  EXPECT_FALSE(read(" fest rubr   1-2").ok);    // a sign after a digit
  EXPECT_FALSE(read(" fest rubr      ..").ok);
  EXPECT_FALSE(read(" fest rubr      5-").ok);
  EXPECT_FALSE(read(" fest rubr    25\t").ok);
  EXPECT_FALSE(read("Q2           COVR%").ok);  // a header where a species was due
  EXPECT_FALSE(read("              x").ok);     // also on a line with a blank name
}

TEST(SpeciesLineTest, BlankName) {
  SpeciesName name;
  name.fill(' ');
  EXPECT_TRUE(isBlankName(name));
  name[8] = 'a';
  EXPECT_FALSE(isBlankName(name));
}

// ---- readSpeciesEntry: a line as vegmatch reads it ----

struct EntryCase {
  const char* line;
  int max_frequency;
  SpeciesEntry::Kind kind;
  const char* name;  // kSpecies
  float value;       // kSpecies
};

TEST(SpeciesEntryTest, NamesAndValuesAsVegmatchTakesThem) {
  using K = SpeciesEntry::Kind;
  const EntryCase cases[] = {
      // The fixed layout: the name as written, the value from its columns.
      {" fest rubr    25", 0, K::kSpecies, "fest rubr", 25.0f},
      {" Fest rubr    12.5", 0, K::kSpecies, "Fest rubr", 12.5f},
      {" fest rubr*   12.5", 0, K::kSpecies, "fest rubr", 12.5f},
      {" fest rubr**   3", 0, K::kSpecies, "fest rubr", 3.0f},
      {" Ach  mil      1.0", 0, K::kSpecies, "Ach  mil ", 1.0f},
      {"   AC 013A     0.2", 0, K::kSpecies, "  AC 013A", 0.2f},
      {" Agr1 2345     1.0", 0, K::kSpecies, "Agr1 2345", 1.0f},
      {" fest rubr  1000.0", 0, K::kSpecies, "fest rubr", 1000.0f},
      {" fest rubr    -3.5", 0, K::kSpecies, "fest rubr", -3.5f},
      // Any other line: the name key and the tenths vegmatch holds.
      {" Poa annua 30", 0, K::kSpecies, "poa  annu", 30.0f},
      {" Poa annua    30", 0, K::kSpecies, "poa  annu", 30.0f},
      {" Calluna vulgaris              60", 0, K::kSpecies, "call vulg", 60.0f},
      {"Poa annua\t30", 0, K::kSpecies, "poa  annu", 30.0f},
      {"*Festuca rubra 12.36", 0, K::kSpecies, "fest rubr", 12.3f},
      {" abcdefghi     3", 0, K::kSpecies, "abcd     ", 3.0f},
      {"Sphagnum 40", 0, K::kSpecies, "spha     ", 40.0f},
      {" Festuca rubra", 0, K::kSpecies, "fest rubr", 0.0f},
      {"X", 0, K::kSpecies, "x        ", 0.0f},
      {" Poa annua 3276.7", 0, K::kSpecies, "poa  annu", 3276.7f},
      {" fest rubr     .5", 0, K::kSpecies, "fest rubr", 0.5f},
      // Bad data, as vegmatch refuses it.
      {" plan lanc   1x5", 0, K::kBadData, "", 0},
      {" Poa annua 3O", 0, K::kBadData, "", 0},
      {" Poa annua 3276.8", 0, K::kBadData, "", 0},
      {" Poa annua 1234567", 0, K::kBadData, "", 0},
      {" fest rubr  ******", 0, K::kBadData, "", 0},
      {" fest rubr  ****", 0, K::kBadData, "", 0},
      // No name: the end of the sample.
      {"", 0, K::kEndOfSample, "", 0},
      {"     \t ", 0, K::kEndOfSample, "", 0},
      {"  **  ", 0, K::kEndOfSample, "", 0},
      // Frequency data: the first number after the name is the frequency.
      {" call vulg    3  60", 5, K::kSpecies, "call vulg", 60.0f},
      {" Poa annua 2 30", 5, K::kSpecies, "poa  annu", 30.0f},
      {" fest rubr    25", 30, K::kSpecies, "fest rubr", 0.0f},
      {" Poa annua 6 30", 5, K::kBadData, "", 0},
      {" fest rubr    25", 5, K::kBadData, "", 0},
  };
  LineWork work;
  for (const EntryCase& c : cases) {
    const SpeciesEntry entry = readSpeciesEntry(c.line, c.max_frequency, work);
    EXPECT_EQ(c.kind, entry.kind) << '"' << c.line << '"';
    if (c.kind != K::kSpecies || entry.kind != K::kSpecies) continue;
    EXPECT_EQ(c.name, std::string(entry.name.data(), entry.name.size())) << c.line;
    EXPECT_FLOAT_EQ(c.value, entry.value) << c.line;
  }
}

TEST(SpeciesEntryTest, FixedLayoutIsTheLayoutOfTheWriters) {
  for (const char* line : {" fest rubr    25", " fest rubr    12.5", " fest rubr*    0.5",
                           " fest rubr    -3", " clad         60", " fest rubr    25  "}) {
    EXPECT_TRUE(inFixedLayout(line)) << '"' << line << '"';
  }
  for (const char* line : {" Poa annua    30", "Xfest rubr    25", " fest rubr   25",
                           " fest rubr    25 x", " fest rubr    2.5 ", " fest rubr   12.50",
                           "              25", " fest*rubr    25", " fest rubr x  25",
                           " fest rubr   -2-5", " fest rubr    25\t"}) {
    EXPECT_FALSE(inFixedLayout(line)) << '"' << line << '"';
  }
}

}  // namespace
}  // namespace decksave
