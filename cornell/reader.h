// The parts of a Cornell condensed file that the reader takes apart: the
// data format and the couplet count of the format line (line 2), the first
// number of line 3, the header rule that decides between them, the name lines
// and the rule that finds the species-name and sample-name blocks among them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cornell/layout.h"

namespace cornell {

constexpr int kLineWidth = 80;
constexpr int kFormatWidth = 30;       // the field of the data format on the format line
constexpr int kFormatLastColumn = 68;  // columns 69-70 hold the couplet count
constexpr std::size_t kNameLineChars = std::size_t{kNamesPerLine} * kNameWidth;
constexpr int kMaxNameLines = 500;  // NameLines
constexpr int kMaxSpecies = 5000;   // SpeciesNameTable
constexpr int kMaxSamples = 20000;  // SampleNameTable

/// The data format: the 30 characters from the first non-blank character of
/// columns 1-20, or columns 21-50 when columns 1-20 are blank. A format
/// that goes on beyond those 30 characters is taken whole: up to the
/// parenthesis that closes it (within the 80 columns of the line), or when
/// none does up to its last non-blank character before column 69.
std::string dataFormatOf(std::string_view format_line);

/// Columns 69-70 of the format line as an integer; 0 when blank or unreadable.
int formatLineCount(std::string_view format_line);

/// The first number of line 3 (numbers separated by blanks or commas); 0
/// when the line does not begin with a readable integer.
long long line3Number(std::string_view line3);

/// What the header rule decides.
struct Header {
  enum Message { kNone, kWarning, kNotice };
  long long couplets = 1;  // couplets per line (may exceed what a line can hold)
  int lines_before_data = 2;
  Message message = kNone;
};

/// The header rule: the format-line count when it is positive (a warning when
/// the line-3 number is not 1), else a line-3 number above 1 with data from line
/// 4, else one couplet per line with the notice.
Header headerRule(int format_line_count, long long line3_number);

/// The name lines as read: 10 names of 8 characters per line, 1-based.
struct NameLines {
  std::array<std::array<char, kNameLineChars>, kMaxNameLines + 1> lines{};
};

constexpr int kSpeciesNameWidth = 9;

/// A name of exactly `N` characters held in place: the name tables are
/// built for every run, so they hold no strings of their own.
template <std::size_t N>
struct FixedName {
  std::array<char, N> chars{};

  /// Stores the first `N` characters of `text`, blank-padded.
  void assign(std::string_view text) {
    chars.fill(' ');
    text.copy(chars.data(), N);
  }
  std::string_view view() const { return {chars.data(), N}; }
};

/// Species names of 9 characters, indexed by species number.
struct SpeciesNameTable {
  std::array<FixedName<kSpeciesNameWidth>, kMaxSpecies + 1> species_name;
};

/// Sample names of 8 characters, indexed by sample number: sample numbers
/// 1 to the highest one of the file (at most kMaxSamples), sized by
/// buildNameTables.
struct SampleNameTable {
  std::vector<FixedName<kNameWidth>> sample_name;
};

/// Stores `line` as name line `k` of `names` (columns 1-80, blank-padded).
void storeNameLine(NameLines& names, int k, std::string_view line);

/// Name `position` (1-10) of name line `k`.
std::string_view nameOn(const NameLines& names, int k, int position);

/// True when name `position` of name line `k` is blank.
bool nameBlank(const NameLines& names, int k, int position);

/// True when every name of name line `k` is blank.
bool lineBlank(const NameLines& names, int k);

/// A Cornell species name as a 9-character species name: characters 1-4, a
/// blank, characters 5-8; "No Name  " for a blank one.
std::string speciesName(std::string_view cornell_name);

/// A Cornell sample name as a sample name: unchanged, "No Name " for a
/// blank one.
std::string sampleName(std::string_view cornell_name);

/// The name lines of the two blocks (first..last, 1-based; a block may be
/// empty when last < first).
struct Blocks {
  int species_first = 1;
  int species_last = 0;
  int sample_first = 1;
  int sample_last = 0;
};

/// Finds the species-name and sample-name blocks among the `k` name lines
/// read, for the highest species number `s` and sample number `m`. Needs
/// k >= ceil(s/10) and k <= kMaxNameLines (the caller checks both).
Blocks locateBlocks(const NameLines& names, int k, int s, int m);

/// Fills `species` and `samples` from the blocks: species numbers 1, 2, ...
/// from the species block; every sample number 1..`m` first "No Name ", then
/// sample numbers 1, 2, ... up to `m` from the sample block (names beyond
/// the highest sample number name no sample and are not kept).
void buildNameTables(const NameLines& names, const Blocks& blocks, int m, SpeciesNameTable& species,
                     SampleNameTable& samples);

}  // namespace cornell
