#include "tools/csvfiles.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <tuple>

namespace nvcdata {

namespace {

constexpr const char* kIndicators[] = {"F", "L", "N", "R", "S"};

// One CSV line of `fields`.
std::string csvLine(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    veg::appendCsvField(out, fields[i]);
  }
  return out + '\n';
}

// The rows of `table` by unit code; a unit given twice is refused.
std::map<std::string, const std::vector<std::string>*> byUnit(const CsvTable& table) {
  std::map<std::string, const std::vector<std::string>*> out;
  for (const auto& row : table.rows())
    if (!out.emplace(row[table.column("nvc_code")], &row).second)
      throw SourceError(table.name() + ": unit " + row[table.column("nvc_code")] + " given twice");
  return out;
}

int wholeNumber(const std::string& text, int low, int high, const std::string& where) {
  if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
      }))
    throw SourceError(where + ": not a whole number: '" + text + "'");
  int value = std::stoi(text);
  if (value < low || value > high)
    throw SourceError(where + ": " + text + " outside " + std::to_string(low) + ".." +
                      std::to_string(high));
  return value;
}

}  // namespace

Attributes Attributes::read(const std::string& dir) {
  return Attributes{CsvTable::read(dir + "/taxon_indicator_values.csv"),
                    CsvTable::read(dir + "/unit_indicator_values.csv"),
                    CsvTable::read(dir + "/habitat_correspondences.csv"),
                    CsvTable::read(dir + "/unit_richness.csv")};
}

std::string formatUnits(const ReferenceData& data, const Attributes& attributes) {
  const CsvTable& rt = attributes.richness;
  auto richness = byUnit(rt);
  const CsvTable& vt = attributes.unit_values;
  std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>> means;
  for (const auto& row : vt.rows()) {
    const std::string& unit = row[vt.column("nvc_code")];
    const std::string& indicator = row[vt.column("indicator")];
    if (std::none_of(std::begin(kIndicators), std::end(kIndicators),
                     [&](const char* i) { return indicator == i; }))
      throw SourceError(vt.name() + ": unknown indicator '" + indicator + "' of " + unit);
    if (!means
             .emplace(std::make_pair(unit, indicator),
                      std::make_pair(row[vt.column("mean")], row[vt.column("sd")]))
             .second)
      throw SourceError(vt.name() + ": " + unit + " " + indicator + " given twice");
  }
  std::vector<std::string> header = {
      "number",       "nvc_code",    "community",          "subcommunity", "fullname",
      "eunis_code",   "eunis_name",  "eunis_relationship", "num_samples",  "min_species",
      "mean_species", "max_species", "species_count"};
  for (const char* i : kIndicators) {
    header.push_back(std::string(i) + "_mean");
    header.push_back(std::string(i) + "_sd");
  }
  std::string out = csvLine(header);
  for (std::size_t k = 0; k < data.communities.size(); ++k) {
    const Community& c = data.communities[k];
    std::vector<std::string> fields = {
        std::to_string(k + 1), c.code_text,         c.name, c.subname, c.fullname, c.eunis_code,
        c.eunis_name,          c.eunis_relationship};
    auto r = richness.find(c.code_text);
    for (const char* column :
         {"num_samples", "min_species", "mean_species", "max_species", "species_count"})
      fields.push_back(r == richness.end() ? "" : (*r->second)[rt.column(column)]);
    for (const char* i : kIndicators) {
      auto m = means.find({c.code_text, i});
      fields.push_back(m == means.end() ? "" : m->second.first);
      fields.push_back(m == means.end() ? "" : m->second.second);
    }
    out += csvLine(fields);
  }
  return out;
}

std::vector<std::size_t> habitatRows(const ReferenceData& data, const Attributes& attributes) {
  static const std::set<std::string> kClassifications = {
      "Annex I", "BAP Priority", "BAP Broad", "Phase 1", "EUNIS", "NPMS Broad", "NPMS Fine"};
  const CsvTable& ht = attributes.habitats;
  std::map<std::string, std::vector<std::size_t>> ofUnit;
  for (std::size_t i = 0; i < ht.rows().size(); ++i) {
    const auto& row = ht.rows()[i];
    if (!kClassifications.count(row[ht.column("classification")]))
      throw SourceError(ht.name() + ": unknown classification '" +
                        row[ht.column("classification")] + "'");
    ofUnit[row[ht.column("nvc_code")]].push_back(i);
  }
  std::vector<std::size_t> out;
  for (const Community& c : data.communities) {
    auto it = ofUnit.find(c.code_text);
    if (it != ofUnit.end()) out.insert(out.end(), it->second.begin(), it->second.end());
  }
  return out;
}

std::string formatHabitats(const ReferenceData& data, const Attributes& attributes) {
  const CsvTable& ht = attributes.habitats;
  const std::vector<std::string> columns = {"nvc_code", "classification", "habitat_code",
                                            "habitat_name", "relationship"};
  std::string out = csvLine(columns);
  for (std::size_t i : habitatRows(data, attributes)) {
    std::vector<std::string> fields;
    for (const std::string& column : columns) fields.push_back(ht.rows()[i][ht.column(column)]);
    out += csvLine(fields);
  }
  return out;
}

SpeciesIndicators speciesIndicators(const ReferenceData& data, const Attributes& attributes) {
  std::map<std::string, std::size_t> speciesIndex;
  for (std::size_t i = 0; i < data.species.size(); ++i) speciesIndex[data.species[i].name] = i;
  const CsvTable& tv = attributes.taxon_values;
  const int kHigh[] = {12, 9, 9, 9, 9};
  const int kLow[] = {1, 1, 1, 1, 0};
  // per species, the values of its own name's taxa and of all its taxa
  std::map<std::size_t, std::pair<std::set<std::array<int, 5>>, std::set<std::array<int, 5>>>>
      found;
  std::set<std::string> seen;
  for (const auto& row : tv.rows()) {
    const std::string& taxon = row[tv.column("taxon")];
    std::string where = tv.name() + ": '" + taxon + "'";
    if (!seen.insert(taxon).second) throw SourceError(where + " given twice");
    auto it = speciesIndex.find(speciesOf(taxon));
    if (it == speciesIndex.end()) throw SourceError(where + " is no taxon of the tables");
    std::array<int, 5> values{};
    for (int i = 0; i < 5; ++i)
      values[i] = wholeNumber(row[tv.column(kIndicators[i])], kLow[i], kHigh[i],
                              where + " " + kIndicators[i]);
    auto& [own, all] = found[it->second];
    if (stripStratum(taxon) == data.species[it->second].name) own.insert(values);
    all.insert(values);
  }
  SpeciesIndicators out;
  for (const auto& [species, sets] : found) {
    const auto& [own, all] = sets;
    if (own.size() == 1) {
      ++out.own;
      out.values.push_back({species, *own.begin()});
    } else if (own.empty() && all.size() == 1) {
      ++out.agreed;
      out.values.push_back({species, *all.begin()});
    } else {
      out.conflicts.push_back(species);
    }
  }
  return out;
}

std::string formatIndicators(const ReferenceData& data, const std::vector<SpeciesValues>& values) {
  std::string out = "species_number,F,L,N,R,S\n";
  for (const SpeciesValues& v : values) {
    out += std::to_string(data.species[v.species].number);
    for (int value : v.values) out += "," + std::to_string(value);
    out += '\n';
  }
  return out;
}

std::string formatFloristic(const ReferenceData& data) {
  // community, constancy descending, species number; the entry
  std::vector<std::tuple<int, int, int, const Entry*>> rows;
  for (const Species& s : data.species)
    for (const Entry& e : s.entries) rows.emplace_back(e.community, -e.constancy, s.number, &e);
  std::sort(rows.begin(), rows.end());
  std::string out = "nvc_code,species_number,constancy,min_domin,max_domin\n";
  for (const auto& [community, constancy, number, e] : rows) {
    out += data.communities[community - 1].code_text + "," + std::to_string(number) + "," +
           std::to_string(e->constancy) + "," + std::to_string(e->min_domin) + "," +
           std::to_string(e->max_domin) + "\n";
  }
  return out;
}

}  // namespace nvcdata
