// The state of a VEGMATCH run beyond the engine's tables: the run
// parameters, the line buffers and the recap grid of sample entry, and the
// help page. Each is a plain struct owned by the driver and passed by
// reference to the routines that use it.
#pragma once

#include <array>
#include <string>

#include "engine/tables.h"
#include "vegmatch/name_cache.h"

namespace vegmatch {

// The engine's tables and limits, used by every routine of the program.
using engine::Dictionary;
using engine::kMaxCommunities;
using engine::kMaxCover;
using engine::kMaxNames;
using engine::kMaxOutput;
using engine::kMaxSampleEntries;
using engine::kNewNumberBase;
using engine::Sample;
using engine::Tables;

constexpr int kHelpLines = 23;
constexpr int kDatafileExhausted = 10000;  // the sample count marking the end of the datafile

/// Run parameters.
struct RunSettings {
  int analysis_type = 1;  // 1..5
  int cover_scale = 1;    // 1..3
  int last_new_number = kNewNumberBase;
  int sample_count = 1;
};

/// The four 40-character line buffers of sample entry; what it keeps from
/// line to line besides: the line as it was read before it is cut to 40
/// columns (so that reading a line reuses its storage), and the entries
/// the name keys were found at.
struct LineBuffers {
  std::string input_line = std::string(40, ' ');
  std::string saved_line = std::string(40, ' ');
  std::string name_work = std::string(40, ' ');
  std::string field_work = std::string(40, ' ');
  std::string read_line;
  NameCache found_names;
};

/// Recap grid (rows 1..15 of 3 cells of 21 characters) and the menu row.
struct RecapGrid {
  std::array<std::array<std::string, 4>, 21> recap_cell;
  std::array<std::string, 5> menu_choice;
};

/// One page of the help text, lines 1..kHelpLines of 60 characters.
using HelpPage = std::array<std::string, kHelpLines + 1>;

}  // namespace vegmatch
