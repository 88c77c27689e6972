#include "vegmatch/name_menu.h"

#include <algorithm>

#include "common/fields.h"
#include "engine/names.h"
#include "engine/parser.h"

namespace vegmatch {

namespace {

constexpr int kNewNameEntry = 1;
constexpr int kDeleteEntry = 2;
// Names numbered above this are never offered in the menu.
constexpr int kMenuNumberLimit = 10000;

char charAt(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : ' '; }

std::string nameOf(const Dictionary& dict, int entry, int name_count) {
  if (entry < 1 || entry > name_count || entry > kMaxNames)
    return std::string(engine::kKeyWidth, ' ');
  return veg::padRight(dict.species_name[static_cast<std::size_t>(entry)], engine::kKeyWidth);
}

// Both notices of one unknown key go to the answers file as well when the
// samples come from a datafile.
void notice(Io& io, const std::string& line, bool to_answers) {
  io.console.writeLine(line);
  if (to_answers) io.answer(line);
}

// Adds `key` as entry name_count + 1, or refuses it when the table is full.
int addName(Io& io, const std::string& key, Dictionary& dict, int& name_count, bool to_answers) {
  if (name_count >= kMaxNames) {
    notice(io, "     *** Dictionary full - line ignored ***  " + key, to_answers);
    return 0;
  }
  ++name_count;
  dict.species_name[static_cast<std::size_t>(name_count)] = key;
  return name_count;
}

// A name is offered for a typed key when it begins with the same letter and
// its epithet with the same letter, or, for a key without epithet, when it
// has the same genus.
bool isCandidate(std::string_view name, std::string_view key) {
  char c1 = charAt(key, 0);
  char c6 = charAt(key, 5);
  if (charAt(name, 0) == c1 && charAt(name, 5) == c6) return true;
  if (c6 != ' ') return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (charAt(name, i) != charAt(key, i)) return false;
  }
  return true;
}

}  // namespace

int resolveUnknownName(Io& io, std::string& key, Dictionary& dict, int& name_count, int dict_size,
                       int input_mode, RecapGrid& grid) {
  const bool datafile = isDatafile(input_mode);
  notice(io, "     *** Name not in dictionary ***  " + key, datafile);
  if (datafile) return addName(io, key, dict, name_count, true);

  veg::Console& console = io.console;
  console.writeLine("");
  console.writeLine("     Select correct name from menu");
  console.writeLine("     or accept as new name or delete entry");

  ChoiceList choices{};
  choices[1] = kNewNameEntry;
  choices[2] = kDeleteEntry;
  int length = 2;

  // The sorted names that begin with the key's first letter, found by
  // searching for the lowest and highest keys that could begin with it.
  char c1 = charAt(key, 0);
  int upper = 0;
  int lower = 0;
  engine::bisectNames(dict.species_name, dict_size, std::string(1, c1) + "aaaaaaaa", upper, lower);
  int first = upper;
  const std::string high = std::string(1, c1) + "zzzzzzzz";
  engine::bisectNames(dict.species_name, dict_size, high, upper, lower);
  int last = lower;
  // When every name sorts below the high key the upper bound is the last
  // entry, never compared; it belongs to the range if it begins with c1.
  if (upper >= 1 && upper <= kMaxNames &&
      dict.species_name[static_cast<std::size_t>(upper)] <= high)
    last = upper;

  auto consider = [&](int entry) {
    if (dict.species_number[static_cast<std::size_t>(entry)] > kMenuNumberLimit) return;
    if (!isCandidate(dict.species_name[static_cast<std::size_t>(entry)], key)) return;
    if (length < kMaxChoices) {
      choices[static_cast<std::size_t>(++length)] = static_cast<short>(entry);
    } else {
      console.writeLine(" *** Beware - list too long *** ");
      choices[kMaxChoices] = static_cast<short>(entry);
    }
  };
  int sorted_end = std::min(dict_size, kMaxNames);
  for (int entry = std::max(first, 1); entry <= std::min(last, sorted_end); ++entry)
    consider(entry);
  int added_end = std::min(name_count, kMaxNames);
  for (int entry = std::max(dict_size, 0) + 1; entry <= added_end; ++entry) consider(entry);

  int choice = chooseFromMenu(console, choices, length, dict, name_count, grid);
  if (choice == kNewNameEntry) return addName(io, key, dict, name_count, false);
  if (choice == kDeleteEntry) return 0;
  key = nameOf(dict, choice, name_count);
  return choice;
}

int chooseFromMenu(veg::Console& console, const ChoiceList& choices, int length,
                   const Dictionary& dict, int name_count, RecapGrid& grid) {
  length = std::clamp(length, 0, kMaxChoices);
  int rows = std::min(length, kMenuRows);
  for (int r = 1; r <= rows; ++r) {
    int cells = 0;
    for (int c = 1; c <= 4; ++c) {
      int place = r + kMenuRows * (c - 1);
      if (place > length) break;
      grid.menu_choice[static_cast<std::size_t>(c)] =
          veg::fmtInt(place, 2) + " " +
          nameOf(dict, choices[static_cast<std::size_t>(place)], name_count);
      cells = c;
    }
    std::string row = "  ";
    for (int c = 1; c <= cells; ++c) {
      row += "    " + grid.menu_choice[static_cast<std::size_t>(c)];
      if (c < cells) row += "   ";
    }
    console.writeLine(row);
  }
  console.writeLine("");
  console.writeLine(" Type number of choice");

  std::string reply = console.ask();
  long long number = 0;
  if (!veg::readIntField(veg::column(reply, 1, 4), number) || number <= 0 || number > length) {
    return kDeleteEntry;
  }
  return choices[static_cast<std::size_t>(number)];
}

}  // namespace vegmatch
