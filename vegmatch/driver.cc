#include "vegmatch/driver.h"

#include <array>
#include <memory>

#include "common/run.h"
#include "engine/ranking.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/entry.h"
#include "vegmatch/io.h"
#include "vegmatch/report.h"

namespace vegmatch {

namespace {

// Everything the run owns; large enough to live on the heap.
struct Run {
  explicit Run(veg::Console& console, veg::FileSystem& fs) : io(console, fs) {}
  Io io;
  Tables tables;
  HelpPage help;
  RunSettings settings;
  LineBuffers buffers;
  RecapGrid grid;
  Sample sample;
  std::array<short, kMaxOutput + 1> top_community{};
  std::array<float, kMaxOutput + 1> top_score{};
};

void run(Run& r) {
  veg::Console& console = r.io.console;
  showTitleScreens(console, r.io.fs, r.help, kHelpLines);
  const Switches switches = setUpRun(r.io);
  r.settings.cover_scale = 1;
  r.settings.analysis_type = 1;
  askAnalysisParameters(console, r.settings);
  r.settings.sample_count = 1;
  pushScreenUp(console);
  console.writeLine(" Enter number of fitted communities to be output");
  int n_output = 5;
  askNumber(console, n_output, 1, kMaxOutput);

  engine::loadSpeciesDictionary(console, r.io.fs, r.tables);
  engine::loadAssociationTables(console, r.io.fs, switches.species_limit, r.tables);
  engine::loadCrossReference(console, r.io.fs, r.tables);
  engine::prepareTables(r.tables);
  r.settings.last_new_number = kNewNumberBase;

  for (;;) {
    enterSample(r.io, r.tables, r.settings, r.buffers, r.grid, r.sample, switches);
    ++r.settings.sample_count;
    engine::scoreCommunities(r.sample, r.settings.analysis_type, r.tables);
    engine::rankBest(r.tables.scores.fit_score, r.tables.n_communities, r.top_community,
                     r.top_score, n_output);
    writeAnswers(r.io, r.tables, r.top_community, n_output, switches.record_entry,
                 r.sample.sample_name, r.settings);
  }
}

}  // namespace

int runVegmatch(veg::Console& console, veg::FileSystem& fs) {
  auto r = std::make_unique<Run>(console, fs);
  // Every end of the run arrives here; the files close with `r`. Each file
  // is pushed to disk on its own, so that when one fails (a full disk) the
  // other is still written, or named as well when it fails too.
  return veg::runProgram(console, [&] { run(*r); },
                         {[&] { r->io.flushAnswers(); }, [&] { r->io.flushRecord(); }});
}

}  // namespace vegmatch
