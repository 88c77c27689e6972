// VEGMATCH: identifies the NVC community of vegetation samples by goodness
// of fit to association tables. Reads the keyboard, writes the screen, and
// works on files of the working directory.
#include "common/console.h"
#include "common/files.h"
#include "vegmatch/driver.h"

int main() {
  veg::ignoreFileSizeSignal();
  veg::StdConsole console;
  veg::RealFileSystem fs;
  return vegmatch::runVegmatch(console, fs);
}
