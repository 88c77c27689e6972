#include "engine/entries.h"

#include <algorithm>
#include <cmath>

namespace engine {

float coverLimit(int cover_scale) {
  switch (cover_scale) {
    case 2: return 5.0f;
    case 3: return 10.0f;
    default: return 100.0f;
  }
}

void coverPercent(float value, int scale, int& percent) {
  if (scale < 1 || scale > 3) return;
  if (value == 0.0f) {
    percent = 0;
    return;
  }
  float result = 0;
  switch (scale) {
    case 1: result = value + 0.5f; break;
    case 2:
      if (value > 2.0f) {
        result = 25.0f * value - 35.0f;
      } else {
        result = 15.0f * (value - 1.0f);
      }
      if (value < 1.0f) result = 0;
      break;
    case 3: {
      // The power is taken in double precision, the result kept in single.
      float power =
          static_cast<float>(std::pow(static_cast<double>(value), static_cast<double>(2.6f)));
      result = power / 4.0f;
      break;
    }
  }
  percent = result >= static_cast<float>(kMaxCover) ? kMaxCover : static_cast<int>(result);
}

bool placeEntry(Sample& sample, int& used, int entry, int code, int frequency, short tenths) {
  int place = 0;
  for (int j = 1; j <= used; ++j) {
    std::size_t i = static_cast<std::size_t>(j);
    if (sample.sample_entry_name[i] == entry && sample.sample_species[i] == code) {
      place = j;
      break;
    }
  }
  if (place == 0) {
    if (used >= kMaxSampleEntries) return false;
    place = ++used;
    sample.sample_species[static_cast<std::size_t>(place)] = static_cast<short>(code);
  }
  std::size_t i = static_cast<std::size_t>(place);
  sample.sample_frequency[i] = static_cast<short>(frequency);
  sample.sample_cover[i] = tenths;
  sample.sample_entry_name[i] = static_cast<short>(entry);
  return true;
}

// Top species by order of entry (analysis type 5): the order of entry is the only quantity, as %
// cover 60, 50, ... 10, then 0; a deleted place is ranked too.
void rankTopFew(Sample& sample, int used) {
  for (int j = 1; j <= used; ++j) {
    int percent = std::max(0, 70 - 10 * j);
    sample.sample_cover[static_cast<std::size_t>(j)] = static_cast<short>(percent * 10);
  }
}

void mergeEntries(Sample& sample, int cover_scale, int species_limit) {
  int merged = 0;
  for (int j = 1; j <= sample.sample_size; ++j) {
    std::size_t i = static_cast<std::size_t>(j);
    if (sample.sample_cover[i] < 0) continue;
    int percent = 0;
    coverPercent(static_cast<float>(sample.sample_cover[i]) / 10.0f, cover_scale, percent);
    int number = sample.sample_species[i];
    while (number > kMarkStep) number -= kMarkStep;
    if (number > species_limit) continue;
    short frequency = sample.sample_frequency[i];
    int k = 1;
    while (k <= merged && sample.sample_species[static_cast<std::size_t>(k)] != number) ++k;
    std::size_t m = static_cast<std::size_t>(k);
    if (k <= merged) {
      sample.sample_frequency[m] = std::max(sample.sample_frequency[m], frequency);
      sample.sample_cover[m] =
          static_cast<short>(std::min(kMaxCover, sample.sample_cover[m] + percent));
    } else {
      merged = k;
      sample.sample_species[m] = static_cast<short>(number);
      sample.sample_frequency[m] = frequency;
      sample.sample_cover[m] = static_cast<short>(percent);
    }
  }
  sample.sample_size = merged;
}

}  // namespace engine
