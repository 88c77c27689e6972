// DECKSAVE: converts a sample file into a Cornell condensed file. Reads the
// keyboard, writes the screen, and works on files of the working directory.
#include "common/console.h"
#include "common/files.h"
#include "decksave/decksave.h"

int main() {
  veg::ignoreFileSizeSignal();
  veg::StdConsole console;
  veg::RealFileSystem fs;
  return decksave::runDecksave(console, fs);
}
