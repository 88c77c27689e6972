// Scoring cost per sample against tables the size of the shipped ones:
// 856 communities, 45 858 table entries and 1 563 species; and the loading
// of the shipped reference files.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "common/console.h"
#include "common/files.h"
#include "engine/ranking.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "engine/tables.h"

namespace engine {
namespace {

constexpr int kCommunities = 856;
constexpr int kSpecies = 1563;
constexpr int kEntries = 45858;
constexpr int kSampleSpecies = 25;

std::unique_ptr<Tables> syntheticTables() {
  auto tables = std::make_unique<Tables>();
  std::mt19937 random(12345);
  Dictionary& dict = tables->dictionary;
  dict.species_name[1] = "NEW NAME ";
  dict.species_name[2] = "DELETE   ";
  int e = 0;
  for (int s = 1; s <= kSpecies; ++s) {
    int j = s + 2;
    dict.species_number[j] = dict.sorted_species_number[j] = static_cast<short>(s);
    dict.sorted_entry[j] = static_cast<short>(j);
    // Spread the entries unevenly, as real tables do: common species occur
    // in hundreds of communities, most in a handful.
    int count = kEntries / kSpecies;
    if (s % 10 == 0) count *= 3;
    if (s % 10 == 5) count /= 3;
    count = std::min(count, kEntries - e);
    tables->entry_ranges.first_entry[j] = e + 1;
    for (int i = 0; i < count; ++i) {
      ++e;
      tables->entries.entry_community[e] = static_cast<short>(random() % kCommunities + 1);
      tables->entries.entry_class[e] = static_cast<short>(random() % kClassCodes + 1);
    }
    tables->entry_ranges.last_entry[j] = count > 0 ? e : 0;
  }
  tables->dict_size = tables->name_count = kSpecies + 2;
  tables->n_communities = kCommunities;
  for (int k = 1; k <= kCommunities; ++k)
    tables->cross_reference.nvc_code[k] = k == 700 ? kFirstWoodlandCode : " X 1  ";
  prepareTables(*tables);
  return tables;
}

std::vector<Sample> syntheticSamples(int count) {
  std::mt19937 random(678);
  std::vector<Sample> samples(count);
  for (Sample& s : samples) {
    s.sample_size = kSampleSpecies;
    for (int i = 1; i <= kSampleSpecies; ++i) {
      s.sample_species[i] = static_cast<short>(random() % kSpecies + 1);
      s.sample_cover[i] = static_cast<short>(random() % 101);
      s.sample_frequency[i] = 1;
    }
  }
  return samples;
}

void BM_ScoreAndRankSample(benchmark::State& state) {
  auto tables = syntheticTables();
  std::vector<Sample> samples = syntheticSamples(64);
  std::array<short, kMaxOutput + 1> top_community{};
  std::array<float, kMaxOutput + 1> top_score{};
  std::size_t next = 0;
  for (auto _ : state) {
    const Sample& sample = samples[next++ % samples.size()];
    scoreCommunities(sample, static_cast<int>(state.range(0)), *tables);
    rankBest(tables->scores.fit_score, tables->n_communities, top_community, top_score, 5);
    benchmark::DoNotOptimize(top_score[1]);
  }
}
BENCHMARK(BM_ScoreAndRankSample)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_StartUpPreparation(benchmark::State& state) {
  auto tables = syntheticTables();
  for (auto _ : state) {
    prepareTables(*tables);
    benchmark::DoNotOptimize(tables->norms.mean_constancy[1]);
  }
}
BENCHMARK(BM_StartUpPreparation)->Unit(benchmark::kMicrosecond);

// The shipped reference files, from the source tree's data/.
class DataFiles : public veg::FileSystem {
 public:
  std::unique_ptr<veg::TextFile> openExisting(const std::string& name) override {
    return real_.openExisting(std::string(VEG_DATA_DIR) + "/" + name);
  }
  std::unique_ptr<veg::TextFile> createNew(const std::string& /*name*/) override { return nullptr; }

 private:
  veg::RealFileSystem real_;
};

class Silent : public veg::Console {
 public:
  bool readLine(std::string& /*line*/) override { return false; }
  void writeLine(std::string_view /*line*/) override {}
};

// The three loaders and the preparation, as a run starts, into tables
// kept from one iteration to the next (a run's own are new).
void BM_LoadShippedFiles(benchmark::State& state) {
  DataFiles files;
  Silent console;
  auto tables = std::make_unique<Tables>();
  for (auto _ : state) {
    loadSpeciesDictionary(console, files, *tables);
    loadAssociationTables(console, files, 10000, *tables);
    loadCrossReference(console, files, *tables);
    prepareTables(*tables);
    benchmark::DoNotOptimize(tables->norms.mean_constancy[1]);
  }
}
BENCHMARK(BM_LoadShippedFiles)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace engine

BENCHMARK_MAIN();
