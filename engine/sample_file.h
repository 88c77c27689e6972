// Sample files: blocks of a header line, species lines and an empty line.
// The header line carries the sample name in columns 1-8 and, for
// frequency data, an asterisk and the maximum frequency; then the scale
// label of the cover values in columns 14-18 (17-21 after a maximum
// frequency). The species lines are read by the species line parser.
#pragma once

#include <string>
#include <string_view>

namespace engine {

/// Width of the sample name at the start of a header line.
constexpr int kSampleNameWidth = 8;
/// Width of a scale label, and the two columns where one may start: after
/// a plain name, or after the name and its maximum frequency.
constexpr int kScaleLabelWidth = 5;
constexpr int kPlainLabelColumn = 14;
constexpr int kFrequencyLabelColumn = 17;

/// Largest maximum frequency a sample may state.
constexpr int kMaxFrequencyLimit = 100;

/// The scale label of the sample file for `cover_scale` ("COVR%", "BR-BL",
/// "DOMIN"); five blanks for any other scale.
std::string scaleLabel(int cover_scale);

/// The header line of the record-of-entry file: the name in 8 columns, then
/// either five blanks and the scale label, or (max_frequency > 0) three
/// blanks, "*", the maximum frequency in 3 columns, a blank and the label.
std::string headerLine(std::string_view sample_name, int max_frequency, int cover_scale);

/// What a name line states: `name` receives its columns 1-8 before the
/// first asterisk in columns 1-40, as they stand, blank-padded to 8;
/// `max_frequency` the number after that asterisk (0 without one; digits
/// build it, a sign or a comma counts as 0, anything else ends it).
void nameLineParts(std::string_view line, std::string& name, int& max_frequency);

/// The first scale (1..3) whose label stands in columns 14-18 or 17-21 of
/// `line`; 0 when neither holds a label.
int labelledScale(std::string_view line);

/// The name of a sample whose name line gives none: "SAMPL" and the
/// sample count in 3 columns.
std::string defaultSampleName(int sample_count);

}  // namespace engine
