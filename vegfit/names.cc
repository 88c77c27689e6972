#include "vegfit/names.h"

#include <algorithm>
#include <array>

#include "common/fields.h"
#include "engine/names.h"
#include "engine/parser.h"
#include "vegfit/text.h"

namespace vegfit {

namespace {

constexpr std::array<std::string_view, 3> kStrata = {"(c)", "(s)", "(g)"};
// Qualifiers that name no other species: words, and pairs of words.
constexpr std::array<std::string_view, 4> kQualifiers = {"agg.", "s.l.", "s.lat.", "s.str."};
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kQualifierPairs = {
    {{"s.", "lat."},
     {"sens.", "lat."},
     {"sensu", "lato"},
     {"sens.", "str."},
     {"sensu", "stricto"}}};

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) out.push_back(text.substr(start, i - start));
  }
  return out;
}

bool equalFolded(std::string_view word, std::string_view lower_text) {
  if (word.size() != lower_text.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (engine::lowerAscii(word[i]) != lower_text[i]) return false;
  }
  return true;
}

bool isStratum(std::string_view word) {
  return std::any_of(kStrata.begin(), kStrata.end(),
                     [&](std::string_view s) { return equalFolded(word, s); });
}

// A word's stratum suffix written without a blank before it: "campestre(c)".
std::string_view withoutStratum(std::string_view word) {
  for (std::string_view s : kStrata) {
    if (word.size() > s.size() && equalFolded(word.substr(word.size() - s.size()), s))
      return word.substr(0, word.size() - s.size());
  }
  return word;
}

std::string joined(const std::vector<std::string_view>& kept, bool fold) {
  std::string out;
  for (std::string_view w : kept) {
    if (!out.empty()) out += ' ';
    for (char c : w) out += fold ? engine::lowerAscii(c) : c;
  }
  return out;
}

// The words of a name without stratum suffixes; with `drop_qualifiers` also
// without the qualifiers. The first word is always kept.
std::vector<std::string_view> nameWords(std::string_view name, bool drop_qualifiers) {
  std::vector<std::string_view> all = words(name);
  std::vector<std::string_view> kept;
  for (std::size_t i = 0; i < all.size(); ++i) {
    std::string_view w = all[i];
    if (i > 0 && isStratum(w)) continue;
    if (i > 0) w = withoutStratum(w);
    if (drop_qualifiers && i > 0) {
      if (std::any_of(kQualifiers.begin(), kQualifiers.end(),
                      [&](std::string_view q) { return equalFolded(w, q); }))
        continue;
      if (i + 1 < all.size() &&
          std::any_of(kQualifierPairs.begin(), kQualifierPairs.end(), [&](const auto& q) {
            return equalFolded(w, q.first) && equalFolded(withoutStratum(all[i + 1]), q.second);
          })) {
        ++i;
        continue;
      }
    }
    kept.push_back(w);
  }
  return kept;
}

}  // namespace

std::string nameKey(std::string_view name) {
  std::string field_work, key;
  int frequency = 0;
  float value = 0;
  bool bad = false;
  engine::parseSpeciesLine(engine::lineColumns(normalName(name)), field_work, key, 0, frequency,
                           value, bad);
  return key;
}

std::string normalName(std::string_view name) { return joined(nameWords(name, true), true); }

std::string shownForm(std::string_view name) { return joined(nameWords(name, false), false); }

std::string withoutAuthority(std::string_view name) {
  const std::vector<std::string_view> all = words(name);
  // In a name written in capitals only, capitals mark no authority.
  const bool capitals_only =
      std::none_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  std::vector<std::string_view> kept;
  int open = 0;  // parentheses of an authority not yet closed
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string_view w = all[i];
    // Right after the genus a capitalised word is an authority only when
    // abbreviated ("L."): it may be an epithet written with a capital.
    const bool capital = !capitals_only && w.front() >= 'A' && w.front() <= 'Z' &&
                         (i > 1 || w.find('.') != std::string_view::npos);
    const bool joining = w == "ex" || w == "&" || w == "et" || w == "non" || w == "auct." ||
                         w == "auct.," || w == "non.";
    const bool stratum = isStratum(w);
    if (i > 0 && !stratum && (open > 0 || w.front() == '(' || capital || joining)) {
      open += static_cast<int>(std::count(w.begin(), w.end(), '(')) -
              static_cast<int>(std::count(w.begin(), w.end(), ')'));
      if (open < 0) open = 0;
      continue;
    }
    kept.push_back(w);
  }
  return joined(kept, false);
}

std::string speciesOfInfraspecific(std::string_view normal) {
  const std::vector<std::string_view> all = words(normal);
  for (std::size_t i = 1; i < all.size(); ++i) {
    const std::string_view w = all[i];
    if (w == "subsp." || w == "ssp." || w == "var." || w == "f." || w == "subvar." || w == "forma")
      return i >= 2 ? joined({all.begin(), all.begin() + static_cast<std::ptrdiff_t>(i)}, true)
                    : std::string();
  }
  return {};
}

int editDistance(std::string_view a, std::string_view b, int limit) {
  const int n = static_cast<int>(a.size());
  const int m = static_cast<int>(b.size());
  if (std::abs(n - m) > limit) return limit + 1;
  std::vector<int> row(static_cast<std::size_t>(m) + 1);
  for (int j = 0; j <= m; ++j) row[static_cast<std::size_t>(j)] = j;
  for (int i = 1; i <= n; ++i) {
    int diagonal = row[0];
    row[0] = i;
    int best = row[0];
    for (int j = 1; j <= m; ++j) {
      const std::size_t u = static_cast<std::size_t>(j);
      const int above = row[u];
      const int replace = diagonal + (a[static_cast<std::size_t>(i - 1)] == b[u - 1] ? 0 : 1);
      row[u] = std::min({above + 1, row[u - 1] + 1, replace});
      diagonal = above;
      best = std::min(best, row[u]);
    }
    if (best > limit) return limit + 1;
  }
  const int distance = row[static_cast<std::size_t>(m)];
  return distance > limit ? limit + 1 : distance;
}

void NameIndex::add(std::string_view name, int species_number, bool own) {
  std::string normal = normalName(name);
  if (normal.empty()) return;
  auto [shown, added] = shown_.try_emplace(species_number, Shown{shownForm(name), own});
  if (!added && own && !shown->second.own) shown->second = Shown{shownForm(name), true};
  auto it = place_.find(normal);
  if (it != place_.end()) {
    Entry& entry = names_[static_cast<std::size_t>(it->second - 1)];
    if (entry.species_number != species_number) {
      if (entry.candidates.empty() && entry.species_number != kAmbiguous)
        entry.candidates.push_back(entry.species_number);
      if (std::find(entry.candidates.begin(), entry.candidates.end(), species_number) ==
          entry.candidates.end())
        entry.candidates.push_back(species_number);
      entry.species_number = kAmbiguous;
    }
    return;
  }
  names_.push_back({normal, shownForm(name), species_number, {}});
  place_.emplace(std::move(normal), static_cast<int>(names_.size()));
}

int NameIndex::find(std::string_view normal) const {
  int p = place(normal);
  return p == 0 ? 0 : names_[static_cast<std::size_t>(p - 1)].species_number;
}

std::vector<int> NameIndex::candidates(std::string_view normal) const {
  int p = place(normal);
  return p == 0 ? std::vector<int>() : names_[static_cast<std::size_t>(p - 1)].candidates;
}

int NameIndex::place(std::string_view normal) const {
  auto it = place_.find(normal);
  return it == place_.end() ? 0 : it->second;
}

const std::string& NameIndex::shownName(int species_number) const {
  static const std::string kNone;
  auto it = shown_.find(species_number);
  return it == shown_.end() ? kNone : it->second.name;
}

std::vector<std::string> NameIndex::closeNames(std::string_view normal, std::size_t count) const {
  const int limit = std::max(2, static_cast<int>(normal.size()) / 3);
  std::vector<std::pair<int, const std::string*>> near;
  for (const Entry& entry : names_) {
    if (entry.species_number == kAmbiguous) continue;  // no name to write instead
    int d = editDistance(normal, entry.normal, limit);
    if (d <= limit) near.emplace_back(d, &entry.shown);
  }
  std::sort(near.begin(), near.end(), [](const auto& x, const auto& y) {
    return x.first != y.first ? x.first < y.first : *x.second < *y.second;
  });
  std::vector<std::string> out;
  for (const auto& [d, shown] : near) {
    if (out.size() == count) break;
    if (std::find(out.begin(), out.end(), *shown) == out.end()) out.push_back(*shown);
  }
  return out;
}

bool parseNameTable(const std::vector<std::string>& lines, NameIndex& index, std::string& error) {
  // A table that marks each species' own name in column 5 is taken at its
  // word; otherwise the first name that gives the species' key naturally is
  // taken for it.
  const bool marked = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.size() > 4 && line[4] == '*';
  });
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (veg::isBlank(line)) continue;
    long long number = 0;
    const std::string name = line.size() > 15 ? line.substr(15) : std::string();
    if (!veg::readIntField(veg::column(line, 1, 4), number) || number < 1 ||
        number > engine::kNewNumberBase || veg::isBlank(name)) {
      error = "line " + std::to_string(i + 1) + " is not a species number and a name";
      return false;
    }
    const bool own = marked ? line[4] == '*' : nameKey(name) == veg::column(line, 6, 9);
    index.add(name, static_cast<int>(number), own);
  }
  return true;
}

NameMatcher::NameMatcher(const NameIndex& index, const engine::Tables& tables)
    : index_(index), tables_(tables) {}

int NameMatcher::spelling(std::string_view name) {
  const std::size_t hash = NameHash{}(name);
  const int known =
      spellings_.find(hash, [&](int id) { return texts_[static_cast<std::size_t>(id)] == name; });
  if (known >= 0) return known;
  const int id = static_cast<int>(texts_.size());
  texts_.emplace_back(name);
  Match m = resolve(texts_.back());
  if (m.species_number == 0) {
    // Spellings of one name key are one new species, as sample entry adds
    // a key it does not know once.
    auto [first, added] = unmatched_keys_.try_emplace(nameKey(texts_.back()), id);
    m.unmatched_as = first->second;
  }
  matches_.push_back(m);
  spellings_.add(hash, id);
  return id;
}

Match NameMatcher::resolve(const std::string& written) const {
  const std::string name = withoutAccents(written);
  const std::string normal = normalName(name);
  // The full name first, then without an authority; an infraspecific name
  // without a row of its own as its species; then the name keys.
  const Match whole = resolveNormal(normal);
  if (whole.ambiguous || (whole.species_number != 0 && !whole.by_key)) return whole;
  const std::string bare = normalName(withoutAuthority(name));
  Match without;
  if (bare != normal) {
    without = resolveNormal(bare);
    if (without.ambiguous || (without.species_number != 0 && !without.by_key)) return without;
  }
  const std::string species = speciesOfInfraspecific(bare);
  if (!species.empty()) {
    Match as_species = resolveNormal(species);
    if (as_species.species_number != 0) {
      as_species.as_species = true;
      return as_species;
    }
  }
  return whole.species_number != 0 ? whole : without;
}

Match NameMatcher::resolveNormal(const std::string& normal) const {
  Match m;
  if (normal.empty()) return m;
  const std::string key = nameKey(normal);
  const engine::Dictionary& dict = tables_.dictionary;
  const int entry =
      veg::isBlank(key) ? 0 : engine::findName(dict, tables_.dict_size, tables_.name_count, key);
  const int entry_number = entry == 0 ? 0 : dict.species_number[static_cast<std::size_t>(entry)];

  const int by_name = index_.find(normal);
  if (by_name == NameIndex::kAmbiguous) {
    m.ambiguous = true;
    return m;
  }
  if (by_name > 0) {
    m.species_number = by_name;
    // Where the key stands for the same species, lines of the two forms are
    // one entry, as they are in sample entry.
    m.identity = static_cast<short>(
        entry_number == by_name ? entry
                                : std::min(engine::kMaxNames + index_.place(normal), 32767));
    return m;
  }
  if (entry > 0 && entry_number > 0) {
    m.species_number = entry_number;
    m.identity = static_cast<short>(entry);
    m.by_key = true;
  }
  return m;
}

std::vector<std::string> NameMatcher::candidates(int spelling) const {
  std::vector<std::string> out;
  for (int number : index_.candidates(normalName(text(spelling)))) {
    std::string shown = shownName(number, "");
    out.push_back(shown.empty() ? std::to_string(number) : shown);
  }
  if (out.empty())
    for (int number : index_.candidates(normalName(withoutAuthority(text(spelling)))))
      out.push_back(shownName(number, std::to_string(number)));
  return out;
}

std::string NameMatcher::shownName(int species_number, std::string_view fallback) const {
  const std::string& shown = index_.shownName(species_number);
  return shown.empty() ? std::string(fallback) : shown;
}

std::vector<std::string> NameMatcher::closeNames(std::string_view name) const {
  const std::string normal = normalName(name);
  if (!index_.empty()) return index_.closeNames(normal, 3);
  // Without a names table the dictionary keys are all there is to offer.
  const std::string key = nameKey(normal);
  std::vector<std::pair<int, std::string>> near;
  for (int j = 3; j <= tables_.dict_size; ++j) {
    const std::string& candidate = tables_.dictionary.species_name[static_cast<std::size_t>(j)];
    int d = editDistance(key, candidate, 2);
    if (d <= 2) near.emplace_back(d, veg::padRight(candidate, engine::kKeyWidth));
  }
  std::sort(near.begin(), near.end());
  std::vector<std::string> out;
  for (const auto& [d, candidate] : near) {
    if (out.size() == 3) break;
    std::string trimmed = candidate.substr(0, candidate.find_last_not_of(' ') + 1);
    if (std::find(out.begin(), out.end(), trimmed) == out.end()) out.push_back(trimmed);
  }
  return out;
}

}  // namespace vegfit
