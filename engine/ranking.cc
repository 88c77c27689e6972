#include "engine/ranking.h"

#include <bit>
#include <cstring>

#if defined(__SSE__)
#include <immintrin.h>
#endif

namespace engine {

namespace {

// Communities ranked together, and compared with the last place at once.
constexpr int kRankGroup = 8;

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
  int k = 1;
  for (; k + kRankGroup - 1 <= n; k += kRankGroup) {
    for (unsigned bits = above(scores.data() + k, top_score[r]); bits != 0; bits &= bits - 1)
      place(k + std::countr_zero(bits));
  }
  for (; k <= n; ++k) place(k);
}

}  // namespace engine
