#include "tools/fullnames.h"

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
    std::string name;  // the first name of the form, in byte order
    std::set<std::size_t> species;
  };
  std::map<std::string, Form> forms;
  for (const FullName& f : data.full_names) {
    Form& form = forms[matchForm(f.name)];
    std::string name = toAscii(f.name);
    if (form.name.empty() || name < form.name) form.name = name;
    form.species.insert(f.species);
  }
  std::string out;
  for (const auto& [match, form] : forms) {
    if (match.empty() || form.species.size() != 1) continue;
    const Species& s = data.species[*form.species.begin()];
    out += right(s.number, 4) + " " + s.key + " " + form.name + "\n";
  }
  return out;
}

}  // namespace nvcdata
