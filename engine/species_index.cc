#include "engine/species_index.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace engine {

namespace {

// A key and its companion as one number that orders as the pairs do: key
// first, then companion, each shifted from signed to unsigned order.
std::uint32_t pairOf(short key, short companion) {
  const auto shifted = [](short v) { return static_cast<std::uint32_t>(v + 32768); };
  return shifted(key) << 16 | shifted(companion);
}

short keyOf(std::uint32_t pair) { return static_cast<short>(static_cast<int>(pair >> 16) - 32768); }
short companionOf(std::uint32_t pair) {
  return static_cast<short>(static_cast<int>(pair & 0xffff) - 32768);
}

}  // namespace

// A radix sort of the pairs, a byte at a time from the lowest: linear in n,
// and a byte that every pair shares is passed over.
void sortWithCompanion(short* keys, short* companion, int n) {
  if (n < 2) return;
  const std::size_t count = static_cast<std::size_t>(n);
  std::vector<std::uint32_t> pairs(2 * count);
  std::uint32_t* from = pairs.data();
  std::uint32_t* to = from + count;
  std::array<std::array<std::size_t, 256>, 4> start{};
  for (std::size_t i = 0; i < count; ++i) {
    from[i] = pairOf(keys[i + 1], companion[i + 1]);
    for (int b = 0; b < 4; ++b) ++start[b][from[i] >> (8 * b) & 0xff];
  }
  for (int b = 0; b < 4; ++b) {
    const int shift = 8 * b;
    if (start[b][from[0] >> shift & 0xff] == count) continue;
    std::size_t at = 0;
    for (std::size_t& place : start[b]) at += std::exchange(place, at);
    for (std::size_t i = 0; i < count; ++i) to[start[b][from[i] >> shift & 0xff]++] = from[i];
    std::swap(from, to);
  }
  for (std::size_t i = 0; i < count; ++i) {
    keys[i + 1] = keyOf(from[i]);
    companion[i + 1] = companionOf(from[i]);
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
