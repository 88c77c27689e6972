// DECKLOAD on any Cornell condensed file, as a user runs it: the default
// names at the file dialog and RETURN at every later question. The header
// lines, the data format of the format line (compiled and used for every
// data line), both passes over the data lines and the name lines all see the
// input.
//
// Besides memory safety and the 80-column screen it checks that the run
// ends normally and that a sample file it writes is one the suite reads:
// every line fits its layout, and DECKSAVE converts it back without a
// fault of its own.
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
  fs.put("CORNELL.txt", veg::fuzz::fileLines(data, size));
  veg::fuzz::ScriptConsole console(veg::fuzz::returns());
  check(deckload::runDeckload(console, fs) == 0, "deckload exit status");
  if (!fs.exists("SAMP.txt")) return 0;

  // Sample headers, species lines and the empty line after each sample.
  const std::vector<std::string> samples = fs.lines("SAMP.txt");
  veg::fuzz::checkWidth(samples, 40, "sample file line too wide");
  if (samples.empty()) return 0;

  // What DECKLOAD writes, DECKSAVE reads: the other way round.
  veg::testing::MemoryFileSystem back;
  back.put("SAMP.txt", samples);
  veg::fuzz::ScriptConsole console2(veg::fuzz::returns());
  check(decksave::runDecksave(console2, back) == 0, "decksave exit status");
  if (back.exists("CORNELL.txt"))
    veg::fuzz::checkWidth(back.lines("CORNELL.txt"), 80, "Cornell line too wide");
  return 0;
}
