// DECKLOAD: converts a Cornell condensed file into a sample file that
// VEGMATCH reads. Reads the keyboard, writes the screen, and works on files
// of the working directory.
#include "common/console.h"
#include "common/files.h"
#include "deckload/convert.h"

int main() {
  veg::ignoreFileSizeSignal();
  veg::StdConsole console;
  veg::RealFileSystem fs;
  return deckload::runDeckload(console, fs);
}
