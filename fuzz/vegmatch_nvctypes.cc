// The cross-reference loader on any NVCTYPES.txt, after the dictionary and
// tables of vegmatch_tables.h (four communities): either a clear message
// and a normal stop, or texts of their widths, which the scoring (woodland
// from the community coded " W 1  ") and the report then use.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/testing/fakes.h"
#include "engine/ranking.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "engine/tables.h"
#include "fuzz/support.h"
#include "fuzz/vegmatch_tables.h"
#include "vegmatch/io.h"
#include "vegmatch/report.h"

using veg::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  veg::testing::MemoryFileSystem fs;
  veg::fuzz::putReferenceFiles(fs);
  fs.put("NVCTYPES.txt", veg::fuzz::fileLines(data, size));
  veg::fuzz::ScriptConsole console({""}, veg::fuzz::kLoaderScreenWidth);
  engine::Tables* tables = &veg::fuzz::freshTables();
  engine::loadSpeciesDictionary(console, fs, *tables);
  engine::loadAssociationTables(console, fs, 10000, *tables);
  try {
    engine::loadCrossReference(console, fs, *tables);
  } catch (const veg::StopRun&) {
    check(console.last() == "*************************", "a stop ends with the notice");
    return 0;
  }
  const int n = tables->n_communities;
  for (int k = 1; k <= n; ++k) {
    check(tables->cross_reference.nvc_code[k].size() == 6 &&
              tables->cross_reference.community_name[k].size() == 24 &&
              tables->cross_reference.subcommunity_name[k].size() == 16 &&
              tables->cross_reference.eunis_code[k].size() == 8 &&
              tables->cross_reference.eunis_name[k].size() == 24,
          "cross-reference texts of their widths");
  }

  engine::prepareTables(*tables);
  check(tables->woodland_start >= 1 && tables->woodland_start <= n + 1, "woodland start");
  const engine::Sample sample = veg::fuzz::everySpecies();
  veg::fuzz::scoreAndRank(sample, *tables);

  // The report of the last ranking, in the answers file.
  vegmatch::Io io(console, fs);
  io.answers = fs.createNew("VEGMOUT.txt");
  std::array<short, engine::kMaxOutput + 1> top_community{};
  std::array<float, engine::kMaxOutput + 1> top_score{};
  vegmatch::RunSettings settings;
  for (int analysis_type = 1; analysis_type <= 5; ++analysis_type) {
    settings.analysis_type = analysis_type;
    engine::scoreCommunities(sample, analysis_type, *tables);
    engine::rankBest(tables->scores.fit_score, n, top_community, top_score, n);
    vegmatch::writeAnswers(io, *tables, top_community, n, 0, sample.sample_name, settings);
  }
  veg::fuzz::checkWidth(fs.lines("VEGMOUT.txt"), 80, "answers line over 80 columns");
  return 0;
}
