// nvceval DATA_DIR [--samples N] [--seed S]
//
// Draws N pseudo-samples (default 20) of every unit from DATA_DIR/source
// and scores them under analysis types 1 and 2, first against the shipped
// files in DATA_DIR, then against alternative conversions built in memory,
// and prints for each the share of samples whose own unit, and whose own
// community, is ranked first and within the best five.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tools/evaluate.h"

namespace {

void print(const char* label, const nvceval::Tally& t) {
  auto pct = [&](int n) { return 100.0 * n / (t.samples ? t.samples : 1); };
  std::printf("  %-34s %6.1f %6.1f   %6.1f %6.1f\n", label, pct(t.unit_first), pct(t.unit_top5),
              pct(t.community_first), pct(t.community_top5));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: nvceval DATA_DIR [--samples N] [--seed S]\n");
    return 2;
  }
  std::string dir = argv[1];
  int perUnit = 20;
  unsigned seed = 1;
  for (int i = 2; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--samples")
      perUnit = std::atoi(argv[i + 1]);
    else if (option == "--seed")
      seed = static_cast<unsigned>(std::atol(argv[i + 1]));
  }
  try {
    nvcdata::Sources sources = nvcdata::Sources::read(dir + "/source");
    nvcdata::ReferenceData shipped = nvcdata::convert(sources);
    std::vector<nvceval::PseudoSample> samples =
        nvceval::drawSamples(sources, shipped, perUnit, seed);
    std::printf("%zu pseudo-samples, %d per unit, seed %u\n", samples.size(), perUnit, seed);
    std::printf("  %-34s %13s   %13s\n", "", "unit", "community");
    std::printf("  %-34s %6s %6s   %6s %6s\n", "", "first", "top 5", "first", "top 5");

    using Cover = nvcdata::ConvertOptions::Cover;
    struct Variant {
      const char* name = "";
      nvcdata::ConvertOptions options;
      bool fromFiles = false;
    };
    const Variant variants[] = {
        {"shipped files (maximum Domin)", {}, true},
        {"midpoint of minimum and maximum", {Cover::kMidpoint, 1}, false},
        {"mean_domin column (mostly 1)", {Cover::kMean, 1}, false},
        {"constancy II and above only", {Cover::kMaximum, 2}, false},
    };
    for (int type : {1, 2}) {
      std::printf("analysis type %d\n", type);
      for (const Variant& v : variants) {
        std::unique_ptr<veg::FileSystem> files =
            v.fromFiles ? nvceval::directoryFiles(dir)
                        : nvceval::memoryFiles(nvcdata::convert(sources, v.options), sources);
        std::unique_ptr<engine::Tables> tables = nvceval::loadTables(*files);
        print(v.name, nvceval::tally(*tables, samples, type));
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nvceval: %s\n", e.what());
    return 1;
  }
  return 0;
}
