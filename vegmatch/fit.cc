#include "vegmatch/fit.h"

#include <cmath>

namespace vegmatch {

namespace {

constexpr float kSmall = 1e-6f;

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
    counts[k][g] = static_cast<short>(counts[k][g] + w);
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
  for (int k = 1; k <= n; ++k) {
    if (tables.calc3.nvc_code[k] == typw1) tables.woodland_start = k;
    tables.calc5.composition_norm[k] = kSmall;
    tables.calc5.mean_constancy[k] = kSmall;
    tables.calc6.cover_norm[k] = kSmall;
    tables.calc5.mean_cover_constancy[k] = kSmall;
    tables.calc5.sample_cover_fit[k] = 0;
    tables.calc2.table_class_count[k].fill(0);
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

  for (int k = 1; k <= n; ++k) {
    float s = tables.calc5.mean_constancy[k];
    tables.calc5.mean_constancy[k] = s / tables.calc5.composition_norm[k];
    tables.calc5.composition_norm[k] = s;
    tables.calc5.mean_cover_constancy[k] =
        tables.calc5.sample_cover_fit[k] / tables.calc5.mean_cover_constancy[k];
  }
}

void score(const Sample& sample, int analysis_type, Tables& tables) {
  const int n = tables.n_communities;
  calc3& fits = tables.calc3;
  calc5& c5 = tables.calc5;
  calc6& c6 = tables.calc6;
  ClassCounts& sample_counts = tables.calc2.sample_class_count;
  const ClassCounts& table_counts = tables.calc2.table_class_count;
  const float* weight = tables.convrt.constancy_weight.data();

  float sample_cover_sum = 0.001f;
  for (int k = 1; k <= n; ++k) {
    c6.community_cover_fit[k] = 0;
    c5.sample_cover_fit[k] = 0;
    sample_counts[k].fill(0);
  }
  float sample_weight_sum = kSmall;
  float max_frequency = sample.max_frequency;
  for (int i = 1; i <= sample.sample_size; ++i) {
    const int p = sample.sample_species[i];
    if (p < 0) continue;
    const int q = ibin(tables.calc1.sorted_species_number.data(), tables.dict_size, p);
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

  float w1, w2, w3, w4;
  coeffs(analysis_type, w1, w2, w3, w4);
  for (int k = 1; k <= n; ++k) {
    float f1 = 0, f2 = kSmall, carry = 0;
    bool matched = false;
    for (int g = kConstancyClasses; g >= 1; --g) {
      const int count = sample_counts[k][g];
      if (count == 0 && carry == 0) continue;
      matched = true;
      const float p = static_cast<float>(count) / max_frequency;
      const float w = weight[g];
      const float q = static_cast<float>(table_counts[k][g]) * w;
      const float share = p + carry;
      f1 += (share < q ? share : q) * w;
      f2 += p * w;
      carry = p - q > 0 ? p - q : 0.0f;
    }
    if (!matched) {
      fits.fit_score[k] = 0;
      fits.community_composition_fit[k] = 0;
      fits.sample_composition_fit[k] = 0;
      c6.community_cover_fit[k] = 0;
      c5.sample_cover_fit[k] = 0;
      continue;
    }
    f1 = f1 / c5.composition_norm[k];
    fits.community_composition_fit[k] = f1;
    f2 = f2 / (sample_weight_sum * c5.mean_constancy[k]);
    if (f2 > 1) f2 = 1;
    fits.sample_composition_fit[k] = f2;
    float f3 = c6.community_cover_fit[k] / (max_frequency * c6.cover_norm[k]);
    if (f3 > 1) f3 = 1;
    c6.community_cover_fit[k] = f3;
    float f4 = c5.sample_cover_fit[k] / (sample_cover_sum * c5.mean_cover_constancy[k]);
    if (f4 > 1) f4 = 1;
    c5.sample_cover_fit[k] = f4;
    if (analysis_type <= 3) {
      f1 = (f1 * f2) * (2 - f2);
      f3 = (f3 * f4) * (2 - f4);
      if (f2 > f1) f2 = f1;
      if (f4 > f3) f4 = f3;
    }
    fits.fit_score[k] = ((w1 * f1 + w2 * f2) + w3 * f3) + w4 * f4;
  }
}

void topn(const PerCommunity& scores, int n, std::array<short, kMaxOutput + 1>& top_community,
          std::array<float, kMaxOutput + 1>& top_score, int r) {
  for (int i = 1; i <= r; ++i) {
    top_community[i] = 1;
    top_score[i] = -1e10f;
  }
  for (int k = 1; k <= n; ++k) {
    const float s = scores[k];
    if (!(s > top_score[r])) continue;
    int i = 1;
    while (!(top_score[i] < s)) ++i;
    for (int move = r; move > i; --move) {
      top_community[move] = top_community[move - 1];
      top_score[move] = top_score[move - 1];
    }
    top_community[i] = static_cast<short>(k);
    top_score[i] = s;
  }
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
