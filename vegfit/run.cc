#include "vegfit/run.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "common/fields.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "vegfit/attributes.h"
#include "vegfit/compose.h"
#include "vegfit/names.h"
#include "vegfit/options.h"
#include "vegfit/reader.h"
#include "vegfit/report_run.h"
#include "vegfit/results.h"
#include "vegfit/samples.h"
#include "vegfit/scoring.h"

namespace vegfit {

const char kNameTableFile[] = "NAMES.txt";

namespace {

constexpr char kDictionaryFile[] = "SPECDICT.txt";
constexpr unsigned kMaxThreads = 8;

/// The reference files of one directory, through the file seam.
class DirectoryFiles : public veg::FileSystem {
 public:
  DirectoryFiles(veg::FileSystem& base, std::string dir) : base_(base), dir_(std::move(dir)) {}
  std::unique_ptr<veg::TextFile> openExisting(const std::string& name) override {
    return base_.openExisting(dir_ + "/" + name);
  }
  std::unique_ptr<veg::TextFile> createNew(const std::string&) override { return nullptr; }

 private:
  veg::FileSystem& base_;
  std::string dir_;
};

/// The console the loaders of vegmatch report to: it keeps what they
/// write, and has no keyboard (their end-of-program notice ends at once).
class LoaderConsole : public veg::Console {
 public:
  bool readLine(std::string&) override { return false; }
  void writeLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

std::string trimmedLine(const std::string& line) {
  const std::size_t begin = line.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  return line.substr(begin, line.find_last_not_of(' ') - begin + 1);
}

// What the loaders said before they stopped: the file they were reading
// and their error lines.
std::string loaderFault(const std::vector<std::string>& lines) {
  std::string file, fault;
  for (const std::string& line : lines) {
    const std::string text = trimmedLine(line);
    const std::size_t from = text.rfind("from file ");
    if (text.rfind("Reading", 0) == 0 && from != std::string::npos) file = text.substr(from + 10);
    // The end-of-program notice is no part of the fault: its title and its
    // closing row of asterisks are left out.
    const bool notice = text.find("Program finished") != std::string::npos ||
                        text.find_first_not_of('*') == std::string::npos;
    if (text.rfind("***", 0) == 0 && !notice) fault += (fault.empty() ? "" : "; ") + text;
    if (text.rfind("Unknown species number", 0) == 0) fault += (fault.empty() ? "" : "; ") + text;
  }
  return file + ": " + fault;
}

std::string tryHelp() { return "Try 'vegfit --help' for more information."; }

class Run {
 public:
  Run(Streams& streams, const Options& options)
      : streams_(streams),
        given_(options),
        options_(scoringOptions(options)),
        messages_(streams.messages) {}

  int go();

 private:
  bool findData(std::string& dir);
  bool load(const std::string& dir);
  void readInputs();
  void handOver(std::size_t whole);
  bool checkSamples(const SampleSet& set);
  std::unique_ptr<veg::TextFile> createOutput();
  /// Says why FILE (-o) cannot be made: it exists (without --force), or not.
  void reportUncreatable();
  /// Gives the whole output `written` the name FILE; else removes it and
  /// says why (false).
  bool publish(const std::string& written);
  void writeHeader(veg::TextFile& out);
  /// Writes every row to `out`; on a failure says so, and that nothing is
  /// written when the caller removes `out`.
  int write(veg::TextFile& out, bool removed_on_failure = false);
  bool openPartial();
  void startPartial();
  void dropPartial();
  int finishPartial();
  int writeReport(bool to_file);

  Streams& streams_;
  const Options& given_;  // as the command line gave them
  const Options options_;  // as scored: for --format html, JSON rows with every result explained
  Diagnostics messages_;
  std::unique_ptr<engine::Tables> tables_ = std::make_unique<engine::Tables>();
  NameIndex index_;
  std::unique_ptr<NameMatcher> matcher_;
  Attributes attributes_;
  std::shared_ptr<SampleSet> set_ = std::make_shared<SampleSet>();
  std::unique_ptr<Reference> reference_;
  std::unique_ptr<ScoringPool> pool_;
  // -o FILE with samples scored while reading: the rows go at once to
  // FILE.partial, which becomes FILE when all is written.
  std::string partial_name_;
  std::unique_ptr<veg::TextFile> partial_;
  // Samples handed to the pool while reading: the first `handed_` of set_,
  // whose lines are the first `handed_lines_`; false once that cannot go on.
  bool early_ = false;
  std::size_t handed_ = 0;
  std::size_t handed_lines_ = 0;
};

bool Run::findData(std::string& dir) {
  if (!options_.data_dir.empty()) {
    dir = options_.data_dir;
    return true;
  }
  for (const std::string& candidate : streams_.data_dirs) {
    if (streams_.fs.openExisting(candidate + "/" + kDictionaryFile)) {
      dir = candidate;
      return true;
    }
  }
  std::string looked;
  for (const std::string& candidate : streams_.data_dirs)
    looked += (looked.empty() ? "" : ", ") + candidate;
  messages_.error("", "no reference data found (looked in " + looked + "); give --data DIR");
  return false;
}

bool Run::load(const std::string& dir) {
  DirectoryFiles files(streams_.fs, dir);
  LoaderConsole console;
  try {
    engine::loadSpeciesDictionary(console, files, *tables_);
    engine::loadAssociationTables(console, files, options_.species_limit, *tables_);
    engine::loadCrossReference(console, files, *tables_);
  } catch (const veg::StopRun&) {
    messages_.error("",
                    "cannot load the reference data in " + dir + ": " + loaderFault(console.lines));
    return false;
  } catch (const veg::FileError& e) {
    messages_.error("", "cannot read " + e.name + ": " + e.reason);
    return false;
  }
  engine::prepareTables(*tables_);

  // The names table: full names and synonyms, without which a species
  // list would be matched by its keys alone, and some names not at all.
  auto names = files.openExisting(kNameTableFile);
  if (!names) {
    messages_.error("", "cannot load the reference data in " + dir + ": " + kNameTableFile +
                            " is missing (the table of full names beside SPECDICT.txt)");
    return false;
  }
  std::vector<std::string> lines;
  std::string line, error;
  try {
    while (names->readLine(line)) lines.push_back(line);
  } catch (const veg::FileError& e) {
    messages_.error("", "cannot read " + e.name + ": " + e.reason);
    return false;
  }
  if (!parseNameTable(lines, index_, error)) {
    messages_.error("", dir + "/" + kNameTableFile + ": " + error);
    return false;
  }
  if (index_.empty()) {
    messages_.error("", dir + "/" + kNameTableFile + " holds no names");
    return false;
  }
  matcher_ = std::make_unique<NameMatcher>(index_, *tables_);

  // What is known of the communities beyond scoring: without these files
  // their columns stay empty, and the user is told.
  std::vector<std::string> missing;
  if (!attributes_.load(files, *tables_, missing, error)) {
    messages_.error("", dir + "/" + error);
    return false;
  }
  if (missing.size() > 1 || (missing.size() == 1 && missing.front() != kVersionFile)) {
    std::string list;
    for (const std::string& name : missing) list += (list.empty() ? "" : ", ") + name;
    messages_.note("the reference data in " + dir + " lack " + list +
                   ": their columns are left empty");
  }
  return true;
}

void Run::readInputs() {
  ReadSettings settings;
  settings.cover_scale = options_.cover_scale;
  settings.scale_given = options_.scale_given;
  settings.sample_columns = options_.sample_columns;
  settings.species_column = options_.species_column;
  settings.cover_column = options_.cover_column;
  settings.separator = options_.separator;
  settings.group_by = options_.group_by;
  settings.drop_unmatched = options_.drop_unmatched;
  InputReader reader(*matcher_, *set_, messages_, settings);
  if (early_) reader.on_samples = [this](std::size_t whole) { handOver(whole); };
  for (const std::string& name : options_.files) {
    try {
      if (name == "-") {
        const bool csv = reader.readEither(streams_.input, "standard input");
        if (!csv && !options_.group_by.empty())
          messages_.error("standard input", "--group-by needs CSV input, not a sample file");
        continue;
      }
      auto file = streams_.fs.openExisting(name);
      if (!file) {
        messages_.error(name, "cannot open the file");
        continue;
      }
      if (isCsvName(name)) {
        reader.readCsv(*file, name);
      } else {
        reader.readSampleFile(*file, name);
      }
    } catch (const veg::FileError& e) {
      messages_.error(e.name, "cannot be read: " + e.reason);
    }
  }
  if (const long long presence = reader.presenceOnly(); presence > 0) {
    const bool composition = options_.analysis_type == 2 || options_.analysis_type == 4;
    messages_.note(std::to_string(presence) + (presence == 1 ? " row gives" : " rows give") +
                   " no cover (blank, NA, p, x or present): counted as present with a cover of 0" +
                   (composition ? "" : "; --type 2 scores species composition only"));
  }
}

// Samples read whole go to the scoring threads while the rest is read, as
// copies (the reader goes on growing the set), a batch at a time. Input
// whose samples are scattered over the file cannot be handed over early.
void Run::handOver(std::size_t whole) {
  if (!early_ || messages_.errors() > 0) return;
  if (set_->scattered()) {
    early_ = false;
    return;
  }
  // The rest goes over when all is read.
  if (whole < handed_ + ScoringPool::kBatch) return;
  auto part = std::make_shared<SampleSet>();
  part->samples.reserve(whole - handed_);
  std::size_t first = handed_lines_;
  for (std::size_t i = handed_; i < whole; ++i) {
    SampleInfo info = set_->samples[i];
    info.first = first - handed_lines_;
    first += info.count;
    part->samples.push_back(std::move(info));
  }
  part->lines.resize(first - handed_lines_);
  std::copy(set_->lines.data() + handed_lines_, set_->lines.data() + first, part->lines.data());
  pool_->add(part, 0, part->samples.size());
  handed_ = whole;
  handed_lines_ = first;
}

bool Run::checkSamples(const SampleSet& set) {
  auto sample = std::make_unique<engine::Sample>();
  bool fits = true;
  for (const SampleInfo& info : set.samples) {
    if (info.count <= static_cast<std::size_t>(engine::kMaxSampleEntries)) continue;
    if (!buildSample(info, set.lines.data() + info.first, options_.analysis_type,
                     options_.species_limit, *sample)) {
      messages_.error(set.where(info), "sample '" + info.name + "' has more than " +
                                           std::to_string(engine::kMaxSampleEntries) + " species");
      fits = false;
    }
  }
  return fits;
}

std::unique_ptr<veg::TextFile> Run::createOutput() {
  auto file = options_.force ? streams_.fs.createReplacing(options_.output)
                             : streams_.fs.createNew(options_.output);
  if (!file) reportUncreatable();
  return file;
}

void Run::reportUncreatable() {
  messages_.error(options_.output, options_.force || !streams_.fs.openExisting(options_.output)
                                       ? "cannot be created"
                                       : "exists; --force replaces it");
}

bool Run::publish(const std::string& written) {
  if (streams_.fs.rename(written, options_.output, options_.force)) return true;
  streams_.fs.remove(written);
  reportUncreatable();
  return false;
}

void Run::writeHeader(veg::TextFile& out) {
  OutputColumns columns;
  columns.file = options_.files.size() > 1;
  columns.explain = options_.explain;
  if (options_.format == Format::kJson) {
    out.writeText("[");
  } else {
    out.writeText(options_.table ? tableCsvHeader(columns.file) : csvHeader(columns));
  }
}

// The output file is made under another name first, so that rows can be
// written while the input is read and yet no file of the output's name
// appears unless every row is in it.
bool Run::openPartial() {
  partial_name_ = options_.output + ".partial";
  partial_ = streams_.fs.createNew(partial_name_);
  if (!partial_) return false;
  try {
    writeHeader(*partial_);
  } catch (const veg::FileError&) {
    dropPartial();
    return false;
  }
  return true;
}

void Run::startPartial() {
  // Without it the rows wait for the end of the input.
  if (openPartial()) pool_->writeWhenDone(*partial_);
}

void Run::dropPartial() {
  if (!partial_) return;
  partial_.reset();
  streams_.fs.remove(partial_name_);
}

int Run::finishPartial() {
  try {
    pool_->finish(*partial_);
    if (options_.format == Format::kJson) partial_->writeText("]");
    partial_->flush();
  } catch (const veg::FileError& e) {
    dropPartial();
    messages_.error(options_.output, "cannot be written: " + e.reason + "; nothing written");
    return kExitFailure;
  }
  partial_.reset();
  return publish(partial_name_) ? kExitOk : kExitFailure;
}

int Run::write(veg::TextFile& out, bool removed_on_failure) {
  try {
    writeHeader(out);
    pool_->finish(out);
    if (options_.format == Format::kJson) out.writeText("]");
    out.flush();
  } catch (const veg::FileError& e) {
    messages_.error(e.name,
                    "cannot be written: " + e.reason +
                        (removed_on_failure ? "; nothing written" : "; the output is incomplete"));
    return kExitFailure;
  }
  return kExitOk;
}

// The report is made whole in memory from the rows' JSON, then written as
// the rows are: with -o FILE to FILE.partial, which becomes FILE.
int Run::writeReport(bool to_file) {
  TextBuffer rows;
  write(rows);
  const std::string html = runReport(rows.text, given_, {*reference_, *matcher_, messages_, set_});
  messages_.summary();
  std::string name;  // of the file being written
  try {
    if (!to_file) {
      streams_.output.writeText(html);
      streams_.output.flush();
      return kExitOk;
    }
    name = options_.output + ".partial";
    std::unique_ptr<veg::TextFile> file = streams_.fs.createNew(name);
    if (!file) {
      name = options_.output;
      if (!(file = createOutput())) return kExitFailure;
    }
    file->writeText(html);
    file->flush();
    file.reset();
    if (name != options_.output && !publish(name)) return kExitFailure;
  } catch (const veg::FileError& e) {
    if (!name.empty()) streams_.fs.remove(name);
    messages_.error(e.name, "cannot be written: " + e.reason + "; nothing written");
    return kExitFailure;
  }
  return kExitOk;
}

int Run::go() {
  if (!options_.group_by.empty()) {
    for (const std::string& name : options_.files) {
      if (name != "-" && !isCsvName(name)) {
        messages_.note("--group-by needs CSV input; " + name + " is a sample file");
        streams_.messages.writeLine(tryHelp());
        return kExitUsage;
      }
    }
  }
  const bool to_file = !options_.output.empty() && options_.output != "-";
  const auto same = [&](const std::string& input) {
    return std::filesystem::path(input).lexically_normal() ==
           std::filesystem::path(options_.output).lexically_normal();
  };
  if (to_file && std::any_of(options_.files.begin(), options_.files.end(), same)) {
    messages_.error(options_.output, "is an input file; the output must go to another file");
    return kExitFailure;
  }
  if (to_file && !options_.force && streams_.fs.openExisting(options_.output)) {
    messages_.error(options_.output, "exists; --force replaces it");
    return kExitFailure;
  }
  std::string dir;
  if (!findData(dir) || !load(dir)) return kExitFailure;

  reference_ = std::make_unique<Reference>(*tables_, *matcher_, &attributes_);
  unsigned threads = streams_.threads != 0 ? streams_.threads : std::thread::hardware_concurrency();
  pool_ =
      std::make_unique<ScoringPool>(*reference_, options_, std::clamp(threads, 1u, kMaxThreads));
  // Composed samples exist only once all is read; the explanations need
  // the spellings, which grow while reading.
  early_ = options_.group_by.empty() && !options_.explain;
  if (early_) pool_->startHelpers();
  if (early_ && to_file) startPartial();
  readInputs();

  if (messages_.errors() == 0 && (!early_ || set_->scattered())) {
    // Nothing or not all of it could be handed over early: start afresh.
    pool_->abandon();
    dropPartial();
    handed_ = 0;
    set_->order();
    if (!options_.group_by.empty())
      set_ = std::make_shared<SampleSet>(compose(*set_, options_.species_limit, messages_));
    if (messages_.errors() == 0) checkSamples(*set_);
    pool_->startHelpers();
  } else if (messages_.errors() == 0) {
    set_->order();
    checkSamples(*set_);
  }
  if (messages_.errors() > 0) {
    pool_->abandon();
    dropPartial();
    messages_.summary();
    messages_.note("nothing written: the input has " + std::to_string(messages_.errors()) +
                   (messages_.errors() == 1 ? " error" : " errors"));
    return kExitFailure;
  }
  pool_->add(set_, handed_, set_->samples.size());
  if (given_.format == Format::kHtml) return writeReport(to_file);
  // Rows that were not written while the input was read take the same way.
  if (to_file && !partial_) openPartial();
  if (partial_) {
    const int status = finishPartial();
    messages_.summary();
    return status;
  }

  std::unique_ptr<veg::TextFile> file;
  veg::TextFile* out = &streams_.output;
  if (to_file) {
    file = createOutput();
    if (!file) {
      pool_->abandon();
      return kExitFailure;
    }
    out = file.get();
  }
  // Without a FILE.partial (one is left from another run) the rows go to
  // FILE itself, which must not stay behind incomplete.
  const int status = write(*out, file != nullptr);
  if (status != kExitOk && file) {
    file.reset();
    streams_.fs.remove(options_.output);
  }
  messages_.summary();
  return status;
}

// The first line of the version file of the reference data a run would
// read; empty when there is none.
std::string dataVersion(const Options& options, Streams& streams) {
  std::vector<std::string> dirs = streams.data_dirs;
  if (!options.data_dir.empty()) dirs = {options.data_dir};
  for (const std::string& dir : dirs) {
    if (!streams.fs.openExisting(dir + "/" + kDictionaryFile)) continue;
    auto file = streams.fs.openExisting(dir + "/" + kVersionFile);
    std::string line;
    if (file && file->readLine(line)) return trimmedLine(line);
    return {};
  }
  return {};
}

}  // namespace

int runVegfit(const std::vector<std::string>& args, Streams& streams) {
  Options options;
  std::string error;
  if (!parseOptions(args, options, error)) {
    streams.messages.writeLine("vegfit: " + error);
    streams.messages.writeLine(tryHelp());
    return kExitUsage;
  }
  try {
    if (options.help || options.version) {
      for (const std::string& line : options.help ? helpText() : versionText(dataVersion(options, streams)))
        streams.output.writeLine(line);
      streams.output.flush();
      return kExitOk;
    }
    Run run(streams, options);
    return run.go();
  } catch (const veg::FileError& e) {
    streams.messages.writeLine("vegfit: " + e.name + ": cannot be " +
                               (e.writing ? "written" : "read") + ": " + e.reason);
    return kExitFailure;
  }
}

}  // namespace vegfit
