#include "tools/nvcwrite.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "tools/csvfiles.h"
#include "tools/fullnames.h"

namespace nvcdata {

namespace {

std::string right(long value, std::size_t width) {
  std::string s = std::to_string(value);
  if (s.size() > width)
    throw std::runtime_error(s + " does not fit " + std::to_string(width) + " columns");
  return std::string(width - s.size(), ' ') + s;
}

std::string pad(const std::string& text, std::size_t width) {
  if (text.size() > width)
    throw std::runtime_error("'" + text + "' is wider than " + std::to_string(width));
  return text + std::string(width - text.size(), ' ');
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error(path + ": cannot be written");
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

}  // namespace

std::string formatSpecdict(const ReferenceData& data) {
  std::string out;
  for (const DictRecord& r : data.dictionary)
    out += right(data.species[r.species].number, 4) + " " + pad(r.key, kKeyWidth) + "\n";
  return out;
}

std::string formatAssoctab(const ReferenceData& data) {
  long records = 0;  // a species without entries gets no record
  for (const Species& s : data.species) records += !s.entries.empty();
  std::string out = right(static_cast<long>(data.entryCount()), 5) + right(records, 5) + "\n";
  std::string line;
  int onLine = 0;
  for (const Species& s : data.species) {
    for (const Entry& e : s.entries) {
      line += right(e.community, 3) + right(e.class_code, 2);
      if (++onLine == 15) {
        out += line + "\n";
        line.clear();
        onLine = 0;
      }
    }
  }
  if (onLine > 0) out += line + "\n";
  long first = 1;
  for (const Species& s : data.species) {
    if (s.entries.empty()) continue;
    long last = first + static_cast<long>(s.entries.size()) - 1;
    out += right(s.number, 5) + right(first, 5) + right(last, 5) + "\n";
    first = last + 1;
  }
  return out;
}

std::set<std::string> genera(const Sources& sources) {
  std::set<std::string> out;
  auto add = [&](const std::string& name) {
    std::string genus = name.substr(0, name.find(' '));
    if (!genus.empty()) out.insert(genus);
  };
  for (const auto& row : sources.taxa.rows()) add(row[sources.taxa.column("taxon")]);
  for (const auto& row : sources.name_lookup.rows())
    add(row[sources.name_lookup.column("original_name")]);
  return out;
}

std::vector<NvcRecord> nvcRecords(const ReferenceData& data, const Abbreviator& abbreviator) {
  std::vector<NvcRecord> records;
  std::map<std::string, std::string> communityWithName;     // group + name -> code
  std::map<std::string, std::string> subcommunityWithName;  // community + name -> code
  for (const Community& c : data.communities) {
    NvcRecord r;
    r.nvc_code = nvcCodeField(c.code);
    r.community_name = abbreviator.abbreviate(c.name, 24);
    if (!c.subname.empty()) r.subcommunity_name = abbreviator.abbreviate(c.subname, 16);
    if (c.eunis_code.size() > 8)
      throw std::runtime_error("EUNIS code " + c.eunis_code + " is too long");
    r.eunis_code = c.eunis_code;
    if (!c.eunis_name.empty()) r.eunis_name = abbreviator.abbreviate(c.eunis_name, 24);
    if (c.code.letter == ' ') {
      auto [it, fresh] =
          communityWithName.emplace(c.code.group + "|" + r.community_name, c.code_text);
      if (!fresh)
        throw std::runtime_error(c.code_text + " and " + it->second + " are both named '" +
                                 r.community_name + "'");
    } else {
      auto [it, fresh] =
          subcommunityWithName.emplace(c.code.community() + "|" + r.subcommunity_name, c.code_text);
      if (!fresh)
        throw std::runtime_error(c.code_text + " and " + it->second + " are both named '" +
                                 r.subcommunity_name + "'");
    }
    records.push_back(r);
  }
  return records;
}

std::string formatNvctypes(const std::vector<NvcRecord>& records) {
  std::string out;
  for (const NvcRecord& r : records)
    out += " " + pad(r.nvc_code, 6) + " " + pad(r.community_name, 24) +
           pad(r.subcommunity_name, 16) + pad(r.eunis_code, 8) + pad(r.eunis_name, 24) + "\n";
  return out;
}

namespace {

// The pages that list the special keys, group by group of species that
// share a natural key, so that the list never falls behind the dictionary.
void appendSpecialKeyPages(const ReferenceData& data,
                           std::vector<std::vector<std::string>>& pages) {
  const std::vector<std::string> heading = {
      "",
      "",
      "Each key on the left is shared by two species and stands",
      "for neither: typed, it brings up a menu offering both.",
      "Type the key of the species instead:",
      "",
      "    shared     key        species",
  };
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> groups;  // name, key
  for (const Species& s : data.species)
    if (!s.natural_key) groups[naturalKey(s.name)].emplace_back(s.name, s.key);
  std::vector<std::vector<std::string>> blocks;
  for (auto& [shared, members] : groups) {
    std::sort(members.begin(), members.end());
    std::vector<std::string> block;
    for (const auto& [name, key] : members)
      block.push_back("    " + (block.empty() ? shared : std::string(kKeyWidth, ' ')) + "  " + key +
                      "  " + name);
    blocks.push_back(block);
  }
  // A group is never split between two pages.
  std::size_t next = 0;
  do {
    std::string title = "SPECIAL NAME KEYS";
    std::string number = "page " + std::to_string(pages.size() + 1);
    pages.push_back(heading);
    pages.back()[0] =
        title + std::string(kHelpLineWidth - title.size() - number.size(), ' ') + number;
    std::size_t before = next;
    while (next < blocks.size() && pages.back().size() + blocks[next].size() <= kHelpPageLines) {
      pages.back().insert(pages.back().end(), blocks[next].begin(), blocks[next].end());
      ++next;
    }
    if (next == before && next < blocks.size())
      throw std::runtime_error("too many species share the key of " + blocks[next][0]);
  } while (next < blocks.size());
}

}  // namespace

std::string formatHelp(const std::string& text, const ReferenceData& data) {
  std::vector<std::vector<std::string>> pages(1);
  for (const std::string& line : lines(text)) {
    if (line == "%page") {
      pages.emplace_back();
      continue;
    }
    if (line.size() > kHelpLineWidth)
      throw std::runtime_error("help line longer than 60 characters: " + line);
    pages.back().push_back(line);
  }

  appendSpecialKeyPages(data, pages);

  std::string out;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (pages[p].size() > kHelpPageLines)
      throw std::runtime_error("help page " + std::to_string(p + 1) + " has more than 23 lines");
    for (const std::string& line : pages[p]) {
      if (line.size() > kHelpLineWidth) throw std::runtime_error("help line too long: " + line);
      out += line + "\n";
    }
    if (p + 1 < pages.size())
      for (std::size_t k = pages[p].size(); k < kHelpPageLines; ++k) out += "\n";
  }
  return out;
}

std::string versionLine(const std::string& text) {
  if (text.empty() || text.find('\n') != text.size() - 1 || text.find('\r') != std::string::npos ||
      text == "\n")
    throw std::runtime_error("version.txt must hold one line");
  return text;
}

void buildAll(const std::string& source_dir, const std::string& output_dir) {
  // Everything is read and formatted before the first file is written.
  Sources sources = Sources::read(source_dir);
  Attributes attributes = Attributes::read(source_dir);
  ReferenceData data = convert(sources);
  Abbreviator abbreviator(genera(sources));
  const std::vector<std::pair<std::string, std::string>> files = {
      {"SPECDICT.txt", formatSpecdict(data)},
      {"ASSOCTAB.txt", formatAssoctab(data)},
      {"NVCTYPES.txt", formatNvctypes(nvcRecords(data, abbreviator))},
      {"HELP.txt", formatHelp(readFile(source_dir + "/help_text.txt"), data)},
      {"NAMES.txt", formatNames(data)},
      {"UNITS.csv", formatUnits(data, attributes)},
      {"HABITATS.csv", formatHabitats(data, attributes)},
      {"INDICATORS.csv", formatIndicators(data, speciesIndicators(data, attributes).values)},
      {"FLORISTIC.csv", formatFloristic(data)},
      {"VERSION.txt", versionLine(readFile(source_dir + "/version.txt"))},
  };
  for (const auto& [name, text] : files) writeFile(output_dir + "/" + name, text);
}

}  // namespace nvcdata
