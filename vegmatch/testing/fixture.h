// The set-up shared by the vegmatch unit tests: the engine's fixture (fake
// console and file system, tables, a sample) with the run's open files
// (Io) and the other state a run owns.
#pragma once

#include <string>
#include <utility>

#include "engine/testing/fixture.h"
#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch::testing {

using engine::testing::assocTable;
using engine::testing::crossReference;
using engine::testing::DictionaryNames;
using engine::testing::Lines;
using engine::testing::loadDictionary;
using engine::testing::operator+;

/// The switches of keyboard entry and of datafile input, all species.
inline constexpr Switches kKeyboardSwitches{kKeyboardInput, 1, 10000};
inline constexpr Switches kDatafileSwitches{kDatafileInput, 0, 10000};

/// Everything a unit test of the run's routines works on. Nothing is open
/// until a test asks for it.
struct Fixture : engine::testing::Fixture {
  Io io{console, fs};
  RunSettings settings;
  LineBuffers buffers;
  RecapGrid grid;
  Switches switches;

  /// Creates the answers file VEGMOUT.txt.
  void openAnswers() { io.answers = fs.createNew("VEGMOUT.txt"); }
  /// Keyboard entry with the record-of-entry file SAMP.txt; `typed` is
  /// added to the keyboard script.
  void keyboard(Lines typed = {}) {
    switches = kKeyboardSwitches;
    io.record = fs.createNew("SAMP.txt");
    console.type(std::move(typed));
  }
  /// Datafile input from DATA.txt, which holds `lines`.
  void datafile(Lines lines) {
    switches = kDatafileSwitches;
    fs.put("DATA.txt", std::move(lines));
    io.datafile = fs.openExisting("DATA.txt");
  }

  Lines answers() const { return fs.lines("VEGMOUT.txt"); }
  Lines record() const { return fs.lines("SAMP.txt"); }
};

}  // namespace vegmatch::testing
