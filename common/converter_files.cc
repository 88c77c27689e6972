#include "common/converter_files.h"

#include <string>

#include "common/filedialog.h"

namespace veg {

const ConverterFileTexts kDeckloadFileTexts = {
    " Enter name of input datafile in Cornell format", "CORNELL.txt",
    " Type name of output file (VEGMATCH format)", "SAMP.txt"};

const ConverterFileTexts kDecksaveFileTexts = {
    " Enter name of input datafile in VEGMATCH format", "SAMP.txt",
    " Type name of output file (Cornell Condensed)", "CORNELL.txt"};

void askConverterFiles(Console& console, FileSystem& fs, const ConverterFileTexts& texts,
                       std::unique_ptr<TextFile>& input, std::unique_ptr<TextFile>& output) {
  std::string name;
  console.blank(2);
  console.writeLine(texts.input_prompt);
  console.writeLine("      or press <RETURN> for default " + std::string(texts.input_default));
  input = askExistingFile(console, fs, {.default_name = texts.input_default}, name);

  console.blank(2);
  console.writeLine(texts.output_prompt);
  console.writeLine("      or press <RETURN> for default " + std::string(texts.output_default));
  output = askNewFile(console, fs, {.default_name = texts.output_default}, name);
}

}  // namespace veg
