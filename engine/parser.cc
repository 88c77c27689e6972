#include "engine/parser.h"

#include <algorithm>
#include <cmath>

#include "common/fields.h"

namespace engine {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Words are separated by blanks and by tabs, so that a line pasted from a
// spreadsheet reads like a typed one.
bool isSeparator(char c) { return c == ' ' || c == '\t'; }

// Positions of field_work: 1-4 genus, 6-9 epithet, 11-16 the value word.
constexpr int kEpithet = 6;
constexpr int kValue = 11;
constexpr int kValueWidth = 6;
constexpr int kWorkUsed = 16;
constexpr int kFrequencyWidth = 3;

// Walks the words of one 40-column line. Positions are 1-based; the line is used up
// once the position has passed column 40.
class WordScanner {
 public:
  explicit WordScanner(std::string_view line) : line_(line) {}

  bool usedUp() const { return pos_ > kLineWidth; }
  char here() const { return at(pos_); }
  int pos() const { return pos_; }

  void skipBlanks() {
    while (!usedUp() && isSeparator(here())) ++pos_;
  }
  // Moves to the separator after the word (or past column 40); returns its
  // length.
  int skipWord() {
    int start = pos_;
    while (!usedUp() && !isSeparator(here())) ++pos_;
    return pos_ - start;
  }
  char at(int p) const {
    std::size_t i = static_cast<std::size_t>(p - 1);
    return i < line_.size() ? line_[i] : ' ';
  }

 private:
  std::string_view line_;
  int pos_ = 1;
};

// A name word: its first four characters, folded, go to field_work from
// position `first`; the rest of the word is passed over.
void copyNameWord(WordScanner& scan, std::string& field_work, int first) {
  int start = scan.pos();
  int length = scan.skipWord();
  for (int j = 0; j < length && j < 4; ++j)
    field_work[first - 1 + j] = lowerAscii(scan.at(start + j));
}

// The value word as nearly every line has it, right-justified in the
// field: blanks, then one to six digits. False for any other field, which
// readIntField then reads (for these both give the same number).
bool plainValue(std::string_view field, int& value) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  if (i == field.size()) return false;
  int number = 0;
  for (; i < field.size(); ++i) {
    if (!isDigit(field[i])) return false;
    number = number * 10 + (field[i] - '0');
  }
  value = number;
  return true;
}

enum class Scan { kFinish, kStop };

// Steps 2 to 7 of taking a line apart: the words, the frequency and the
// value word. kStop means the line is bad and nothing more is to be read.
Scan scanWords(WordScanner& scan, std::string& field_work, int max_frequency, int& frequency,
               bool& point, bool& bad) {
  scan.skipBlanks();
  if (scan.usedUp()) return Scan::kFinish;
  copyNameWord(scan, field_work, 1);
  if (scan.usedUp()) return Scan::kFinish;
  scan.skipBlanks();
  if (scan.usedUp()) return Scan::kFinish;
  // A word that starts with a digit is a number, so the name has no epithet.
  if (!isDigit(scan.here())) {
    copyNameWord(scan, field_work, kEpithet);
    if (scan.usedUp()) return Scan::kFinish;
  }

  if (max_frequency > 0) {
    scan.skipBlanks();
    if (scan.usedUp()) return Scan::kFinish;
    int start = scan.pos();
    int length = scan.skipWord();
    // A frequency word that runs to column 40 is never read.
    if (scan.usedUp()) return Scan::kFinish;
    if (length > kFrequencyWidth) {
      bad = true;
      return Scan::kStop;
    }
    char word[kFrequencyWidth];
    for (int j = 0; j < length; ++j) word[j] = scan.at(start + j);
    long long number = 0;
    if (!veg::readIntField(std::string_view(word, static_cast<std::size_t>(length)), number)) {
      bad = true;
      return Scan::kStop;
    }
    frequency = static_cast<int>(number);
    // A negative frequency would weigh the species against the sample in
    // every total; like one above the maximum it is bad data.
    if (frequency > max_frequency || frequency < 0) bad = true;
  }

  scan.skipBlanks();
  if (scan.usedUp()) return Scan::kFinish;
  int start = scan.pos();
  int length = scan.skipWord();
  if (scan.usedUp()) {
    bad = true;
    return Scan::kStop;
  }
  // Only six characters fit the value field; a longer word would be read
  // as some other number, so the line is refused instead.
  if (length > kValueWidth) {
    bad = true;
    return Scan::kStop;
  }
  int shift = kValueWidth - length;
  for (int j = 0; j < length; ++j) {
    char c = scan.at(start + j);
    if (c == '.') point = true;
    field_work[kValue - 1 + shift + j] = c;
  }
  return Scan::kFinish;
}

}  // namespace

std::string lineColumns(std::string_view line) { return veg::padRight(line, kLineWidth); }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int removeMarks(std::string& line) {
  int count = 0;
  std::size_t end = std::min<std::size_t>(line.size(), kLineWidth);
  // Most lines hold none.
  if (std::string_view(line).substr(0, end).find('*') == std::string_view::npos) return 0;
  for (std::size_t i = 0; i < end; ++i) {
    if (line[i] == '*') {
      line[i] = ' ';
      ++count;
    }
  }
  return count > 2 ? 2 : count;
}

bool heldTenths(float value, short& tenths) {
  float scaled = value * 10.0f;
  float held = scaled + 0.001f;
  if (!(held > -32768.0f && held < 32768.0f)) return false;
  tenths = static_cast<short>(static_cast<int>(held));
  return true;
}

void parseSpeciesLine(std::string_view line, std::string& field_work, std::string& key,
                      int max_frequency, int& frequency, float& value, bool& bad) {
  bad = false;
  frequency = 1;
  value = 0;
  bool point = false;
  if (field_work.size() < static_cast<std::size_t>(kLineWidth)) field_work.resize(kLineWidth, ' ');
  std::fill_n(field_work.begin(), kWorkUsed, ' ');

  WordScanner scan(line);
  Scan result = scanWords(scan, field_work, max_frequency, frequency, point, bad);
  key.assign(field_work.data(), kKeyWidth);
  if (result == Scan::kStop) return;

  std::string_view field(field_work.data() + kValue - 1, kValueWidth);
  double number = 0;
  int digits = 0;
  if (!point && plainValue(field, digits)) {
    number = digits;
  } else if (point) {
    if (!veg::readRealField(field, number)) {
      bad = true;
      return;
    }
  } else {
    long long whole = 0;
    if (!veg::readIntField(field, whole)) {
      bad = true;
      return;
    }
    number = static_cast<double>(whole);
  }
  // An exponent can make a number no float holds; such a value could never
  // be held in tenths anyway.
  if (!(std::fabs(number) < 1e7)) {
    bad = true;
    return;
  }
  value = static_cast<float>(number);
  short tenths = 0;
  if (!heldTenths(value, tenths)) bad = true;
}

}  // namespace engine
