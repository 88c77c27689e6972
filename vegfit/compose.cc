#include "vegfit/compose.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "engine/entries.h"
#include "engine/parser.h"

namespace vegfit {

namespace {

constexpr int kNumbers = 32768;  // species numbers are 16-bit

// The species of one group as they gather.
struct Gathered {
  int species_number;
  int quadrats;   // holding it
  int cover_sum;  // percent
  int min_cover;
  int max_cover;
  int spelling;   // as first written
};

// The frequency of a species in `holding` of a stand's `quadrats`: as it
// is up to 100 quadrats; beyond, scaled to a maximum of 100, rounded half
// up, and at least 1 for a species the stand holds.
int scaledFrequency(int holding, int quadrats) {
  if (quadrats <= kMaxQuadrats) return holding;
  return std::max(1, (holding * kMaxQuadrats * 2 + quadrats) / (2 * quadrats));
}

}  // namespace

SampleSet compose(const SampleSet& quadrats, int species_limit, Diagnostics& messages) {
  SampleSet out;
  out.group_names = quadrats.group_names;
  out.files = quadrats.files;
  const std::size_t groups = quadrats.group_names.size();
  std::vector<std::vector<std::size_t>> members(groups);
  for (std::size_t q = 0; q < quadrats.samples.size(); ++q)
    members[static_cast<std::size_t>(quadrats.samples[q].group)].push_back(q);

  auto sample = std::make_unique<engine::Sample>();
  std::vector<int> slot(kNumbers, -1);        // place in `gathered` of a species number
  std::unordered_map<int, int> unknown_slot;  // of a name of no species, by spelling
  std::vector<int> new_names;
  std::vector<Gathered> gathered;
  for (std::size_t g = 0; g < groups; ++g) {
    const std::vector<std::size_t>& group = members[g];
    const SampleInfo& first = quadrats.samples[group.front()];
    SampleInfo composed;
    composed.name = quadrats.group_names[g];
    composed.file = first.file;
    composed.line = first.line;
    composed.group = static_cast<int>(g);
    composed.cover_scale = 1;
    // A stand of more than 100 quadrats has its frequencies scaled to 100.
    const int quadrat_count = static_cast<int>(group.size());
    composed.max_frequency = std::min(quadrat_count, kMaxQuadrats);
    composed.quadrats = quadrat_count;
    if (quadrat_count > kMaxQuadrats) composed.scaled_from = quadrat_count;
    gathered.clear();
    bool whole = true;
    for (std::size_t q : group) {
      const SampleInfo& quadrat = quadrats.samples[q];
      composed.unmatched += quadrat.unmatched;
      const EntryLine* lines = quadrats.lines.data() + quadrat.first;
      if (!buildSample(quadrat, lines, 1, species_limit, *sample, &new_names)) {
        messages.error(quadrats.where(quadrat), "quadrat '" + quadrat.name + "' has more than " +
                                                    std::to_string(engine::kMaxSampleEntries) +
                                                    " species");
        whole = false;
        continue;
      }
      for (int i = 1; i <= sample->sample_size; ++i) {
        const int number = sample->sample_species[static_cast<std::size_t>(i)];
        int* place = nullptr;
        int spelling = 0;
        if (number > engine::kNewNumberBase) {
          // A name of no species, numbered in its quadrat: the group knows
          // it by its spelling.
          spelling = new_names[static_cast<std::size_t>(number - engine::kNewNumberBase - 1)];
          place = &unknown_slot.try_emplace(spelling, -1).first->second;
        } else {
          place = &slot[static_cast<std::size_t>(number)];
          for (std::size_t l = 0; l < quadrat.count; ++l) {
            if (lines[l].code % engine::kMarkStep == number) {
              spelling = lines[l].spelling;
              break;
            }
          }
        }
        if (*place < 0) {
          *place = static_cast<int>(gathered.size());
          gathered.push_back({number > engine::kNewNumberBase ? 0 : number, 0, 0, 100, 0, spelling});
        }
        Gathered& species = gathered[static_cast<std::size_t>(*place)];
        const int cover = sample->sample_cover[static_cast<std::size_t>(i)];
        ++species.quadrats;
        species.cover_sum += cover;
        species.min_cover = std::min(species.min_cover, cover);
        species.max_cover = std::max(species.max_cover, cover);
      }
    }
    for (const Gathered& species : gathered)
      slot[static_cast<std::size_t>(species.species_number)] = -1;
    unknown_slot.clear();
    if (!whole) continue;
    if (gathered.size() > static_cast<std::size_t>(engine::kMaxSampleEntries)) {
      messages.error(quadrats.where(first),
                     "group '" + composed.name + "' has " + std::to_string(gathered.size()) +
                         " species, more than " + std::to_string(engine::kMaxSampleEntries));
      continue;
    }
    const int index = static_cast<int>(out.samples.size());
    out.samples.push_back(std::move(composed));
    short identity = 0;
    for (const Gathered& species : gathered) {
      const float mean =
          static_cast<float>(species.cover_sum) / static_cast<float>(species.quadrats);
      short tenths = 0;
      engine::heldTenths(mean, tenths);  // at most 100
      out.add({index, species.spelling, ++identity, static_cast<short>(species.species_number),
               static_cast<short>(scaledFrequency(species.quadrats, quadrat_count)), tenths});
      out.stand_covers.push_back(
          {species.quadrats, species.min_cover, species.max_cover, species.cover_sum});
    }
  }
  out.order();
  return out;
}

}  // namespace vegfit
