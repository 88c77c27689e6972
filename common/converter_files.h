// The file dialog of the two converters: the input file is asked for until
// one opens, the output file until a new one is created. DECKLOAD and
// DECKSAVE differ only in their texts and default names.
#pragma once

#include <memory>
#include <string_view>

#include "common/console.h"
#include "common/files.h"

namespace veg {

struct ConverterFileTexts {
  std::string_view input_prompt;    // e.g. " Enter name of input datafile in Cornell format"
  std::string_view input_default;   // e.g. "CORNELL.txt"
  std::string_view output_prompt;   // e.g. " Type name of output file (VEGMATCH format)"
  std::string_view output_default;  // e.g. "SAMP.txt", passed to createDefaultOrVariant
};

/// DECKLOAD's texts: Cornell file in, sample file out.
extern const ConverterFileTexts kDeckloadFileTexts;
/// DECKSAVE's texts: sample file in, Cornell file out.
extern const ConverterFileTexts kDecksaveFileTexts;

/// Asks for the input file (which must exist; a blank reply, also after a
/// failure, takes the default) and then for the output file (created new; a
/// blank reply takes the default or its first free numbered variant). On
/// return both are open. End of input stops the program (StopRun).
void askConverterFiles(Console& console, FileSystem& fs, const ConverterFileTexts& texts,
                       std::unique_ptr<TextFile>& input, std::unique_ptr<TextFile>& output);

}  // namespace veg
