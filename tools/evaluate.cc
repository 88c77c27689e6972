#include "tools/evaluate.h"

#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

#include "common/console.h"
#include "engine/ranking.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "tools/nvcwrite.h"

namespace nvceval {

namespace {

// Collects the loaders' screen lines; the keyboard is at its end at once,
// so the end-of-program notice stops the run.
class QuietConsole : public veg::Console {
 public:
  bool readLine(std::string&) override { return false; }
  void writeLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

class LinesFile : public veg::TextFile {
 public:
  explicit LinesFile(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  bool readLine(std::string& line) override {
    if (next_ >= lines_.size()) return false;
    line = lines_[next_++];
    return true;
  }
  void writeLine(std::string_view) override {}
  void rewind() override { next_ = 0; }
  void flush() override {}

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

class MemoryFiles : public veg::FileSystem {
 public:
  void put(const std::string& name, const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    files_[name] = lines;
  }
  std::unique_ptr<veg::TextFile> openExisting(const std::string& name) override {
    auto it = files_.find(name);
    if (it == files_.end()) return nullptr;
    return std::make_unique<LinesFile>(it->second);
  }
  std::unique_ptr<veg::TextFile> createNew(const std::string&) override { return nullptr; }

 private:
  std::map<std::string, std::vector<std::string>> files_;
};

class DirectoryFiles : public veg::FileSystem {
 public:
  explicit DirectoryFiles(std::string dir) : dir_(std::move(dir)) {}
  std::unique_ptr<veg::TextFile> openExisting(const std::string& name) override {
    return real_.openExisting(dir_ + "/" + name);
  }
  std::unique_ptr<veg::TextFile> createNew(const std::string&) override { return nullptr; }

 private:
  std::string dir_;
  veg::RealFileSystem real_;
};

}  // namespace

int dominPercent(int d) {
  static const int kPercent[11] = {0, 0, 1, 4, 9, 16, 26, 39, 55, 75, 99};
  return d >= 1 && d <= 10 ? kPercent[d] : 0;
}

std::vector<PseudoSample> drawSamples(const nvcdata::Sources& sources,
                                      const nvcdata::ReferenceData& data, int per_unit,
                                      std::uint32_t seed) {
  static const unsigned kPresence[6] = {0, 10, 30, 50, 70, 90};  // percent, by constancy class
  std::map<std::string, int> speciesNumber;
  for (const nvcdata::Species& s : data.species) speciesNumber[s.name] = s.number;
  std::map<std::string, int> unitNumber;
  for (std::size_t k = 0; k < data.communities.size(); ++k)
    unitNumber[data.communities[k].code_text] = static_cast<int>(k + 1);

  struct Row {
    int species, constancy, low, high;
  };
  const nvcdata::CsvTable& ft = sources.floristic;
  std::size_t code = ft.column("nvc_code"), taxon = ft.column("taxon"),
              constancy = ft.column("constancy"), low = ft.column("min_domin"),
              high = ft.column("max_domin");
  std::vector<std::vector<Row>> rows(data.communities.size() + 1);
  for (const auto& row : ft.rows()) {
    int lo = std::stoi(row[low]), hi = std::stoi(row[high]);
    if (lo > hi) std::swap(lo, hi);
    rows.at(unitNumber.at(row[code]))
        .push_back(
            {speciesNumber.at(nvcdata::speciesOf(row[taxon])), std::stoi(row[constancy]), lo, hi});
  }

  std::mt19937 rng(seed);
  std::vector<PseudoSample> samples;
  for (std::size_t unit = 1; unit < rows.size(); ++unit) {
    for (int n = 0; n < per_unit; ++n) {
      PseudoSample sample;
      sample.unit = static_cast<int>(unit);
      // every unit has a row, so a draw holds a species sooner or later
      while (sample.species.empty()) {
        for (const Row& r : rows[unit]) {
          if (rng() % 100 >= kPresence[r.constancy]) continue;
          int d = r.low + static_cast<int>(rng() % static_cast<unsigned>(r.high - r.low + 1));
          int percent = dominPercent(d);
          bool merged = false;
          for (auto& [species, cover] : sample.species) {
            if (species != r.species) continue;
            cover = std::min(100, cover + percent);
            merged = true;
          }
          if (!merged) sample.species.emplace_back(r.species, percent);
        }
      }
      samples.push_back(sample);
    }
  }
  return samples;
}

std::vector<int> parents(const engine::Tables& tables) {
  std::map<std::string, int> byCode;
  for (int k = 1; k <= tables.n_communities; ++k) byCode[tables.cross_reference.nvc_code[k]] = k;
  std::vector<int> parent(tables.n_communities + 1, 0);
  for (int k = 1; k <= tables.n_communities; ++k) {
    std::string community = tables.cross_reference.nvc_code[k].substr(0, 4) + "  ";
    auto it = byCode.find(community);
    parent[k] = it == byCode.end() ? k : it->second;
  }
  return parent;
}

Tally tally(engine::Tables& tables, const std::vector<PseudoSample>& samples, int analysis_type) {
  std::vector<int> parent = parents(tables);
  Tally t;
  auto sample = std::make_unique<engine::Sample>();
  std::array<short, engine::kMaxOutput + 1> top{};
  std::array<float, engine::kMaxOutput + 1> topScore{};
  for (const PseudoSample& p : samples) {
    sample->sample_size = 0;
    sample->max_frequency = 0;
    for (const auto& [species, cover] : p.species) {
      if (sample->sample_size == engine::kMaxSampleEntries) break;
      int i = ++sample->sample_size;
      sample->sample_species[i] = static_cast<short>(species);
      sample->sample_frequency[i] = 1;
      sample->sample_cover[i] = static_cast<short>(cover);
    }
    engine::scoreCommunities(*sample, analysis_type, tables);
    engine::rankBest(tables.scores.fit_score, tables.n_communities, top, topScore, 5);
    ++t.samples;
    // a community that fits nothing is reported without its code
    const float kReported = 0.0001f;
    bool unit = false, community = false;
    for (int r = 1; r <= 5 && topScore[r] >= kReported; ++r) {
      if (r == 1) {
        t.unit_first += top[1] == p.unit;
        t.community_first += parent[top[1]] == parent[p.unit];
      }
      unit = unit || top[r] == p.unit;
      community = community || parent[top[r]] == parent[p.unit];
    }
    t.unit_top5 += unit;
    t.community_top5 += community;
  }
  return t;
}

std::unique_ptr<engine::Tables> loadTables(veg::FileSystem& fs) {
  auto tables = std::make_unique<engine::Tables>();
  QuietConsole console;
  try {
    engine::loadSpeciesDictionary(console, fs, *tables);
    engine::loadAssociationTables(console, fs, 10000, *tables);
    engine::loadCrossReference(console, fs, *tables);
  } catch (const veg::StopRun&) {
    std::string message = "loading stopped:";
    for (const std::string& line : console.lines)
      if (!line.empty()) message += "\n" + line;
    throw std::runtime_error(message);
  }
  engine::prepareTables(*tables);
  return tables;
}

std::unique_ptr<veg::FileSystem> memoryFiles(const nvcdata::ReferenceData& data,
                                             const nvcdata::Sources& sources) {
  auto files = std::make_unique<MemoryFiles>();
  files->put("SPECDICT.txt", nvcdata::formatSpecdict(data));
  files->put("ASSOCTAB.txt", nvcdata::formatAssoctab(data));
  nvcdata::Abbreviator abbreviator(nvcdata::genera(sources));
  files->put("NVCTYPES.txt", nvcdata::formatNvctypes(nvcdata::nvcRecords(data, abbreviator)));
  return files;
}

std::unique_ptr<veg::FileSystem> directoryFiles(const std::string& dir) {
  return std::make_unique<DirectoryFiles>(dir);
}

}  // namespace nvceval
