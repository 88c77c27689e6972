// Species name resolution: the bisection search of the sorted dictionary,
// and what happens to a name key the dictionary does not hold (a menu of
// similar names at the keyboard; an automatic new name with datafile input).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/console.h"
#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch {

/// Places of the name menu's choice list: "NEW NAME ", "DELETE   " and up to
/// 73 candidates.
constexpr int kMaxChoices = 75;
/// Rows of the name menu; it shows four columns of them.
constexpr int kMenuRows = 15;

using ChoiceList = std::array<short, kMaxChoices + 1>;

/// Resolves a key the dictionary does not hold. With datafile input
/// (isDatafile(input_mode)) it reports the key on the screen and in the
/// answers file and adds it as a new name. At the keyboard it offers the menu of
/// similar names: NEW NAME adds the key, DELETE gives 0, any other choice
/// gives that entry and replaces `key` by its name. A new name takes entry
/// name_count + 1 (the caller gives it its species number); when the
/// dictionary is full the name is refused with a message (also in the
/// answers file with datafile input) and the result is 0.
int resolveUnknownName(Io& io, std::string& key, Dictionary& dict, int& name_count, int dict_size,
                       int input_mode, RecapGrid& grid);

/// Shows the menu of choices[1..length] in four columns of up to 15 rows
/// (built in grid.menu_choice) and reads the user's choice: the entry in
/// the typed place, or entry 2 (DELETE) for an empty, unreadable or
/// out-of-range answer.
int chooseFromMenu(veg::Console& console, const ChoiceList& choices, int length,
                   const Dictionary& dict, int name_count, RecapGrid& grid);

}  // namespace vegmatch
