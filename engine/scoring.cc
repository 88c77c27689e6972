#include "engine/scoring.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine {

namespace {

constexpr float kSmall = 1e-6f;

bool isWoodland(int k, const Tables& tables) { return k >= tables.woodland_start; }

}  // namespace

void buildConversionTables(std::array<short, kDominValues + 1>& domin_percent,
                           std::array<float, kMaxCover + 1>& cover_power, ConversionTables& conv) {
  for (int d = 1; d <= kDominValues; ++d) {
    float power = static_cast<float>(std::pow(static_cast<double>(d), static_cast<double>(2.6f)));
    domin_percent[d] = static_cast<short>(power / 4.0f);
  }
  const float weights[kConstancyClasses + 1] = {0, 0.12f, 0.25f, 0.5f, 0.75f, 0.95f};
  for (int g = 1; g <= kConstancyClasses; ++g) conv.constancy_weight[g] = weights[g];
  for (int i = 1; i <= kMaxCover; ++i)
    cover_power[i] = static_cast<float>(std::pow(static_cast<double>(i), 0.75));
  for (int m = 1; m <= kClassCodes; ++m) {
    int g = (m - 1) / 10 + 1;
    int d = (m - 1) % 10 + 1;
    conv.class_constancy[m] = static_cast<short>(g);
    float mean = static_cast<float>(domin_percent[d]) / static_cast<float>(13 - 2 * g);
    if (mean < 2.0f) mean = kSmall;
    conv.class_mean_cover[m] = mean;
    float t = conv.constancy_weight[g];
    float woodland = t * t;
    if (g + d == 10) woodland = t;
    if (g + d > 10) woodland = 1.0f;
    conv.class_woodland_weight[m] = woodland;
    conv.class_cover_weight[m] = static_cast<float>(std::pow(static_cast<double>(mean), 0.75));
  }
}

void analysisWeights(int analysis_type, float& w1, float& w2, float& w3, float& w4) {
  switch (analysis_type) {
    case 1: w1 = 0.25f, w2 = 0.25f, w3 = 0.25f, w4 = 0.25f; break;
    case 2: w1 = 0.5f, w2 = 0.5f, w3 = 0.0f, w4 = 0.0f; break;
    case 3: w1 = 0.0f, w2 = 0.0f, w3 = 0.5f, w4 = 0.5f; break;
    case 4: w1 = 0.0f, w2 = 1.0f, w3 = 0.0f, w4 = 0.0f; break;
    default: w1 = 0.0f, w2 = 0.25f, w3 = 0.5f, w4 = 0.25f; break;
  }
}

namespace {

// The body of addTableEntries, always inlined: scoring has it compiled into each of
// its builds below, for the instruction set of that build.
[[gnu::always_inline]] inline void addEntries(int j, int mode, int w, int cover,
                                              float& cover_weight, Tables& tables) {
  const int last = tables.entry_ranges.last_entry[j];
  if (last == 0) return;
  const ConversionTables& conv = tables.conversion;
  ClassCounts& counts =
      mode == 1 ? tables.class_counts.table_class_count : tables.class_counts.sample_class_count;
  PerCommunity& cover_total =
      mode == 1 ? tables.norms.cover_norm : tables.scores.community_cover_fit;
  CommunityNorms& norms = tables.norms;
  PerCommunity& sample_cover_fit = tables.scores.sample_cover_fit;
  const float weight = static_cast<float>(w);
  for (int n = tables.entry_ranges.first_entry[j]; n <= last; ++n) {
    const int k = tables.entries.entry_community[n];
    const int m = tables.entries.entry_class[n];
    const int g = conv.class_constancy[m];
    const float t = conv.constancy_weight[g];
    float v;
    if (mode == 1) {
      norms.composition_norm[k] += t;
      norms.mean_constancy[k] += t * t;
      float e = conv.class_cover_weight[m] * t;
      cover_weight = e;
      norms.mean_cover_constancy[k] += e;
      v = conv.class_mean_cover[m] * t;
    } else {
      v = static_cast<float>(cover);
      if (v > conv.class_mean_cover[m]) v = conv.class_mean_cover[m];
    }
    // A 16-bit count, as the tables hold it.
    counts[g][k] = static_cast<short>(counts[g][k] + w);
    if (isWoodland(k, tables)) {
      cover_total[k] += (weight * v) * conv.class_woodland_weight[m];
    } else {
      cover_total[k] += ((weight * v) * t) * t;
    }
    sample_cover_fit[k] += cover_weight * t;
  }
}

}  // namespace

void addTableEntries(int j, int mode, int w, int cover, float& cover_weight, Tables& tables) {
  addEntries(j, mode, w, cover, cover_weight, tables);
}

void prepareTables(Tables& tables) {
  const int n = tables.n_communities;
  // Without a community coded kFirstWoodlandCode there are no woodland communities.
  tables.woodland_start = n + 1;
  for (auto& row : tables.class_counts.table_class_count) row.fill(0);
  for (int k = 1; k <= n; ++k) {
    if (tables.cross_reference.nvc_code[k] == kFirstWoodlandCode) tables.woodland_start = k;
    tables.norms.composition_norm[k] = kSmall;
    tables.norms.mean_constancy[k] = kSmall;
    tables.norms.cover_norm[k] = kSmall;
    tables.norms.mean_cover_constancy[k] = kSmall;
    tables.scores.sample_cover_fit[k] = 0;
  }
  buildConversionTables(tables.domin_percent, tables.cover_power, tables.conversion);

  // Each species number counts once, however many names it has; the
  // reserved entries (number 0) not at all.
  const Dictionary& dict = tables.dictionary;
  int previous = 0;
  float e = 0;
  for (int position = 1; position <= tables.dict_size; ++position) {
    int p = dict.sorted_species_number[position];
    if (p == previous) continue;
    addTableEntries(dict.sorted_entry[position], 1, 1, 0, e, tables);
    previous = p;
  }
  // The index is sorted: a number's first position is where it differs
  // from the one before.
  tables.species_place.fill(0);
  for (int position = 1; position <= tables.dict_size; ++position) {
    const int p = dict.sorted_species_number[position];
    if (p >= 0 && (position == 1 || dict.sorted_species_number[position - 1] != p))
      tables.species_place[p] = static_cast<short>(position);
  }

  // The tables' share of each class, as every sample's scoring compares
  // its own counts with it.
  CommunityClassCounts& counts = tables.class_counts;
  for (int g = 1; g <= kConstancyClasses; ++g) {
    counts.weighted_table_count[g].fill(0);
    for (int k = 1; k <= n; ++k)
      counts.weighted_table_count[g][k] =
          static_cast<float>(counts.table_class_count[g][k]) * tables.conversion.constancy_weight[g];
  }

  for (int k = 1; k <= n; ++k) {
    float s = tables.norms.mean_constancy[k];
    tables.norms.mean_constancy[k] = s / tables.norms.composition_norm[k];
    tables.norms.composition_norm[k] = s;
    tables.norms.mean_cover_constancy[k] =
        tables.scores.sample_cover_fit[k] / tables.norms.mean_cover_constancy[k];
  }
}

namespace {

struct Norms {
  float sample_weight_sum;
  float sample_cover_sum;
  float max_frequency;
};

// What the pass over the communities below reads and writes.
struct Rows {
  const short* count[kConstancyClasses + 1];        // the sample's class counts
  const float* table_share[kConstancyClasses + 1];  // the tables', weighted
  float weight[kConstancyClasses + 1];              // of each constancy class
  const float *composition_norm, *mean_constancy, *mean_cover_constancy, *cover_norm;
  float *f1, *f2, *f3, *f4, *fit;
  float w1, w2, w3, w4;
  float weight_sum, cover_sum, max_frequency;
};

// One community at a time.
struct OneLane {
  using Value = float;
  static Value load(const float* p) { return *p; }
  static Value loadCount(const short* p) { return static_cast<float>(*p); }
  static void store(float* p, Value v) { *p = v; }
  static Value pick(bool m, Value a, Value b) { return m ? a : b; }
};

#if defined(__GNUC__)
// The vectors below never cross a call: all is inlined, so that how a
// processor without AVX would pass them is of no concern (the compilers
// note it at the end of the file, hence no end to this).
#pragma GCC diagnostic ignored "-Wpsabi"
// Eight communities at a time, in the compilers' own vector types: each
// operation is the single-precision operation of one community, done in
// eight lanes at once, so that the results are those of OneLane.
struct EightLanes {
  using Value = float __attribute__((vector_size(32)));
  using Mask = int __attribute__((vector_size(32)));
  using Whole = int __attribute__((vector_size(32)));
  [[gnu::always_inline]] static Value load(const float* p) {
    Value v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  // Eight counts widened to ints, then made floats (exactly). Written
  // element by element, which both compilers load and widen in one
  // instruction where AVX2 has it (g++ splits a conversion from shorts).
  [[gnu::always_inline]] static Value loadCount(const short* p) {
    const Whole whole = {p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]};
    return __builtin_convertvector(whole, Value);
  }
  [[gnu::always_inline]] static void store(float* p, Value v) { std::memcpy(p, &v, sizeof v); }
  // Lanes of `a` where `m` is set, of `b` elsewhere: the compilers' own
  // selection, which they turn into one minimum or maximum where that is
  // what it selects.
  [[gnu::always_inline]] static Value pick(Mask m, Value a, Value b) { return m ? a : b; }
};
#endif

// Composition, the four coefficients and the score of the communities from
// k on (one per lane of L): the constancy classes from V down to I (f1 and
// f2 gather, and what a class has beyond the table's share carries to the
// next), then the four quotients, clamped, and the score; with `kAdjust`
// (analysis types 1 to 3) each composition and cover pair is adjusted
// before weighting. `kWhole`: the maximum frequency is 1, by which a count
// divides to itself exactly, so the division is left out. Without branches:
// every lane does the same operations.
template <class L, bool kAdjust, bool kWhole>
[[gnu::always_inline]] inline void fitCommunities(int k, const Rows& r) {
  using V = typename L::Value;
  const V zero = V{} + 0.0f, one = zero + 1.0f;
  V composition = zero;
  V sample_composition = zero + kSmall;
  V carry = zero;
  V matched = zero;  // 1 once a class of the community holds a sample species
  for (int g = kConstancyClasses; g >= 1; --g) {
    const float w = r.weight[g];
    const V count = L::loadCount(r.count[g] + k);
    // 1 for a class with sample species or a carry, 0 for one that adds
    // nothing; multiplying by it is exact.
    const V active = L::pick((count != 0) | (carry != 0), one, zero);
    const V p = kWhole ? count : count / r.max_frequency;
    const V q = L::load(r.table_share[g] + k);
    const V share = p + carry;
    const V within = L::pick(share < q, share, q);
    composition += (within * w) * active;
    sample_composition += (p * w) * active;
    const V excess = p - q;
    carry = L::pick(excess > 0, excess, zero) * active;
    matched = L::pick(matched > active, matched, active);
  }
  const V mean_cover_constancy = L::load(r.mean_cover_constancy + k);
  V a = composition / L::load(r.composition_norm + k);
  V b = sample_composition / (r.weight_sum * L::load(r.mean_constancy + k));
  b = L::pick(b > 1.0f, one, b);
  V c = L::load(r.f3 + k) / (r.max_frequency * L::load(r.cover_norm + k));
  c = L::pick(c > 1.0f, one, c);
  V d = L::load(r.f4 + k) / (r.cover_sum * mean_cover_constancy);
  d = L::pick(d > 1.0f, one, d);
  // A community that shares no species with the sample scores 0
  // throughout; so does one that no counted species belongs to (no table
  // entries, or none within the species-group limit), whose quotients are
  // 0/0. The values are selected, not multiplied by 0, so that a NaN of
  // such a community never survives.
  const auto live = (matched != 0) & (mean_cover_constancy > 0);
  a = L::pick(live, a, zero);
  b = L::pick(live, b, zero);
  c = L::pick(live, c, zero);
  d = L::pick(live, d, zero);
  L::store(r.f1 + k, a);
  L::store(r.f2 + k, b);
  L::store(r.f3 + k, c);
  L::store(r.f4 + k, d);
  if (kAdjust) {
    a = (a * b) * (2 - b);
    c = (c * d) * (2 - d);
    b = L::pick(b > a, a, b);
    d = L::pick(d > c, c, d);
  }
  L::store(r.fit + k, ((r.w1 * a + r.w2 * b) + r.w3 * c) + r.w4 * d);
}

// Every community: eight at a time where the compiler has vector types,
// the last ones one at a time; always inlined, so that each build of
// `scoreCommunities` below has it compiled for its own instruction set.
template <bool kAdjust, bool kWhole>
[[gnu::always_inline]] inline void fitAll(int analysis_type, const Norms& norms, Tables& tables) {
  Rows r{};
  analysisWeights(analysis_type, r.w1, r.w2, r.w3, r.w4);
  for (int g = 1; g <= kConstancyClasses; ++g) {
    r.count[g] = tables.class_counts.sample_class_count[g].data();
    r.table_share[g] = tables.class_counts.weighted_table_count[g].data();
    r.weight[g] = tables.conversion.constancy_weight[g];
  }
  r.composition_norm = tables.norms.composition_norm.data();
  r.mean_constancy = tables.norms.mean_constancy.data();
  r.mean_cover_constancy = tables.norms.mean_cover_constancy.data();
  r.cover_norm = tables.norms.cover_norm.data();
  r.f1 = tables.scores.community_composition_fit.data();
  r.f2 = tables.scores.sample_composition_fit.data();
  r.f3 = tables.scores.community_cover_fit.data();
  r.f4 = tables.scores.sample_cover_fit.data();
  r.fit = tables.scores.fit_score.data();
  r.weight_sum = norms.sample_weight_sum;
  r.cover_sum = norms.sample_cover_sum;
  r.max_frequency = norms.max_frequency;
  const int n = tables.n_communities;
  int k = 1;
#if defined(__GNUC__)
  for (; k + 7 <= n; k += 8) fitCommunities<EightLanes, kAdjust, kWhole>(k, r);
#endif
  for (; k <= n; ++k) fitCommunities<OneLane, kAdjust, kWhole>(k, r);
}

// The scoring of one sample, always inlined into the builds of it below.
[[gnu::always_inline]] inline void scoreSample(const Sample& sample, int analysis_type,
                                               Tables& tables) {
  const int n = tables.n_communities;
  Scores& scores = tables.scores;
  ClassCounts& sample_counts = tables.class_counts.sample_class_count;

  float sample_cover_sum = 0.001f;
  for (int k = 1; k <= n; ++k) {
    scores.community_cover_fit[k] = 0;
    scores.sample_cover_fit[k] = 0;
  }
  for (int g = 1; g <= kConstancyClasses; ++g)
    std::fill_n(sample_counts[g].begin() + 1, n, static_cast<short>(0));
  float sample_weight_sum = kSmall;
  float max_frequency = sample.max_frequency;
  for (int i = 1; i <= sample.sample_size; ++i) {
    const int p = sample.sample_species[i];
    if (p < 0) continue;
    const int q = tables.species_place[p];
    const int w = max_frequency > 0 ? sample.sample_frequency[i] : 1;
    sample_weight_sum += static_cast<float>(w);
    int cover = sample.sample_cover[i];
    if (cover < 0) cover = 0;
    if (cover > kMaxCover) cover = kMaxCover;
    float x = cover == 0 ? kSmall : tables.cover_power[cover];
    sample_cover_sum += x;
    // A species outside the sorted index (a name added during the run, or a
    // number with no dictionary entry) has no table entries.
    if (q != 0) addEntries(tables.dictionary.sorted_entry[q], 0, w, cover, x, tables);
  }
  if (max_frequency <= 0) max_frequency = 1.0f;
  sample_weight_sum = sample_weight_sum / max_frequency;

  const Norms norms{sample_weight_sum, sample_cover_sum, max_frequency};
  const bool whole = max_frequency == 1.0f;
  if (analysis_type <= 3) {
    if (whole) {
      fitAll<true, true>(analysis_type, norms, tables);
    } else {
      fitAll<true, false>(analysis_type, norms, tables);
    }
  } else if (whole) {
    fitAll<false, true>(analysis_type, norms, tables);
  } else {
    fitAll<false, false>(analysis_type, norms, tables);
  }
}

#if defined(__x86_64__) || defined(__i386__)
// Two builds of the same code, chosen once per run: one for processors with
// AVX2 (eight communities per instruction) and one for any processor. The
// compilers' own target_clones cannot do it: clang clones no templates, and
// clang 14 compiles a function declared before without the attribute for
// AVX2 only, with no dispatch, and names the dispatcher of any other so that
// callers in other files do not find it.
[[gnu::target("avx2")]] void scoreAvx2(const Sample& sample, int analysis_type, Tables& tables) {
  scoreSample(sample, analysis_type, tables);
}

void scorePortable(const Sample& sample, int analysis_type, Tables& tables) {
  scoreSample(sample, analysis_type, tables);
}

bool hasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}
#endif

}  // namespace

void scoreCommunities(const Sample& sample, int analysis_type, Tables& tables) {
#if defined(__x86_64__) || defined(__i386__)
  static const bool avx2 = hasAvx2();
  if (avx2) {
    scoreAvx2(sample, analysis_type, tables);
  } else {
    scorePortable(sample, analysis_type, tables);
  }
#else
  scoreSample(sample, analysis_type, tables);
#endif
}

}  // namespace engine
