#include "vegfit/options.h"

#include <getopt.h>

#include <charconv>

#include "engine/tables.h"

namespace vegfit {

namespace {

enum LongOnly {
  kScale = 256,
  kType,
  kTop,
  kGroups,
  kGroupBy,
  kExplain,
  kFormat,
  kData,
  kForce,
  kVersion,
};

// The leading colon makes getopt_long tell a missing value from an unknown
// option.
constexpr char kShortOptions[] = ":ho:";

const option kLongOptions[] = {
    {"scale", required_argument, nullptr, kScale},
    {"type", required_argument, nullptr, kType},
    {"top", required_argument, nullptr, kTop},
    {"groups", required_argument, nullptr, kGroups},
    {"group-by", required_argument, nullptr, kGroupBy},
    {"explain", no_argument, nullptr, kExplain},
    {"format", required_argument, nullptr, kFormat},
    {"data", required_argument, nullptr, kData},
    {"output", required_argument, nullptr, 'o'},
    {"force", no_argument, nullptr, kForce},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

bool wholeNumber(const char* text, int low, int high, int& value) {
  std::string_view s(text);
  int number = 0;
  auto [end, fault] = std::from_chars(s.data(), s.data() + s.size(), number);
  if (fault != std::errc() || end != s.data() + s.size() || number < low || number > high)
    return false;
  value = number;
  return true;
}

// The option of getopt_long's value `c`, as written on the command line.
std::string optionName(int c) {
  for (const option& o : kLongOptions) {
    if (o.name != nullptr && o.val == c && c >= kScale) return std::string("--") + o.name;
  }
  return std::string("-") + static_cast<char>(c);
}

// The place of `value` among `names` (1, 2, ...), 0 when it is none of them.
int choice(const char* value, std::initializer_list<const char*> names) {
  int place = 1;
  for (const char* name : names) {
    if (std::string_view(value) == name) return place;
    ++place;
  }
  return 0;
}

// Takes option `c` of getopt_long with its value; false, with `error` set,
// when the value is not one the option takes or the option is unknown.
bool takeOption(int c, const char* value, const std::vector<std::string>& args, Options& options,
                std::string& error) {
  const int argc = static_cast<int>(args.size());
  switch (c) {
    case kScale: {
      const int scale = choice(value, {"percent", "braun-blanquet", "domin"});
      if (scale == 0) {
        error = "--scale takes percent, braun-blanquet or domin, not '" + std::string(value) + "'";
        return false;
      }
      options.cover_scale = scale;
      options.scale_given = true;
      break;
    }
    case kType:
      if (!wholeNumber(value, 1, 5, options.analysis_type)) {
        error = "--type takes a number from 1 to 5, not '" + std::string(value) + "'";
        return false;
      }
      break;
    case kTop:
      if (!wholeNumber(value, 1, engine::kMaxOutput, options.top)) {
        error = "--top takes a number from 1 to 99, not '" + std::string(value) + "'";
        return false;
      }
      break;
    case kGroups: {
      const int groups = choice(value, {"all", "no-lichens", "vascular"});
      if (groups == 0) {
        error = "--groups takes all, no-lichens or vascular, not '" + std::string(value) + "'";
        return false;
      }
      options.species_limit = groups == 1 ? 10000 : groups == 2 ? 4000 : 3000;
      break;
    }
    case kGroupBy:
      if (*value == '\0') {
        error = "--group-by needs the name of a column";
        return false;
      }
      options.group_by = value;
      break;
    case kExplain: options.explain = true; break;
    case kFormat: {
      const int format = choice(value, {"csv", "json"});
      if (format == 0) {
        error = "--format takes csv or json, not '" + std::string(value) + "'";
        return false;
      }
      options.format = format == 1 ? Format::kCsv : Format::kJson;
      break;
    }
    case kData: options.data_dir = value; break;
    case 'o':
      if (*value == '\0') {
        error = "-o needs a file name";
        return false;
      }
      options.output = value;
      break;
    case kForce: options.force = true; break;
    case 'h': options.help = true; break;
    case kVersion: options.version = true; break;
    case ':': error = "option '" + optionName(optopt) + "' needs a value"; return false;
    default: {
      // An unknown long option is the element getopt_long has just
      // passed; an unknown letter is in optopt.
      std::string written = optopt != 0 ? std::string("-") + static_cast<char>(optopt)
                            : optind >= 1 && optind <= argc
                                ? args[static_cast<std::size_t>(optind - 1)]
                                : std::string("?");
      written = written.substr(0, written.find('='));
      error = "unknown option '" + written + "'";
      return false;
    }
  }
  return true;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  std::vector<std::string> copies(args);
  std::vector<char*> argv;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(args.size());

  // getopt_long keeps its place in globals: start it afresh, and let it
  // print nothing (the messages are ours).
  optind = 0;
  opterr = 0;
  for (;;) {
    const int c = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr);
    if (c == -1) break;
    if (!takeOption(c, optarg, args, options, error)) return false;
  }
  for (int i = optind; i < argc; ++i) options.files.push_back(args[static_cast<std::size_t>(i)]);
  if (options.files.empty() && !options.help && !options.version) {
    error = "no input file";
    return false;
  }
  return true;
}

std::vector<std::string> optionNames() {
  std::vector<std::string> names;
  for (const option& o : kLongOptions)
    if (o.name != nullptr) names.emplace_back(o.name);
  for (const char* c = kShortOptions; *c != '\0'; ++c)
    if (*c != ':') names.emplace_back(1, *c);
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
      "  --group-by COLUMN    compose one sample per value of COLUMN (CSV",
      "                       input) from its quadrats (the sample column):",
      "                       maximum frequency = quadrats in the group,",
      "                       frequency = quadrats holding the species, cover =",
      "                       its mean cover where present; at most 100",
      "                       quadrats per group",
      "  --explain            also list, for each sample's best community, the",
      "                       species of constancy IV and V in its table that",
      "                       the sample lacks, and the sample's species that",
      "                       the table lacks",
      "  --format csv|json    output format (default csv)",
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
      "sample_cover_fit, species (names scored) and unmatched (names matching",
      "no species); with --explain also missing_constants and not_in_table",
      "(rank 1 only). Fit and coefficients are whole percentages, as vegmatch",
      "prints them; columns the analysis type does not use are 0. JSON output",
      "is an array of one object per row with the same names.",
      "",
      "Species names are matched in full (any case, extra blanks, \"agg.\",",
      "\"s.l.\", \"sens. lat.\" and the layer suffixes \"(c)\", \"(s)\", \"(g)\"",
      "ignored), then by their name key (4 letters of the genus and 4 of the",
      "epithet). A name matching nothing is reported with close names and",
      "left out of its sample.",
      "",
      "Exit status: 0 when every sample was scored and written, 1 for input",
      "that cannot be read (every faulty line is reported and nothing is",
      "written), missing reference data or output that cannot be written,",
      "2 for a usage error.",
  };
}

std::vector<std::string> versionText() {
  return {"vegfit 1.0 (VEGMATCH suite, scoring of vegmatch Version 2)"};
}

}  // namespace vegfit
