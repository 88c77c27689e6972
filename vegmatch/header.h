// The header phase of sample entry: the sample's name line, typed or read
// as the header line of a sample file block. It gives the sample name and
// the maximum frequency of a sample with frequency data, checks a scale
// label against the cover scale in force, writes the header line of the
// record-of-entry file and shows the sample line.
#pragma once

#include <string>
#include <string_view>

#include "vegmatch/blocks.h"
#include "vegmatch/io.h"

namespace vegmatch {

/// Largest maximum frequency a sample may state.
constexpr int kMaxFrequencyLimit = 100;

/// The scale label of the sample file for `cover_scale` ("COVR%", "BR-BL",
/// "DOMIN"); five blanks for any other scale.
std::string scaleLabel(int cover_scale);

/// The header line of the record-of-entry file: the name in 8 columns, then
/// either five blanks and the scale label, or (max_frequency > 0) three
/// blanks, "*", the maximum frequency in 3 columns, a blank and the label.
std::string headerLine(std::string_view sample_name, int max_frequency, int cover_scale);

/// The line that shows the sample and the run's parameters (without the
/// empty line that precedes it).
std::string sampleLine(std::string_view sample_name, int max_frequency, int species_limit,
                       const few& settings);

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

/// Takes the name line in buffers.input_line apart. `sample_name` receives
/// its first 8 columns before any asterisk ("SAMPL" and the sample count
/// when blank), `max_frequency` the number after an asterisk (0 without
/// one). A maximum frequency above 100 is reported and sets `bad`. A scale
/// label in columns 14-18 or 17-21 other than that of the scale in force is
/// reported, and after a RETURN the analysis parameters are asked again
/// (reset). Keyboard mode: an accepted line's header line goes to the
/// record-of-entry file.
void samfrq(Io& io, cards& buffers, std::string& sample_name, int& max_frequency, bool& bad,
            int input_mode, few& settings);

/// The header phase: asks for (keyboard) or reads (datafile) name lines
/// until one is accepted (a datafile line always is, a bad maximum
/// frequency read as 0), shows the sample line on the screen and in the
/// answers file, and fills sample_name and max_frequency of `sample`, the
/// one place where the rest of sample entry finds them. At the end of the
/// datafile, or when sample_count marks it exhausted, it ends the run
/// (hold, then StopRun).
void headerPhase(Io& io, cards& buffers, few& settings, Sample& sample, const Switches& switches);

}  // namespace vegmatch
