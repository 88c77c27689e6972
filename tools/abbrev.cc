#include "tools/abbrev.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>
#include <vector>

namespace nvcdata {

namespace {

// Hand-kept results for names the rules shorten badly: published name, field
// width, text for the field. Keep it small; the rules do the rest.
struct Override {
  const char* name;
  std::size_t width;
  const char* text;
};
const Override kOverrides[] = {
    // the rules give "J.comm.", which reads as "community"
    {"Calluna vulgaris-Juniperus communis ssp. nana heath", 24, "C.vulg.-J.communis heath"},
    {"Transitional low-marsh vegetation with Puccinellia maritima, annual "
     "Salicornia species and Suaeda maritima",
     24, "Low-marsh P.mar.-Salic."},
    {"Quercus spp.-Betula spp.-Deschampsia flexuosa woodland", 24, "Quercus-Betula-D.flex."},
    // without its subspecies it would read as S8
    {"Scirpus lacustris ssp. tabernaemontani swamp", 24, "S. tabernaemontani swamp"},
    {"Lolium perenne-Alopecurus pratensis-Festuca pratensis flood-pasture", 16, "Flood-pasture"},
    {"Empetrum nigrun hermaphroditum-Cetraria islandica subcommunity", 16, "E.nigr.-C.islan."},
    {"Free-floating vegetation of eutrophic waterbodies", 24, "Free-fl. eutr. waters"},
    {"Free-floating vegetation of mesotrophic waterbodies", 24, "Free-fl. mesotr. waters"},
    {"Rooted submerged vegetation of eutrophic waterbodies", 24, "R.subm. eutr. waters"},
    {"Rooted submerged vegetation of mesotrophic waterbodies", 24, "R.subm. mesotr. waters"},
    {"Rooted floating vegetation of eutrophic waterbodies", 24, "R.float. eutr. waters"},
    {"Rooted floating vegetation of mesotrophic waterbodies", 24, "R.float. mesotr. waters"},
    {"Rooted floating vegetation of temporary waterbodies", 24, "R.float. temp. waters"},
    {"Eutrophic vegetation of fast-flowing streams", 24, "Eutr. veg. fast streams"},
    {"Vegetation of brackish waters dominated by Ranunculus "
     "baudotii",
     24, "Brackish R.baudotii veg."},
    {"Euro-Siberian perennial amphibious communities", 24, "Euro-Sib. amphib. comms."},
    {"Sub-Atlantic semi-dry calcareous grassland", 24, "Sub-Atl. semi-dry calc."},
    {"Boreo-alpine acidocline snow-patch grassland and herb "
     "habitats",
     24, "Snow-patch grass & herb"},
    {"Boreo-alpine acidocline snow-patch Salix herbacea scrub", 24, "Snow-patch S.herbacea"},
    {"Boreo-Atlantic Erica cinerea heaths", 24, "Boreo-Atl. Erica heaths"},
    {"Submontane Vaccinium - Calluna heaths", 24, "Submontane Vacc.-Calluna"},
    {"British black-white-star sedge acidic fens", 24, "Brit. sedge acidic fens"},
    {"Carex dioica, Carex pulicaris and Carex flava fens", 24, "C.dioica-C.pulic. fens"},
    {"Hyperoceanic low-altitude blanket bogs, typically with dominant "
     "Trichophorum",
     24, "Hyperocean. blanket bogs"},
    {"Raised bog hummocks, ridges and lawns", 24, "Raised bog hummocks"},
    {"Hiberno-Britannic Eriophorum-Calluna blanket bogs", 24, "Eriophorum-Calluna bogs"},
    {"Britannic Eriophorum vaginatum blanket bogs", 24, "Brit. E.vaginatum bogs"},
    {"Atlantic and sub-Atlantic humid meadows", 24, "Atl. humid meadows"},
    {"Molinia caerulea meadows and related communities", 24, "M.caerulea meadows"},
    {"Permanent mesotrophic pastures and aftermath-grazed meadows", 24, "Mesotrophic pastures"},
    {"Dry or moist agriculturally-improved grassland", 24, "Improved grassland"},
    {"Flood swards and related communities", 24, "Flood swards"},
    {"Arable land with unmixed crops grown by low-intensity agricultural "
     "methods",
     24, "Low-intensity arable"},
    {"Mixed crops of market gardens and horticulture", 24, "Market gardens"},
    {"Small-scale ornamental and domestic garden areas", 24, "Domestic gardens"},
    {"Weed communities of recently abandoned urban and suburban "
     "constructions",
     24, "Urban weed comms."},
    {"Moist or wet tall-herb and fern fringes and meadows", 24, "Tall-herb & fern fringes"},
    {"Middle-European calcareous fern cliffs", 24, "Calc. fern cliffs"},
    {"Urban and suburban derelict spaces", 24, "Urban derelict spaces"},
    {"Buildings of cities, towns and villages", 24, "Buildings of settlements"},
    {"Water-fringe medium-tall grass beds", 24, "Water-fringe grass beds"},
    {"Medium-tall non-graminoid waterside communities", 24, "Non-graminoid waterside"},
    {"Beds of small helophytes of fast-flowing waters", 24, "Small helophyte beds"},
    {"Phragmites australis beds normally without free-standing "
     "water",
     24, "P.aust. beds, no water"},
    {"Boreo-arctic sand beach perennial communities", 24, "Boreo-arct. sand beach"},
    {"Dune fine-grass annual communities", 24, "Dune fine-grass annuals"},
    {"Seagrass beds on littoral sediments", 24, "Littoral seagrass beds"},
    {"Annual Salicornia, Suaeda and Puccinellia maritima low-mid "
     "saltmarshes",
     24, "Annual Salicornia saltm."},
    {"Rayed Aster tripolium pioneer saltmarshes", 24, "Rayed A.tripolium saltm."},
    {"Juncus maritimus mid-upper saltmarshes with Triglochin "
     "maritima",
     24, "J.marit.-T.marit. saltm."},
    {"Mid-upper saltmarshes: Artemisia maritima with Festuca rubra, or open "
     "canopy of Artemisia maritima and Halimione",
     24, "A.maritima upper saltm."},
    {"Atlantic saltmarsh and drift rough grass communities", 24, "Atl. saltm. rough grass"},
    {"Perennial open siliceous grassland", 24, "Open siliceous grassland"},
    {"Heath Juncus meadows and humid Nardus stricta swards", 24, "Heath Juncus, N.stricta"},
    {"Oroboreal [Carex bigelowii]-[Rhacomitrium] moss-heaths", 24, "C.bigelowii-Racom. heath"},
    {"Britannic chionophilous boreo-montane heaths", 24, "Chionophilous heaths"},
    {"Oro-boreal tall-herb communities", 24, "Oro-boreal tall-herb"},
    {"Boreo-alpine fern snowbed grassland", 24, "Fern snowbed grassland"},
    {"Medio-European upland siliceous screes", 24, "Upland siliceous screes"},
    {"Alnus swamp woods not on acid peat", 24, "Alnus swamp, not acid"},
    {"Fraxinus - Alnus woods of rivulets and springs", 24, "Frax.-Alnus spring woods"},
    {"British Fraxinus - Acer campestre - Mercurialis perennis "
     "forests",
     24, "Frax.-Acer-Mercur. woods"},
    {"Fraxinus - Sorbus aucuparia - Mercurialis perennis forests", 24, "Frax.-Sorbus-Merc. woods"},
    {"Mixed Atlantic Quercus forests with Hyacinthoides "
     "non-scripta",
     24, "Quercus-Hyacinth. woods"},
    {"Medio-European neutrophile Fagus forests", 24, "Neutrophile Fagus forest"},
    {"Atlantic acidophilous Fagus forests", 24, "Atl. acid Fagus forests"},
    {"Atlantic acidophilous Fagus - Quercus forests", 24, "Atl. acid Fagus-Quercus"},
    {"Medio-European rich-soil thickets", 24, "Rich-soil thickets"},
};

// Genus names that occur in the published unit names (older or misspelt
// forms) but not among the taxon names.
const char* const kExtraGenera[] = {
    "Arthrocnemum", "Bilderdykia", "Cochlearis", "Cornicularia", "Halimione",    "Herberta",
    "Hylocomnium",  "Hypochoeris", "Isoetes",    "Loisleuria",   "Ricciocarpus",
};

// Step 1: the usual short forms of common words (matched without regard to
// an initial capital, which the short form keeps).
const std::pair<const char*, const char*> kCommonWords[] = {
    // the NVC names
    {"community", "comm."},
    {"communities", "comms."},
    {"grassland", "grassl."},
    {"grasslands", "grassl."},
    {"vegetation", "veg."},
    {"woodland", "woodl."},
    {"woodlands", "woodl."},
    {"salt-marsh", "saltm."},
    {"maritime", "marit."},
    {"species-poor", "sp.-poor"},
    {"underscrub", "underscr."},
    // and the EUNIS names
    {"saltmarsh", "saltm."},
    {"saltmarshes", "saltm."},
    {"waterbodies", "waters"},
    {"atlantic", "Atl."},
    {"european", "Eur."},
    {"british", "Brit."},
    {"britannic", "Brit."},
    {"northern", "N."},
    {"mesotrophic", "mesotr."},
    {"eutrophic", "eutr."},
    {"oligotrophic", "oligotr."},
    {"dystrophic", "dystr."},
    {"calcareous", "calc."},
    {"siliceous", "silic."},
    {"submerged", "subm."},
    {"free-floating", "free-fl."},
    {"floating", "float."},
    {"temporary", "temp."},
    {"perennial", "perenn."},
    {"amphibious", "amphib."},
    {"acidocline", "acidocl."},
    {"boreo-alpine", "boreo-alp."},
    {"dominated", "dom."},
    {"brackish", "brack."},
    {"constructions", "constr."},
    {"abandoned", "aband."},
    {"recently", "recent."},
    {"medium-tall", "med.-tall"},
    {"mid-upper", "mid-up."},
    {"meadows", "mead."},
};

// Step 6: words a reader supplies without help.
const char* const kSmallWords[] = {"of", "and", "with", "the", "on", "in",
                                   "or", "by",  "to",   "a",   "an"};

// English words that may follow a genus name ("Salicornia salt-marsh
// community", "Typha beds") and are not its epithet.
const char* const kNotEpithets[] = {
    "beds",      "carr",   "communities", "community", "dune",    "fens",   "forests",
    "grassland", "heath",  "heaths",      "mats",      "meadows", "mires",  "moss-heaths",
    "pioneer",   "rafts",  "salt-marsh",  "scrub",     "species", "stands", "subcommunity",
    "swamp",     "swards", "thickets",    "woods",
};

// Markers of aggregates and infraspecific ranks; the first three are followed
// by the name of the rank.
const char* const kRankWords[] = {"ssp.",  "subsp.", "var.",  "agg.", "s.l.", "s.str.",
                                  "sens.", "lat.",   "sensu", "sp.",  "spp."};

enum class Kind { kGenus, kEpithet, kRank, kInfra, kWord };

struct Token {
  std::string sep;    // what stands before the token: "", " " or "-"
  std::string lead;   // opening brackets
  std::string core;   // the word itself
  std::string trail;  // closing brackets and punctuation
  Kind kind = Kind::kWord;
  bool paren = false;  // inside a parenthetical remark
  bool fixed = false;  // a short form or an initial: never cut further
  bool removed = false;
  std::size_t stem = 0;  // letters kept when cut back (0: whole word)
};

bool isVowel(char c) { return std::string("aeiouyAEIOUY").find(c) != std::string::npos; }

std::string lowerCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string text(const Token& t) {
  if (t.stem == 0) return t.core;
  return t.core.substr(0, t.stem) + ".";
}

std::string render(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& t : tokens) {
    if (t.removed) continue;
    if (!out.empty()) out += t.sep;
    out += t.lead + text(t) + t.trail;
  }
  return out;
}

std::string normalise(const std::string& name) {
  std::string s;
  for (char c : toAscii(name))
    if (c != '[' && c != ']') s += c;
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s.compare(i, 3, " - ") == 0) {
      out += '-';
      i += 2;
    } else if (s[i] == ' ' && (out.empty() || out.back() == ' ')) {
      continue;
    } else {
      out += s[i];
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// A subcommunity is known to be one from its field.
std::string withoutSubcommunity(std::string s) {
  for (const char* tail : {" subcommunity", " subc"}) {
    std::string t(tail);
    if (s.size() > t.size() && lowerCase(s.substr(s.size() - t.size())) == t)
      s.erase(s.size() - t.size());
  }
  return s;
}

// Takes a name apart into words; a hyphen followed by a capital joins two
// names ("Calluna vulgaris-Festuca ovina") and separates tokens.
std::vector<Token> tokenize(const std::string& s, const std::set<std::string>& genera) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  bool paren = false;
  while (i < s.size()) {
    std::size_t end = s.find(' ', i);
    if (end == std::string::npos) end = s.size();
    std::string word = s.substr(i, end - i);
    std::string sep = tokens.empty() ? "" : " ";
    std::size_t from = 0;
    for (std::size_t k = 0; k <= word.size(); ++k) {
      bool split = k < word.size() && word[k] == '-' && k + 1 < word.size() &&
                   std::isupper(static_cast<unsigned char>(word[k + 1]));
      if (k != word.size() && !split) continue;
      Token t;
      t.sep = sep;
      std::string w = word.substr(from, k - from);
      while (!w.empty() && (w.front() == '(')) {
        t.lead += w.front();
        w.erase(0, 1);
      }
      while (!w.empty() && std::string("),;:").find(w.back()) != std::string::npos) {
        t.trail.insert(0, 1, w.back());
        w.pop_back();
      }
      // "Sphagnum." for "Sphagnum": a stray full stop after a genus
      if (w.size() > 2 && w.back() == '.' && genera.count(w.substr(0, w.size() - 1))) w.pop_back();
      t.core = w;
      if (!t.lead.empty()) paren = true;
      t.paren = paren;
      if (t.trail.find(')') != std::string::npos) paren = false;
      tokens.push_back(t);
      sep = "-";
      from = k + 1;
    }
    i = end + 1;
  }
  return tokens;
}

// The kind of every token: genus, its epithet, rank marker, rank name or
// other word.
void classify(std::vector<Token>& tokens, const std::set<std::string>& genera) {
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    Token& t = tokens[k];
    if (t.core.empty()) continue;
    const Token* prev = k > 0 ? &tokens[k - 1] : nullptr;
    bool rank = std::find_if(std::begin(kRankWords), std::end(kRankWords),
                             [&](const char* r) { return t.core == r; }) != std::end(kRankWords);
    if (rank) {
      t.kind = Kind::kRank;
    } else if (prev && prev->kind == Kind::kRank &&
               (prev->core == "ssp." || prev->core == "subsp." || prev->core == "var.")) {
      t.kind = Kind::kInfra;
    } else if (std::isupper(static_cast<unsigned char>(t.core[0])) && genera.count(t.core)) {
      t.kind = Kind::kGenus;
    } else if (std::islower(static_cast<unsigned char>(t.core[0])) && prev &&
               prev->kind == Kind::kGenus && t.sep == " " && prev->trail.empty() &&
               std::find_if(std::begin(kNotEpithets), std::end(kNotEpithets),
                            [&](const char* w) { return t.core == w; }) == std::end(kNotEpithets)) {
      t.kind = Kind::kEpithet;
    }
  }
}

// Step 1: common words get their short forms, keeping an initial capital.
void shortenCommonWords(std::vector<Token>& tokens) {
  for (Token& t : tokens) {
    if (t.kind != Kind::kWord) continue;
    std::string lower = lowerCase(t.core);
    for (const auto& [word, shortForm] : kCommonWords) {
      if (lower != word) continue;
      std::string replacement = shortForm;
      if (std::isupper(static_cast<unsigned char>(t.core[0])))
        replacement[0] =
            static_cast<char>(std::toupper(static_cast<unsigned char>(replacement[0])));
      t.core = replacement;
      t.fixed = true;
    }
  }
}

// Step 2: infraspecific parts and parenthetical remarks go.
void dropInfraspecificParts(std::vector<Token>& tokens) {
  for (Token& t : tokens) {
    if (t.paren || t.kind == Kind::kInfra ||
        (t.kind == Kind::kRank && t.core != "spp." && t.core != "sp."))
      t.removed = true;
  }
}

// Step 3: a genus followed by its epithet is cut to its initial.
void cutGeneraToInitials(std::vector<Token>& tokens) {
  for (std::size_t k = 0; k + 1 < tokens.size(); ++k) {
    if (tokens[k].kind == Kind::kGenus && tokens[k + 1].kind == Kind::kEpithet &&
        !tokens[k + 1].removed) {
      tokens[k].core = tokens[k].core.substr(0, 1) + ".";
      tokens[k].fixed = true;
    }
  }
}

// Step 4: the blank after an initial goes.
void closeUpInitials(std::vector<Token>& tokens) {
  for (std::size_t k = 1; k < tokens.size(); ++k)
    if (tokens[k].kind == Kind::kEpithet && tokens[k - 1].fixed) tokens[k].sep = "";
}

// Step 5: small words go.
void dropSmallWords(std::vector<Token>& tokens) {
  for (Token& t : tokens) {
    std::string lower = lowerCase(t.core);
    if (t.kind == Kind::kWord &&
        std::find(std::begin(kSmallWords), std::end(kSmallWords), lower) != std::end(kSmallWords))
      t.removed = true;
  }
}

// Steps 6 and 8: the longest words are cut back one letter at a time, to
// stems of at least `minStem` letters, until the name fits `width` or
// nothing more can be cut.
void cutBack(std::vector<Token>& tokens, std::size_t width, std::size_t minStem) {
  while (render(tokens).size() > width) {
    int best = -1;
    std::size_t bestLength = 0;
    std::size_t bestStem = 0;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      const Token& t = tokens[k];
      if (t.removed || t.fixed || t.kind == Kind::kRank) continue;
      std::size_t length = text(t).size();
      if (t.core.size() < 3) continue;
      // the cut form, stem and full stop, must be shorter than the text now
      std::size_t stem = t.stem == 0 ? t.core.size() - 2 : t.stem - 1;
      // a stem ends in a consonant where it can, and never in a hyphen
      while (stem > minStem && isVowel(t.core[stem - 1])) --stem;
      while (stem > 0 && (t.core[stem - 1] == '-' || t.core[stem - 1] == '/')) --stem;
      if (stem < minStem) continue;
      if (length >= bestLength) {
        best = static_cast<int>(k);
        bestLength = length;
        bestStem = stem;
      }
    }
    if (best < 0) return;
    tokens[best].stem = bestStem;
  }
}

// Step 7: a name of two or more species drops the words after the last one
// ("woodland", "comm."): the group of the community implies them. False for
// a name of fewer species, which is left as it is.
bool dropWordsAfterTheLastName(std::vector<Token>& tokens) {
  std::size_t names = 0, lastName = 0;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (tokens[k].kind == Kind::kGenus) ++names;
    if (tokens[k].kind == Kind::kGenus || tokens[k].kind == Kind::kEpithet ||
        tokens[k].kind == Kind::kRank)
      lastName = k;
  }
  if (names < 2) return false;
  for (std::size_t k = lastName + 1; k < tokens.size(); ++k) tokens[k].removed = true;
  return true;
}

// Step 9, the last resort: whole words from the end, then the field width.
std::string dropWordsFromTheEnd(std::vector<Token>& tokens, std::size_t width) {
  for (std::size_t k = tokens.size(); k-- > 1 && render(tokens).size() > width;) {
    if (tokens[k].removed) continue;
    tokens[k].removed = true;
  }
  std::string out = render(tokens).substr(0, width);
  while (!out.empty() && std::string(" -,/:").find(out.back()) != std::string::npos) out.pop_back();
  return out;
}

// `text` in ASCII; `complete` is cleared when a character had to be dropped.
std::string ascii(const std::string& text, bool& complete) {
  static const char kC3[64 + 1] =
      "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
  std::string out;
  complete = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned char d = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c == 0xC3 && d >= 0x80 && d <= 0xBF) {
      // the ligatures of Latin words keep both letters: "madreporaeformis"
      out += d == 0x86 ? "Ae" : d == 0xA6 ? "ae" : std::string(1, kC3[d - 0x80]);
      ++i;
    } else if (c == 0xC5 && (d == 0x92 || d == 0x93)) {
      out += d == 0x92 ? "Oe" : "oe";
      ++i;
    } else if (c == 0xE2 && d == 0x80 && i + 2 < text.size()) {
      unsigned char e = static_cast<unsigned char>(text[i + 2]);
      if (e == 0x93 || e == 0x94) {
        out += '-';
      } else if (e == 0x98 || e == 0x99) {
        out += '\'';
      } else {
        complete = false;
      }
      i += 2;
    } else {
      complete = false;  // any other byte of a multi-byte character is dropped
    }
  }
  return out;
}

}  // namespace

std::string toAscii(const std::string& text) {
  bool complete = true;
  return ascii(text, complete);
}

bool turnsToAscii(const std::string& text) {
  bool complete = true;
  ascii(text, complete);
  return complete;
}

Abbreviator::Abbreviator(std::set<std::string> genera) : genera_(std::move(genera)) {
  for (const char* g : kExtraGenera) genera_.insert(g);
}

std::string Abbreviator::abbreviate(const std::string& name, std::size_t width) const {
  std::string published = normalise(name);
  for (const Override& o : kOverrides)
    if (o.width == width && published == o.name) return o.text;
  return abbreviateByRule(name, width);
}

std::string Abbreviator::abbreviateByRule(const std::string& name, std::size_t width) const {
  std::string s = withoutSubcommunity(normalise(name));
  if (s.size() <= width) return s;

  std::vector<Token> tokens = tokenize(s, genera_);
  classify(tokens, genera_);
  auto fits = [&] { return render(tokens).size() <= width; };

  shortenCommonWords(tokens);  // 1.
  if (fits()) return render(tokens);
  dropInfraspecificParts(tokens);  // 2.
  if (fits()) return render(tokens);
  cutGeneraToInitials(tokens);  // 3.
  if (fits()) return render(tokens);
  closeUpInitials(tokens);  // 4.
  if (fits()) return render(tokens);
  dropSmallWords(tokens);  // 5.
  if (fits()) return render(tokens);
  cutBack(tokens, width, 4);  // 6.
  if (fits()) return render(tokens);
  if (dropWordsAfterTheLastName(tokens)) {  // 7.
    for (Token& t : tokens) t.stem = 0;
    cutBack(tokens, width, 4);
    if (fits()) return render(tokens);
  }
  std::vector<Token> saved = tokens;  // 8.
  cutBack(tokens, width, 3);
  if (fits()) return render(tokens);
  tokens = saved;
  return dropWordsFromTheEnd(tokens, width);  // 9.
}

}  // namespace nvcdata
