#include "vegmatch/driver.h"

#include <array>
#include <memory>

#include "common/run.h"
#include "vegmatch/blocks.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/entry.h"
#include "vegmatch/fit.h"
#include "vegmatch/io.h"
#include "vegmatch/refdata.h"
#include "vegmatch/report.h"

namespace vegmatch {

namespace {

// Everything the run owns; large enough to live on the heap.
struct Run {
  explicit Run(veg::Console& console, veg::FileSystem& fs) : io(console, fs) {}
  Io io;
  Tables tables;
  few settings;
  cards buffers;
  captab grid;
  Sample sample;
  std::array<short, kMaxOutput + 1> top_community{};
  std::array<float, kMaxOutput + 1> top_score{};
};

void run(Run& r) {
  veg::Console& console = r.io.console;
  screen(console, r.io.fs, r.tables.calc2, kHelpLines);
  const Switches switches = setsw(r.io);
  r.settings.cover_scale = 1;
  r.settings.analysis_type = 1;
  reset(console, r.settings);
  r.settings.sample_count = 1;
  clear(console);
  console.writeLine(" Enter number of fitted communities to be output");
  int n_output = 5;
  getnum(console, n_output, 1, kMaxOutput);

  load_species_dictionary(console, r.io.fs, r.tables);
  load_association_tables(console, r.io.fs, switches.species_limit, r.tables);
  load_cross_reference(console, r.io.fs, r.tables);
  prepare(r.tables);
  r.settings.last_new_number = kNewNumberBase;

  for (;;) {
    stndin(r.io, r.tables, r.settings, r.buffers, r.grid, r.sample, switches);
    ++r.settings.sample_count;
    score(r.sample, r.settings.analysis_type, r.tables);
    topn(r.tables.calc3.fit_score, r.tables.n_communities, r.top_community, r.top_score, n_output);
    outans(r.io, r.tables, r.top_community, n_output, switches.record_entry, r.sample.sample_name,
           r.settings);
  }
}

}  // namespace

int runVegmatch(veg::Console& console, veg::FileSystem& fs) {
  auto r = std::make_unique<Run>(console, fs);
  // Every end of the run arrives here; the files close with `r`.
  return veg::runProgram(
      console, [&] { run(*r); }, [&] { r->io.flush(); });
}

}  // namespace vegmatch
