#include "decksave/sort_by_species.h"

namespace decksave {

void sortBySpeciesNumber(int* species, float* values, int count) {
  // The heap is built by inserting one entry after the other, then emptied
  // from the top; these exact steps decide where equal species numbers end.
  for (int i = 1; i <= count; ++i) {
    const int s = species[i];
    const float v = values[i];
    int j = i;
    while (j > 1 && species[j / 2] < s) {
      species[j] = species[j / 2];
      values[j] = values[j / 2];
      j /= 2;
    }
    species[j] = s;
    values[j] = v;
  }
  for (int m = count; m >= 2; --m) {
    const int s = species[m];
    const float v = values[m];
    species[m] = species[1];
    values[m] = values[1];
    int j = 1;
    int k = 2;
    while (k <= m - 1) {
      if (k < m - 1 && species[k] < species[k + 1]) ++k;
      if (!(s < species[k])) break;
      species[j] = species[k];
      values[j] = values[k];
      j = k;
      k *= 2;
    }
    species[j] = s;
    values[j] = v;
  }
}

}  // namespace decksave
