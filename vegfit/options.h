// The command line of vegfit: options and input files in any order, as
// GNU tools read them, and the texts of --help and --version.
#pragma once

#include <string>
#include <vector>

namespace vegfit {

enum class Format { kCsv, kJson, kHtml };

struct Options {
  int cover_scale = 1;                      // 1 % cover, 2 Braun-Blanquet, 3 Domin
  bool scale_given = false;                 // --scale was on the command line
  int analysis_type = 1;                    // 1..5, as in vegmatch
  int top = 5;                              // communities per sample, 1..99
  int species_limit = 10000;                // 10000 all, 4000 no lichens, 3000 vascular
  std::vector<std::string> sample_columns;  // CSV columns that together name a sample
  std::string species_column;               // empty: found by its name
  std::string cover_column;                 // empty: found by its name
  char separator = 0;                       // CSV separator; 0: found from the header row
  std::vector<std::string> group_by;        // CSV columns whose values compose samples
  bool drop_unmatched = false;              // leave out names that match no species
  bool explain = false;
  bool explain_all = false;  // --explain=all: every result explained, not only the best
  bool table = false;        // --table: each stand's constancy table beside the best unit's
  Format format = Format::kCsv;
  std::string data_dir;  // empty: the shipped data
  std::string output;    // empty or "-": standard output
  bool force = false;    // replace an existing output file
  bool help = false;
  bool version = false;
  std::vector<std::string> files;
};

/// Parses `args` (args[0] is the program name): options and file names in
/// any order, "--" ending the options, "--name=value", "--name value",
/// "-oFILE" and "-o FILE", and long names shortened to a start that is
/// theirs alone. False, with `error` saying what is wrong in one line, for
/// a usage error: an unknown option, a missing or unknown value, or no
/// input file (unless --help or --version was given).
bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

/// The long options parseOptions accepts, without their dashes, and the
/// letters of the short ones ("o", "h"), in the order of the parser's table.
std::vector<std::string> optionNames();

/// The text of --help, lines of at most 79 columns.
std::vector<std::string> helpText();

/// The text of --version: the program's version and that of the reference
/// data it would read (`data_version` empty: not known).
std::vector<std::string> versionText(const std::string& data_version);

}  // namespace vegfit
