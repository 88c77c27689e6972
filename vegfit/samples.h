// The samples of a vegfit run as the readers leave them: per sample its
// name, scale and maximum frequency, and every species line in the form
// sample entry stores it, all in two flat arrays (no allocation per line).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/console.h"
#include "engine/tables.h"

namespace vegfit {

/// One species line (a CSV row or a sample-file line) as sample entry
/// stores it: placeEntry's arguments.
struct EntryLine {
  int sample;      // index in SampleSet::samples
  int spelling;    // the name as written (NameMatcher::spelling); of a name
                   // matching no species, the first spelling of its key
  short identity;  // the entry that keeps lines apart (Match::identity)
  short code;      // species number, plus kMarkStep for each mark
  short frequency;
  short tenths;  // the value on the sample's scale, in tenths; negative deletes
};

/// A growing array of entry lines. Millions of lines are read into it, so
/// it grows by realloc, which moves large blocks by remapping their pages
/// instead of copying them into new ones as std::vector must.
class EntryLines {
 public:
  EntryLines() = default;
  EntryLines(const EntryLines&) = delete;
  EntryLines& operator=(const EntryLines&) = delete;
  EntryLines(EntryLines&& other) noexcept { swap(other); }
  EntryLines& operator=(EntryLines&& other) noexcept {
    swap(other);
    return *this;
  }
  ~EntryLines();

  void push_back(const EntryLine& line) {
    if (size_ == capacity_) grow(size_ + 1);
    data_[size_++] = line;
  }
  /// Makes it hold `size` lines; new ones are unset.
  void resize(std::size_t size);
  void swap(EntryLines& other) noexcept;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const EntryLine* data() const { return data_; }
  EntryLine* data() { return data_; }
  const EntryLine& operator[](std::size_t i) const { return data_[i]; }
  EntryLine& operator[](std::size_t i) { return data_[i]; }
  const EntryLine* begin() const { return data_; }
  const EntryLine* end() const { return data_ + size_; }

 private:
  void grow(std::size_t needed);
  EntryLine* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

/// One species of a stand composed by --group-by: the quadrats holding it
/// and its percent cover in them.
struct StandCover {
  int quadrats = 0;
  int min_cover = 0;
  int max_cover = 0;
  int cover_sum = 0;
};

struct SampleInfo {
  std::string name;
  int cover_scale = 1;    // 1..3
  int max_frequency = 0;  // 0: no frequency data
  int unmatched = 0;      // lines whose name matches no species
  int scaled_from = 0;    // --group-by over more than 100 quadrats: their number
  int group = -1;         // --group-by: the composed sample it goes into
  int quadrats = 0;       // --group-by: the quadrats a composed sample is made of
  std::size_t first = 0;  // its lines: SampleSet::lines[first, first + count)
  std::size_t count = 0;
  int file = 0;  // where its first line is: SampleSet::files, and
  int line = 0;  // the line number
};

struct SampleSet {
  std::vector<SampleInfo> samples;
  EntryLines lines;
  std::vector<std::string> group_names;  // --group-by: by group number
  std::vector<std::string> files;        // names of the input files
  /// --group-by: the stand figures of each line of a composed sample
  /// (lines[i] is covered by stand_covers[i]); empty otherwise.
  std::vector<StandCover> stand_covers;

  /// Appends a line of sample `line.sample` (counted in its count).
  void add(const EntryLine& line) {
    if (!lines.empty() && line.sample < lines[lines.size() - 1].sample) scattered_ = true;
    ++samples[static_cast<std::size_t>(line.sample)].count;
    lines.push_back(line);
  }

  /// True when a line was added after a line of a later sample.
  bool scattered() const { return scattered_; }

  /// "file:line" of a sample's first line, for messages.
  std::string where(const SampleInfo& info) const;

  /// Puts the lines of every sample together in input order (a stable
  /// sort by sample, skipped when they already are) and sets first of
  /// every sample. The lines must have been added with add().
  void order();

 private:
  bool scattered_ = false;  // a line came after a line of a later sample
};

/// Messages on standard error, each line "vegfit: ..." or
/// "FILE:LINE: ...". Errors and warnings beyond the first kShown of each
/// kind are counted, not shown. The first kKept lines shown are also kept,
/// for a report of the run.
class Diagnostics {
 public:
  static constexpr int kShown = 50;
  static constexpr std::size_t kKept = 200;

  /// A line as shown: where ("FILE:LINE", empty for the program's own), its
  /// kind ("error", "warning" or "note") and its text.
  struct Shown {
    std::string where, kind, text;
  };

  explicit Diagnostics(veg::Console& console) : console_(console) {}
  void error(const std::string& where, const std::string& text);
  void warning(const std::string& where, const std::string& text);
  /// A line shown whatever the counts (notices that are not faults).
  void note(const std::string& text);
  /// Reports how many errors and warnings were not shown.
  void summary();
  int errors() const { return errors_; }
  int warnings() const { return warnings_; }
  /// The lines shown, the first kKept of them.
  const std::vector<Shown>& kept() const { return kept_; }

 private:
  void show(const std::string& where, const std::string& kind, const std::string& text);
  void keep(const std::string& where, const char* kind, const std::string& text);
  veg::Console& console_;
  int errors_ = 0;
  int warnings_ = 0;
  std::vector<Shown> kept_;
};

/// A sample built for scoring: entry placement, the ranking by order of entry of
/// analysis type 5 and the merge, all by sample entry's own routines. A
/// line of a name that matches no species (species number 0) is a species
/// of no community, as sample entry adds an unknown name: the names of a
/// sample are numbered from kNewNumberBase + 1 in order of their first
/// line, and `new_names`, when given, receives their spellings in that
/// order. False when the sample needs more than kMaxSampleEntries places.
bool buildSample(const SampleInfo& info, const EntryLine* lines, int analysis_type,
                 int species_limit, engine::Sample& sample, std::vector<int>* new_names = nullptr);

}  // namespace vegfit
