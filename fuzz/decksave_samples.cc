// DECKSAVE on any sample file, as a user runs it: the default names at the
// file dialog and RETURN at every later question. The species lines, the
// dictionary and its index, the sort of each sample and the Cornell writer all
// see the input.
//
// Besides memory safety and the 80-column screen it checks that the run
// ends normally, that every line of the Cornell file fits 80 columns, and
// that DECKLOAD reads a Cornell file that DECKSAVE wrote without a fault of
// its own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/testing/fakes.h"
#include "deckload/convert.h"
#include "decksave/decksave.h"
#include "fuzz/support.h"

using veg::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  veg::testing::MemoryFileSystem fs;
  fs.put("SAMP.txt", veg::fuzz::fileLines(data, size));
  veg::fuzz::ScriptConsole console(veg::fuzz::returns());
  check(decksave::runDecksave(console, fs) == 0, "decksave exit status");
  if (!fs.exists("CORNELL.txt")) return 0;
  const std::vector<std::string> cornell_lines = fs.lines("CORNELL.txt");
  veg::fuzz::checkWidth(cornell_lines, 80, "Cornell line too wide");
  if (cornell_lines.empty()) return 0;

  veg::testing::MemoryFileSystem back;
  back.put("CORNELL.txt", cornell_lines);
  veg::fuzz::ScriptConsole console2(veg::fuzz::returns());
  check(deckload::runDeckload(console2, back) == 0, "deckload exit status");
  if (back.exists("SAMP.txt")) veg::fuzz::checkWidth(back.lines("SAMP.txt"), 40, "sample line");
  return 0;
}
