// The run-time data format of a Cornell condensed file: the parenthesised
// edit list that the format line declares, such as "(i4,2x,7(i5,f5.1))", compiled once
// into a flat list of edits and then used to read every data line into a
// sample number and its couplets, and to write the same items back.
//
// Supported: Iw, Fw.d (input with or without a decimal point, with or without
// an exponent), nX, repeat counts before I, F and groups, nested groups, upper
// or lower case and blanks anywhere. When the list outlives the format, the
// read (or write) goes on at the start of the next line from the last
// top-level group, or from the beginning when there is none.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace cornell {

/// Couplets a data line can hold: the line tables' capacity.
constexpr int kMaxCouplets = 99;
/// Items of one data-line read: the sample number and the couplets.
constexpr int kMaxReadItems = 1 + 2 * kMaxCouplets;
/// Widest I or F field, longest X skip and largest repeat count accepted.
constexpr int kMaxFieldWidth = 99;
constexpr int kMaxSkip = 999;
constexpr int kMaxRepeat = 999;
/// Edits of a compiled format: at most one skip before each value edit, one
/// more where the last top-level group starts and one at the end.
constexpr int kMaxEdits = 2 * kMaxReadItems + 3;

/// One edit of the flattened format.
struct Edit {
  char kind = 'X';   // 'I', 'F' or 'X'
  int width = 0;     // field width, or columns skipped for X
  int decimals = 0;  // d of Fw.d
};

/// A format compiled from its text. `ok` false means it cannot be used;
/// `error` then says why.
struct CompiledFormat {
  bool ok = false;
  std::string error;
  std::array<Edit, kMaxEdits> edits{};
  int count = 0;                      // edits in use
  int reversion = 0;                  // where a read that outlives the format takes it up again
  bool reversion_has_values = false;  // false: taking it up again cannot help
};

/// Compiles the format text (leading blanks skipped; it must open with "(" and
/// close its outer parenthesis within the text; anything after that is
/// ignored).
CompiledFormat compileFormat(std::string_view text);

/// True for the format of a Cornell file in full format: after the I edit of
/// the sample number an F edit, so that a line holds one value per species
/// and no species numbers.
bool oneValuePerSpecies(const CompiledFormat& format);

/// One data line's items: the sample number and the couplets.
struct DataRecord {
  int sample = 0;
  std::array<int, kMaxCouplets + 1> species{};  // 1-based
  std::array<float, kMaxCouplets + 1> value{};  // 1-based
};

/// Where a read takes its lines from (one line per call; false at the end).
class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual bool next(std::string& line) = 0;
};

/// What a failed read reports.
struct ReadFailure {
  enum Kind {
    kNone,
    kEndOfFile,  // no line where one was needed (`line_offset` says which)
    kBadField,   // a field holds something its edit cannot read
    kWrongKind,  // an I edit met a value item, or an F edit a number item
    kNoValues,   // the part of the format taken up again holds no I or F
    kUnusable,   // the format did not compile
  };
  Kind kind = kNone;
  int line_offset = 0;  // 0: the read's first line, 1: the next one, ...
  int item = 0;         // 0: sample number, odd: species number, even: value
  Edit edit{};          // the edit that failed (kBadField, kWrongKind)
  int column = 0;       // first column of that field (1-based)
};

/// Describes item `item` of a data-line read: "sample number", "species
/// number" or "value".
std::string_view itemName(int item);

/// Reads one data line (more when the format is used up before the list)
/// into `record`: the sample number and `couplets` pairs of species number
/// and value. Returns false with `failure` filled when a line is missing or
/// does not fit; `record` is then partly filled. No allocation per call once
/// `line` has grown.
bool readRecord(const CompiledFormat& format, LineSource& source, int couplets, DataRecord& record,
                std::string& line, ReadFailure& failure);

/// Writes the items of `record` with the format, as `readRecord` reads them:
/// each output line (one, or more when the list outlives the format) is
/// handed to `sink`. A write ends after its last item; skips that would end a
/// line are not written. Returns false when the format cannot write the items
/// (an edit of the wrong kind, no I or F edit).
template <typename Sink>
bool writeRecord(const CompiledFormat& format, const DataRecord& record, int couplets,
                 std::string& out, Sink&& sink);

// The field routines below follow the edit descriptors rather than the
// suite's fixed-column fields (common/fields.h): a comma is no part of a
// number, Fw.0 output keeps its point, a 0 before the point gives way when
// the field is narrow, and nothing is allocated, as they run for every field
// of every data line. Rounding is the same: halfway away from zero.

/// Appends Iw output: right-justified, asterisks when it does not fit.
void appendInt(std::string& out, long long value, int width);
/// Appends Fw.d output: rounded to d decimals (halfway away from zero),
/// right-justified, with a 0 before the point when there is room for it, a
/// point always; asterisks when it does not fit.
void appendReal(std::string& out, double value, int width, int decimals);

/// Reads an Iw field: blanks ignored, a sign may lead, all blank is 0.
bool readIntEdit(std::string_view field, long long& value);
/// Reads an Fw.d field: blanks ignored, all blank is 0; without a decimal
/// point the last d digits are the decimals; an exponent may follow (E, D or
/// a sign, then an integer).
bool readRealEdit(std::string_view field, int decimals, float& value);

// ---- implementation of the template ----

namespace detail {
/// Item `item` of `record` written with `edit` (which holds the right kind).
void appendItem(std::string& out, const Edit& edit, const DataRecord& record, int item);
bool fits(const Edit& edit, int item);
}  // namespace detail

template <typename Sink>
bool writeRecord(const CompiledFormat& format, const DataRecord& record, int couplets,
                 std::string& out, Sink&& sink) {
  if (!format.ok) return false;
  const int items = 1 + 2 * couplets;
  out.clear();
  int pending = 0;  // skipped columns, written only when an item follows
  int e = 0;
  for (int item = 0; item < items; ++item) {
    for (;;) {
      if (e == format.count) {
        if (!format.reversion_has_values) return false;
        sink(std::string_view(out));
        out.clear();
        pending = 0;
        e = format.reversion;
      }
      const Edit& edit = format.edits[e++];
      if (edit.kind != 'X') {
        if (!detail::fits(edit, item)) return false;
        out.append(pending, ' ');
        pending = 0;
        detail::appendItem(out, edit, record, item);
        break;
      }
      pending += edit.width;
    }
  }
  sink(std::string_view(out));
  return true;
}

}  // namespace cornell
