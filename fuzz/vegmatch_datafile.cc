// VEGMATCH on a sample datafile, as a user runs it: the set-up dialog, then
// sample entry, scoring, ranking and the report for every sample of the
// file, with the fuzz input as the datafile SAMP.txt. The first byte
// chooses the species groups, the cover scale, the analysis type and the
// number of communities reported; the rest is the file.
//
// The reference tables of vegmatch_tables.h are loaded once for each
// species-group limit; each run then goes through the steps of runVegmatch
// on them (a run changes them only by the names it adds, which are dropped
// again before the next).
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/testing/fakes.h"
#include "engine/ranking.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "engine/tables.h"
#include "fuzz/support.h"
#include "fuzz/vegmatch_tables.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/entry.h"
#include "vegmatch/io.h"
#include "vegmatch/report.h"

using veg::fuzz::check;

namespace {

const char* const kReported[] = {"5", "1", "4", "99", "2", "3"};

// The tables as loaded under the species-group reply `groups` (0, 1, 2).
engine::Tables& loadedTables(unsigned groups) {
  static const std::array<engine::Tables*, 3> loaded = [] {
    const int limits[] = {10000, 4000, 3000};
    std::array<engine::Tables*, 3> tables{};
    for (std::size_t g = 0; g < 3; ++g) {
      tables[g] = new engine::Tables;
      veg::testing::MemoryFileSystem fs;
      veg::fuzz::putReferenceFiles(fs);
      veg::testing::FakeConsole console;
      engine::loadSpeciesDictionary(console, fs, *tables[g]);
      engine::loadAssociationTables(console, fs, limits[g], *tables[g]);
      engine::loadCrossReference(console, fs, *tables[g]);
      engine::prepareTables(*tables[g]);
    }
    return tables;
  }();
  return *loaded[groups];
}

// Everything a run owns besides the tables, fresh for every run.
struct Run {
  explicit Run(veg::Console& console, veg::FileSystem& fs) : io(console, fs) {}
  vegmatch::Io io;
  vegmatch::HelpPage help;
  vegmatch::RunSettings settings;
  vegmatch::LineBuffers buffers;
  vegmatch::RecapGrid grid;
  engine::Sample sample;
  std::array<short, engine::kMaxOutput + 1> top_community{};
  std::array<float, engine::kMaxOutput + 1> top_score{};
};

// The steps of runVegmatch, on tables loaded as they are loaded after the
// species-group reply that the keyboard script gives.
void runOnTables(Run& r, engine::Tables& tables) {
  veg::Console& console = r.io.console;
  vegmatch::showTitleScreens(console, r.io.fs, r.help, vegmatch::kHelpLines);
  const vegmatch::Switches switches = vegmatch::setUpRun(r.io);
  r.settings.cover_scale = 1;
  r.settings.analysis_type = 1;
  vegmatch::askAnalysisParameters(console, r.settings);
  r.settings.sample_count = 1;
  vegmatch::pushScreenUp(console);
  console.writeLine(" Enter number of fitted communities to be output");
  int n_output = 5;
  vegmatch::askNumber(console, n_output, 1, engine::kMaxOutput);
  r.settings.last_new_number = engine::kNewNumberBase;
  for (;;) {
    vegmatch::enterSample(r.io, tables, r.settings, r.buffers, r.grid, r.sample, switches);
    ++r.settings.sample_count;
    engine::scoreCommunities(r.sample, r.settings.analysis_type, tables);
    engine::rankBest(tables.scores.fit_score, tables.n_communities, r.top_community, r.top_score,
                     n_output);
    vegmatch::writeAnswers(r.io, tables, r.top_community, n_output, switches.record_entry,
                           r.sample.sample_name, r.settings);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const unsigned choice = size > 0 ? data[0] : 0;
  engine::Tables& tables = loadedTables(choice % 3);
  tables.name_count = tables.dict_size;
  const std::vector<std::string> datafile =
      size > 0 ? veg::fuzz::fileLines(data + 1, size - 1) : std::vector<std::string>{};
  veg::testing::MemoryFileSystem fs;
  veg::fuzz::putReferenceFiles(fs);
  fs.put("SAMP.txt", datafile);

  // Title, help offer, answers file, datafile source, its name, species
  // groups, cover scale, analysis type, communities reported; then RETURNs
  // for the parameter dialogs that a scale label of the file brings up.
  std::vector<std::string> keyboard = {"",
                                       "",
                                       "",
                                       "1",
                                       "",
                                       std::to_string(choice % 3),
                                       std::to_string(choice / 3 % 3 + 1),
                                       std::to_string(choice / 9 % 5 + 1),
                                       kReported[choice / 45 % 6]};
  keyboard.resize(keyboard.size() + 30, "");
  veg::fuzz::ScriptConsole console(keyboard);

  auto run = std::make_unique<Run>(console, fs);
  try {
    runOnTables(*run, tables);
  } catch (const veg::StopRun&) {
  }
  run.reset();

  // The run ends at the end of the datafile through the end-of-program
  // notice, unless the keyboard script ran out first.
  if (console.unread() > 0)
    check(console.last() == "*************************",
          "the run ends through the end-of-program notice");
  veg::fuzz::checkWidth(fs.lines("VEGMOUT.txt"), 80, "answers line over 80 columns");
  check(fs.lines("SAMP.txt") == datafile, "the datafile is left as it was");
  check(fs.created == std::vector<std::string>{"VEGMOUT.txt"}, "only the answers file is created");
  return 0;
}
