#include "tools/namekey.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <set>
#include <stdexcept>

namespace nvcdata {

namespace {

std::vector<std::string> words(const std::string& s) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    std::size_t start = i;
    while (i < s.size() && s[i] != ' ') ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

std::string lowerCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string part(const std::string& word) {
  std::string p = lowerCase(word.substr(0, 4));
  p.resize(4, ' ');
  return p;
}

// Epithet parts for a species that lost its natural key, in order of choice.
std::vector<std::string> candidates(const std::string& name) {
  std::vector<std::string> w = words(name);
  std::vector<std::string> out;
  std::string base;
  if (w.size() >= 2) {
    std::string e = lowerCase(w[1]);
    if (e.size() >= 2) {
      out.push_back(e.substr(0, 3) + e.back());
      if (e.size() >= 4) out.push_back(e.substr(0, 2) + e.substr(e.size() - 2));
    }
    base = e.substr(0, 3);
  } else if (!w.empty()) {
    std::string rest = lowerCase(w[0].size() > 4 ? w[0].substr(4) : "");
    if (!rest.empty()) out.push_back(rest.substr(0, 4));
    base = rest.empty() ? "sp" : rest.substr(0, 3);
  }
  for (char digit = '2'; digit <= '9'; ++digit) out.push_back(base + digit);
  for (std::string& c : out) c.resize(4, ' ');
  return out;
}

}  // namespace

std::string stripStratum(const std::string& name) {
  std::string s = name;
  while (!s.empty() && s.back() == ' ') s.pop_back();
  for (const char* suffix : {"(c)", "(s)", "(g)"}) {
    std::string x(suffix);
    if (s.size() >= x.size() && s.compare(s.size() - x.size(), x.size(), x) == 0) {
      s.erase(s.size() - x.size());
      while (!s.empty() && s.back() == ' ') s.pop_back();
      break;
    }
  }
  return s;
}

std::string speciesOf(const std::string& taxon) {
  std::vector<std::string> w = words(stripStratum(taxon));
  if (w.empty()) return "";
  if (w.size() == 1) return w[0];
  return w[0] + " " + w[1];
}

std::string naturalKey(const std::string& name) {
  std::vector<std::string> w = words(stripStratum(name));
  std::string key = w.empty() ? std::string(4, ' ') : part(w[0]);
  key += ' ';
  if (w.size() >= 2 && !std::isdigit(static_cast<unsigned char>(w[1][0])))
    key += part(w[1]);
  else
    key += "    ";
  return key;
}

std::vector<std::string> assignKeys(const std::vector<KeyClaim>& species) {
  std::vector<std::string> keys(species.size());
  std::set<std::string> taken;
  for (std::size_t i = 0; i < species.size(); ++i) {
    keys[i] = naturalKey(species[i].name);
    taken.insert(keys[i]);
  }
  // Strongest claim first: most entries, then the name that sorts first.
  std::vector<std::size_t> order(species.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (species[a].entries != species[b].entries) return species[a].entries > species[b].entries;
    return species[a].name < species[b].name;
  });
  std::set<std::string> held;
  for (std::size_t i : order) {
    if (held.insert(keys[i]).second) continue;
    std::string genus = keys[i].substr(0, 5);
    bool found = false;
    for (const std::string& epithet : candidates(species[i].name)) {
      std::string key = genus + epithet;
      if (taken.count(key) || held.count(key)) continue;
      keys[i] = key;
      held.insert(key);
      found = true;
      break;
    }
    if (!found) throw std::runtime_error("no free key for " + species[i].name);
  }
  return keys;
}

std::vector<DictRecord> buildDictionary(const std::vector<std::string>& keys,
                                        const std::vector<Synonym>& synonyms) {
  std::map<std::string, std::size_t> owner;
  for (std::size_t i = 0; i < keys.size(); ++i) owner[keys[i]] = i;
  std::map<std::string, std::set<std::size_t>> synonymKeys;
  for (const Synonym& s : synonyms) synonymKeys[naturalKey(s.original_name)].insert(s.species);

  std::vector<DictRecord> records;
  for (const auto& [key, species] : owner) records.push_back({key, species});
  for (const auto& [key, species] : synonymKeys) {
    if (owner.count(key) || species.size() != 1) continue;
    records.push_back({key, *species.begin()});
  }
  std::sort(records.begin(), records.end(),
            [](const DictRecord& a, const DictRecord& b) { return a.key < b.key; });
  return records;
}

}  // namespace nvcdata
