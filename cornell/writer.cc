#include "cornell/writer.h"

#include <algorithm>

#include "common/fields.h"

namespace cornell {

namespace {

constexpr int kCountColumn = 69;  // the couplet count stands in columns 69-70

}  // namespace

std::string formatLine() {
  std::string line(kDataFormat);
  line.resize(kCountColumn - 1, ' ');
  return line + veg::fmtInt(kCoupletsPerLine, 2);
}

void dataLine(std::string& line, int sample_number, const int* species, const float* values,
              int count) {
  line = veg::fmtInt(sample_number, 4);
  if (count <= 0) return;
  line += "  ";
  for (int k = 0; k < count; ++k) {
    line += veg::fmtInt(species[k], 5);
    line += veg::fmtReal(values[k], 5, 1);
  }
}

std::string endOfDataLine() { return veg::fmtInt(0, 4); }

void nameLine(std::string& line, const Name* names, int count) {
  line.clear();
  for (int k = 0; k < count; ++k) line.append(names[k].data(), names[k].size());
}

void writeSample(veg::TextFile& out, std::string& line, int sample_number, const int* species,
                 const float* values, int count) {
  if (count == 0) {
    dataLine(line, sample_number, nullptr, nullptr, 0);
    out.writeLine(line);
    return;
  }
  for (int first = 1; first <= count; first += kCoupletsPerLine) {
    const int n = std::min(kCoupletsPerLine, count - first + 1);
    dataLine(line, sample_number, species + first, values + first, n);
    out.writeLine(line);
  }
}

void writeNameLines(veg::TextFile& out, std::string& line, const Name* names, int count) {
  if (count == 0) {
    out.writeLine("");
    return;
  }
  for (int first = 1; first <= count; first += kNamesPerLine) {
    nameLine(line, names + first, std::min(kNamesPerLine, count - first + 1));
    out.writeLine(line);
  }
}

}  // namespace cornell
