#include "vegfit/options.h"

#include <charconv>

#include "common/installation.h"
#include "engine/tables.h"

namespace vegfit {

namespace {

enum Code {
  kScale,
  kType,
  kTop,
  kGroups,
  kGroupBy,
  kSampleColumn,
  kSpeciesColumn,
  kCoverColumn,
  kSeparator,
  kDropUnmatched,
  kExplain,
  kTable,
  kFormat,
  kData,
  kOutput,
  kForce,
  kHelp,
  kVersion,
};

struct Option {
  const char* name;  // the long name, without its dashes
  char letter;       // the short name, or 0
  bool value;        // takes a value
  Code code;
};

// In the order --help shows them.
constexpr Option kOptions[] = {
    {"scale", 0, true, kScale},
    {"type", 0, true, kType},
    {"top", 0, true, kTop},
    {"groups", 0, true, kGroups},
    {"sample-column", 0, true, kSampleColumn},
    {"species-column", 0, true, kSpeciesColumn},
    {"cover-column", 0, true, kCoverColumn},
    {"separator", 0, true, kSeparator},
    {"group-by", 0, true, kGroupBy},
    {"drop-unmatched", 0, false, kDropUnmatched},
    {"explain", 0, false, kExplain},
    {"table", 0, false, kTable},
    {"format", 0, true, kFormat},
    {"data", 0, true, kData},
    {"output", 'o', true, kOutput},
    {"force", 0, false, kForce},
    {"help", 'h', false, kHelp},
    {"version", 0, false, kVersion},
};

bool wholeNumber(std::string_view s, int low, int high, int& value) {
  int number = 0;
  auto [end, fault] = std::from_chars(s.data(), s.data() + s.size(), number);
  if (fault != std::errc() || end != s.data() + s.size() || number < low || number > high)
    return false;
  value = number;
  return true;
}

// The place of `value` among `names` (1, 2, ...), 0 when it is none of them.
int choice(std::string_view value, std::initializer_list<const char*> names) {
  int place = 1;
  for (const char* name : names) {
    if (value == name) return place;
    ++place;
  }
  return 0;
}

// A list of column names, "Site,Year,Quadrat": false for an empty name.
bool columnList(std::string_view value, std::vector<std::string>& columns) {
  columns.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    std::string_view part = value.substr(start, comma - start);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (part.empty()) return false;
    columns.emplace_back(part);
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

std::string quotedValue(std::string_view value) { return "'" + std::string(value) + "'"; }

// The settings of the options that take a choice of words.
bool takeChoice(Code code, std::string_view value, Options& options, std::string& error) {
  switch (code) {
    case kScale: {
      const int scale = choice(value, {"percent", "braun-blanquet", "domin"});
      if (scale == 0) {
        error = "--scale takes percent, braun-blanquet or domin, not " + quotedValue(value);
        return false;
      }
      options.cover_scale = scale;
      options.scale_given = true;
      return true;
    }
    case kGroups: {
      const int groups = choice(value, {"all", "no-lichens", "vascular"});
      if (groups == 0) {
        error = "--groups takes all, no-lichens or vascular, not " + quotedValue(value);
        return false;
      }
      options.species_limit = groups == 1 ? 10000 : groups == 2 ? 4000 : 3000;
      return true;
    }
    case kSeparator: {
      const int separator = choice(value, {"comma", "semicolon", "tab", ",", ";"});
      if (separator == 0) {
        error = "--separator takes comma, semicolon or tab, not " + quotedValue(value);
        return false;
      }
      options.separator = "\0,;\t,;"[separator];
      return true;
    }
    default: {
      const int format = choice(value, {"csv", "json", "html"});
      if (format == 0) {
        error = "--format takes csv, json or html, not " + quotedValue(value);
        return false;
      }
      options.format = format == 1 ? Format::kCsv : format == 2 ? Format::kJson : Format::kHtml;
      return true;
    }
  }
}

// The settings of the options that name columns.
bool takeColumns(Code code, std::string_view value, Options& options, std::string& error) {
  const char* name = code == kGroupBy         ? "--group-by"
                     : code == kSampleColumn  ? "--sample-column"
                     : code == kSpeciesColumn ? "--species-column"
                                              : "--cover-column";
  std::vector<std::string> columns;
  if (!columnList(value, columns)) {
    error = std::string(name) + " needs the name of a column";
    return false;
  }
  if ((code == kSpeciesColumn || code == kCoverColumn) && columns.size() > 1) {
    error = std::string(name) + " takes one column, not " + quotedValue(value);
    return false;
  }
  switch (code) {
    case kGroupBy: options.group_by = std::move(columns); break;
    case kSampleColumn: options.sample_columns = std::move(columns); break;
    case kSpeciesColumn: options.species_column = columns.front(); break;
    default: options.cover_column = columns.front(); break;
  }
  return true;
}

// Takes option `code` with its value; false, with `error` set, when the
// value is not one the option takes.
bool takeOption(Code code, std::string_view value, Options& options, std::string& error) {
  switch (code) {
    case kType:
      if (!wholeNumber(value, 1, 5, options.analysis_type)) {
        error = "--type takes a number from 1 to 5, not " + quotedValue(value);
        return false;
      }
      return true;
    case kTop:
      if (!wholeNumber(value, 1, engine::kMaxOutput, options.top)) {
        error = "--top takes a number from 1 to 99, not " + quotedValue(value);
        return false;
      }
      return true;
    case kScale:
    case kGroups:
    case kSeparator:
    case kFormat: return takeChoice(code, value, options, error);
    case kGroupBy:
    case kSampleColumn:
    case kSpeciesColumn:
    case kCoverColumn: return takeColumns(code, value, options, error);
    case kData: options.data_dir = value; return true;
    case kOutput:
      if (value.empty()) {
        error = "-o needs a file name";
        return false;
      }
      options.output = value;
      return true;
    case kDropUnmatched: options.drop_unmatched = true; return true;
    case kExplain:
      if (!value.empty() && value != "best" && value != "all") {
        error = "--explain takes best or all, not " + quotedValue(value);
        return false;
      }
      options.explain = true;
      options.explain_all = value == "all";
      return true;
    case kTable: options.table = true; return true;
    case kForce: options.force = true; return true;
    case kHelp: options.help = true; return true;
    case kVersion: options.version = true; return true;
  }
  return true;
}

// The option a long argument names: its whole name, or the start of
// exactly one name. Null, with `error` set, for none or several.
const Option* longOption(std::string_view name, std::string& error) {
  const Option* found = nullptr;
  int starts = 0;
  for (const Option& o : kOptions) {
    if (name == o.name) return &o;
    if (!name.empty() && std::string_view(o.name).substr(0, name.size()) == name) {
      found = &o;
      ++starts;
    }
  }
  if (starts == 1) return found;
  error = starts == 0 ? "unknown option '--" + std::string(name) + "'"
                      : "option '--" + std::string(name) + "' is ambiguous";
  return nullptr;
}

const Option* shortOption(char letter) {
  for (const Option& o : kOptions)
    if (o.letter == letter && letter != 0) return &o;
  return nullptr;
}

// One argument that starts with "--": the option, with its value from
// "=VALUE" or the next argument.
bool takeLong(const std::vector<std::string>& args, std::size_t& i, Options& options,
              std::string& error) {
  const std::string_view arg = std::string_view(args[i]).substr(2);
  const std::size_t equals = arg.find('=');
  const Option* o = longOption(arg.substr(0, equals), error);
  if (o == nullptr) return false;
  const std::string shown = std::string("--") + o->name;
  if (o->code == kExplain) {
    // An optional value: "--explain=all", or "all" or "best" after it.
    if (equals != std::string_view::npos) return takeOption(o->code, arg.substr(equals + 1), options, error);
    if (i + 1 < args.size() && (args[i + 1] == "all" || args[i + 1] == "best"))
      return takeOption(o->code, args[++i], options, error);
    return takeOption(o->code, {}, options, error);
  }
  if (!o->value) {
    if (equals != std::string_view::npos) {
      error = "option '" + shown + "' takes no value";
      return false;
    }
    return takeOption(o->code, {}, options, error);
  }
  if (equals != std::string_view::npos)
    return takeOption(o->code, arg.substr(equals + 1), options, error);
  if (i + 1 >= args.size()) {
    error = "option '" + shown + "' needs a value";
    return false;
  }
  return takeOption(o->code, args[++i], options, error);
}

// One argument of short options, "-h", "-o FILE" or "-oFILE".
bool takeShort(const std::vector<std::string>& args, std::size_t& i, Options& options,
               std::string& error) {
  const std::string& arg = args[i];
  for (std::size_t at = 1; at < arg.size(); ++at) {
    const Option* o = shortOption(arg[at]);
    if (o == nullptr) {
      error = "unknown option '-" + std::string(1, arg[at]) + "'";
      return false;
    }
    if (!o->value) {
      if (!takeOption(o->code, {}, options, error)) return false;
      continue;
    }
    if (at + 1 < arg.size()) return takeOption(o->code, arg.substr(at + 1), options, error);
    if (i + 1 >= args.size()) {
      error = "option '-" + std::string(1, o->letter) + "' needs a value";
      return false;
    }
    return takeOption(o->code, args[++i], options, error);
  }
  return true;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  bool only_files = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_files || arg == "-" || arg.empty() || arg[0] != '-') {
      options.files.push_back(arg);
    } else if (arg == "--") {
      only_files = true;
    } else if (arg[1] == '-') {
      if (!takeLong(args, i, options, error)) return false;
    } else if (!takeShort(args, i, options, error)) {
      return false;
    }
  }
  if (options.files.empty() && !options.help && !options.version) {
    error = "no input file";
    return false;
  }
  if (options.table && options.group_by.empty() && !options.help && !options.version) {
    error = "--table needs --group-by: it shows the constancy table of each stand";
    return false;
  }
  return true;
}

std::vector<std::string> optionNames() {
  std::vector<std::string> names;
  for (const Option& o : kOptions) names.emplace_back(o.name);
  for (const Option& o : kOptions)
    if (o.letter != 0) names.emplace_back(1, o.letter);
  return names;
}

std::vector<std::string> helpText() {
  return {
      "Usage: vegfit [options] FILE...",
      "Identifies the NVC community of vegetation samples by goodness of fit to",
      "the NVC association tables, with the engine of vegmatch, and writes one",
      "row per sample and rank.",
      "",
      "FILE is a CSV file (name ending in .csv) with a header row naming the",
      "columns sample, species and cover, and optionally frequency and",
      "max_frequency (other columns are ignored); or a sample file as vegmatch",
      "reads and writes it. \"-\" reads standard input, which is taken as CSV",
      "when its first line names the columns sample, species and cover.",
      "",
      "Options:",
      "  --scale percent|braun-blanquet|domin",
      "                       cover scale of the input (default percent); a",
      "                       sample file's scale label (COVR%, BR-BL, DOMIN)",
      "                       sets the scale of its sample",
      "  --type 1..5          analysis type, as in vegmatch (default 1):",
      "                       1 mixed composition and cover, 2 species",
      "                       composition only, 3 species cover only,",
      "                       4 incomplete species list only, 5 top few",
      "                       species in descending abundance, no quantities",
      "  --top N              communities per sample, 1..99 (default 5)",
      "  --groups all|no-lichens|vascular",
      "                       species groups taking part (default all)",
      "  --sample-column COL[,COL...]",
      "                       the CSV column, or columns together, that name a",
      "                       sample (default: the column sample, quadrat,",
      "                       plot, releve or sample id); the parts of a name",
      "                       of several columns are joined by \"/\"",
      "  --species-column COL the CSV column of the species names (default:",
      "                       species, taxon, species name, scientific name)",
      "  --cover-column COL   the CSV column of the covers (default: cover,",
      "                       abundance, domin, braun-blanquet, percent cover)",
      "  --separator comma|semicolon|tab",
      "                       CSV separator (default: found from the header",
      "                       row); with semicolon or tab a decimal comma",
      "                       reads as a decimal point",
      "  --group-by COL[,COL...]",
      "                       compose one sample per value of COL (CSV input)",
      "                       from its quadrats (the sample column): maximum",
      "                       frequency = quadrats in the group, frequency =",
      "                       quadrats holding the species, cover = its mean",
      "                       cover where present; over 100 quadrats the",
      "                       frequencies are scaled to a maximum of 100",
      "  --drop-unmatched     leave names that match no species out of their",
      "                       samples (by default each counts as a species of",
      "                       no community, as in vegmatch)",
      "  --explain [best|all]",
      "                       also list, for each sample's best community (all:",
      "                       every community shown), each species of the",
      "                       sample with its constancy and Domin cover range",
      "                       in the community's table (species_account), the",
      "                       species of constancy IV and V the sample lacks",
      "                       (missing_constants) and the sample's species",
      "                       the table lacks (not_in_table)",
      "  --table              with --group-by: instead of the results, each",
      "                       stand's constancy table (quadrats holding each",
      "                       species, class I-V, cover) beside the table of",
      "                       its best community, one row per species",
      "  --format csv|json|html",
      "                       output format (default csv); html: a report of",
      "                       one page per sample with its charts and species",
      "                       table (every result explained), for -o FILE",
      "  --data DIR           reference files SPECDICT.txt, ASSOCTAB.txt,",
      "                       NVCTYPES.txt and the names table (default: the",
      "                       shipped data)",
      "  -o, --output FILE    write to FILE instead of standard output; an",
      "                       existing file is refused unless --force",
      "  --force              let -o replace an existing file",
      "  -h, --help           show this help and exit",
      "  --version            show the version and exit",
      "",
      "Output: one row per sample and rank with the columns sample, rank,",
      "nvc_code, community, subcommunity, eunis_code, eunis_name, fit, grade,",
      "community_composition_fit, sample_composition_fit, community_cover_fit,",
      "sample_cover_fit, species (species scored), unmatched (names matching",
      "no species) and status (\"ok\"; with --group-by over 100 quadrats \"ok:",
      "frequencies scaled ...\"); then the community's full names, its",
      "habitats (Annex I, Priority and Broad Habitats, Phase 1, EUNIS, NPMS),",
      "its species per plot, the sample's mean Hill-Ellenberg values (F, L,",
      "N, R, S; also weighted by cover) beside the community's mean and",
      "standard deviation; with several input files first a column file;",
      "with --explain the explanation columns last. Fit and coefficients are",
      "whole percentages, as vegmatch prints them; columns the analysis type",
      "does not use are 0. Only communities with a fit are listed; a sample",
      "with none has one row without rank, code or fit and the status \"no",
      "species matched\" or \"no community fits\". JSON output is an array of",
      "one object per row with the same names (null where a CSV field is",
      "empty). docs/vegfit-output.md describes every column.",
      "",
      "Species names are matched in full (any case, extra blanks, accents,",
      "\"agg.\", \"s.l.\", \"sens. lat.\" and the layer suffixes \"(c)\", \"(s)\",",
      "\"(g)\" ignored), then without an authority (\"L.\", \"(L.) P.Beauv.\"),",
      "an infraspecific name as its species when it has no row of its own,",
      "then by their name key (4 letters of the genus and 4 of the epithet).",
      "A name standing for two species is reported and left out; a name",
      "matching nothing is reported with close names.",
      "",
      "Covers: numbers (a decimal comma with semicolon or tab separators),",
      "percentages with %, ranges (5-10, their middle), <1 (the lowest value",
      "of the scale), Braun-Blanquet r + 1 2m 2a 2 2b 3 4 5, Domin + 1..10;",
      "blank, NA, p, x or present mean present without a cover (0).",
      "",
      "Exit status: 0 when every sample was scored and written, 1 for input",
      "that cannot be read (every faulty line is reported and nothing is",
      "written), missing reference data or output that cannot be written,",
      "2 for a usage error.",
  };
}

std::vector<std::string> versionText(const std::string& data_version) {
  return {std::string("vegfit ") + veg::suiteVersion() +
              " (VEGMATCH suite, scoring of vegmatch Version 2)",
          "reference data: " +
              (data_version.empty() ? std::string("version not known") : data_version)};
}

}  // namespace vegfit
