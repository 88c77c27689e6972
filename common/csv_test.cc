#include "common/csv.h"

#include <gtest/gtest.h>

namespace veg {
namespace {

TEST(CsvTest, PlainAndQuotedFields) {
  CsvTable t = CsvTable::parse(
      "nvc_code,name,fullname\n"
      "A2a,typical subcommunity,\"Lemna minor community, typical subcommunity\"\n"
      "X1,\"say \"\"hi\"\"\",\n",
      "units.csv");
  ASSERT_EQ(2u, t.rows().size());
  EXPECT_EQ(2u, t.column("fullname"));
  EXPECT_EQ("Lemna minor community, typical subcommunity", t.rows()[0][2]);
  EXPECT_EQ("say \"hi\"", t.rows()[1][1]);
  EXPECT_EQ("", t.rows()[1][2]);
}

TEST(CsvTest, QuotedFieldMaySpanLines) {
  CsvTable t = CsvTable::parse("a,b\n\"one\ntwo\",3\n", "x.csv");
  ASSERT_EQ(1u, t.rows().size());
  EXPECT_EQ("one\ntwo", t.rows()[0][0]);
  EXPECT_EQ("3", t.rows()[0][1]);
}

TEST(CsvTest, CarriageReturnsAndBlankLinesAndNoFinalNewline) {
  CsvTable t = CsvTable::parse("a,b\r\n1,2\r\n\r\n3,4", "x.csv");
  ASSERT_EQ(2u, t.rows().size());
  EXPECT_EQ("2", t.rows()[0][1]);
  EXPECT_EQ("4", t.rows()[1][1]);
}

TEST(CsvTest, WrongFieldCountNamesFileAndLine) {
  try {
    CsvTable::parse("a,b\n1,2\n3\n", "taxa.csv");
    FAIL() << "no error";
  } catch (const SourceError& e) {
    EXPECT_STREQ("taxa.csv line 3: 1 fields, header has 2", e.what());
  }
}

TEST(CsvTest, UnclosedQuoteIsAnError) {
  EXPECT_THROW(CsvTable::parse("a,b\n\"1,2\n", "x.csv"), SourceError);
}

TEST(CsvTest, MissingColumnIsAnError) {
  CsvTable t = CsvTable::parse("a,b\n1,2\n", "x.csv");
  EXPECT_THROW(t.column("c"), SourceError);
}

TEST(CsvTest, WithRowsKeepsNameAndColumns) {
  CsvTable t = CsvTable::parse("a,b\n1,2\n", "x.csv");
  CsvTable u = t.withRows({{"3", "4"}, {"5", "6"}});
  ASSERT_EQ(2u, u.rows().size());
  EXPECT_EQ("6", u.rows()[1][u.column("b")]);
  EXPECT_EQ("x.csv", u.name());
  EXPECT_EQ("2", t.rows()[0][1]) << "the first table is unchanged";
  EXPECT_THROW(t.withRows({{"3"}}), SourceError);
}

TEST(CsvTest, SplitRecordReusesFieldsAndDropsSurplus) {
  std::vector<std::string> fields = {"old", "old", "old", "old"};
  std::size_t pos = 0;
  std::string text = "a,\"b,c\",\nd\n";
  ASSERT_TRUE(splitRecord(text, pos, fields));
  EXPECT_EQ((std::vector<std::string>{"a", "b,c", ""}), fields);
  ASSERT_TRUE(splitRecord(text, pos, fields));
  EXPECT_EQ((std::vector<std::string>{"d"}), fields);
  EXPECT_EQ(text.size(), pos);
}

TEST(CsvTest, PlainRecordsSplitIntoViews) {
  std::vector<std::string_view> fields = {"stale"};
  ASSERT_TRUE(splitPlainRecord("Q1,Festuca rubra,,25", fields));
  EXPECT_EQ((std::vector<std::string_view>{"Q1", "Festuca rubra", "", "25"}), fields);
  ASSERT_TRUE(splitPlainRecord("", fields));
  EXPECT_EQ((std::vector<std::string_view>{""}), fields);
  EXPECT_FALSE(splitPlainRecord("Q1,\"a, b\",25", fields));
  EXPECT_TRUE(fields.empty());
  EXPECT_FALSE(splitPlainRecord("Q1,x\r", fields));
}

// Lines are searched eight characters at a time: commas and quotes are
// found wherever they fall, at the edges of each group of eight and in
// the characters after the last whole group, and bytes with the high bit
// set (UTF-8) are none of them.
TEST(CsvTest, PlainRecordsSplitWhereverTheCommasFall) {
  std::vector<std::string_view> fields;
  ASSERT_TRUE(splitPlainRecord("Q000001,Alchemilla filicaulis ssp. vestita,24", fields));
  EXPECT_EQ((std::vector<std::string_view>{"Q000001", "Alchemilla filicaulis ssp. vestita", "24"}),
            fields);
  ASSERT_TRUE(splitPlainRecord("1234567,12345678,,1,", fields));
  EXPECT_EQ((std::vector<std::string_view>{"1234567", "12345678", "", "1", ""}), fields);
  ASSERT_TRUE(splitPlainRecord(",,,,,,,,,", fields));
  EXPECT_EQ(10u, fields.size());
  ASSERT_TRUE(splitPlainRecord("Q1,G\xC3\xA9ranium \xC2\xAC\xAC\xAC\xAC\xAC\xAC,\xFF\xFE", fields));
  EXPECT_EQ((std::vector<std::string_view>{"Q1", "G\xC3\xA9ranium \xC2\xAC\xAC\xAC\xAC\xAC\xAC",
                                           "\xFF\xFE"}),
            fields);

  const std::string plain = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
  for (std::size_t at = 0; at < plain.size(); ++at) {
    std::string line = plain;
    line[at] = ',';
    ASSERT_TRUE(splitPlainRecord(line, fields)) << at;
    ASSERT_EQ(2u, fields.size()) << at;
    EXPECT_EQ(plain.substr(0, at), fields[0]) << at;
    EXPECT_EQ(plain.substr(at + 1), fields[1]) << at;
    for (char special : {'"', '\r', '\n'}) {
      line = plain;
      line[at] = special;
      EXPECT_FALSE(splitPlainRecord(line, fields)) << at;
      EXPECT_TRUE(fields.empty()) << at;
    }
  }
}

TEST(CsvTest, FieldsWrittenQuotedOnlyWhenTheyMustBe) {
  std::string out;
  for (const char* field : {"plain", "a, b", "say \"hi\"", " lead", "two\nlines", ""}) {
    appendCsvField(out, field);
    out += '|';
  }
  EXPECT_EQ("plain|\"a, b\"|\"say \"\"hi\"\"\"|\" lead\"|\"two\nlines\"||", out);
}

TEST(CsvTest, WrittenFieldsReadBack) {
  std::string line;
  const std::vector<std::string> fields = {"x,y", "\"q\"", "", " z "};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    appendCsvField(line, fields[i]);
  }
  std::vector<std::string> back;
  std::size_t pos = 0;
  ASSERT_TRUE(splitRecord(line, pos, back));
  EXPECT_EQ(fields, back);
}

}  // namespace
}  // namespace veg
