#include "vegfit/report_model.h"

#include <cmath>
#include <map>

namespace vegfit::report {

namespace {

constexpr std::array<char, 5> kLetters = {'F', 'L', 'N', 'R', 'S'};

}  // namespace

std::string text(const json& j, const char* key) {
  const auto it = j.find(key);
  return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::optional<int> whole(const json& j, const char* key) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_number()) return std::nullopt;
  return static_cast<int>(std::lround(it->get<double>()));
}

std::optional<double> number(const json& j, const char* key) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_number()) return std::nullopt;
  return it->get<double>();
}

const json& member(const json& j, const char* key) {
  static const json kNull;
  const auto it = j.find(key);
  return it != j.end() ? *it : kNull;
}

// A Domin range: "5-8", "up to 8", or empty where neither end is known
// (a cover held as 0 %).
std::string dominRange(const json& j) {
  const std::optional<int> low = whole(j, "min_domin"), high = whole(j, "max_domin");
  if (low && high) return std::to_string(*low) + "-" + std::to_string(*high);
  if (high) return "up to " + std::to_string(*high);
  return {};
}

// A species' place in a table: "V 5-8", "V up to 8", "V".
std::string place(const json& j) {
  std::string out = text(j, "constancy");
  if (out.empty()) return out;
  const std::optional<int> low = whole(j, "min_domin"), high = whole(j, "max_domin");
  if (low && high) return out + ' ' + std::to_string(*low) + '-' + std::to_string(*high);
  if (high) return out + " up to " + std::to_string(*high);
  return out;
}

namespace {

std::vector<Habitat> habitats(const json& row, const char* key) {
  std::vector<Habitat> out;
  const json& list = member(member(row, "habitats"), key);
  if (!list.is_array()) return out;
  for (const json& h : list) out.push_back({text(h, "code"), text(h, "name")});
  return out;
}

Ranked rankedOf(const json& row) {
  Ranked r;
  r.rank = whole(row, "rank").value_or(0);
  r.code = text(row, "nvc_code");
  r.name = text(row, "full_name");
  if (r.name.empty()) r.name = text(row, "community");
  r.fit = whole(row, "fit").value_or(0);
  r.grade = text(row, "grade");
  const char* keys[] = {"community_composition_fit", "sample_composition_fit",
                        "community_cover_fit", "sample_cover_fit"};
  for (std::size_t c = 0; c < 4; ++c) r.coefficients[c] = whole(row, keys[c]).value_or(0);
  r.annex_i = habitats(row, "annex_i");
  r.priority = habitats(row, "priority_habitat");
  const json& richness = member(row, "richness");
  r.plots = whole(richness, "unit_plots");
  r.min_species = whole(richness, "unit_min");
  r.mean_species = whole(richness, "unit_mean");
  r.max_species = whole(richness, "unit_max");
  const json& indicators = member(row, "indicators");
  for (std::size_t v = 0; v < kLetters.size(); ++v) {
    const json& one = member(indicators, std::string(1, kLetters[v]).c_str());
    const std::optional<double> mean = number(one, "unit_mean"), sd = number(one, "unit_sd");
    if (mean && sd) r.indicators[v] = IndicatorRange{*mean, *sd};
  }
  const json& account = member(row, "species_account");
  if (account.is_array())
    for (const json& a : account) r.places.push_back(place(a));
  const json& missing = member(row, "missing_constants");
  if (missing.is_array())
    for (const json& m : missing) r.missing.emplace_back(text(m, "species"), place(m));
  return r;
}

}  // namespace

std::vector<Sample> samplesOf(const json& rows, const json& stands) {
  std::vector<Sample> samples;
  if (!rows.is_array()) return samples;
  for (const json& row : rows) {
    const std::optional<int> rank = whole(row, "rank");
    const std::string file = text(row, "file"), name = text(row, "sample");
    const bool next = samples.empty() || !rank || *rank == 1 || samples.back().name != name ||
                      samples.back().file != file || samples.back().ranked.empty();
    if (next) {
      Sample& s = samples.emplace_back();
      s.file = file;
      s.name = name;
      s.status = text(row, "status");
      s.species = whole(row, "species").value_or(0);
      s.unmatched = whole(row, "unmatched").value_or(0);
      const json& indicators = member(row, "indicators");
      s.indicator_species = whole(indicators, "species").value_or(0);
      for (std::size_t v = 0; v < kLetters.size(); ++v) {
        const json& one = member(indicators, std::string(1, kLetters[v]).c_str());
        s.mean[v] = number(one, "sample");
        s.weighted[v] = number(one, "sample_weighted");
      }
      const json& account = member(row, "species_account");
      if (account.is_array())
        for (const json& a : account)
          s.covers.emplace_back(text(a, "species"), whole(a, "cover").value_or(0));
    }
    if (rank) samples.back().ranked.push_back(rankedOf(row));
  }
  if (!stands.is_array()) return samples;
  std::map<std::pair<std::string, std::string>, const json*> by_name;
  for (const json& stand : stands) by_name[{text(stand, "file"), text(stand, "sample")}] = &stand;
  for (Sample& s : samples) {
    const auto it = by_name.find({s.file, s.name});
    if (it != by_name.end()) s.stand = it->second;
  }
  return samples;
}

}  // namespace vegfit::report
