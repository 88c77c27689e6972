#include "engine/refdata.h"

#include <algorithm>
#include <memory>
#include <string>

#include "common/fields.h"
#include "common/hold.h"
#include "engine/species_index.h"

namespace engine {

using veg::column;
using veg::fmtInt;

namespace {

constexpr char kDictionaryFile[] = "SPECDICT.txt";
constexpr char kTablesFile[] = "ASSOCTAB.txt";
constexpr char kCrossReferenceFile[] = "NVCTYPES.txt";

/// Reads one reference file line by line, counting lines, and ends the run
/// with a message naming the file and line when a record is unusable.
class RecordReader {
 public:
  RecordReader(veg::Console& console, veg::FileSystem& fs, const char* name)
      : console_(console), name_(name), file_(fs.openExisting(name)) {
    if (!file_) {
      console_.writeLine("  *** Error *** file not found");
      veg::holdAndStop(console_);
    }
  }

  /// The next line, or false at the end of the file.
  bool next(std::string& line) {
    if (!file_->readLine(line)) return false;
    ++line_number_;
    return true;
  }

  /// The next line; the end of the file here is a premature end, reported
  /// as "file ends before " and `what`, followed by `number` when it is not
  /// negative (the message is only built when it is needed).
  std::string required(const char* what, long long number = -1) {
    std::string line;
    if (!next(line)) {
      std::string fault = std::string("file ends before ") + what;
      if (number >= 0) fault += " " + std::to_string(number);
      fail(line_number_ + 1, fault);
    }
    return line;
  }

  /// Reads columns first..first+width-1 of `line` as an integer.
  long long number(const std::string& line, int first, int width, const char* what) {
    long long value = 0;
    std::string field = column(line, first, width);
    if (!veg::readIntField(field, value))
      fail(line_number_, std::string(what) + " \"" + field + "\" is not a number");
    return value;
  }

  /// Ends the run with one screen line naming the file, the line and the
  /// fault. The faults are worded so that the line stays within 80
  /// columns: the longest file name and a six-digit line number leave 38
  /// columns for the fault, and NVCTYPES.txt, whose line numbers have at
  /// most three digits, 41.
  [[noreturn]] void fail(int line_number, const std::string& fault) {
    console_.writeLine("  *** Error *** " + std::string(name_) + " line " +
                       std::to_string(line_number) + ": " + fault);
    veg::holdAndStop(console_);
  }

  int lineNumber() const { return line_number_; }

 private:
  veg::Console& console_;
  const char* name_;
  std::unique_ptr<veg::TextFile> file_;
  int line_number_ = 0;
};

std::string outside(const char* what, long long value, long long low, long long high) {
  return std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(low) +
         ".." + std::to_string(high);
}

}  // namespace

void loadSpeciesDictionary(veg::Console& console, veg::FileSystem& fs, Tables& tables) {
  console.blank(3);
  console.writeLine(std::string(" Reading in dictionary from file ") + kDictionaryFile);
  RecordReader reader(console, fs, kDictionaryFile);
  Dictionary& dict = tables.dictionary;

  dict.species_name[1] = "NEW NAME ";
  dict.species_name[2] = "DELETE   ";
  for (int i = 1; i <= 2; ++i) {
    dict.species_number[i] = 0;
    dict.sorted_species_number[i] = 0;
    dict.sorted_entry[i] = static_cast<short>(i);
  }
  int i = 2;
  std::string line;
  while (reader.next(line)) {
    if (i == kMaxNames)
      reader.fail(reader.lineNumber(),
                  "more than " + std::to_string(kMaxDictRecords) + " dictionary records");
    ++i;
    // Four columns hold at most 9999 and at least -999: always a short.
    short number = static_cast<short>(reader.number(line, 1, 4, "species number"));
    dict.species_number[i] = number;
    dict.sorted_species_number[i] = number;
    dict.species_name[i] = column(line, 6, 9);
    dict.sorted_entry[i] = static_cast<short>(i);
  }
  tables.dict_size = tables.name_count = i;
  sortWithCompanion(dict.sorted_species_number.data(), dict.sorted_entry.data(), tables.dict_size);
  tables.entry_ranges.first_entry.fill(0);
  tables.entry_ranges.last_entry.fill(0);
}

void loadAssociationTables(veg::Console& console, veg::FileSystem& fs, int species_limit,
                           Tables& tables) {
  console.blank(2);
  console.writeLine(std::string(" Reading in association tables from file ") + kTablesFile);
  RecordReader reader(console, fs, kTablesFile);

  std::string header = reader.required("the header");
  long long entries = reader.number(header, 1, 5, "entry count");
  long long records = reader.number(header, 6, 5, "species count");
  if (entries < 0 || entries > kMaxTableEntries)
    reader.fail(1, outside("entry count", entries, 0, kMaxTableEntries));
  if (records < 0) reader.fail(1, "species count " + std::to_string(records) + " below 0");

  int n_communities = 0;
  for (int e = 1; e <= entries;) {
    std::string line = reader.required("table entry", e);
    for (int slot = 0; slot < 15 && e <= entries; ++slot, ++e) {
      long long community = reader.number(line, 5 * slot + 1, 3, "community number");
      long long code = reader.number(line, 5 * slot + 4, 2, "class code");
      if (community < 1 || community > kMaxCommunities)
        reader.fail(reader.lineNumber(),
                    outside("community number", community, 1, kMaxCommunities));
      if (code < 1 || code > kClassCodes)
        reader.fail(reader.lineNumber(), outside("class code", code, 1, kClassCodes));
      tables.entries.entry_community[e] = static_cast<short>(community);
      tables.entries.entry_class[e] = static_cast<short>(code);
      n_communities = std::max(n_communities, static_cast<int>(community));
    }
  }
  tables.n_communities = n_communities;

  const Dictionary& dict = tables.dictionary;
  for (long long r = 0; r < records; ++r) {
    std::string line = reader.required("species record", r + 1);
    long long p = reader.number(line, 1, 5, "species number");
    long long first = reader.number(line, 6, 5, "first entry");
    long long last = reader.number(line, 11, 5, "last entry");
    // A last entry of 0 means none; otherwise a non-empty range lies in 1..E.
    if (last >= first && last != 0) {
      if (first < 1 || first > entries)
        reader.fail(reader.lineNumber(), outside("first entry", first, 1, entries));
      if (last > entries) reader.fail(reader.lineNumber(), outside("last entry", last, 1, entries));
    }
    int q = (p >= -32768 && p <= 32767) ? findFirstSorted(dict.sorted_species_number.data(),
                                                          tables.dict_size, static_cast<int>(p))
                                        : 0;
    if (q == 0) {
      console.blank(2);
      console.writeLine(" Unknown species number" + fmtInt(p, 6) + " in data");
      veg::holdAndStop(console);
    }
    for (int m = q; m <= tables.dict_size; ++m) {
      int j = dict.sorted_entry[m];
      if (dict.species_number[j] != p) break;
      tables.entry_ranges.first_entry[j] = static_cast<int>(first);
      tables.entry_ranges.last_entry[j] = p > species_limit ? 0 : static_cast<int>(last);
    }
  }
}

void loadCrossReference(veg::Console& console, veg::FileSystem& fs, Tables& tables) {
  console.blank(2);
  console.writeLine(std::string(" Reading cross-reference from file ") + kCrossReferenceFile);
  RecordReader reader(console, fs, kCrossReferenceFile);
  for (int k = 1; k <= tables.n_communities; ++k) {
    std::string line = reader.required("record of community", k);
    tables.cross_reference.nvc_code[k] = column(line, 2, 6);
    tables.cross_reference.community_name[k] = column(line, 9, 24);
    tables.cross_reference.subcommunity_name[k] = column(line, 33, 16);
    tables.cross_reference.eunis_code[k] = column(line, 49, 8);
    tables.cross_reference.eunis_name[k] = column(line, 57, 24);
  }
}

}  // namespace engine
