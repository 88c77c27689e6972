#include "vegfit/samples.h"

#include <array>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

#include "engine/entries.h"

namespace vegfit {

namespace {

constexpr int kTopFewType = 5;
// Lines are moved as bytes by realloc.
static_assert(std::is_trivially_copyable_v<EntryLine>);

}  // namespace

EntryLines::~EntryLines() { std::free(data_); }

void EntryLines::grow(std::size_t needed) {
  std::size_t capacity = capacity_ < 1024 ? 1024 : capacity_ * 2;
  if (capacity < needed) capacity = needed;
  void* grown = std::realloc(data_, capacity * sizeof(EntryLine));
  if (grown == nullptr) throw std::bad_alloc();
  data_ = static_cast<EntryLine*>(grown);
  capacity_ = capacity;
}

void EntryLines::resize(std::size_t size) {
  if (size > capacity_) grow(size);
  size_ = size;
}

void EntryLines::swap(EntryLines& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
}

void SampleSet::order() {
  std::size_t first = 0;
  for (SampleInfo& s : samples) {
    s.first = first;
    first += s.count;
  }
  if (!scattered_) return;
  EntryLines sorted;
  sorted.resize(lines.size());
  std::vector<std::size_t> next(samples.size());
  for (std::size_t k = 0; k < samples.size(); ++k) next[k] = samples[k].first;
  for (const EntryLine& line : lines) sorted[next[static_cast<std::size_t>(line.sample)]++] = line;
  lines.swap(sorted);
  scattered_ = false;
}

std::string SampleSet::where(const SampleInfo& info) const {
  const std::string& file = info.file >= 0 && static_cast<std::size_t>(info.file) < files.size()
                                ? files[static_cast<std::size_t>(info.file)]
                                : "";
  return file + ":" + std::to_string(info.line);
}

void Diagnostics::show(const std::string& where, const std::string& kind, const std::string& text) {
  console_.writeLine((where.empty() ? std::string("vegfit") : where) + ": " + kind + text);
}

void Diagnostics::keep(const std::string& where, const char* kind, const std::string& text) {
  if (kept_.size() < kKept) kept_.push_back({where, kind, text});
}

void Diagnostics::error(const std::string& where, const std::string& text) {
  if (++errors_ > kShown) return;
  show(where, "", text);
  keep(where, "error", text);
}

void Diagnostics::warning(const std::string& where, const std::string& text) {
  if (++warnings_ > kShown) return;
  show(where, "warning: ", text);
  keep(where, "warning", text);
}

void Diagnostics::note(const std::string& text) {
  console_.writeLine("vegfit: " + text);
  keep("", "note", text);
}

void Diagnostics::summary() {
  if (errors_ > kShown)
    note(std::to_string(errors_ - kShown) + " more errors not shown (" + std::to_string(errors_) +
         " in all)");
  if (warnings_ > kShown)
    note(std::to_string(warnings_ - kShown) + " more warnings not shown (" +
         std::to_string(warnings_) + " in all)");
}

bool buildSample(const SampleInfo& info, const EntryLine* lines, int analysis_type,
                 int species_limit, engine::Sample& sample, std::vector<int>* new_names) {
  int used = 0;
  std::array<int, engine::kMaxSampleEntries> new_spelling{};
  int new_count = 0;
  if (new_names != nullptr) new_names->clear();
  for (std::size_t i = 0; i < info.count; ++i) {
    const EntryLine& line = lines[i];
    int identity = line.identity;
    int code = line.code;
    if (code % engine::kMarkStep == 0) {
      int n = 0;
      while (n < new_count && new_spelling[static_cast<std::size_t>(n)] != line.spelling) ++n;
      if (n == new_count) {
        if (new_count == engine::kMaxSampleEntries) return false;
        new_spelling[static_cast<std::size_t>(new_count++)] = line.spelling;
        if (new_names != nullptr) new_names->push_back(line.spelling);
      }
      identity = -(n + 1);
      code += engine::kNewNumberBase + n + 1;
    }
    if (!engine::placeEntry(sample, used, identity, code, line.frequency, line.tenths))
      return false;
  }
  sample.sample_size = used;
  int scale = info.cover_scale;
  if (analysis_type == kTopFewType) {
    engine::rankTopFew(sample, used);
    scale = 1;
  }
  engine::mergeEntries(sample, scale, species_limit);
  sample.max_frequency = static_cast<float>(info.max_frequency);
  return true;
}

}  // namespace vegfit
