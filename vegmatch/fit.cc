#include "vegmatch/fit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vegmatch {

namespace {

constexpr float kSmall = 1e-6f;

// Before a loop over communities whose every pass touches place k of its
// arrays only: the arrays are distinct, which the compiler cannot see
// through pointers into one block, so it is told, and runs the loop on
// several communities at once without run-time overlap checks.
#if defined(__clang__)
#define VEG_COMMUNITY_LOOP _Pragma("clang loop vectorize(assume_safety)")
#elif defined(__GNUC__)
#define VEG_COMMUNITY_LOOP _Pragma("GCC ivdep")
#else
#define VEG_COMMUNITY_LOOP
#endif

bool isWoodland(int k, const Tables& tables) { return k >= tables.woodland_start; }

}  // namespace

void lookup(std::array<short, kDominValues + 1>& domin_percent,
            std::array<float, kMaxCover + 1>& cover_power, convrt& conv) {
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

void coeffs(int analysis_type, float& w1, float& w2, float& w3, float& w4) {
  switch (analysis_type) {
    case 1: w1 = 0.25f, w2 = 0.25f, w3 = 0.25f, w4 = 0.25f; break;
    case 2: w1 = 0.5f, w2 = 0.5f, w3 = 0.0f, w4 = 0.0f; break;
    case 3: w1 = 0.0f, w2 = 0.0f, w3 = 0.5f, w4 = 0.5f; break;
    case 4: w1 = 0.0f, w2 = 1.0f, w3 = 0.0f, w4 = 0.0f; break;
    default: w1 = 0.0f, w2 = 0.25f, w3 = 0.5f, w4 = 0.25f; break;
  }
}

void totup(int j, int mode, int w, int cover, float& cover_weight, Tables& tables) {
  const int last = tables.ccalc1.last_entry[j];
  if (last == 0) return;
  const convrt& conv = tables.convrt;
  ClassCounts& counts = mode == 1 ? tables.calc2.table_class_count : tables.calc2.sample_class_count;
  PerCommunity& cover_total = mode == 1 ? tables.calc6.cover_norm : tables.calc6.community_cover_fit;
  calc5& norms = tables.calc5;
  const float weight = static_cast<float>(w);
  for (int n = tables.ccalc1.first_entry[j]; n <= last; ++n) {
    const int k = tables.dat1.entry_community[n];
    const int m = tables.dat3.entry_class[n];
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
    norms.sample_cover_fit[k] += cover_weight * t;
  }
}

void prepare(Tables& tables) {
  const int n = tables.n_communities;
  // Without a community coded typw1 there are no woodland communities.
  tables.woodland_start = n + 1;
  for (auto& row : tables.calc2.table_class_count) row.fill(0);
  for (int k = 1; k <= n; ++k) {
    if (tables.calc3.nvc_code[k] == typw1) tables.woodland_start = k;
    tables.calc5.composition_norm[k] = kSmall;
    tables.calc5.mean_constancy[k] = kSmall;
    tables.calc6.cover_norm[k] = kSmall;
    tables.calc5.mean_cover_constancy[k] = kSmall;
    tables.calc5.sample_cover_fit[k] = 0;
  }
  lookup(tables.domin_percent, tables.cover_power, tables.convrt);

  // Each species number counts once, however many names it has; the
  // reserved entries (number 0) not at all.
  const calc1& dict = tables.calc1;
  int previous = 0;
  float e = 0;
  for (int position = 1; position <= tables.dict_size; ++position) {
    int p = dict.sorted_species_number[position];
    if (p == previous) continue;
    totup(dict.sorted_entry[position], 1, 1, 0, e, tables);
    previous = p;
  }
  tables.species_place.fill(0);
  for (int position = 1; position <= tables.dict_size; ++position) {
    const int p = dict.sorted_species_number[position];
    if (p >= 0 && tables.species_place[p] == 0)
      tables.species_place[p] = static_cast<short>(ibin(dict.sorted_species_number.data(),
                                                        tables.dict_size, p));
  }

  for (int k = 1; k <= n; ++k) {
    float s = tables.calc5.mean_constancy[k];
    tables.calc5.mean_constancy[k] = s / tables.calc5.composition_norm[k];
    tables.calc5.composition_norm[k] = s;
    tables.calc5.mean_cover_constancy[k] =
        tables.calc5.sample_cover_fit[k] / tables.calc5.mean_cover_constancy[k];
  }
}

namespace {

struct Norms {
  float sample_weight_sum;
  float sample_cover_sum;
  float max_frequency;
};

// Composition, the four coefficients and the score of every community, in
// one pass over the communities: for each, the constancy classes from V
// down to I (f1 and f2 gather, and what a class has beyond the table's
// share carries to the next), then the four quotients, clamped, and the
// score; with `kAdjust` (analysis types 1 to 3) each composition and cover
// pair is adjusted before weighting. `kWhole`: the maximum frequency is 1,
// by which a count divides to itself exactly, so the division is left out.
// Written without branches, so that it runs on several communities at
// once, and always inlined, so that each build of `score` below has it
// compiled for its own instruction set.
template <bool kAdjust, bool kWhole>
[[gnu::always_inline]] inline void fitAll(int analysis_type, const Norms& norms, Tables& tables) {
  float w1, w2, w3, w4;
  coeffs(analysis_type, w1, w2, w3, w4);
  const calc5& c5 = tables.calc5;
  const ClassCounts& sample_counts = tables.calc2.sample_class_count;
  const ClassCounts& table_counts = tables.calc2.table_class_count;
  const float* cover_norm = tables.calc6.cover_norm.data();
  float* f1 = tables.calc3.community_composition_fit.data();
  float* f2 = tables.calc3.sample_composition_fit.data();
  float* f3 = tables.calc6.community_cover_fit.data();
  float* f4 = tables.calc5.sample_cover_fit.data();
  float* fit = tables.calc3.fit_score.data();
  const float* composition_norm = c5.composition_norm.data();
  const float* mean_constancy = c5.mean_constancy.data();
  const float* mean_cover_constancy = c5.mean_cover_constancy.data();
  const float weight_sum = norms.sample_weight_sum;
  const float cover_sum = norms.sample_cover_sum;
  const float max_frequency = norms.max_frequency;
  const short* count[kConstancyClasses + 1];
  const short* table_count[kConstancyClasses + 1];
  float weight[kConstancyClasses + 1];
  for (int g = 1; g <= kConstancyClasses; ++g) {
    count[g] = sample_counts[g].data();
    table_count[g] = table_counts[g].data();
    weight[g] = tables.convrt.constancy_weight[g];
  }
  const int n = tables.n_communities;
  VEG_COMMUNITY_LOOP
  for (int k = 1; k <= n; ++k) {
    float composition = 0;
    float sample_composition = kSmall;
    float carry = 0;
    float matched = 0;  // 1 once a class of the community holds a sample species
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 5
#endif
    for (int g = kConstancyClasses; g >= 1; --g) {
      const float w = weight[g];
      // 1 for a class with sample species or a carry, 0 for one that adds
      // nothing; multiplying by it is exact, and keeps the loop branch-free.
      const float active = ((count[g][k] != 0) | (carry != 0)) ? 1.0f : 0.0f;
      const float p = kWhole ? static_cast<float>(count[g][k])
                             : static_cast<float>(count[g][k]) / max_frequency;
      const float q = static_cast<float>(table_count[g][k]) * w;
      const float share = p + carry;
      const float within = share < q ? share : q;
      composition += (within * w) * active;
      sample_composition += (p * w) * active;
      const float excess = p - q;
      carry = (excess > 0 ? excess : 0.0f) * active;
      matched = matched > active ? matched : active;
    }
    float a = composition / composition_norm[k];
    float b = sample_composition / (weight_sum * mean_constancy[k]);
    b = b > 1.0f ? 1.0f : b;
    float c = f3[k] / (max_frequency * cover_norm[k]);
    c = c > 1.0f ? 1.0f : c;
    float d = f4[k] / (cover_sum * mean_cover_constancy[k]);
    d = d > 1.0f ? 1.0f : d;
    // A community that shares no species with the sample scores 0
    // throughout; so does one that no counted species belongs to (no table
    // entries, or none within the species-group limit), whose quotients are
    // 0/0. The values are selected, not multiplied by 0, so that a NaN of
    // such a community never survives; the selection stays branch-free.
    const bool live = (matched != 0) & (mean_cover_constancy[k] > 0);
    a = live ? a : 0.0f;
    b = live ? b : 0.0f;
    c = live ? c : 0.0f;
    d = live ? d : 0.0f;
    f1[k] = a;
    f2[k] = b;
    f3[k] = c;
    f4[k] = d;
    if (kAdjust) {
      a = (a * b) * (2 - b);
      c = (c * d) * (2 - d);
      b = b > a ? a : b;
      d = d > c ? c : d;
    }
    fit[k] = ((w1 * a + w2 * b) + w3 * c) + w4 * d;
  }
}

// The scoring of one sample, always inlined into the builds of it below.
[[gnu::always_inline]] inline void scoreSample(const Sample& sample, int analysis_type,
                                               Tables& tables) {
  const int n = tables.n_communities;
  calc5& c5 = tables.calc5;
  calc6& c6 = tables.calc6;
  ClassCounts& sample_counts = tables.calc2.sample_class_count;

  float sample_cover_sum = 0.001f;
  for (int k = 1; k <= n; ++k) {
    c6.community_cover_fit[k] = 0;
    c5.sample_cover_fit[k] = 0;
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
    if (q != 0) totup(tables.calc1.sorted_entry[q], 0, w, cover, x, tables);
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

void score(const Sample& sample, int analysis_type, Tables& tables) {
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

namespace {

// Communities ranked together, and compared with the last place at once.
constexpr int kRankGroup = 8;

// True when one of the kRankGroup scores from `group` on is above `last`.
bool anyAbove(const float* group, float last) {
#if defined(__GNUC__)
  // Four at a time, in the compilers' own vector types.
  using Floats = float __attribute__((vector_size(16)));
  using Masks = int __attribute__((vector_size(16)));
  static_assert(kRankGroup == 8);
  Floats low, high;
  std::memcpy(&low, group, sizeof low);
  std::memcpy(&high, group + 4, sizeof high);
  const Floats floor = {last, last, last, last};
  const Masks above = (low > floor) | (high > floor);
  return (above[0] | above[1] | above[2] | above[3]) != 0;
#else
  int above = 0;
  for (int j = 0; j < kRankGroup; ++j) above |= group[j] > last ? 1 : 0;
  return above != 0;
#endif
}

}  // namespace

void topn(const PerCommunity& scores, int n, std::array<short, kMaxOutput + 1>& top_community,
          std::array<float, kMaxOutput + 1>& top_score, int r) {
  for (int i = 1; i <= r; ++i) {
    top_community[i] = 1;
    top_score[i] = -1e10f;
  }
  auto place = [&](int k) {
    const float s = scores[k];
    if (!(s > top_score[r])) return;
    int i = 1;
    while (!(top_score[i] < s)) ++i;
    for (int move = r; move > i; --move) {
      top_community[move] = top_community[move - 1];
      top_score[move] = top_score[move - 1];
    }
    top_community[i] = static_cast<short>(k);
    top_score[i] = s;
  };
  // Most communities score below the last place: eight at a time are
  // compared with it, and only a group holding a better score is placed
  // one by one. The last place only rises, so a score passed over here
  // would have been passed over one at a time too.
  int k = 1;
  for (; k + kRankGroup - 1 <= n; k += kRankGroup) {
    if (!anyAbove(scores.data() + k, top_score[r])) continue;
    for (int j = 0; j < kRankGroup; ++j) place(k + j);
  }
  for (; k <= n; ++k) place(k);
}

namespace {

bool less(short key_a, short comp_a, short key_b, short comp_b) {
  return key_a < key_b || (key_a == key_b && comp_a < comp_b);
}

}  // namespace

void isort2(short* keys, short* companion, int n) {
  for (int i = 1; i <= n; ++i) {
    short key = keys[i], comp = companion[i];
    int p = i;
    while (p > 1 && less(keys[p / 2], companion[p / 2], key, comp)) {
      keys[p] = keys[p / 2];
      companion[p] = companion[p / 2];
      p /= 2;
    }
    keys[p] = key;
    companion[p] = comp;
  }
  for (int s = n; s >= 2; --s) {
    short key = keys[s], comp = companion[s];
    keys[s] = keys[1];
    companion[s] = companion[1];
    const int size = s - 1;
    int f = 1;
    for (;;) {
      int child = 2 * f;
      if (child > size) break;
      if (child + 1 <= size &&
          less(keys[child], companion[child], keys[child + 1], companion[child + 1]))
        ++child;
      if (!less(key, comp, keys[child], companion[child])) break;
      keys[f] = keys[child];
      companion[f] = companion[child];
      f = child;
    }
    keys[f] = key;
    companion[f] = comp;
  }
}

int ibin(const short* sorted, int n, int key) {
  int lo = 1, hi = n;
  while (hi - lo > 1) {
    int mid = (lo + hi) / 2;
    if (key > sorted[mid]) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  if (sorted[lo] == key) return lo;
  if (sorted[hi] == key) return hi;
  return 0;
}

int percent(float value) {
  return static_cast<int>(static_cast<double>(value) * static_cast<double>(100.1f));
}

}  // namespace vegmatch
