// The header phase of sample entry: the sample's name line, typed or read
// as the header line of a sample file block. It gives the sample name and
// the maximum frequency of a sample with frequency data, checks a scale
// label against the cover scale in force, writes the header line of the
// record-of-entry file and shows the sample line.
#pragma once

#include <string>
#include <string_view>

#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch {

/// The line that shows the sample and the run's parameters (without the
/// empty line that precedes it).
std::string sampleLine(std::string_view sample_name, int max_frequency, int species_limit,
                       const RunSettings& settings);

/// Takes the name line in buffers.input_line apart. `sample_name` receives
/// its first 8 columns before any asterisk ("SAMPL" and the sample count
/// when blank), `max_frequency` the number after an asterisk (0 without
/// one). A maximum frequency above 100 is reported and sets `bad`. A scale
/// label in columns 14-18 or 17-21 other than that of the scale in force is
/// reported, and after a RETURN the analysis parameters are asked again
/// (askAnalysisParameters). Keyboard mode: an accepted line's header line goes to the
/// record-of-entry file.
void readNameLine(Io& io, LineBuffers& buffers, std::string& sample_name, int& max_frequency,
                  bool& bad, int input_mode, RunSettings& settings);

/// The header phase: asks for (keyboard) or reads (datafile) name lines
/// until one is accepted (a datafile line always is, a bad maximum
/// frequency read as 0), shows the sample line on the screen and in the
/// answers file, and fills sample_name and max_frequency of `sample`, the
/// one place where the rest of sample entry finds them. At the end of the
/// datafile, or when sample_count marks it exhausted, it ends the run
/// (hold, then StopRun).
void headerPhase(Io& io, LineBuffers& buffers, RunSettings& settings, Sample& sample,
                 const Switches& switches);

}  // namespace vegmatch
