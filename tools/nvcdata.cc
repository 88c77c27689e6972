#include "tools/nvcdata.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <tuple>

#include "tools/abbrev.h"
#include "tools/fullnames.h"
#include "tools/mends.h"

namespace nvcdata {

namespace {

constexpr std::size_t kMaxCommunities = 900;
constexpr std::size_t kMaxEntries = 50000;
constexpr std::size_t kMaxDictRecords = 2998;

int toInt(const std::string& text, const std::string& what) {
  if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
      }))
    throw SourceError(what + ": not a number: '" + text + "'");
  return std::stoi(text);
}

bool unitLess(const UnitCode& a, const UnitCode& b) {
  return std::tie(a.group, a.number, a.letter) < std::tie(b.group, b.number, b.letter);
}

}  // namespace

Sources Sources::read(const std::string& dir) {
  return mended(readPublished(dir), Mends::read(dir + "/mends"));
}

Sources Sources::readPublished(const std::string& dir) {
  return Sources{CsvTable::read(dir + "/floristic_tables.csv"),
                 CsvTable::read(dir + "/units.csv"),
                 CsvTable::read(dir + "/taxa.csv"),
                 CsvTable::read(dir + "/name_lookup.csv"),
                 CsvTable::read(dir + "/eunis_correspondence.csv"),
                 CsvTable::read(dir + "/synonyms.csv"),
                 CsvTable::read(dir + "/uksi_synonyms.csv")};
}

UnitCode parseUnitCode(const std::string& code) {
  UnitCode u;
  std::size_t i = 0;
  while (i < code.size() && std::isupper(static_cast<unsigned char>(code[i]))) u.group += code[i++];
  std::string digits;
  while (i < code.size() && std::isdigit(static_cast<unsigned char>(code[i]))) digits += code[i++];
  if (i < code.size() && std::islower(static_cast<unsigned char>(code[i]))) u.letter = code[i++];
  if (u.group.empty() || u.group.size() > 2 || digits.empty() || digits.size() > 2 ||
      i != code.size())
    throw SourceError("unit code '" + code + "' is not of the form CG2a");
  u.number = std::stoi(digits);
  return u;
}

std::string nvcCodeField(const UnitCode& code) {
  std::string group = std::string(2 - code.group.size(), ' ') + code.group;
  std::string number = std::to_string(code.number);
  number = std::string(2 - number.size(), ' ') + number;
  return group + number + code.letter + ' ';
}

int relationshipRank(const std::string& relationship) {
  static const char* const kOrder[] = {"is equal to", "is contained in", "overlaps with",
                                       "contains", "relationship uncertain"};
  for (int i = 0; i < 5; ++i)
    if (relationship == kOrder[i]) return i;
  return -1;
}

Group parseGroup(const std::string& name) {
  if (name == "vascular") return Group::kVascular;
  if (name == "bryophyte") return Group::kBryophyte;
  if (name == "lichen") return Group::kLichen;
  if (name == "alga") return Group::kAlga;
  throw SourceError("unknown taxon group '" + name + "'");
}

int firstNumber(Group group) {
  switch (group) {
    case Group::kVascular: return 1;
    case Group::kBryophyte: return 3001;
    case Group::kLichen: return 4001;
    case Group::kAlga: return 5001;
  }
  return 0;
}

int lastNumber(Group group) {
  switch (group) {
    case Group::kVascular: return 3000;
    case Group::kBryophyte: return 4000;
    case Group::kLichen: return 5000;
    case Group::kAlga: return 9000;
  }
  return 0;
}

int classCode(int constancy, int domin) { return 10 * (constancy - 1) + domin; }

std::size_t ReferenceData::entryCount() const {
  std::size_t n = 0;
  for (const Species& s : species) n += s.entries.size();
  return n;
}

namespace {

using CommunityNumbers = std::map<std::string, int>;      // "CG2a" -> community number
using SpeciesIndex = std::map<std::string, std::size_t>;  // species name -> index

// Every unit with a floristic table, in community order, with its names and
// chosen EUNIS correspondence.
CommunityNumbers addCommunities(const Sources& src, ReferenceData& data) {
  const CsvTable& ft = src.floristic;
  std::size_t fCode = ft.column("nvc_code");
  std::map<std::string, UnitCode> codes;
  for (const auto& row : ft.rows()) codes.emplace(row[fCode], parseUnitCode(row[fCode]));
  std::vector<std::pair<std::string, UnitCode>> ordered(codes.begin(), codes.end());
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return unitLess(a.second, b.second); });
  if (ordered.size() > kMaxCommunities)
    throw SourceError(std::to_string(ordered.size()) + " units, more than 900");

  std::map<std::string, std::string> unitName, fullName;
  const CsvTable& ut = src.units;
  for (const auto& row : ut.rows()) {
    unitName[row[ut.column("nvc_code")]] = row[ut.column("name")];
    fullName[row[ut.column("nvc_code")]] = row[ut.column("fullname")];
  }

  // rank, code, name, relationship
  std::map<std::string, std::tuple<int, std::string, std::string, std::string>> eunis;
  const CsvTable& et = src.eunis;
  for (const auto& row : et.rows()) {
    const std::string& relationship = row[et.column("relationship")];
    int rank = relationshipRank(relationship);
    if (rank < 0) throw SourceError("unknown relationship '" + relationship + "'");
    auto candidate = std::make_tuple(rank, row[et.column("eunis_code")],
                                     row[et.column("eunis_name")], relationship);
    auto [it, inserted] = eunis.emplace(row[et.column("nvc_code")], candidate);
    // strictly better only: among equals the first in the file stays
    if (!inserted && rank < std::get<0>(it->second)) it->second = candidate;
  }

  CommunityNumbers communityNumber;
  for (const auto& [text, code] : ordered) {
    Community c;
    c.code = code;
    c.code_text = text;
    std::string community = code.community();
    if (!unitName.count(community)) throw SourceError("no name for community " + community);
    c.name = unitName[community];
    c.fullname = fullName[community];
    if (code.letter != ' ') {
      std::string named = std::string("subcommunity ") + code.letter;
      c.subname = unitName.count(text) ? unitName[text] : named;
      c.fullname = fullName.count(text) ? fullName[text] : c.fullname + ", " + named;
    }
    if (eunis.count(community)) {
      c.eunis_code = std::get<1>(eunis[community]);
      c.eunis_name = std::get<2>(eunis[community]);
      c.eunis_relationship = std::get<3>(eunis[community]);
    }
    data.communities.push_back(c);
    communityNumber[text] = static_cast<int>(data.communities.size());
  }
  return communityNumber;
}

// The species of the tables, numbered by group.
SpeciesIndex addSpecies(const Sources& src, ReferenceData& data) {
  std::map<std::string, Group> taxonGroup;
  const CsvTable& tt = src.taxa;
  for (const auto& row : tt.rows())
    taxonGroup[row[tt.column("taxon")]] = parseGroup(row[tt.column("group")]);
  std::map<std::string, Group> speciesGroup;
  const CsvTable& ft = src.floristic;
  for (const auto& row : ft.rows()) {
    const std::string& taxon = row[ft.column("taxon")];
    if (!taxonGroup.count(taxon))
      throw SourceError("taxon '" + taxon + "' has no group in taxa.csv");
    std::string species = speciesOf(taxon);
    auto [it, inserted] = speciesGroup.emplace(species, taxonGroup[taxon]);
    if (!inserted && it->second != taxonGroup[taxon])
      throw SourceError("species '" + species + "' has taxa of two groups");
  }
  std::vector<std::pair<Group, std::string>> byGroup;
  for (const auto& [name, group] : speciesGroup) byGroup.emplace_back(group, name);
  std::sort(byGroup.begin(), byGroup.end());
  SpeciesIndex speciesIndex;
  std::map<Group, int> next;
  for (const auto& [group, name] : byGroup) {
    if (!next.count(group)) next[group] = firstNumber(group);
    Species s;
    s.name = name;
    s.group = group;
    s.number = next[group]++;
    if (s.number > lastNumber(group)) throw SourceError("too many species in the group of " + name);
    speciesIndex[name] = data.species.size();
    data.species.push_back(s);
  }
  return speciesIndex;
}

// One entry per species and unit: the highest constancy and cover of its taxa.
void addEntries(const Sources& src, const ConvertOptions& options,
                const CommunityNumbers& communityNumber, const SpeciesIndex& speciesIndex,
                ReferenceData& data) {
  const CsvTable& ft = src.floristic;
  std::size_t fCode = ft.column("nvc_code"), fTaxon = ft.column("taxon"),
              fConst = ft.column("constancy"), fMax = ft.column("max_domin"),
              fMean = ft.column("mean_domin"), fMin = ft.column("min_domin");
  struct Merged {
    int domin = 0;  // the cover of the class code
    Entry entry;
  };
  std::map<std::pair<std::size_t, int>, Merged> best;
  for (const auto& row : ft.rows()) {
    std::string where = "floristic table " + row[fCode] + " " + row[fTaxon];
    int constancy = toInt(row[fConst], where);
    int minDomin = toInt(row[fMin], where), maxDomin = toInt(row[fMax], where);
    int domin = maxDomin;
    if (options.cover == ConvertOptions::Cover::kMean) domin = toInt(row[fMean], where);
    if (options.cover == ConvertOptions::Cover::kMidpoint) domin = (minDomin + maxDomin + 1) / 2;
    if (constancy < 1 || constancy > 5) throw SourceError(where + ": constancy outside 1..5");
    if (domin < 1 || domin > 10) throw SourceError(where + ": Domin cover outside 1..10");
    auto key =
        std::make_pair(speciesIndex.at(speciesOf(row[fTaxon])), communityNumber.at(row[fCode]));
    auto [it, inserted] = best.try_emplace(key);
    Merged& m = it->second;
    if (inserted) {
      m.domin = domin;
      m.entry = {key.second, 0, constancy, minDomin, maxDomin};
    } else {
      m.domin = std::max(m.domin, domin);
      m.entry.constancy = std::max(m.entry.constancy, constancy);
      m.entry.min_domin = std::min(m.entry.min_domin, minDomin);
      m.entry.max_domin = std::max(m.entry.max_domin, maxDomin);
    }
  }
  for (auto& [key, m] : best) {
    if (m.entry.constancy < options.min_constancy) continue;
    m.entry.class_code = classCode(m.entry.constancy, m.domin);
    data.species[key.first].entries.push_back(m.entry);
  }
  if (data.entryCount() > kMaxEntries)
    throw SourceError(std::to_string(data.entryCount()) + " entries, more than 50000");
}

// The original names of name_lookup.csv that differ from their taxon name.
std::vector<Synonym> lookupSynonyms(const Sources& src, const SpeciesIndex& speciesIndex) {
  std::vector<Synonym> synonyms;
  const CsvTable& lt = src.name_lookup;
  for (const auto& row : lt.rows()) {
    const std::string& original = row[lt.column("original_name")];
    const std::string& taxon = row[lt.column("taxon")];
    if (original == taxon) continue;
    auto it = speciesIndex.find(speciesOf(taxon));
    if (it == speciesIndex.end())
      throw SourceError("name_lookup.csv: taxon '" + taxon + "' has no table");
    synonyms.push_back({original, it->second});
  }
  return synonyms;
}

// The rows of synonyms.csv, each checked to name a taxon of the tables (its
// name as in the floristic tables, with or without the stratum suffix).
std::vector<Synonym> curatedSynonyms(const Sources& src, const SpeciesIndex& speciesIndex) {
  std::set<std::string> taxa;
  for (const auto& row : src.floristic.rows()) {
    const std::string& taxon = row[src.floristic.column("taxon")];
    taxa.insert(taxon);
    taxa.insert(stripStratum(taxon));
  }
  const CsvTable& st = src.synonyms;
  std::size_t sName = st.column("name"), sTaxon = st.column("taxon"), sReason = st.column("reason");
  std::vector<Synonym> synonyms;
  std::set<std::string> seen;
  for (const auto& row : st.rows()) {
    const std::string& name = row[sName];
    const std::string& taxon = row[sTaxon];
    std::string where = "synonyms.csv: '" + name + "'";
    if (!taxa.count(taxon))
      throw SourceError(where + ": '" + taxon + "' is no taxon of the tables");
    if (speciesIndex.count(speciesOf(name)))
      throw SourceError(where + " is a species of the tables");
    if (row[sReason].empty()) throw SourceError(where + " gives no reason");
    if (!seen.insert(name).second) throw SourceError(where + " is given twice");
    synonyms.push_back({name, speciesIndex.at(speciesOf(taxon))});
  }
  return synonyms;
}

// Every full name that stands for a species, once for each species it
// stands for.
std::vector<FullName> fullNames(const Sources& src, const SpeciesIndex& speciesIndex,
                                const std::vector<Synonym>& synonyms) {
  std::map<std::string, std::set<std::size_t>> names;
  for (const auto& [name, i] : speciesIndex) names[name].insert(i);
  for (const auto& row : src.taxa.rows()) {
    const std::string& taxon = row[src.taxa.column("taxon")];
    auto it = speciesIndex.find(speciesOf(taxon));
    if (it != speciesIndex.end()) names[stripStratum(taxon)].insert(it->second);
  }
  for (const Synonym& s : synonyms) names[stripStratum(s.original_name)].insert(s.species);
  std::vector<FullName> out;
  for (const auto& [name, species] : names)
    for (std::size_t i : species) out.push_back({name, i});
  return out;
}

// The rows of uksi_synonyms.csv, each checked to name a taxon of the tables,
// without the names that also stand for a taxon the tables lack and those
// that cannot be written in ASCII.
std::vector<FullName> uksiNames(const Sources& src, const SpeciesIndex& speciesIndex) {
  std::set<std::string> taxa;
  for (const auto& row : src.floristic.rows())
    taxa.insert(stripStratum(row[src.floristic.column("taxon")]));
  const CsvTable& ut = src.uksi;
  std::size_t uName = ut.column("name"), uTaxon = ut.column("taxon"),
              uAlso = ut.column("also_means");
  std::set<std::string> alsoMeans;  // matching forms
  for (const auto& row : ut.rows()) {
    std::string where = "uksi_synonyms.csv: '" + row[uName] + "'";
    if (matchForm(row[uName]).empty()) throw SourceError(where + " is no name");
    if (!taxa.count(row[uTaxon]))
      throw SourceError(where + ": '" + row[uTaxon] + "' is no taxon of the tables");
    if (!row[uAlso].empty()) alsoMeans.insert(matchForm(row[uName]));
  }
  std::set<std::pair<std::string, std::size_t>> names;
  for (const auto& row : ut.rows())
    if (turnsToAscii(row[uName]) && !alsoMeans.count(matchForm(row[uName])))
      names.emplace(toAscii(row[uName]), speciesIndex.at(speciesOf(row[uTaxon])));
  std::vector<FullName> out;
  for (const auto& [name, i] : names) out.push_back({name, i});
  return out;
}

// The keys of the species, and the dictionary of keys and synonyms.
void addDictionary(const Sources& src, const SpeciesIndex& speciesIndex, ReferenceData& data) {
  std::vector<std::string> names;
  for (const Species& s : data.species) names.push_back(s.name);
  std::vector<std::string> keys = assignKeys(names);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    data.species[i].key = keys[i];
    data.species[i].natural_key = keys[i] == naturalKey(data.species[i].name);
  }
  std::vector<Synonym> synonyms = lookupSynonyms(src, speciesIndex);
  std::vector<Synonym> curated = curatedSynonyms(src, speciesIndex);
  synonyms.insert(synonyms.end(), curated.begin(), curated.end());
  data.dictionary = buildDictionary(keys, synonyms, sharedKeys(names));
  if (data.dictionary.size() > kMaxDictRecords)
    throw SourceError(std::to_string(data.dictionary.size()) +
                      " dictionary records, more than 2998");
  data.full_names = fullNames(src, speciesIndex, synonyms);
  data.uksi_names = uksiNames(src, speciesIndex);
}

}  // namespace

ReferenceData convert(const Sources& src, const ConvertOptions& options) {
  ReferenceData data;
  CommunityNumbers communityNumber = addCommunities(src, data);
  SpeciesIndex speciesIndex = addSpecies(src, data);
  addEntries(src, options, communityNumber, speciesIndex, data);
  addDictionary(src, speciesIndex, data);
  return data;
}

}  // namespace nvcdata
