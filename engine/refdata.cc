#include "engine/refdata.h"

#include <algorithm>
#include <memory>
#include <optional>
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

/// The field of nearly every record: blanks and digits only, `kWidth` (at
/// most nine) of them from `p`. False for any other field, which
/// readIntField then reads as it reads every field; for these both give the
/// same number. Without a branch per character, as the blanks before a
/// number vary from field to field.
template <int kWidth>
bool plainNumber(const char* p, long long& value) {
  static_assert(kWidth <= 9);
  unsigned v = 0;
  unsigned plain = 1;
#pragma GCC unroll 9
  for (int i = 0; i < kWidth; ++i) {
    const unsigned c = static_cast<unsigned char>(p[i]);
    const unsigned digit = c - unsigned{'0'};
    const unsigned is_digit = digit <= 9 ? 1 : 0;
    plain &= is_digit | (c == ' ' ? 1 : 0);
    // Times 10 and plus the digit for a digit, unchanged for a blank.
    v = v * (1 + 9 * is_digit) + digit * is_digit;
  }
  value = v;
  return plain != 0;
}

/// Reads one reference file whole and takes its records apart where they
/// lie, counting lines; ends the run with a message naming the file and
/// line when a record is unusable.
class RecordReader {
 public:
  RecordReader(veg::Console& console, veg::FileSystem& fs, const char* name)
      : console_(console), name_(name) {
    std::unique_ptr<veg::TextFile> file = fs.openExisting(name);
    if (!file) {
      console_.writeLine("  *** Error *** file not found");
      veg::holdAndStop(console_);
    }
    // A read error waits until the lines read before it have been used, as
    // when the file was read line by line.
    try {
      file->readRest(text_);
    } catch (const veg::FileError& error) {
      error_ = error;
    }
  }

  /// The next line, or false at the end of the file.
  bool next(std::string_view& line) {
    if (next_ == text_.size()) {
      if (error_) throw *error_;
      return false;
    }
    std::size_t end = text_.find('\n', next_);
    if (end == std::string::npos) end = text_.size();
    line = std::string_view(text_).substr(next_, end - next_);
    next_ = std::min(end + 1, text_.size());
    ++line_number_;
    return true;
  }

  /// The next line; the end of the file here is a premature end, reported
  /// as "file ends before " and `what`, followed by `number` when it is not
  /// negative (the message is only built when it is needed).
  std::string_view required(const char* what, long long number = -1) {
    std::string_view line;
    if (!next(line)) {
      std::string fault = std::string("file ends before ") + what;
      if (number >= 0) fault += " " + std::to_string(number);
      fail(line_number_ + 1, fault);
    }
    return line;
  }

  /// Reads columns first..first+width-1 of `line` as an integer.
  long long number(std::string_view line, int first, int width, const char* what) {
    long long value = 0;
    if (!veg::readIntField(veg::columnView(line, first, width), value))
      fail(line_number_, std::string(what) + " \"" + column(line, first, width) + "\" is not a number");
    return value;
  }

  /// The same for a field of kWidth columns (at most nine), the usual
  /// field read inline.
  template <int kWidth>
  long long number(std::string_view line, int first, const char* what) {
    long long value = 0;
    const std::size_t start = static_cast<std::size_t>(first - 1);
    if (line.size() >= start + kWidth && plainNumber<kWidth>(line.data() + start, value))
      return value;
    return number(line, first, kWidth, what);
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
  std::string text_;  // the file's lines, each ended by a line feed
  std::size_t next_ = 0;
  std::optional<veg::FileError> error_;  // met after the end of text_
  int line_number_ = 0;
};

std::string outside(const char* what, long long value, long long low, long long high) {
  return std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(low) +
         ".." + std::to_string(high);
}

// The lowest position of species number `p` in the sorted index, or 0.
// The records come in the order of their numbers, so the position after
// the last record's numbers is tried first.
int firstPosition(const Dictionary& dict, int dict_size, long long p, int after) {
  const short* sorted = dict.sorted_species_number.data();
  if (after <= dict_size && sorted[after] == p && (after == 1 || sorted[after - 1] < p))
    return after;
  if (p < -32768 || p > 32767) return 0;
  return findFirstSorted(sorted, dict_size, static_cast<int>(p));
}

// Entries 1..`entries` of the association tables, 15 to a line: columns
// 5s+1..5s+3 the community number of slot s, 5s+4..5s+5 its class code.
// Returns the highest community number.
int readTableEntries(RecordReader& reader, int entries, TableEntries& table) {
  int n_communities = 0;
  for (int e = 1; e <= entries;) {
    const std::string_view line = reader.required("table entry", e);
    for (int slot = 0; slot < 15 && e <= entries; ++slot, ++e) {
      long long community = reader.number<3>(line, 5 * slot + 1, "community number");
      long long code = reader.number<2>(line, 5 * slot + 4, "class code");
      if (community < 1 || community > kMaxCommunities)
        reader.fail(reader.lineNumber(),
                    outside("community number", community, 1, kMaxCommunities));
      if (code < 1 || code > kClassCodes)
        reader.fail(reader.lineNumber(), outside("class code", code, 1, kClassCodes));
      table.entry_community[e] = static_cast<short>(community);
      table.entry_class[e] = static_cast<short>(code);
      n_communities = std::max(n_communities, static_cast<int>(community));
    }
  }
  return n_communities;
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
  std::string_view line;
  while (reader.next(line)) {
    if (i == kMaxNames)
      reader.fail(reader.lineNumber(),
                  "more than " + std::to_string(kMaxDictRecords) + " dictionary records");
    ++i;
    // Four columns hold at most 9999 and at least -999: always a short.
    short number = static_cast<short>(reader.number<4>(line, 1, "species number"));
    dict.species_number[i] = number;
    dict.sorted_species_number[i] = number;
    veg::assignColumn(dict.species_name[i], line, 6, 9);
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

  const std::string_view header = reader.required("the header");
  long long entries = reader.number<5>(header, 1, "entry count");
  long long records = reader.number<5>(header, 6, "species count");
  if (entries < 0 || entries > kMaxTableEntries)
    reader.fail(1, outside("entry count", entries, 0, kMaxTableEntries));
  if (records < 0) reader.fail(1, "species count " + std::to_string(records) + " below 0");

  tables.n_communities = readTableEntries(reader, static_cast<int>(entries), tables.entries);

  const Dictionary& dict = tables.dictionary;
  int after = 1;  // the position after the last species record's numbers
  for (long long r = 0; r < records; ++r) {
    const std::string_view line = reader.required("species record", r + 1);
    long long p = reader.number<5>(line, 1, "species number");
    long long first = reader.number<5>(line, 6, "first entry");
    long long last = reader.number<5>(line, 11, "last entry");
    // A last entry of 0 means none; otherwise a non-empty range lies in 1..E.
    if (last >= first && last != 0) {
      if (first < 1 || first > entries)
        reader.fail(reader.lineNumber(), outside("first entry", first, 1, entries));
      if (last > entries) reader.fail(reader.lineNumber(), outside("last entry", last, 1, entries));
    }
    const int q = firstPosition(dict, tables.dict_size, p, after);
    if (q == 0) {
      console.blank(2);
      console.writeLine(" Unknown species number" + fmtInt(p, 6) + " in data");
      veg::holdAndStop(console);
    }
    for (after = q; after <= tables.dict_size; ++after) {
      int j = dict.sorted_entry[after];
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
    const std::string_view line = reader.required("record of community", k);
    CrossReference& texts = tables.cross_reference;
    veg::assignColumn(texts.nvc_code[k], line, 2, 6);
    veg::assignColumn(texts.community_name[k], line, 9, 24);
    veg::assignColumn(texts.subcommunity_name[k], line, 33, 16);
    veg::assignColumn(texts.eunis_code[k], line, 49, 8);
    veg::assignColumn(texts.eunis_name[k], line, 57, 24);
  }
}

}  // namespace engine
