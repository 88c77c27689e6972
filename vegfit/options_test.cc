#include "vegfit/options.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace vegfit {
namespace {

struct Parsed {
  bool ok = false;
  Options options;
  std::string error;
};

Parsed parse(std::vector<std::string> args) {
  args.insert(args.begin(), "vegfit");
  Parsed p;
  p.ok = parseOptions(args, p.options, p.error);
  return p;
}

TEST(OptionsTest, DefaultsAreThoseOfVegmatch) {
  Parsed p = parse({"quadrats.csv"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(1, p.options.cover_scale);
  EXPECT_FALSE(p.options.scale_given);
  EXPECT_EQ(1, p.options.analysis_type);
  EXPECT_EQ(5, p.options.top);
  EXPECT_EQ(10000, p.options.species_limit);
  EXPECT_TRUE(p.options.group_by.empty());
  EXPECT_FALSE(p.options.explain);
  EXPECT_EQ(Format::kCsv, p.options.format);
  EXPECT_EQ("", p.options.data_dir);
  EXPECT_EQ("", p.options.output);
  EXPECT_FALSE(p.options.force);
  EXPECT_EQ(std::vector<std::string>{"quadrats.csv"}, p.options.files);
}

TEST(OptionsTest, EveryOptionAndItsValues) {
  Parsed p = parse({"--scale", "domin", "--type=4", "--top", "12", "--groups", "vascular",
                    "--group-by", "site", "--explain", "--format", "json", "--data", "/d", "-o",
                    "fits.json", "--force", "a.csv", "-", "b.txt"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(3, p.options.cover_scale);
  EXPECT_TRUE(p.options.scale_given);
  EXPECT_EQ(4, p.options.analysis_type);
  EXPECT_EQ(12, p.options.top);
  EXPECT_EQ(3000, p.options.species_limit);
  EXPECT_EQ(std::vector<std::string>{"site"}, p.options.group_by);
  EXPECT_TRUE(p.options.explain);
  EXPECT_EQ(Format::kJson, p.options.format);
  EXPECT_EQ("/d", p.options.data_dir);
  EXPECT_EQ("fits.json", p.options.output);
  EXPECT_TRUE(p.options.force);
  EXPECT_EQ((std::vector<std::string>{"a.csv", "-", "b.txt"}), p.options.files);

  EXPECT_EQ(2, parse({"--scale", "braun-blanquet", "x"}).options.cover_scale);
  EXPECT_EQ(1, parse({"--scale", "percent", "x"}).options.cover_scale);
  EXPECT_EQ(4000, parse({"--groups", "no-lichens", "x"}).options.species_limit);
  EXPECT_EQ(10000, parse({"--groups", "all", "x"}).options.species_limit);
  EXPECT_EQ("out.csv", parse({"--output=out.csv", "x"}).options.output);
  EXPECT_EQ(Format::kHtml, parse({"--format", "html", "x"}).options.format);
}

TEST(OptionsTest, RangesOfNumbers) {
  EXPECT_TRUE(parse({"--type", "1", "x"}).ok);
  EXPECT_TRUE(parse({"--type", "5", "x"}).ok);
  EXPECT_TRUE(parse({"--top", "1", "x"}).ok);
  EXPECT_TRUE(parse({"--top", "99", "x"}).ok);
  for (const char* bad : {"0", "6", "-1", "2x", "", "1.5"})
    EXPECT_FALSE(parse({"--type", bad, "x"}).ok) << bad;
  for (const char* bad : {"0", "100", "five"}) EXPECT_FALSE(parse({"--top", bad, "x"}).ok) << bad;
}

TEST(OptionsTest, UsageErrorsSayWhatIsWrong) {
  EXPECT_EQ("--scale takes percent, braun-blanquet or domin, not 'cover'",
            parse({"--scale", "cover", "x"}).error);
  EXPECT_EQ("--type takes a number from 1 to 5, not '7'", parse({"--type", "7", "x"}).error);
  EXPECT_EQ("--top takes a number from 1 to 99, not '0'", parse({"--top", "0", "x"}).error);
  EXPECT_EQ("--groups takes all, no-lichens or vascular, not 'mosses'",
            parse({"--groups", "mosses", "x"}).error);
  EXPECT_EQ("--format takes csv, json or html, not 'xml'", parse({"--format", "xml", "x"}).error);
  EXPECT_EQ("unknown option '--colour'", parse({"--colour", "x"}).error);
  EXPECT_EQ("unknown option '-z'", parse({"-z", "x"}).error);
  EXPECT_EQ("option '--top' needs a value", parse({"x", "--top"}).error);
  EXPECT_EQ("option '-o' needs a value", parse({"x", "-o"}).error);
  EXPECT_EQ("no input file", parse({"--type", "2"}).error);
  EXPECT_EQ("--group-by needs the name of a column", parse({"--group-by=", "x"}).error);
}

TEST(OptionsTest, HelpAndVersionNeedNoFile) {
  Parsed help = parse({"--help"});
  EXPECT_TRUE(help.ok);
  EXPECT_TRUE(help.options.help);
  EXPECT_TRUE(parse({"-h"}).options.help);
  Parsed version = parse({"--version"});
  EXPECT_TRUE(version.ok);
  EXPECT_TRUE(version.options.version);
}

TEST(OptionsTest, ParsedAfreshEveryTime) {
  // getopt_long keeps its place in globals; a second parse starts over.
  EXPECT_EQ(3, parse({"--type", "3", "x"}).options.analysis_type);
  EXPECT_EQ(2, parse({"--type", "2", "y"}).options.analysis_type);
  EXPECT_EQ(std::vector<std::string>{"y"}, parse({"--type", "2", "y"}).options.files);
}

TEST(OptionsTest, HelpNamesEveryOptionWithinSeventyNineColumns) {
  std::string all;
  for (const std::string& line : helpText()) {
    EXPECT_LE(line.size(), 79u) << line;
    all += line + "\n";
  }
  for (const char* option :
       {"--scale percent|braun-blanquet|domin", "--type 1..5", "--top N",
        "--groups all|no-lichens|vascular", "--group-by COL[,COL...]", "--explain",
        "--sample-column COL[,COL...]", "--species-column COL", "--cover-column COL",
        "--separator comma|semicolon|tab", "--drop-unmatched",
        "--format csv|json|html", "--data DIR", "-o, --output FILE", "--force", "-h, --help",
        "--version", "Exit status", "sample, species", "max_frequency", "\"-\""})
    EXPECT_NE(std::string::npos, all.find(option)) << option;
  // Every output column is named.
  for (const char* column :
       {"sample, rank", "nvc_code", "community,", "subcommunity", "eunis_code", "eunis_name",
        "fit, grade", "community_composition_fit", "sample_composition_fit",
        "community_cover_fit", "sample_cover_fit", "species", "unmatched", "missing_constants",
        "not_in_table", "status", "file"})
    EXPECT_NE(std::string::npos, all.find(column)) << column;
}

// As GNU tools read a command line: options and files in any order, "--"
// ending the options, values joined or apart, unique starts of long names.
TEST(OptionsTest, OptionsAndFilesInAnyOrder) {
  Parsed p = parse({"in.csv", "--top", "1", "-oout.csv", "b.csv", "--sample-column=Site, Year",
                    "--sep", "semicolon", "--", "--odd.csv", "-"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ((std::vector<std::string>{"in.csv", "b.csv", "--odd.csv", "-"}), p.options.files);
  EXPECT_EQ(1, p.options.top);
  EXPECT_EQ("out.csv", p.options.output);
  EXPECT_EQ((std::vector<std::string>{"Site", "Year"}), p.options.sample_columns);
  EXPECT_EQ(';', p.options.separator);
  EXPECT_EQ("option '--fo' is ambiguous", parse({"--fo", "x"}).error);
  EXPECT_EQ("option '--force' takes no value", parse({"--force=yes", "x"}).error);
  EXPECT_EQ("--sample-column needs the name of a column",
            parse({"--sample-column", "Site,,Year", "x"}).error);
  EXPECT_EQ("--cover-column takes one column, not 'a,b'",
            parse({"--cover-column", "a,b", "x"}).error);
  EXPECT_EQ('\t', parse({"--separator", "tab", "x"}).options.separator);
  EXPECT_TRUE(parse({"--drop-unmatched", "x"}).options.drop_unmatched);
}

// --explain takes best or all, after "=" or as the next argument; any
// other next argument is a file. --table shows stands: it needs --group-by.
TEST(OptionsTest, ExplainWhichAndTable) {
  struct Case {
    std::vector<std::string> args;
    bool ok, all;
    std::size_t files;
  };
  const Case cases[] = {
      {{"--explain", "q.csv"}, true, false, 1},
      {{"--explain=all", "q.csv"}, true, true, 1},
      {{"--explain", "all", "q.csv"}, true, true, 1},
      {{"--explain", "best", "q.csv"}, true, false, 1},
      {{"--explain", "q.csv", "all"}, true, false, 2},  // "all" after a file is a file
      {{"--explain=most", "q.csv"}, false, false, 0},
      {{"--table", "q.csv"}, false, false, 0},
      {{"--table", "--group-by", "site", "q.csv"}, true, false, 1},
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.args);
    EXPECT_EQ(c.ok, p.ok) << c.args[0] << " " << c.args[1] << ": " << p.error;
    if (!c.ok || !p.ok) continue;
    EXPECT_EQ(c.all, p.options.explain_all) << c.args[1];
    EXPECT_EQ(c.files, p.options.files.size()) << c.args[1];
  }
  EXPECT_EQ("--explain takes best or all, not 'most'", parse({"--explain=most", "q"}).error);
}

// --help and the parser agree: every option the parser takes is shown, and
// every option shown is taken, with the value the help gives for it.
TEST(OptionsTest, HelpShowsExactlyTheOptionsParsed) {
  std::set<std::string> parsed;
  for (const std::string& name : optionNames()) parsed.insert(name.size() == 1 ? "-" + name : "--" + name);

  // The options shown: the option column of a help line (up to the two
  // blanks before its description) holds the option's names and the word
  // for its value.
  std::map<std::string, std::string> shown;
  for (const std::string& line : helpText()) {
    if (line.rfind("  -", 0) != 0) continue;
    std::istringstream words(line.substr(2, line.find("  ", 2) - 2));
    std::string word, value;
    std::vector<std::string> options;
    while (words >> word) {
      if (word[0] != '-') {
        value = word;
        break;
      }
      if (word.back() == ',') word.pop_back();
      options.push_back(word);
    }
    for (const std::string& o : options) shown[o] = value;
  }
  std::set<std::string> shown_names;
  for (const auto& [name, value] : shown) shown_names.insert(name);
  EXPECT_EQ(parsed, shown_names);

  // Each one shown is accepted with the value shown: the first of a list of
  // choices, the lower end of a range, a number or a name.
  for (auto [name, value] : shown) {
    std::vector<std::string> args = {name};
    // An optional value, "[best|all]".
    if (value.size() > 2 && value.front() == '[') value = value.substr(1, value.size() - 2);
    // The stand table is of stands.
    if (name == "--table") args = {"--group-by", "site", name};
    if (value == "N") {
      args.push_back("7");
    } else if (value.find("..") != std::string::npos) {
      args.push_back(value.substr(0, value.find("..")));
    } else if (value.find('|') != std::string::npos) {
      args.push_back(value.substr(0, value.find('|')));
    } else if (!value.empty()) {
      args.push_back("x");
    }
    args.push_back("q.csv");
    const Parsed p = parse(args);
    EXPECT_TRUE(p.ok) << name << " " << value << ": " << p.error;
  }
  // Options not shown are refused.
  EXPECT_FALSE(parse({"--verbose", "q.csv"}).ok);
  EXPECT_FALSE(parse({"-v", "q.csv"}).ok);
}

}  // namespace
}  // namespace vegfit
