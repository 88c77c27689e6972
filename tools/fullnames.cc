#include "tools/fullnames.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <vector>

#include "tools/abbrev.h"

namespace nvcdata {

namespace {

std::vector<std::string> words(const std::string& s) {
  std::vector<std::string> out;
  std::string word;
  for (char c : s + " ") {
    if (c != ' ' && c != '\t') {
      word += c;
    } else if (!word.empty()) {
      out.push_back(word);
      word.clear();
    }
  }
  return out;
}

std::string right(int value, std::size_t width) {
  std::string s = std::to_string(value);
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

}  // namespace

std::string matchForm(const std::string& name) {
  std::string folded = toAscii(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::vector<std::string> w = words(stripStratum(folded));
  static const std::set<std::string> kSingle = {"agg.", "s.l.", "s.lat.", "s.str."};
  static const std::set<std::pair<std::string, std::string>> kPairs = {{"s.", "lat."},
                                                                       {"sens.", "lat."},
                                                                       {"sensu", "lato"},
                                                                       {"sens.", "str."},
                                                                       {"sensu", "stricto"}};
  std::string out;
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (kSingle.count(w[i])) continue;
    if (i + 1 < w.size() && kPairs.count({w[i], w[i + 1]})) {
      ++i;
      continue;
    }
    if (!out.empty()) out += ' ';
    out += w[i];
  }
  return out;
}

std::string formatNames(const ReferenceData& data) {
  struct Form {
    std::map<std::string, std::set<std::size_t>> own;  // the project's names
    std::set<std::size_t> uksi;
    std::string first_uksi;  // its first UKSI name, in byte order
  };
  std::map<std::string, Form> forms;
  for (const FullName& f : data.full_names) forms[matchForm(f.name)].own[f.name].insert(f.species);
  for (const FullName& f : data.uksi_names) {
    Form& form = forms[matchForm(f.name)];
    std::string name = toAscii(f.name);
    if (form.uksi.empty() || name < form.first_uksi) form.first_uksi = name;
    form.uksi.insert(f.species);
  }
  std::string out;
  // The record of a species' own name (of its form) is marked in column 5.
  auto record = [&](std::size_t species, const std::string& name) {
    const Species& s = data.species[species];
    const bool own = matchForm(name) == matchForm(s.name);
    out += right(s.number, 4) + (own ? "*" : " ") + s.key + " " + name + "\n";
  };
  for (const auto& [match, form] : forms) {
    if (match.empty()) continue;
    // held: the project's names that stand for one species all give the same
    std::set<std::size_t> held;
    std::string heldName;
    for (const auto& [name, species] : form.own) {
      if (species.size() != 1) continue;
      held.insert(*species.begin());
      std::string ascii = toAscii(name);
      if (heldName.empty() || ascii < heldName) heldName = ascii;  // the first, in byte order
    }
    if (held.size() == 1) {
      record(*held.begin(), heldName);
      continue;
    }
    // otherwise every species any name of the form gives, under its first name
    std::set<std::size_t> species = form.uksi;
    std::string name = form.first_uksi;
    for (const auto& [own, of] : form.own) {
      species.insert(of.begin(), of.end());
      std::string ascii = toAscii(own);
      if (name.empty() || ascii < name) name = ascii;
    }
    std::vector<std::size_t> byNumber(species.begin(), species.end());
    std::sort(byNumber.begin(), byNumber.end(), [&](std::size_t a, std::size_t b) {
      return data.species[a].number < data.species[b].number;
    });
    for (std::size_t i : byNumber) record(i, name);
  }
  return out;
}

}  // namespace nvcdata
