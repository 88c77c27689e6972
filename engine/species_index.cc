#include "engine/species_index.h"

namespace engine {

namespace {

bool less(short key_a, short comp_a, short key_b, short comp_b) {
  return key_a < key_b || (key_a == key_b && comp_a < comp_b);
}

}  // namespace

void sortWithCompanion(short* keys, short* companion, int n) {
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

int findFirstSorted(const short* sorted, int n, int key) {
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

}  // namespace engine
