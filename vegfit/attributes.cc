#include "vegfit/attributes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <memory>

#include "common/csv.h"

namespace vegfit {

namespace {

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.remove_suffix(1);
  return std::string(text);
}

std::string withoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

// The cells of one table as read: rows by column names, each fault named
// by the file, the line (the header is line 1) and the value.
class Cells {
 public:
  Cells(const veg::CsvTable& table, const char* file) : table_(table), file_(file) {}

  bool column(const char* name, std::size_t& index, std::string& error) const {
    try {
      index = table_.column(name);
      return true;
    } catch (const veg::SourceError&) {
      error = std::string(file_) + ": the header row lacks the column " + name;
      return false;
    }
  }

  // The index of each named column, in turn; false at the first missing.
  bool columns(std::initializer_list<std::pair<const char*, std::size_t*>> wanted,
               std::string& error) const {
    for (const auto& [name, index] : wanted) {
      if (!column(name, *index, error)) return false;
    }
    return true;
  }

  // A whole number in [low, high]; an empty cell is none when `may_be_empty`.
  bool whole(std::size_t row, std::size_t column, const char* name, int low, int high,
             std::optional<int>& value, std::string& error, bool may_be_empty = true) const {
    const std::string& cell = table_.rows()[row][column];
    value.reset();
    if (cell.empty() && may_be_empty) return true;
    int number = 0;
    auto [end, fault] = std::from_chars(cell.data(), cell.data() + cell.size(), number);
    if (fault != std::errc() || end != cell.data() + cell.size() || number < low || number > high)
      return fail(row, cell, name, "a whole number from " + std::to_string(low) + " to " +
                                       std::to_string(high),
                  error);
    value = number;
    return true;
  }

  // A number of at least 0; an empty cell is none.
  bool decimal(std::size_t row, std::size_t column, const char* name, std::optional<double>& value,
               std::string& error) const {
    const std::string& cell = table_.rows()[row][column];
    value.reset();
    if (cell.empty()) return true;
    double number = 0;
    auto [end, fault] = std::from_chars(cell.data(), cell.data() + cell.size(), number);
    if (fault != std::errc() || end != cell.data() + cell.size() || !(number >= 0) ||
        !std::isfinite(number))
      return fail(row, cell, name, "a number of at least 0", error);
    value = number;
    return true;
  }

  bool fail(std::size_t row, const std::string& cell, const char* name, const std::string& accepted,
            std::string& error) const {
    error = std::string(file_) + " line " + std::to_string(row + 2) + ": " + name + " '" + cell +
            "' is not " + accepted;
    return false;
  }

  const std::string& cell(std::size_t row, std::size_t column) const {
    return table_.rows()[row][column];
  }
  std::size_t rows() const { return table_.rows().size(); }
  const char* file() const { return file_; }

 private:
  const veg::CsvTable& table_;
  const char* file_;
};

// Reads `name` whole; false when it does not exist.
bool readWhole(veg::FileSystem& files, const char* name, std::string& text) {
  auto file = files.openExisting(name);
  if (!file) return false;
  text.clear();
  file->readRest(text);
  return true;
}

// Parses a table, turning the parser's exception into `error`.
std::unique_ptr<veg::CsvTable> parseTable(const std::string& text, const char* file,
                                          std::string& error) {
  try {
    return std::make_unique<veg::CsvTable>(veg::CsvTable::parse(text, file));
  } catch (const veg::SourceError& e) {
    error = e.what();
    return nullptr;
  }
}

}  // namespace

int constancyClass(int holding, int quadrats) {
  if (holding <= 0 || quadrats <= 0) return 0;
  // The smallest class whose upper bound (20 % per class) holds the share.
  const int c = (holding * 5 + quadrats - 1) / quadrats;
  return std::clamp(c, 1, 5);
}

std::string_view constancyNumeral(int constancy) {
  static constexpr std::array<std::string_view, 6> kNumerals = {"", "I", "II", "III", "IV", "V"};
  return constancy >= 1 && constancy <= 5 ? kNumerals[static_cast<std::size_t>(constancy)] : "";
}

int dominOf(double percent) {
  if (!(percent > 0)) return 0;
  static constexpr std::array<double, 7> kAbove = {90, 75, 50, 33, 25, 10};
  for (std::size_t i = 0; i < 6; ++i)
    if (percent > kAbove[i]) return 10 - static_cast<int>(i);
  if (percent >= 4) return 4;
  if (percent >= 1) return 3;
  return 1;
}

int Attributes::community(std::string_view nvc_code) const {
  auto found = by_code_.find(nvc_code);
  return found == by_code_.end() ? 0 : found->second;
}

const IndicatorValues& Attributes::indicators(int species_number) const {
  static constexpr IndicatorValues kNone = {-1, -1, -1, -1, -1};
  if (species_number < 0 || static_cast<std::size_t>(species_number) >= indicators_.size())
    return kNone;
  return indicators_[static_cast<std::size_t>(species_number)];
}

std::pair<const TableEntry*, const TableEntry*> Attributes::table(int k) const {
  if (table_first_.empty() || k < 1 || static_cast<std::size_t>(k) + 1 >= table_first_.size())
    return {nullptr, nullptr};
  const TableEntry* base = entries_.data();
  return {base + table_first_[static_cast<std::size_t>(k)],
          base + table_first_[static_cast<std::size_t>(k) + 1]};
}

const TableEntry* Attributes::entry(int k, int species_number) const {
  auto [begin, end] = table(k);
  const TableEntry* e = std::lower_bound(
      begin, end, species_number,
      [](const TableEntry& t, int number) { return t.species_number < number; });
  return e != end && e->species_number == species_number ? e : nullptr;
}

bool Attributes::load(veg::FileSystem& files, const engine::Tables& tables,
                      std::vector<std::string>& missing, std::string& error) {
  const int n = tables.n_communities;
  units_.assign(static_cast<std::size_t>(n) + 1, UnitInfo{});
  by_code_.clear();
  for (int k = 1; k <= n; ++k) {
    std::string& code = units_[static_cast<std::size_t>(k)].nvc_code;
    code = withoutBlanks(tables.cross_reference.nvc_code[static_cast<std::size_t>(k)]);
    by_code_.emplace(code, k);
  }
  indicators_.clear();
  entries_.clear();
  table_first_.clear();
  version_.clear();
  habitats_by_code_.clear();
  missing.clear();
  std::string text;
  try {
    if (readWhole(files, kVersionFile, text)) {
      version_ = trimmed(text.substr(0, text.find('\n')));
    } else {
      missing.emplace_back(kVersionFile);
    }
    struct Part {
      const char* file;
      bool (Attributes::*load)(const std::string&, std::string&);
    };
    if (!readWhole(files, kUnitsFile, text)) {
      missing.emplace_back(kUnitsFile);
    } else if (!loadUnits(text, tables, error)) {
      return false;
    }
    for (const Part& part : {Part{kHabitatsFile, &Attributes::loadHabitats},
                             Part{kIndicatorsFile, &Attributes::loadIndicators},
                             Part{kFloristicFile, &Attributes::loadTables}}) {
      if (!readWhole(files, part.file, text)) {
        missing.emplace_back(part.file);
      } else if (!(this->*part.load)(text, error)) {
        return false;
      }
    }
  } catch (const veg::FileError& e) {
    error = e.name + ": cannot be read: " + e.reason;
    return false;
  }
  // A subcommunity without habitat rows of its own takes its community's
  // (the code without its letter), whether or not that has a table.
  for (int k = 1; k <= n; ++k) {
    UnitInfo& unit = units_[static_cast<std::size_t>(k)];
    std::string of = unit.nvc_code;
    auto rows = habitats_by_code_.find(of);
    const std::size_t letter = of.find_first_of("abcdefghijklmnopqrstuvwxyz");
    if (rows == habitats_by_code_.end() && letter != std::string::npos) {
      of = of.substr(0, letter);
      rows = habitats_by_code_.find(of);
    }
    if (rows == habitats_by_code_.end()) continue;
    unit.habitats_of = of;
    unit.habitats = rows->second;
  }
  habitats_by_code_.clear();
  return true;
}

bool Attributes::loadUnits(const std::string& text, const engine::Tables& tables,
                           std::string& error) {
  auto table = parseTable(text, kUnitsFile, error);
  if (!table) return false;
  Cells cells(*table, kUnitsFile);
  std::size_t number, code, community, subcommunity, full, eunis_code, eunis_name, relationship,
      plots, min_species, mean_species, max_species;
  std::array<std::size_t, kIndicators> means{}, sds{};
  if (!cells.columns({{"number", &number},
                      {"nvc_code", &code},
                      {"community", &community},
                      {"subcommunity", &subcommunity},
                      {"fullname", &full},
                      {"eunis_code", &eunis_code},
                      {"eunis_name", &eunis_name},
                      {"eunis_relationship", &relationship},
                      {"num_samples", &plots},
                      {"min_species", &min_species},
                      {"mean_species", &mean_species},
                      {"max_species", &max_species}},
                     error))
    return false;
  for (int i = 0; i < kIndicators; ++i) {
    const std::string letter(1, kIndicatorLetters[static_cast<std::size_t>(i)]);
    if (!cells.column((letter + "_mean").c_str(), means[static_cast<std::size_t>(i)], error) ||
        !cells.column((letter + "_sd").c_str(), sds[static_cast<std::size_t>(i)], error))
      return false;
  }
  const int n = tables.n_communities;
  for (std::size_t r = 0; r < cells.rows(); ++r) {
    std::optional<int> k;
    if (!cells.whole(r, number, "number", 1, n, k, error, false)) return false;
    UnitInfo& unit = units_[static_cast<std::size_t>(*k)];
    if (cells.cell(r, code) != unit.nvc_code)
      return cells.fail(r, cells.cell(r, code), "nvc_code",
                        "the code of community " + std::to_string(*k) + " in NVCTYPES.txt, " +
                            unit.nvc_code,
                        error);
    unit.community_name = cells.cell(r, community);
    unit.subcommunity_name = cells.cell(r, subcommunity);
    unit.full_name = cells.cell(r, full);
    unit.eunis_code = cells.cell(r, eunis_code);
    unit.eunis_name = cells.cell(r, eunis_name);
    unit.eunis_relationship = cells.cell(r, relationship);
    constexpr int kMost = 1000000;
    if (!cells.whole(r, plots, "num_samples", 0, kMost, unit.plots, error) ||
        !cells.whole(r, min_species, "min_species", 0, kMost, unit.min_species, error) ||
        !cells.whole(r, mean_species, "mean_species", 0, kMost, unit.mean_species, error) ||
        !cells.whole(r, max_species, "max_species", 0, kMost, unit.max_species, error))
      return false;
    for (std::size_t i = 0; i < kIndicators; ++i) {
      const std::string letter(1, kIndicatorLetters[i]);
      std::optional<double> mean, sd;
      if (!cells.decimal(r, means[i], (letter + "_mean").c_str(), mean, error) ||
          !cells.decimal(r, sds[i], (letter + "_sd").c_str(), sd, error))
        return false;
      if (mean) unit.indicators[i] = UnitIndicator{*mean, sd ? *sd : 0};
    }
  }
  return true;
}

bool Attributes::loadHabitats(const std::string& text, std::string& error) {
  auto table = parseTable(text, kHabitatsFile, error);
  if (!table) return false;
  Cells cells(*table, kHabitatsFile);
  std::size_t code, classification, habitat_code, habitat_name, relationship;
  if (!cells.columns({{"nvc_code", &code},
                      {"classification", &classification},
                      {"habitat_code", &habitat_code},
                      {"habitat_name", &habitat_name},
                      {"relationship", &relationship}},
                     error))
    return false;
  for (std::size_t r = 0; r < cells.rows(); ++r) {
    const std::string& name = cells.cell(r, classification);
    int c = 0;
    while (c < kClassifications && kClassificationNames[static_cast<std::size_t>(c)].source != name)
      ++c;
    if (c == kClassifications)
      return cells.fail(r, name, "classification",
                        "Annex I, BAP Priority, BAP Broad, Phase 1, EUNIS, NPMS Broad or NPMS Fine",
                        error);
    habitats_by_code_[cells.cell(r, code)].push_back(
        {static_cast<Classification>(c), cells.cell(r, habitat_code), cells.cell(r, habitat_name),
         cells.cell(r, relationship)});
  }
  return true;
}

bool Attributes::loadIndicators(const std::string& text, std::string& error) {
  auto table = parseTable(text, kIndicatorsFile, error);
  if (!table) return false;
  Cells cells(*table, kIndicatorsFile);
  std::size_t number;
  std::array<std::size_t, kIndicators> columns{};
  if (!cells.column("species_number", number, error)) return false;
  for (std::size_t i = 0; i < kIndicators; ++i)
    if (!cells.column(std::string(1, kIndicatorLetters[i]).c_str(), columns[i], error))
      return false;
  indicators_.assign(static_cast<std::size_t>(engine::kNewNumberBase) + 1,
                     IndicatorValues{-1, -1, -1, -1, -1});
  for (std::size_t r = 0; r < cells.rows(); ++r) {
    std::optional<int> p;
    if (!cells.whole(r, number, "species_number", 1, engine::kNewNumberBase, p, error, false))
      return false;
    IndicatorValues& values = indicators_[static_cast<std::size_t>(*p)];
    for (std::size_t i = 0; i < kIndicators; ++i) {
      std::optional<int> v;
      const std::string letter(1, kIndicatorLetters[i]);
      if (!cells.whole(r, columns[i], letter.c_str(), 0, 12, v, error)) return false;
      values[i] = v ? static_cast<signed char>(*v) : static_cast<signed char>(-1);
    }
  }
  return true;
}

bool Attributes::loadTables(const std::string& text, std::string& error) {
  auto table = parseTable(text, kFloristicFile, error);
  if (!table) return false;
  Cells cells(*table, kFloristicFile);
  std::size_t code, number, constancy, min_domin, max_domin;
  if (!cells.columns({{"nvc_code", &code},
                      {"species_number", &number},
                      {"constancy", &constancy},
                      {"min_domin", &min_domin},
                      {"max_domin", &max_domin}},
                     error))
    return false;
  std::vector<std::pair<int, TableEntry>> read;
  read.reserve(cells.rows());
  for (std::size_t r = 0; r < cells.rows(); ++r) {
    const int k = community(cells.cell(r, code));
    if (k == 0)
      return cells.fail(r, cells.cell(r, code), "nvc_code", "the code of a community in NVCTYPES.txt",
                        error);
    std::optional<int> p, c, low, high;
    if (!cells.whole(r, number, "species_number", 1, engine::kNewNumberBase, p, error, false) ||
        !cells.whole(r, constancy, "constancy", 1, 5, c, error, false) ||
        !cells.whole(r, min_domin, "min_domin", 1, 10, low, error, false) ||
        !cells.whole(r, max_domin, "max_domin", *low, 10, high, error, false))
      return false;
    read.emplace_back(k, TableEntry{static_cast<short>(*p), static_cast<signed char>(*c),
                                    static_cast<signed char>(*low), static_cast<signed char>(*high)});
  }
  std::stable_sort(read.begin(), read.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first
                              : a.second.species_number < b.second.species_number;
  });
  const std::size_t n = units_.size() - 1;
  table_first_.assign(n + 2, 0);
  entries_.clear();
  entries_.reserve(read.size());
  std::size_t next = 0;
  for (std::size_t k = 1; k <= n + 1; ++k) {
    table_first_[k] = entries_.size();
    while (next < read.size() && static_cast<std::size_t>(read[next].first) == k) {
      if (!entries_.empty() && table_first_[k] < entries_.size() &&
          entries_.back().species_number == read[next].second.species_number) {
        error = std::string(kFloristicFile) + ": species " +
                std::to_string(read[next].second.species_number) + " stands twice in " +
                units_[k].nvc_code;
        return false;
      }
      entries_.push_back(read[next++].second);
    }
  }
  return true;
}

}  // namespace vegfit
