#include "tools/namekey.h"

#include <algorithm>
#include <cctype>
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

// The epithet parts a species of `group` (the species sharing its natural
// key) may take, in order of choice.
std::vector<std::string> candidates(const std::string& name,
                                    const std::vector<std::string>& group) {
  std::vector<std::string> w = words(name);
  std::vector<std::string> out;
  std::string base;
  if (w.size() >= 2) {
    std::string genus = lowerCase(w[0]), epithet = lowerCase(w[1]);
    bool sameEpithet = false;
    std::string otherGenus;  // of another species with the same epithet
    for (const std::string& other : group) {
      std::vector<std::string> o = words(other);
      if (other != name && o.size() >= 2 && lowerCase(o[1]) == epithet) {
        otherGenus = lowerCase(o[0]);
        sameEpithet = true;
        break;
      }
    }
    if (sameEpithet) {
      std::size_t i = 0;
      while (i < genus.size() && i < otherGenus.size() && genus[i] == otherGenus[i]) ++i;
      char parting = i < genus.size() ? genus[i] : genus.back();
      out.push_back(epithet.substr(0, 3) + parting);
    } else if (epithet.size() >= 4) {
      out.push_back(epithet.substr(0, 1) + epithet.substr(epithet.size() - 3));
    }
    base = epithet.substr(0, 3);
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

std::set<std::string> sharedKeys(const std::vector<std::string>& names) {
  std::map<std::string, int> count;
  for (const std::string& name : names) ++count[naturalKey(name)];
  std::set<std::string> shared;
  for (const auto& [key, n] : count)
    if (n > 1) shared.insert(key);
  return shared;
}

std::vector<std::string> assignKeys(const std::vector<std::string>& names) {
  std::map<std::string, std::vector<std::string>> byKey;  // natural key -> its species
  for (const std::string& name : names) byKey[naturalKey(name)].push_back(name);
  // No special key may be a natural key, not even a shared one.
  std::set<std::string> held;
  for (const auto& [key, group] : byKey) held.insert(key);

  std::vector<std::string> keys;
  for (const std::string& name : names) {
    std::string natural = naturalKey(name);
    const std::vector<std::string>& group = byKey[natural];
    if (group.size() == 1) {
      keys.push_back(natural);
      continue;
    }
    std::string genus = natural.substr(0, 5);
    bool found = false;
    for (const std::string& epithet : candidates(name, group)) {
      std::string key = genus + epithet;
      if (!held.insert(key).second) continue;
      keys.push_back(key);
      found = true;
      break;
    }
    if (!found) throw std::runtime_error("no free key for " + name);
  }
  return keys;
}

std::vector<DictRecord> buildDictionary(const std::vector<std::string>& keys,
                                        const std::vector<Synonym>& synonyms,
                                        const std::set<std::string>& shared) {
  std::map<std::string, std::size_t> owner;
  for (std::size_t i = 0; i < keys.size(); ++i) owner[keys[i]] = i;
  std::map<std::string, std::set<std::size_t>> synonymKeys;
  for (const Synonym& s : synonyms) synonymKeys[naturalKey(s.original_name)].insert(s.species);

  std::vector<DictRecord> records;
  for (const auto& [key, species] : owner) records.push_back({key, species});
  for (const auto& [key, species] : synonymKeys) {
    if (owner.count(key) || shared.count(key) || species.size() != 1) continue;
    records.push_back({key, *species.begin()});
  }
  std::sort(records.begin(), records.end(),
            [](const DictRecord& a, const DictRecord& b) { return a.key < b.key; });
  return records;
}

}  // namespace nvcdata
