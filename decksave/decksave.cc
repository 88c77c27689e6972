#include "decksave/decksave.h"

#include <memory>
#include <string>

#include "common/converter_files.h"
#include "common/fields.h"
#include "common/hold.h"
#include "common/run.h"
#include "cornell/writer.h"
#include "decksave/sort_by_species.h"
#include "decksave/species_dictionary.h"
#include "decksave/species_line.h"
#include "decksave/tables.h"
#include "engine/parser.h"
#include "engine/sample_file.h"

namespace decksave {

namespace {

constexpr std::size_t kScreenWidth = 80;

// Everything the run owns; large enough to live on the heap.
struct Run {
  Run(veg::Console& c, veg::FileSystem& f) : console(c), fs(f) {}

  veg::Console& console;
  veg::FileSystem& fs;
  std::unique_ptr<veg::TextFile> input;         // the sample file
  std::unique_ptr<veg::TextFile> cornell_file;  // the Cornell file written
  // Each table is an allocation of its own, none over 64 KiB: a run's
  // memory then comes from the allocator's pools, which repeated runs in
  // one process (tests, fuzzing) reuse, rather than from one fresh mapping
  // of 180 KiB per run.
  std::unique_ptr<SpeciesDictionary> dictionary_table = std::make_unique<SpeciesDictionary>();
  std::unique_ptr<SampleNames> samples_table = std::make_unique<SampleNames>();
  std::unique_ptr<ShortSpeciesNames> short_names_table = std::make_unique<ShortSpeciesNames>();
  std::unique_ptr<SampleTable> sample_table = std::make_unique<SampleTable>();
  SpeciesDictionary& dictionary = *dictionary_table;
  SampleNames& samples = *samples_table;
  ShortSpeciesNames& short_names = *short_names_table;
  SampleTable& sample = *sample_table;
  int dictionary_count = 0;
  int sample_count = 0;
  int entry_count = 0;
  long long line_number = 0;  // of the last line read from the sample file
  long long left_out = 0;     // lines of bad data
  std::string line;           // the last line read
  std::string out_line;       // the Cornell line being written
  LineWork work;

  bool next() {
    if (!input->readLinePrefix(line, veg::kLinePrefixLimit)) return false;
    ++line_number;
    return true;
  }
  void both(std::string_view text) {
    console.writeLine(text);
    cornell_file->writeLine(text);
  }
  void flush() {
    if (cornell_file) cornell_file->flush();
  }
  std::string sampleName(int number) const {
    return std::string(samples.sample_name[number].data(), kShortNameLength);
  }
  /// An error stop: the message, the Cornell file flushed as it stands,
  /// `hold`, a normal stop.
  [[noreturn]] void stop(std::initializer_list<std::string> message) {
    console.blank(2);
    for (const std::string& text : message) {
      console.writeLine(text.size() > kScreenWidth ? text.substr(0, kScreenWidth) : text);
    }
    flush();
    veg::holdAndStop(console);
  }
};

void banner(veg::Console& console) {
  console.blank(4);
  console.writeLine(" Program DECKSAVE");
  console.writeLine(" Converts from VEGMATCH format to Cornell condensed format");
  console.blank(2);
}

// A line VEGMATCH would ignore as bad data is left out, with its number.
void leaveOut(Run& r) {
  ++r.left_out;
  r.console.writeLine(" *** Bad data on line " + std::to_string(r.line_number) +
                      " - left out, as vegmatch leaves it out:");
  r.console.writeLine(r.line.size() > kScreenWidth ? r.line.substr(0, kScreenWidth) : r.line);
}

// Reads the species lines of sample `sample_count` into the sample table.
// Returns false when the end of the sample file ended the sample.
bool readSample(Run& r, int max_frequency) {
  r.entry_count = 0;
  while (r.next()) {
    const SpeciesEntry entry = readSpeciesEntry(r.line, max_frequency, r.work);
    if (entry.kind == SpeciesEntry::kEndOfSample) return true;
    if (entry.kind == SpeciesEntry::kBadData) {
      leaveOut(r);
      continue;
    }
    if (r.entry_count == kMaxSampleEntries) {
      r.stop({" *** ERROR *** Sample " + r.sampleName(r.sample_count) + " has more than " +
                  std::to_string(kMaxSampleEntries) + " species lines",
              " (line " + std::to_string(r.line_number) + " of the input file)",
              " The Cornell file holds the samples before this one"});
    }
    int number = 0;
    findOrAddSpecies(r.console, r.dictionary, kDictionarySize, r.dictionary_count, entry.name,
                     number);
    ++r.entry_count;
    r.sample.species[r.entry_count] = number;
    r.sample.value[r.entry_count] = entry.value;
  }
  return false;
}

// The name line of the next sample, read as VEGMATCH reads it: the name
// before an asterisk, the maximum frequency after it. Returns that maximum
// (0 without frequency data, or when it is above what VEGMATCH takes).
int nameLine(Run& r) {
  std::string name;
  int max_frequency = 0;
  engine::nameLineParts(r.line, name, max_frequency);
  if (veg::isBlank(name)) name = engine::defaultSampleName(r.sample_count);
  ShortName& held = r.samples.sample_name[r.sample_count];
  std::copy_n(name.begin(), kShortNameLength, held.begin());
  r.console.writeLine(" " + r.sampleName(r.sample_count));
  if (max_frequency > engine::kMaxFrequencyLimit) {
    r.console.writeLine(" *** Maximum frequency may not exceed 100 ***");
    return 0;
  }
  if (max_frequency > 0) {
    r.console.writeLine("     frequency data: the Cornell file takes the cover values only");
  }
  return max_frequency;
}

void writeNames(Run& r) {
  r.cornell_file->writeLine(cornell::endOfDataLine());
  for (int s = 1; s <= r.dictionary_count; ++s) {
    // Character 5 (the blank between the two words) is dropped.
    const SpeciesName& full = r.dictionary.species_name[s];
    ShortName& cut = r.short_names.short_name[s];
    for (int i = 0; i < 4; ++i) cut[i] = full[i];
    for (int i = 4; i < kShortNameLength; ++i) cut[i] = full[i + 1];
  }
  cornell::writeNameLines(*r.cornell_file, r.out_line, r.short_names.short_name.data(),
                          r.dictionary_count);
  cornell::writeNameLines(*r.cornell_file, r.out_line, r.samples.sample_name.data(),
                          r.sample_count);
}

void decksave(Run& r) {
  banner(r.console);
  veg::askConverterFiles(r.console, r.fs, veg::kDecksaveFileTexts, r.input, r.cornell_file);
  r.both(cornell::kTitleLine);
  r.both(cornell::formatLine());

  for (bool more = true; more;) {
    if (!r.next()) break;
    // Blank lines between samples are passed over.
    if (veg::isBlank(engine::lineColumns(r.line))) continue;
    if (r.sample_count == kMaxSamples) {
      r.stop({" *** ERROR *** More than " + std::to_string(kMaxSamples) + " samples",
              " Sample " + veg::column(r.line, 1, kShortNameLength) + " on line " +
                  std::to_string(r.line_number) + " and all after it are not converted",
              " The Cornell file is incomplete: data of the first " + std::to_string(kMaxSamples) +
                  " samples only"});
    }
    ++r.sample_count;
    more = readSample(r, nameLine(r));
    if (r.entry_count > 0)
      sortBySpeciesNumber(r.sample.species.data(), r.sample.value.data(), r.entry_count);
    cornell::writeSample(*r.cornell_file, r.out_line, r.sample_count, r.sample.species.data(),
                         r.sample.value.data(), r.entry_count);
  }

  writeNames(r);
  r.cornell_file->flush();
  if (r.left_out > 0) {
    r.console.blank();
    r.console.writeLine(" *** " + std::to_string(r.left_out) +
                        (r.left_out == 1 ? " line" : " lines") +
                        " of bad data left out; the Cornell file holds the rest");
    r.console.writeLine(
        "     a species line is genus, epithet and value, such as  Festuca rubra 12.5");
  }
  r.cornell_file.reset();
  r.input.reset();
  veg::holdAndStop(r.console);
}

}  // namespace

int runDecksave(veg::Console& console, veg::FileSystem& fs) {
  auto r = std::make_unique<Run>(console, fs);
  // Every end of the run arrives here; the files close with `r`.
  return veg::runProgram(
      console, [&] { decksave(*r); }, [&] { r->flush(); });
}

}  // namespace decksave
