// nvcbuild SOURCE_DIR OUTPUT_DIR: converts the public NVC tables in
// SOURCE_DIR (data/source) into the reference files in OUTPUT_DIR:
// SPECDICT.txt, ASSOCTAB.txt, NVCTYPES.txt, HELP.txt, NAMES.txt, UNITS.csv,
// HABITATS.csv, INDICATORS.csv, FLORISTIC.csv and VERSION.txt. The same
// sources always give the same bytes.
#include <exception>
#include <iostream>

#include "tools/nvcwrite.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: nvcbuild SOURCE_DIR OUTPUT_DIR\n";
    return 2;
  }
  try {
    nvcdata::buildAll(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "nvcbuild: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
