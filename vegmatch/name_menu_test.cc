#include "vegmatch/name_menu.h"

#include <gtest/gtest.h>

#include "vegmatch/testing/fixture.h"

namespace vegmatch {
namespace {

using testing::Lines;

struct NameMenuTest : ::testing::Test, testing::Fixture {
  Dictionary& dict = tables->dictionary;
  int& dict_size = tables->dict_size;
  int& name_count = tables->name_count;

  NameMenuTest() { openAnswers(); }

  // The two reserved entries, then `names` (already in ascending order).
  void load(const testing::DictionaryNames& names) {
    testing::loadDictionary(dict, dict_size, name_count, names);
  }
  void addDuringRun(const std::string& name, short number) {
    engine::testing::addDuringRun(dict, name_count, name, number);
  }
  void loadSmall() { load(engine::testing::kSmallDictionary); }
  int resolve(std::string& key, const std::string& answer, int input_mode = 0) {
    console.type({answer});
    return resolveUnknownName(io, key, dict, name_count, dict_size, input_mode, grid);
  }
  // The menu rows on the screen: the lines between the heading and the
  // empty line before " Type number of choice".
  Lines menuRows() {
    Lines rows;
    bool in_menu = false;
    for (const auto& line : console.output) {
      if (line == "     or accept as new name or delete entry") {
        in_menu = true;
      } else if (in_menu && line.empty()) {
        break;
      } else if (in_menu && line.rfind(" *** Beware", 0) != 0) {
        rows.push_back(line);
      }
    }
    return rows;
  }
};

TEST_F(NameMenuTest, DatafileInputAddsTheKeyAndReportsIt) {
  loadSmall();
  std::string key = "xanth par";
  EXPECT_EQ(11, resolveUnknownName(io, key, dict, name_count, dict_size, 4, grid));
  EXPECT_EQ(11, name_count);
  EXPECT_EQ("xanth par", dict.species_name[11]);
  EXPECT_EQ(Lines{"     *** Name not in dictionary ***  xanth par"}, console.output);
  EXPECT_EQ(Lines{"     *** Name not in dictionary ***  xanth par"}, answers());
  EXPECT_EQ(0, console.reads);
}

TEST_F(NameMenuTest, DatafileInputWithAFullDictionaryRefusesTheName) {
  loadSmall();
  name_count = kMaxNames;
  dict.species_name[kMaxNames] = "last name";
  dict.species_number[kMaxNames] = 9500;
  std::string key = "xanth par";
  EXPECT_EQ(0, resolveUnknownName(io, key, dict, name_count, dict_size, 4, grid));
  EXPECT_EQ(kMaxNames, name_count);
  EXPECT_EQ("last name", dict.species_name[kMaxNames]);
  Lines expected = {"     *** Name not in dictionary ***  xanth par",
                    "     *** Dictionary full - line ignored ***  xanth par"};
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ(expected, answers());
}

TEST_F(NameMenuTest, KeyboardMenuScreenForAGenusOnlyKey) {
  loadSmall();
  std::string key = "fest     ";
  resolve(key, "");
  // Every key beginning with fest, and every genus-only key beginning with f.
  Lines expected = {"     *** Name not in dictionary ***  fest     ",
                    "",
                    "     Select correct name from menu",
                    "     or accept as new name or delete entry",
                    "       1 NEW NAME ",
                    "       2 DELETE   ",
                    "       3 fagu     ",
                    "       4 fest ovin",
                    "       5 fest rubr",
                    "       6 fila     ",
                    "",
                    " Type number of choice"};
  EXPECT_EQ(expected, console.output);
  EXPECT_TRUE(answers().empty());
}

TEST_F(NameMenuTest, KeyWithEpithetOffersSameFirstLettersOfBothWords) {
  loadSmall();
  addDuringRun("fxyz r   ", 9001);
  addDuringRun("gxyz r   ", 9002);
  std::string key = "fest rubx";
  resolve(key, "");
  Lines expected = {"       1 NEW NAME ", "       2 DELETE   ", "       3 fest rubr",
                    "       4 frag rese", "       5 fxyz r   "};
  EXPECT_EQ(expected, menuRows());
}

TEST_F(NameMenuTest, TheLastDictionaryNameIsOfferedToo) {
  load({{"agro capi", 1}, {"fest rubr", 52}, {"frag rese", 70}});
  std::string key = "fest rubx";
  resolve(key, "");
  Lines expected = {"       1 NEW NAME ", "       2 DELETE   ", "       3 fest rubr",
                    "       4 frag rese"};
  EXPECT_EQ(expected, menuRows());
}

TEST_F(NameMenuTest, NamesNumberedAboveTenThousandAreNotOffered) {
  loadSmall();
  dict.species_number[9] = 10001;  // frag rese
  std::string key = "fest rubx";
  resolve(key, "");
  Lines expected = {"       1 NEW NAME ", "       2 DELETE   ", "       3 fest rubr"};
  EXPECT_EQ(expected, menuRows());
}

TEST_F(NameMenuTest, ChoosingANameReplacesTheKey) {
  loadSmall();
  std::string key = "fest rubx";
  EXPECT_EQ(6, resolve(key, "3"));
  EXPECT_EQ("fest rubr", key);
  EXPECT_EQ(dict_size, name_count);
}

TEST_F(NameMenuTest, ChoosingNewNameAddsTheKey) {
  loadSmall();
  std::string key = "fest rubx";
  EXPECT_EQ(11, resolve(key, "1"));
  EXPECT_EQ("fest rubx", key);
  EXPECT_EQ(11, name_count);
  EXPECT_EQ("fest rubx", dict.species_name[11]);
}

TEST_F(NameMenuTest, ChoosingNewNameWithAFullDictionaryRefusesIt) {
  loadSmall();
  name_count = kMaxNames;
  dict.species_name[kMaxNames] = "last name";
  std::string key = "fest rubx";
  EXPECT_EQ(0, resolve(key, "1"));
  EXPECT_EQ(kMaxNames, name_count);
  EXPECT_EQ("last name", dict.species_name[kMaxNames]);
  EXPECT_EQ("     *** Dictionary full - line ignored ***  fest rubx", console.output.back());
  EXPECT_TRUE(answers().empty());
}

TEST_F(NameMenuTest, AnswersThatDeleteTheLine) {
  loadSmall();
  for (const char* answer : {"", "2", "0", "-1", "5", "x", "3x", "    3"}) {
    std::string key = "fest rubx";
    int before = name_count;
    EXPECT_EQ(0, resolve(key, answer)) << '"' << answer << '"';
    EXPECT_EQ("fest rubx", key);
    EXPECT_EQ(before, name_count);
  }
}

TEST_F(NameMenuTest, AnswerIsReadFromItsFirstFourColumns) {
  loadSmall();
  std::string key = "fest rubx";
  EXPECT_EQ(6, resolve(key, " 3  7"));
  key = "fest rubx";
  EXPECT_EQ(6, resolve(key, "3,9"));
  key = "fest rubx";
  EXPECT_EQ(6, resolve(key, "+3"));
}

TEST_F(NameMenuTest, EndOfInputAtTheMenuStopsTheRun) {
  loadSmall();
  std::string key = "fest rubx";
  EXPECT_THROW(resolveUnknownName(io, key, dict, name_count, dict_size, 0, grid), veg::StopRun);
}

// A dictionary of `count` names beginning with f and with epithets
// beginning with r, all candidates for the key "fest rxxx".
std::vector<std::pair<std::string, short>> manyCandidates(int count) {
  std::vector<std::pair<std::string, short>> names;
  for (int i = 0; i < count; ++i) {
    std::string name = "f";
    name += static_cast<char>('a' + i / 26);
    name += static_cast<char>('a' + i % 26);
    name += "x r";
    name += static_cast<char>('a' + i / 26);
    name += static_cast<char>('a' + i % 26);
    name += "x";
    names.emplace_back(name, static_cast<short>(100 + i));
  }
  return names;
}

TEST_F(NameMenuTest, SixteenChoicesStartASecondColumn) {
  load(manyCandidates(14));
  std::string key = "fest rxxx";
  resolve(key, "");
  Lines rows = menuRows();
  ASSERT_EQ(15u, rows.size());
  EXPECT_EQ("       1 NEW NAME        16 fanx ranx", rows[0]);
  EXPECT_EQ("       2 DELETE   ", rows[1]);
  EXPECT_EQ("      15 famx ramx", rows[14]);
}

TEST_F(NameMenuTest, FifteenChoicesFillOneColumn) {
  load(manyCandidates(13));
  std::string key = "fest rxxx";
  resolve(key, "");
  Lines rows = menuRows();
  ASSERT_EQ(15u, rows.size());
  EXPECT_EQ("       1 NEW NAME ", rows[0]);
  EXPECT_EQ("      15 famx ramx", rows[14]);
}

TEST_F(NameMenuTest, FullMenuShowsSixtyChoicesInFourColumns) {
  load(manyCandidates(73));
  std::string key = "fest rxxx";
  resolve(key, "");
  Lines rows = menuRows();
  ASSERT_EQ(15u, rows.size());
  // Choice 3 is the first candidate, so choice k is candidate k - 3.
  EXPECT_EQ("       1 NEW NAME        16 fanx ranx       31 fbcx rbcx       46 fbrx rbrx",
            rows[0]);
  EXPECT_EQ("      15 famx ramx       30 fbbx rbbx       45 fbqx rbqx       60 fcfx rcfx",
            rows[14]);
  EXPECT_EQ(0, std::count_if(console.output.begin(), console.output.end(), [](const auto& l) {
              return l == " *** Beware - list too long *** ";
            }));
}

TEST_F(NameMenuTest, UnshownChoicesUpToTheListLengthAreAccepted) {
  load(manyCandidates(73));
  std::string key = "fest rxxx";
  EXPECT_EQ(61, resolve(key, "61"));  // place p holds entry p here
  EXPECT_EQ("fcgx rcgx", key);
  key = "fest rxxx";
  EXPECT_EQ(75, resolve(key, "75"));
  key = "fest rxxx";
  EXPECT_EQ(0, resolve(key, "76"));
}

TEST_F(NameMenuTest, CandidatesBeyondSeventyFiveReplacePlaceSeventyFive) {
  load(manyCandidates(76));
  std::string key = "fest rxxx";
  // Candidates 74, 75 and 76 (entries 76, 77, 78) do not fit: one message
  // each, and the last of them ends in place 75.
  EXPECT_EQ(78, resolve(key, "75"));
  EXPECT_EQ("fcxx rcxx", key);
  Lines beware;
  for (const auto& line : console.output) {
    if (line.find("Beware") != std::string::npos) beware.push_back(line);
  }
  EXPECT_EQ(Lines(3, " *** Beware - list too long *** "), beware);
  key = "fest rxxx";
  EXPECT_EQ(74, resolve(key, "74"));
}

}  // namespace
}  // namespace vegmatch
