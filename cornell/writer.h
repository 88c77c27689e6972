// The lines of a Cornell condensed file as DECKSAVE writes them: the title,
// the format line, data lines of seven couplets, the end-of-data line and
// name lines of ten 8-character names. Every line ends after its last item.
#pragma once

#include <string>
#include <string_view>

#include "common/files.h"
#include "cornell/layout.h"

namespace cornell {

/// Line 1, the title.
constexpr std::string_view kTitleLine = "NO TITLE";
/// The data format the format line declares: sample number, then couplets of
/// species number and value.
constexpr std::string_view kDataFormat = "(i4,2x,7(i5,f5.1))";
constexpr int kCoupletsPerLine = 7;

/// Line 2, the format line: `kDataFormat` in columns 1-18, blanks, the
/// couplet count 7 right-justified in columns 69-70.
std::string formatLine();

/// One data line into `line`: the sample number in columns 1-4, two blanks,
/// then for each of the `count` (1 to 7) couplets the species number in 5
/// columns and the value with one decimal in 5 columns (five asterisks when
/// it does not fit). With `count` 0 the line is the sample number alone.
void dataLine(std::string& line, int sample_number, const int* species, const float* values,
              int count);

/// The end-of-data line: 0 right-justified in columns 1-4.
std::string endOfDataLine();

/// One name line into `line`: the `count` (1 to 10) names of 8 characters.
void nameLine(std::string& line, const Name* names, int count);

/// Writes a sample's entries 1..`count` of `species` and `values` (1-based)
/// as ceil(count / 7) data lines, or one line holding only the sample number
/// when `count` is 0. `line` is the caller's buffer, reused.
void writeSample(veg::TextFile& out, std::string& line, int sample_number, const int* species,
                 const float* values, int count);

/// Writes names 1..`count` of `names` (1-based) as lines of 10, the last line
/// holding the rest; one empty line when `count` is 0.
void writeNameLines(veg::TextFile& out, std::string& line, const Name* names, int count);

}  // namespace cornell
