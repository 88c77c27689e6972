#include "cornell/format.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/fields.h"

namespace cornell {
namespace {

using Lines = std::vector<std::string>;

// A file of lines for the reads to take, counting what they took.
struct Source : LineSource {
  explicit Source(Lines l) : lines(std::move(l)) {}
  bool next(std::string& line) override {
    if (taken == lines.size()) return false;
    line = lines[taken++];
    return true;
  }
  Lines lines;
  std::size_t taken = 0;
};

struct Read {
  bool ok = false;
  DataRecord record;
  ReadFailure failure;
  std::size_t lines_taken = 0;
};

Read read(std::string_view format_text, int couplets, Lines lines) {
  Read r;
  const CompiledFormat format = compileFormat(format_text);
  Source source(std::move(lines));
  std::string line;
  r.ok = readRecord(format, source, couplets, r.record, line, r.failure);
  r.lines_taken = source.taken;
  return r;
}

Lines write(std::string_view format_text, const DataRecord& record, int couplets,
            bool* ok = nullptr) {
  Lines out;
  std::string buffer;
  bool done = writeRecord(compileFormat(format_text), record, couplets, buffer,
                          [&out](std::string_view line) { out.emplace_back(line); });
  if (ok != nullptr) *ok = done;
  return out;
}

DataRecord record(int sample, std::vector<std::pair<int, float>> couplets) {
  DataRecord r;
  r.sample = sample;
  for (std::size_t j = 0; j < couplets.size(); ++j) {
    r.species[j + 1] = couplets[j].first;
    r.value[j + 1] = couplets[j].second;
  }
  return r;
}

const char kReference[] = "(i4,2x,7(i5,f5.1))";

// ---- compiling ----

TEST(CompileFormatTest, ReferenceFormatFlattensWithItsGroupAsTheReversionPoint) {
  const CompiledFormat f = compileFormat(kReference);
  ASSERT_TRUE(f.ok) << f.error;
  ASSERT_EQ(16, f.count);
  EXPECT_EQ('I', f.edits[0].kind);
  EXPECT_EQ(4, f.edits[0].width);
  EXPECT_EQ('X', f.edits[1].kind);
  EXPECT_EQ(2, f.edits[1].width);
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ('I', f.edits[2 + 2 * k].kind);
    EXPECT_EQ(5, f.edits[2 + 2 * k].width);
    EXPECT_EQ('F', f.edits[3 + 2 * k].kind);
    EXPECT_EQ(5, f.edits[3 + 2 * k].width);
    EXPECT_EQ(1, f.edits[3 + 2 * k].decimals);
  }
  EXPECT_EQ(2, f.reversion);
  EXPECT_TRUE(f.reversion_has_values);
}

TEST(CompileFormatTest, CaseAndBlanksDoNotMatter) {
  const CompiledFormat a = compileFormat(kReference);
  const CompiledFormat b = compileFormat("  ( I4 , 2 X , 7 ( I5 , F5 . 1 ) )");
  ASSERT_TRUE(b.ok) << b.error;
  ASSERT_EQ(a.count, b.count);
  for (int e = 0; e < a.count; ++e) {
    EXPECT_EQ(a.edits[e].kind, b.edits[e].kind);
    EXPECT_EQ(a.edits[e].width, b.edits[e].width);
    EXPECT_EQ(a.edits[e].decimals, b.edits[e].decimals);
  }
}

TEST(CompileFormatTest, TextAfterTheClosingParenthesisIsIgnored) {
  EXPECT_TRUE(compileFormat("(i4,2x,7(i5,f5.1))   7 junk)").ok);
}

TEST(CompileFormatTest, XWithoutCountIsOneColumn) {
  const CompiledFormat f = compileFormat("(i4,x,i3,f4.1)");
  ASSERT_TRUE(f.ok);
  EXPECT_EQ(1, f.edits[1].width);
}

TEST(CompileFormatTest, OnlyTheLastTopLevelGroupIsAReversionPoint) {
  // The skips of the first two groups merge into one; the last group is
  // where a read is taken up again.
  const CompiledFormat f = compileFormat("(i4,1(1x),1(1x),2(i5,f5.1))");
  ASSERT_TRUE(f.ok);
  ASSERT_EQ(6, f.count);
  EXPECT_EQ('X', f.edits[1].kind);
  EXPECT_EQ(2, f.edits[1].width);
  EXPECT_EQ(2, f.reversion);
}

TEST(CompileFormatTest, MalformedFormatsAreErrorValues) {
  for (const char* text :
       {"", "     ", "i4,2x", "(i4,2x", "(i4,)", "(,i4)", "()", "(i4,2x,7(i5,f5))",
        "(i,f5.1)", "(i4,0(i5,f5.1))", "(i4,e5.1)", "(i4,a8)", "(i4;f5.1)", "(i4.2,f5.1)",
        "(i100,f5.1)", "(i4,2x,7(i5,f5.1)", "((((((((((((((((((((((((((((((", "(2x)",
        "(999(999(999(1x))))", "(i4,2x,7(i5,f5.", "(i4,1000x,i5,f5.1)", "(1000i4)"}) {
    const CompiledFormat f = compileFormat(text);
    EXPECT_FALSE(f.ok) << "format \"" << text << "\"";
    EXPECT_FALSE(f.error.empty()) << "format \"" << text << "\"";
  }
}

// A parenthesis left open, at any depth, is named as such: deckload shows
// this reason to the user.
TEST(CompileFormatTest, UnclosedParenthesisIsTheReasonGiven) {
  for (const char* text : {"(i4,2x", "(i4,2x,7(i5,f5.1)", "(i4,2x,7(i5,f5.1", "(i4,", "(",
                           "((i4,f5.1)", "  (i4,2x,7(i5,f5.1)   "}) {
    const CompiledFormat f = compileFormat(text);
    EXPECT_FALSE(f.ok) << text;
    EXPECT_EQ("its parentheses do not close", f.error) << text;
  }
}

TEST(CompileFormatTest, FullFormatHasOneValuePerSpecies) {
  for (const char* text : {"(I3,8F3.0)", "(i4,f5.1)", "(2x,i4,25f4.0)", "(i5,2x,3(f5.1))",
                           "(i4,1x,(f5.1))"}) {
    EXPECT_TRUE(oneValuePerSpecies(compileFormat(text))) << text;
  }
  for (const char* text : {"(i4,2x,7(i5,f5.1))", "(I10,1X,5(I4,F5.0))", "(i4)", "(f5.1,i4)",
                           "(i4,2x,i5,10f5.1)", "(10f5.1)", "(i4,2x"}) {
    EXPECT_FALSE(oneValuePerSpecies(compileFormat(text))) << text;
  }
}

TEST(CompileFormatTest, HugeRepeatsCompileWithoutExpandingBeyondOneRead) {
  const CompiledFormat f = compileFormat("(999(999(999(i1))))");
  ASSERT_TRUE(f.ok);
  EXPECT_EQ(kMaxReadItems, f.count);
  const Read r = read("(i4,999(999(1x)),99(i5,f5.1))", kMaxCouplets, {"   7"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(7, r.record.sample);
}

TEST(CompileFormatTest, UnusableFormatsRefuseToReadAndWrite) {
  Read r = read("(i4,2x", 1, {"   1    2  3.5"});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kUnusable, r.failure.kind);
  EXPECT_EQ(0u, r.lines_taken);
  bool ok = true;
  EXPECT_TRUE(write("(i4,2x", record(1, {{2, 3.5f}}), 1, &ok).empty());
  EXPECT_FALSE(ok);
}

// ---- reading fields ----

TEST(ReadEditTest, IntegerFields) {
  long long v = -1;
  EXPECT_TRUE(readIntEdit("  12", v));
  EXPECT_EQ(12, v);
  EXPECT_TRUE(readIntEdit(" 1 2", v));
  EXPECT_EQ(12, v);
  EXPECT_TRUE(readIntEdit("12  ", v));
  EXPECT_EQ(12, v);
  EXPECT_TRUE(readIntEdit(" -3", v));
  EXPECT_EQ(-3, v);
  EXPECT_TRUE(readIntEdit("+7", v));
  EXPECT_EQ(7, v);
  EXPECT_TRUE(readIntEdit("    ", v));
  EXPECT_EQ(0, v);
  EXPECT_TRUE(readIntEdit("", v));
  EXPECT_EQ(0, v);
  for (const char* bad : {"1.0", "1-", "a", "12x", "1,2", "99999999999", "--1"}) {
    EXPECT_FALSE(readIntEdit(bad, v)) << bad;
  }
}

TEST(ReadEditTest, RealFieldsWithAndWithoutPointAndExponent) {
  float v = -1;
  auto real = [&v](std::string_view field, int d) {
    v = -1;
    EXPECT_TRUE(readRealEdit(field, d, v)) << field;
    return v;
  };
  // Without a point the last d digits are the decimals.
  EXPECT_FLOAT_EQ(3.5f, real("   35", 1));
  EXPECT_FLOAT_EQ(3.5f, real(" 3 5 ", 1));
  EXPECT_FLOAT_EQ(0.35f, real("   35", 2));
  EXPECT_FLOAT_EQ(35.0f, real("   35", 0));
  // With a point the point decides.
  EXPECT_FLOAT_EQ(35.0f, real(" 35.0", 1));
  EXPECT_FLOAT_EQ(3.5f, real("  3.5", 1));
  EXPECT_FLOAT_EQ(0.19f, real("  0.19", 1));
  EXPECT_FLOAT_EQ(0.5f, real("   .5", 1));
  EXPECT_FLOAT_EQ(4.0f, real("  4.", 0));
  EXPECT_FLOAT_EQ(-2.5f, real(" -2.5", 1));
  // Exponents: E, D, or a sign alone; without a point the implied decimals
  // apply to the digits before the exponent.
  EXPECT_FLOAT_EQ(15.0f, real("1.5E1", 1));
  EXPECT_FLOAT_EQ(15.0f, real("1.5d1", 1));
  EXPECT_FLOAT_EQ(150.0f, real("1.5+2", 1));
  EXPECT_FLOAT_EQ(0.015f, real("1.5-2", 1));
  EXPECT_FLOAT_EQ(0.15f, real("15E-1", 1));
  EXPECT_FLOAT_EQ(2.5f, real("25 e-1", 0));
  // Blank and sign-only fields are 0.
  EXPECT_FLOAT_EQ(0.0f, real("     ", 1));
  EXPECT_FLOAT_EQ(0.0f, real("", 1));
  EXPECT_FLOAT_EQ(0.0f, real("  -  ", 1));
  for (const char* bad : {"*****", "1.2.3", "abc", "1e", "1e+", "E5", "3,5", "1.5e1x", "1-2-3",
                          "1e99999"}) {
    v = -1;
    EXPECT_FALSE(readRealEdit(bad, 1, v)) << bad;
  }
}

TEST(ReadEditTest, ValuesAreTheNearestSinglePrecisionNumber) {
  float v = 0;
  ASSERT_TRUE(readRealEdit("  3.25", 2, v));
  EXPECT_EQ(3.25f, v);
  ASSERT_TRUE(readRealEdit("  0.19", 2, v));
  EXPECT_EQ(0.19f, v);
  ASSERT_TRUE(readRealEdit("   19", 2, v));
  EXPECT_EQ(0.19f, v);
}

// ---- reading data lines ----

TEST(ReadRecordTest, ReferenceFormatReadsSampleAndSevenCouplets) {
  //        1   5    10   15   20   25   30 ...
  const Read r = read(kReference, 7,
                      {"  12    101 12.3  102   35  103 35.0 4000  0.5    1100.0    2  3.5"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(12, r.record.sample);
  EXPECT_EQ(101, r.record.species[1]);
  EXPECT_FLOAT_EQ(12.3f, r.record.value[1]);
  EXPECT_EQ(102, r.record.species[2]);
  EXPECT_FLOAT_EQ(3.5f, r.record.value[2]);
  EXPECT_EQ(103, r.record.species[3]);
  EXPECT_FLOAT_EQ(35.0f, r.record.value[3]);
  EXPECT_EQ(4000, r.record.species[4]);
  EXPECT_FLOAT_EQ(0.5f, r.record.value[4]);
  EXPECT_EQ(1, r.record.species[5]);
  EXPECT_FLOAT_EQ(100.0f, r.record.value[5]);
  EXPECT_EQ(2, r.record.species[6]);
  EXPECT_FLOAT_EQ(3.5f, r.record.value[6]);
  // A short line reads as if padded with blanks: the last couplet is empty.
  EXPECT_EQ(0, r.record.species[7]);
  EXPECT_FLOAT_EQ(0.0f, r.record.value[7]);
  EXPECT_EQ(1u, r.lines_taken);
}

TEST(ReadRecordTest, WhatTheReadDoesNotUseOfALineIsSkipped) {
  const Read r = read(kReference, 1, {"   3      5  2.0    6  ***** junk", "   4"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(3, r.record.sample);
  EXPECT_EQ(5, r.record.species[1]);
  EXPECT_EQ(1u, r.lines_taken);
}

TEST(ReadRecordTest, BlankLineIsTheEndOfDataLine) {
  const Read r = read(kReference, 7, {""});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(0, r.record.sample);
}

TEST(ReadRecordTest, RepeatedEditsAndNestedGroups) {
  Read r = read("(2i4,f5.1)", 1, {"   1   2  3.5"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(1, r.record.sample);
  EXPECT_EQ(2, r.record.species[1]);
  EXPECT_FLOAT_EQ(3.5f, r.record.value[1]);

  // I4, then twice: a skip and two couplets of I3 and F4.1.
  r = read("(i4,2(1x,2(i3,f4.1)))", 4, {"   1  10 1.5 11 2.5  12 3.5 13 4.5"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(1, r.record.sample);
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(9 + j, r.record.species[j]);
    EXPECT_FLOAT_EQ(j + 0.5f, r.record.value[j]);
  }
}

TEST(ReadRecordTest, DuneFormatWithWideSampleField) {
  const Read r = read(" (I10,1X,5(I4,F5.0))", 5,
                      {"        28   25  3.0  27  2.0  28  1.0  29  6.0  "});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(28, r.record.sample);
  EXPECT_EQ(29, r.record.species[4]);
  EXPECT_FLOAT_EQ(6.0f, r.record.value[4]);
  EXPECT_EQ(0, r.record.species[5]);
}

TEST(ReadRecordTest, ListLongerThanTheFormatGoesOnAtTheLastTopLevelGroup) {
  // Nine couplets with room for seven: the next line is read from the group
  // 7(i5,f5.1), so it starts with a species number in columns 1-5.
  const Read r = read(kReference, 9,
                      {"   1      1  1.0    2  2.0    3  3.0    4  4.0    5  5.0    6  6.0    7  "
                       "7.0",
                       "    8  8.0    9  9.0", "   2"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(1, r.record.sample);
  for (int j = 1; j <= 9; ++j) {
    EXPECT_EQ(j, r.record.species[j]);
    EXPECT_FLOAT_EQ(static_cast<float>(j), r.record.value[j]);
  }
  EXPECT_EQ(2u, r.lines_taken);
}

TEST(ReadRecordTest, ReversionTakesTheGroupWithItsLeadingSkip) {
  // The group begins with 1x, which is not merged with the 2x before it:
  // the next line skips one column, not three.
  const Read r = read("(i4,2x,2(1x,i4,f5.1))", 3,
                      {std::string("   1") + "  " + " " + "  10" + "  1.0" + " " + "  11" + "  2.0",
                       "1 2   3.5"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(10, r.record.species[1]);
  EXPECT_EQ(11, r.record.species[2]);
  EXPECT_EQ(2, r.record.species[3]);
  EXPECT_FLOAT_EQ(3.5f, r.record.value[3]);
}

TEST(ReadRecordTest, ReversionGoesToTheLastTopLevelGroupAndOnToTheEnd) {
  // Taken up again at 1(i3,f3.0), not at 1(i5,f5.1): the second line holds
  // an i3 and an f3.0 (read with i5 it would give 115).
  const std::string first =
      std::string("   1") + "    7" + "  7.0" + "  8" + " 8." + "  9" + " 9.";
  const Read r = read("(i4,1(i5,f5.1),1(i3,f3.0),i3,f3.0)", 4, {first, " 11 5."});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(7, r.record.species[1]);
  EXPECT_EQ(8, r.record.species[2]);
  EXPECT_EQ(9, r.record.species[3]);
  EXPECT_FLOAT_EQ(9.0f, r.record.value[3]);
  EXPECT_EQ(11, r.record.species[4]);
  EXPECT_FLOAT_EQ(5.0f, r.record.value[4]);
}

TEST(ReadRecordTest, FormatWithoutGroupIsTakenUpAgainFromItsBeginning) {
  // The second line starts again with i4 (a species number in columns 1-4),
  // then meets i5 where a value is due.
  const Read r = read("(i4,i5,f5.1)", 2, {"   1    2  2.5", "  33"});
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kWrongKind, r.failure.kind);
  EXPECT_EQ(1, r.failure.line_offset);
  EXPECT_EQ(4, r.failure.item);
  EXPECT_EQ(5, r.failure.column);
  EXPECT_EQ(33, r.record.species[2]);
}

TEST(ReadRecordTest, GroupWithoutFieldsCannotBeTakenUpAgain) {
  const Read r = read("(i4,2x,i5,f5.1,2(1x))", 2, {"   1      2  2.5", "    3  3.5"});
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kNoValues, r.failure.kind);
  EXPECT_EQ(3, r.failure.item);
}

TEST(ReadRecordTest, FieldThatDoesNotReadNamesItsItemAndColumns) {
  const Read r = read(kReference, 7, {"   1      4  3.5    7 *****"});
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kBadField, r.failure.kind);
  EXPECT_EQ(0, r.failure.line_offset);
  EXPECT_EQ(4, r.failure.item);
  EXPECT_EQ("value", itemName(r.failure.item));
  EXPECT_EQ(22, r.failure.column);
  EXPECT_EQ('F', r.failure.edit.kind);
  EXPECT_EQ(5, r.failure.edit.width);
}

TEST(ReadRecordTest, EditOfTheWrongKindFails) {
  const Read r = read("(i4,f5.1,f5.1)", 1, {"   1  2.0  3.0"});
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kWrongKind, r.failure.kind);
  EXPECT_EQ(1, r.failure.item);
  EXPECT_EQ("species number", itemName(r.failure.item));
}

TEST(ReadRecordTest, EndOfFileAtTheStartAndInsideARead) {
  Read r = read(kReference, 7, {});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kEndOfFile, r.failure.kind);
  EXPECT_EQ(0, r.failure.line_offset);

  r = read(kReference, 9, {"   1      1  1.0"});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(ReadFailure::kEndOfFile, r.failure.kind);
  EXPECT_EQ(1, r.failure.line_offset);
}

TEST(ReadRecordTest, NinetyNineCoupletsOverFifteenLines) {
  Lines lines = {"   5"};
  for (int j = 1; j <= kMaxCouplets; ++j) {
    if ((j - 1) % 7 == 0) {
      if (j > 1) lines.emplace_back();
      if (j == 1) lines.back() += "  ";
    }
    lines.back() += veg::fmtInt(j, 5) + veg::fmtReal(j / 10.0, 5, 1);
  }
  const Read r = read(kReference, kMaxCouplets, lines);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(15u, r.lines_taken);
  EXPECT_EQ(99, r.record.species[99]);
  EXPECT_FLOAT_EQ(9.9f, r.record.value[99]);
}

// ---- writing ----

TEST(WriteRecordTest, ReferenceFormatWritesTheLineAsTheWriterLaysItOut) {
  const DataRecord r = record(1, {{4, 3.5f}, {12, 12.34f}, {300, 0.5f}, {4000, 100.0f},
                                  {5, 3.25f}, {6, 0.75f}, {7, 999.94f}});
  EXPECT_EQ(Lines{"   1      4  3.5   12 12.3  300  0.5 4000100.0    5  3.3    6  0.8    7999.9"},
            write(kReference, r, 7));
}

TEST(WriteRecordTest, WriteEndsAfterItsLastItem) {
  const DataRecord r = record(23, {{4, 3.5f}, {0, 0.0f}});
  EXPECT_EQ(Lines{"  23      4  3.5"}, write(kReference, r, 1));
  EXPECT_EQ(Lines{"  23      4  3.5    0  0.0"}, write(kReference, r, 2));
  // Skips at the end of a line are not written.
  EXPECT_EQ(Lines{"  23      4  3.5"}, write("(i4,2x,1(i5,f5.1),10x)", r, 1));
}

TEST(WriteRecordTest, ListLongerThanTheFormatGoesOnAtTheNextLine) {
  const DataRecord r = record(2, {{1, 1.0f}, {2, 2.0f}, {3, 3.0f}});
  EXPECT_EQ((Lines{"   2      1  1.0    2  2.0", "    3  3.0"}),
            write("(i4,2x,2(i5,f5.1))", r, 3));
}

TEST(WriteRecordTest, FieldsThatDoNotFitAreAsterisks) {
  const DataRecord r = record(12345, {{100, 999.95f}, {7, -99.96f}});
  EXPECT_EQ(Lines{"****    100*****    7*****"}, write(kReference, r, 2));
}

TEST(WriteRecordTest, WrongKindOfEditCannotWrite) {
  bool ok = true;
  write("(i4,f5.1,f5.1)", record(1, {{2, 3.0f}}), 1, &ok);
  EXPECT_FALSE(ok);
}

TEST(AppendRealTest, FortranStyleRealFields) {
  auto real = [](double v, int w, int d) {
    std::string out;
    appendReal(out, v, w, d);
    return out;
  };
  EXPECT_EQ("  3.5", real(3.5, 5, 1));
  EXPECT_EQ("  0.5", real(0.5, 5, 1));
  EXPECT_EQ(" -0.5", real(-0.5, 5, 1));
  EXPECT_EQ("-.50", real(-0.5, 4, 2));   // no room for the 0
  EXPECT_EQ(".50", real(0.5, 3, 2));
  EXPECT_EQ("0.05", real(0.05, 4, 2));
  EXPECT_EQ("   4.", real(4.0, 5, 0));   // F5.0 keeps its point
  EXPECT_EQ("   0.", real(0.2, 5, 0));
  EXPECT_EQ("  3.3", real(3.25, 5, 1));  // halfway rounds away from zero
  EXPECT_EQ(" -3.3", real(-3.25, 5, 1));
  EXPECT_EQ("  0.8", real(0.75, 5, 1));
  EXPECT_EQ("*", real(0.0, 1, 0));
  EXPECT_EQ("*****", real(1000.0, 5, 1));
  EXPECT_EQ("*****", real(1e30, 5, 1));
}

TEST(AppendRealTest, AgreesWithTheSharedRealFieldWhereThereIsRoom) {
  for (int i = -20000; i <= 20000; i += 7) {
    for (int d = 1; d <= 3; ++d) {
      const double v = i / 400.0;
      std::string out;
      appendReal(out, v, 9, d);
      EXPECT_EQ(veg::fmtReal(v, 9, d), out) << v << " d=" << d;
    }
  }
}

TEST(AppendIntTest, RightJustifiedOrAsterisks) {
  std::string out;
  appendInt(out, 42, 5);
  appendInt(out, -7, 3);
  appendInt(out, 123, 2);
  EXPECT_EQ("   42 -7**", out);
}

}  // namespace
}  // namespace cornell
