#include "vegfit/insight.h"

#include <algorithm>
#include <cmath>

#include "engine/species_index.h"

namespace vegfit {

namespace {

TablePlace placeOfClass(const engine::Tables& tables, int class_code) {
  const std::size_t m = static_cast<std::size_t>(class_code);
  return {tables.conversion.class_constancy[m], 0, (class_code - 1) % 10 + 1};
}

}  // namespace

SampleIndicators sampleIndicators(const engine::Sample& sample, const Attributes& attributes) {
  SampleIndicators out;
  // Values and covers are whole numbers: the sums are exact.
  std::array<long, kIndicators> sum{}, weighted_sum{}, weight{}, count{};
  for (int i = 1; i <= sample.sample_size; ++i) {
    const int number = sample.sample_species[static_cast<std::size_t>(i)];
    if (number > engine::kNewNumberBase) continue;
    const IndicatorValues& values = attributes.indicators(number);
    const long cover = sample.sample_cover[static_cast<std::size_t>(i)];
    bool any = false;
    for (std::size_t v = 0; v < kIndicators; ++v) {
      if (values[v] < 0) continue;
      any = true;
      sum[v] += values[v];
      ++count[v];
      weighted_sum[v] += cover * values[v];
      weight[v] += cover;
    }
    if (any) ++out.species;
  }
  for (std::size_t v = 0; v < kIndicators; ++v) {
    if (count[v] > 0) out.mean[v] = static_cast<double>(sum[v]) / static_cast<double>(count[v]);
    if (weight[v] > 0)
      out.weighted[v] = static_cast<double>(weighted_sum[v]) / static_cast<double>(weight[v]);
  }
  return out;
}

TablePlace tablePlace(const engine::Tables& tables, const Attributes& attributes, int k,
                      int species_number) {
  if (attributes.hasTables()) {
    const TableEntry* e = attributes.entry(k, species_number);
    if (e == nullptr) return {};
    return {e->constancy, e->min_domin, e->max_domin};
  }
  const int j = engine::entryOfSpecies(tables, species_number);
  if (j == 0) return {};
  const int last = tables.entry_ranges.last_entry[static_cast<std::size_t>(j)];
  for (int e = tables.entry_ranges.first_entry[static_cast<std::size_t>(j)]; last != 0 && e <= last;
       ++e) {
    if (tables.entries.entry_community[static_cast<std::size_t>(e)] == k)
      return placeOfClass(tables, tables.entries.entry_class[static_cast<std::size_t>(e)]);
  }
  return {};
}

std::vector<std::pair<int, TablePlace>> tableSpecies(const engine::Tables& tables,
                                                     const Attributes& attributes, int k) {
  std::vector<std::pair<int, TablePlace>> out;
  if (attributes.hasTables()) {
    auto [begin, end] = attributes.table(k);
    for (const TableEntry* e = begin; e != end; ++e)
      out.push_back({e->species_number, {e->constancy, e->min_domin, e->max_domin}});
    return out;
  }
  engine::forEachSpecies(tables, [&](int p, int j) {
    const int last = tables.entry_ranges.last_entry[static_cast<std::size_t>(j)];
    for (int e = tables.entry_ranges.first_entry[static_cast<std::size_t>(j)];
         last != 0 && e <= last; ++e) {
      if (tables.entries.entry_community[static_cast<std::size_t>(e)] == k)
        out.push_back({p, placeOfClass(tables, tables.entries.entry_class[static_cast<std::size_t>(e)])});
    }
  });
  return out;
}

std::vector<StandTableLine> standTable(const std::vector<int>& numbers,
                                       const std::vector<std::string>& names,
                                       const std::vector<StandCover>& covers, int quadrats,
                                       const engine::Tables& tables, const Attributes& attributes,
                                       int k, const std::function<std::string(int)>& name_of) {
  std::vector<StandTableLine> lines;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    StandTableLine line;
    line.species_number = numbers[i];
    line.name = names[i];
    line.stand = covers[i];
    line.stand_constancy = constancyClass(covers[i].quadrats, quadrats);
    if (k != 0 && numbers[i] != 0) line.unit = tablePlace(tables, attributes, k, numbers[i]);
    lines.push_back(std::move(line));
  }
  if (k != 0) {
    for (const auto& [number, place] : tableSpecies(tables, attributes, k)) {
      if (std::find(numbers.begin(), numbers.end(), number) != numbers.end()) continue;
      StandTableLine line;
      line.species_number = number;
      line.name = name_of(number);
      line.unit = place;
      lines.push_back(std::move(line));
    }
  }
  std::stable_sort(lines.begin(), lines.end(), [](const StandTableLine& a, const StandTableLine& b) {
    if (a.unit.constancy != b.unit.constancy) return a.unit.constancy > b.unit.constancy;
    if (a.stand_constancy != b.stand_constancy) return a.stand_constancy > b.stand_constancy;
    return a.name < b.name;
  });
  return lines;
}

}  // namespace vegfit
