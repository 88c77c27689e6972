#include "common/converter_files.h"

#include <string>

#include "common/filedialog.h"

namespace deckload {

const InoutTexts kDeckloadTexts = {" Enter name of input datafile in Cornell format", "CORNELL.txt",
                                   " Type name of output file (VEGMATCH format)", "SAMP.txt"};

const InoutTexts kDecksaveTexts = {" Enter name of input datafile in VEGMATCH format", "SAMP.txt",
                                   " Type name of output file (Cornell Condensed)", "CORNELL.txt"};

void inout(veg::Console& console, veg::FileSystem& fs, const InoutTexts& texts,
           std::unique_ptr<veg::TextFile>& input, std::unique_ptr<veg::TextFile>& output) {
  std::string name;
  console.blank(2);
  console.writeLine(texts.input_prompt);
  console.writeLine("      or press <RETURN> for default " + std::string(texts.input_default));
  input = veg::askExistingFile(console, fs, {.default_name = texts.input_default}, name);

  console.blank(2);
  console.writeLine(texts.output_prompt);
  console.writeLine("      or press <RETURN> for default " + std::string(texts.output_default));
  output = veg::askNewFile(console, fs, {.default_name = texts.output_default}, name);
}

}  // namespace deckload
