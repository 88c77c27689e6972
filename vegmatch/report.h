// The results report of one sample: a table line per reported community in
// the answers file and, with keyboard entry, the answer block and the table
// on the screen followed by the continue / reset / exit choice.
#pragma once

#include <array>
#include <string>

#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch {

/// Width of a table line.
constexpr std::size_t kTableLineWidth = 78;

/// The 78-column table line of community `k`, with the columns of
/// `analysis_type`; a community scoring below 0.0001 shows no code or names.
std::string tableLine(const Tables& tables, int k, int analysis_type);

/// Appends tableLine(tables, k, analysis_type) to `out`.
void appendTableLine(std::string& out, const Tables& tables, int k, int analysis_type);

/// Reports the `n_output` best communities of `top_community` (no more than
/// the tables hold). With `record_entry` 1 it shows the report and asks
/// whether to continue (returns), reset the analysis parameters (returns
/// after askAnalysisParameters) or exit (ends the run). The answers file and the record of
/// entry are flushed before the question.
void writeAnswers(Io& io, const Tables& tables,
                  const std::array<short, kMaxOutput + 1>& top_community, int n_output,
                  int record_entry, const std::string& sample_name, RunSettings& settings);

}  // namespace vegmatch
