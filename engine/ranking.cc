#include "engine/ranking.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE__)
#include <immintrin.h>
#endif

namespace engine {

namespace {

// Communities ranked together, and compared with the last place at once.
constexpr int kRankGroup = 8;
// Groups whose best score is found first, so that a block none of whose
// scores can be placed is passed over whole.
constexpr int kBlockGroups = 8;
constexpr int kBlock = kRankGroup * kBlockGroups;
constexpr int kMaxBlocks = (kMaxCommunities + kBlock - 1) / kBlock;

// The scores of the kRankGroup from `group` on that are above `last`, as
// bits (bit j for group[j]).
unsigned above(const float* group, float last) {
#if defined(__SSE__)
  // Four at a time, the lanes' signs gathered into bits by the processor.
  static_assert(kRankGroup == 8);
  const __m128 floor = _mm_set1_ps(last);
  const __m128 low = _mm_cmpgt_ps(_mm_loadu_ps(group), floor);
  const __m128 high = _mm_cmpgt_ps(_mm_loadu_ps(group + 4), floor);
  return static_cast<unsigned>(_mm_movemask_ps(low) | _mm_movemask_ps(high) << 4);
#elif defined(__GNUC__)
  // Four at a time, in the compilers' own vector types.
  using Floats = float __attribute__((vector_size(16)));
  using Masks = int __attribute__((vector_size(16)));
  static_assert(kRankGroup == 8);
  Floats low, high;
  std::memcpy(&low, group, sizeof low);
  std::memcpy(&high, group + 4, sizeof high);
  const Floats floor = {last, last, last, last};
  const Masks low_above = low > floor, high_above = high > floor;
  const Masks any = low_above | high_above;
  if ((any[0] | any[1] | any[2] | any[3]) == 0) return 0;
  unsigned bits = 0;
  for (int j = 0; j < 4; ++j) {
    bits |= static_cast<unsigned>(low_above[j] & 1) << j;
    bits |= static_cast<unsigned>(high_above[j] & 1) << (j + 4);
  }
  return bits;
#else
  unsigned bits = 0;
  for (int j = 0; j < kRankGroup; ++j) bits |= (group[j] > last ? 1u : 0u) << j;
  return bits;
#endif
}

// The best score of the `groups` groups from `first` on, scores that are
// not numbers passed over (-infinity when all are).
float bestOfGroups(const float* first, int groups) {
  float best = -std::numeric_limits<float>::infinity();
#if defined(__SSE__)
  // The lanes' maximum keeps its second operand where the first is not a
  // number, as the loop below does.
  __m128 low = _mm_set1_ps(best), high = low;
  for (int i = 0; i < groups; ++i, first += kRankGroup) {
    low = _mm_max_ps(_mm_loadu_ps(first), low);
    high = _mm_max_ps(_mm_loadu_ps(first + 4), high);
  }
  low = _mm_max_ps(low, high);
  low = _mm_max_ps(low, _mm_movehl_ps(low, low));
  low = _mm_max_ss(low, _mm_shuffle_ps(low, low, 1));
  best = _mm_cvtss_f32(low);
#else
  for (int j = 0; j < groups * kRankGroup; ++j) best = first[j] > best ? first[j] : best;
#endif
  return best;
}

// The r-th greatest of values[0..count-1] (r <= count), none of them a
// value that is not a number; the values are reordered.
float rthGreatest(float* values, int count, int r) {
  for (int i = 0; i < r; ++i) {
    int top = i;
    for (int j = i + 1; j < count; ++j)
      if (values[j] > values[top]) top = j;
    std::swap(values[i], values[top]);
  }
  return values[r - 1];
}

}  // namespace

void rankBest(const PerCommunity& scores, int n, std::array<short, kMaxOutput + 1>& top_community,
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
  // compared with it, and only those above it are placed, one by one in
  // order. The last place only rises, so a score passed over here would
  // have been passed over one at a time too.
  //
  // First the best score of each block of groups: a block whose best is
  // not above the last place holds nothing to place. And each block's
  // best is the score of one of its communities, so the r-th greatest of
  // them is a score that r communities reach: a score below it is never
  // among the r best, and the groups are compared with the greater of it
  // (made the next float below, so that a score equal to it still counts)
  // and the last place. So few scores are placed only to be pushed out
  // again by better ones later.
  const int grouped = std::max(n, 0) / kRankGroup * kRankGroup;
  const int blocks = (grouped + kBlock - 1) / kBlock;
  float block_best[kMaxBlocks];
  for (int b = 0; b < blocks; ++b)
    block_best[b] = bestOfGroups(scores.data() + 1 + static_cast<std::ptrdiff_t>(b) * kBlock,
                                 std::min(kBlockGroups, (grouped - b * kBlock) / kRankGroup));
  float floor = -std::numeric_limits<float>::infinity();
  if (r >= 1 && blocks >= r) {
    float values[kMaxBlocks];
    std::copy_n(block_best, blocks, values);
    floor = std::nextafter(rthGreatest(values, blocks, r), floor);
  }
  for (int b = 0; b < blocks; ++b) {
    if (!(block_best[b] > std::max(top_score[r], floor))) continue;
    const int end = std::min(grouped, (b + 1) * kBlock);
    for (int k = 1 + b * kBlock; k <= end; k += kRankGroup) {
      const float last = std::max(top_score[r], floor);
      for (unsigned bits = above(scores.data() + k, last); bits != 0; bits &= bits - 1)
        place(k + std::countr_zero(bits));
    }
  }
  for (int k = grouped + 1; k <= n; ++k) place(k);
}

}  // namespace engine
